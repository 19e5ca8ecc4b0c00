#include "plinth/frame/errormessage.h"

#include "plinth/platform/lasterror.h"

#include <cstring>
#include <string.h>

namespace plinth {

namespace {

// strerror_r comes in two forms: the GNU one returns the text (which may be a static string
// rather than the buffer), the POSIX one fills the buffer and returns 0 on success.
[[maybe_unused]] const char* messageText(const char* text, const char* /*buffer*/) {
    return text;
}
[[maybe_unused]] const char* messageText(int result, const char* buffer) {
    return result == 0 ? buffer : nullptr;
}

} // namespace

CString rtGetErrorMessage() {
    const DWORD code = GetLastError();
    if (code == ERROR_SUCCESS) {
        return CString();
    }
    char buffer[256] = {};
    const char* text =
        messageText(::strerror_r(static_cast<int>(code), buffer, sizeof buffer), buffer);
    if (text == nullptr) {
        return CString();
    }
    int length = static_cast<int>(std::strlen(text));
    if (length >= 2 && text[length - 2] == '\r' && text[length - 1] == '\n') {
        length -= 2;
    }
    return CString(text, length);
}

} // namespace plinth
