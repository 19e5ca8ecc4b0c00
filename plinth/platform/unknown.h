#pragma once

#include "plinth/platform/export.h"
#include "plinth/platform/guid.h"
#include "plinth/platform/hresult.h"
#include "plinth/platform/types.h"

namespace plinth {

/// 00000000-0000-0000-C000-000000000046
/// Threads: one object is used by one thread at a time; distinct objects are independent.
inline constexpr IID IID_IUnknown = {
    0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

/// Root of every interface: identity by interface identifier and a shared reference count.
/// An object lives while references to it are held and is never deleted through an interface.
struct PLINTH_API IUnknown {
    /// Stores the interface named by iid in *ppv and adds a reference, or stores null and
    /// returns E_NOINTERFACE.
    virtual HRESULT QueryInterface(REFIID iid, void** ppv) = 0;
    /// Both return the new count, for diagnostics only.
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

protected:
    IUnknown() = default;
    IUnknown(const IUnknown&) = default;
    IUnknown& operator=(const IUnknown&) = default;
    ~IUnknown() = default;
};

} // namespace plinth
