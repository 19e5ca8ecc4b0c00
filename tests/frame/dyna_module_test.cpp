#include "plinth/frame/dyna_module.h"
#include "plinth/frame/object_ex.h"
#include "plinth/frame/requests.h"
#include "plinth/platform/module.h"
#include "plinth/platform/ptr_array.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
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
        return Heard() && (m_bAnswersBroadcast || Mine(op.m_pModuleID) || DynaModule::Execute(op));
    }
    bool Execute(QC& query) override {
        return Heard() && (Mine(query.m_pModuleID) || DynaModule::Execute(query));
    }
    ObjectEx* Upgrade(CObject* obj, QC& query) override {
        if (Heard() && !Mine(query.m_pModuleID)) {
            return DynaModule::Upgrade(obj, query);
        }
        m_upgrade.AttachOwner(obj);
        return &m_upgrade;
    }
    HRESULT GetInterface(QC& query) override {
        return Heard() && Mine(query.m_pModuleID) ? S_OK : DynaModule::GetInterface(query);
    }

    bool m_bAnswersBroadcast = false;
    ObjectEx m_upgrade;

private:
    bool Heard() {
        *m_pLog += m_name;
        return true;
    }
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
    Probe R{'R', &r, &log}, A{'A', &a, &log}, B{'B', &b, &log}, C{'C', &c, &log}, D{'D', &b, &log},
        E{'E', nullptr, &log}, F{'F', &f, &log};

    Graph() {
        for (auto [user, used] :
             {std::pair{&R, &A}, {&R, &B}, {&R, &E}, {&A, &C}, {&C, &D}, {&B, &D}, {&E, &F}}) {
            user->AddUser(used);
        }
    }
};

} // namespace

TEST(DynaModule, GetDependencySearchesDepthFirstByIdentifierBytes) {
    Graph g;
    const GUID copyOfC = g.c;
    const GUID unknown = Id(99);
    const struct {
        DynaModule* from;
        const GUID* id;
        DynaModule* expected;
    } cases[] = {
        {&g.R, &g.r, &g.R},        {&g.R, &copyOfC, &g.C},   {&g.R, &g.b, &g.D}, // D before B
        {&g.R, &g.f, nullptr}, // below a module without an identifier
        {&g.R, &unknown, nullptr}, {&g.R, nullptr, nullptr}, {&g.E, &g.f, nullptr},
        {&g.A, &g.b, &g.D},        {&g.F, &g.f, &g.F},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.from->GetDependency(c.id), c.expected);
    }
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

    EXPECT_FALSE(DynaModule().Execute(broadcast));

    // Construct forgets the identifier but keeps the used modules: broadcasts still go out.
    g.log.clear();
    g.A.Construct();
    EXPECT_EQ(g.A.GetID(), nullptr);
    EXPECT_EQ(g.R.GetDependency(&g.c), nullptr);
    EXPECT_TRUE(g.A.Execute(broadcast));
    EXPECT_EQ(g.log, "AC");
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
        EXPECT_TRUE(target == nullptr || !g.A.Execute(missOp));
    }
    EXPECT_EQ(g.log, "RCRDRD" + std::string(11, 'A')); // nobody else was asked
}

TEST(DynaModule, UpgradeObjectReachesTheOwnOverride) {
    Graph g;
    CPtrArray obj;
    QC toR(&g.r);
    EXPECT_EQ(g.R.DynaModule::Upgrade(&obj, toR), nullptr);
    EXPECT_EQ(g.R.UpgradeObject(&obj, toR), &g.R.m_upgrade);
    EXPECT_EQ(g.R.m_upgrade.GetOwner(), &obj);
    g.log.clear();
    QC toD(&g.b);
    EXPECT_EQ(g.R.UpgradeObject(&obj, toD), &g.D.m_upgrade);
    EXPECT_EQ(g.R.Upgrade(&obj, toD), &g.D.m_upgrade);
    EXPECT_EQ(g.log, "DRD"); // the first call goes straight to D
}

TEST(DynaModule, TheBaseDoesNotAnswerForItselfNorForABaseItUses) {
    GUID id = Id(1);
    GUID usedId = Id(2);
    DynaModule self(&id, DynaModule::eConfigDefault);
    DynaModule used(&usedId, DynaModule::eConfigDefault);
    self.AddUser(&used);
    CPtrArray obj;
    OpC op(&id);
    EXPECT_FALSE(self.Execute(op));
    for (const GUID* target : {&id, &usedId}) {
        QC query(target);
        EXPECT_FALSE(self.Execute(query));
        EXPECT_EQ(self.GetInterface(query), E_NOINTERFACE);
        EXPECT_EQ(self.UpgradeObject(&obj, query), nullptr);
    }
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
                         &MODID_Exchange, &MODID_Commands, &GUID_NULL};
    for (const GUID* a : ids) {
        for (const GUID* b : ids) {
            EXPECT_EQ(a == b, *a == *b);
        }
    }
    EXPECT_EQ(MODID_Geometry.Data1, 0x9C9695F1u);
    EXPECT_EQ(MODID_Commands.Data4[7], 0x95);
}
