#pragma once

#include "plinth/platform/cstring.h"
#include "plinth/platform/export.h"
#include "plinth/platform/types.h"

namespace plinth {

/// Single bits and runs of bits in a block of bytes.
///
/// An array is a view, the pair (m_pBits, m_nBits): it never frees the bytes it points at, and
/// copies share them. Bit i lies in byte i / 8 at bit i % 8, counted from the least
/// significant bit, so over a 32-bit word bit i of the array is bit i of the word. Indexes
/// outside 0 .. m_nBits - 1 read as 0 and are not written; the bytes behind the view must
/// hold GetByteCount() bytes.
///
/// SetSize (when it grows) and Copy from bytes may allocate a buffer with new[]; whoever
/// grows an array owns that buffer from then on (GetByte(0)) and frees it with delete[].
/// Threads: one object is used by one thread at a time; distinct objects are independent.
class PLINTH_API RtBitArray {
public:
    unsigned char* m_pBits = nullptr;
    int m_nBits = 0;

    // ---- Construction: none of these allocates

    RtBitArray() noexcept = default;
    /// The 32 bits of word.
    explicit RtBitArray(ULONG& word) noexcept
        : m_pBits(reinterpret_cast<unsigned char*>(&word))
        , m_nBits(32) {}
    /// 32 bits at p.
    explicit RtBitArray(unsigned char* p) noexcept
        : m_pBits(p)
        , m_nBits(32) {}
    RtBitArray(unsigned char* p, int n) noexcept
        : m_pBits(p)
        , m_nBits(n) {}
    RtBitArray(unsigned char* p, int n, bool value) noexcept
        : m_pBits(p)
        , m_nBits(n) {
        SetAll(value);
    }
    RtBitArray(const RtBitArray&) noexcept = default;
    RtBitArray& operator=(const RtBitArray&) noexcept = default;
    /// Frees nothing.
    virtual ~RtBitArray();

    void SetData(unsigned char* p, int n) noexcept {
        m_pBits = p;
        m_nBits = n;
    }

    // ---- Single bits

    bool Get(int i) const noexcept { return Holds(i) && GetFlagByte(Bit(i), m_pBits[Byte(i)]); }
    void Set(int i, bool value) noexcept {
        if (Holds(i)) {
            SetFlagByte(Bit(i), value, m_pBits[Byte(i)]);
        }
    }
    void Clear(int i) noexcept { Set(i, false); }
    /// For each set bit j of bits, bit j := value.
    void SetBits(ULONG bits, bool value) noexcept;
    /// Lowest index whose bit equals value; -1 for none or an empty array.
    int FindFirstBit(bool value) const noexcept;

    // ---- Whole buffer (the spare high bits of the last byte included); nothing when null

    /// Every byte 0xFF or 0x00.
    void SetAll(bool value) noexcept;
    void ClearAll() noexcept { SetAll(false); }
    /// True when every byte is 0, or there are none.
    bool IsClear() const noexcept;

    // ---- Runs of bits

    /// The bits from .. to at their own places: bit i adds 2^(i % 32), so the bits of a range
    /// longer than 32 add up with wrap-around. 0 when from > to.
    ULONG GetVal(int from, int to) const noexcept;
    /// The bits from .. to shifted down to bit 0; only the first 8 can contribute. 0 when
    /// from > to.
    unsigned char GetBitsValue(unsigned char from, unsigned char to) const noexcept;
    /// Bit from + k := bit k of value, for k = 0 .. to - from (at most the first 16); nothing
    /// when from > to.
    void SetBitsValue(unsigned char from, unsigned char to, unsigned short value) noexcept;

    // ---- Bytes

    /// ceil(max(n, 0) / 8).
    static int GetByteCount(int n) noexcept { return n <= 0 ? 0 : n / 8 + (n % 8 != 0 ? 1 : 0); }
    int GetByteCount() const noexcept { return GetByteCount(m_nBits); }
    /// The byte that holds bit i; null when there is no such bit.
    unsigned char* GetByte(int i) const noexcept { return Holds(i) ? m_pBits + Byte(i) : nullptr; }
    /// The value of the byte that holds bit i, and i becomes i % 8; 0 and i unchanged when
    /// there is no bit i.
    unsigned char GetByteValFactor(int& i) const noexcept;
    /// Copies the bytes to out (unless null).
    void CopyTo(unsigned char* out) const noexcept;
    /// Takes other's count (SetSize) and a copy of its bytes; nothing when other's buffer is null.
    void Copy(const RtBitArray& other);
    /// Copies GetByteCount() bytes from p (unless null), first allocating a buffer when the
    /// array has none.
    void Copy(const unsigned char* p);
    /// Sets the count. When the new count needs more bytes, the old buffer is freed with
    /// delete[] and a new one, with undefined contents, is allocated: call it only on an
    /// array whose buffer is null or was allocated by SetSize or Copy.
    void SetSize(int n);

    /// Equal counts and equal bytes (spare bits included).
    bool operator==(const RtBitArray& other) const noexcept;
    bool operator!=(const RtBitArray& other) const noexcept { return !(*this == other); }

    /// m_nBits characters '0' or '1', the highest index first; empty for no bits.
    CString GetString() const;
    /// The bytes as upper-case hexadecimal text, byte 0 first; empty when the buffer is null.
    CString GetHexString() const;

    // ---- One byte or one 32-bit word

    /// Only bit i % 8 set.
    static unsigned char ConstructFlagByte(int i) noexcept {
        return static_cast<unsigned char>(1u << (static_cast<unsigned>(i) & 7u));
    }
    static unsigned char ConstructHoleByte(int i) noexcept {
        return static_cast<unsigned char>(~ConstructFlagByte(i));
    }
    /// Bit `bit` (0 .. 7) of byte; false beyond.
    static bool GetFlagByte(unsigned char bit, unsigned char byte) noexcept {
        return bit < 8 && ((byte >> bit) & 1u) != 0;
    }
    static void SetFlagByte(unsigned char bit, bool value, unsigned char& byte) noexcept {
        if (bit < 8) {
            byte = value ? static_cast<unsigned char>(byte | (1u << bit))
                         : static_cast<unsigned char>(byte & ~(1u << bit));
        }
    }
    /// Bit i (0 .. 31) of word; false beyond.
    static bool GetFlag(int i, ULONG word) noexcept {
        return i >= 0 && i < 32 && ((word >> i) & 1u) != 0;
    }
    static void SetFlag(int i, bool value, ULONG& word) noexcept {
        if (i >= 0 && i < 32) {
            SetFlagFromValue(ULONG{1} << i, value, word);
        }
    }
    /// Sets the lowest set bit of source in word to value; nothing when source is 0.
    static void SetFlagFromValue(ULONG source, bool value, ULONG& word) noexcept {
        const ULONG lowest = source & (~source + 1);
        word = value ? (word | lowest) : (word & ~lowest);
    }

private:
    /// Sets the count; when it needs more bytes, replaces the buffer by a new one. Copies
    /// the new byte count from source unless it is null.
    void Resize(int n, const unsigned char* source);

    bool Holds(int i) const noexcept { return i >= 0 && i < m_nBits && m_pBits != nullptr; }
    static int Byte(int i) noexcept { return i >> 3; }
    static unsigned char Bit(int i) noexcept { return static_cast<unsigned char>(i & 7); }
};

} // namespace plinth
