#pragma once

#include "plinth/frame/interface_ids.h"
#include "plinth/platform/export.h"
#include "plinth/platform/guid.h"
#include "plinth/platform/hresult.h"
#include "plinth/platform/safearray.h"
#include "plinth/platform/types.h"
#include "plinth/platform/unknown.h"

namespace plinth {

// The interfaces over a byte blob (BlobOI) and over the options that modules exchange with a
// data context (DataContext). Only the method order, the identifiers, the arguments and the
// statuses are fixed; the names are the library's own.
// A missing argument or an array of the wrong kind gives DISP_E_PARAMNOTOPTIONAL.
// Threads: an interface belongs to the thread that uses its object.

/// IBlob::Read's status for a file that cannot be opened. It is positive, so callers that
/// test only the sign take it for success.
inline constexpr HRESULT S_FILENOTOPENED = 2;

/// A byte blob: its size, the file it is loaded from or saved to, its bytes as a VT_UI1 array.
struct PLINTH_API IBlob : IUnknown {
    static constexpr const IID& kIid = IID_IBlob;

    /// The contents' length, also while they wait in a cache file.
    virtual HRESULT GetSize(ULONG* size) = 0;
    /// Replaces the contents by the file's; S_OK once the file is open, S_FILENOTOPENED when
    /// it cannot be opened (the blob then stays as it was).
    virtual HRESULT Read(const char* path) = 0;
    /// Writes the contents over the start of the file (created when missing; a longer file
    /// keeps its tail); E_UNEXPECTED when it cannot be opened.
    virtual HRESULT Write(const char* path) = 0;
    /// Replaces the contents by a one-dimensional array of 1-byte elements; anything else
    /// leaves the blob as it was.
    virtual HRESULT Copy(SAFEARRAY** ppsa) = 0;
    /// A new VT_UI1 array (lower bound 0) of the contents in *ppsa, which the caller destroys;
    /// E_OUTOFMEMORY when it cannot be made.
    virtual HRESULT CopyTo(SAFEARRAY** ppsa) = 0;

protected:
    ~IBlob() = default;
};

/// Two options of a data context, set as 16-bit booleans (0 false, anything else true).
struct PLINTH_API IDataContext : IUnknown {
    static constexpr const IID& kIid = IID_IDataContext;

    virtual HRESULT SetOptionA(short value) = 0;
    virtual HRESULT SetOptionB(short value) = 0;

protected:
    ~IDataContext() = default;
};

} // namespace plinth
