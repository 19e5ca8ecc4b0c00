#pragma once

#include "plinth/frame/interface_ids.h"
#include "plinth/frame/nested_interface.h"
#include "plinth/platform/export.h"
#include "plinth/platform/guid.h"
#include "plinth/platform/hresult.h"
#include "plinth/platform/types.h"
#include "plinth/platform/unknown.h"

namespace plinth {

/// Walking a list by position. Each method returns DISP_E_PARAMNOTOPTIONAL for a null
/// pointer argument (GetNext and GetPrev also for a null position), else S_OK.
/// Threads: one object is used by one thread at a time; distinct objects are independent.
struct PLINTH_API IIterator : IUnknown {
    static constexpr const IID& kIid = IID_IIterator;

    virtual HRESULT GetCount(LONG* count) = 0;
    virtual HRESULT GetHeadPosition(POSITION* pos) = 0;
    /// Moves *pos to the next node; null after the tail.
    virtual HRESULT GetNext(POSITION* pos) = 0;
    virtual HRESULT GetTailPosition(POSITION* pos) = 0;
    /// Moves *pos to the previous node; null before the head.
    virtual HRESULT GetPrev(POSITION* pos) = 0;

protected:
    ~IIterator() = default;
};

/// A list of elements reached by position.
struct PLINTH_API IList : IUnknown {
    static constexpr const IID& kIid = IID_IList;

    /// The list's IIterator; DISP_E_PARAMNOTOPTIONAL for a null iterator, E_UNEXPECTED when the
    /// list offers none.
    virtual HRESULT GetIterator(IIterator** iterator) = 0;
    /// The element at pos: S_OK with nothing done for a null element pointer,
    /// DISP_E_PARAMNOTOPTIONAL for a null position. When the list holds interfaces, the
    /// element comes with a reference that the caller releases.
    virtual HRESULT GetAt(POSITION pos, void** element) = 0;

protected:
    ~IList() = default;
};

// The nested IIterator and IList objects of the library's lists (the pattern of
// nested_interface.h); each answers its own identifier and IUnknown itself. Outer gives:
// - IteratedList(): the list walked, as a const pointer; null when there is none, and then
//   every method gives E_UNEXPECTED after its argument tests;
// - GetAtVirt(POSITION): the element handed out at a position;
// - HandsOutInterfaces(): the elements are interfaces, which IList adds a reference to.

template <class Outer>
/// IIterator over the outer object's list, as the hooks above describe it.
class NestedIterator : public NestedInterface<Outer, IIterator> {
public:
    using NestedInterface<Outer, IIterator>::NestedInterface;

    HRESULT QueryInterface(REFIID iid, void** ppv) override {
        return this->QuerySelfFirst(iid, ppv);
    }
    HRESULT GetCount(LONG* count) override {
        return WithList(count,
                        [count](const auto& list) { *count = static_cast<LONG>(list.GetCount()); });
    }
    HRESULT GetHeadPosition(POSITION* pos) override {
        return WithList(pos, [pos](const auto& list) { *pos = list.GetHeadPosition(); });
    }
    HRESULT GetNext(POSITION* pos) override {
        return WithList(pos == nullptr ? nullptr : *pos,
                        [pos](const auto& list) { list.GetNext(*pos); });
    }
    HRESULT GetTailPosition(POSITION* pos) override {
        return WithList(pos, [pos](const auto& list) { *pos = list.GetTailPosition(); });
    }
    HRESULT GetPrev(POSITION* pos) override {
        return WithList(pos == nullptr ? nullptr : *pos,
                        [pos](const auto& list) { list.GetPrev(*pos); });
    }

private:
    /// DISP_E_PARAMNOTOPTIONAL for a null argument, E_UNEXPECTED without a list; else does
    /// the step on the list and gives S_OK.
    template <class Step>
    HRESULT WithList(const void* argument, Step step) {
        if (argument == nullptr) {
            return DISP_E_PARAMNOTOPTIONAL;
        }
        const auto* list = this->This().IteratedList();
        if (list == nullptr) {
            return E_UNEXPECTED;
        }
        step(*list);
        return S_OK;
    }
};

template <class Outer>
/// IList over the outer object's list, as the hooks above describe it.
class NestedList : public NestedInterface<Outer, IList> {
public:
    using NestedInterface<Outer, IList>::NestedInterface;

    HRESULT QueryInterface(REFIID iid, void** ppv) override {
        return this->QuerySelfFirst(iid, ppv);
    }
    HRESULT GetIterator(IIterator** iterator) override {
        if (iterator == nullptr) {
            return DISP_E_PARAMNOTOPTIONAL;
        }
        void* found = nullptr;
        if (FAILED(this->This().QueryInterface(IID_IIterator, &found))) {
            return E_UNEXPECTED;
        }
        *iterator = static_cast<IIterator*>(found);
        return S_OK;
    }
    HRESULT GetAt(POSITION pos, void** element) override {
        if (element == nullptr) {
            return S_OK;
        }
        if (pos == nullptr) {
            return DISP_E_PARAMNOTOPTIONAL;
        }
        Outer& outer = this->This();
        if (outer.IteratedList() == nullptr) {
            return E_UNEXPECTED;
        }
        void* data = outer.GetAtVirt(pos);
        if (outer.HandsOutInterfaces() && data != nullptr) {
            static_cast<IUnknown*>(data)->AddRef();
        }
        *element = data;
        return S_OK;
    }
};

} // namespace plinth
