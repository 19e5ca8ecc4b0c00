#include "plinth/platform/variant.h"

#include <cstring>

namespace plinth {

namespace {

bool isVariantType(VARTYPE vt) noexcept {
    if ((vt & ~(VT_TYPEMASK | VT_ARRAY | VT_BYREF)) != 0) {
        return false;
    }
    const VARTYPE base = vt & VT_TYPEMASK;
    if (base == VT_VARIANT) {
        return (vt & (VT_ARRAY | VT_BYREF)) != 0; // a variant holds another only by reference
    }
    return base <= VT_DECIMAL || (base >= VT_I1 && base <= VT_UINT);
}

} // namespace

HRESULT VariantClear(VARIANTARG* pvarg) {
    if (pvarg == nullptr) {
        return E_INVALIDARG;
    }
    const VARTYPE vt = pvarg->vt;
    if (!isVariantType(vt)) {
        return DISP_E_BADVARTYPE;
    }
    if ((vt & VT_BYREF) == 0) {
        if ((vt & VT_ARRAY) != 0) {
            const HRESULT hr = SafeArrayDestroy(pvarg->parray);
            if (FAILED(hr)) {
                return hr;
            }
        } else if (vt == VT_BSTR) {
            SysFreeString(pvarg->bstrVal);
        } else if ((vt == VT_UNKNOWN || vt == VT_DISPATCH) && pvarg->punkVal != nullptr) {
            pvarg->punkVal->Release();
        }
    }
    std::memset(pvarg, 0, sizeof(VARIANT));
    return S_OK;
}

} // namespace plinth
