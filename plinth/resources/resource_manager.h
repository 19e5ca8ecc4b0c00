#pragma once

#include "plinth/platform/export.h"
#include "plinth/platform/types.h"

namespace plinth {

class RtBlob;

/// Reads resources out of modules and writes them into module files (the platform's resource
/// service, resource.h, says how modules keep them). A resource is addressed by a name and a
/// type, texts or integer identifiers, in the current module (the one whose instance handle
/// the framework keeps, AfxGetInstanceHandle), in a loaded module, or in a module file loaded
/// for the purpose.
///
/// Loads report through `sizeOrCode`: the resource's size on success; on failure the result
/// is null and sizeOrCode holds one of these codes:
///   1  no instance handle for the current module
///   2  the current module's file name could not be obtained (or did not fit 260 characters)
///   3  no loaded module matches the current module's file name
///   4  the module handle is null
///   5  no resource of that name and type in the module
///   6  the resource could not be loaded
///   7  the resource could not be locked: it is empty
///   8  (RtBlob::LoadResource) the type is null
///   9  (RtBlob::LoadResource) the name is null
///   10 the module file could not be loaded
///   11 the module file was loaded for the purpose but holds no such resource, or it is empty
/// Nothing is raised or logged, except CMemoryException when a copy cannot be allocated.
///
/// Threads: every operation may be called from any thread.
class PLINTH_API ResourceManager {
public:
    ResourceManager() noexcept = default;
    ResourceManager(const ResourceManager&) noexcept = default;
    ResourceManager& operator=(const ResourceManager&) noexcept = default;
    virtual ~ResourceManager();

    // ---- Loading

    /// The resource's bytes inside the loaded module: read-only, valid while it stays loaded.
    static unsigned char* LoadResource(HINSTANCE module, const char* name, const char* type,
                                       unsigned int& sizeOrCode);
    /// The same in the current module, found again through its file name.
    static unsigned char* LoadResource(const char* name, const char* type,
                                       unsigned int& sizeOrCode);
    /// Null file: the current module, and `copied` is left alone. A loaded module of that
    /// file: its bytes, *copied false. Otherwise the file is loaded for the purpose and
    /// released again on every path: a copy that the caller frees with delete[], *copied true.
    static unsigned char* LoadResource(const char* file, const char* name, const char* type,
                                       unsigned int& sizeOrCode, bool* copied);
    /// A copy of the current module's resource in a new buffer of the blob. False for a null
    /// name or type, or when loading fails; the blob is then unchanged.
    bool LoadResource(const char* name, const char* type, RtBlob& blob);

    // ---- Updating

    /// Adds or replaces the resource (language 1033) in the module file with the blob's
    /// bytes; an empty blob stores an empty resource. False when the file cannot be updated;
    /// it is then unchanged.
    static bool UpdateResourceA(const char* file, const char* name, const char* type, RtBlob& blob);
};

} // namespace plinth
