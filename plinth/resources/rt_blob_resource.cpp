// The blob's executable-resource operations, over the resource manager.
#include "plinth/persist/rt_blob.h"
#include "plinth/resources/resource_manager.h"

namespace plinth {

bool RtBlob::WriteResource(const char* name, const char* type, const char* file) {
    if (name == nullptr || type == nullptr) {
        return false;
    }
    return ResourceManager::UpdateResourceA(file, name, type, *this);
}

int RtBlob::LoadResource(const char* name, const char* type, const char* file) {
    if (type == nullptr) {
        return 8;
    }
    if (name == nullptr) {
        return 9;
    }
    // The blob stays as it was on failure, so that its size always matches its buffer.
    unsigned int sizeOrCode = 0;
    bool copied = false;
    unsigned char* data = ResourceManager::LoadResource(file, name, type, sizeOrCode, &copied);
    if (data == nullptr) {
        return static_cast<int>(sizeOrCode);
    }
    // A private copy is already a buffer of the blob's kind: it is taken over as it is.
    RtBlob loaded = copied ? RtBlob(sizeOrCode, data) : RtBlob(data, sizeOrCode, true);
    DeleteData();
    *this = loaded;
    return 0;
}

} // namespace plinth
