#include "support/counting_unknown.h"

#include "plinth/frame/notify_server.h"
#include "plinth/platform/exceptions.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

using namespace plinth;

namespace {

// A counted client that logs its name for every event and its name and '.' for the last,
// null notification; an action may run on each real event.
struct Listener final : plinth::testing::Counting<INotify> {
    Listener(char name, std::string* log)
        : Counting(IID_INotify)
        , m_name(name)
        , m_pLog(log) {}

    HRESULT OnNotify(void* event) override {
        *m_pLog += m_name;
        if (event == nullptr) {
            *m_pLog += '.';
            if (m_bRaiseOnLast) {
                throw std::runtime_error("last notification failed");
            }
        } else if (m_action) {
            m_action();
        }
        return S_OK;
    }

    char m_name;
    std::string* m_pLog;
    std::function<void()> m_action;
    bool m_bRaiseOnLast = false;
};

// Listeners '1' .. '0' + n. Declared before the servers, so by the time it goes every
// reference a server took must be back.
struct Clients {
    explicit Clients(int n) {
        for (int i = 1; i <= n; ++i) {
            all.emplace_back(static_cast<char>('0' + i), &log);
        }
    }
    ~Clients() {
        for (const Listener& client : all) {
            EXPECT_EQ(client.m_nRef, 1u) << client.m_name;
        }
    }

    INotify* operator[](int i) { return &Obj(i); }
    Listener& Obj(int i) { return all[static_cast<std::size_t>(i - 1)]; }
    std::string Take() { return std::exchange(log, std::string()); }

    std::string log;
    std::deque<Listener> all;
};

int g_event = 0;
void* const kEvent = &g_event;

} // namespace

TEST(NotifyServer, MaskedWalkGoesBackwardOverMatchingClients) {
    Clients k(3);
    NotifyServer server;
    server.AddClient(k[1], 1);
    server.AddClient(k[2], 2);
    server.AddClient(k[3], 3);
    EXPECT_TRUE(server.IsMasked());
    EXPECT_EQ(k.Obj(1).m_nRef, 2u);
    server.Notify(kEvent, 2);
    EXPECT_EQ(k.Take(), "32");
    server.Notify(kEvent, 4);
    EXPECT_EQ(k.Take(), "");
    server.Notify(kEvent);
    EXPECT_EQ(k.Take(), "123");

    // A missing record ends the backward walk; the forward walk passes over it.
    server.InsertAt(1, static_cast<void*>(nullptr));
    EXPECT_EQ(server.GetNotify(1), nullptr);
    server.Notify(kEvent, 3);
    EXPECT_EQ(k.Take(), "32");
    server.Notify(kEvent);
    EXPECT_EQ(k.Take(), "123");

    NotifyServer plain;
    plain.AddClient(k[1]);
    plain.AddClient(k[2]);
    plain.AddClient(nullptr); // ignored
    plain.Notify(kEvent, 4);  // the mask is not looked at
    EXPECT_EQ(k.Take(), "12");
    EXPECT_FALSE(plain.IsMasked());
    EXPECT_EQ(plain.GetSize(), 2);
}

TEST(NotifyServer, RaisingClientsAreDroppedAndTheRestHearOnce) {
    using Raise = void (*)();
    const Raise stdError = [] { throw std::runtime_error("client failed"); };
    const Raise anInt = [] { throw 7; };
    const Raise frameworkError = [] { AfxThrowMemoryException(); };
    const struct {
        bool masked;
        bool backward;
        std::vector<int> raisers;
        Raise raise;
        const char* heard;     // in the walk that drops
        const char* heardNext; // in the walk after it
    } cases[] = {
        {false, false, {2}, stdError, "1234", "134"},
        {true, false, {2, 3}, anInt, "1234", "14"}, // the second takes the first's place
        {true, false, {4}, frameworkError, "1234", "123"},
        {true, true, {3}, stdError, "4321", "421"},
        {true, true, {3, 2}, anInt, "4321", "41"},
        {true, true, {1}, frameworkError, "4321", "432"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.heard + std::string(" / ") + c.heardNext);
        Clients k(4);
        for (int raiser : c.raisers) {
            k.Obj(raiser).m_action = c.raise;
        }
        NotifyServer server;
        for (int i = 1; i <= 4; ++i) {
            c.masked ? server.AddClient(k[i], 1) : server.AddClient(k[i]);
        }
        const auto walk = [&] { c.backward ? server.Notify(kEvent, 1) : server.Notify(kEvent); };
        EXPECT_NO_THROW(walk());
        EXPECT_EQ(k.Take(), c.heard);
        for (int raiser : c.raisers) {
            EXPECT_EQ(server.Find(k[raiser]), -1);
        }
        EXPECT_EQ(server.GetSize(), 4 - static_cast<INT_PTR>(c.raisers.size()));
        walk();
        EXPECT_EQ(k.Take(), c.heardNext);
    }
}

TEST(NotifyServer, ClientsMayChangeTheListFromANotification) {
    Clients k(6);
    NotifyServer server;
    for (int i = 1; i <= 4; ++i) {
        server.AddClient(k[i], 1);
    }
    k.Obj(1).m_action = [&] { server.AddClient(k[5], 1); }; // heard from the next walk
    k.Obj(2).m_action = [&] { server.DetachClient(k[3]); }; // 3 is skipped
    k.Obj(4).m_action = [&] { server.DetachClient(k[4]); }; // leaves during its own turn
    server.Notify(kEvent);
    EXPECT_EQ(k.Take(), "123.44.");
    EXPECT_EQ(server.GetSize(), 3);
    k.Obj(1).m_action = nullptr;
    k.Obj(2).m_action = nullptr;
    server.Notify(kEvent);
    EXPECT_EQ(k.Take(), "125");

    // Backward: 5 brings 6 in and drops 1 ahead of its turn; 2 leaves, then raises.
    k.Obj(5).m_action = [&] {
        server.AddClient(k[6], 1);
        server.DetachClient(k[1]);
    };
    k.Obj(2).m_action = [&] {
        server.DetachClient(k[2]);
        throw std::runtime_error("after leaving");
    };
    server.Notify(kEvent, 1);
    EXPECT_EQ(k.Take(), "51.22.");
    EXPECT_EQ(server.GetSize(), 2);
    EXPECT_EQ(server.Find(k[5]), 0);
    EXPECT_EQ(server.Find(k[6]), 1);
    k.Obj(5).m_action = nullptr;
    server.Notify(kEvent, 1);
    EXPECT_EQ(k.Take(), "65");
}

TEST(NotifyServer, DetachGivesMaskedClientsALastNotification) {
    Clients k(3);
    NotifyServer plain;
    EXPECT_EQ(plain.Find(k[1]), -1);
    plain.DetachClient(k[1]); // unknown: nothing
    plain.AddClient(k[1]);
    plain.AddClient(k[2]);
    plain.DetachClient(k[1]);
    EXPECT_EQ(k.Take(), "");
    EXPECT_EQ(plain.Find(k[2]), 0);
    EXPECT_THROW(plain.GetNotify(1), CInvalidArgException);
    EXPECT_THROW(plain.GetNotify(-1), CInvalidArgException);

    NotifyServer masked;
    masked.AddClient(k[1], 1);
    masked.AddClient(k[2], 1);
    masked.DetachClient(k[2]);
    EXPECT_EQ(k.Take(), "2.");
    masked.DetachClient(k[2]);
    EXPECT_EQ(k.Take(), "");

    // A last notification that raises reaches the caller; the client is gone all the same.
    masked.AddClient(k[3], 1);
    k.Obj(3).m_bRaiseOnLast = true;
    EXPECT_THROW(masked.DetachClient(k[3]), std::runtime_error);
    EXPECT_EQ(k.Take(), "3.");
    EXPECT_EQ(masked.Find(k[3]), -1);
    masked.Notify(kEvent, 1);
    EXPECT_EQ(k.Take(), "1");
}

TEST(NotifyServer, TheFirstMaskTurnsEarlierClientsIntoRecords) {
    Clients k(3);
    NotifyServer server;
    server.AddClient(k[1]);
    server.AddClient(k[2]);
    EXPECT_EQ(k.Obj(1).m_nRef, 1u);
    server.AddClient(k[3], 2);
    EXPECT_EQ(k.Obj(1).m_nRef, 2u);
    EXPECT_EQ(server.GetNotify(0), k[1]);
    server.Notify(kEvent, ~0u); // no mask: 1 and 2 never match
    EXPECT_EQ(k.Take(), "3");
    server.Notify(kEvent);
    EXPECT_EQ(k.Take(), "123");
    server.AddClient(k[1]); // a second entry, without a mask
    EXPECT_EQ(k.Obj(1).m_nRef, 3u);
    server.DetachClient(k[1]);
    EXPECT_EQ(server.Find(k[1]), 2);
    EXPECT_EQ(k.Take(), "1.");
}
