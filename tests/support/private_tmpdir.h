#pragma once

// A temporary directory of the test's own, named by TMPDIR while the test runs, for tests of
// the files the library makes there.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace plinth::testing {

class PrivateTmpDir : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(::mkdtemp(m_dir.data()), nullptr);
        if (const char* old = std::getenv("TMPDIR")) {
            m_old = old;
        }
        ::setenv("TMPDIR", m_dir.c_str(), 1);
    }
    void TearDown() override {
        if (m_old) {
            ::setenv("TMPDIR", m_old->c_str(), 1);
        } else {
            ::unsetenv("TMPDIR");
        }
        std::filesystem::remove_all(m_dir);
    }

    // The names of the files in the directory.
    std::vector<std::string> Files() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(m_dir)) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }

    std::string m_dir = (std::filesystem::temp_directory_path() / "plinth-tmp-XXXXXX").string();
    std::optional<std::string> m_old;
};

} // namespace plinth::testing
