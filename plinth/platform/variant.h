#pragma once

#include "plinth/platform/bstr.h"
#include "plinth/platform/export.h"
#include "plinth/platform/hresult.h"
#include "plinth/platform/oletypes.h"
#include "plinth/platform/safearray.h"
#include "plinth/platform/types.h"
#include "plinth/platform/unknown.h"

#include <cstddef>

namespace plinth {

/// A tagged value of 16 bytes: the type tag vt (VT_*), three reserved words, then the value.
/// Variants are plain data and may be copied byte for byte; VariantClear releases what one
/// owns: the string of VT_BSTR, the reference of VT_UNKNOWN and VT_DISPATCH, the array of
/// VT_ARRAY. A VT_BYREF variant owns nothing.
/// Threads: one object is used by one thread at a time; distinct objects are independent.
struct VARIANT {
    VARTYPE vt;
    WORD wReserved1;
    WORD wReserved2;
    WORD wReserved3;
    union {
        LONGLONG llVal;
        LONG lVal;
        BYTE bVal;
        SHORT iVal;
        FLOAT fltVal;
        DOUBLE dblVal;
        VARIANT_BOOL boolVal;
        SCODE scode;
        DATE date;
        BSTR bstrVal;
        IUnknown* punkVal;
        SAFEARRAY* parray;
        char cVal;
        USHORT uiVal;
        ULONG ulVal;
        ULONGLONG ullVal;
        INT intVal;
        UINT uintVal;
        BYTE* pbVal;
        SHORT* piVal;
        LONG* plVal;
        LONGLONG* pllVal;
        FLOAT* pfltVal;
        DOUBLE* pdblVal;
        VARIANT_BOOL* pboolVal;
        SCODE* pscode;
        DATE* pdate;
        BSTR* pbstrVal;
        IUnknown** ppunkVal;
        SAFEARRAY** pparray;
        VARIANT* pvarVal;
        void* byref;
        char* pcVal;
        USHORT* puiVal;
        ULONG* pulVal;
        ULONGLONG* pullVal;
        INT* pintVal;
        UINT* puintVal;
    };
};
static_assert(sizeof(VARIANT) == 16, "a variant is 16 bytes");
static_assert(offsetof(VARIANT, vt) == 0 && offsetof(VARIANT, wReserved3) == 6,
              "the type tag and reserved words come first");
static_assert(offsetof(VARIANT, llVal) == 8 && offsetof(VARIANT, byref) == 8,
              "the value follows at offset 8");

using VARIANTARG = VARIANT;

/// Makes an empty variant (VT_EMPTY) without looking at what it held.
inline void VariantInit(VARIANTARG* pvarg) noexcept {
    if (pvarg != nullptr) {
        pvarg->vt = VT_EMPTY;
        pvarg->wReserved1 = pvarg->wReserved2 = pvarg->wReserved3 = 0;
    }
}

/// Releases what the variant owns and leaves it empty with a zero value. E_INVALIDARG for
/// null; DISP_E_BADVARTYPE for a tag that no variant may carry and DISP_E_ARRAYISLOCKED for
/// an owned array that is locked, both leaving the variant unchanged.
PLINTH_API HRESULT VariantClear(VARIANTARG* pvarg);

} // namespace plinth
