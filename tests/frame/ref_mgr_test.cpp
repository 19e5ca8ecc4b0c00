#include "plinth/frame/nested_interface.h"
#include "plinth/frame/ref_mgr.h"

#include <gtest/gtest.h>

#include <vector>

using namespace plinth;

namespace {

// Counts its notifications; may register another client while being told.
class Client : public IQueryClient {
public:
    HRESULT QueryInterface(REFIID /*iid*/, void** ppv) override { return NoInterface(ppv); }
    ULONG AddRef() override { return ++m_nCounted; }
    ULONG Release() override { return ++m_nCounted; }
    HRESULT OnQuery(void* /*query*/, void* /*result*/) override { return S_OK; }
    HRESULT OnFinalRelease(void* a, void* /*b*/) override {
        m_calls.push_back(a);
        if (m_pManager != nullptr) {
            m_pManager->AddClient(m_pOther);
        }
        return S_OK;
    }

    std::vector<void*> m_calls; // the first argument of each notification
    ULONG m_nCounted = 0;
    RefMgr* m_pManager = nullptr;
    IQueryClient* m_pOther = nullptr;
};

} // namespace

TEST(RefMgr, RegistersEachClientOnceAndTellsThemAll) {
    RefMgr manager;
    Client first;
    Client late;
    EXPECT_EQ(manager.Find(&first), -1);
    manager.AddClient(nullptr);
    manager.AddClient(&first);
    manager.AddClient(&first);
    EXPECT_EQ(manager.GetSize(), 2);
    EXPECT_EQ(manager.Find(&first), 1);

    first.m_pManager = &manager;
    first.m_pOther = &late;
    int a = 0;
    manager.OnFinalRelease(&a, nullptr); // skips null; reaches a client added meanwhile
    EXPECT_EQ(first.m_calls, std::vector<void*>{&a});
    EXPECT_EQ(late.m_calls, std::vector<void*>{&a});

    EXPECT_TRUE(manager.RemoveClient(&first));
    EXPECT_FALSE(manager.RemoveClient(&first));
    EXPECT_EQ(manager.Find(&late), 1);
    EXPECT_EQ(first.m_nCounted + late.m_nCounted, 0u); // no references taken
}

TEST(Reference, CountsWithoutTouchingTheClient) {
    Reference none(nullptr);
    EXPECT_FALSE(none.Release());
    EXPECT_EQ(none.m_nRef, 0u);

    Client client;
    Reference ref(&client);
    EXPECT_EQ(ref.AddRef(), 2u);
    EXPECT_TRUE(ref.Release());
    EXPECT_FALSE(ref.Release());
    EXPECT_FALSE(ref.Release());
    EXPECT_EQ(ref.m_nRef, 0u);
    EXPECT_EQ(client.m_nCounted, 0u);
    EXPECT_TRUE(client.m_calls.empty());
}
