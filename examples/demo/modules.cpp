// Modules and notifications: a query routed through a small module graph, and one event
// broadcast to the clients that want it.
#include "sections.h"

#include "plinth/frame/dyna_module.h"
#include "plinth/frame/nested_interface.h"
#include "plinth/frame/notify_server.h"
#include "plinth/frame/ref_obj.h"
#include "plinth/frame/requests.h"

#include <cstdio>

using namespace plinth;

namespace {

// A module that answers queries addressed to it with the area of a square of side m_dArg[0].
class AreaModule : public DynaModule {
public:
    using DynaModule::DynaModule;

    bool Execute(QC& query) override {
        if (query.m_pModuleID == nullptr || *query.m_pModuleID != *GetID()) {
            return DynaModule::Execute(query);
        }
        query.m_dArg[1] = query.m_dArg[0] * query.m_dArg[0];
        return true;
    }
};

// A client that prints the events it hears.
class Printer : public CRefObj {
public:
    class XNotify : public NestedInterface<Printer, INotify> {
    public:
        using NestedInterface::NestedInterface;
        HRESULT OnNotify(void* event) override {
            std::printf("  %s heard \"%s\"\n", This().m_pszName,
                        event != nullptr ? static_cast<const char*>(event) : "(last)");
            return S_OK;
        }
    };

    explicit Printer(const char* name)
        : m_pszName(name) {}

    HRESULT QueryInterface(REFIID iid, void** ppv) override {
        return QueryOuterInterface(this, iid, ppv, m_xNotify);
    }

    INotify* Itf() { return &m_xNotify; }

private:
    const char* m_pszName;
    XNotify m_xNotify{this};
};

} // namespace

void DemoModules() {
    std::printf("\n-- Modules --\n");
    // The host uses geometry and drawing; drawing uses meshes, which answers.
    DynaModule host(&MODID_Commands, DynaModule::eConfigDefault);
    DynaModule geometry(&MODID_Geometry, DynaModule::eConfigDefault);
    DynaModule drawing(&MODID_Drawing, DynaModule::eConfigDefault);
    AreaModule meshes(&MODID_Meshes, DynaModule::eConfigDefault);
    host.AddUser(&geometry);
    host.AddUser(&drawing);
    drawing.AddUser(&meshes);

    QC query(&MODID_Meshes);
    query.m_dArg[0] = 3.0;
    const bool answered = host.Execute(query);
    std::printf("query to meshes via the host: %s, area %g\n", answered ? "answered" : "missed",
                query.m_dArg[1]);
    QC lost(&MODID_Scene);
    std::printf("query to a module nobody uses: %s\n", host.Execute(lost) ? "answered" : "missed");

    auto* walls = new Printer("walls");
    auto* roof = new Printer("roof");
    NotifyServer server;
    server.AddClient(walls->Itf(), 0x1);
    server.AddClient(roof->Itf(), 0x3);
    walls->Release(); // the server holds the clients now
    roof->Release();
    char event[] = "geometry changed";
    std::printf("event with mask 2:\n");
    server.Notify(event, 0x2);
    std::printf("event for everyone:\n");
    server.Notify(event);
    server.DetachClient(roof->Itf());
}
