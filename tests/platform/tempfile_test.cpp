#include "support/private_tmpdir.h"

#include "plinth/platform/tempfile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <sys/stat.h>

using namespace plinth;
using TempFile = plinth::testing::PrivateTmpDir;

TEST_F(TempFile, MakesDistinctOwnerOnlyFilesInTmpDir) {
    ::setenv("TMPDIR", (m_dir + "//").c_str(), 1); // trailing slashes are dropped
    const CString a = CreateTempFile("velBlob");
    ASSERT_FALSE(a.IsEmpty());
    EXPECT_NE(a, CreateTempFile("velBlob"));
    const std::string path(a.GetString());
    EXPECT_EQ(path.rfind(m_dir + "/velBlob", 0), 0u) << path;
    EXPECT_EQ(path.size(), m_dir.size() + 1 + 7 + 6);
    struct stat st {};
    ASSERT_EQ(::stat(a, &st), 0);
    EXPECT_TRUE(S_ISREG(st.st_mode));
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(st.st_size, 0);
    EXPECT_EQ(Files().size(), 2u);
}

TEST_F(TempFile, UnsetOrEmptyTmpDirMeansSlashTmp) {
    ::unsetenv("TMPDIR");
    for (const char* value : {"unset", ""}) {
        const CString path = CreateTempFile("plinthTest");
        ASSERT_FALSE(path.IsEmpty());
        EXPECT_EQ(std::string(path.GetString()).rfind("/tmp/plinthTest", 0), 0u);
        EXPECT_EQ(::unlink(path), 0) << value;
        ::setenv("TMPDIR", "", 1);
    }
}

TEST_F(TempFile, NoFileWhereNoneCanBeMade) {
    std::ofstream(m_dir + "/plain") << "x";
    // As root no directory is unwritable by its permissions: refuse a missing one and a file.
    for (const std::string& dir : {m_dir + "/missing", m_dir + "/plain"}) {
        ::setenv("TMPDIR", dir.c_str(), 1);
        EXPECT_TRUE(CreateTempFile("velBlob").IsEmpty()) << dir;
    }
    ::setenv("TMPDIR", m_dir.c_str(), 1);
    EXPECT_TRUE(CreateTempFile("sub/velBlob").IsEmpty());
    EXPECT_TRUE(CreateTempFile(nullptr).IsEmpty());
    EXPECT_EQ(Files().size(), 1u);
}
