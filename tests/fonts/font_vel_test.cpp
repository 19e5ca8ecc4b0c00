#include "plinth/fonts/font_vel_cache.h"
#include "plinth/platform/exceptions.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using namespace plinth;

namespace {

FontSpecs specs(const char* face, int size, BYTE s1 = 0, BYTE s2 = 0, BYTE s3 = 0) {
    FontSpecs s;
    s.m_strFace = face;
    s.m_nSize = size;
    s.m_bStyle1 = s1;
    s.m_bStyle2 = s2;
    s.m_bStyle3 = s3;
    return s;
}

LOGFONTA logFontOf(const CFont& font) {
    LOGFONTA lf{};
    EXPECT_NE(font.GetLogFont(&lf), 0);
    return lf;
}

} // namespace

TEST(FontSpecs, DefaultIsArialTenPointsAndEveryFieldCounts) {
    const FontSpecs d;
    EXPECT_TRUE(d.IsSame(specs("Arial", 100)));
    FontSpecs copied = specs("x", 7, 1);
    copied.Copy(d);
    EXPECT_TRUE(copied.IsSame(d));
    const FontSpecs others[] = {
        specs("arial", 100),    specs("Arial ", 100),      specs("Arial", 101),
        specs("Arial", 100, 1), specs("Arial", 100, 0, 1), specs("Arial", 100, 0, 0, 1),
    };
    for (const FontSpecs& o : others) {
        SCOPED_TRACE(o.m_strFace.GetString());
        EXPECT_FALSE(o.IsSame(d));
        EXPECT_FALSE(d.IsSame(o));
    }
}

TEST(FontVelCache, EqualSpecsShareOneFontAndAnyDifferenceAddsOne) {
    FontVelCache cache;
    FontVel* const first = cache.CreateFontA(specs("DejaVu Sans", 100, 1, 2, 3));
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->GetSafeHandle(), nullptr); // made by the caller later
    EXPECT_EQ(cache.CreateFontA(specs("DejaVu Sans", 100, 1, 2, 3)), first);
    EXPECT_EQ(cache.GetSize(), 1);

    FontVel* const style = cache.CreateFontA(specs("DejaVu Sans", 100, 1, 2, 4));
    FontVel* const lower = cache.CreateFontA(specs("dejavu sans", 100, 1, 2, 3));
    ASSERT_EQ(cache.GetSize(), 3);
    EXPECT_EQ(cache[0], first); // in the order first asked for
    EXPECT_EQ(cache[1], style);
    EXPECT_EQ(cache[2], lower);
    EXPECT_EQ(cache.Find(specs("dejavu sans", 100, 1, 2, 3)), lower);
    EXPECT_EQ(cache.Find(specs("DejaVu Sans", 100)), nullptr);
    EXPECT_THROW(cache.GetAt(3), CInvalidArgException);
}

TEST(FontVelCache, FindAndDeleteAllPassOverNullEntries) {
    FontVelCache cache;
    cache.Add(nullptr);
    FontVel* const font = cache.CreateFontA(FontSpecs());
    cache.SetAtGrow(3, nullptr);
    ASSERT_EQ(cache.GetSize(), 4);
    EXPECT_EQ(cache.Find(FontSpecs()), font);
    EXPECT_EQ(cache.CreateFontA(FontSpecs()), font);
    EXPECT_EQ(cache.GetSize(), 4);

    cache.DeleteAll();
    EXPECT_EQ(cache.GetSize(), 0);
    EXPECT_EQ(cache.Find(FontSpecs()), nullptr);
}

TEST(FontVel, CreateIndirectHeightIsTheSizeInWholePoints) {
    const struct {
        int size;
        LONG height;
    } cases[] = {{95, 9}, {100, 10}, {109, 10}, {5, 0}, {0, 0}, {-95, -9}, {-100, -10}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        FontVel font(specs("Liberation Sans", c.size));
        ASSERT_NE(font.CreateIndirect(), 0);
        LOGFONTA expected{}; // everything but height and face left at zero
        expected.lfHeight = c.height;
        std::strcpy(expected.lfFaceName, "Liberation Sans");
        const LOGFONTA lf = logFontOf(font);
        EXPECT_EQ(std::memcmp(&lf, &expected, sizeof lf), 0);
    }

    FontVel font(specs(std::string(40, 'f').c_str(), 100));
    ASSERT_NE(font.CreateIndirect(), 0);
    EXPECT_EQ(std::string(logFontOf(font).lfFaceName), std::string(31, 'f'));
    const HGDIOBJ before = font.GetSafeHandle();
    ASSERT_NE(font.CreateIndirect(), 0); // a new handle; the old one is released
    EXPECT_NE(font.GetSafeHandle(), nullptr);
    EXPECT_NE(font.GetSafeHandle(), before);
}

TEST(FontVel, CreateSelectsIntoTheContextAndReturnsThePreviousFont) {
    CDC dc(72);
    CFont* const initial = dc.GetCurrentFont();
    FontVel a(specs("DejaVu Sans", 100)), b(specs("DejaVu Serif", 120));

    EXPECT_EQ(a.Create(nullptr), nullptr);
    EXPECT_EQ(a.Create(&dc), initial);
    EXPECT_EQ(dc.GetCurrentFont(), &a);
    EXPECT_EQ(logFontOf(a).lfHeight, -10); // 10 points at 72 dots per inch
    const HGDIOBJ handle = a.GetSafeHandle();
    ASSERT_NE(handle, nullptr);

    EXPECT_EQ(b.Create(&dc), &a);
    EXPECT_EQ(a.Create(&dc), &b); // selected again, not created again
    EXPECT_EQ(a.GetSafeHandle(), handle);

    CDC other; // a handle made for one context is kept for another
    CFont* const otherInitial = other.GetCurrentFont();
    EXPECT_EQ(a.Create(&other), otherInitial);
    EXPECT_EQ(a.GetSafeHandle(), handle);
    EXPECT_EQ(logFontOf(a).lfHeight, -10);
    dc.SelectObject(initial);
}

TEST(FontVel, CopyTakesTheSpecsAndLeavesBothHandles) {
    FontVel made(specs("DejaVu Sans", 120, 4, 5, 6)), bare(specs("Liberation Mono", 80));
    ASSERT_NE(made.CreateIndirect(), 0);
    const HGDIOBJ handle = made.GetSafeHandle();

    bare.Copy(made);
    EXPECT_TRUE(bare.IsSame(made));
    EXPECT_EQ(bare.GetSafeHandle(), nullptr);

    FontVel other(specs("DejaVu Serif", 90));
    made = other;
    EXPECT_TRUE(made.IsSame(other));
    EXPECT_EQ(made.GetSafeHandle(), handle);
    EXPECT_EQ(logFontOf(made).lfHeight, 12); // the handle still describes the old specs
    EXPECT_FALSE(made.IsSame(bare));
}

TEST(FontVelCache, ManyCachedFontsReleaseTheirHandlesOnce) {
    CDC dc;
    CFont* const initial = dc.GetCurrentFont();
    for (int round = 0; round < 2; ++round) { // emptied first, then left to the destructor
        FontVelCache cache;
        for (int i = 0; i < 40; ++i) {
            FontVel* font = cache.CreateFontA(specs(i % 3 == 0 ? "DejaVu Sans" : "Liberation Serif",
                                                    60 + i, static_cast<BYTE>(round)));
            if (i % 2 == 0) {
                ASSERT_NE(font->CreateIndirect(), 0);
            } else {
                ASSERT_NE(font->Create(&dc), nullptr);
                ASSERT_NE(font->Create(&dc), nullptr);
            }
        }
        EXPECT_EQ(cache.GetSize(), 40);
        dc.SelectObject(initial);
        if (round == 0) {
            cache.DeleteAll();
        }
    }
}
