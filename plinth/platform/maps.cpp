#include "plinth/platform/maps.h"

#include "plinth/platform/memory.h"

#include <algorithm>
#include <cstdint>
#include <new>

namespace plinth {

namespace {

UINT HashKey(const void* key) noexcept {
    // Allocations are aligned, so the low bits carry little; fold in the high half.
    const auto bits = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(key));
    return static_cast<UINT>((bits >> 4) ^ (bits >> 36));
}

// 32-bit FNV-1a over the characters.
UINT HashKey(LPCTSTR key) noexcept {
    UINT hash = 2166136261U;
    for (; *key != '\0'; ++key) {
        hash = (hash ^ static_cast<unsigned char>(*key)) * 16777619U;
    }
    return hash;
}

LPCTSTR Text(LPCTSTR key) noexcept {
    return key == nullptr ? "" : key;
}

} // namespace

// --- CMapBase ---

CMapBase::CMapBase(INT_PTR nBlockSize)
    : m_nBlockSize(nBlockSize) {
    if (nBlockSize < 1) {
        AfxThrowInvalidArgException();
    }
}

CMapBase::~CMapBase() {
    FreeAssocs();
}

CMapBase::CAssocBase** CMapBase::NewHashTable(UINT hashSize) {
    CAssocBase** table = AfxAllocator<CAssocBase*>().allocate(hashSize);
    std::fill_n(table, hashSize, nullptr);
    return table;
}

void CMapBase::InitHashTable(UINT hashSize, BOOL bAllocNow) {
    if (hashSize == 0) {
        AfxThrowInvalidArgException();
    }
    CAssocBase** table = bAllocNow || m_nCount > 0 ? NewHashTable(hashSize) : nullptr;
    if (m_pHashTable != nullptr) {
        for (UINT bucket = 0; bucket < m_nHashTableSize; ++bucket) {
            for (CAssocBase* assoc = m_pHashTable[bucket]; assoc != nullptr;) {
                CAssocBase* next = assoc->pNext;
                CAssocBase*& head = table[assoc->nHashValue % hashSize];
                assoc->pNext = head;
                head = assoc;
                assoc = next;
            }
        }
        AfxAllocator<CAssocBase*>().deallocate(m_pHashTable, m_nHashTableSize);
    }
    m_pHashTable = table;
    m_nHashTableSize = hashSize;
}

void* CMapBase::AllocAssoc(std::size_t cbAssoc) {
    if (m_pHashTable == nullptr) {
        m_pHashTable = NewHashTable(m_nHashTableSize);
    }
    if (m_pFreeList == nullptr) {
        CPlex::Refill(m_pBlocks, static_cast<std::size_t>(m_nBlockSize), cbAssoc, m_pFreeList);
    }
    CAssocBase* assoc = m_pFreeList;
    m_pFreeList = assoc->pNext;
    return assoc;
}

void CMapBase::ReleaseAssoc(void* assoc) noexcept {
    m_pFreeList = ::new (assoc) CAssocBase{m_pFreeList, 0};
}

void CMapBase::ChainAssoc(CAssocBase* assoc, UINT nHash) noexcept {
    CAssocBase*& head = m_pHashTable[nHash % m_nHashTableSize];
    assoc->nHashValue = nHash;
    assoc->pNext = head;
    head = assoc;
    ++m_nCount;
}

template <class MATCH>
CMapBase::CAssocBase** CMapBase::FindLink(UINT nHash, MATCH match) const {
    if (m_pHashTable == nullptr) {
        return nullptr;
    }
    for (CAssocBase** link = &m_pHashTable[nHash % m_nHashTableSize]; *link != nullptr;
         link = &(*link)->pNext) {
        if ((*link)->nHashValue == nHash && match(*link)) {
            return link;
        }
    }
    return nullptr;
}

void CMapBase::UnchainAssoc(CAssocBase** link) noexcept {
    *link = (*link)->pNext;
    --m_nCount;
}

CMapBase::CAssocBase* CMapBase::NextAssoc(POSITION& rNextPosition) const {
    if (rNextPosition == nullptr || m_pHashTable == nullptr) {
        AfxThrowInvalidArgException();
    }
    CAssocBase* assoc = nullptr;
    UINT bucket = 0;
    if (rNextPosition == BEFORE_START_POSITION) {
        for (; assoc == nullptr && bucket < m_nHashTableSize; ++bucket) {
            assoc = m_pHashTable[bucket];
        }
        if (assoc == nullptr) {
            AfxThrowInvalidArgException();
        }
    } else {
        assoc = reinterpret_cast<CAssocBase*>(rNextPosition);
        bucket = assoc->nHashValue % m_nHashTableSize + 1;
    }
    CAssocBase* next = assoc->pNext;
    for (; next == nullptr && bucket < m_nHashTableSize; ++bucket) {
        next = m_pHashTable[bucket];
    }
    rNextPosition = reinterpret_cast<POSITION>(next);
    return assoc;
}

void CMapBase::FreeAssocs() noexcept {
    AfxAllocator<CAssocBase*>().deallocate(m_pHashTable, m_nHashTableSize);
    if (m_pBlocks != nullptr) {
        m_pBlocks->FreeDataChain();
    }
    m_pHashTable = nullptr;
    m_nCount = 0;
    m_pFreeList = nullptr;
    m_pBlocks = nullptr;
}

// --- CMapPtrToPtr ---

IMPLEMENT_DYNAMIC(CMapPtrToPtr, CObject)

CMapPtrToPtr::CMapPtrToPtr(INT_PTR nBlockSize)
    : CMapBase(nBlockSize) {}

CMapBase::CAssocBase** CMapPtrToPtr::FindKey(void* key, UINT nHash) const {
    return FindLink(nHash, [key](const CAssocBase* assoc) {
        return static_cast<const CAssoc*>(assoc)->key == key;
    });
}

BOOL CMapPtrToPtr::Lookup(void* key, void*& rValue) const {
    CAssocBase** link = FindKey(key, HashKey(key));
    if (link == nullptr) {
        return 0;
    }
    rValue = static_cast<const CAssoc*>(*link)->value;
    return 1;
}

void*& CMapPtrToPtr::operator[](void* key) {
    const UINT nHash = HashKey(key);
    if (CAssocBase** link = FindKey(key, nHash)) {
        return static_cast<CAssoc*>(*link)->value;
    }
    auto* assoc = ::new (AllocAssoc(sizeof(CAssoc))) CAssoc{{nullptr, 0}, key, nullptr};
    ChainAssoc(assoc, nHash);
    return assoc->value;
}

BOOL CMapPtrToPtr::RemoveKey(void* key) {
    CAssocBase** link = FindKey(key, HashKey(key));
    if (link == nullptr) {
        return 0;
    }
    CAssocBase* assoc = *link;
    UnchainAssoc(link);
    ReleaseAssoc(assoc);
    return 1;
}

void CMapPtrToPtr::GetNextAssoc(POSITION& rNextPosition, void*& rKey, void*& rValue) const {
    const auto* assoc = static_cast<const CAssoc*>(NextAssoc(rNextPosition));
    rKey = assoc->key;
    rValue = assoc->value;
}

// --- CMapStringToPtr ---

IMPLEMENT_DYNAMIC(CMapStringToPtr, CObject)

CMapStringToPtr::CMapStringToPtr(INT_PTR nBlockSize)
    : CMapBase(nBlockSize) {}

CMapStringToPtr::~CMapStringToPtr() {
    RemoveAll();
}

CMapBase::CAssocBase** CMapStringToPtr::FindKey(LPCTSTR key, UINT nHash) const {
    return FindLink(nHash, [key](const CAssocBase* assoc) {
        return static_cast<const CAssoc*>(assoc)->key == key;
    });
}

BOOL CMapStringToPtr::Lookup(LPCTSTR key, void*& rValue) const {
    key = Text(key);
    CAssocBase** link = FindKey(key, HashKey(key));
    if (link == nullptr) {
        return 0;
    }
    rValue = static_cast<const CAssoc*>(*link)->value;
    return 1;
}

void*& CMapStringToPtr::operator[](LPCTSTR key) {
    key = Text(key);
    const UINT nHash = HashKey(key);
    if (CAssocBase** link = FindKey(key, nHash)) {
        return static_cast<CAssoc*>(*link)->value;
    }
    void* storage = AllocAssoc(sizeof(CAssoc));
    CAssoc* assoc;
    try {
        assoc = ::new (storage) CAssoc(key);
    } catch (...) {
        ReleaseAssoc(storage);
        throw;
    }
    ChainAssoc(assoc, nHash);
    return assoc->value;
}

BOOL CMapStringToPtr::RemoveKey(LPCTSTR key) {
    key = Text(key);
    CAssocBase** link = FindKey(key, HashKey(key));
    if (link == nullptr) {
        return 0;
    }
    auto* assoc = static_cast<CAssoc*>(*link);
    UnchainAssoc(link);
    assoc->~CAssoc();
    ReleaseAssoc(assoc);
    return 1;
}

void CMapStringToPtr::RemoveAll() noexcept {
    for (POSITION pos = GetStartPosition(); pos != nullptr;) {
        static_cast<CAssoc*>(NextAssoc(pos))->~CAssoc();
    }
    FreeAssocs();
}

void CMapStringToPtr::GetNextAssoc(POSITION& rNextPosition, CString& rKey, void*& rValue) const {
    const auto* assoc = static_cast<const CAssoc*>(NextAssoc(rNextPosition));
    rKey = assoc->key;
    rValue = assoc->value;
}

} // namespace plinth
