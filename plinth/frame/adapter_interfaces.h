#pragma once

#include "plinth/frame/interface_ids.h"
#include "plinth/platform/export.h"
#include "plinth/platform/guid.h"
#include "plinth/platform/hresult.h"
#include "plinth/platform/types.h"
#include "plinth/platform/unknown.h"
#include "plinth/platform/variant.h"

namespace plinth {

// The interfaces that the library's adapters offer (IArray2, IRange) or wrap (IArray).
// Threads: an interface belongs to the thread that uses its object.

/// Success status of a method that did nothing: it is not implemented, or a read-only object
/// refused the change. It passes as success where only the sign is tested.
inline constexpr HRESULT S_NOTHINGDONE = 120;

/// An array of interfaces that another module implements. The library only calls it (from
/// Array2OI); what the indexes mean is the implementing module's affair, and it has no
/// identifier of its own here.
struct PLINTH_API IArray : IUnknown {
    virtual HRESULT GetCount(LONG* count) = 0;
    /// The item at index, with a reference that the caller releases.
    virtual HRESULT GetAt(LONG index, IUnknown** item) = 0;
    virtual HRESULT SetAt(LONG index, IUnknown* item) = 0;
    virtual HRESULT RemoveAt(LONG index) = 0;
    virtual HRESULT Add(IUnknown* item) = 0;
    virtual HRESULT InsertAt(IUnknown* item, LONG index) = 0;
    virtual HRESULT RemoveAll() = 0;

protected:
    ~IArray() = default;
};

/// An array of interfaces whose items travel as variants of type VT_UNKNOWN. A null or
/// mistyped variant gives DISP_E_PARAMNOTOPTIONAL; an object with no array behind it gives
/// E_UNEXPECTED.
struct PLINTH_API IArray2 : IUnknown {
    static constexpr const IID& kIid = IID_IArray2;

    virtual HRESULT GetCount(LONG* count) = 0;
    /// item becomes a VT_UNKNOWN variant holding the item's reference (what item held before
    /// is overwritten, not cleared); E_UNEXPECTED when the array fails.
    virtual HRESULT GetAt(LONG index, VARIANT* item) = 0;
    /// item must be exactly VT_UNKNOWN.
    virtual HRESULT SetAt(LONG index, VARIANT* item) = 0;
    virtual HRESULT RemoveAt(LONG index) = 0;
    /// item may also be held by reference (VT_BYREF).
    virtual HRESULT Add(VARIANT* item) = 0;
    /// item must be exactly VT_UNKNOWN.
    virtual HRESULT InsertAt(VARIANT* item, LONG index) = 0;
    /// Not offered: S_NOTHINGDONE.
    virtual HRESULT Move(LONG from, LONG to) = 0;
    /// Not offered: S_NOTHINGDONE.
    virtual HRESULT SetSize(LONG size) = 0;
    /// SetAt in property form.
    virtual HRESULT PutItem(LONG index, VARIANT* item) = 0;
    virtual HRESULT RemoveAll() = 0;

protected:
    ~IArray2() = default;
};

/// An interval of the real line or an arc of the circle, read and set by its two ends.
/// A null out-pointer gives DISP_E_PARAMNOTOPTIONAL, an object with no interval behind it
/// E_UNEXPECTED.
struct PLINTH_API IRange : IUnknown {
    static constexpr const IID& kIid = IID_IRange;

    virtual HRESULT GetStart(double* start) = 0;
    virtual HRESULT GetEnd(double* end) = 0;
    /// Sets both ends; S_NOTHINGDONE when the object is read-only.
    virtual HRESULT Set(double start, double end) = 0;

protected:
    ~IRange() = default;
};

} // namespace plinth
