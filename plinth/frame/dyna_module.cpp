#include "plinth/frame/dyna_module.h"

#include "plinth/frame/requests.h"

#include <new>

namespace plinth {

const GUID MODID_Geometry = {
    0x9C9695F1, 0x0AB8, 0x4B86, {0x9E, 0x0D, 0xFB, 0x29, 0x1F, 0x55, 0xF4, 0x70}};
const GUID MODID_Topology = {
    0xA6828C10, 0x867E, 0x4393, {0xA2, 0xDE, 0x85, 0xBD, 0xE5, 0x17, 0x69, 0xCC}};
const GUID MODID_Curves = {
    0x049896E3, 0x7BBA, 0x4A73, {0xA6, 0x82, 0x0E, 0x94, 0xDE, 0xBE, 0xC2, 0x64}};
const GUID MODID_Surfaces = {
    0x5D3266C8, 0x4995, 0x4C9D, {0x94, 0x14, 0x5F, 0x75, 0xC6, 0xE2, 0x3B, 0x86}};
const GUID MODID_Solids = {
    0x3F134A45, 0xDF84, 0x4AF8, {0x94, 0xC4, 0x49, 0xD7, 0x30, 0xF1, 0x82, 0xB1}};
const GUID MODID_Meshes = {
    0x1C6DFF10, 0x667E, 0x4EEE, {0x97, 0x42, 0x06, 0x3C, 0xED, 0xC7, 0x1B, 0x79}};
const GUID MODID_Scene = {
    0x1958F67C, 0x33FF, 0x472F, {0x8D, 0x02, 0x6B, 0x08, 0x7E, 0xAC, 0x6D, 0x22}};
const GUID MODID_Drawing = {
    0xEEFCF3BA, 0x377B, 0x4CC6, {0xA4, 0x6E, 0xE1, 0x8E, 0xCF, 0xF9, 0x37, 0xBF}};
const GUID MODID_Exchange = {
    0x76E6956D, 0xAD47, 0x4CD1, {0x95, 0xD7, 0x90, 0x0E, 0x65, 0x8C, 0x9D, 0x37}};
const GUID MODID_Commands = {
    0xEAF6F897, 0xACB5, 0x43C3, {0x81, 0x20, 0xFA, 0x8B, 0x78, 0x16, 0x89, 0x95}};

namespace {

// Null on either side matches nothing.
bool SameID(const GUID* a, const GUID* b) noexcept {
    return a != nullptr && b != nullptr && IsEqualGUID(*a, *b);
}

} // namespace

DynaModule::~DynaModule() = default;

void DynaModule::Construct() noexcept {
    m_pID = nullptr;
    m_eConfiguration = eConfigDefault;
    m_bUser = false;
    m_bMFCChainOK = false;
}

void DynaModule::AddUser(DynaModule* module) {
    if (module != nullptr) {
        m_listUsed.AddTail(module);
    }
}

DynaModule* DynaModule::GetDependency(const GUID* id) {
    if (m_pID == nullptr || id == nullptr) {
        return nullptr;
    }
    if (IsEqualGUID(*m_pID, *id)) {
        return this;
    }
    for (DynaModule* used : m_listUsed) {
        if (DynaModule* found = used->GetDependency(id)) {
            return found;
        }
    }
    return nullptr;
}

bool DynaModule::Start(AFX_EXTENSION_MODULE& module) {
    if (m_bMFCChainOK) {
        return false;
    }
    // The link puts itself at the head of the chain, which owns it from then on. Joining
    // raises nothing: without memory the module simply stays out of the chain.
    static_cast<void>(new (std::nothrow) CDynLinkLibrary(module));
    m_bMFCChainOK = true;
    return true;
}

DynaModule* DynaModule::RouteTarget(const GUID* target) {
    return SameID(m_pID, target) ? nullptr : GetDependency(target);
}

bool DynaModule::Execute(OpC& op) {
    if (op.m_pModuleID != nullptr) {
        DynaModule* target = RouteTarget(op.m_pModuleID);
        return target != nullptr && target->Execute(op);
    }
    for (DynaModule* used : m_listUsed) {
        if (used->Execute(op)) {
            return true;
        }
    }
    return false;
}

bool DynaModule::Execute(QC& query) {
    DynaModule* target = RouteTarget(query.m_pModuleID);
    return target != nullptr && target->Execute(query);
}

ObjectEx* DynaModule::Upgrade(CObject* obj, QC& query) {
    DynaModule* target = RouteTarget(query.m_pModuleID);
    return target != nullptr ? target->Upgrade(obj, query) : nullptr;
}

HRESULT DynaModule::GetInterface(QC& query) {
    DynaModule* target = RouteTarget(query.m_pModuleID);
    return target != nullptr ? target->GetInterface(query) : E_NOINTERFACE;
}

ObjectEx* DynaModule::UpgradeObject(CObject* obj, QC& query) {
    DynaModule* target = GetDependency(query.m_pModuleID);
    return target != nullptr ? target->Upgrade(obj, query) : nullptr;
}

} // namespace plinth
