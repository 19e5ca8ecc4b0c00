#include "plinth/platform/archive.h"
#include "plinth/platform/exceptions.h"
#include "plinth/platform/file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

using namespace plinth;

namespace {

// Each test works in a directory of its own; `m_path` names a file in it.
class File : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(::mkdtemp(m_dir.data()), nullptr);
        m_path = m_dir + "/f";
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    static void Put(const std::string& path, const std::string& text) {
        std::ofstream(path, std::ios::binary) << text;
    }
    static std::string Get(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    // The cause with which opening fails, or -1 when it succeeds.
    static int OpenCause(CFile& file, const std::string& path, unsigned flags) {
        CFileException error;
        return file.Open(path.c_str(), flags, &error) != 0 ? -1 : error.m_cause;
    }

    // The cause of the file exception that `action` raises, or -1 when it raises none.
    static int CauseOf(const std::function<void()>& action) {
        try {
            action();
        } catch (const CFileException& e) {
            return e.m_cause;
        }
        return -1;
    }

    std::string m_dir = (std::filesystem::temp_directory_path() / "plinth-file-XXXXXX").string();
    std::string m_path;
};

} // namespace

TEST_F(File, OpenFailuresReportTheirCause) {
    const std::string missing = m_dir + "/missing";
    CFile file;
    CFileException error;
    EXPECT_EQ(file.Open(missing.c_str(), CFile::modeWrite, &error), 0);
    EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
    EXPECT_EQ(error.m_lOsError, ENOENT);
    EXPECT_EQ(error.m_strFileName, missing.c_str());
    EXPECT_EQ(CauseOf([&] { CFile(missing.c_str(), CFile::modeRead); }),
              CFileException::fileNotFound);

    Put(m_path, "x");
    EXPECT_EQ(OpenCause(file, m_path + "/below", CFile::modeRead), CFileException::badPath);
    EXPECT_EQ(OpenCause(file, m_dir, CFile::modeRead), CFileException::accessDenied);
    EXPECT_EQ(OpenCause(file, m_path, 3), CFileException::genericException);
    if (::geteuid() != 0) { // permissions do not bind the superuser
        ::chmod(m_path.c_str(), 0);
        EXPECT_EQ(OpenCause(file, m_path, CFile::modeRead), CFileException::accessDenied);
        ::chmod(m_path.c_str(), 0644);
    }

    // An open file stays as it is when asked to open another.
    ASSERT_EQ(OpenCause(file, m_path, CFile::modeRead), -1);
    EXPECT_EQ(OpenCause(file, missing, CFile::modeCreate | CFile::modeWrite),
              CFileException::genericException);
    EXPECT_EQ(file.GetFileName(), "f");
    EXPECT_FALSE(std::filesystem::exists(missing));
}

TEST_F(File, CreateEmptiesAnExistingFileUnlessNoTruncateIsGiven) {
    Put(m_path, "abcdef");
    CFile(m_path.c_str(), CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite)
        .Write("XY", 2);
    EXPECT_EQ(Get(m_path), "XYcdef");
    CFile(m_path.c_str(), CFile::modeCreate | CFile::modeWrite).Write("XY", 2);
    EXPECT_EQ(Get(m_path), "XY");
}

TEST_F(File, ReadsWritesSeeksAndSetsTheLength) {
    CFile file(m_path.c_str(), CFile::modeCreate | CFile::modeReadWrite);
    EXPECT_EQ(file.GetFilePath(), std::filesystem::canonical(m_path).c_str());
    EXPECT_EQ(CArchive(&file, CArchive::load).m_strFileName, file.GetFilePath()); // for errors
    file.Write("0123456789", 10);
    EXPECT_EQ(file.GetLength(), 10U);
    char buf[16] = {};
    file.SeekToBegin();
    EXPECT_EQ(file.Read(buf, 4), 4U);
    EXPECT_EQ(std::string(buf, 4), "0123");
    EXPECT_EQ(file.Seek(-2, CFile::end), 8U);
    EXPECT_EQ(file.Read(buf, 16), 2U); // short only at the end
    EXPECT_EQ(CauseOf([&] { file.Seek(-1, CFile::begin); }), CFileException::badSeek);
    EXPECT_EQ(file.GetPosition(), 10U);
    file.SetLength(4);
    EXPECT_EQ(file.GetPosition(), 4U);
    file.SetLength(6);
    file.Close();
    EXPECT_EQ(Get(m_path), std::string("0123\0\0", 6));
    file.Close(); // closing twice does nothing

    CFile reader(m_path.c_str(), CFile::modeRead);
    EXPECT_EQ(CauseOf([&] { reader.Write("x", 1); }), CFileException::invalidFile); // EBADF
    EXPECT_THROW(reader.Read(nullptr, 1), CInvalidArgException);
}

TEST_F(File, ShareModesKeepOutConflictingOpeners) {
    Put(m_path, "abc");
    {
        CFile exclusive(m_path.c_str(), CFile::modeWrite | CFile::shareExclusive);
        CFile other;
        EXPECT_EQ(OpenCause(other, m_path, CFile::modeRead), CFileException::sharingViolation);
        // A truncating open that is refused leaves the bytes alone.
        EXPECT_EQ(
            OpenCause(other, m_path, CFile::modeCreate | CFile::modeWrite | CFile::shareDenyRead),
            CFileException::sharingViolation);
        EXPECT_EQ(OpenCause(other, m_path, CFile::modeRead | CFile::shareDenyNone), -1);
    }
    EXPECT_EQ(Get(m_path), "abc");
    CFile reader1(m_path.c_str(), CFile::modeRead | CFile::shareDenyWrite);
    CFile reader2(m_path.c_str(), CFile::modeRead | CFile::shareDenyWrite);
    CFile writer;
    const unsigned write = CFile::modeWrite | CFile::shareDenyWrite;
    EXPECT_EQ(OpenCause(writer, m_path, write), CFileException::sharingViolation);
    reader1.Close();
    reader2.Abort();
    EXPECT_EQ(OpenCause(writer, m_path, write), -1);
}

TEST_F(File, StatusAndRemoval) {
    CFileStatus status;
    EXPECT_EQ(CFile::GetStatus(m_path.c_str(), status), 0);
    Put(m_path, "abcd");
    ASSERT_NE(CFile::GetStatus(m_path.c_str(), status), 0);
    EXPECT_EQ(status.m_size, 4U);
    EXPECT_EQ(status.m_attribute, CFile::normal);
    EXPECT_STREQ(status.m_szFullName, std::filesystem::canonical(m_path).c_str());
    ASSERT_NE(CFile::GetStatus(m_dir.c_str(), status), 0);
    EXPECT_EQ(status.m_attribute, CFile::directory);

    CFile::Remove(m_path.c_str());
    EXPECT_FALSE(std::filesystem::exists(m_path));
    EXPECT_EQ(CauseOf([&] { CFile::Remove(m_path.c_str()); }), CFileException::fileNotFound);
}
