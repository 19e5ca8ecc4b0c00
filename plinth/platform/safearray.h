#pragma once

#include "plinth/platform/export.h"
#include "plinth/platform/hresult.h"
#include "plinth/platform/oletypes.h"
#include "plinth/platform/types.h"

namespace plinth {

/// One dimension of a SAFEARRAY: its element count and its lower bound.
struct SAFEARRAYBOUND {
    ULONG cElements;
    LONG lLbound;
};

/// A self-describing array. Its bounds follow the descriptor, last dimension first; the
/// functions below number dimensions from 1 in the order given to SafeArrayCreate. The
/// elements lie in pvData with the first index varying fastest.
/// Threads: one object is used by one thread at a time; distinct objects are independent.
struct SAFEARRAY {
    USHORT cDims;
    USHORT fFeatures;
    ULONG cbElements;
    ULONG cLocks;
    void* pvData;
    SAFEARRAYBOUND rgsabound[1];
};

/// Element kinds that the array owns and releases on destruction.
inline constexpr USHORT FADF_BSTR = 0x0100;
inline constexpr USHORT FADF_UNKNOWN = 0x0200;
inline constexpr USHORT FADF_DISPATCH = 0x0400;
inline constexpr USHORT FADF_VARIANT = 0x0800;

/// A zero-filled array of `dims` dimensions of elements of type vt (a base type other than
/// VT_EMPTY, VT_NULL); null for an unsupported type, no dimensions, too many elements or
/// no memory. The caller owns it.
PLINTH_API SAFEARRAY* SafeArrayCreate(VARTYPE vt, UINT dims, const SAFEARRAYBOUND* bounds);

/// Releases the elements it owns (strings, interfaces, variants), then the array. Refuses a
/// locked array with DISP_E_ARRAYISLOCKED. Null is ignored (S_OK).
PLINTH_API HRESULT SafeArrayDestroy(SAFEARRAY* psa);

/// A lock pins pvData while the caller works on it; locks nest. E_INVALIDARG for null,
/// E_UNEXPECTED when locking past 65535 locks or unlocking an unlocked array.
PLINTH_API HRESULT SafeArrayLock(SAFEARRAY* psa);
PLINTH_API HRESULT SafeArrayUnlock(SAFEARRAY* psa);

/// 0 for null.
PLINTH_API UINT SafeArrayGetDim(const SAFEARRAY* psa) noexcept;
PLINTH_API UINT SafeArrayGetElemsize(const SAFEARRAY* psa) noexcept;

/// Bounds of dimension `dim` (from 1): E_INVALIDARG for a null argument, DISP_E_BADINDEX for
/// a dimension the array does not have.
PLINTH_API HRESULT SafeArrayGetLBound(const SAFEARRAY* psa, UINT dim, LONG* lbound);
PLINTH_API HRESULT SafeArrayGetUBound(const SAFEARRAY* psa, UINT dim, LONG* ubound);

} // namespace plinth
