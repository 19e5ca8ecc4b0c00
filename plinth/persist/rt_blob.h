#pragma once

#include "plinth/containers/bit_array.h"
#include "plinth/platform/cstring.h"
#include "plinth/platform/export.h"
#include "plinth/platform/safearray.h"
#include "plinth/platform/types.h"

#include <type_traits>

namespace plinth {

class CArchive;
class CFile;
class PCExBase;

/// A run of bytes as a plain value handle: a size and a pointer.
///
/// Ownership: copying a blob (construction, assignment, CopyShallow) copies the handle, never
/// the bytes, so both blobs then share them; destroying a blob frees nothing. The bytes are
/// freed only by Delete or DeleteData, or handed to the caller by Reset. A blob may also be a
/// view of bytes it did not allocate (the (size, pointer) constructor, Copy(unsigned char*),
/// GetInnerBlob, GetOuterBlob, copies): never free those through the blob, and never apply an
/// operation that replaces the buffer to them (Allocate, SetSize growing, Copy growing, Set,
/// StringToBinary, Read*, loading Serialize or PersistXML).
///
/// Every buffer comes from AfxNewArray and goes back with delete[]. An allocation failure
/// raises CMemoryException and leaves the blob as it was. A non-null pointer always addresses
/// at least GetSize() bytes. Lengths are 32 bits; a result that would not fit raises
/// CMemoryException.
///
/// Byte formats (lengths unsigned 32-bit little-endian):
///   embedded blob (operator*, Embed; read by GetInnerBlob, GetOuterBlob): L, L inner bytes,
///     then the outer bytes;
///   length-prefixed copy (CopyTo(unsigned char*); read by Copy(unsigned char*)): L, L bytes;
///   binary archive (Serialize): the size, then the bytes.
/// XML (PersistXML): an element "Bl" holding "Sz" (the size, decimal) and, unless empty,
/// "Dt" (the bytes as upper-case hexadecimal text), e.g. `<Bl><Sz>2</Sz><Dt>0AFF</Dt></Bl>`.
///
/// Threads: one object is used by one thread at a time; distinct objects are independent,
/// but blobs that share bytes share them for writing too.
class PLINTH_API RtBlob {
public:
    ULONG m_nSize = 0;
    unsigned char* m_pData = nullptr;

    // ---- Construction and assignment

    /// Empty: size 0, null pointer.
    RtBlob() noexcept = default;
    /// Shares the other blob's bytes.
    RtBlob(const RtBlob& other) noexcept = default;
    RtBlob& operator=(const RtBlob& other) noexcept = default;
    /// A view of size bytes at p; nothing is allocated or copied.
    RtBlob(ULONG size, unsigned char* p) noexcept
        : m_nSize(size)
        , m_pData(p) {}
    /// size zero bytes (null pointer for 0).
    explicit RtBlob(ULONG size);
    /// Any integer size, so that RtBlob(0) means no bytes rather than no hexadecimal text.
    template <class Integer, std::enable_if_t<std::is_integral_v<Integer>, int> = 0>
    explicit RtBlob(Integer size)
        : RtBlob(static_cast<ULONG>(size)) {}
    /// A new buffer of size bytes, copied from p unless p is null (then undefined); the flag
    /// has no effect.
    RtBlob(const unsigned char* p, ULONG size, bool copy);
    /// The bytes of hexadecimal text, as StringToBinary (empty when it fails).
    explicit RtBlob(const char* hex);
    /// Frees nothing.
    virtual ~RtBlob();

    // ---- Overridable (in this order in the virtual table, the destructor last)

    virtual ULONG GetSize() const;
    /// Deep copy of b's bytes. An empty b only sets the size to 0, keeping the buffer for
    /// Delete to free. Otherwise the buffer is reused when it holds b's size, else replaced.
    virtual void Copy(const RtBlob& b);
    /// Replaces the contents by the file from its position on, with one read; returns the
    /// count read, which becomes the size.
    virtual int Read(CFile& f);
    /// Writes the bytes with one write call; true.
    virtual bool Write(CFile& f);
    /// Copies the bytes to p (which must hold them); nothing for null p or an empty blob.
    virtual void CopyDataTo(unsigned char* p) const;

    // ---- Memory

    /// A new buffer of GetSize() undefined bytes (null for 0) in place of the old one.
    void Allocate();
    /// Size n. Growing (or a null buffer) replaces the buffer by one of n undefined bytes;
    /// otherwise the buffer and its first n bytes stay.
    void SetSize(ULONG n);
    /// Frees the buffer (when there is one); then size 0, null pointer.
    void Delete();
    /// Frees the buffer (when there is one) and leaves both fields as they are: the last call
    /// before the blob is discarded or reset.
    void DeleteData();
    /// Hands the buffer to the caller (who frees it with delete[]); then size 0, null pointer.
    unsigned char* Reset() noexcept;
    /// Size above 0 and a buffer.
    bool IsValid() const noexcept { return m_nSize > 0 && m_pData != nullptr; }

    // ---- Copying in and out

    /// SetSize(bits.GetByteCount()), then the bit array's bytes.
    void Copy(const RtBitArray& bits);
    /// Takes b's size and pointer: a view of b's bytes.
    void CopyShallow(const RtBlob& b) noexcept { *this = b; }
    /// A view of the length-prefixed copy at p; nothing for null.
    void Copy(unsigned char* p) noexcept;
    /// Writes the length-prefixed copy at p (GetSize() + 4 bytes); nothing for null p or an
    /// empty blob.
    void CopyTo(unsigned char* p) const noexcept;
    /// n bytes from p into the existing buffer (n at most the size); nothing when n is 0 or a
    /// pointer is null.
    void CopyData(const unsigned char* p, ULONG n) noexcept;
    void CopyData(const unsigned char* p) noexcept { CopyData(p, m_nSize); }
    /// The text with its terminating zero in a new buffer; nothing for null.
    void Set(const char* s);
    /// Copies a one-dimensional array of 1-byte elements; false for anything else, a null
    /// array, or when locking or unlocking fails.
    bool Copy(SAFEARRAY** ppsa);
    /// A new VT_UI1 array (lower bound 0) of the bytes, stored in *ppsa for the caller to
    /// destroy; false when it cannot be created.
    bool CopyTo(SAFEARRAY** ppsa) const;

    // ---- Hexadecimal text: two upper-case digits per byte, high half first

    /// Empty text for an empty blob or a null buffer.
    CString ToCString() const;
    /// The text in a new zero-terminated array (free with delete[]), len its length; null and
    /// len untouched for an empty blob.
    char* ToString(int& len) const;
    /// strlen(hex) / 2 bytes (an odd last digit is ignored). False for null; false and empty
    /// (size 0, buffer freed) when a digit is bad or missing.
    bool StringToBinary(const char* hex);

    // ---- Addressing and search: null, 0xFFFFFFFF or false when outside the blob

    /// pointer <= p < pointer + size.
    bool In(const unsigned char* p) const noexcept;
    /// pointer + size; null for a null buffer.
    unsigned char* GetEnd() const noexcept;
    /// pointer + off for off < size.
    unsigned char* GetPointer(ULONG off) const noexcept;
    /// p - pointer.
    ULONG GetOffset(const unsigned char* p) const noexcept;
    /// Bytes from p to the end.
    ULONG GetLength(const unsigned char* p) const noexcept;
    /// First c at or after offset start.
    unsigned char* FindChar(unsigned char c, ULONG start) const noexcept;
    /// First place where all of pattern's bytes occur; null when either blob is empty.
    unsigned char* FindData(const RtBlob& pattern) const noexcept;
    /// Equal sizes and equal bytes; two empty blobs are the same.
    bool IsSameData(const RtBlob& b) const noexcept;
    /// True for null p, n < 1, or n zero bytes.
    static bool IsAllZeros(const unsigned char* p, int n) noexcept;

    // ---- Composition: the results own new buffers

    /// This blob's bytes followed by b's.
    RtBlob operator+(const RtBlob& b) const;
    /// The embedded-blob format with this blob inner and b outer.
    RtBlob operator*(const RtBlob& b) const;
    /// Becomes inner * *this; the old buffer is not freed.
    void Embed(const RtBlob& inner);
    /// Views into the embedded-blob format; empty when the length prefix does not fit.
    RtBlob GetInnerBlob() const noexcept;
    RtBlob GetOuterBlob() const noexcept;

    // ---- Bits (numbered as RtBitArray numbers them)

    /// A view of the bytes as GetSize() * 8 bits (at most the bits an int counts).
    RtBitArray GetBits() const noexcept;
    /// Spreads src's bits evenly over this blob's bits; nothing when src is empty or larger.
    void Inject(const RtBlob& src) noexcept;
    /// Reverses each whole 4-byte group from the start; trailing bytes stay.
    static void SwapEndianBytes(unsigned char* p, ULONG n) noexcept;
    void SwapEndianBytes() noexcept { SwapEndianBytes(m_pData, m_nSize); }

    // ---- Files: a file that cannot be opened gives false; I/O errors raise CFileException

    /// Opens path for writing without truncating it (a longer file keeps its tail), creating
    /// it when missing, and writes with Write(CFile&), respectively WriteNonVirt(CFile&).
    bool Write(const CString& path);
    bool WriteNonVirt(CFile& f);
    bool WriteNonVirt(const CString& path);
    /// Opens path for reading and applies Read(CFile&); true once the file is open.
    bool Read(const CString& path);
    /// As Read, but reads count bytes (the file's length for 0) into a buffer of offset + count
    /// bytes whose first offset bytes are zero; the size becomes offset + the count read,
    /// which is returned.
    ULONG ReadNonVirt(CFile& f, ULONG offset, ULONG count);
    bool ReadNonVirt(const CString& path, ULONG offset, ULONG count);

    // ---- Executable resources

    /// False for a null name or type; otherwise stores the bytes as that resource of file.
    bool WriteResource(const char* name, const char* type, const char* file);
    /// 0 when the resource was loaded into a new buffer; otherwise the resource manager's code
    /// (8 for a null type, 9 for a null name).
    int LoadResource(const char* name, const char* type, const char* file);

    // ---- Persistence

    /// The size, then the bytes. Loading a size beyond the archive's data raises its endOfFile
    /// exception without allocating more than the data holds, and leaves the blob as it was.
    void Serialize(CArchive& ar);
    /// Storing: a new "Bl" element under the current one; true. Loading: the current element
    /// must be "Bl"; true when it held a positive size and "Dt" (bytes the text does not reach
    /// are 0); otherwise false and the blob is empty. Other directions: nothing; true.
    bool PersistXML(PCExBase& ar);

private:
    /// The buffer to hold n > 0 bytes: this one when it is large enough, else a new one.
    unsigned char* BufferFor(ULONG n) const;
    /// Frees the old buffer unless it is p, then holds the n bytes at p.
    void Install(unsigned char* p, ULONG n) noexcept;
};

} // namespace plinth
