// Blobs: the first byte picks a reader, the rest is its input: the binary archive, the
// embedded-blob and length-prefixed views, or hexadecimal text.

#include "fuzz_input.h"

#include "plinth/persist/rt_blob.h"

#include <cstdlib>
#include <string>

using namespace plinth;

namespace {

// Reads every byte of a view, so that one reaching outside its blob is found.
unsigned Touch(const RtBlob& view) {
    unsigned sum = 0;
    for (ULONG i = 0; i < view.m_nSize; ++i) {
        sum += view.m_pData[i];
    }
    return sum;
}

// The inner and outer views, and theirs in turn, down a few levels.
void Views(const RtBlob& blob, int depth) {
    const RtBlob inner = blob.GetInnerBlob();
    const RtBlob outer = blob.GetOuterBlob();
    if (inner.m_nSize != 0 && ULONGLONG{inner.m_nSize} + outer.m_nSize + 4 != blob.m_nSize) {
        std::abort(); // the two views must split the blob exactly
    }
    static_cast<void>(Touch(inner) + Touch(outer));
    if (depth > 0) {
        Views(inner, depth - 1);
        Views(outer, depth - 1);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::uint8_t* rest = data + 1;
    const std::size_t length = size - 1;
    switch (data[0] % 3) {
    case 0:
        fuzz::FromArchive(rest, length, [](CArchive& ar) {
            RtBlob blob;
            try {
                blob.Serialize(ar);
            } catch (...) {
                blob.Delete();
                throw;
            }
            static_cast<void>(Touch(blob));
            blob.Delete();
        });
        break;
    case 1: {
        std::basic_string<unsigned char> bytes(rest, length); // a buffer of exactly that size
        Views(RtBlob(static_cast<ULONG>(bytes.size()), bytes.data()), 3);
        break;
    }
    default: {
        const std::string text(reinterpret_cast<const char*>(rest), length);
        RtBlob blob;
        fuzz::Expected([&] {
            if (blob.StringToBinary(text.c_str()) &&
                blob.ToCString().GetLength() != static_cast<int>(2 * blob.m_nSize)) {
                std::abort();
            }
        });
        blob.Delete();
        break;
    }
    }
    return 0;
}
