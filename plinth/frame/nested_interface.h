#pragma once

#include "plinth/frame/interface_ids.h"
#include "plinth/platform/guid.h"
#include "plinth/platform/hresult.h"
#include "plinth/platform/types.h"
#include "plinth/platform/unknown.h"

#include <type_traits>

namespace plinth {

// How the library's objects offer interfaces.
//
// Each interface that a class offers is implemented by a class X<Name> nested in it (XList
// for IList) and held as a member. The nested object forwards IUnknown to the outer object,
// so that all interfaces of one object share one reference count, and the outer object's
// QueryInterface hands out the nested objects. Every interface names its identifier in a
// static member kIid.
//
// The nested object reaches its outer object through a pointer given at construction (the
// one state it has), the only well-defined way for a member of a polymorphic class to find
// the object that holds it. Nested objects are not copied: an outer copy constructor builds
// its own through the default member initializer, so each one serves the object holding it.
//
// The plain case, a reference-counted class offering IThing (kIid = IID_IThing):
//
//   class Thing : public CRefObj {
//   public:
//       class XThing : public NestedInterface<Thing, IThing> {
//       public:
//           using NestedInterface::NestedInterface;
//           HRESULT GetSize(ULONG* size) override; // IThing's own methods reach This()
//       };
//
//       // Null ppv, IThing or IUnknown, IID_ImplObject, anything else: see below.
//       HRESULT QueryInterface(REFIID iid, void** ppv) override {
//           return QueryOuterInterface(this, iid, ppv, m_xThing);
//       }
//
//   private:
//       XThing m_xThing{this};
//   };
//
// A class that differs states only how:
// - a nested object that answers its own identifier and IUnknown itself overrides
//   QueryInterface with `return QuerySelfFirst(iid, ppv);`;
// - an outer object with other rules composes QueryNested, QueryUnknown and NoInterface;
// - an outer object with a count of its own gives AddRef and Release of its own (the nested
//   objects call whatever the outer class declares).
// - an outer object that passes unknown identifiers to an attached owner ends its query with
//   ForwardQuery(owner, iid, ppv, E_NOINTERFACE) instead of NoInterface;
// - a nested object that fronts an interface of another object (an adapter over a foreign
//   interface) answers only its own identifier and sends the rest, IUnknown included, on
//   with `return QuerySelfThen(iid, ppv, wrapped);`; its outer object keeps the count;
// - an aggregated object (an adapter that lives inside another) counts on its outer
//   IUnknown while one is attached, holding no reference on it, and on its own count
//   otherwise; its AddRef and Release say so;
// - an outer object that never hands itself out (IID_ImplObject is as unknown to it as any
//   other identifier) returns `QueryWithoutIdentity(iid, ppv, m_xThing)`.
//
// Threads: one object is used by one thread at a time; distinct objects are independent.

/// Gives itf out through ppv with one reference added.
template <class Itf>
void HandOutInterface(Itf* itf, void** ppv) {
    *ppv = itf;
    itf->AddRef();
}

/// Stores null and returns E_NOINTERFACE: the end of every unanswered query.
inline HRESULT NoInterface(void** ppv) noexcept {
    *ppv = nullptr;
    return E_NOINTERFACE;
}

/// Passes a query on to next: its answer, or null and `without` when next is null. ppv must
/// not be null.
inline HRESULT ForwardQuery(IUnknown* next, REFIID iid, void** ppv, HRESULT without) {
    if (next == nullptr) {
        *ppv = nullptr;
        return without;
    }
    return next->QueryInterface(iid, ppv);
}

/// When iid is the identifier of one of the nested objects' interfaces, hands out the first
/// such object and returns true. ppv must not be null.
template <class... Nested>
bool QueryNested(REFIID iid, void** ppv, Nested&... nested) {
    const auto offer = [&iid, ppv](auto& x) {
        using Itf = typename std::remove_reference_t<decltype(x)>::Interface;
        if (!IsEqualIID(iid, Itf::kIid)) {
            return false;
        }
        HandOutInterface(static_cast<Itf*>(&x), ppv);
        return true;
    };
    return (offer(nested) || ...);
}

/// When iid is IID_IUnknown, hands out the nested object and returns true. ppv must not be
/// null.
template <class Nested>
bool QueryUnknown(REFIID iid, void** ppv, Nested& nested) {
    if (!IsEqualIID(iid, IID_IUnknown)) {
        return false;
    }
    HandOutInterface(static_cast<IUnknown*>(&nested), ppv);
    return true;
}

/// The outer QueryInterface of an object that answers only for its nested objects: steps 1,
/// 2 and 4 of QueryOuterInterface, so IID_ImplObject gives null and E_NOINTERFACE.
template <class First, class... Rest>
HRESULT QueryWithoutIdentity(REFIID iid, void** ppv, First& first, Rest&... rest) {
    if (ppv == nullptr) {
        return DISP_E_PARAMNOTOPTIONAL;
    }
    if (QueryNested(iid, ppv, first, rest...) || QueryUnknown(iid, ppv, first)) {
        return S_OK;
    }
    return NoInterface(ppv);
}

/// The outer QueryInterface of the plain pattern:
/// 1. a null ppv gives DISP_E_PARAMNOTOPTIONAL;
/// 2. the interface of a nested object, or IUnknown (answered by the first), gives that
///    object with one reference added and S_OK;
/// 3. IID_ImplObject gives the outer object itself, as an Outer*, with no reference added;
/// 4. anything else gives null and E_NOINTERFACE.
template <class Outer, class First, class... Rest>
HRESULT QueryOuterInterface(Outer* outer, REFIID iid, void** ppv, First& first, Rest&... rest) {
    // No nested object answers IID_ImplObject, so asking for it first changes nothing else.
    if (ppv != nullptr && IsEqualIID(iid, IID_ImplObject)) {
        *ppv = outer;
        return S_OK;
    }
    return QueryWithoutIdentity(iid, ppv, first, rest...);
}

/// Base of a nested interface object X<Name>: implements Itf's IUnknown methods by calling
/// the outer object's QueryInterface, AddRef and Release.
template <class Outer, class Itf>
class NestedInterface : public Itf {
public:
    using Interface = Itf;

    explicit NestedInterface(Outer* outer) noexcept
        : m_pOuter(outer) {}
    NestedInterface(const NestedInterface&) = delete;
    /// Assigning outer objects leaves each nested object serving its own.
    NestedInterface& operator=(const NestedInterface& /*other*/) noexcept { return *this; }

    HRESULT QueryInterface(REFIID iid, void** ppv) override {
        return m_pOuter->QueryInterface(iid, ppv);
    }
    ULONG AddRef() override { return m_pOuter->AddRef(); }
    ULONG Release() override { return m_pOuter->Release(); }

protected:
    ~NestedInterface() = default;

    Outer& This() const noexcept { return *m_pOuter; }

    /// For a nested object that answers Itf and IUnknown itself: a null ppv gives
    /// DISP_E_PARAMNOTOPTIONAL, Itf or IUnknown give this object with one reference added,
    /// anything else goes to the outer object.
    HRESULT QuerySelfFirst(REFIID iid, void** ppv) {
        if (ppv == nullptr) {
            return DISP_E_PARAMNOTOPTIONAL;
        }
        if (QueryNested(iid, ppv, *this) || QueryUnknown(iid, ppv, *this)) {
            return S_OK;
        }
        return m_pOuter->QueryInterface(iid, ppv);
    }

    /// For a nested object that fronts next: a null ppv gives DISP_E_PARAMNOTOPTIONAL; with
    /// no next, null and E_UNEXPECTED for every identifier; Itf gives this object with one
    /// reference added; anything else (IUnknown included) is next's answer.
    HRESULT QuerySelfThen(REFIID iid, void** ppv, IUnknown* next) {
        if (ppv == nullptr) {
            return DISP_E_PARAMNOTOPTIONAL;
        }
        if (next != nullptr && QueryNested(iid, ppv, *this)) {
            return S_OK;
        }
        return ForwardQuery(next, iid, ppv, E_UNEXPECTED);
    }

private:
    Outer* m_pOuter;
};

} // namespace plinth
