#include "plinth/containers/void_ptr_list.h"

namespace plinth {

RtVoidPtrList::RtVoidPtrList(bool interfaces, DeleteFn deleteFn)
    : CPtrList(10)
    , m_pfnDelete(deleteFn)
    , m_bInterfaces(interfaces) {}

RtVoidPtrList::~RtVoidPtrList() {
    if (m_pfnDelete != nullptr) {
        for (POSITION pos = GetHeadPosition(); pos != nullptr;) {
            m_pfnDelete(GetNext(pos));
        }
    }
}

ULONG RtVoidPtrList::Release() {
    if (--m_nRef != 0) {
        return m_nRef;
    }
    delete this;
    return 0;
}

HRESULT RtVoidPtrList::QueryInterface(REFIID iid, void** ppv) {
    if (ppv == nullptr) {
        return DISP_E_PARAMNOTOPTIONAL;
    }
    return QueryNested(iid, ppv, m_xList, m_xIterator) ? S_OK : NoInterface(ppv);
}

CObject* RtVoidPtrList::GetAtVirt(POSITION pos) const {
    return static_cast<CObject*>(GetAt(pos));
}

bool RtVoidPtrList::IsNeighbourPosns(POSITION a, POSITION b) const {
    if (a == nullptr || b == nullptr) {
        return false;
    }
    GetNext(a);
    return a == b;
}

void RtVoidPtrList::Remove(POSITION from, POSITION to) {
    for (POSITION pos = from; pos != nullptr;) {
        const POSITION node = pos;
        const bool last = node == to;
        GetNext(pos);
        RemoveAt(node);
        if (last) {
            break;
        }
    }
}

void RtVoidPtrList::RemoveCyclic(POSITION from, POSITION to) {
    for (POSITION pos = from; pos != nullptr && !IsEmpty();) {
        const POSITION node = pos;
        const bool last = node == to;
        WalkCyclic(*this, pos, true);
        RemoveAt(node);
        if (last) {
            break;
        }
    }
}

void RtVoidPtrList::CopyCyclic(const RtVoidPtrList& source, POSITION from, POSITION to) {
    // Gathered first: appending to the source itself would move the tail that the walk
    // wraps at.
    CPtrList picked;
    POSITION pos = from;
    for (int n = source.Count(from, to); n > 0; --n) {
        picked.AddTail(WalkCyclic(source, pos, true));
    }
    AddTail(&picked);
}

bool RtVoidPtrList::FindDuplicates(const CPtrList* list, POSITION* pair) {
    if (list == nullptr) {
        return false;
    }
    for (POSITION pos = list->GetHeadPosition(); pos != nullptr;) {
        const POSITION earlier = pos;
        const POSITION later = list->Find(list->GetNext(pos), earlier);
        if (later != nullptr) {
            if (pair != nullptr) {
                pair[0] = earlier;
                pair[1] = later;
            }
            return true;
        }
    }
    return false;
}

HRESULT RtVoidPtrList::XIterator::GetCount(LONG* count) {
    if (count == nullptr) {
        return DISP_E_PARAMNOTOPTIONAL;
    }
    *count = static_cast<LONG>(This().GetCount());
    return S_OK;
}

HRESULT RtVoidPtrList::XIterator::GetHeadPosition(POSITION* pos) {
    if (pos == nullptr) {
        return DISP_E_PARAMNOTOPTIONAL;
    }
    *pos = This().GetHeadPosition();
    return S_OK;
}

HRESULT RtVoidPtrList::XIterator::GetNext(POSITION* pos) {
    if (pos == nullptr || *pos == nullptr) {
        return DISP_E_PARAMNOTOPTIONAL;
    }
    This().GetNext(*pos);
    return S_OK;
}

HRESULT RtVoidPtrList::XIterator::GetTailPosition(POSITION* pos) {
    if (pos == nullptr) {
        return DISP_E_PARAMNOTOPTIONAL;
    }
    *pos = This().GetTailPosition();
    return S_OK;
}

HRESULT RtVoidPtrList::XIterator::GetPrev(POSITION* pos) {
    if (pos == nullptr || *pos == nullptr) {
        return DISP_E_PARAMNOTOPTIONAL;
    }
    This().GetPrev(*pos);
    return S_OK;
}

HRESULT RtVoidPtrList::XList::GetIterator(IIterator** iterator) {
    if (iterator == nullptr) {
        return DISP_E_PARAMNOTOPTIONAL;
    }
    void* found = nullptr;
    if (FAILED(This().QueryInterface(IID_IIterator, &found))) {
        return E_UNEXPECTED;
    }
    *iterator = static_cast<IIterator*>(found);
    return S_OK;
}

HRESULT RtVoidPtrList::XList::GetAt(POSITION pos, void** element) {
    if (element == nullptr) {
        return S_OK;
    }
    if (pos == nullptr) {
        return DISP_E_PARAMNOTOPTIONAL;
    }
    void* data = This().GetAtVirt(pos);
    if (This().m_bInterfaces && data != nullptr) {
        static_cast<IUnknown*>(data)->AddRef();
    }
    *element = data;
    return S_OK;
}

int glcPosnToIndexNoType(const CPtrList* list, POSITION pos) {
    if (list == nullptr || pos == nullptr) {
        return -1;
    }
    int index = 0;
    for (POSITION node = list->GetHeadPosition(); node != nullptr; ++index) {
        if (node == pos) {
            return index;
        }
        list->GetNext(node);
    }
    return -1;
}

} // namespace plinth
