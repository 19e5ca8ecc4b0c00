#pragma once

#include "plinth/frame/adapter_interfaces.h"
#include "plinth/frame/nested_interface.h"
#include "plinth/platform/export.h"
#include "plinth/platform/guid.h"
#include "plinth/platform/hresult.h"
#include "plinth/platform/types.h"

namespace plinth {

/// IArray2 over an IArray that another module implements: items travel as VT_UNKNOWN
/// variants and go on to the array as plain interface pointers.
///
/// The count follows the wrapped array: the adapter holds one reference on the array for each
/// reference to itself. Each AddRef adds one to the adapter's own count (0 at first) and one
/// to the array's; each Release takes one off both, and the one that brings the adapter's
/// count to 0 deletes the adapter, so an adapter handed out must be made with new (Create
/// does). Both return the array's count (1 without an array). The destructor releases nothing:
/// at count 0 the adapter holds no reference. A Release with the count already at 0 does
/// nothing and returns 0.
///
/// QueryInterface answers IArray2 itself and passes every other identifier, IUnknown
/// included, to the array: the array is this object's identity. Without an array every
/// method but Move and SetSize, QueryInterface included, gives E_UNEXPECTED.
///
/// Copies keep the invariant: a copy wraps the same array with count 0 (it has no references
/// yet); assignment moves the references that this adapter holds from its old array to the
/// new one, so that each later Release gives back a reference that was taken.
/// Threads: one object is used by one thread at a time; distinct objects are independent.
class PLINTH_API Array2OI {
public:
    /// IArray2, passed on to the wrapped array.
    class PLINTH_API XArray2 : public NestedInterface<Array2OI, IArray2> {
    public:
        using NestedInterface::NestedInterface;
        HRESULT QueryInterface(REFIID iid, void** ppv) override {
            return QuerySelfThen(iid, ppv, This().m_pArray);
        }
        HRESULT GetCount(LONG* count) override;
        HRESULT GetAt(LONG index, VARIANT* item) override;
        HRESULT SetAt(LONG index, VARIANT* item) override;
        HRESULT RemoveAt(LONG index) override;
        HRESULT Add(VARIANT* item) override;
        HRESULT InsertAt(VARIANT* item, LONG index) override;
        HRESULT Move(LONG from, LONG to) override;
        HRESULT SetSize(LONG size) override;
        HRESULT PutItem(LONG index, VARIANT* item) override { return SetAt(index, item); }
        HRESULT RemoveAll() override;
    };

    // ---- Construction

    Array2OI() noexcept = default;
    /// Wraps array; no reference is taken until the adapter's own AddRef.
    explicit Array2OI(IArray* array) noexcept
        : m_pArray(array) {}
    Array2OI(const Array2OI& other) noexcept
        : m_pArray(other.m_pArray) {}
    Array2OI& operator=(const Array2OI& other);
    virtual ~Array2OI();

    /// A new adapter over array, handed out as IArray2 through ppv with one reference (and
    /// one on array). DISP_E_PARAMNOTOPTIONAL for a null array or ppv, E_OUTOFMEMORY when the
    /// adapter cannot be made; nothing is created then.
    static HRESULT Create(IArray* array, void** ppv);

    // ---- Counting and identity

    HRESULT QueryInterface(REFIID iid, void** ppv) { return m_xArray2.QueryInterface(iid, ppv); }
    ULONG AddRef();
    ULONG Release();
    ULONG GetRef() const noexcept { return m_nRef; }
    IArray* GetArray() const noexcept { return m_pArray; }

private:
    XArray2 m_xArray2{this};
    IArray* m_pArray = nullptr;
    ULONG m_nRef = 0;
};

} // namespace plinth
