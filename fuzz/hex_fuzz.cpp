// Hexadecimal text: both readers on the input as text, and the round trip of what they read.

#include "fuzz_input.h"

#include "plinth/containers/hex.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using namespace plinth;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<unsigned char> out(size / 2 + 1);
    rtStringToBinary(text.c_str(), static_cast<ULONG>(out.size()), out.data());
    fuzz::Expected([&] {
        ULONG n = 0;
        unsigned char* bytes = rtStringToBinary(CString(text.c_str()), n);
        if (bytes != nullptr) {
            const CString again = rtBinaryToString(bytes, n);
            // Upper-case digits, the whole text when every digit was valid.
            if (static_cast<ULONG>(again.GetLength()) != 2 * n) {
                std::abort();
            }
        }
        delete[] bytes;
    });
    return 0;
}
