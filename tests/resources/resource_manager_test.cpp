#include "support/module_fixture.h"

#include "plinth/persist/rt_blob.h"
#include "plinth/platform/module.h"
#include "plinth/platform/resource.h"
#include "plinth/resources/resource_manager.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

using namespace plinth;

namespace {

// Each test may name another current module; the program's own comes back afterwards.
class Resources : public ModuleFiles {
protected:
    void TearDown() override {
        AfxGetModuleState()->m_hCurrentInstanceHandle = m_program;
        ModuleFiles::TearDown();
    }

    // Loads a module for the test; unloaded at the end of the scope.
    struct Loaded {
        explicit Loaded(const std::string& path)
            : handle(::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) {}
        ~Loaded() {
            if (handle != nullptr) {
                ::dlclose(handle);
            }
        }
        void* handle;
    };

    static std::string Bytes(const unsigned char* data, unsigned int size) {
        return data == nullptr ? "<null>" : std::string(reinterpret_cast<const char*>(data), size);
    }

    HINSTANCE m_program = AfxGetInstanceHandle();
};

TEST_F(Resources, ALoadedModuleGivesPointersIntoItsOwnBytes) {
    const std::string path = CopyModule();
    const Loaded loaded(path);
    ASSERT_NE(loaded.handle, nullptr);
    unsigned int size = 0;
    bool copied = true;
    const unsigned char* data =
        ResourceManager::LoadResource(path.c_str(), "LOGO", "BIN", size, &copied);
    EXPECT_FALSE(copied);
    EXPECT_EQ(Bytes(data, size), Embedded("logo.bin"));
    unsigned int again = 0;
    EXPECT_EQ(ResourceManager::LoadResource(GetModuleHandleA(path.c_str()), "logo", "bin", again),
              data);

    // The codes of the module-handle form.
    const struct {
        HINSTANCE module;
        const char* name;
        unsigned int code;
    } failures[] = {
        {nullptr, "LOGO", 4},
        {GetModuleHandleA(path.c_str()), "NONE", 5},
        {GetModuleHandleA(path.c_str()), "EMPTY", 7}, // an empty resource has nothing to lock
    };
    for (const auto& f : failures) {
        EXPECT_EQ(ResourceManager::LoadResource(f.module, f.name, "BIN", size), nullptr);
        EXPECT_EQ(size, f.code);
    }
}

TEST_F(Resources, AFileNotLoadedGivesAPrivateCopyAndIsUnloadedOnEveryPath) {
    const std::string path = CopyModule();
    for (int round = 0; round < 2; ++round) { // a second lookup behaves as the first
        unsigned int size = 0;
        bool copied = false;
        std::unique_ptr<unsigned char[]> data(
            ResourceManager::LoadResource(path.c_str(), "#7", "#10", size, &copied));
        EXPECT_TRUE(copied);
        EXPECT_EQ(Bytes(data.get(), size), Embedded("numbered.bin"));
        EXPECT_FALSE(IsLoaded(path));
        for (const char* name : {"NONE", "EMPTY"}) {
            copied = true;
            EXPECT_EQ(ResourceManager::LoadResource(path.c_str(), name, "BIN", size, &copied),
                      nullptr);
            EXPECT_EQ(size, 11u) << name;
            EXPECT_FALSE(copied);
            EXPECT_FALSE(IsLoaded(path)) << name;
        }
    }
    const std::string text = Put("notes.txt", "not a module");
    for (const std::string& file : {text, Path("missing.so")}) {
        unsigned int code = 0;
        EXPECT_EQ(ResourceManager::LoadResource(file.c_str(), "LOGO", "BIN", code, nullptr),
                  nullptr);
        EXPECT_EQ(code, 10u) << file;
    }
}

TEST_F(Resources, TheCurrentModuleIsTheProgramUnlessTheHostNamesAnother) {
    ASSERT_EQ(m_program, GetModuleHandleA(nullptr));
    unsigned int size = 0;
    bool copied = true;
    const unsigned char* data =
        ResourceManager::LoadResource(nullptr, "GREETING", "TEXT", size, &copied);
    EXPECT_EQ(Bytes(data, size), Get(PLINTH_GREETING));
    EXPECT_TRUE(copied); // left alone
    RtBlob blob;
    ResourceManager manager;
    ASSERT_TRUE(manager.LoadResource("GREETING", "TEXT", blob));
    EXPECT_NE(blob.m_pData, data); // a buffer of its own
    EXPECT_EQ(Bytes(blob.m_pData, blob.m_nSize), Get(PLINTH_GREETING));
    blob.Delete();

    const std::string path = CopyModule();
    const Loaded loaded(path);
    AfxGetModuleState()->m_hCurrentInstanceHandle = GetModuleHandleA(path.c_str());
    data = ResourceManager::LoadResource("LOGO", "BIN", size);
    EXPECT_EQ(Bytes(data, size), Embedded("logo.bin"));

    // A module whose path does not fit the 260-character buffer, and one whose file is gone.
    std::string deep = m_dir;
    while (deep.size() < 300) {
        deep += "/directory-name-for-a-long-path";
    }
    std::filesystem::create_directories(deep);
    std::filesystem::copy_file(path, deep + "/module.so");
    const Loaded far(deep + "/module.so");
    const std::string gonePath = CopyModule("gone.so");
    const Loaded gone(gonePath);
    std::filesystem::remove(gonePath);
    const struct {
        HINSTANCE instance;
        unsigned int code;
    } failures[] = {
        {nullptr, 1},
        {static_cast<char*>(GetModuleHandleA(path.c_str())) + 1, 2}, // not a module's handle
        {GetModuleHandleA((deep + "/module.so").c_str()), 2},        // would be cut off
        {GetModuleHandleA("gone.so"), 3},
    };
    for (const auto& f : failures) {
        AfxGetModuleState()->m_hCurrentInstanceHandle = f.instance;
        EXPECT_EQ(ResourceManager::LoadResource("LOGO", "BIN", size), nullptr) << f.code;
        EXPECT_EQ(size, f.code);
        blob.Set("kept");
        EXPECT_FALSE(manager.LoadResource("LOGO", "BIN", blob));
        EXPECT_EQ(Bytes(blob.m_pData, blob.m_nSize), std::string("kept", 5)); // unchanged
        blob.Delete();
    }
    EXPECT_FALSE(manager.LoadResource(nullptr, "BIN", blob));
    EXPECT_FALSE(manager.LoadResource("LOGO", nullptr, blob));
}

TEST_F(Resources, UpdatesReplaceOneResourceAndFailuresChangeNothing) {
    const std::string path = CopyModule();
    RtBlob blob;
    blob.Set("new logo");
    ASSERT_TRUE(ResourceManager::UpdateResourceA(path.c_str(), "logo", "bin", blob));
    unsigned int size = 0;
    bool copied = false;
    std::unique_ptr<unsigned char[]> data(
        ResourceManager::LoadResource(path.c_str(), "LOGO", "BIN", size, &copied));
    EXPECT_EQ(Bytes(data.get(), size), std::string("new logo", 9));
    data.reset(ResourceManager::LoadResource(path.c_str(), "#7", "#10", size, &copied));
    EXPECT_EQ(Bytes(data.get(), size), Embedded("numbered.bin")); // the others stay

    // An empty blob stores an empty resource rather than removing one.
    RtBlob empty;
    ASSERT_TRUE(ResourceManager::UpdateResourceA(path.c_str(), "LOGO", "BIN", empty));
    EXPECT_EQ(ResourceManager::LoadResource(path.c_str(), "LOGO", "BIN", size, &copied), nullptr);
    EXPECT_EQ(size, 11u);
    {
        const Loaded loaded(path);
        HMODULE module = GetModuleHandleA(path.c_str());
        EXPECT_EQ(SizeofResource(module, FindResourceA(module, "LOGO", "BIN")), 0u);
        // A loaded module keeps its bytes, and runs, while its file is updated.
        const unsigned char* held = ResourceManager::LoadResource(module, "#7", "#10", size);
        ASSERT_TRUE(ResourceManager::UpdateResourceA(path.c_str(), "#7", "#10", blob));
        EXPECT_EQ(Bytes(held, size), Embedded("numbered.bin"));
        auto* answer = reinterpret_cast<int (*)()>(::dlsym(loaded.handle, "plinth_fixture_answer"));
        ASSERT_NE(answer, nullptr);
        EXPECT_EQ(answer(), 42);
    }

    const std::string before = Get(path);
    const std::string text = Put("notes.txt", "not a module");
    EXPECT_FALSE(ResourceManager::UpdateResourceA(Path("missing.so").c_str(), "LOGO", "BIN", blob));
    EXPECT_FALSE(ResourceManager::UpdateResourceA(text.c_str(), "LOGO", "BIN", blob));
    EXPECT_FALSE(
        ResourceManager::UpdateResourceA(path.c_str(), "#70000", "BIN", blob)); // adding fails
    EXPECT_EQ(Get(text), "not a module");
    EXPECT_EQ(Get(path), before);
    ASSERT_EQ(::chmod(m_dir.c_str(), 0555), 0);
    EXPECT_TRUE(AsUnprivileged(
        [&] { return !ResourceManager::UpdateResourceA(path.c_str(), "LOGO", "BIN", blob); }));
    EXPECT_EQ(Get(path), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_dir), {}), 2); // no leftovers
    blob.Delete();
}

} // namespace
