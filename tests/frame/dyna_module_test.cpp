#include "plinth/frame/dyna_module.h"
#include "plinth/frame/object_ex.h"
#include "plinth/frame/requests.h"
#include "plinth/platform/module.h"
#include "plinth/platform/ptr_array.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace plinth;

namespace {

GUID Id(DWORD n) {
    return GUID{n, 0, 0, {0, 0, 0, 0, 0, 0, 0, static_cast<BYTE>(n)}};
}

// A module that logs every request it is asked, answers those addressed to itself and
// routes the rest through the base.
class Probe : public DynaModule {
public:
    Probe(char name, const GUID* id, std::string* log)
        : DynaModule(id, eConfigDefault)
        , m_name(name)
        , m_pLog(log) {}

    bool Execute(OpC& op) override {
        *m_pLog += m_name;
        return m_bAnswersBroadcast || Mine(op.m_pModuleID) || DynaModule::Execute(op);
    }
    bool Execute(QC& query) override {
        *m_pLog += m_name;
        return Mine(query.m_pModuleID) || DynaModule::Execute(query);
    }
    ObjectEx* Upgrade(CObject* obj, QC& query) override {
        *m_pLog += m_name;
        if (!Mine(query.m_pModuleID)) {
            return DynaModule::Upgrade(obj, query);
        }
        m_upgrade.AttachOwner(obj);
        return &m_upgrade;
    }
    HRESULT GetInterface(QC& query) override {
        *m_pLog += m_name;
        return Mine(query.m_pModuleID) ? S_OK : DynaModule::GetInterface(query);
    }

    bool m_bAnswersBroadcast = false;
    ObjectEx m_upgrade;

private:
    bool Mine(const GUID* id) const {
        return id != nullptr && GetID() != nullptr && *id == *GetID();
    }

    char m_name;
    std::string* m_pLog;
};

// Four levels, D reachable twice, and E without an identifier above F:
//   R -> A -> C -> D
//   R -> B -> D
//   R -> E -> F
// B and D share an identifier, so a breadth-first search would find B first.
struct Graph {
    GUID r = Id(1), a = Id(2), b = Id(3), c = Id(4), f = Id(6);
    std::string log;
    Probe R{'R', &r, &log}, A{'A', &a, &log}, B{'B', &b, &log}, C{'C', &c, &log},
        D{'D', &b, &log}, E{'E', nullptr, &log}, F{'F', &f, &log};

    Graph() {
        R.AddUser(&A);
        R.AddUser(&B);
        R.AddUser(&E);
        A.AddUser(&C);
        C.AddUser(&D);
        B.AddUser(&D);
        E.AddUser(&F);
    }
};

} // namespace

TEST(DynaModule, GetDependencySearchesDepthFirstByIdentifierBytes) {
    Graph g;
    const GUID copyOfC = g.c;
    const GUID unknown = Id(99);
    const struct {
        const GUID* id;
        DynaModule* expected;
    } cases[] = {
        {&g.r, &g.R},   {&g.a, &g.A},       {&copyOfC, &g.C}, {&g.b, &g.D}, // D before B
        {&g.f, nullptr}, // below a module without an identifier
        {&unknown, nullptr}, {nullptr, nullptr},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(g.R.GetDependency(c.id), c.expected);
    }
    EXPECT_EQ(g.E.GetDependency(&g.f), nullptr);
    EXPECT_EQ(g.E.GetDependency(nullptr), nullptr);
    EXPECT_EQ(g.A.GetDependency(&g.b), &g.D);
    EXPECT_EQ(g.F.GetDependency(&g.f), &g.F);
    EXPECT_TRUE(g.log.empty()); // no routing operation was asked
}

TEST(DynaModule, BroadcastAsksUsedModulesInOrderUntilOneIsDone) {
    Graph g;
    g.R.AddUser(nullptr); // ignored
    OpC broadcast;
    EXPECT_FALSE(g.R.Execute(broadcast));
    EXPECT_EQ(g.log, "RACDBDEF"); // D once per path

    g.log.clear();
    g.C.m_bAnswersBroadcast = true;
    EXPECT_TRUE(g.R.Execute(broadcast));
    EXPECT_EQ(g.log, "RAC"); // B is not asked

    g.log.clear();
    g.C.m_bAnswersBroadcast = false;
    g.D.m_bAnswersBroadcast = true;
    EXPECT_TRUE(g.B.Execute(broadcast));
    EXPECT_EQ(g.log, "BD");

    DynaModule lonely;
    EXPECT_FALSE(lonely.Execute(broadcast));

    // Construct forgets the identifier but keeps the used modules: broadcasts still go out.
    g.log.clear();
    g.A.Construct();
    EXPECT_EQ(g.A.GetID(), nullptr);
    EXPECT_EQ(g.R.GetDependency(&g.c), nullptr);
    EXPECT_TRUE(g.A.Execute(broadcast));
    EXPECT_EQ(g.log, "ACD");
}

TEST(DynaModule, AddressedRequestsReachOnlyTheirModule) {
    Graph g;
    OpC op(&g.c);
    EXPECT_TRUE(g.R.Execute(op));
    QC query(&g.b);
    EXPECT_TRUE(g.R.Execute(query));
    EXPECT_EQ(g.R.GetInterface(query), S_OK);
    EXPECT_EQ(g.log, "RCRDRD");

    // Misses: no target, an unknown one, one below a module without an identifier.
    const GUID unknown = Id(99);
    const GUID* const misses[] = {nullptr, &unknown, &g.f};
    for (const GUID* target : misses) {
        QC miss(target);
        OpC missOp(target, "x", "y");
        CPtrArray obj;
        EXPECT_FALSE(g.A.Execute(miss));
        EXPECT_EQ(g.A.GetInterface(miss), E_NOINTERFACE);
        EXPECT_EQ(g.A.Upgrade(&obj, miss), nullptr);
        EXPECT_EQ(g.A.UpgradeObject(&obj, miss), nullptr);
        if (target != nullptr) {
            EXPECT_FALSE(g.A.Execute(missOp));
        }
    }
    EXPECT_EQ(g.log, "RCRDRD" + std::string(11, 'A')); // nobody else was asked
}

TEST(DynaModule, TheBaseDoesNotAnswerForItself) {
    GUID id = Id(1);
    GUID usedId = Id(2);
    DynaModule self(&id, DynaModule::eConfigDefault);
    DynaModule used(&usedId, DynaModule::eConfigDefault);
    self.AddUser(&used);
    QC query(&id);
    OpC op(&id);
    CPtrArray obj;
    EXPECT_FALSE(self.Execute(query));
    EXPECT_FALSE(self.Execute(op));
    EXPECT_EQ(self.GetInterface(query), E_NOINTERFACE);
    EXPECT_EQ(self.Upgrade(&obj, query), nullptr);
    EXPECT_EQ(self.UpgradeObject(&obj, query), nullptr);
    // Routed to a base module, the request ends there unanswered.
    QC toUsed(&usedId);
    EXPECT_FALSE(self.Execute(toUsed));
    EXPECT_EQ(self.GetInterface(toUsed), E_NOINTERFACE);
}

TEST(DynaModule, UpgradeObjectReachesTheOwnOverride) {
    Graph g;
    CPtrArray obj;
    QC toR(&g.r);
    EXPECT_EQ(g.R.DynaModule::Upgrade(&obj, toR), nullptr);
    EXPECT_EQ(g.log, "");
    EXPECT_EQ(g.R.UpgradeObject(&obj, toR), &g.R.m_upgrade);
    EXPECT_EQ(g.R.m_upgrade.GetOwner(), &obj);

    g.log.clear();
    QC toD(&g.b);
    EXPECT_EQ(g.R.UpgradeObject(&obj, toD), &g.D.m_upgrade);
    EXPECT_EQ(g.R.Upgrade(&obj, toD), &g.D.m_upgrade);
    EXPECT_EQ(g.log, "DRD"); // the first call goes straight to D
}

TEST(DynaModule, StartJoinsTheChainOnce) {
    static int image = 0;
    AFX_EXTENSION_MODULE state{};
    ASSERT_TRUE(AfxInitExtensionModule(state, &image));
    const auto links = [] {
        int n = 0;
        for (CDynLinkLibrary* link = AfxGetModuleState()->m_libraryList; link != nullptr;
             link = link->m_pNextDLL) {
            n += link->m_hModule == &image ? 1 : 0;
        }
        return n;
    };

    DynaModule module;
    EXPECT_FALSE(module.IsMFCChainOK());
    EXPECT_TRUE(module.Start(state));
    EXPECT_TRUE(module.IsMFCChainOK());
    EXPECT_FALSE(module.Start(state));
    EXPECT_EQ(links(), 1);
    EXPECT_FALSE(AfxGetModuleState()->m_libraryList->m_bSystem);
    AfxTermExtensionModule(state);
    EXPECT_EQ(links(), 0);
}

TEST(DynaModule, ModuleIdentifiersAreDistinct) {
    const GUID* ids[] = {&MODID_Geometry, &MODID_Topology, &MODID_Curves, &MODID_Surfaces,
                         &MODID_Solids,   &MODID_Meshes,   &MODID_Scene,  &MODID_Drawing,
                         &MODID_Exchange, &MODID_Commands};
    for (const GUID* a : ids) {
        EXPECT_NE(*a, GUID_NULL);
        for (const GUID* b : ids) {
            EXPECT_EQ(a == b, *a == *b);
        }
    }
    EXPECT_EQ(MODID_Geometry.Data1, 0x9C9695F1u);
    EXPECT_EQ(MODID_Commands.Data4[7], 0x95);
}
