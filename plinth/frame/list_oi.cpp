#include "plinth/frame/list_oi.h"

#include "plinth/containers/cyclic_walk.h"
#include "plinth/platform/memory.h"

#include <memory>

namespace plinth {

namespace {

// A new list of block size 10 holding source's elements, or null for a null source.
CObList* CopyOfList(CObList* source) {
    if (source == nullptr) {
        return nullptr;
    }
    std::unique_ptr<CObList> copy(AfxNew<CObList>(10));
    copy->AddTail(source);
    return copy.release();
}

IUnknown* AddRefed(IUnknown* unknown) {
    if (unknown != nullptr) {
        unknown->AddRef();
    }
    return unknown;
}

} // namespace

ListOI::ListOI() noexcept {
    m_nRef = 0;
}

ListOI::ListOI(bool interfaces) noexcept
    : m_bInterfaces(interfaces) {
    m_nRef = 0;
}

ListOI::ListOI(bool interfaces, bool ownList)
    : m_pList(ownList ? AfxNew<CObList>(10) : nullptr)
    , m_bInterfaces(interfaces)
    , m_bOwnList(ownList) {
    m_nRef = 0;
}

ListOI::ListOI(CObList* list, GetAtFn getAt, bool interfaces) noexcept
    : m_pfnGetAt(getAt)
    , m_pList(list)
    , m_bInterfaces(interfaces) {
    m_nRef = 0;
}

ListOI::ListOI(const ListOI& other)
    : CRefObj(other)
    , m_pfnGetAt(other.m_pfnGetAt)
    , m_pList(other.m_bOwnList ? CopyOfList(other.m_pList) : other.m_pList)
    , m_bInterfaces(other.m_bInterfaces)
    , m_bOwnList(other.m_bOwnList)
    , m_pOwner(AddRefed(other.m_pOwner)) {
    m_nRef = 0;
}

ListOI::~ListOI() {
    if (m_pOwner != nullptr) {
        m_pOwner->Release();
    }
    if (m_bOwnList) {
        delete m_pList;
    }
}

void ListOI::Construct() noexcept {
    m_nRef = 0;
    m_pfnGetAt = nullptr;
    m_pList = nullptr;
    m_bInterfaces = false;
    m_bOwnList = false;
    m_pOwner = nullptr;
}

void ListOI::AttachOwner(IUnknown* owner) {
    m_pOwner = AddRefed(owner);
}

void ListOI::AddTail(void* data) {
    if (m_pList != nullptr) {
        m_pList->AddTail(static_cast<CObject*>(data));
    }
}

HRESULT ListOI::QueryInterface(REFIID iid, void** ppv) {
    if (ppv == nullptr) {
        return DISP_E_PARAMNOTOPTIONAL;
    }
    if (QueryNested(iid, ppv, m_xList, m_xIterator)) {
        return S_OK;
    }
    return ForwardQuery(m_pOwner, iid, ppv, E_NOINTERFACE);
}

CObject* ListOI::GetAtVirt(POSITION pos) const {
    if (m_pfnGetAt != nullptr) {
        return static_cast<CObject*>(m_pfnGetAt(m_pList, pos));
    }
    return m_pList != nullptr ? m_pList->GetAt(pos) : nullptr;
}

POSITION ListOI::GetStartPosition(bool head) const noexcept {
    if (m_pList == nullptr) {
        return nullptr;
    }
    return head ? m_pList->GetHeadPosition() : m_pList->GetTailPosition();
}

bool ListOI::IsValidList() const {
    return m_pList == nullptr || IsValidPtrList(*m_pList);
}

void* ListOI::Next(POSITION& pos, bool forward) const {
    if (m_pList == nullptr) {
        return nullptr;
    }
    return forward ? m_pList->GetNext(pos) : m_pList->GetPrev(pos);
}

void* ListOI::Next(POSITION& pos, bool forward, bool cyclic) const {
    return cyclic ? Walk(pos, forward) : Next(pos, forward);
}

void* ListOI::Walk(POSITION& pos, bool forward) const {
    return m_pList != nullptr ? WalkCyclic(*m_pList, pos, forward) : nullptr;
}

bool ListOI::IsNeighbourPosns(POSITION a, POSITION b) const {
    return m_pList != nullptr && IsNeighbourNode(*m_pList, a, b);
}

int ListOI::Count(POSITION from, POSITION to) const {
    return m_pList != nullptr ? CountCyclic(*m_pList, from, to) : 0;
}

void ListOI::Remove(POSITION from, POSITION to) {
    if (m_pList != nullptr) {
        RemoveForward(*m_pList, from, to);
    }
}

void ListOI::RemoveCyclic(POSITION from, POSITION to) {
    if (m_pList != nullptr) {
        RemoveCyclicRange(*m_pList, from, to);
    }
}

void ListOI::CopyCyclic(const ListOI& source, POSITION from, POSITION to) {
    if (m_pList != nullptr && source.m_pList != nullptr) {
        AppendCyclicRange(*m_pList, *source.m_pList, from, to);
    }
}

} // namespace plinth
