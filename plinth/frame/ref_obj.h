#pragma once

#include "plinth/platform/export.h"
#include "plinth/platform/guid.h"
#include "plinth/platform/object.h"
#include "plinth/platform/types.h"
#include "plinth/platform/unknown.h"

namespace plinth {

/// Base of the library's reference-counted objects; it converts to IUnknown.
///
/// A new object has count 1, held by its creator. Every Release takes one off; the one that
/// reaches 0 deletes the object, unless the object is marked by value: one whose storage the
/// count does not own (on the stack, a member of another object, kept alive elsewhere). Such
/// an object calls SetByVal() at once, so that interface references never free it.
/// Counts are plain integers: an object belongs to one thread at a time.
/// Threads: one object is used by one thread at a time; distinct objects are independent.
class PLINTH_API CRefObj : public CObject, public IUnknown {
public:
    CRefObj() noexcept = default;
    /// Takes the source's count and by-value flag.
    CRefObj(const CRefObj& other) noexcept = default;
    /// An object's count belongs to its storage: it is never assigned.
    CRefObj& operator=(const CRefObj&) = delete;
    ~CRefObj() override;

    /// The base knows no interface, IUnknown included: stores null and returns E_NOINTERFACE
    /// (a null ppv is left alone).
    HRESULT QueryInterface(REFIID iid, void** ppv) override;
    /// Returns the new count; 0 when the object was deleted or is by value.
    ULONG Release() override;
    ULONG AddRef() override { return ++m_nRef; }

    ULONG GetRef() const noexcept { return m_nRef; }
    bool IsByVal() const noexcept { return m_bByVal; }

    /// Stores the by-value flag; with release, also takes one off a count above 0 (never
    /// deleting).
    void SetByVal(bool byVal, bool release) noexcept {
        m_bByVal = byVal;
        if (release && m_nRef > 0) {
            --m_nRef;
        }
    }
    /// Marks the object by value and gives up the creator's reference: a later AddRef and
    /// Release pair leaves it in place.
    void SetByVal() noexcept { SetByVal(true, true); }

protected:
    ULONG m_nRef = 1;
    bool m_bByVal = false;
};

} // namespace plinth
