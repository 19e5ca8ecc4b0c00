#pragma once

#include "plinth/persist/rt_blob.h"
#include "plinth/platform/array.h"
#include "plinth/platform/export.h"
#include "plinth/platform/types.h"

namespace plinth {

class CArchive;

/// The archive form of blob arrays (CArray<RtBlob, RtBlob>::Serialize, so BlobSet's): after
/// the count, each element in RtBlob's own form (its size, then its bytes). Loading gives
/// every element a new buffer of its own without freeing what it held before (whose bytes
/// are their holder's affair); a short archive raises CArchiveException(endOfFile) after the
/// elements already read, the later ones staying as they were.
template <>
PLINTH_API void SerializeElements<RtBlob>(CArchive& ar, RtBlob* pElements, INT_PTR nCount);

/// A cursor on one byte of a BlobSet: the byte and the index of the member holding it. A
/// cursor on an empty member has that member's pointer (null when it has none) as its byte.
/// Running off the end leaves the byte null, and the index -1 or where the move started.
class PLINTH_API BlobSetPtr {
public:
    unsigned char* m_pByte = nullptr;
    int m_nBlob = 0;

    BlobSetPtr() noexcept = default;
    BlobSetPtr(unsigned char* p, int i) noexcept
        : m_pByte(p)
        , m_nBlob(i) {}
    BlobSetPtr(const BlobSetPtr& other) noexcept = default;
    BlobSetPtr& operator=(const BlobSetPtr& other) noexcept = default;
    virtual ~BlobSetPtr();
};

/// An array of blobs read as one run of bytes: the members' bytes in index order. Global
/// offsets count from the first byte of member 0; empty members take no room.
///
/// The set holds blob handles, never bytes: members are constructed empty, copied shallowly
/// and destroyed without freeing. Whoever filled a member frees its bytes (RtBlob::Delete)
/// before Reset or destruction. Members may view any bytes, even each other's; a byte is
/// found in the first member that holds it.
///
/// A cursor moves forward across members; a move of 0 leaves it where it is, and a cursor
/// whose byte is not in its member (on an empty member, or a byte elsewhere) stands at that
/// member's end. There is no position after the last byte: a move that reaches or passes
/// the end of the last member fails.
///
/// An index outside the set raises CInvalidArgException. Lengths are 32 bits: a total that
/// would not fit counts as 0xFFFFFFFF.
/// Threads: one object is used by one thread at a time; distinct objects are independent,
/// but sets whose members share bytes share them for writing too.
class PLINTH_API BlobSet : public CArray<RtBlob, RtBlob> {
public:
    BlobSet() noexcept = default;
    /// Destroys the handles only.
    ~BlobSet() override;

    // ---- The whole run

    /// The sum of the members' sizes.
    ULONG GetLength() const noexcept;
    /// Member 0's pointer; null for an empty set.
    unsigned char* GetData() const noexcept;
    /// Every member holds bytes (size above 0, a pointer); true for an empty set.
    bool IsValid() const noexcept;
    /// 0 <= i < count.
    bool InRange(int i) const noexcept { return i >= 0 && i < GetSize(); }
    /// Copies the members' bytes back to back into dst's buffer from its first byte, as many
    /// as dst holds.
    void CopyTo(RtBlob& dst) const noexcept;
    /// A new blob of all the bytes, which the caller frees.
    RtBlob GetMergedBlob() const;
    /// Appends a member of zeros so that the length becomes n; false (no change) when it
    /// already is n or more.
    bool SetLength(ULONG n);
    /// Empties every member without freeing its bytes; the count stays.
    void Reset() noexcept;

    // ---- Global offsets: -1, 0xFFFFFFFF or null outside the set

    /// The first member at or after start that holds p.
    int FindBlob(const unsigned char* p, int start) const noexcept;
    /// The global offset of p.
    ULONG GetPosition(const unsigned char* p) const noexcept;
    /// The byte at global offset off.
    unsigned char* GetPointer(ULONG off) const noexcept;
    /// The byte n after p.
    unsigned char* IncrementPointer(const unsigned char* p, ULONG n) const noexcept;

    // ---- Cursors

    /// On the first byte of member 0 (its pointer, null when empty); an empty set raises
    /// CInvalidArgException.
    BlobSetPtr GetHead() const;
    /// The cursor's member holds its byte; false for a null byte. An invalid index with a
    /// byte raises CInvalidArgException.
    bool IsValid(const BlobSetPtr& c) const;
    /// Onto the first byte of the next member (its pointer, null when empty); at the last
    /// member or beyond, (null, -1) and false. An index below -1 raises CInvalidArgException.
    bool GetNextBlob(BlobSetPtr& c) const;
    /// n bytes forward, stopping on the first member reached when a move ends exactly at a
    /// member's end. On failure the byte becomes null and the index stays when the cursor's
    /// own member was the last, else becomes -1. An invalid index raises CInvalidArgException.
    bool Increment(BlobSetPtr& c, ULONG n) const;
};

} // namespace plinth
