#include "plinth/persist/rt_blob.h"

#include "plinth/containers/hex.h"
#include "plinth/persist/xml_archive.h"
#include "plinth/platform/archive.h"
#include "plinth/platform/exceptions.h"
#include "plinth/platform/file.h"
#include "plinth/platform/hresult.h"
#include "plinth/platform/memory.h"

#include <climits>
#include <cstdint>
#include <cstring>
#include <memory>
#include <utility>

namespace plinth {

namespace {

constexpr ULONGLONG kMaxSize = 0xFFFFFFFFull;
// The most bits a bit array (int-counted) can view, in whole bytes.
constexpr ULONGLONG kMaxBits = static_cast<ULONGLONG>(INT_MAX) & ~ULONGLONG{7};
// A forged archive size costs at most this much memory before the data runs out.
constexpr ULONG kArchiveChunk = 1u << 20;

using Buffer = std::unique_ptr<unsigned char[]>;

ULONG readLength(const unsigned char* p) noexcept {
    return static_cast<ULONG>(p[0]) | (static_cast<ULONG>(p[1]) << 8) |
           (static_cast<ULONG>(p[2]) << 16) | (static_cast<ULONG>(p[3]) << 24);
}

void writeLength(unsigned char* p, ULONG n) noexcept {
    for (int i = 0; i < 4; ++i) {
        p[i] = static_cast<unsigned char>(n >> (8 * i));
    }
}

// A size that must fit in 32 bits.
ULONG checkedSize(ULONGLONG n) {
    if (n > kMaxSize) {
        AfxThrowMemoryException();
    }
    return static_cast<ULONG>(n);
}

// n zero bytes; null for 0.
unsigned char* zeroed(ULONG n) {
    if (n == 0) {
        return nullptr;
    }
    unsigned char* p = AfxNewArray<unsigned char>(n);
    std::memset(p, 0, n);
    return p;
}

bool openForWriting(CFile& f, const CString& path) {
    return f.Open(path, CFile::modeWrite | CFile::shareDenyWrite) ||
           f.Open(path, CFile::modeCreate | CFile::modeWrite | CFile::shareDenyWrite);
}

} // namespace

// ---- Construction

RtBlob::RtBlob(ULONG size)
    : m_nSize(size)
    , m_pData(zeroed(size)) {}

RtBlob::RtBlob(const unsigned char* p, ULONG size, bool /*copy*/)
    : m_nSize(size)
    , m_pData(size == 0 ? nullptr : AfxNewArray<unsigned char>(size)) {
    if (p != nullptr && size != 0) {
        std::memcpy(m_pData, p, size);
    }
}

RtBlob::RtBlob(const char* hex) {
    StringToBinary(hex);
}

RtBlob::~RtBlob() = default;

// ---- Overridable

ULONG RtBlob::GetSize() const {
    return m_nSize;
}

void RtBlob::Copy(const RtBlob& b) {
    if (b.m_nSize == 0) {
        m_nSize = 0;
        return;
    }
    // Filled before the old buffer goes, so b may be a view into it.
    unsigned char* target = BufferFor(b.m_nSize);
    if (b.m_pData != nullptr) {
        std::memmove(target, b.m_pData, b.m_nSize);
    }
    Install(target, b.m_nSize);
}

int RtBlob::Read(CFile& f) {
    return static_cast<int>(ReadNonVirt(f, 0, 0));
}

bool RtBlob::Write(CFile& f) {
    return WriteNonVirt(f);
}

void RtBlob::CopyDataTo(unsigned char* p) const {
    if (p != nullptr && m_nSize != 0 && m_pData != nullptr) {
        std::memcpy(p, m_pData, m_nSize);
    }
}

// ---- Memory

unsigned char* RtBlob::BufferFor(ULONG n) const {
    return m_pData != nullptr && n <= m_nSize ? m_pData : AfxNewArray<unsigned char>(n);
}

void RtBlob::Install(unsigned char* p, ULONG n) noexcept {
    if (m_pData != p) {
        delete[] m_pData;
    }
    m_pData = p;
    m_nSize = n;
}

void RtBlob::Allocate() {
    Install(m_nSize == 0 ? nullptr : AfxNewArray<unsigned char>(m_nSize), m_nSize);
}

void RtBlob::SetSize(ULONG n) {
    // A zero size keeps the buffer (of unknown capacity) for Delete; growing from it replaces it.
    if (n == 0) {
        m_nSize = 0;
    } else {
        Install(BufferFor(n), n);
    }
}

void RtBlob::Delete() {
    Install(nullptr, 0);
}

void RtBlob::DeleteData() {
    delete[] m_pData;
}

unsigned char* RtBlob::Reset() noexcept {
    unsigned char* p = m_pData;
    m_pData = nullptr;
    m_nSize = 0;
    return p;
}

// ---- Copying in and out

void RtBlob::Copy(const RtBitArray& bits) {
    RtBlob::Copy(RtBlob(static_cast<ULONG>(bits.GetByteCount()), bits.m_pBits));
}

void RtBlob::Copy(unsigned char* p) noexcept {
    if (p != nullptr) {
        m_nSize = readLength(p);
        m_pData = p + 4;
    }
}

void RtBlob::CopyTo(unsigned char* p) const noexcept {
    if (p != nullptr && m_nSize != 0) {
        writeLength(p, m_nSize);
        RtBlob::CopyDataTo(p + 4);
    }
}

void RtBlob::CopyData(const unsigned char* p, ULONG n) noexcept {
    if (n != 0 && p != nullptr && m_pData != nullptr) {
        std::memmove(m_pData, p, n < m_nSize ? n : m_nSize);
    }
}

void RtBlob::Set(const char* s) {
    if (s == nullptr) {
        return;
    }
    const ULONG n = checkedSize(std::strlen(s) + 1ull);
    unsigned char* p = AfxNewArray<unsigned char>(n);
    std::memcpy(p, s, n);
    Install(p, n);
}

bool RtBlob::Copy(SAFEARRAY** ppsa) {
    if (ppsa == nullptr || *ppsa == nullptr) {
        return false;
    }
    SAFEARRAY* psa = *ppsa;
    if (SafeArrayGetDim(psa) != 1 || SafeArrayGetElemsize(psa) != 1 ||
        FAILED(SafeArrayLock(psa))) {
        return false;
    }
    try {
        Copy(RtBlob(psa->rgsabound[0].cElements, static_cast<unsigned char*>(psa->pvData)));
    } catch (...) {
        SafeArrayUnlock(psa);
        throw;
    }
    return SUCCEEDED(SafeArrayUnlock(psa));
}

bool RtBlob::CopyTo(SAFEARRAY** ppsa) const {
    if (ppsa == nullptr) {
        return false;
    }
    // GetSize and CopyDataTo together, so that a subclass's contents arrive whole.
    const SAFEARRAYBOUND bound{GetSize(), 0};
    *ppsa = SafeArrayCreate(VT_UI1, 1, &bound);
    SAFEARRAY* psa = *ppsa;
    if (psa == nullptr) {
        return false;
    }
    SafeArrayLock(psa);
    try {
        CopyDataTo(static_cast<unsigned char*>(psa->pvData));
    } catch (...) {
        // A subclass failed to produce its bytes: the caller gets no array.
        SafeArrayUnlock(psa);
        SafeArrayDestroy(psa);
        *ppsa = nullptr;
        throw;
    }
    SafeArrayUnlock(psa);
    return true;
}

// ---- Hexadecimal text

CString RtBlob::ToCString() const {
    return rtBinaryToString(m_pData, m_nSize);
}

char* RtBlob::ToString(int& len) const {
    if (!IsValid()) {
        return nullptr;
    }
    const CString text = ToCString();
    const int n = text.GetLength();
    char* out = AfxNewArray<char>(static_cast<std::size_t>(n) + 1);
    std::memcpy(out, text.GetString(), static_cast<std::size_t>(n) + 1);
    len = n;
    return out;
}

bool RtBlob::StringToBinary(const char* hex) {
    if (hex == nullptr) {
        return false;
    }
    SetSize(static_cast<ULONG>(std::strlen(hex) / 2));
    if (!rtStringToBinary(hex, m_nSize, m_pData)) {
        Delete();
        return false;
    }
    return true;
}

// ---- Addressing and search

bool RtBlob::In(const unsigned char* p) const noexcept {
    // Address arithmetic, so that a pointer into another object compares without fault.
    return m_pData != nullptr && p != nullptr &&
           reinterpret_cast<std::uintptr_t>(p) - reinterpret_cast<std::uintptr_t>(m_pData) <
               m_nSize;
}

unsigned char* RtBlob::GetEnd() const noexcept {
    return m_pData == nullptr ? nullptr : m_pData + m_nSize;
}

unsigned char* RtBlob::GetPointer(ULONG off) const noexcept {
    return m_pData == nullptr || off >= m_nSize ? nullptr : m_pData + off;
}

ULONG RtBlob::GetOffset(const unsigned char* p) const noexcept {
    return In(p) ? static_cast<ULONG>(p - m_pData) : 0xFFFFFFFFu;
}

ULONG RtBlob::GetLength(const unsigned char* p) const noexcept {
    return In(p) ? m_nSize - static_cast<ULONG>(p - m_pData) : 0xFFFFFFFFu;
}

unsigned char* RtBlob::FindChar(unsigned char c, ULONG start) const noexcept {
    if (m_pData == nullptr || start >= m_nSize) {
        return nullptr;
    }
    return static_cast<unsigned char*>(std::memchr(m_pData + start, c, m_nSize - start));
}

unsigned char* RtBlob::FindData(const RtBlob& pattern) const noexcept {
    if (!IsValid() || !pattern.IsValid()) {
        return nullptr;
    }
    ULONG start = 0;
    while (unsigned char* candidate = FindChar(pattern.m_pData[0], start)) {
        if (pattern.m_nSize > GetLength(candidate)) {
            return nullptr; // no later candidate has more room
        }
        if (std::memcmp(candidate, pattern.m_pData, pattern.m_nSize) == 0) {
            return candidate;
        }
        start = GetOffset(candidate) + 1;
    }
    return nullptr;
}

bool RtBlob::IsSameData(const RtBlob& b) const noexcept {
    if (m_nSize != b.m_nSize) {
        return false;
    }
    if (m_nSize == 0 || m_pData == b.m_pData) {
        return true;
    }
    return m_pData != nullptr && b.m_pData != nullptr &&
           std::memcmp(m_pData, b.m_pData, m_nSize) == 0;
}

bool RtBlob::IsAllZeros(const unsigned char* p, int n) noexcept {
    for (int i = 0; p != nullptr && i < n; ++i) {
        if (p[i] != 0) {
            return false;
        }
    }
    return true;
}

// ---- Composition

RtBlob RtBlob::operator+(const RtBlob& b) const {
    RtBlob sum(checkedSize(ULONGLONG{m_nSize} + b.m_nSize));
    RtBlob::CopyDataTo(sum.m_pData);
    b.RtBlob::CopyDataTo(sum.m_pData + m_nSize);
    return sum;
}

RtBlob RtBlob::operator*(const RtBlob& b) const {
    RtBlob nested(checkedSize(ULONGLONG{m_nSize} + b.m_nSize + 4));
    writeLength(nested.m_pData, m_nSize);
    RtBlob::CopyDataTo(nested.m_pData + 4);
    b.RtBlob::CopyDataTo(nested.m_pData + 4 + m_nSize);
    return nested;
}

void RtBlob::Embed(const RtBlob& inner) {
    *this = inner * *this;
}

RtBlob RtBlob::GetInnerBlob() const noexcept {
    if (m_pData == nullptr || m_nSize < 4) {
        return RtBlob();
    }
    const ULONG length = readLength(m_pData);
    // Widened, so that a length near 2^32 cannot wrap past the check.
    if (length == 0 || ULONGLONG{length} + 4 > m_nSize) {
        return RtBlob();
    }
    return RtBlob(length, m_pData + 4);
}

RtBlob RtBlob::GetOuterBlob() const noexcept {
    if (m_pData == nullptr || m_nSize < 4) {
        return RtBlob();
    }
    const ULONG length = readLength(m_pData);
    if (ULONGLONG{length} + 4 > m_nSize) {
        return RtBlob();
    }
    return RtBlob(m_nSize - length - 4, m_pData + 4 + length);
}

// ---- Bits

RtBitArray RtBlob::GetBits() const noexcept {
    const ULONGLONG bits = ULONGLONG{m_nSize} * 8;
    return RtBitArray(m_pData, static_cast<int>(bits < kMaxBits ? bits : kMaxBits));
}

void RtBlob::Inject(const RtBlob& src) noexcept {
    if (src.m_nSize == 0 || src.m_nSize > m_nSize) {
        return;
    }
    RtBitArray to = GetBits();
    const RtBitArray from = src.GetBits();
    const auto ratio = static_cast<float>(static_cast<double>(m_nSize) / src.m_nSize);
    // Wide indexes: rounding to single precision may carry one past the last bit, which the
    // bit array then leaves unwritten.
    long long previous = -1;
    for (int i = 0; i < from.m_nBits; ++i) {
        const float t = static_cast<float>(i) * ratio;
        long long j = static_cast<long long>(t);
        if (j == previous) {
            j = previous + 1;
        }
        if (j < to.m_nBits) {
            to.Set(static_cast<int>(j), from.Get(i));
        }
        previous = j;
    }
}

void RtBlob::SwapEndianBytes(unsigned char* p, ULONG n) noexcept {
    if (p == nullptr) {
        return;
    }
    for (ULONG i = 0; n - i >= 4; i += 4) {
        std::swap(p[i], p[i + 3]);
        std::swap(p[i + 1], p[i + 2]);
    }
}

// ---- Files

bool RtBlob::Write(const CString& path) {
    CFile f;
    return openForWriting(f, path) && Write(f);
}

bool RtBlob::WriteNonVirt(CFile& f) {
    if (m_pData != nullptr) {
        f.Write(m_pData, m_nSize);
    }
    return true;
}

bool RtBlob::WriteNonVirt(const CString& path) {
    CFile f;
    return openForWriting(f, path) && WriteNonVirt(f);
}

bool RtBlob::Read(const CString& path) {
    CFile f;
    if (!f.Open(path, CFile::modeRead)) {
        return false;
    }
    Read(f);
    return true;
}

ULONG RtBlob::ReadNonVirt(CFile& f, ULONG offset, ULONG count) {
    const ULONG wanted = count != 0 ? count : static_cast<ULONG>(f.GetLength());
    const ULONG capacity = checkedSize(ULONGLONG{offset} + wanted);
    // Filled before the old buffer goes, so that a failed read leaves the blob as it was.
    Buffer buffer(capacity == 0 ? nullptr : AfxNewArray<unsigned char>(capacity));
    if (offset != 0) {
        std::memset(buffer.get(), 0, offset);
    }
    const ULONG read = wanted == 0 ? 0 : f.Read(buffer.get() + offset, wanted);
    Install(buffer.release(), offset + read);
    return read;
}

bool RtBlob::ReadNonVirt(const CString& path, ULONG offset, ULONG count) {
    CFile f;
    if (!f.Open(path, CFile::modeRead)) {
        return false;
    }
    ReadNonVirt(f, offset, count);
    return true;
}

// ---- Persistence

void RtBlob::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        const ULONG n = m_pData != nullptr ? m_nSize : 0;
        ar << n;
        if (n != 0) {
            ar.Write(m_pData, n);
        }
        return;
    }
    ULONG n = 0;
    ar >> n;
    // The buffer grows (doubling) only as data arrives, so a forged size fails at the end of
    // the data rather than by allocating all it claims first.
    ULONG capacity = n < kArchiveChunk ? n : kArchiveChunk;
    Buffer buffer(capacity == 0 ? nullptr : AfxNewArray<unsigned char>(capacity));
    ULONG filled = 0;
    while (filled < n) {
        if (filled == capacity) {
            capacity = capacity > n / 2 ? n : capacity * 2;
            Buffer grown(AfxNewArray<unsigned char>(capacity));
            std::memcpy(grown.get(), buffer.get(), filled);
            buffer = std::move(grown);
        }
        const ULONG wanted = capacity - filled;
        if (ar.Read(buffer.get() + filled, wanted) != wanted) {
            AfxThrowArchiveException(CArchiveException::endOfFile, ar.m_strFileName);
        }
        filled = capacity;
    }
    Install(buffer.release(), n);
}

bool RtBlob::PersistXML(PCExBase& ar) {
    const LONG direction = ar.m_pPC != nullptr ? ar.m_pPC->m_nDirection : PC::eUndecided;
    if (direction == PC::eStoring) {
        if (ar.PushElement("Bl")) {
            ar.PushInt("Sz", static_cast<int>(m_nSize));
            if (m_nSize != 0) {
                ar.PushString("Dt", ToCString());
            }
            ar.PopElement(false);
        }
        return true;
    }
    if (direction != PC::eLoading) {
        return true;
    }
    Delete();
    const IXMLDOMElementPtr element = ar.GetCurElem();
    if (!element || element->nodeName() != "Bl") {
        return false;
    }
    // Read signed, so that "-1" is refused rather than taken for 4 GiB.
    int size = 0;
    if (!PCExBase::ReadInt(element, "Sz", size) || size <= 0) {
        return false;
    }
    const IXMLDOMNodePtr data = element->selectSingleNode("Dt");
    if (!data) {
        return false;
    }
    const CString text = data->text();
    const auto n = static_cast<ULONG>(size);
    unsigned char* bytes = zeroed(n);
    // Text that is short or bad stops the decoding; the bytes it did not reach stay 0.
    rtStringToBinary(text, n, bytes);
    Install(bytes, n);
    return true;
}

} // namespace plinth
