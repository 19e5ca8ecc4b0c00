// 8-bit and 16-bit text: every 8-bit text survives the way to 16 bits and back unchanged, in
// the "C" locale and in UTF-8; any 16-bit text converts without failing.

#include "plinth/platform/charset.h"

#include <clocale>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

using namespace plinth;

namespace {

std::vector<char> RoundTrip(const char* src, int size) {
    const int units = MultiByteToWideChar(CP_ACP, 0, src, size, nullptr, 0);
    std::vector<WCHAR> wide(static_cast<std::size_t>(units));
    MultiByteToWideChar(CP_ACP, 0, src, size, wide.data(), units);
    const int bytes =
        WideCharToMultiByte(CP_ACP, 0, wide.data(), units, nullptr, 0, nullptr, nullptr);
    std::vector<char> back(static_cast<std::size_t>(bytes));
    WideCharToMultiByte(CP_ACP, 0, wide.data(), units, back.data(), bytes, nullptr, nullptr);
    return back;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0 || size > 1 << 20) {
        return 0;
    }
    const char* text = reinterpret_cast<const char*>(data);
    for (const char* locale : {"C", "C.UTF-8"}) {
        if (std::setlocale(LC_CTYPE, locale) == nullptr) {
            continue;
        }
        const std::vector<char> back = RoundTrip(text, static_cast<int>(size));
        if (back.size() != size || std::memcmp(back.data(), text, size) != 0) {
            std::abort();
        }
        if (size >= 2) { // the input as 16-bit text
            std::vector<WCHAR> wide(size / 2);
            std::memcpy(wide.data(), data, wide.size() * sizeof(WCHAR));
            const int n = static_cast<int>(wide.size());
            std::vector<char> narrow(static_cast<std::size_t>(n) * 4);
            if (WideCharToMultiByte(CP_ACP, 0, wide.data(), n, narrow.data(),
                                    static_cast<int>(narrow.size()), nullptr, nullptr) == 0) {
                std::abort();
            }
        }
    }
    return 0;
}
