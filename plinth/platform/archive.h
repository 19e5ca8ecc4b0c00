#pragma once

#include "plinth/platform/cstring.h"
#include "plinth/platform/export.h"
#include "plinth/platform/types.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace plinth {

class CFile;

/// A buffered, one-way binary stream over a CFile, which the archive neither owns nor closes.
/// Loading from a file that lends its memory (CMemFile) reads the bytes in place, without
/// copying them through the buffer; such a file must not be written or closed meanwhile.
///
/// Scalars travel at fixed widths in little-endian order whatever the host: bool and the char
/// types 1 byte; short 2; int, long and float 4; long long and double 8 (floats as IEEE 754).
/// long keeps 32 bits: its low half is stored, and loading sign- or zero-extends.
///
/// Failures raise CArchiveException: readOnly when inserting into a loading archive, writeOnly
/// when extracting from a storing one, endOfFile when the data ends inside a value,
/// genericException when the archive was closed. The file's own failures pass through.
/// Threads: one object is used by one thread at a time; distinct objects are independent.
class PLINTH_API CArchive {
public:
    enum Mode { store = 0, load = 1, bNoFlushOnDelete = 2 };

    /// The buffer holds bufSize bytes, at least 8; it is the caller's when buf is given.
    /// A null file raises CInvalidArgException.
    CArchive(CFile* file, UINT mode, int bufSize = 4096, void* buf = nullptr);
    /// Closes the archive unless it was aborted or bNoFlushOnDelete was given; never raises.
    ~CArchive();

    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    BOOL IsLoading() const noexcept { return (m_nMode & load) != 0; }
    BOOL IsStoring() const noexcept { return (m_nMode & load) == 0; }
    /// Null once the archive is closed.
    CFile* GetFile() const noexcept { return m_pFile; }

    /// Returns the number of bytes actually read: fewer than max only at the end of the data.
    UINT Read(void* buf, UINT max);
    void Write(const void* buf, UINT count);

    /// A count below 0xFFFF is a 16-bit word; a count below 0xFFFFFFFF is the word 0xFFFF and
    /// 32 bits; a larger one is 0xFFFF, 0xFFFFFFFF and 64 bits.
    DWORD_PTR ReadCount();
    void WriteCount(DWORD_PTR count);

    /// Storing: writes the buffered bytes to the file. Loading: drops the buffered bytes and
    /// moves the file back to the first of them, so the file is where the reader stopped.
    void Flush();
    /// Flushes and lets go of the file, which stays open.
    void Close();
    /// Lets go of the file without flushing.
    void Abort() noexcept;
    /// Loading: brings at least additionalBytesNeeded bytes beyond the unread ones into the
    /// buffer; raises endOfFile when the file ends first. From a file that lends its memory
    /// (CFile::bufferDirect) the bytes are read in place, all the rest of the file at once.
    void FillBuffer(UINT additionalBytesNeeded);

    CArchive& operator<<(bool b) { return Store<std::uint8_t>(b ? 1 : 0); }
    CArchive& operator<<(char ch) { return Store(static_cast<std::uint8_t>(ch)); }
    CArchive& operator<<(signed char ch) { return Store(static_cast<std::uint8_t>(ch)); }
    CArchive& operator<<(unsigned char by) { return Store<std::uint8_t>(by); }
    CArchive& operator<<(short w) { return Store(static_cast<std::uint16_t>(w)); }
    CArchive& operator<<(unsigned short w) { return Store<std::uint16_t>(w); }
    CArchive& operator<<(int i) { return Store(static_cast<std::uint32_t>(i)); }
    CArchive& operator<<(unsigned int u) { return Store<std::uint32_t>(u); }
    CArchive& operator<<(long l) { return Store(static_cast<std::uint32_t>(l)); }
    CArchive& operator<<(unsigned long ul) { return Store(static_cast<std::uint32_t>(ul)); }
    CArchive& operator<<(long long ll) { return Store(static_cast<std::uint64_t>(ll)); }
    CArchive& operator<<(unsigned long long ull) { return Store<std::uint64_t>(ull); }
    CArchive& operator<<(float f) { return Store(BitCast<std::uint32_t>(f)); }
    CArchive& operator<<(double d) { return Store(BitCast<std::uint64_t>(d)); }

    CArchive& operator>>(bool& b) { return Assign(b, Load<std::uint8_t>() != 0); }
    CArchive& operator>>(char& ch) { return Assign(ch, Load<std::uint8_t>()); }
    CArchive& operator>>(signed char& ch) { return Assign(ch, Load<std::uint8_t>()); }
    CArchive& operator>>(unsigned char& by) { return Assign(by, Load<std::uint8_t>()); }
    CArchive& operator>>(short& w) { return Assign(w, Load<std::uint16_t>()); }
    CArchive& operator>>(unsigned short& w) { return Assign(w, Load<std::uint16_t>()); }
    CArchive& operator>>(int& i) { return Assign(i, Load<std::uint32_t>()); }
    CArchive& operator>>(unsigned int& u) { return Assign(u, Load<std::uint32_t>()); }
    CArchive& operator>>(long& l) {
        return Assign(l, static_cast<std::int32_t>(Load<std::uint32_t>()));
    }
    CArchive& operator>>(unsigned long& ul) { return Assign(ul, Load<std::uint32_t>()); }
    CArchive& operator>>(long long& ll) { return Assign(ll, Load<std::uint64_t>()); }
    CArchive& operator>>(unsigned long long& ull) { return Assign(ull, Load<std::uint64_t>()); }
    CArchive& operator>>(float& f) { return Assign(f, BitCast<float>(Load<std::uint32_t>())); }
    CArchive& operator>>(double& d) { return Assign(d, BitCast<double>(Load<std::uint64_t>())); }

    CString m_strFileName;

private:
    static constexpr UINT minBufSize = sizeof(std::uint64_t);

    template <class To, class From>
    static To BitCast(From from) noexcept {
        static_assert(sizeof(To) == sizeof(From), "BitCast needs types of one size");
        To to;
        std::memcpy(&to, &from, sizeof(To));
        return to;
    }

    /// Converts between host and little-endian byte order (the same swap both ways).
    template <class U>
    static U ByteOrder(U bits) noexcept {
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
        U swapped = 0;
        for (std::size_t i = 0; i < sizeof(U); ++i) {
            swapped = static_cast<U>((swapped << 8) | ((bits >> (8 * i)) & 0xFF));
        }
        return swapped;
#else
        return bits;
#endif
    }

    /// The fast paths: enough room or data in the buffer. A buffer limit equal to the buffer's
    /// start sends the wrong direction (and a closed archive) to the slow path, which raises.
    template <class U>
    CArchive& Store(U bits) {
        BYTE* cur = m_lpBufCur;
        if (m_lpStoreMax - cur < static_cast<std::ptrdiff_t>(sizeof(U))) {
            MakeRoom();
            cur = m_lpBufCur;
        }
        bits = ByteOrder(bits);
        std::memcpy(cur, &bits, sizeof(U));
        m_lpBufCur = cur + sizeof(U);
        return *this;
    }

    template <class U>
    U Load() {
        BYTE* cur = m_lpBufCur;
        if (m_lpLoadMax - cur < static_cast<std::ptrdiff_t>(sizeof(U))) {
            BringIn(sizeof(U));
            cur = m_lpBufCur;
        }
        U bits;
        std::memcpy(&bits, cur, sizeof(U));
        m_lpBufCur = cur + sizeof(U);
        return ByteOrder(bits);
    }

    template <class T, class V>
    CArchive& Assign(T& target, V value) noexcept {
        target = static_cast<T>(value);
        return *this;
    }

    /// The slow paths of Store and Load.
    void MakeRoom();
    void BringIn(UINT size);
    /// Direct loading: the unread bytes become all that is left of the file from its
    /// position on; their number.
    UINT TakeWindow();
    void CheckCanStore() const;
    void CheckCanLoad() const;

    UINT m_nMode;
    UINT m_nBufSize;
    CFile* m_pFile;
    BYTE* m_lpBufStart;
    BYTE* m_lpBufCur;
    BYTE* m_lpLoadMax;  ///< loading: end of the buffered data; otherwise the buffer's start
    BYTE* m_lpStoreMax; ///< storing: end of the buffer; otherwise the buffer's start
    bool m_bUserBuf;
    bool m_bDirect = false; ///< loading straight out of the file's own memory
};

} // namespace plinth
