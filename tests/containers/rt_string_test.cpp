#include "plinth/containers/rt_string.h"
#include "plinth/platform/exceptions.h"
#include "plinth/platform/ptr_array.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

using namespace plinth;

TEST(RtString, SkipAndFindOneOfWalkSetsBothWays) {
    const CString s("  ab, c");
    EXPECT_EQ(RtString::Skip(s, 0, " ,"), 2);
    EXPECT_EQ(RtString::Skip(s, 4, " ,"), 6);
    EXPECT_EQ(RtString::Skip(s, 7, " ,"), -1);
    EXPECT_EQ(RtString::Skip(s, 3, nullptr), 0);
    EXPECT_THROW(RtString::Skip(s, -1, " "), CInvalidArgException);

    EXPECT_EQ(RtString::SkipReverse(s, 5, " ,"), 3);
    EXPECT_EQ(RtString::SkipReverse(s, 1, " ,"), -1);
    EXPECT_EQ(RtString::SkipReverse(s, 7, " ,"), -1);
    EXPECT_EQ(RtString::SkipReverse(s, 5, nullptr), 0);

    EXPECT_EQ(RtString::FindOneOf(s, 2, ","), 4);
    EXPECT_EQ(RtString::FindOneOf(s, 5, ","), -1);
    EXPECT_EQ(RtString::FindOneOf(s, 0, static_cast<const char*>(nullptr)), -1);
    EXPECT_EQ(RtString::FindOneOf(s, 7, " "), -1); // the terminator is not found forwards
    EXPECT_EQ(RtString::FindOneOf(s, -1, " "), -1);

    // Backwards, the terminating zero belongs to every set.
    EXPECT_EQ(RtString::ReveseFindOneOf(s, 3, " ,"), 1);
    EXPECT_EQ(RtString::ReveseFindOneOf(s, 7, "x"), 7);
    EXPECT_EQ(RtString::ReveseFindOneOf(s, 100, "x"), 7);
    EXPECT_EQ(RtString::ReveseFindOneOf(s, 6, "x"), -1);
    EXPECT_EQ(RtString::ReveseFindOneOf(s, -1, " "), -1);

    EXPECT_EQ(rtlibReverseFind(s, " ,"), 5);
    EXPECT_EQ(rtlibReverseFind(s, "x"), -1);
    EXPECT_EQ(rtlibReverseFind(CString(), " "), -1);
}

TEST(RtString, ReverseFindClampsStartAndFindsOverlappingOccurrences) {
    const CString s("abcabc");
    EXPECT_EQ(RtString::ReverseFind(s, 'a', 5), 3);
    EXPECT_EQ(RtString::ReverseFind(s, 'a', 100), 3);
    EXPECT_EQ(RtString::ReverseFind(s, '\0', 100), 6);
    EXPECT_EQ(RtString::ReverseFind(s, 'a', -1), -1);

    EXPECT_EQ(RtString::ReverseFind(s, CString("bc"), 5), 4);
    EXPECT_EQ(RtString::ReverseFind(s, CString("bc"), 4), 4); // begins at start, ends after it
    EXPECT_EQ(RtString::ReverseFind(s, CString("bc"), 3), 1);
    EXPECT_EQ(RtString::ReverseFind(s, CString("bc"), 100), 4);
    EXPECT_EQ(RtString::ReverseFind(s, CString(), 3), -1);
    EXPECT_EQ(RtString::ReverseFind(CString("aaaa"), CString("aa"), 3), 2);
}

TEST(RtString, CountCountsAHitFoundBySearchStartingAtOrBeforeTo) {
    const CString s("a.b.c");
    EXPECT_EQ(RtString::Count(s, '.', 0, -1), 2);
    EXPECT_EQ(RtString::Count(s, '.', 2, 2), 1); // the hit at 3 lies after `to`
    EXPECT_EQ(RtString::Count(s, '.', -5, 0), 1);
    EXPECT_EQ(RtString::Count(s, 'z', 0, -1), 0);
    EXPECT_EQ(RtString::Count(CString(), 'a', 0, -1), 0);

    EXPECT_EQ(RtString::Count(CString("aaaaa"), CString("aa"), 0, -1), 2);
    EXPECT_EQ(RtString::Count(CString("xxabxxab"), CString("ab"), 0, 1), 1);
    EXPECT_EQ(RtString::Count(CString("abab"), CString("ab"), 1, -1), 1);
    EXPECT_EQ(RtString::Count(CString("abab"), CString(), 0, -1), 0);
}

TEST(RtString, ReplaceRangeReturnsTheChangeOfLength) {
    CString s("abcdef");
    EXPECT_EQ(RtString::Replace(s, 1, 2, CString("XYZ")), 1);
    EXPECT_EQ(s, "aXYZdef");
    EXPECT_EQ(RtString::Replace(s, 0, 0, CString()), -1);
    EXPECT_EQ(s, "XYZdef");
    EXPECT_EQ(RtString::Replace(s, -1, 2, CString("!")), 0);
    EXPECT_EQ(RtString::Replace(s, 3, 2, CString("!")), 0);
    EXPECT_EQ(s, "XYZdef");

    CString t("abc");
    EXPECT_EQ(RtString::Replace(t, 1, 10, CString("Z")), -1); // cut at the end
    EXPECT_EQ(t, "aZ");
    EXPECT_EQ(RtString::Replace(t, 5, 6, CString("!")), 1); // past the end: appended
    EXPECT_EQ(t, "aZ!");
}

TEST(RtString, ReplaceWordsKeepsTheWindowEndInStepAndStopsAtTheGivenTo) {
    CString s("xx xx xx");
    EXPECT_EQ(RtString::Replace(s, 0, 4, "xx", "y"), 2);
    EXPECT_EQ(s, "y y xx"); // the third lies outside the window

    s = "aaaa";
    EXPECT_EQ(RtString::Replace(s, 0, 3, "aa", "b"), 2);
    EXPECT_EQ(s, "bb");

    s = "abcabc";
    EXPECT_EQ(RtString::Replace(s, 0, 3, "bc", "X"), 1); // the second "bc" ends past the window
    EXPECT_EQ(s, "aXabc");

    // Growth pushes the index after the second replacement past 2: made but not counted.
    s = "aXa";
    EXPECT_EQ(RtString::Replace(s, 0, 2, "a", "bb"), 1);
    EXPECT_EQ(s, "bbXbb");

    s = "abab";
    EXPECT_EQ(RtString::Replace(s, 0, 3, s.GetString(), "x"), 1); // old text inside s
    EXPECT_EQ(s, "x");

    s = "abc";
    EXPECT_EQ(RtString::Replace(s, 0, 2, nullptr, "x"), 0);
    EXPECT_EQ(RtString::Replace(s, 0, 2, "", "x"), 0);
    EXPECT_EQ(RtString::Replace(s, 2, 1, "a", "x"), 0);
    EXPECT_EQ(s, "abc");
}

TEST(RtString, FindWordNeedsSeparatorsOrStringEndsOnBothSides) {
    const CString s("ab cab ab");
    EXPECT_EQ(RtString::FindWord(s, "ab", 1), 7);
    EXPECT_EQ(RtString::FindWord(CString("x(ab)"), "ab"), 2);
    EXPECT_EQ(RtString::FindWord(CString("aab ab"), "ab"), 4); // overlapping candidate first
    EXPECT_EQ(RtString::FindWord(CString("abc"), "ab"), -1);
    EXPECT_EQ(RtString::FindWord(s, nullptr), -1);
    EXPECT_EQ(RtString::FindWord(s, ""), -1);

    int pos = 1;
    EXPECT_EQ(RtString::FindWordRef(s, "ab", &pos), 7);
    EXPECT_EQ(pos, 9);
    pos = 8;
    EXPECT_EQ(RtString::FindWordRef(s, "ab", &pos), -1);
    EXPECT_EQ(pos, 8);

    EXPECT_EQ(RtString::FindWordSep(CString("a-b-c"), "b", "-"), 2);
    EXPECT_EQ(RtString::FindWordSep(CString("a b"), "b", "-"), -1);

    EXPECT_EQ(RtString::FindWordReverse(s, CString("ab"), 8), 7);
    EXPECT_EQ(RtString::FindWordReverse(s, CString("ab"), 6), 0); // passes over "cab"
    EXPECT_EQ(RtString::FindWordReverse(CString("cab"), CString("ab"), -1), -1);
    EXPECT_EQ(RtString::FindWordReverse(CString("xab ab"), CString("ab"), 3), -1);
    EXPECT_EQ(RtString::FindWordReverseSep(CString("a-b-b"), CString("b"), "-", -1), 4);
}

TEST(RtString, FindOneOfWordsTakesTheEarliestAndTheFirstListedOnATie) {
    CStringArray words;
    words.Add(CString("cd"));
    words.Add(CString("bcd"));
    int which = 42;
    EXPECT_EQ(RtString::FindOneOf(CString("abcd"), words, 0, &which), 1);
    EXPECT_EQ(which, 1);
    which = 42;
    EXPECT_EQ(RtString::FindOneOf(CString("abcd"), words, 3, &which), -1);
    EXPECT_EQ(which, 42);

    CStringArray tie;
    tie.Add(CString(""));
    tie.Add(CString("ab"));
    tie.Add(CString("abc"));
    EXPECT_EQ(RtString::FindOneOf(CString("xabc"), tie, -3, &which), 1);
    EXPECT_EQ(which, 1); // the empty word is never found
}

TEST(RtString, FindClosingBalancesNestedPairs) {
    const CString s("f(a(b)c)d");
    EXPECT_EQ(RtString::FindClosing(s, 0, '(', ')'), 7);
    EXPECT_EQ(RtString::FindClosing(s, 2, '(', ')'), 5);
    EXPECT_EQ(RtString::FindClosing(s, 4, '(', ')'), -1);
    EXPECT_EQ(RtString::FindClosing(CString("f(a(b)"), 0, '(', ')'), -1);
    EXPECT_EQ(RtString::FindClosing(CString(")(x)"), 0, '(', ')'), 3);
}

TEST(RtString, PrevAndNextWordsAroundAStart) {
    const CString s("one two  three");
    CString word("junk");
    EXPECT_EQ(RtString::GetPrevWord(s, 13, " ", word), 9);
    EXPECT_EQ(word, "three");
    EXPECT_EQ(RtString::GetPrevWord(s, 8, " ", word), 4);
    EXPECT_EQ(word, "two");
    EXPECT_EQ(RtString::GetPrevWord(s, 5, " ", word), 4);
    EXPECT_EQ(word, "tw"); // cut at start
    EXPECT_EQ(RtString::GetPrevWord(s, 14, " ", word), 0);
    EXPECT_TRUE(word.IsEmpty());
    word = "junk";
    EXPECT_EQ(RtString::GetPrevWord(CString("   "), 2, " ", word), 0);
    EXPECT_TRUE(word.IsEmpty());

    EXPECT_EQ(RtString::GetNextWord(s, 0, " ", word), 4); // passes over the word under start
    EXPECT_EQ(word, "two");
    EXPECT_EQ(RtString::GetNextWord(s, 3, " ", word), 4);
    EXPECT_EQ(word, "two");
    EXPECT_EQ(RtString::GetNextWord(s, 10, " ", word), -1);
    EXPECT_TRUE(word.IsEmpty());
    EXPECT_EQ(RtString::GetNextWord(CString("ab  "), 0, " ", word), -1);
    EXPECT_EQ(RtString::GetNextWord(s, 0, nullptr, word), -1);
}

TEST(RtString, ReplaceFraseReplacesTwoWordPhrases) {
    const CString big("big");
    const CString cat("cat");
    const CString dog("dog");
    CString s("the big cat sat");
    EXPECT_EQ(RtString::ReplaceFrase(s, big, cat, dog, 0), 1);
    EXPECT_EQ(s, "the dog sat");

    s = "big ,; cat";
    EXPECT_EQ(RtString::ReplaceFrase(s, big, cat, dog, 0), 1);
    EXPECT_EQ(s, "dog");

    s = "big cats";
    EXPECT_EQ(RtString::ReplaceFrase(s, big, cat, dog, 0), 0);
    EXPECT_EQ(s, "big cats");

    s = "big cat and big cat";
    EXPECT_EQ(RtString::ReplaceFrase(s, big, cat, dog, 0), 2);
    EXPECT_EQ(s, "dog and dog");
    s = "big cat big cat";
    EXPECT_EQ(RtString::ReplaceFrase(s, big, cat, dog, 1), 1);
    EXPECT_EQ(s, "big cat dog");

    // The character right after the first word is passed over unchecked.
    s = "bigXcat";
    EXPECT_EQ(RtString::ReplaceFrase(s, big, cat, dog, 0), 1);
    EXPECT_EQ(s, "dog");

    // Text that holds the phrase again is not searched.
    s = "big cat";
    EXPECT_EQ(RtString::ReplaceFrase(s, big, cat, CString("a big cat"), 0), 1);
    EXPECT_EQ(s, "a big cat");

    // An empty second word cuts up to the first non-separator after the next word's start.
    s = "big   x  yz";
    EXPECT_EQ(RtString::ReplaceFrase(s, big, CString(), CString("T"), 0), 1);
    EXPECT_EQ(s, "Tz");
    s = "big x";
    EXPECT_EQ(RtString::ReplaceFrase(s, big, CString(), CString("T"), 0), 1);
    EXPECT_EQ(s, "T");

    s = "big cat";
    EXPECT_EQ(RtString::ReplaceFrase(s, CString(), cat, dog, 0), 0);
    EXPECT_EQ(s, "big cat");
}

TEST(RtString, FindFraseReverseReturnsTheFirstWordOfTheLastPhrase) {
    const CString big("big");
    const CString cat("cat");
    const CString s("a big cat b big cat");
    EXPECT_EQ(RtString::FindFraseReverse(s, big, cat, -1), 12);
    EXPECT_EQ(RtString::FindFraseReverse(s, big, cat, 15), 2);
    EXPECT_EQ(RtString::FindFraseReverse(CString("a dog cat b big cat"), CString("dog"), cat, -1),
              2);
    EXPECT_EQ(RtString::FindFraseReverse(s, CString("dog"), cat, -1), -1);
    EXPECT_EQ(RtString::FindFraseReverse(CString("big, cat"), big, cat, -1), 0);
    EXPECT_EQ(RtString::FindFraseReverse(CString("cat x"), CString("x"), cat, -1), -1);
    EXPECT_EQ(RtString::FindFraseReverse(s, CString(), cat, -1), -1);
}

TEST(RtString, BstrConversionStopsAtTheFirstZero) {
    BSTR null = nullptr;
    EXPECT_TRUE(RtString::BSTRtoCString(null).IsEmpty());

    BSTR hello = SysAllocString(u"Hello");
    EXPECT_EQ(RtString::BSTRtoCString(hello), "Hello");
    SysFreeString(hello);

    BSTR split = SysAllocStringLen(u"ab\0cd", 5);
    EXPECT_EQ(RtString::BSTRtoCString(split), "ab");
    SysFreeString(split);

    const CString raw("caf\xE9");
    BSTR wide = raw.AllocSysString();
    EXPECT_EQ(RtString::BSTRtoCString(wide), raw);
    SysFreeString(wide);
}

TEST(RtString, BstrConversionKeepsCharactersLongerThanOneByte) {
    const std::string previous = std::setlocale(LC_CTYPE, nullptr);
    if (std::setlocale(LC_CTYPE, "C.UTF-8") == nullptr &&
        std::setlocale(LC_CTYPE, "C.utf8") == nullptr) {
        GTEST_SKIP() << "no UTF-8 locale";
    }
    BSTR accents = SysAllocString(u"\u00e9\u00e9");
    const CString text = RtString::BSTRtoCString(accents);
    SysFreeString(accents);
    std::setlocale(LC_CTYPE, previous.c_str());
    EXPECT_EQ(text, "\xC3\xA9\xC3\xA9"); // 4 bytes for 2 characters
}

TEST(RtString, LoweringAndDirectBufferAccess) {
    char text[] = "AbC-Z1";
    EXPECT_EQ(rtToLower(text), 6);
    EXPECT_STREQ(text, "abc-z1");
    EXPECT_EQ(rtToLower(nullptr), 0);

    CString s("abc");
    rtGetBuff(s)[0] = 'X';
    EXPECT_EQ(s, "Xbc");
}
