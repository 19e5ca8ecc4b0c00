#pragma once

#include "plinth/platform/export.h"
#include "plinth/platform/lasterror.h"
#include "plinth/platform/types.h"

namespace plinth {

// Modules and their resources. A module is an ELF executable or shared object; its handle is
// the base address of its loaded image. A module's resources are named runs of bytes kept in
// one non-allocated section of its file (".plinth.resources"), so they never occupy memory
// until they are asked for.
//
// A resource is addressed by a type, a name and a language. Types and names are identifiers:
// either an integer from 0 to 65535, passed as MAKEINTRESOURCEA(n) in place of a text or as
// the text "#n", or a text of its own, compared without regard to ASCII case (it is kept in
// upper case). A null pointer, an empty text, and a text that starts with '#' but is not a
// decimal number up to 65535 are not identifiers: lookups with them find nothing and updates
// with them fail.
//
// Reading treats every module file as hostile: a section that is cut short or whose table
// does not hold together has no resources, and nothing outside the section is read. The
// bytes of a loaded module's resources are mapped read-only from the file as it was when the
// module was first searched, and stay valid while the module stays loaded.
//
// Updating writes a complete new file beside the old one and renames it over it, so a failed
// update leaves the module file as it was, and a process that has the old file loaded keeps
// working with it.
//
// Failures are reported by a null or FALSE result with the reason in the last error
// (lasterror.h): ENOENT and the other errno values of the file system, ENOEXEC for a file
// that is not a module, ERROR_INVALID_PARAMETER for a bad identifier, handle or flag,
// ERROR_RESOURCE_NOT_FOUND for a missing resource. Running out of memory raises
// CMemoryException.
//
// Threads: every function may be called from any thread; the record of loaded modules is
// guarded. An update handle is used by one thread at a time.

struct HRSRC__;
using HRSRC = HRSRC__*; ///< a resource found in a module
struct HGLOBAL__;
using HGLOBAL = HGLOBAL__*; ///< a resource made ready to be locked
using HANDLE = void*;
using LONG_PTR = std::intptr_t;

/// Flags of LoadLibraryExA.
/// Load the module's image and run its initialisation; dependencies are found as the
/// module's own run path says, which is all this flag asks for here.
inline constexpr DWORD LOAD_WITH_ALTERED_SEARCH_PATH = 0x00000008;
/// Open only the module's resources; no code of it runs, and executables qualify too.
inline constexpr DWORD LOAD_LIBRARY_AS_DATAFILE = 0x00000002;

/// The language that carries no language.
inline constexpr WORD LANG_NEUTRAL = 0;

/// An integer identifier in place of a text.
inline LPCSTR MAKEINTRESOURCEA(WORD id) noexcept {
    return reinterpret_cast<LPCSTR>(static_cast<UINT_PTR>(id));
}
inline bool IS_INTRESOURCE(LPCSTR id) noexcept {
    return (reinterpret_cast<UINT_PTR>(id) >> 16) == 0;
}

// ---- Loaded modules

/// The loaded module of that file: a name with a '/' is compared as a path (links resolved),
/// one without is compared with the last component of each module's path. Null gives the
/// program's executable. Modules opened as data files are not found.
PLINTH_API HMODULE GetModuleHandleA(LPCSTR moduleName);

/// Loads a module (flags 0 or LOAD_WITH_ALTERED_SEARCH_PATH) or opens its resources
/// (LOAD_LIBRARY_AS_DATAFILE); `file` must be null. Every success is matched by FreeLibrary.
PLINTH_API HMODULE LoadLibraryExA(LPCSTR fileName, HANDLE file, DWORD flags);

/// Releases one load made by LoadLibraryExA; the module goes when its last load is released.
/// FALSE for any other handle.
PLINTH_API BOOL FreeLibrary(HMODULE module);

/// Copies the path of a loaded module (null: the executable) into the buffer and returns its
/// length. A path that does not fit is cut to size - 1 characters and the result is `size`,
/// with ERROR_INSUFFICIENT_BUFFER. 0 when the module is not loaded.
PLINTH_API DWORD GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size);

// ---- Reading resources

/// The resource of that type and name (null module: the executable), language neutral
/// first, then 1033, then the lowest language; null when there is none.
PLINTH_API HRSRC FindResourceA(HMODULE module, LPCSTR name, LPCSTR type);
/// The resource of that type, name and language exactly.
PLINTH_API HRSRC FindResourceExA(HMODULE module, LPCSTR type, LPCSTR name, WORD language);

/// Maps the module's resource bytes if they are not mapped yet. Null when the resource is not
/// one of the module's, or when the file no longer holds the bytes its table lists (it was
/// cut short since the resource was found).
PLINTH_API HGLOBAL LoadResource(HMODULE module, HRSRC resource);
/// The first byte of a loaded resource (read-only); null for an empty one.
PLINTH_API LPVOID LockResource(HGLOBAL resource);
/// The resource's size in bytes; 0 for a resource that is not the module's.
PLINTH_API DWORD SizeofResource(HMODULE module, HRSRC resource);

/// Walks report each type, each name of a type, or each language of a type and name once,
/// in a fixed order, until the callback returns FALSE. Integer identifiers are passed as
/// MAKEINTRESOURCEA values, texts are valid during the call. FALSE when the module has no
/// resources to walk or the callback stopped the walk.
using ENUMRESTYPEPROCA = BOOL (*)(HMODULE module, LPSTR type, LONG_PTR param);
using ENUMRESNAMEPROCA = BOOL (*)(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR param);
using ENUMRESLANGPROCA = BOOL (*)(HMODULE module, LPCSTR type, LPCSTR name, WORD language,
                                  LONG_PTR param);
PLINTH_API BOOL EnumResourceTypesA(HMODULE module, ENUMRESTYPEPROCA proc, LONG_PTR param);
PLINTH_API BOOL EnumResourceNamesA(HMODULE module, LPCSTR type, ENUMRESNAMEPROCA proc,
                                   LONG_PTR param);
PLINTH_API BOOL EnumResourceLanguagesA(HMODULE module, LPCSTR type, LPCSTR name,
                                       ENUMRESLANGPROCA proc, LONG_PTR param);

// ---- Updating resources

/// Starts an update of a module file, with its present resources (none when deleteExisting
/// is TRUE). Null when the file cannot be read, is not a module, or its resource table does
/// not hold together (unless deleteExisting).
PLINTH_API HANDLE BeginUpdateResourceA(LPCSTR fileName, BOOL deleteExisting);
/// Adds or replaces the resource of that type, name and language with a copy of the bytes;
/// null data with size 0 removes it. Nothing reaches the file before EndUpdateResourceA.
PLINTH_API BOOL UpdateResourceA(HANDLE update, LPCSTR type, LPCSTR name, WORD language, LPVOID data,
                                DWORD size);
/// Writes the pending resources into the file (or, with `discard`, drops them) and closes the
/// handle either way. FALSE when the file could not be rewritten; it is then unchanged.
PLINTH_API BOOL EndUpdateResourceA(HANDLE update, BOOL discard);

} // namespace plinth
