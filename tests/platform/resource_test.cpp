#include "support/module_fixture.h"

#include "plinth/platform/resource.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

using namespace plinth;

namespace {

using ResourceFiles = ModuleFiles;

// The resource's bytes; "<none>" when it is not found.
std::string Bytes(HMODULE module, LPCSTR type, LPCSTR name) {
    HRSRC found = FindResourceA(module, name, type);
    if (found == nullptr) {
        return "<none>";
    }
    const auto* data = static_cast<const char*>(LockResource(LoadResource(module, found)));
    return data == nullptr ? std::string() : std::string(data, SizeofResource(module, found));
}

// A module opened for its resources, released at the end of the scope.
struct DataFile {
    explicit DataFile(const std::string& path)
        : module(LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}
    ~DataFile() { FreeLibrary(module); }
    std::string Bytes(LPCSTR type, LPCSTR name) const { return ::Bytes(module, type, name); }
    HMODULE module;
};

// Changes one resource of a module file; false when any step fails.
bool Store(const std::string& path, LPCSTR type, LPCSTR name, WORD language,
           const std::string& bytes, bool remove = false) {
    HANDLE update = BeginUpdateResourceA(path.c_str(), 0);
    if (update == nullptr) {
        return false;
    }
    std::string copy = bytes;
    if (UpdateResourceA(update, type, name, language, remove ? nullptr : copy.data(),
                        static_cast<DWORD>(copy.size())) == 0) {
        EndUpdateResourceA(update, 1);
        return false;
    }
    return EndUpdateResourceA(update, 0) != 0;
}

// Offset of the resource section's table in a module file's bytes.
std::size_t SectionAt(const std::string& bytes) {
    return bytes.find(std::string("PLRS\x01\0\0\0", 8));
}

void PutU32(std::string& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<char>(value >> (8 * i));
    }
}

TEST_F(ResourceFiles, IdentifiersFollowTheNamingRules) {
    const DataFile module(CopyModule());
    ASSERT_NE(module.module, nullptr);
    const std::string logo = Embedded("logo.bin");
    const std::string seven = Embedded("numbered.bin");
    // Texts ignore ASCII case; "#n" is a number, "n" a text.
    const struct {
        LPCSTR type, name;
        std::string expected;
    } cases[] = {{"BIN", "LOGO", logo},
                 {"bin", "Logo", logo},
                 {"#10", "#7", seven},
                 {MAKEINTRESOURCEA(10), MAKEINTRESOURCEA(7), seven},
                 {"#010", MAKEINTRESOURCEA(7), seven},
                 {"10", "7", "<none>"},
                 {"#10", "#8", "<none>"},
                 {"#", "#7", "<none>"},
                 {"#65536", "#7", "<none>"},
                 {"#1x", "#7", "<none>"},
                 {"", "LOGO", "<none>"},
                 {nullptr, "LOGO", "<none>"},
                 {"BIN", "EMPTY", ""}};
    for (const auto& c : cases) {
        EXPECT_EQ(module.Bytes(c.type, c.name), c.expected)
            << (IS_INTRESOURCE(c.type) ? "#int" : c.type) << " "
            << (IS_INTRESOURCE(c.name) ? "#int" : c.name);
    }
    HRSRC empty = FindResourceA(module.module, "EMPTY", "BIN");
    ASSERT_NE(LoadResource(module.module, empty), nullptr);
    EXPECT_EQ(LockResource(LoadResource(module.module, empty)), nullptr);
    EXPECT_EQ(SizeofResource(module.module, empty), 0u);
    // A resource of one module is not one of another's.
    const DataFile other(CopyModule("other.so"));
    EXPECT_EQ(LoadResource(other.module, empty), nullptr);
    EXPECT_EQ(SizeofResource(other.module, empty), 0u);
}

// Walk callbacks note what they see in the vector that `param` points at.
BOOL Note(LONG_PTR param, const std::string& what) {
    reinterpret_cast<std::vector<std::string>*>(param)->push_back(what);
    return 1;
}
std::string Show(LPCSTR id) {
    return IS_INTRESOURCE(id) ? "#" + std::to_string(reinterpret_cast<UINT_PTR>(id)) : id;
}

TEST_F(ResourceFiles, WalksListEachIdentifierOnceTextsFirst) {
    const std::string path = CopyModule();
    ASSERT_TRUE(Store(path, "BIN", "LOGO", 0, "neutral"));
    const DataFile module(path);
    std::vector<std::string> seen;
    const auto p = reinterpret_cast<LONG_PTR>(&seen);
    const auto type = [](HMODULE, LPSTR id, LONG_PTR q) { return Note(q, Show(id)); };
    const auto name = [](HMODULE, LPCSTR, LPSTR id, LONG_PTR q) { return Note(q, Show(id)); };
    const auto language = [](HMODULE, LPCSTR, LPCSTR, WORD id, LONG_PTR q) {
        return Note(q, std::to_string(id));
    };
    EXPECT_TRUE(EnumResourceTypesA(module.module, type, p));
    EXPECT_TRUE(EnumResourceNamesA(module.module, "BIN", name, p));
    EXPECT_TRUE(EnumResourceLanguagesA(module.module, "bin", "logo", language, p));
    EXPECT_EQ(seen, (std::vector<std::string>{"BIN", "#10", "EMPTY", "LOGO", "0", "1033"}));
    // A callback that stops the walk, and a walk with nothing to walk.
    const auto stop = [](HMODULE, LPSTR, LONG_PTR) { return 0; };
    EXPECT_FALSE(EnumResourceTypesA(module.module, stop, 0));
    EXPECT_FALSE(EnumResourceNamesA(module.module, "NONE", name, p));
}

TEST_F(ResourceFiles, LanguagesAreKeptApartAndNeutralIsPreferred) {
    const std::string path = CopyModule();
    ASSERT_TRUE(Store(path, "BIN", "LOGO", 1031, "de"));
    EXPECT_EQ(DataFile(path).Bytes("BIN", "LOGO"), Embedded("logo.bin")); // 1033 before 1031
    ASSERT_TRUE(Store(path, "BIN", "LOGO", 0, "neutral"));
    EXPECT_EQ(DataFile(path).Bytes("BIN", "LOGO"), "neutral");
    ASSERT_TRUE(Store(path, "BIN", "LOGO", 0, "", true));
    ASSERT_TRUE(Store(path, "BIN", "LOGO", 1033, "", true));
    EXPECT_EQ(DataFile(path).Bytes("BIN", "LOGO"), "de"); // the only one left
    const DataFile module(path);
    EXPECT_EQ(FindResourceExA(module.module, "BIN", "LOGO", 1033), nullptr);
    EXPECT_NE(FindResourceExA(module.module, "BIN", "LOGO", 1031), nullptr);
}

TEST_F(ResourceFiles, UpdatesReplaceOneResourceAndKeepTheOthersAndTheCode) {
    const std::string path = CopyModule();
    ASSERT_TRUE(Store(path, "BIN", "LOGO", 1033, "new logo"));
    const auto size = std::filesystem::file_size(path);
    ASSERT_TRUE(Store(path, "bin", "logo", 1033, "old logo")); // same size: the file keeps its size
    EXPECT_EQ(std::filesystem::file_size(path), size);
    ASSERT_TRUE(Store(path, "TEXT", "#300", 1033, "added"));
    {
        const DataFile module(path);
        EXPECT_EQ(module.Bytes("BIN", "LOGO"), "old logo");
        EXPECT_EQ(module.Bytes("#10", "#7"), Embedded("numbered.bin"));
        EXPECT_EQ(module.Bytes("BIN", "EMPTY"), "");
        EXPECT_EQ(module.Bytes("TEXT", MAKEINTRESOURCEA(300)), "added");
    }
    // The rewritten module still loads and runs.
    void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle, nullptr) << ::dlerror();
    auto* answer = reinterpret_cast<int (*)()>(::dlsym(handle, "plinth_fixture_answer"));
    ASSERT_NE(answer, nullptr);
    EXPECT_EQ(answer(), 42);
    ::dlclose(handle);
    // Starting over drops the old resources.
    HANDLE update = BeginUpdateResourceA(path.c_str(), 1);
    ASSERT_NE(update, nullptr);
    ASSERT_TRUE(EndUpdateResourceA(update, 0));
    EXPECT_EQ(DataFile(path).Bytes("BIN", "LOGO"), "<none>");
}

TEST_F(ResourceFiles, FailedUpdatesLeaveTheFileAsItWas) {
    const std::string text = Put("notes.txt", "not a module");
    const std::string module = CopyModule();
    const std::string original = Get(module);

    for (const auto& [file, error] : {std::pair{Path("missing.so"), ENOENT}, {text, ENOEXEC}}) {
        EXPECT_EQ(BeginUpdateResourceA(file.c_str(), 0), nullptr);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(error)) << file;
    }
    EXPECT_EQ(BeginUpdateResourceA(m_dir.c_str(), 0), nullptr);
    EXPECT_EQ(Get(text), "not a module");

    // Bad identifiers and arguments are refused before anything is written.
    HANDLE update = BeginUpdateResourceA(module.c_str(), 0);
    ASSERT_NE(update, nullptr);
    char byte = 'x';
    EXPECT_FALSE(UpdateResourceA(update, "#70000", "A", 1033, &byte, 1));
    EXPECT_FALSE(UpdateResourceA(update, "BIN", "", 1033, &byte, 1));
    EXPECT_FALSE(UpdateResourceA(update, "BIN", "A", 1033, nullptr, 1));
    EXPECT_FALSE(UpdateResourceA(nullptr, "BIN", "A", 1033, &byte, 1));
    ASSERT_TRUE(UpdateResourceA(update, "BIN", "A", 1033, &byte, 1));
    EXPECT_TRUE(EndUpdateResourceA(update, 1)); // discarded
    EXPECT_EQ(Get(module), original);

    // The file turned into something else between the start and the end of the update.
    update = BeginUpdateResourceA(module.c_str(), 0);
    ASSERT_NE(update, nullptr);
    ASSERT_TRUE(UpdateResourceA(update, "BIN", "A", 1033, &byte, 1));
    std::filesystem::copy_file(text, module, std::filesystem::copy_options::overwrite_existing);
    EXPECT_FALSE(EndUpdateResourceA(update, 0));
    EXPECT_EQ(Get(module), "not a module");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_dir), {}), 2); // no leftovers

    // A directory that takes no new files: the new file cannot be written beside the old.
    const std::string kept = CopyModule("kept.so");
    ASSERT_EQ(::chmod(m_dir.c_str(), 0555), 0);
    EXPECT_TRUE(AsUnprivileged([&] {
        HANDLE h = BeginUpdateResourceA(kept.c_str(), 0);
        return h != nullptr && UpdateResourceA(h, "BIN", "A", 1033, &byte, 1) &&
               !EndUpdateResourceA(h, 0) && GetLastError() == static_cast<DWORD>(EACCES);
    }));
    EXPECT_EQ(Get(kept), original);
}

TEST_F(ResourceFiles, DamagedSectionsHaveNoResourcesAndNothingOutsideIsRead) {
    const std::string good = Get(CopyModule());
    const std::size_t at = SectionAt(good);
    ASSERT_NE(at, std::string::npos);
    const std::uint32_t tableSize =
        static_cast<std::uint8_t>(good[at + 12]) | static_cast<std::uint8_t>(good[at + 13]) << 8;
    const std::pair<const char*, std::function<void(std::string&)>> damages[] = {
        {"magic", [&](std::string& b) { b[at] = 'X'; }},
        {"format", [&](std::string& b) { PutU32(b, at + 4, 2); }},
        {"count", [&](std::string& b) { PutU32(b, at + 8, 0xFFFFFFFF); }},
        {"table size", [&](std::string& b) { PutU32(b, at + 12, 0x7FFFFFFF); }},
        {"short table", [&](std::string& b) { PutU32(b, at + 12, 20); }},
        {"text offset", [&](std::string& b) { PutU32(b, at + 16, 0x80000000u | 0x7FFFFFF0u); }},
        {"integer", [&](std::string& b) { PutU32(b, at + 16, 0x10000); }},
        {"language", [&](std::string& b) { PutU32(b, at + 24, 0x10000); }},
        {"data offset", [&](std::string& b) { PutU32(b, at + 28, 0xFFFFFFF0u); }},
        {"data in table", [&](std::string& b) { PutU32(b, at + 28, 4); }},
        {"data size", [&](std::string& b) { PutU32(b, at + 32, 0xFFFFFF); }},
        {"unterminated",
         [&](std::string& b) { std::memset(&b[at + 16 + 3 * 20], 'A', tableSize - 16 - 3 * 20); }},
    };
    for (const auto& [what, damage] : damages) {
        std::string bytes = good;
        damage(bytes);
        const std::string path = Put("damaged.so", bytes);
        {
            const DataFile module(path);
            ASSERT_NE(module.module, nullptr) << what;
            EXPECT_EQ(module.Bytes("BIN", "LOGO"), "<none>") << what;
            EXPECT_EQ(module.Bytes("#10", "#7"), "<none>") << what;
        }
        EXPECT_EQ(BeginUpdateResourceA(path.c_str(), 0), nullptr) << what;
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(EBADMSG)) << what;
        HANDLE fresh = BeginUpdateResourceA(path.c_str(), 1); // starting over repairs it
        ASSERT_NE(fresh, nullptr) << what;
        char byte = 'r';
        ASSERT_TRUE(UpdateResourceA(fresh, "BIN", "LOGO", 1033, &byte, 1));
        ASSERT_TRUE(EndUpdateResourceA(fresh, 0)) << what;
        EXPECT_EQ(DataFile(path).Bytes("BIN", "LOGO"), "r") << what;
    }
    // Random damage anywhere in the section: whatever is found lies inside the section.
    std::mt19937 random(13);
    const std::size_t sectionSize = good.size() - at; // an upper bound
    for (int round = 0; round < 200; ++round) {
        std::string bytes = good;
        for (int flips = 0; flips < 4; ++flips) {
            bytes[at + random() % std::min<std::size_t>(sectionSize, tableSize + 32)] ^=
                static_cast<char>(1u << (random() % 8));
        }
        const DataFile module(Put("random.so", bytes));
        for (LPCSTR name : {"LOGO", "EMPTY"}) {
            HRSRC found = FindResourceA(module.module, name, "BIN");
            if (const auto* data =
                    static_cast<const char*>(LockResource(LoadResource(module.module, found)))) {
                const std::string copy(data, SizeofResource(module.module, found)); // read it all
                EXPECT_LE(copy.size(), sectionSize);
            }
        }
    }
    // A file cut short inside the section loses its section table: not a module any more.
    const std::string cut = Put("cut.so", good.substr(0, at + 20));
    EXPECT_EQ(LoadLibraryExA(cut.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE), nullptr);
    // Cut short after the lookup: loading fails rather than reading past the end.
    const std::string path = CopyModule();
    const DataFile module(path);
    HRSRC found = FindResourceA(module.module, "LOGO", "BIN");
    ASSERT_EQ(::truncate(path.c_str(), static_cast<off_t>(at)), 0);
    EXPECT_EQ(LoadResource(module.module, found), nullptr);
}

TEST_F(ResourceFiles, ModulesAreFoundByPathAndByFileName) {
    const std::string path = CopyModule("found.so");
    void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle, nullptr);
    Dl_info info{};
    ASSERT_NE(::dladdr(::dlsym(handle, "plinth_fixture_answer"), &info), 0);
    HMODULE module = info.dli_fbase;
    EXPECT_EQ(GetModuleHandleA(path.c_str()), module);
    EXPECT_EQ(GetModuleHandleA((m_dir + "/./../" +
                                std::filesystem::path(m_dir).filename().string() + "/found.so")
                                   .c_str()),
              module);
    EXPECT_EQ(GetModuleHandleA("found.so"), module);
    EXPECT_EQ(GetModuleHandleA("found"), nullptr);

    char name[4096];
    EXPECT_EQ(GetModuleFileNameA(module, name, sizeof name), path.size());
    EXPECT_EQ(name, path);
    EXPECT_EQ(GetModuleFileNameA(module, name, 5), 5u); // cut short, and said so
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(std::string(name), path.substr(0, 4));
    const std::string exe = std::filesystem::read_symlink("/proc/self/exe");
    EXPECT_EQ(GetModuleHandleA(nullptr), GetModuleHandleA(exe.c_str()));
    EXPECT_EQ(GetModuleFileNameA(nullptr, name, sizeof name), exe.size());
    EXPECT_EQ(GetModuleFileNameA(static_cast<char*>(module) + 1, name, sizeof name), 0u);

    ::dlclose(handle);
    EXPECT_EQ(GetModuleHandleA(path.c_str()), nullptr);
}

TEST_F(ResourceFiles, LoadsAreCountedAndTheLastReleaseUnloads) {
    const std::string path = CopyModule();
    HMODULE first = LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(LoadLibraryExA(path.c_str(), nullptr, 0), first);
    EXPECT_EQ(GetModuleHandleA(path.c_str()), first);
    EXPECT_TRUE(FreeLibrary(first));
    EXPECT_TRUE(IsLoaded(path));
    EXPECT_TRUE(FreeLibrary(first));
    EXPECT_FALSE(IsLoaded(path));
    EXPECT_FALSE(FreeLibrary(first));
    EXPECT_FALSE(FreeLibrary(GetModuleHandleA(nullptr))); // not loaded through LoadLibraryExA

    const std::string text = Put("notes.txt", "not a module");
    const struct {
        std::string file;
        DWORD flags;
        DWORD error;
    } failures[] = {
        {Path("missing.so"), 0, ENOENT},
        {Path("missing.so"), LOAD_LIBRARY_AS_DATAFILE, ENOENT},
        {text, LOAD_WITH_ALTERED_SEARCH_PATH, ENOEXEC},
        {text, LOAD_LIBRARY_AS_DATAFILE, ENOEXEC},
        {path, 0x10, ERROR_INVALID_PARAMETER},
    };
    for (const auto& f : failures) {
        SetLastError(0);
        EXPECT_EQ(LoadLibraryExA(f.file.c_str(), nullptr, f.flags), nullptr)
            << f.file << " " << f.flags;
        EXPECT_EQ(GetLastError(), f.error) << f.file << " " << f.flags;
    }
    // An executable can be opened for its resources, though not loaded.
    const DataFile exe(std::filesystem::read_symlink("/proc/self/exe"));
    ASSERT_NE(exe.module, nullptr);
    EXPECT_EQ(exe.Bytes("BIN", "LOGO"), "<none>");
}

// The module registry is the one piece of state the library shares between threads: loads,
// lookups and releases of one module from several threads agree and count correctly.
TEST_F(ResourceFiles, ConcurrentLoadsAndLookupsShareOneModuleRecord) {
    const std::string path = CopyModule();
    const std::string logo = Embedded("logo.bin");
    HMODULE held = LoadLibraryExA(path.c_str(), nullptr, 0);
    ASSERT_NE(held, nullptr);
    std::vector<int> agreed(4, 0);
    std::vector<std::thread> threads;
    for (std::size_t t = 0; t < agreed.size(); ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 50; ++i) {
                HMODULE mine = LoadLibraryExA(path.c_str(), nullptr, 0);
                agreed[t] += mine == held && Bytes(mine, "BIN", "LOGO") == logo;
                FreeLibrary(mine);
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(agreed, std::vector<int>(agreed.size(), 50));
    EXPECT_EQ(Bytes(held, "BIN", "LOGO"), logo);
    EXPECT_TRUE(FreeLibrary(held));
    EXPECT_FALSE(IsLoaded(path));
}

} // namespace
