#include "plinth/platform/cstring.h"
#include "plinth/platform/exceptions.h"

#include <gtest/gtest.h>

using namespace plinth;

TEST(CString, ConstructsAndConcatenatesTextCharactersAndNull) {
    EXPECT_EQ(CString("abc"), "abc");
    EXPECT_EQ(CString('x', 3), "xxx");
    EXPECT_TRUE(CString(static_cast<const char*>(nullptr)).IsEmpty());
    EXPECT_EQ(CString("abcdef", 2), "ab");
    EXPECT_THROW(CString("abc", -1), CInvalidArgException);

    CString a("ab");
    EXPECT_EQ(a + "c", "abc");
    EXPECT_EQ("z" + a, "zab");
    EXPECT_EQ(a + '!', "ab!");
    EXPECT_EQ('<' + a, "<ab");
    a += static_cast<const char*>(nullptr);
    EXPECT_EQ(a, "ab");
}

TEST(CString, IndexesUpToTheTerminatingZeroForReadingOnly) {
    CString s("ab");
    EXPECT_EQ(s.GetAt(1), 'b');
    EXPECT_EQ(s.GetAt(2), '\0');
    EXPECT_THROW(s.GetAt(3), CInvalidArgException);
    EXPECT_THROW(s.GetAt(-1), CInvalidArgException);
    EXPECT_THROW(s.SetAt(2, 'c'), CInvalidArgException);
    s.SetAt(0, 'z');
    EXPECT_EQ(s, "zb");
}

TEST(CString, FindGivesMinusOneWhenNothingIsFound) {
    CString s("abcabc");
    EXPECT_EQ(s.Find('c'), 2);
    EXPECT_EQ(s.Find('c', 3), 5);
    EXPECT_EQ(s.Find('c', 6), -1);
    EXPECT_EQ(s.Find('c', -1), -1);
    EXPECT_EQ(s.Find('x'), -1);
    EXPECT_EQ(s.Find("ca"), 2);
    EXPECT_EQ(s.Find("bc", 2), 4);
    EXPECT_EQ(s.Find("", 6), 6);
    EXPECT_EQ(s.Find("bc", 7), -1);
    EXPECT_EQ(s.ReverseFind('a'), 3);
    EXPECT_EQ(s.FindOneOf("xc"), 2);
}

TEST(CString, CutsClampTheirArguments) {
    CString s("hello");
    EXPECT_EQ(s.Mid(1, 3), "ell");
    EXPECT_EQ(s.Mid(-2, 2), "he");
    EXPECT_EQ(s.Mid(3, 10), "lo");
    EXPECT_EQ(s.Mid(9), "");
    EXPECT_EQ(s.Left(10), "hello");
    EXPECT_EQ(s.Right(2), "lo");
    EXPECT_EQ(s.Insert(99, '!'), 6);
    EXPECT_EQ(s.Insert(-1, "> "), 8);
    EXPECT_EQ(s, "> hello!");
    EXPECT_EQ(s.Delete(0, 2), 6);
    EXPECT_EQ(s.Delete(5, 10), 5);
    EXPECT_EQ(s.Delete(7), 5);
    EXPECT_EQ(s, "hello");
}

TEST(CString, CompareIsCaseSensitive) {
    CString s("Abc");
    EXPECT_EQ(s.Compare("Abc"), 0);
    EXPECT_NE(s.Compare("abc"), 0);
    EXPECT_LT(s.Compare("Abd"), 0);
}

TEST(CString, FormatFollowsPrintf) {
    CString s;
    s.Format("%d|%5.2f|%s|%x|%%", -7, 3.14159, "t", 255U);
    EXPECT_EQ(s, "-7| 3.14|t|ff|%");
    s.AppendFormat("%03d", 5);
    EXPECT_EQ(s, "-7| 3.14|t|ff|%005");
    CString big;
    big.Format("%600s", "x");
    EXPECT_EQ(big.GetLength(), 600);
}

TEST(CString, BufferAccessSetsTheLengthOnRelease) {
    CString s("abc");
    char* p = s.GetBuffer(10);
    p[3] = 'd';
    p[4] = '\0';
    s.ReleaseBuffer();
    EXPECT_EQ(s, "abcd");
    s.GetBuffer()[0] = 'x';
    s.ReleaseBuffer(2);
    EXPECT_EQ(s, "xb");
    EXPECT_THROW(s.ReleaseBuffer(5), CInvalidArgException);
    EXPECT_EQ(s, "xb");
}
