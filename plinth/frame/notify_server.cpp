#include "plinth/frame/notify_server.h"

#include <algorithm>
#include <cxxabi.h>
#include <memory>

namespace plinth {

namespace {

using ClientRecord = NotifyServer::ClientRecord;

// Gives up the record's reference on its client and frees the record; nothing for null.
void FreeRecord(void* entry) noexcept {
    if (auto* record = static_cast<ClientRecord*>(entry)) {
        record->pClient->Release();
        delete record;
    }
}

struct RecordFree {
    void operator()(ClientRecord* record) const noexcept { FreeRecord(record); }
};

} // namespace

NotifyServer::~NotifyServer() {
    if (!IsMasked()) {
        return;
    }
    for (INT_PTR i = 0; i < GetSize(); ++i) {
        FreeRecord(GetAt(i));
    }
}

INotify* NotifyServer::ClientOf(void* entry) const noexcept {
    if (!IsMasked()) {
        return static_cast<INotify*>(entry);
    }
    return entry != nullptr ? static_cast<ClientRecord*>(entry)->pClient : nullptr;
}

void NotifyServer::AddClient(INotify* client, ULONG mask) {
    if (client == nullptr) {
        return;
    }
    SwitchToMasked();
    AddRecord(client, mask);
}

void NotifyServer::AddClient(INotify* client) {
    if (client == nullptr) {
        return;
    }
    if (IsMasked()) {
        AddRecord(client, 0);
    } else {
        Add(client);
    }
}

void NotifyServer::AddRecord(INotify* client, ULONG mask) {
    std::unique_ptr<ClientRecord> record(AfxNew<ClientRecord>(ClientRecord{client, mask}));
    Add(record.get());
    record.release()->pClient->AddRef();
}

void NotifyServer::SwitchToMasked() {
    if (IsMasked()) {
        return;
    }
    // Every record is made before any entry changes, so that running out of memory leaves
    // the server as it was.
    std::vector<std::unique_ptr<ClientRecord>, AfxAllocator<std::unique_ptr<ClientRecord>>> records(
        static_cast<std::size_t>(GetSize()));
    for (INT_PTR i = 0; i < GetSize(); ++i) {
        if (auto* client = static_cast<INotify*>(GetAt(i))) {
            records[static_cast<std::size_t>(i)].reset(
                AfxNew<ClientRecord>(ClientRecord{client, 0}));
        }
    }
    for (INT_PTR i = 0; i < GetSize(); ++i) {
        if (ClientRecord* record = records[static_cast<std::size_t>(i)].release()) {
            record->pClient->AddRef();
            SetAt(i, record);
        }
    }
    m_bMasked = 1;
}

INotify* NotifyServer::GetNotify(int i) const {
    return ClientOf(GetAt(i));
}

int NotifyServer::Find(INotify* client) const {
    for (INT_PTR i = 0; i < GetSize(); ++i) {
        if (ClientOf(GetAt(i)) == client) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void NotifyServer::DetachClient(INotify* client) {
    const int index = Find(client);
    if (index < 0) {
        return;
    }
    void* entry = GetAt(index);
    // The entry goes first, so that the client may do anything from its last notification.
    RemoveAt(index);
    if (IsMasked() && entry != nullptr) {
        const std::unique_ptr<ClientRecord, RecordFree> record(static_cast<ClientRecord*>(entry));
        record->pClient->OnNotify(nullptr);
    }
}

NotifyServer::Visits NotifyServer::Snapshot() const {
    Visits visits;
    visits.reserve(static_cast<std::size_t>(GetSize()));
    for (INT_PTR i = 0; i < GetSize(); ++i) {
        visits.push_back(Visit{GetAt(i), ClientOf(GetAt(i))});
    }
    return visits;
}

INT_PTR NotifyServer::Locate(const Visit& visit, INT_PTR hint) const {
    const auto here = [this, &visit](INT_PTR i) {
        return GetAt(i) == visit.entry && ClientOf(GetAt(i)) == visit.client;
    };
    // Entries move down when earlier ones go, so the search starts at the old place.
    for (INT_PTR i = std::min(hint, GetSize() - 1); i >= 0; --i) {
        if (here(i)) {
            return i;
        }
    }
    for (INT_PTR i = hint + 1; i < GetSize(); ++i) {
        if (here(i)) {
            return i;
        }
    }
    return -1;
}

void NotifyServer::Tell(const Visit& visit, INT_PTR hint, void* event) {
    try {
        visit.client->OnNotify(event);
    } catch (abi::__forced_unwind&) {
        throw; // a cancelled thread must go on unwinding
    } catch (...) {
        const INT_PTR index = Locate(visit, hint);
        if (index < 0) {
            return; // it detached itself before raising
        }
        RemoveAt(index);
        if (IsMasked()) {
            FreeRecord(visit.entry);
        }
    }
}

void NotifyServer::Notify(void* event) {
    const Visits visits = Snapshot();
    for (std::size_t k = 0; k < visits.size(); ++k) {
        const auto hint = static_cast<INT_PTR>(k);
        if (visits[k].client != nullptr && Locate(visits[k], hint) >= 0) {
            Tell(visits[k], hint, event);
        }
    }
}

void NotifyServer::Notify(void* event, ULONG mask) {
    if (!IsMasked()) {
        Notify(event);
        return;
    }
    const Visits visits = Snapshot();
    for (std::size_t k = visits.size(); k-- > 0;) {
        const auto* record = static_cast<const ClientRecord*>(visits[k].entry);
        if (record == nullptr) {
            return;
        }
        const auto hint = static_cast<INT_PTR>(k);
        if (Locate(visits[k], hint) >= 0 && (record->dwMask & mask) != 0) {
            Tell(visits[k], hint, event);
        }
    }
}

} // namespace plinth
