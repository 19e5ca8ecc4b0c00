#pragma once

#include "plinth/platform/cstring.h"
#include "plinth/platform/export.h"
#include "plinth/platform/iterators.h"
#include "plinth/platform/object.h"
#include "plinth/platform/plex.h"
#include "plinth/platform/types.h"

#include <cstddef>

// The position GetStartPosition gives before a walk's first entry.
// Threads: one object is used by one thread at a time; distinct objects are independent.
#define BEFORE_START_POSITION (reinterpret_cast<::plinth::POSITION>(::plinth::INT_PTR{-1}))

namespace plinth {

/// The storage shared by the framework's maps: a hash table of chains of associations
/// allocated in blocks of the block size and recycled through a free list. The table, 17
/// buckets unless InitHashTable says otherwise, is allocated with the first entry. A walk
/// visits the buckets in order and each chain from its newest entry.
class PLINTH_API CMapBase : public CObject {
public:
    CMapBase(const CMapBase&) = delete;
    CMapBase& operator=(const CMapBase&) = delete;

    INT_PTR GetCount() const noexcept { return m_nCount; }
    INT_PTR GetSize() const noexcept { return m_nCount; }
    BOOL IsEmpty() const noexcept { return m_nCount == 0; }

    /// Null for an empty map.
    POSITION GetStartPosition() const noexcept {
        return m_nCount == 0 ? nullptr : BEFORE_START_POSITION;
    }

    UINT GetHashTableSize() const noexcept { return m_nHashTableSize; }
    /// Sets the number of buckets (0 raises CInvalidArgException), spreading any entries
    /// over the new table. Without bAllocNow an empty map allocates its table on first use.
    void InitHashTable(UINT hashSize, BOOL bAllocNow = 1);

protected:
    /// What every association has: its chain link and its hash.
    struct CAssocBase {
        CAssocBase* pNext;
        UINT nHashValue;
    };

    /// nBlockSize below 1 raises CInvalidArgException.
    explicit CMapBase(INT_PTR nBlockSize);
    /// Frees the table and the blocks; a derived map has destroyed its keys before.
    ~CMapBase() override;

    /// The link (a bucket's head or an association's pNext) to the association with the given
    /// hash for which match holds; null when there is none.
    template <class MATCH>
    CAssocBase** FindLink(UINT nHash, MATCH match) const;
    /// Takes the association a link points to out of its chain; the caller destroys it and
    /// calls ReleaseAssoc.
    void UnchainAssoc(CAssocBase** link) noexcept;

    /// Storage for one association of cbAssoc bytes; the table exists afterwards.
    void* AllocAssoc(std::size_t cbAssoc);
    /// Gives storage back to the free list.
    void ReleaseAssoc(void* assoc) noexcept;
    /// Chains a constructed association into the bucket of nHash.
    void ChainAssoc(CAssocBase* assoc, UINT nHash) noexcept;
    /// The association at rNextPosition; rNextPosition moves to the next one in the walk
    /// (null after the last). A null position raises CInvalidArgException.
    CAssocBase* NextAssoc(POSITION& rNextPosition) const;
    /// Forgets every association and frees the table and the blocks, keeping the table size;
    /// the keys have been destroyed.
    void FreeAssocs() noexcept;

    CAssocBase** m_pHashTable = nullptr;
    UINT m_nHashTableSize = 17;
    INT_PTR m_nCount = 0;
    CAssocBase* m_pFreeList = nullptr;
    CPlex* m_pBlocks = nullptr;
    INT_PTR m_nBlockSize;

private:
    static CAssocBase** NewHashTable(UINT hashSize);
};

/// A map from untyped pointers to untyped pointers; keys are compared as addresses.
class PLINTH_API CMapPtrToPtr : public CMapBase {
    DECLARE_DYNAMIC(CMapPtrToPtr)

public:
    explicit CMapPtrToPtr(INT_PTR nBlockSize = 10);

    BOOL Lookup(void* key, void*& rValue) const;
    /// The value of key, inserted as null when key is new.
    void*& operator[](void* key);
    void SetAt(void* key, void* newValue) { (*this)[key] = newValue; }
    BOOL RemoveKey(void* key);
    void RemoveAll() noexcept { FreeAssocs(); }

    void GetNextAssoc(POSITION& rNextPosition, void*& rKey, void*& rValue) const;

    /// Every entry as a (key, value) pair, in the order of GetNextAssoc (see MapIterator).
    using const_iterator = MapIterator<CMapPtrToPtr, void*, void*>;
    using iterator = const_iterator;
    const_iterator begin() const { return {this, true}; }
    const_iterator end() const { return {this, false}; }

private:
    /// A key and its value.
    struct CAssoc : CAssocBase {
        void* key;
        void* value;
    };

    CAssocBase** FindKey(void* key, UINT nHash) const;
};

/// A map from strings to untyped pointers; keys match exactly, case included. A null key
/// stands for the empty string.
class PLINTH_API CMapStringToPtr : public CMapBase {
    DECLARE_DYNAMIC(CMapStringToPtr)

public:
    explicit CMapStringToPtr(INT_PTR nBlockSize = 10);
    ~CMapStringToPtr() override;

    BOOL Lookup(LPCTSTR key, void*& rValue) const;
    /// The value of key, inserted as null when key is new.
    void*& operator[](LPCTSTR key);
    void SetAt(LPCTSTR key, void* newValue) { (*this)[key] = newValue; }
    BOOL RemoveKey(LPCTSTR key);
    void RemoveAll() noexcept;

    void GetNextAssoc(POSITION& rNextPosition, CString& rKey, void*& rValue) const;

    /// Every entry as a (key, value) pair, in the order of GetNextAssoc (see MapIterator).
    using const_iterator = MapIterator<CMapStringToPtr, CString, void*>;
    using iterator = const_iterator;
    const_iterator begin() const { return {this, true}; }
    const_iterator end() const { return {this, false}; }

private:
    /// A key (a copy of the text) and its value.
    struct CAssoc : CAssocBase {
        explicit CAssoc(LPCTSTR text)
            : CAssocBase{nullptr, 0}
            , key(text) {}
        CString key;
        void* value = nullptr;
    };

    CAssocBase** FindKey(LPCTSTR key, UINT nHash) const;
};

} // namespace plinth
