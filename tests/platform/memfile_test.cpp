#include "plinth/platform/exceptions.h"
#include "plinth/platform/memfile.h"

#include <gtest/gtest.h>

#include <string>

using namespace plinth;

TEST(MemFile, GrowsAsItIsWrittenAndReadsBackTheBytes) {
    CMemFile file(16);
    std::string expected;
    for (int k = 0; k < 300; ++k) {
        const std::string piece = std::to_string(k) + ",";
        file.Write(piece.data(), static_cast<UINT>(piece.size()));
        expected += piece;
    }
    std::string read(expected.size() + 10, '\0');
    file.SeekToBegin();
    EXPECT_EQ(file.Read(read.data(), static_cast<UINT>(read.size())), expected.size());
    EXPECT_EQ(read.substr(0, expected.size()), expected);
    EXPECT_EQ(file.Open("x", CFile::modeRead), 0);
}

TEST(MemFile, SeeksAndSetsTheLengthWithZeroFill) {
    CMemFile file;
    file.Write("abc", 3);
    EXPECT_EQ(file.Seek(2, CFile::end), 5U);
    char ch = 'x';
    EXPECT_EQ(file.Read(&ch, 1), 0U); // past the end
    file.Write("d", 1);
    char all[6] = {};
    file.SeekToBegin();
    EXPECT_EQ(file.Read(all, 6), 6U);
    EXPECT_EQ(std::string(all, 6), std::string("abc\0\0d", 6));
    EXPECT_THROW(file.Seek(-7, CFile::current), CFileException);
    EXPECT_EQ(file.GetPosition(), 6U);
    file.SetLength(2);
    EXPECT_EQ(file.GetPosition(), 2U);
    file.SetLength(4);
    file.SeekToBegin();
    EXPECT_EQ(file.Read(all, 6), 4U);
    EXPECT_EQ(std::string(all, 4), std::string("ab\0\0", 4));
}

TEST(MemFile, AttachedBuffersStayTheCallers) {
    BYTE fixed[4] = {1, 2, 3, 4};
    CMemFile file(fixed, 4); // cannot grow: holds the four bytes
    EXPECT_EQ(file.GetLength(), 4U);
    file.Seek(1, CFile::begin);
    file.Write("\x09", 1);
    EXPECT_EQ(fixed[1], 9);
    EXPECT_THROW(file.Write("abcd", 4), CMemoryException);
    EXPECT_EQ(file.GetLength(), 4U);
    EXPECT_EQ(file.Detach(), fixed);
    EXPECT_EQ(file.GetLength(), 0U);

    BYTE room[4] = {};
    file.Attach(room, 4, 8); // grows: starts empty inside the buffer
    EXPECT_EQ(file.GetLength(), 0U);
    file.Write("ab", 2);
    EXPECT_EQ(room[1], 'b');
    file.Write("cdef", 4);
    BYTE* own = file.Detach();
    ASSERT_NE(own, room);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(own), 6), "abcdef");
    delete[] own;
    EXPECT_THROW(file.Attach(nullptr, 1), CInvalidArgException);
}
