#pragma once

#include "plinth/platform/export.h"
#include "plinth/platform/guid.h"
#include "plinth/platform/hresult.h"
#include "plinth/platform/module.h"
#include "plinth/platform/object.h"
#include "plinth/platform/ptr_list.h"
#include "plinth/platform/typed_ptr.h"

namespace plinth {

class ObjectEx;
class OpC;
class QC;

/// Identifiers of the suite's modules, one per sibling module. Their values never change.
/// 9C9695F1-0AB8-4B86-9E0D-FB291F55F470
extern PLINTH_API const GUID MODID_Geometry;
/// A6828C10-867E-4393-A2DE-85BDE51769CC
extern PLINTH_API const GUID MODID_Topology;
/// 049896E3-7BBA-4A73-A682-0E94DEBEC264
extern PLINTH_API const GUID MODID_Curves;
/// 5D3266C8-4995-4C9D-9414-5F75C6E23B86
extern PLINTH_API const GUID MODID_Surfaces;
/// 3F134A45-DF84-4AF8-94C4-49D730F182B1
extern PLINTH_API const GUID MODID_Solids;
/// 1C6DFF10-667E-4EEE-9742-063CEDC71B79
extern PLINTH_API const GUID MODID_Meshes;
/// 1958F67C-33FF-472F-8D02-6B087EAC6D22
extern PLINTH_API const GUID MODID_Scene;
/// EEFCF3BA-377B-4CC6-A46E-E18ECFF937BF
extern PLINTH_API const GUID MODID_Drawing;
/// 76E6956D-AD47-4CD1-95D7-900E658C9D37
extern PLINTH_API const GUID MODID_Exchange;
/// EAF6F897-ACB5-43C3-8120-FA8B78168995
extern PLINTH_API const GUID MODID_Commands;

/// The descriptor of one module of the suite: its identifier, its configuration and the
/// modules it uses. It joins its module to the framework's module chain once (Start) and
/// routes queries, operations and object upgrades to the module they are addressed to.
///
/// A module's descriptor derives from this class and overrides Execute, Upgrade and
/// GetInterface to answer what is addressed to it; the base only routes. Routing finds the
/// addressed module among this one and, depth first in the order of AddUser, the modules it
/// uses (GetDependency); a request addressed to this module itself is not answered by the
/// base, so an override can handle its own requests and pass the rest to the base.
///
/// Identifiers are borrowed (they must outlive the descriptor) and compared byte for byte; a
/// null identifier on either side matches nothing, so a module without one routes nothing to
/// its used modules except broadcast operations. The used modules are not owned and must
/// form no cycle.
///
/// Threads: one object is used by one thread at a time; distinct objects are independent.
/// Start changes the process-wide module chain and belongs to the loading thread.
class PLINTH_API DynaModule : public CObject {
public:
    /// What a module is configured for is its own affair; the library only stores it.
    enum EConfiguration : int { eConfigDefault = 2 };

    // ---- Construction
    /// No identifier, the default configuration.
    DynaModule() noexcept = default;
    DynaModule(const GUID* id, EConfiguration configuration) noexcept
        : m_pID(id)
        , m_eConfiguration(configuration) {}
    DynaModule(const DynaModule&) = delete;
    DynaModule& operator=(const DynaModule&) = delete;
    /// The used modules stay alive.
    ~DynaModule() override;

    /// No identifier, the default configuration, flags cleared; the used modules stay.
    void Construct() noexcept;

    // ---- Identity and the module graph
    const GUID* GetID() const noexcept { return m_pID; }
    /// Appends a module that this one uses; the same module may be added twice, null is
    /// ignored.
    void AddUser(DynaModule* module);
    /// The module whose identifier is *id: this one, or the first found depth first among
    /// the modules it uses; null when none, or when id or this module's identifier is null.
    DynaModule* GetDependency(const GUID* id);

    // ---- Joining the framework
    /// The first call links `module` into the framework's module chain, so that its
    /// resources and runtime classes are found, and returns true; later calls do nothing and
    /// return false. The framework owns the link.
    bool Start(AFX_EXTENSION_MODULE& module);
    bool IsMFCChainOK() const noexcept { return m_bMFCChainOK; }

    // ---- Routing (overridden by modules that answer)
    /// An operation with no module identifier goes to the used modules in order until one
    /// returns true; otherwise to the addressed module. False when nobody did it.
    virtual bool Execute(OpC& op);
    /// The query goes to the addressed module; false when none answered.
    virtual bool Execute(QC& query);
    /// Asks the addressed module to extend obj; null when none did.
    virtual ObjectEx* Upgrade(CObject* obj, QC& query);
    /// Asks the addressed module for the interface that the query names; E_NOINTERFACE when
    /// none gave it.
    virtual HRESULT GetInterface(QC& query);
    /// Where an upgrade starts: reaches the addressed module's own Upgrade also when that is
    /// this module, so that this module's override runs.
    ObjectEx* UpgradeObject(CObject* obj, QC& query);

protected:
    const GUID* m_pID = nullptr;
    CTypedPtrList<CObList, DynaModule*> m_listUsed{10};
    EConfiguration m_eConfiguration = eConfigDefault;
    bool m_bUser = false; ///< cleared on construction, free for the deriving module
    bool m_bMFCChainOK = false;

private:
    /// The addressed module other than this one, or null.
    DynaModule* RouteTarget(const GUID* target);
};

} // namespace plinth
