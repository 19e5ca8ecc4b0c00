// Resources: bytes embedded in a module file, read back through the resource manager.
#include "sections.h"

#include "plinth/persist/rt_blob.h"
#include "plinth/platform/resource.h"
#include "plinth/resources/resource_manager.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

using namespace plinth;

void DemoResources() {
    std::printf("\n-- Resources --\n");
    // Embedded in this program when it was linked (plinth_add_resources).
    RtBlob motto;
    ResourceManager manager;
    if (manager.LoadResource("MOTTO", "TEXT", motto)) {
        std::printf("this program's TEXT MOTTO, %u bytes: %.*s", motto.m_nSize,
                    static_cast<int>(motto.m_nSize), reinterpret_cast<const char*>(motto.m_pData));
    }
    motto.Delete();

    // A round trip through a copy of a module file.
    std::string dir = std::filesystem::temp_directory_path().string() + "/plinth-demo-XXXXXX";
    if (::mkdtemp(dir.data()) == nullptr) {
        return;
    }
    const std::string module = dir + "/plugin.so";
    std::filesystem::copy_file(PLINTH_DEMO_PLUGIN, module);
    RtBlob note;
    note.Set("written at run time");
    const bool written = note.WriteResource("NOTE", "#300", module.c_str());
    RtBlob back;
    const int code = back.LoadResource("note", MAKEINTRESOURCEA(300), module.c_str());
    std::printf("wrote %u bytes as resource #300 NOTE: %s; read back: code %d, \"%s\", %s\n",
                note.m_nSize, written ? "ok" : "failed", code,
                code == 0 ? reinterpret_cast<const char*>(back.m_pData) : "",
                back.IsSameData(note) ? "the same bytes" : "different bytes");
    unsigned int missing = 0;
    bool copied = false;
    ResourceManager::LoadResource(module.c_str(), "LOGO", "#300", missing, &copied);
    std::printf("a resource the module does not hold: code %u\n", missing);
    note.Delete();
    back.Delete();
    std::filesystem::remove_all(dir);
}
