#include "plinth/platform/safearray.h"

#include "plinth/platform/bstr.h"
#include "plinth/platform/unknown.h"
#include "plinth/platform/variant.h"

#include <cstring>
#include <new>

namespace plinth {

namespace {

constexpr ULONG kMaxLocks = 0xFFFF;

// Size of one element of type vt, with the ownership flag it gives the array; 0 when the
// type cannot be an element.
ULONG elementSize(VARTYPE vt, USHORT& features) noexcept {
    features = 0;
    switch (vt) {
    case VT_I1:
    case VT_UI1:
        return 1;
    case VT_I2:
    case VT_UI2:
    case VT_BOOL:
        return 2;
    case VT_I4:
    case VT_UI4:
    case VT_INT:
    case VT_UINT:
    case VT_R4:
    case VT_ERROR:
        return 4;
    case VT_I8:
    case VT_UI8:
    case VT_R8:
    case VT_CY:
    case VT_DATE:
        return 8;
    case VT_BSTR:
        features = FADF_BSTR;
        return sizeof(BSTR);
    case VT_UNKNOWN:
        features = FADF_UNKNOWN;
        return sizeof(IUnknown*);
    case VT_DISPATCH:
        features = FADF_DISPATCH;
        return sizeof(IUnknown*);
    case VT_VARIANT:
        features = FADF_VARIANT;
        return sizeof(VARIANT);
    default:
        return 0;
    }
}

// The descriptor keeps its bounds beyond the declared single one.
SAFEARRAYBOUND* boundsOf(SAFEARRAY* psa) noexcept {
    return psa->rgsabound;
}
const SAFEARRAYBOUND* boundsOf(const SAFEARRAY* psa) noexcept {
    return psa->rgsabound;
}

std::size_t elementCount(const SAFEARRAY* psa) noexcept {
    std::size_t count = 1;
    for (UINT i = 0; i < psa->cDims; ++i) {
        count *= boundsOf(psa)[i].cElements;
    }
    return count;
}

void releaseElements(SAFEARRAY* psa) {
    const std::size_t count = psa->pvData == nullptr ? 0 : elementCount(psa);
    if ((psa->fFeatures & FADF_BSTR) != 0) {
        auto* strings = static_cast<BSTR*>(psa->pvData);
        for (std::size_t i = 0; i < count; ++i) {
            SysFreeString(strings[i]);
        }
    } else if ((psa->fFeatures & (FADF_UNKNOWN | FADF_DISPATCH)) != 0) {
        auto* interfaces = static_cast<IUnknown**>(psa->pvData);
        for (std::size_t i = 0; i < count; ++i) {
            if (interfaces[i] != nullptr) {
                interfaces[i]->Release();
            }
        }
    } else if ((psa->fFeatures & FADF_VARIANT) != 0) {
        auto* variants = static_cast<VARIANT*>(psa->pvData);
        for (std::size_t i = 0; i < count; ++i) {
            VariantClear(&variants[i]);
        }
    }
}

HRESULT boundOf(const SAFEARRAY* psa, UINT dim, LONG* out, bool upper) {
    if (psa == nullptr || out == nullptr) {
        return E_INVALIDARG;
    }
    if (dim == 0 || dim > psa->cDims) {
        return DISP_E_BADINDEX;
    }
    const SAFEARRAYBOUND& bound = boundsOf(psa)[psa->cDims - dim];
    // The upper bound of an empty dimension lies one below its lower bound.
    *out = upper ? static_cast<LONG>(static_cast<ULONG>(bound.lLbound) + bound.cElements - 1)
                 : bound.lLbound;
    return S_OK;
}

} // namespace

SAFEARRAY* SafeArrayCreate(VARTYPE vt, UINT dims, const SAFEARRAYBOUND* bounds) {
    USHORT features = 0;
    const ULONG size = elementSize(vt, features);
    if (size == 0 || dims == 0 || dims > 0xFFFF || bounds == nullptr) {
        return nullptr;
    }
    std::size_t count = 1;
    for (UINT i = 0; i < dims; ++i) {
        if (bounds[i].cElements != 0 && count > SIZE_MAX / size / bounds[i].cElements) {
            return nullptr;
        }
        count *= bounds[i].cElements;
    }

    void* memory =
        ::operator new(sizeof(SAFEARRAY) + (dims - 1) * sizeof(SAFEARRAYBOUND), std::nothrow);
    if (memory == nullptr) {
        return nullptr;
    }
    void* data = nullptr;
    if (count > 0) {
        data = ::operator new(count* size, std::nothrow);
        if (data == nullptr) {
            ::operator delete(memory);
            return nullptr;
        }
        std::memset(data, 0, count * size);
    }
    auto* psa = new (memory) SAFEARRAY{static_cast<USHORT>(dims), features, size, 0, data, {}};
    for (UINT i = 0; i < dims; ++i) {
        boundsOf(psa)[dims - 1 - i] = bounds[i];
    }
    return psa;
}

HRESULT SafeArrayDestroy(SAFEARRAY* psa) {
    if (psa == nullptr) {
        return S_OK;
    }
    if (psa->cLocks > 0) {
        return DISP_E_ARRAYISLOCKED;
    }
    releaseElements(psa);
    ::operator delete(psa->pvData);
    ::operator delete(psa);
    return S_OK;
}

HRESULT SafeArrayLock(SAFEARRAY* psa) {
    if (psa == nullptr) {
        return E_INVALIDARG;
    }
    if (psa->cLocks >= kMaxLocks) {
        return E_UNEXPECTED;
    }
    ++psa->cLocks;
    return S_OK;
}

HRESULT SafeArrayUnlock(SAFEARRAY* psa) {
    if (psa == nullptr) {
        return E_INVALIDARG;
    }
    if (psa->cLocks == 0) {
        return E_UNEXPECTED;
    }
    --psa->cLocks;
    return S_OK;
}

UINT SafeArrayGetDim(const SAFEARRAY* psa) noexcept {
    return psa == nullptr ? 0 : psa->cDims;
}

UINT SafeArrayGetElemsize(const SAFEARRAY* psa) noexcept {
    return psa == nullptr ? 0 : psa->cbElements;
}

HRESULT SafeArrayGetLBound(const SAFEARRAY* psa, UINT dim, LONG* lbound) {
    return boundOf(psa, dim, lbound, false);
}

HRESULT SafeArrayGetUBound(const SAFEARRAY* psa, UINT dim, LONG* ubound) {
    return boundOf(psa, dim, ubound, true);
}

} // namespace plinth
