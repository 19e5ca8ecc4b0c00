#include "plinth/frame/library.h"

#include "plinth/platform/memory.h"
#include "plinth/platform/module.h"
#include "plinth/platform/resource.h"

#include <dlfcn.h>

namespace plinth {

namespace {

AFX_EXTENSION_MODULE g_plinthModule = {0, nullptr, nullptr};
bool g_chainLinked = false;

// The loader runs these in place of an entry point. A load cannot be refused from here:
// if the library's image cannot be found, the record stays uninitialised and links made
// for it carry no module handle.
__attribute__((constructor)) void onLoad() {
    Dl_info info{};
    if (::dladdr(&g_plinthModule, &info) != 0) {
        AfxInitExtensionModule(g_plinthModule, info.dli_fbase);
    }
    // As a host's framework start-up would; a host that is a module of its own stores its
    // handle instead.
    AfxGetModuleState()->m_hCurrentInstanceHandle = GetModuleHandleA(nullptr);
}

__attribute__((destructor)) void onUnload() {
    AfxTermExtensionModule(g_plinthModule, 0);
}

} // namespace

void InitPlinthDll() {
    if (g_chainLinked) {
        return;
    }
    g_chainLinked = true;
    AfxNew<CDynLinkLibrary>(g_plinthModule); // owned by the chain from here on
}

} // namespace plinth
