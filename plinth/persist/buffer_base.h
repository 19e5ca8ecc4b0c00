#pragma once

#include "plinth/platform/export.h"
#include "plinth/platform/types.h"

namespace plinth {

class PCExBase;

/// A growable table of fixed-size binary rows in one contiguous byte buffer: a row size of 1
/// to 255 bytes, a row count, and the rows back to back (row i at i * row size). The table
/// never interprets row contents.
///
/// Storage: the buffer holds at least row size * count bytes, exactly that many while the
/// reserve is 0. The growth operations (AllocateEx, AddNewRow) keep the reserve as the number
/// of bytes the buffer holds; the exact-size operations (Allocate, SetCount, Copy) reset it to
/// 0. A table may count rows it holds no buffer for (after Destroy, or after loading a table
/// whose rows were not stored): such rows read as missing (GetRow gives null) and are never
/// copied. Pointers from GetRow and AddNewRow stay valid until the next reallocation. Byte
/// sizes must fit in 32 bits; a larger one raises CMemoryException, as does a failed
/// allocation, and leaves the table as it was.
///
/// Ownership: a table owns its buffer. Copy construction and assignment copy the buffer, so
/// the two tables never share storage. The one way to share is CopyShallow without `take`,
/// which makes this table a view of another's rows: release the view with Construct() before
/// either table reallocates or is destroyed.
///
/// Threads: one object is used by one thread at a time; distinct objects are independent.
class PLINTH_API BufferBase {
public:
    // ---- Life cycle and sizing

    BufferBase() noexcept = default;
    BufferBase(const BufferBase& other);
    BufferBase& operator=(const BufferBase& other);
    ~BufferBase();

    /// All four fields 0; a buffer held before is not freed.
    void Construct() noexcept;
    /// Frees the buffer; the row size and the count stay.
    void Destroy() noexcept;

    /// A different row size empties a table that holds a buffer, whose rows would no longer
    /// fit the count.
    void SetRowSize(BYTE n);
    BYTE GetRowSize() const noexcept { return m_nRowSize; }
    ULONG GetCount() const noexcept { return m_nCount; }
    /// Bytes reserved by the growth operations; 0 while the buffer is exact.
    ULONG GetAlloc() const noexcept { return m_nAlloc; }
    const BYTE* GetData() const noexcept { return m_pData; }

    /// A fresh exact buffer for the current count (none when the table is empty).
    void Allocate();
    /// Exactly n rows, keeping the leading rows held before; nothing without a row size.
    void Allocate(ULONG n);
    /// n rows with a reserve: reallocates to 2n rows only when the reserve runs out.
    void AllocateEx(ULONG n);
    /// Exactly n rows, keeping the leading rows; nothing when n is the count.
    void SetCount(ULONG n);
    /// Appends one row (contents undefined); null when the table holds no buffer. After the
    /// first append the reserve doubles whenever it runs out.
    BYTE* AddNewRow();

    // ---- Access and editing

    /// Null when there is no buffer or i is not below the count.
    BYTE* GetRow(ULONG i) const noexcept;
    /// Moves the later rows down by one; the buffer keeps its size.
    void RemoveRow(ULONG i) noexcept;
    /// An exact copy of src's rows from `first` on, with src's row size; nothing when `first`
    /// is not 0 and src has no row there. src may be this table.
    void Copy(const BufferBase& src, ULONG first = 0);
    /// Takes src's row size, count and pointer with an exact reserve. With take, src lets go
    /// of its rows (its row size stays) and the rows this table held are freed; without it,
    /// this table is a view (see Ownership) and its own former rows are freed all the same.
    void CopyShallow(BufferBase& src, bool take);

    // ---- Comparison and combination

    /// Equal row sizes, counts and bytes (two empty tables of one row size are the same).
    bool IsSame(const BufferBase& b) const noexcept;
    /// The number of equal rows from row `start` on, up to the first that differs or the end
    /// of the shorter table; 0 when the row sizes differ.
    ULONG GetCountCoinsidingRows(const BufferBase& b, ULONG start) const noexcept;
    /// Both tables begin with the same row.
    bool IsOverlapping(const BufferBase& b) const noexcept {
        return GetCountCoinsidingRows(b, 0) != 0;
    }
    /// Appends b's rows and returns the index of the first (the old count); the old count
    /// and no change when b is empty, 0 and no change when the row sizes differ. A table
    /// without a row size takes b's. b may be this table.
    ULONG Merge(const BufferBase& b);
    /// Appends the rows of b after the leading rows both tables share, and returns how many
    /// they share (0: all of b is appended).
    ULONG Unite(const BufferBase& b);

    // ---- XML

    /// The element "BB" under the current element: "SR" row size, "C" count, "Bn" 1 for
    /// hexadecimal rows or 0 for integers, and "Dt" the rows when there are any. Integers are
    /// the rows read as signed 32-bit little-endian values joined by spaces; a table whose
    /// size is not a multiple of 4 adds one last integer padded with zero bytes, and reading
    /// takes only the table's own bytes from it. Loading reads "BB" without pushing it;
    /// missing values leave their fields, "Bn" missing leaves the format to `hex`. The rows
    /// are read into a fresh zeroed buffer: text that is short, not hexadecimal or stops
    /// parsing leaves the rest zero, and extra text is ignored. A "BB" without "Dt" (or without
    /// rows) keeps the row size and count read and frees the buffer, as Destroy does.
    void PersistXML(PCExBase& ar, bool hex);

private:
    /// Bytes the buffer is known to hold: 0 without one.
    ULONG HeldBytes() const noexcept;
    /// Frees the buffer and takes p in its place.
    void Replace(BYTE* p) noexcept;
    /// n rows in a new buffer, the rows both tables have copied over, no reserve.
    void Resize(ULONG n);
    void Store(PCExBase& ar, bool hex) const;
    void Load(PCExBase& ar, bool hex);

    BYTE m_nRowSize = 0;
    ULONG m_nCount = 0;
    ULONG m_nAlloc = 0;
    BYTE* m_pData = nullptr;
};

} // namespace plinth
