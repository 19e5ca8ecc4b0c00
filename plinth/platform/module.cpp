#include "plinth/platform/module.h"

namespace plinth {

namespace {

// Constant-initialised and trivially destructible, so that load and unload hooks may use it
// whatever the order of static construction and destruction.
AFX_MODULE_STATE g_moduleState = {nullptr, nullptr};

} // namespace

AFX_MODULE_STATE* AfxGetModuleState() noexcept {
    return &g_moduleState;
}

BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE hModule) {
    if (hModule == nullptr) {
        return 0;
    }
    if (state.bInitialized) {
        return state.hModule == hModule ? 1 : 0;
    }
    state.hModule = hModule;
    state.hResource = hModule;
    state.bInitialized = 1;
    return 1;
}

void AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL all) {
    if (!state.bInitialized) {
        return;
    }
    for (CDynLinkLibrary* link = g_moduleState.m_libraryList; link != nullptr;) {
        CDynLinkLibrary* next = link->m_pNextDLL;
        if (all || link->m_hModule == state.hModule) {
            delete link;
        }
        link = next;
    }
    state = AFX_EXTENSION_MODULE{0, nullptr, nullptr};
}

IMPLEMENT_DYNAMIC(CDynLinkLibrary, CObject)

CDynLinkLibrary::CDynLinkLibrary(AFX_EXTENSION_MODULE& state, BOOL system) noexcept
    : m_hModule(state.hModule)
    , m_hResource(state.hResource)
    , m_bSystem(system)
    , m_pNextDLL(g_moduleState.m_libraryList) {
    g_moduleState.m_libraryList = this;
}

CDynLinkLibrary::~CDynLinkLibrary() {
    for (CDynLinkLibrary** link = &g_moduleState.m_libraryList; *link != nullptr;
         link = &(*link)->m_pNextDLL) {
        if (*link == this) {
            *link = m_pNextDLL;
            return;
        }
    }
}

} // namespace plinth
