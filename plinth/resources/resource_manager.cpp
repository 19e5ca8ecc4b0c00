#include "plinth/resources/resource_manager.h"

#include "plinth/persist/rt_blob.h"
#include "plinth/platform/memory.h"
#include "plinth/platform/module.h"
#include "plinth/platform/resource.h"

#include <cstring>

namespace plinth {

namespace {

constexpr DWORD kPathBuffer = 260;
constexpr WORD kLanguage = 1033; // English, United States

// Releases a module loaded for the purpose when the lookup leaves, whichever way.
class LoadedForPurpose {
public:
    explicit LoadedForPurpose(HMODULE module) noexcept
        : m_module(module) {}
    ~LoadedForPurpose() { FreeLibrary(m_module); }
    LoadedForPurpose(const LoadedForPurpose&) = delete;
    LoadedForPurpose& operator=(const LoadedForPurpose&) = delete;

private:
    HMODULE m_module;
};

} // namespace

ResourceManager::~ResourceManager() = default;

unsigned char* ResourceManager::LoadResource(HINSTANCE module, const char* name, const char* type,
                                             unsigned int& sizeOrCode) {
    if (module == nullptr) {
        sizeOrCode = 4;
        return nullptr;
    }
    HRSRC found = FindResourceA(module, name, type);
    if (found == nullptr) {
        sizeOrCode = 5;
        return nullptr;
    }
    HGLOBAL loaded = ::plinth::LoadResource(module, found);
    if (loaded == nullptr) {
        sizeOrCode = 6;
        return nullptr;
    }
    auto* data = static_cast<unsigned char*>(LockResource(loaded));
    if (data == nullptr) {
        sizeOrCode = 7;
        return nullptr;
    }
    sizeOrCode = SizeofResource(module, found);
    return data;
}

unsigned char* ResourceManager::LoadResource(const char* name, const char* type,
                                             unsigned int& sizeOrCode) {
    HINSTANCE instance = AfxGetInstanceHandle();
    if (instance == nullptr) {
        sizeOrCode = 1;
        return nullptr;
    }
    char path[kPathBuffer];
    const DWORD length = GetModuleFileNameA(instance, path, kPathBuffer);
    // A cut-off path could name some other module.
    if (length < 5 || length >= kPathBuffer) {
        sizeOrCode = 2;
        return nullptr;
    }
    HMODULE module = GetModuleHandleA(path);
    if (module == nullptr) {
        sizeOrCode = 3;
        return nullptr;
    }
    return LoadResource(module, name, type, sizeOrCode);
}

unsigned char* ResourceManager::LoadResource(const char* file, const char* name, const char* type,
                                             unsigned int& sizeOrCode, bool* copied) {
    if (file == nullptr) {
        return LoadResource(name, type, sizeOrCode);
    }
    if (copied != nullptr) {
        *copied = false;
    }
    if (HMODULE loaded = GetModuleHandleA(file)) {
        return LoadResource(loaded, name, type, sizeOrCode);
    }
    HMODULE module = LoadLibraryExA(file, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (module == nullptr) {
        sizeOrCode = 10;
        return nullptr;
    }
    const LoadedForPurpose release(module);
    const unsigned char* data = LoadResource(module, name, type, sizeOrCode);
    if (data == nullptr || sizeOrCode == 0) {
        sizeOrCode = 11;
        return nullptr;
    }
    auto* copy = AfxNewArray<unsigned char>(sizeOrCode);
    std::memcpy(copy, data, sizeOrCode);
    if (copied != nullptr) {
        *copied = true;
    }
    return copy;
}

bool ResourceManager::LoadResource(const char* name, const char* type, RtBlob& blob) {
    // With no file the blob asks the current module, as this form does.
    return name != nullptr && type != nullptr && blob.LoadResource(name, type, nullptr) == 0;
}

bool ResourceManager::UpdateResourceA(const char* file, const char* name, const char* type,
                                      RtBlob& blob) {
    HANDLE update = BeginUpdateResourceA(file, 0);
    if (update == nullptr) {
        return false;
    }
    // A null pointer with no bytes would remove the resource: an empty blob stores one.
    unsigned char none = 0;
    const bool bytes = blob.m_pData != nullptr;
    if (::plinth::UpdateResourceA(update, type, name, kLanguage, bytes ? blob.m_pData : &none,
                                  bytes ? blob.m_nSize : 0) == 0) {
        EndUpdateResourceA(update, 1);
        return false;
    }
    return EndUpdateResourceA(update, 0) != 0;
}

} // namespace plinth
