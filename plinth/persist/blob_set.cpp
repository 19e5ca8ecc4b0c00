#include "plinth/persist/blob_set.h"

#include "plinth/platform/archive.h"

#include <algorithm>
#include <cstring>

namespace plinth {

namespace {

constexpr ULONGLONG kMaxLength = 0xFFFFFFFFull;

ULONG Saturated(ULONGLONG n) noexcept {
    return static_cast<ULONG>(std::min(n, kMaxLength));
}

} // namespace

template <>
void SerializeElements<RtBlob>(CArchive& ar, RtBlob* pElements, INT_PTR nCount) {
    for (INT_PTR i = 0; i < nCount; ++i) {
        if (ar.IsStoring()) {
            pElements[i].Serialize(ar);
        } else {
            // Into a fresh handle, so that loading never frees bytes the element only viewed.
            RtBlob loaded;
            loaded.Serialize(ar);
            pElements[i] = loaded;
        }
    }
}

BlobSetPtr::~BlobSetPtr() = default;

BlobSet::~BlobSet() = default;

// ---- The whole run

ULONG BlobSet::GetLength() const noexcept {
    ULONGLONG total = 0;
    for (INT_PTR i = 0; i < m_nSize; ++i) {
        total += m_pData[i].m_nSize;
    }
    return Saturated(total);
}

unsigned char* BlobSet::GetData() const noexcept {
    return m_nSize == 0 ? nullptr : m_pData[0].m_pData;
}

bool BlobSet::IsValid() const noexcept {
    return std::all_of(m_pData, m_pData + m_nSize, [](const RtBlob& b) { return b.IsValid(); });
}

void BlobSet::CopyTo(RtBlob& dst) const noexcept {
    ULONG at = 0;
    for (INT_PTR i = 0; i < m_nSize && dst.m_pData != nullptr && at < dst.m_nSize; ++i) {
        const RtBlob& member = m_pData[i];
        const ULONG n = std::min(member.m_nSize, dst.m_nSize - at);
        if (member.m_pData != nullptr && n != 0) {
            // A member may view dst's own bytes.
            std::memmove(dst.m_pData + at, member.m_pData, n);
        }
        at += n;
    }
}

RtBlob BlobSet::GetMergedBlob() const {
    RtBlob merged(GetLength());
    CopyTo(merged);
    return merged;
}

bool BlobSet::SetLength(ULONG n) {
    const ULONG length = GetLength();
    if (length >= n) {
        return false;
    }
    RtBlob tail(n - length);
    try {
        Add(tail);
    } catch (...) {
        tail.Delete();
        throw;
    }
    return true;
}

void BlobSet::Reset() noexcept {
    std::fill_n(m_pData, m_nSize, RtBlob());
}

// ---- Global offsets

int BlobSet::FindBlob(const unsigned char* p, int start) const noexcept {
    for (INT_PTR i = std::max(start, 0); i < m_nSize; ++i) {
        if (m_pData[i].In(p)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

ULONG BlobSet::GetPosition(const unsigned char* p) const noexcept {
    ULONGLONG before = 0;
    for (INT_PTR i = 0; i < m_nSize; ++i) {
        const RtBlob& member = m_pData[i];
        if (member.In(p)) {
            return Saturated(before + member.GetOffset(p));
        }
        before += member.m_nSize;
    }
    return 0xFFFFFFFFu;
}

unsigned char* BlobSet::GetPointer(ULONG off) const noexcept {
    for (INT_PTR i = 0; i < m_nSize; ++i) {
        const RtBlob& member = m_pData[i];
        if (off < member.m_nSize) {
            return member.GetPointer(off);
        }
        off -= member.m_nSize;
    }
    return nullptr;
}

unsigned char* BlobSet::IncrementPointer(const unsigned char* p, ULONG n) const noexcept {
    const ULONG position = GetPosition(p);
    if (position == 0xFFFFFFFFu || ULONGLONG{position} + n > kMaxLength) {
        return nullptr;
    }
    return GetPointer(position + n);
}

// ---- Cursors

BlobSetPtr BlobSet::GetHead() const {
    return BlobSetPtr(GetAt(0).m_pData, 0);
}

bool BlobSet::IsValid(const BlobSetPtr& c) const {
    return c.m_pByte != nullptr && GetAt(c.m_nBlob).In(c.m_pByte);
}

bool BlobSet::GetNextBlob(BlobSetPtr& c) const {
    if (c.m_nBlob >= GetUpperBound()) {
        c = BlobSetPtr(nullptr, -1);
        return false;
    }
    const int next = c.m_nBlob + 1;
    c = BlobSetPtr(GetAt(next).m_pData, next);
    return true;
}

bool BlobSet::Increment(BlobSetPtr& c, ULONG n) const {
    GetAt(c.m_nBlob); // the cursor's index must be valid
    // Member by member rather than recursively, so that a long run of members cannot exhaust
    // the stack.
    int index = c.m_nBlob;
    unsigned char* byte = c.m_pByte;
    ULONG left = n;
    for (;;) {
        const RtBlob& member = m_pData[index];
        // A byte outside its member (an empty member's cursor) stands at the member's end, so
        // no pointer is ever moved outside a member.
        const ULONG rest = member.In(byte) ? member.GetLength(byte) : 0;
        if (left == 0 || rest > left) {
            c = BlobSetPtr(left == 0 ? byte : byte + left, index);
            return true;
        }
        left -= rest;
        if (index >= GetUpperBound()) {
            c = index == c.m_nBlob ? BlobSetPtr(nullptr, index) : BlobSetPtr(nullptr, -1);
            return false;
        }
        ++index;
        byte = m_pData[index].m_pData;
    }
}

} // namespace plinth
