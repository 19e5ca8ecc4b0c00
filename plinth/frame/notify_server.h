#pragma once

#include "plinth/frame/interface_ids.h"
#include "plinth/platform/export.h"
#include "plinth/platform/hresult.h"
#include "plinth/platform/memory.h"
#include "plinth/platform/ptr_array.h"
#include "plinth/platform/types.h"
#include "plinth/platform/unknown.h"

#include <vector>

namespace plinth {

/// Implemented by other modules that want to hear of events. The event pointer means what
/// the server's owner and its clients agree on; null is the last notification, sent when a
/// masked-mode client is detached.
struct PLINTH_API INotify : IUnknown {
    static constexpr const IID& kIid = IID_INotify;

    virtual HRESULT OnNotify(void* event) = 0;

protected:
    ~INotify() = default;
};

/// Passes events to a list of clients, in the order they were added.
///
/// Plain mode stores each client as a bare pointer and holds no reference on it. Masked mode
/// stores a record per client (the client and the events it wants) and holds one reference
/// on the client until it is detached, dropped or the server goes. The first AddClient with
/// a mask switches to masked mode for good; clients added before it are turned into records
/// without a mask, so every entry is then read as a record. A null entry is a missing record.
///
/// A client whose notification raises, whatever the exception, is dropped (and released) and
/// the walk goes on with the other clients; the exception does not leave Notify.
///
/// Clients may add, detach or notify clients from inside a notification. A walk notifies the
/// clients that were attached when it began and are still attached when their turn comes:
/// a client detached meanwhile is skipped, one added meanwhile first hears of the next event.
///
/// Index errors raise CInvalidArgException, allocation failures CMemoryException.
///
/// Threads: one object is used by one thread at a time; distinct objects are independent.
/// Notifications run synchronously on the caller's thread.
class PLINTH_API NotifyServer : public CPtrArray {
public:
    /// One client in masked mode.
    struct ClientRecord {
        INotify* pClient;
        ULONG dwMask; ///< the events the client wants; 0 for a client added without a mask
    };

    // ---- Construction
    /// Empty, plain mode.
    NotifyServer() noexcept = default;
    /// Frees the records and releases the clients of masked mode.
    ~NotifyServer() override;

    // ---- Clients (a null client is ignored)
    /// Adds a client wanting the events of mask, holding a reference; masked mode from now on.
    void AddClient(INotify* client, ULONG mask);
    /// Plain mode: adds the bare pointer. Masked mode: adds it without a mask, holding a
    /// reference.
    void AddClient(INotify* client);
    /// The client of entry i; null for a missing record. CInvalidArgException outside the
    /// entries.
    INotify* GetNotify(int i) const;
    /// The index of the client's first entry; -1 when it has none.
    int Find(INotify* client) const;
    /// Removes the client's first entry; in masked mode the client then gets a last, null
    /// notification and is released (also when that notification raises, which the caller
    /// then sees). An unknown client is ignored.
    void DetachClient(INotify* client);
    bool IsMasked() const noexcept { return m_bMasked != 0; }

    // ---- Notifications
    /// Tells every client, first to last.
    void Notify(void* event);
    /// Plain mode: as Notify(event). Masked mode: tells, last to first, the clients whose mask
    /// shares a bit with mask; the walk stops at a missing record.
    void Notify(void* event, ULONG mask);

protected:
    BOOL m_bMasked = 0;

private:
    /// An entry as a walk met it at the start.
    struct Visit {
        void* entry;
        INotify* client;
    };
    using Visits = std::vector<Visit, AfxAllocator<Visit>>;

    INotify* ClientOf(void* entry) const noexcept;
    void AddRecord(INotify* client, ULONG mask);
    void SwitchToMasked();
    /// The entries and their clients as they stand.
    Visits Snapshot() const;
    /// Where the visited entry is now, searching from where it was; -1 when it has gone.
    INT_PTR Locate(const Visit& visit, INT_PTR hint) const;
    /// Notifies the visited client; one that raises is dropped.
    void Tell(const Visit& visit, INT_PTR hint, void* event);
};

} // namespace plinth
