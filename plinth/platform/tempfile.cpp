#include "plinth/platform/tempfile.h"

#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace plinth {

CString CreateTempFile(LPCTSTR prefix) {
    if (prefix == nullptr || std::strchr(prefix, '/') != nullptr) {
        return CString();
    }
    // Not taken from the environment of a privileged process, which its caller controls.
    const char* dir = ::secure_getenv("TMPDIR");
    CString path(dir != nullptr && *dir != '\0' ? dir : "/tmp");
    while (path.GetLength() > 1 && path[path.GetLength() - 1] == '/') {
        path.Delete(path.GetLength() - 1);
    }
    if (path != "/") {
        path += '/';
    }
    path += prefix;
    path += "XXXXXX";
    // mkostemp creates the file exclusively with mode 0600 (the umask can only narrow it).
    const int fd = ::mkostemp(path.GetBuffer(), O_CLOEXEC);
    path.ReleaseBuffer();
    if (fd < 0) {
        return CString();
    }
    ::close(fd);
    return path;
}

} // namespace plinth
