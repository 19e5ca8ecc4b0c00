#include "plinth/platform/bstr.h"
#include "plinth/platform/charset.h"
#include "plinth/platform/cstring.h"
#include "plinth/platform/exceptions.h"
#include "plinth/platform/lasterror.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstring>
#include <string>

using namespace plinth;

namespace {

DWORD prefixOf(BSTR b) {
    DWORD n = 0;
    std::memcpy(&n, reinterpret_cast<const BYTE*>(b) - sizeof n, sizeof n);
    return n;
}

// Switches LC_CTYPE for one test and restores it afterwards.
class CharacterSet {
public:
    explicit CharacterSet(const char* name)
        : m_saved(std::setlocale(LC_CTYPE, nullptr)) {
        m_active = std::setlocale(LC_CTYPE, name) != nullptr;
    }
    ~CharacterSet() { std::setlocale(LC_CTYPE, m_saved.c_str()); }
    bool active() const { return m_active; }

private:
    std::string m_saved;
    bool m_active = false;
};

// Short texts only: the tests' buffers hold 16 units.
std::u16string toWide(const std::string& text) {
    WCHAR out[16];
    const int n =
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out, 16);
    return std::u16string(out, static_cast<std::size_t>(n));
}

std::string toNarrow(const std::u16string& wide, BOOL* usedDefault = nullptr) {
    char out[16];
    const int n = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), out,
                                      16, nullptr, usedDefault);
    return std::string(out, static_cast<std::size_t>(n));
}

} // namespace

TEST(Bstr, LengthPrefixTerminatorAndNull) {
    BSTR b = SysAllocString(u"abc");
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(prefixOf(b), 6u);
    EXPECT_EQ(SysStringLen(b), 3u);
    EXPECT_EQ(SysStringByteLen(b), 6u);
    EXPECT_EQ(std::u16string(b, 4), std::u16string(u"abc", 4)); // with its terminator
    SysFreeString(b);

    // Embedded zeros count: the prefix, not the terminator, gives the length.
    b = SysAllocStringLen(u"a\0b", 3);
    EXPECT_EQ(SysStringLen(b), 3u);
    EXPECT_EQ(b[2], u'b');
    SysFreeString(b);

    // Null is the empty string.
    EXPECT_EQ(SysAllocString(nullptr), nullptr);
    EXPECT_EQ(SysStringLen(nullptr), 0u);
    EXPECT_EQ(SysStringByteLen(nullptr), 0u);
    SysFreeString(nullptr);
}

TEST(Bstr, OddByteCountsAreKeptExactly) {
    BSTR b = SysAllocStringByteLen("xyz", 3);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(SysStringByteLen(b), 3u);
    EXPECT_EQ(SysStringLen(b), 1u);
    const auto* bytes = reinterpret_cast<const char*>(b);
    EXPECT_EQ(std::string(bytes, 3), "xyz");
    // Zeros follow the bytes up to and including a whole zero character.
    EXPECT_EQ(bytes[3], '\0');
    EXPECT_EQ(b[2], u'\0');
    SysFreeString(b);

    b = SysAllocStringByteLen(nullptr, 1);
    EXPECT_EQ(SysStringByteLen(b), 1u);
    EXPECT_EQ(SysStringLen(b), 0u);
    EXPECT_EQ(b[0], u'\0');
    SysFreeString(b);

    EXPECT_EQ(SysAllocStringLen(u"", 0x80000000u), nullptr); // more bytes than the prefix holds
}

TEST(Charset, CLocaleEscapesBytesAndRoundTrips) {
    CharacterSet set("C");
    const std::string text("A\x80z\xFF\xE9", 5);
    SetLastError(ERROR_SUCCESS);
    const std::u16string wide = toWide(text);
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS); // escaping is not an error
    EXPECT_EQ(wide, (std::u16string{u'A', u'\xDC80', u'z', u'\xDCFF', u'\xDCE9'}));
    BOOL usedDefault = 1;
    EXPECT_EQ(toNarrow(wide, &usedDefault), text);
    EXPECT_FALSE(usedDefault);

    // What the character set cannot hold becomes the default character.
    EXPECT_EQ(toNarrow(u"a\u00E9b", &usedDefault), "a?b");
    EXPECT_TRUE(usedDefault);
    char out[4] = {};
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, u"\u00E9", 1, out, 4, "#", nullptr), 1);
    EXPECT_EQ(out[0], '#');
}

TEST(Charset, Utf8LocaleConvertsCharactersAndEscapesInvalidBytes) {
    CharacterSet set("C.UTF-8");
    if (!set.active()) {
        GTEST_SKIP() << "no UTF-8 locale installed";
    }
    EXPECT_EQ(toWide("\xC3\xA9"), u"\u00E9");
    EXPECT_EQ(toWide("\xF0\x9F\x98\x80"), u"\U0001F600"); // a surrogate pair
    EXPECT_EQ(toNarrow(u"\U0001F600\u00E9"), "\xF0\x9F\x98\x80\xC3\xA9");

    // A stray continuation byte and a sequence cut short at the end.
    const std::string broken{'a', '\x80', 'b', '\xC3'};
    EXPECT_EQ(toWide(broken), (std::u16string{u'a', u'\xDC80', u'b', u'\xDCC3'}));
    EXPECT_EQ(toNarrow(toWide(broken)), broken);

    // Forms that no code point has are bytes that cannot be decoded, each one escaped: above
    // U+10FFFF (four and five bytes), overlong, an encoded surrogate.
    for (const std::string bad :
         {"\xF4\x90\x80\x80", "\xF8\x88\x80\x80\x80", "\xC0\xAF", "\xED\xA0\x80"}) {
        SCOPED_TRACE(::testing::PrintToString(bad));
        std::u16string escaped;
        for (const char c : bad) {
            escaped += static_cast<char16_t>(0xDC00 + static_cast<unsigned char>(c));
        }
        EXPECT_EQ(toWide(bad), escaped);
        EXPECT_EQ(toNarrow(escaped), bad);
    }

    // Unpaired surrogates other than escapes cannot be written.
    BOOL usedDefault = 0;
    EXPECT_EQ(toNarrow(std::u16string{u'\xD83D', u'x', u'\xDE00'}, &usedDefault), "?x?");
    EXPECT_TRUE(usedDefault);
}

TEST(Charset, CountsBuffersAndBadArguments) {
    CharacterSet set("C");
    // -1: the terminator is converted and counted.
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abc", -1, nullptr, 0), 4);
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, u"abc", -1, nullptr, 0, nullptr, nullptr), 4);

    WCHAR wide[2];
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abc", 3, wide, 2), 0);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abc", 0, wide, 2), 0); // empty input is refused
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(WideCharToMultiByte(65001, 0, u"a", 1, nullptr, 0, nullptr, nullptr), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST(CStringSysString, TextRoundTripsThroughOleStrings) {
    CharacterSet set("C");
    const CString text("caf\xE9\0!", 6);
    BSTR b = text.AllocSysString();
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(std::u16string(b, SysStringLen(b)), toWide(std::string(text, 6))); // the zero too

    // SetSysString replaces (and frees) the string it is given.
    BSTR result = CString("new").SetSysString(&b);
    EXPECT_EQ(result, b);
    EXPECT_EQ(std::u16string(b), u"new");
    SysFreeString(b);

    BSTR empty = nullptr;
    CString().SetSysString(&empty);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(SysStringLen(empty), 0u);
    SysFreeString(empty);

    EXPECT_THROW(text.SetSysString(nullptr), CInvalidArgException);
}
