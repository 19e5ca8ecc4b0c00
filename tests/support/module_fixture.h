#pragma once

// A scratch directory for tests of module resources, with copies of the tests' own module
// (tests/support/CMakeLists.txt lists its resources). Tests write only into copies.

#include <gtest/gtest.h>

#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

class ModuleFiles : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(::mkdtemp(m_dir.data()), nullptr);
        ::chmod(m_dir.c_str(), 0755); // readable by the unprivileged child of AsUnprivileged
    }
    void TearDown() override {
        ::chmod(m_dir.c_str(), 0755);
        std::filesystem::remove_all(m_dir);
    }

    std::string Path(const std::string& name) const { return m_dir + "/" + name; }

    // A fresh copy of the module under that name.
    std::string CopyModule(const std::string& name = "module.so") const {
        const std::string path = Path(name);
        std::filesystem::copy_file(PLINTH_FIXTURE_MODULE, path,
                                   std::filesystem::copy_options::overwrite_existing);
        return path;
    }

    std::string Put(const std::string& name, const std::string& bytes) const {
        const std::string path = Path(name);
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    static std::string Get(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    // The bytes of one of the files embedded in the module.
    static std::string Embedded(const std::string& file) {
        return Get(std::string(PLINTH_FIXTURE_DATA) + "/" + file);
    }

    // Whether the loader has the module loaded (asked without loading it).
    static bool IsLoaded(const std::string& path) {
        void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
        if (handle != nullptr) {
            ::dlclose(handle);
        }
        return handle != nullptr;
    }

    // Runs the check with no power to override file permissions: in a child process that
    // gives up root when the tests run as root. True when the check returned true.
    template <class Check>
    static bool AsUnprivileged(Check check) {
        if (::geteuid() != 0) {
            return check();
        }
        const pid_t child = ::fork();
        if (child == 0) {
            const bool ok = ::setresgid(65534, 65534, 65534) == 0 &&
                            ::setresuid(65534, 65534, 65534) == 0 && check();
            ::_exit(ok ? 0 : 1);
        }
        int status = 0;
        return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) &&
               WEXITSTATUS(status) == 0;
    }

    std::string m_dir = ::testing::TempDir() + "plinth-resources-XXXXXX";
};
