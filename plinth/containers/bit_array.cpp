#include "plinth/containers/bit_array.h"

#include "plinth/containers/hex.h"
#include "plinth/platform/memory.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace plinth {

// Views over words, and the word-wide scan of FindFirstBit, rely on this byte order.
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "bit arrays assume little-endian words");

RtBitArray::~RtBitArray() = default;

void RtBitArray::SetBits(ULONG bits, bool value) noexcept {
    for (; bits != 0; bits &= bits - 1) {
        Set(__builtin_ctz(bits), value);
    }
}

int RtBitArray::FindFirstBit(bool value) const noexcept {
    if (m_nBits < 1 || m_pBits == nullptr) {
        return -1;
    }
    // Looks for a 1 in the bytes, or in their complement; a hit among the spare high bits
    // of the last byte means none.
    const int count = GetByteCount();
    const auto found = [this](int bit) { return bit < m_nBits ? bit : -1; };
    int k = 0;
    for (; k + 8 <= count; k += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, m_pBits + k, sizeof word);
        if (!value) {
            word = ~word;
        }
        if (word != 0) {
            return found(8 * k + __builtin_ctzll(word));
        }
    }
    for (; k < count; ++k) {
        const unsigned byte = value ? m_pBits[k] : ~m_pBits[k] & 0xFFu;
        if (byte != 0) {
            return found(8 * k + __builtin_ctz(byte));
        }
    }
    return -1;
}

void RtBitArray::SetAll(bool value) noexcept {
    if (m_pBits != nullptr) {
        std::memset(m_pBits, value ? 0xFF : 0x00, static_cast<std::size_t>(GetByteCount()));
    }
}

bool RtBitArray::IsClear() const noexcept {
    const int count = m_pBits == nullptr ? 0 : GetByteCount();
    return std::all_of(m_pBits, m_pBits + count, [](unsigned char b) { return b == 0; });
}

ULONG RtBitArray::GetVal(int from, int to) const noexcept {
    ULONG val = 0;
    if (m_nBits < 1) {
        return val;
    }
    const int last = std::min(to, m_nBits - 1);
    for (int i = std::max(from, 0); i <= last; ++i) {
        if (Get(i)) {
            val += ULONG{1} << (i & 31);
        }
    }
    return val;
}

unsigned char RtBitArray::GetBitsValue(unsigned char from, unsigned char to) const noexcept {
    unsigned val = 0;
    for (int k = 0; from + k <= to && k < 8; ++k) {
        if (Get(from + k)) {
            val |= 1u << k;
        }
    }
    return static_cast<unsigned char>(val);
}

void RtBitArray::SetBitsValue(unsigned char from, unsigned char to, unsigned short value) noexcept {
    for (int k = 0; from + k <= to && k < 16; ++k) {
        Set(from + k, ((value >> k) & 1u) != 0);
    }
}

unsigned char RtBitArray::GetByteValFactor(int& i) const noexcept {
    if (!Holds(i)) {
        return 0;
    }
    const unsigned char byte = m_pBits[Byte(i)];
    i = Bit(i);
    return byte;
}

void RtBitArray::CopyTo(unsigned char* out) const noexcept {
    if (out != nullptr && m_pBits != nullptr) {
        std::memcpy(out, m_pBits, static_cast<std::size_t>(GetByteCount()));
    }
}

void RtBitArray::Copy(const RtBitArray& other) {
    if (other.m_pBits != nullptr) {
        Resize(other.m_nBits, other.m_pBits);
    }
}

void RtBitArray::Copy(const unsigned char* p) {
    const int count = GetByteCount();
    if (p == nullptr || count == 0) {
        return;
    }
    if (m_pBits == nullptr) {
        m_pBits = AfxNewArray<unsigned char>(static_cast<std::size_t>(count));
    }
    std::memmove(m_pBits, p, static_cast<std::size_t>(count));
}

void RtBitArray::SetSize(int n) {
    Resize(n, nullptr);
}

void RtBitArray::Resize(int n, const unsigned char* source) {
    const auto count = static_cast<std::size_t>(GetByteCount(n));
    if (count > static_cast<std::size_t>(GetByteCount())) {
        // The new buffer is filled before the old one goes, which may be the source.
        unsigned char* bytes = AfxNewArray<unsigned char>(count);
        if (source != nullptr) {
            std::memcpy(bytes, source, count);
        }
        delete[] m_pBits;
        m_pBits = bytes;
    } else if (source != nullptr && count > 0) {
        std::memmove(m_pBits, source, count);
    }
    m_nBits = n;
}

bool RtBitArray::operator==(const RtBitArray& other) const noexcept {
    if (m_nBits != other.m_nBits) {
        return false;
    }
    const int count = GetByteCount();
    if (count == 0 || m_pBits == other.m_pBits) {
        return true;
    }
    return m_pBits != nullptr && other.m_pBits != nullptr &&
           std::memcmp(m_pBits, other.m_pBits, static_cast<std::size_t>(count)) == 0;
}

CString RtBitArray::GetString() const {
    CString text;
    if (m_nBits < 1) {
        return text;
    }
    char* out = text.GetBufferSetLength(m_nBits);
    for (int i = 0; i < m_nBits; ++i) {
        out[m_nBits - 1 - i] = Get(i) ? '1' : '0';
    }
    text.ReleaseBuffer(m_nBits);
    return text;
}

CString RtBitArray::GetHexString() const {
    if (m_pBits == nullptr) {
        return CString();
    }
    return rtBinaryToString(m_pBits, static_cast<ULONG>(GetByteCount()));
}

} // namespace plinth
