#include "plinth/frame/array2_oi.h"

#include "plinth/platform/exceptions.h"
#include "plinth/platform/memory.h"

namespace plinth {

namespace {

// The interface held by an exact VT_UNKNOWN variant; false for a null or other variant.
bool UnknownOf(const VARIANT* item, IUnknown*& unknown) noexcept {
    if (item == nullptr || item->vt != VT_UNKNOWN) {
        return false;
    }
    unknown = item->punkVal;
    return true;
}

// Gives n references from `from` to `to` (either may be null).
void MoveReferences(ULONG n, IArray* from, IArray* to) {
    for (; n > 0; --n) {
        if (to != nullptr) {
            to->AddRef();
        }
        if (from != nullptr) {
            from->Release();
        }
    }
}

} // namespace

Array2OI& Array2OI::operator=(const Array2OI& other) {
    if (this != &other) {
        MoveReferences(m_nRef, m_pArray, other.m_pArray);
        m_pArray = other.m_pArray;
    }
    return *this;
}

Array2OI::~Array2OI() = default;

HRESULT Array2OI::Create(IArray* array, void** ppv) {
    if (array == nullptr || ppv == nullptr) {
        return DISP_E_PARAMNOTOPTIONAL;
    }
    Array2OI* adapter = nullptr;
    try {
        adapter = AfxNew<Array2OI>(array);
    } catch (const CMemoryException&) {
        *ppv = nullptr;
        return E_OUTOFMEMORY;
    }
    return adapter->QueryInterface(IID_IArray2, ppv);
}

ULONG Array2OI::AddRef() {
    ++m_nRef;
    return m_pArray != nullptr ? m_pArray->AddRef() : 1;
}

ULONG Array2OI::Release() {
    if (m_nRef == 0) {
        return 0;
    }
    const ULONG result = m_pArray != nullptr ? m_pArray->Release() : 1;
    if (--m_nRef == 0) {
        delete this;
    }
    return result;
}

// ---- IArray2

HRESULT Array2OI::XArray2::GetCount(LONG* count) {
    IArray* array = This().m_pArray;
    return array != nullptr ? array->GetCount(count) : E_UNEXPECTED;
}

HRESULT Array2OI::XArray2::GetAt(LONG index, VARIANT* item) {
    IArray* array = This().m_pArray;
    if (array == nullptr) {
        return E_UNEXPECTED;
    }
    if (item == nullptr) {
        return DISP_E_PARAMNOTOPTIONAL;
    }
    IUnknown* unknown = nullptr;
    if (FAILED(array->GetAt(index, &unknown))) {
        return E_UNEXPECTED;
    }
    item->vt = VT_UNKNOWN;
    item->punkVal = unknown;
    return S_OK;
}

HRESULT Array2OI::XArray2::SetAt(LONG index, VARIANT* item) {
    IArray* array = This().m_pArray;
    if (array == nullptr) {
        return E_UNEXPECTED;
    }
    IUnknown* unknown = nullptr;
    return UnknownOf(item, unknown) ? array->SetAt(index, unknown) : DISP_E_PARAMNOTOPTIONAL;
}

HRESULT Array2OI::XArray2::RemoveAt(LONG index) {
    IArray* array = This().m_pArray;
    return array != nullptr ? array->RemoveAt(index) : E_UNEXPECTED;
}

HRESULT Array2OI::XArray2::Add(VARIANT* item) {
    IArray* array = This().m_pArray;
    if (array == nullptr) {
        return E_UNEXPECTED;
    }
    // Any tag sharing a bit with VT_UNKNOWN's low byte passes, as callers have long relied on.
    if (item == nullptr || (item->vt & 0xFF & VT_UNKNOWN) == 0) {
        return DISP_E_PARAMNOTOPTIONAL;
    }
    if ((item->vt & VT_BYREF) == 0) {
        return array->Add(item->punkVal);
    }
    return item->ppunkVal != nullptr ? array->Add(*item->ppunkVal) : DISP_E_PARAMNOTOPTIONAL;
}

HRESULT Array2OI::XArray2::InsertAt(VARIANT* item, LONG index) {
    IArray* array = This().m_pArray;
    if (array == nullptr) {
        return E_UNEXPECTED;
    }
    IUnknown* unknown = nullptr;
    return UnknownOf(item, unknown) ? array->InsertAt(unknown, index) : DISP_E_PARAMNOTOPTIONAL;
}

HRESULT Array2OI::XArray2::Move(LONG /*from*/, LONG /*to*/) {
    return S_NOTHINGDONE;
}

HRESULT Array2OI::XArray2::SetSize(LONG /*size*/) {
    return S_NOTHINGDONE;
}

HRESULT Array2OI::XArray2::RemoveAll() {
    IArray* array = This().m_pArray;
    return array != nullptr ? array->RemoveAll() : E_UNEXPECTED;
}

} // namespace plinth
