#pragma once

#include "plinth/platform/export.h"
#include "plinth/platform/object.h"
#include "plinth/platform/types.h"

namespace plinth {

class CDynLinkLibrary;

/// A module's registration with the framework, one per module, filled by
/// AfxInitExtensionModule when the module is loaded.
/// Threads: the module chain is shared by the process; modules join and leave it while one thread
/// loads or unloads them.
struct AFX_EXTENSION_MODULE {
    BOOL bInitialized;
    HMODULE hModule;   ///< base address of the module's loaded image
    HMODULE hResource; ///< where the module's resources are looked up: the module itself
};

/// The process-wide framework state: the chain of modules in which the framework looks for
/// resources and runtime classes, newest first, linked through CDynLinkLibrary::m_pNextDLL.
struct PLINTH_API AFX_MODULE_STATE {
    CDynLinkLibrary* m_libraryList;
    /// The module that stands for the running program: the executable from the library's load
    /// on, until the host stores another (null: none).
    HINSTANCE m_hCurrentInstanceHandle;
};

PLINTH_API AFX_MODULE_STATE* AfxGetModuleState() noexcept;

inline HINSTANCE AfxGetInstanceHandle() noexcept {
    return AfxGetModuleState()->m_hCurrentInstanceHandle;
}

/// Records hModule (null is refused) in a fresh record. A record that is already initialised
/// accepts only the module it holds.
PLINTH_API BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE hModule);

/// Deletes the chain links made for the record's module (with `all`, every link of the
/// chain) and resets the record. An uninitialised record is left alone.
PLINTH_API void AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL all = 0);

/// One link of the module chain. Construction puts it at the head of the chain and
/// destruction takes it out. Links are made with new and owned by the framework, which
/// deletes them in AfxTermExtensionModule.
class PLINTH_API CDynLinkLibrary : public CObject {
    DECLARE_DYNAMIC(CDynLinkLibrary)

public:
    explicit CDynLinkLibrary(AFX_EXTENSION_MODULE& state, BOOL system = 0) noexcept;
    ~CDynLinkLibrary() override;

    CDynLinkLibrary(const CDynLinkLibrary&) = delete;
    CDynLinkLibrary& operator=(const CDynLinkLibrary&) = delete;

    HMODULE m_hModule;
    HMODULE m_hResource;
    BOOL m_bSystem; ///< a module of the framework itself rather than of the application
    CDynLinkLibrary* m_pNextDLL;
};

} // namespace plinth
