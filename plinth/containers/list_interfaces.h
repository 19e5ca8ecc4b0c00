#pragma once

#include "plinth/frame/interface_ids.h"
#include "plinth/platform/export.h"
#include "plinth/platform/guid.h"
#include "plinth/platform/hresult.h"
#include "plinth/platform/types.h"
#include "plinth/platform/unknown.h"

namespace plinth {

// Walking a list by position. Each method returns DISP_E_PARAMNOTOPTIONAL for a null
// pointer argument (GetNext and GetPrev also for a null position), else S_OK.
// Threads: one object is used by one thread at a time; distinct objects are independent.
struct PLINTH_API IIterator : IUnknown {
    static constexpr const IID& kIid = IID_IIterator;

    virtual HRESULT GetCount(LONG* count) = 0;
    virtual HRESULT GetHeadPosition(POSITION* pos) = 0;
    // Moves *pos to the next node; null after the tail.
    virtual HRESULT GetNext(POSITION* pos) = 0;
    virtual HRESULT GetTailPosition(POSITION* pos) = 0;
    // Moves *pos to the previous node; null before the head.
    virtual HRESULT GetPrev(POSITION* pos) = 0;

protected:
    ~IIterator() = default;
};

// A list of elements reached by position.
struct PLINTH_API IList : IUnknown {
    static constexpr const IID& kIid = IID_IList;

    // The list's IIterator; DISP_E_PARAMNOTOPTIONAL for a null iterator, E_UNEXPECTED when the
    // list offers none.
    virtual HRESULT GetIterator(IIterator** iterator) = 0;
    // The element at pos: S_OK with nothing done for a null element pointer,
    // DISP_E_PARAMNOTOPTIONAL for a null position. When the list holds interfaces, the
    // element comes with a reference that the caller releases.
    virtual HRESULT GetAt(POSITION pos, void** element) = 0;

protected:
    ~IList() = default;
};

} // namespace plinth
