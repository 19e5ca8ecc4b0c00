#include "plinth/containers/rt_string.h"
#include "plinth/platform/exceptions.h"
#include "plinth/platform/ptr_array.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

using namespace plinth;

namespace {

// A call's result and the text it left, as "result:text".
std::string Outcome(int result, const CString& text) {
    return std::to_string(result) + ":" + text.GetString();
}

// Either Replace: a range by a text, or old words by new ones.
template <class... ARGS>
std::string Replaced(const char* text, ARGS... args) {
    CString s(text);
    const int result = RtString::Replace(s, args...);
    return Outcome(result, s);
}

std::string Rephrased(const char* text, const char* first, const char* second, const char* with,
                      int start = 0) {
    CString s(text);
    const int result =
        RtString::ReplaceFrase(s, CString(first), CString(second), CString(with), start);
    return Outcome(result, s);
}

// GetPrevWord or GetNextWord: the result and the word given back.
std::string WordAt(int (*find)(const CString&, int, const char*, CString&), const char* text,
                   int start, const char* set = " ") {
    CString word("junk");
    const int result = find(CString(text), start, set, word);
    return Outcome(result, word);
}

} // namespace

TEST(RtString, SkipAndFindOneOfWalkSetsBothWays) {
    const CString s("  ab, c");
    EXPECT_EQ(RtString::Skip(s, 0, " ,"), 2);
    EXPECT_EQ(RtString::Skip(s, 7, " ,"), -1);
    EXPECT_EQ(RtString::Skip(s, 3, nullptr), 0);
    EXPECT_THROW(RtString::Skip(s, -1, " "), CInvalidArgException);

    EXPECT_EQ(RtString::SkipReverse(s, 5, " ,"), 3);
    EXPECT_EQ(RtString::SkipReverse(s, 1, " ,"), -1);
    EXPECT_EQ(RtString::SkipReverse(s, 7, " ,"), -1);
    EXPECT_EQ(RtString::SkipReverse(s, 5, nullptr), 0);

    EXPECT_EQ(RtString::FindOneOf(s, 2, ","), 4);
    EXPECT_EQ(RtString::FindOneOf(s, 0, static_cast<const char*>(nullptr)), -1);
    EXPECT_EQ(RtString::FindOneOf(s, 7, " "), -1); // the terminator is not found forwards
    EXPECT_EQ(RtString::FindOneOf(s, -1, " "), -1);

    // Backwards, the terminating zero belongs to every set.
    EXPECT_EQ(RtString::ReveseFindOneOf(s, 3, " ,"), 1);
    EXPECT_EQ(RtString::ReveseFindOneOf(s, 100, "x"), 7); // from the terminator
    EXPECT_EQ(RtString::ReveseFindOneOf(s, 6, "x"), -1);
    EXPECT_EQ(RtString::ReveseFindOneOf(s, -1, " "), -1);

    EXPECT_EQ(rtlibReverseFind(s, " ,"), 5);
    EXPECT_EQ(rtlibReverseFind(s, "x"), -1);
    EXPECT_EQ(rtlibReverseFind(CString(), " "), -1);
}

TEST(RtString, ReverseFindClampsStartAndFindsOverlappingOccurrences) {
    const CString s("abcabc");
    EXPECT_EQ(RtString::ReverseFind(s, 'a', 100), 3);
    EXPECT_EQ(RtString::ReverseFind(s, '\0', 100), 6);
    EXPECT_EQ(RtString::ReverseFind(s, 'a', -1), -1);

    EXPECT_EQ(RtString::ReverseFind(s, CString("bc"), 4), 4); // begins at start, ends after it
    EXPECT_EQ(RtString::ReverseFind(s, CString("bc"), 3), 1);
    EXPECT_EQ(RtString::ReverseFind(s, CString(), 3), -1);
    EXPECT_EQ(RtString::ReverseFind(CString("aaaa"), CString("aa"), 3), 2);
}

TEST(RtString, CountCountsAHitFoundBySearchStartingAtOrBeforeTo) {
    const CString s("a.b.c");
    EXPECT_EQ(RtString::Count(s, '.', 0, -1), 2);
    EXPECT_EQ(RtString::Count(s, '.', 2, 2), 1); // the hit at 3 lies after `to`
    EXPECT_EQ(RtString::Count(s, '.', -5, 0), 1);
    EXPECT_EQ(RtString::Count(CString(), 'a', 0, -1), 0);

    EXPECT_EQ(RtString::Count(CString("aaaaa"), CString("aa"), 0, -1), 2);
    EXPECT_EQ(RtString::Count(CString("abab"), CString(), 0, -1), 0);
}

TEST(RtString, ReplaceRangeAndReplaceWords) {
    EXPECT_EQ(Replaced("abcdef", 1, 2, "XYZ"), "1:aXYZdef");
    EXPECT_EQ(Replaced("abcdef", 0, 0, ""), "-1:bcdef");
    EXPECT_EQ(Replaced("abc", 1, 10, "Z"), "-1:aZ"); // cut at the end
    EXPECT_EQ(Replaced("aZ", 5, 6, "!"), "1:aZ!");   // past the end: appended
    EXPECT_EQ(Replaced("abc", -1, 2, "!"), "0:abc");
    EXPECT_EQ(Replaced("abc", 2, 1, "!"), "0:abc");

    // The window's end keeps in step with the change of length.
    EXPECT_EQ(Replaced("xx xx xx", 0, 4, "xx", "y"), "2:y y xx"); // the third is outside
    EXPECT_EQ(Replaced("aaaa", 0, 3, "aa", "b"), "2:bb");
    EXPECT_EQ(Replaced("abcabc", 0, 3, "bc", "X"), "1:aXabc"); // the second ends past the window
    // Growth pushes the index after the second replacement past 2: made but not counted.
    EXPECT_EQ(Replaced("aXa", 0, 2, "a", "bb"), "1:bbXbb");
    EXPECT_EQ(Replaced("abc", 0, 2, nullptr, "x"), "0:abc");
    EXPECT_EQ(Replaced("abc", 0, 2, "", "x"), "0:abc");
    EXPECT_EQ(Replaced("abc", 2, 1, "a", "x"), "0:abc");

    CString s("abab");
    EXPECT_EQ(RtString::Replace(s, 0, 3, s.GetString(), "x"), 1); // old text inside s
    EXPECT_EQ(s, "x");
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

    EXPECT_EQ(RtString::FindWordReverse(s, CString("ab"), 8), 7);
    EXPECT_EQ(RtString::FindWordReverse(s, CString("ab"), 6), 0); // passes over "cab"
    EXPECT_EQ(RtString::FindWordReverse(CString("cab"), CString("ab"), -1), -1);
    EXPECT_EQ(RtString::FindWordReverseSep(CString("a-b-b"), CString("b"), "-", -1), 4);
}

TEST(RtString, FindOneOfWordsTakesTheEarliestAndFindClosingBalancesPairs) {
    CStringArray words; // the empty word is never found
    for (const char* word : {"", "cd", "bcd", "bc"}) {
        words.Add(CString(word));
    }
    int which = 42;
    EXPECT_EQ(RtString::FindOneOf(CString("abcd"), words, 3, &which), -1);
    EXPECT_EQ(which, 42);
    EXPECT_EQ(RtString::FindOneOf(CString("abcd"), words, -3, &which), 1);
    EXPECT_EQ(which, 2); // "bcd" comes before "cd" in the text and before "bc" in the list

    const CString s("f(a(b)c)d");
    EXPECT_EQ(RtString::FindClosing(s, 0, '(', ')'), 7);
    EXPECT_EQ(RtString::FindClosing(s, 4, '(', ')'), -1);
    EXPECT_EQ(RtString::FindClosing(CString("f(a(b)"), 0, '(', ')'), -1);
    EXPECT_EQ(RtString::FindClosing(CString(")(x)"), 0, '(', ')'), 3);
}

TEST(RtString, PrevAndNextWordsAroundAStart) {
    const char* s = "one two  three";
    EXPECT_EQ(WordAt(RtString::GetPrevWord, s, 13), "9:three");
    EXPECT_EQ(WordAt(RtString::GetPrevWord, s, 8), "4:two");
    EXPECT_EQ(WordAt(RtString::GetPrevWord, s, 5), "4:tw"); // cut at start
    EXPECT_EQ(WordAt(RtString::GetPrevWord, s, 14), "0:");
    EXPECT_EQ(WordAt(RtString::GetPrevWord, "   ", 2), "0:");

    EXPECT_EQ(WordAt(RtString::GetNextWord, s, 0), "4:two"); // passes over the word under start
    EXPECT_EQ(WordAt(RtString::GetNextWord, s, 3), "4:two");
    EXPECT_EQ(WordAt(RtString::GetNextWord, s, 10), "-1:");
    EXPECT_EQ(WordAt(RtString::GetNextWord, "ab  ", 0), "-1:");
    EXPECT_EQ(WordAt(RtString::GetNextWord, s, 0, nullptr), "-1:");
}

TEST(RtString, TwoWordPhrasesAreReplacedAndFoundBackwards) {
    EXPECT_EQ(Rephrased("the big cat sat", "big", "cat", "dog"), "1:the dog sat");
    EXPECT_EQ(Rephrased("big ,; cat", "big", "cat", "dog"), "1:dog");
    EXPECT_EQ(Rephrased("big cats", "big", "cat", "dog"), "0:big cats");
    EXPECT_EQ(Rephrased("big cat and big cat", "big", "cat", "dog"), "2:dog and dog");
    EXPECT_EQ(Rephrased("big cat big cat", "big", "cat", "dog", 1), "1:big cat dog");
    // The character right after the first word is passed over unchecked.
    EXPECT_EQ(Rephrased("bigXcat", "big", "cat", "dog"), "1:dog");
    // Text that holds the phrase again is not searched.
    EXPECT_EQ(Rephrased("big cat", "big", "cat", "a big cat"), "1:a big cat");
    // An empty second word cuts up to the first non-separator after the next word's start.
    EXPECT_EQ(Rephrased("big   x  yz", "big", "", "T"), "1:Tz");
    EXPECT_EQ(Rephrased("big x", "big", "", "T"), "1:T");
    EXPECT_EQ(Rephrased("big cat", "", "cat", "dog"), "0:big cat");

    // Backwards: the start of the first word of the last phrase "<first> cat".
    const auto back = [](const char* text, const char* first, int start = -1) {
        return RtString::FindFraseReverse(CString(text), CString(first), CString("cat"), start);
    };
    const char* s = "a big cat b big cat";
    EXPECT_EQ(back(s, "big"), 12);
    EXPECT_EQ(back(s, "big", 15), 2);
    EXPECT_EQ(back("a dog cat b big cat", "dog"), 2);
    EXPECT_EQ(back(s, "dog"), -1);
    EXPECT_EQ(back("big, cat", "big"), 0);
    EXPECT_EQ(back("cat x", "x"), -1);
    EXPECT_EQ(back(s, ""), -1);
}

TEST(RtString, BstrConversionStopsAtTheFirstZeroAndKeepsLongCharacters) {
    const auto convert = [](BSTR b) {
        const CString text = RtString::BSTRtoCString(b);
        SysFreeString(b);
        return text;
    };
    EXPECT_EQ(convert(nullptr), "");
    EXPECT_EQ(convert(SysAllocStringLen(u"ab\0cd", 5)), "ab");

    const std::string previous = std::setlocale(LC_CTYPE, nullptr);
    if (std::setlocale(LC_CTYPE, "C.UTF-8") == nullptr &&
        std::setlocale(LC_CTYPE, "C.utf8") == nullptr) {
        GTEST_SKIP() << "no UTF-8 locale";
    }
    const CString text = convert(SysAllocString(u"\u00e9\u00e9"));
    std::setlocale(LC_CTYPE, previous.c_str());
    EXPECT_EQ(text, "\xC3\xA9\xC3\xA9"); // 4 bytes for 2 characters
}

TEST(RtString, LoweringIsInPlace) {
    char text[] = "AbC-Z1";
    EXPECT_EQ(rtToLower(text), 6);
    EXPECT_STREQ(text, "abc-z1");
    EXPECT_EQ(rtToLower(nullptr), 0);
}
