#pragma once

#include "plinth/platform/export.h"
#include "plinth/platform/hresult.h"
#include "plinth/platform/ptr_array.h"
#include "plinth/platform/types.h"
#include "plinth/platform/unknown.h"

namespace plinth {

/// Implemented by other modules that want to hear about an object. The library calls only
/// OnFinalRelease; both methods' pointers mean what the implementing modules agree on.
/// Threads: one object is used by one thread at a time; distinct objects are independent.
struct PLINTH_API IQueryClient : IUnknown {
    virtual HRESULT OnQuery(void* query, void* result) = 0;
    /// The object that the client registered with is going away.
    virtual HRESULT OnFinalRelease(void* a, void* b) = 0;

protected:
    ~IQueryClient() = default;
};

/// The clients registered with an object, each once. It neither counts references on them
/// nor frees them.
class PLINTH_API RefMgr : public CPtrArray {
public:
    RefMgr() noexcept = default;
    ~RefMgr() override;

    /// Appends the client unless it is already registered.
    void AddClient(IQueryClient* client);
    /// Removes the client; false when it was not registered.
    bool RemoveClient(IQueryClient* client);
    /// The client's index; -1 when it is not registered.
    int Find(IQueryClient* client) const;
    /// Tells every client, skipping null entries. A client may register or remove clients
    /// meanwhile: the count is read again after every call.
    void OnFinalRelease(void* a, void* b);
};

/// A count of the references that one client holds. It never calls or frees the client.
class PLINTH_API Reference {
public:
    Reference() noexcept = default;
    /// Count 1 for a client, 0 for null.
    explicit Reference(IQueryClient* client) noexcept
        : m_pClient(client)
        , m_nRef(client != nullptr ? 1 : 0) {}

    ULONG AddRef() noexcept { return ++m_nRef; }
    /// Takes one off a count above 0; true while references remain.
    bool Release() noexcept {
        if (m_nRef > 0) {
            --m_nRef;
        }
        return m_nRef > 0;
    }

    IQueryClient* m_pClient = nullptr;
    ULONG m_nRef = 0;
};

} // namespace plinth
