#include "plinth/persist/buffer_base.h"

#include "plinth/containers/hex.h"
#include "plinth/persist/xml_archive.h"
#include "plinth/platform/memory.h"
#include "plinth/platform/throw.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace plinth {

namespace {

// row size * rows as a 32-bit byte count; CMemoryException when it does not fit.
ULONG byteSize(BYTE rowSize, ULONGLONG rows) {
    const ULONGLONG bytes = rowSize * rows;
    if (bytes > 0xFFFFFFFFull) {
        AfxThrowMemoryException();
    }
    return static_cast<ULONG>(bytes);
}

// A new buffer of n bytes, null for none.
BYTE* newBytes(ULONG n) {
    return n == 0 ? nullptr : AfxNewArray<BYTE>(n);
}

ULONGLONG tableBytes(BYTE rowSize, ULONG count) {
    return static_cast<ULONGLONG>(rowSize) * count;
}

// The bytes of "Dt" into p (zeroed), in the format that "Bn" names (`hex` when missing).
void readRows(PCExBase& ar, const IXMLDOMNodePtr& bb, const IXMLDOMNodePtr& dt, bool hex, BYTE* p,
              ULONG bytes) {
    PCExBase::ReadBool(bb, "Bn", hex);
    if (hex) {
        rtStringToBinary(dt->text().GetString(), bytes, p);
        return;
    }
    std::vector<int, AfxAllocator<int>> values((bytes + 3) / 4, 0);
    ar.Push(dt);
    ar.ReadDataInt("Dt", values.data(), static_cast<ULONG>(values.size()), false);
    ar.PopElement(true);
    for (ULONG i = 0; i < bytes; ++i) {
        p[i] = static_cast<BYTE>(static_cast<ULONG>(values[i / 4]) >> (8 * (i % 4)));
    }
}

} // namespace

BufferBase::BufferBase(const BufferBase& other)
    : m_nRowSize(other.m_nRowSize)
    , m_nCount(other.m_nCount)
    , m_nAlloc(other.m_nAlloc)
    , m_pData(newBytes(other.HeldBytes())) {
    if (m_pData != nullptr) {
        std::memcpy(m_pData, other.m_pData, other.HeldBytes());
    } else {
        m_nAlloc = 0;
    }
}

BufferBase& BufferBase::operator=(const BufferBase& other) {
    if (this != &other) {
        BufferBase copy(other);
        Replace(copy.m_pData);
        m_nRowSize = copy.m_nRowSize;
        m_nCount = copy.m_nCount;
        m_nAlloc = copy.m_nAlloc;
        copy.Construct();
    }
    return *this;
}

BufferBase::~BufferBase() {
    delete[] m_pData;
}

void BufferBase::Construct() noexcept {
    m_nRowSize = 0;
    m_nCount = 0;
    m_nAlloc = 0;
    m_pData = nullptr;
}

void BufferBase::Destroy() noexcept {
    Replace(nullptr);
    m_nAlloc = 0;
}

void BufferBase::SetRowSize(BYTE n) {
    if (n != m_nRowSize && m_pData != nullptr) {
        Destroy();
        m_nCount = 0;
    }
    m_nRowSize = n;
}

ULONG BufferBase::HeldBytes() const noexcept {
    if (m_pData == nullptr) {
        return 0;
    }
    // The reserve is what the buffer holds; otherwise it holds at least the rows counted.
    return m_nAlloc != 0 ? m_nAlloc : static_cast<ULONG>(tableBytes(m_nRowSize, m_nCount));
}

void BufferBase::Replace(BYTE* p) noexcept {
    delete[] m_pData;
    m_pData = p;
}

void BufferBase::Allocate() {
    BYTE* p = newBytes(byteSize(m_nRowSize, m_nCount));
    Replace(p);
    m_nAlloc = 0;
}

void BufferBase::Allocate(ULONG n) {
    if (m_nRowSize == 0) {
        return;
    }
    Resize(n);
}

void BufferBase::Resize(ULONG n) {
    BYTE* p = newBytes(byteSize(m_nRowSize, n));
    // Rows counted without a buffer have nothing to copy.
    const ULONG keep = std::min(HeldBytes(), byteSize(m_nRowSize, std::min(m_nCount, n)));
    if (keep != 0) {
        std::memcpy(p, m_pData, keep);
    }
    Replace(p);
    m_nCount = n;
    m_nAlloc = 0;
}

void BufferBase::AllocateEx(ULONG n) {
    if (m_nAlloc == 0) {
        Allocate(n);
        m_nAlloc = byteSize(m_nRowSize, n);
        return;
    }
    if (tableBytes(m_nRowSize, n) > m_nAlloc) {
        const ULONGLONG rows = 2ull * n;
        const ULONG reserve = byteSize(m_nRowSize, rows);
        Allocate(static_cast<ULONG>(rows));
        m_nAlloc = reserve;
    }
    m_nCount = n;
}

void BufferBase::SetCount(ULONG n) {
    if (n == m_nCount) {
        return;
    }
    if (tableBytes(m_nRowSize, n) == 0) {
        Destroy();
        m_nCount = 0;
        return;
    }
    Resize(n);
}

BYTE* BufferBase::AddNewRow() {
    const ULONG c = m_nCount;
    AllocateEx(c + 1);
    m_nCount = c + 1; // also without a row size, where AllocateEx leaves the count
    return GetRow(c);
}

BYTE* BufferBase::GetRow(ULONG i) const noexcept {
    if (m_pData == nullptr || i >= m_nCount) {
        return nullptr;
    }
    return m_pData + static_cast<std::size_t>(i) * m_nRowSize;
}

void BufferBase::RemoveRow(ULONG i) noexcept {
    if (m_pData == nullptr || i >= m_nCount) {
        return;
    }
    BYTE* row = GetRow(i);
    const std::size_t after = static_cast<std::size_t>(m_nCount - 1 - i) * m_nRowSize;
    std::memmove(row, row + m_nRowSize, after);
    --m_nCount;
}

void BufferBase::Copy(const BufferBase& src, ULONG first) {
    if (first != 0 && first >= src.m_nCount) {
        return;
    }
    const ULONG rows = src.m_nCount - first;
    BYTE* p = newBytes(byteSize(src.m_nRowSize, rows));
    if (p != nullptr && src.m_pData != nullptr) {
        std::memcpy(p, src.GetRow(first), byteSize(src.m_nRowSize, rows));
    }
    Replace(p);
    m_nRowSize = src.m_nRowSize;
    m_nCount = rows;
    m_nAlloc = 0;
}

void BufferBase::CopyShallow(BufferBase& src, bool take) {
    if (&src == this) {
        return;
    }
    if (m_pData != src.m_pData) {
        Replace(src.m_pData);
    }
    m_nRowSize = src.m_nRowSize;
    m_nCount = src.m_nCount;
    m_nAlloc = 0;
    if (take) {
        src.m_nCount = 0;
        src.m_nAlloc = 0;
        src.m_pData = nullptr;
    }
}

bool BufferBase::IsSame(const BufferBase& b) const noexcept {
    if (m_nRowSize != b.m_nRowSize || m_nCount != b.m_nCount) {
        return false;
    }
    return GetCountCoinsidingRows(b, 0) == m_nCount;
}

ULONG BufferBase::GetCountCoinsidingRows(const BufferBase& b, ULONG start) const noexcept {
    if (m_nRowSize != b.m_nRowSize) {
        return 0;
    }
    const ULONG end = std::min(m_nCount, b.m_nCount);
    ULONG i = start;
    for (; i < end; ++i) {
        const BYTE* mine = GetRow(i);
        const BYTE* theirs = b.GetRow(i);
        if (mine == nullptr || theirs == nullptr || std::memcmp(mine, theirs, m_nRowSize) != 0) {
            break;
        }
    }
    return i > start ? i - start : 0;
}

ULONG BufferBase::Merge(const BufferBase& b) {
    const ULONG c = m_nCount;
    const ULONG added = b.m_nCount;
    if (added == 0) {
        return c;
    }
    const BYTE rowSize = m_nRowSize == 0 ? b.m_nRowSize : m_nRowSize;
    if (rowSize != b.m_nRowSize) {
        return 0;
    }
    const ULONGLONG total = static_cast<ULONGLONG>(c) + added;
    if (total > 0xFFFFFFFFull) {
        AfxThrowMemoryException();
    }
    byteSize(rowSize, total); // fails before anything changes
    m_nRowSize = rowSize;
    SetCount(static_cast<ULONG>(total));
    // b's rows are read after the reallocation, which keeps them when b is this table.
    if (b.m_pData != nullptr) {
        std::memcpy(GetRow(c), b.m_pData, byteSize(rowSize, added));
    }
    return c;
}

ULONG BufferBase::Unite(const BufferBase& b) {
    const ULONG k = GetCountCoinsidingRows(b, 0);
    if (k == 0) {
        Merge(b);
        return 0;
    }
    BufferBase rest;
    rest.Copy(b, k);
    Merge(rest);
    return k;
}

void BufferBase::PersistXML(PCExBase& ar, bool hex) {
    if (ar.IsStoring()) {
        Store(ar, hex);
    } else if (ar.m_pPC != nullptr && ar.m_pPC->m_nDirection == PC::eLoading) {
        Load(ar, hex);
    }
}

void BufferBase::Store(PCExBase& ar, bool hex) const {
    if (!ar.PushElement("BB")) {
        return;
    }
    ar.PushInt("SR", m_nRowSize);
    ar.PushInt("C", static_cast<int>(m_nCount));
    ar.PushInt("Bn", hex ? 1 : 0);
    const ULONG bytes = static_cast<ULONG>(tableBytes(m_nRowSize, m_nCount));
    if (bytes > 0 && m_pData != nullptr) {
        if (hex) {
            ar.PushString("Dt", rtBinaryToString(m_pData, bytes));
        } else {
            std::vector<int, AfxAllocator<int>> values((bytes + 3) / 4, 0);
            for (ULONG i = 0; i < bytes; ++i) {
                const auto shifted = static_cast<ULONG>(m_pData[i]) << (8 * (i % 4));
                values[i / 4] = static_cast<int>(static_cast<ULONG>(values[i / 4]) | shifted);
            }
            ar.PushString(
                "Dt", PCExBase::FormatDataInt(values.data(), static_cast<ULONG>(values.size())));
        }
    }
    ar.PopElement(false);
}

void BufferBase::Load(PCExBase& ar, bool hex) {
    const IXMLDOMElementPtr current = ar.GetCurElem();
    if (!current) {
        return;
    }
    const IXMLDOMNodePtr bb = current->selectSingleNode("BB");
    if (!bb) {
        return;
    }
    BYTE rowSize = m_nRowSize;
    DWORD count = m_nCount;
    PCExBase::ReadBYTE(bb, "SR", rowSize);
    PCExBase::ReadDWORD(bb, "C", count);
    const IXMLDOMNodePtr dt = bb->selectSingleNode("Dt");
    const ULONG bytes = dt ? byteSize(rowSize, count) : 0;
    // The rows are read in full before anything changes, so a failure leaves the table as it
    // was.
    std::unique_ptr<BYTE[]> rows(newBytes(bytes));
    if (rows) {
        std::memset(rows.get(), 0, bytes);
        readRows(ar, bb, dt, hex, rows.get(), bytes);
    }
    Replace(rows.release());
    m_nRowSize = rowSize;
    m_nCount = count;
    m_nAlloc = 0;
}

} // namespace plinth
