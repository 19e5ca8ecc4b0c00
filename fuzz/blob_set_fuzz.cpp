// Blob sets: an array of blobs loaded from the archive, then read as one run of bytes through
// global offsets, cursors and a merge, each checked against the members it came from.

#include "fuzz_input.h"

#include "plinth/persist/blob_set.h"

#include <cstdlib>

using namespace plinth;

namespace {

// Frees what the load gave each member: the set itself never frees bytes.
void FreeMembers(BlobSet& set) {
    for (INT_PTR i = 0; i < set.GetSize(); ++i) {
        set[i].Delete();
    }
}

// Every byte reached by offset or by cursor is the byte the merge holds at that offset.
void Walk(const BlobSet& set) {
    const ULONG length = set.GetLength();
    if (length == 0 || set.IsEmpty()) {
        return;
    }
    RtBlob merged = set.GetMergedBlob();
    if (merged.m_nSize != length) {
        std::abort();
    }
    const ULONG stride = length / 64 + 1;
    for (ULONG off = 0; off < length; off += stride) {
        const unsigned char* p = set.GetPointer(off);
        if (p == nullptr || *p != merged.m_pData[off] || set.GetPosition(p) != off) {
            std::abort();
        }
    }
    // A cursor moved from the head lands where the offsets say, whenever it is on a byte.
    BlobSetPtr cursor = set.GetHead();
    for (ULONG off = 0; off + stride < length && set.Increment(cursor, stride);) {
        off += stride;
        if (set.IsValid(cursor) && set.GetPosition(cursor.m_pByte) != off) {
            std::abort();
        }
    }
    merged.Delete();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FromArchive(data, size, [](CArchive& ar) {
        BlobSet set;
        try {
            set.Serialize(ar);
        } catch (...) {
            FreeMembers(set);
            throw;
        }
        Walk(set);
        FreeMembers(set);
    });
    return 0;
}
