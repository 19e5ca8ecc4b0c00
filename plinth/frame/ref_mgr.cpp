#include "plinth/frame/ref_mgr.h"

namespace plinth {

RefMgr::~RefMgr() = default;

void RefMgr::AddClient(IQueryClient* client) {
    if (Find(client) < 0) {
        Add(client);
    }
}

bool RefMgr::RemoveClient(IQueryClient* client) {
    const int index = Find(client);
    if (index < 0) {
        return false;
    }
    RemoveAt(index);
    return true;
}

int RefMgr::Find(IQueryClient* client) const {
    const void* wanted = client;
    for (INT_PTR i = 0; i < GetSize(); ++i) {
        if (GetAt(i) == wanted) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void RefMgr::OnFinalRelease(void* a, void* b) {
    for (INT_PTR i = 0; i < GetSize(); ++i) {
        if (auto* client = static_cast<IQueryClient*>(GetAt(i))) {
            client->OnFinalRelease(a, b);
        }
    }
}

} // namespace plinth
