#include "plinth/platform/ptr_list.h"

namespace plinth {

IMPLEMENT_DYNAMIC(CPtrList, CObject)

CPtrList::CPtrList(INT_PTR nBlockSize)
    : CList(nBlockSize) {}

IMPLEMENT_DYNAMIC(CObList, CObject)

CObList::CObList(INT_PTR nBlockSize)
    : CList(nBlockSize) {}

} // namespace plinth
