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
