#include "plinth/platform/font.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstring>
#include <string>

using namespace plinth;

namespace {

// The face is copied as is: one of 32 characters fills the field without a terminator.
LOGFONTA logFont(const std::string& face, LONG height) {
    LOGFONTA lf{};
    lf.lfHeight = height;
    std::memcpy(lf.lfFaceName, face.data(), std::min(face.size(), sizeof lf.lfFaceName));
    return lf;
}

FontFaceInfo faceOf(const CFont& font) {
    FontFaceInfo info;
    EXPECT_EQ(font.GetFaceInfo(&info), 1);
    return info;
}

std::string fileName(const CString& path) {
    const std::string text = path.GetString();
    return text.substr(text.rfind('/') + 1);
}

} // namespace

static_assert(sizeof(LOGFONTA) == 60 && offsetof(LOGFONTA, lfWeight) == 16);
static_assert(offsetof(LOGFONTA, lfItalic) == 20 && offsetof(LOGFONTA, lfFaceName) == 28);

TEST(Font, NameResolvesToTheFamilyOrToAMarkedSubstitute) {
    const struct {
        std::string face;
        const char* family; // null: any substitute
        BOOL exact;
    } cases[] = {
        {"DejaVu Sans", "DejaVu Sans", 1},
        {"dejavu SANS", "DejaVu Sans", 1}, // families ignore letter case
        {"Liberation Serif", "Liberation Serif", 1},
        {"Arial", "Liberation Sans", 0}, // the metric-compatible face
        {"No Such Family Anywhere", nullptr, 0},
        {"", nullptr, 0},
        {"\xFF\xFE bytes", nullptr, 0},
        {std::string(32, 'x'), nullptr, 0}, // no terminator: read to the field's end
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.face);
        CFont font;
        const LOGFONTA lf = logFont(c.face, -20);
        ASSERT_EQ(font.CreateFontIndirect(&lf), 1);
        const FontFaceInfo info = faceOf(font);
        EXPECT_EQ(info.m_bExactFamily, c.exact);
        if (c.family != nullptr) {
            EXPECT_STREQ(info.m_strFamily, c.family);
        }
        EXPECT_FALSE(info.m_strFile.IsEmpty());
        EXPECT_EQ(info.m_nPixelHeight, 20);
    }
}

TEST(Font, HeightSignChoosesEmOrCellHeight) {
    const struct {
        LONG height;
        LONG minPixels, maxPixels;
    } cases[] = {
        {-13, 13, 13},
        {-1, 1, 1},
        {0, 16, 16},  // 0: the default height
        {20, 15, 19}, // cell height: the em is smaller than ascender plus descender
        {INT_MIN, 0xFFFF, 0xFFFF},
        {INT_MAX, 0x8000, 0xFFFF}, // extremes are bounded
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.height);
        CFont font;
        const LOGFONTA lf = logFont("DejaVu Sans", c.height);
        ASSERT_EQ(font.CreateFontIndirect(&lf), 1);
        const LONG pixels = faceOf(font).m_nPixelHeight;
        EXPECT_GE(pixels, c.minPixels);
        EXPECT_LE(pixels, c.maxPixels);
        LOGFONTA back{};
        EXPECT_EQ(font.GetLogFont(&back), static_cast<int>(sizeof(LOGFONTA)));
        EXPECT_EQ(std::memcmp(&back, &lf, sizeof lf), 0);
    }
}

TEST(Font, WeightAndItalicChooseTheFace) {
    const struct {
        LONG weight;
        BYTE italic;
        const char* file;
    } cases[] = {
        {0, 0, "DejaVuSans.ttf"},
        {400, 0, "DejaVuSans.ttf"},
        {700, 0, "DejaVuSans-Bold.ttf"},
        {0, 1, "DejaVuSans-Oblique.ttf"},
        {700, 1, "DejaVuSans-BoldOblique.ttf"},
        {INT_MAX, 0, "DejaVuSans-Bold.ttf"}, // beyond the heaviest weight
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        LOGFONTA lf = logFont("DejaVu Sans", -12);
        lf.lfWeight = c.weight;
        lf.lfItalic = c.italic;
        CFont font;
        ASSERT_EQ(font.CreateFontIndirect(&lf), 1);
        EXPECT_EQ(fileName(faceOf(font).m_strFile), c.file);
    }
}

TEST(Font, PointSizeBecomesANegativeHeightAtTheContextResolution) {
    const struct {
        int size;
        int dpi; // 0: no context
        LONG height;
    } cases[] = {{100, 96, -13},
                 {120, 96, -16},
                 {95, 96, -13},
                 {100, 72, -10},
                 {100, 0, -13},
                 {-100, 96, -13},
                 {0, 96, 0},
                 {INT_MAX, 96, -286331153},
                 {INT_MIN, 96, -286331153}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        CDC dc(c.dpi);
        CFont font;
        ASSERT_EQ(font.CreatePointFont(c.size, "DejaVu Sans", c.dpi == 0 ? nullptr : &dc), 1);
        LOGFONTA lf{};
        ASSERT_NE(font.GetLogFont(&lf), 0);
        EXPECT_EQ(lf.lfHeight, c.height);
    }
    CFont font;
    ASSERT_EQ(font.CreatePointFont(100, std::string(40, 'q').c_str()), 1);
    LOGFONTA lf{};
    font.GetLogFont(&lf);
    EXPECT_EQ(std::string(lf.lfFaceName), std::string(31, 'q')); // a long face is cut
    EXPECT_EQ(CFont().CreatePointFont(100, nullptr), 1);
}

TEST(Font, HandleIsOwnedByOneObjectAndReleasedOnce) {
    CFont font;
    EXPECT_EQ(font.Attach(nullptr), 0);
    EXPECT_EQ(font.DeleteObject(), 0);
    LOGFONTA lf{};
    EXPECT_EQ(font.GetLogFont(&lf), 0);
    FontFaceInfo info;
    EXPECT_EQ(font.GetFaceInfo(&info), 0);
    EXPECT_EQ(font.CreateFontIndirect(nullptr), 0);
    EXPECT_EQ(CreateFontIndirectA(nullptr), nullptr);

    lf = logFont("DejaVu Sans", -10);
    ASSERT_EQ(font.CreateFontIndirect(&lf), 1);
    const HGDIOBJ first = font.GetSafeHandle();
    EXPECT_EQ(font.Attach(nullptr), 0);
    EXPECT_EQ(font.Attach(first), 1); // its own handle stays
    EXPECT_EQ(font.GetSafeHandle(), first);
    EXPECT_EQ(font.GetFaceInfo(nullptr), 0);
    EXPECT_EQ(font.GetLogFont(nullptr), 0);

    ASSERT_EQ(font.CreateFontIndirect(&lf), 1); // the first handle is released
    const HGDIOBJ detached = font.Detach();
    EXPECT_EQ(font.GetSafeHandle(), nullptr);
    EXPECT_EQ(DeleteObject(detached), 1);
    EXPECT_EQ(DeleteObject(nullptr), 0);

    ASSERT_EQ(font.CreateFontIndirect(&lf), 1);
    EXPECT_EQ(font.DeleteObject(), 1);
    EXPECT_EQ(font.DeleteObject(), 0);
    EXPECT_EQ(static_cast<HFONT>(font), nullptr);
}

TEST(Font, ContextStartsWithItsDefaultFontAndSelectReturnsThePrevious) {
    CDC dc;
    EXPECT_EQ(dc.GetDeviceCaps(CDC::LOGPIXELSX), 96);
    EXPECT_EQ(dc.GetDeviceCaps(0), 0);
    EXPECT_EQ(CDC(-5).GetDeviceCaps(CDC::LOGPIXELSY), 96);
    EXPECT_EQ(CDC(300).GetDeviceCaps(CDC::LOGPIXELSY), 300);

    CFont* const initial = dc.GetCurrentFont();
    ASSERT_NE(initial, nullptr);
    EXPECT_EQ(faceOf(*initial).m_nPixelHeight, 16);

    CFont a, b, empty;
    a.CreatePointFont(100, "DejaVu Sans", &dc);
    b.CreatePointFont(100, "Liberation Mono", &dc);
    EXPECT_EQ(dc.SelectObject(nullptr), nullptr);
    EXPECT_EQ(dc.SelectObject(&empty), nullptr); // a font without a handle cannot be selected
    EXPECT_EQ(dc.GetCurrentFont(), initial);
    EXPECT_EQ(dc.SelectObject(&a), initial);
    EXPECT_EQ(dc.SelectObject(&b), &a);
    EXPECT_EQ(dc.SelectObject(initial), &b);
    EXPECT_EQ(dc.GetCurrentFont(), initial);
    // Fonts are objects of the drawing kind; a context is not one.
    EXPECT_TRUE(a.IsKindOf(RUNTIME_CLASS(CGdiObject)));
    EXPECT_STREQ(a.GetRuntimeClass()->m_lpszClassName, "CFont");
    EXPECT_TRUE(dc.IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(dc.IsKindOf(RUNTIME_CLASS(CGdiObject)));
}
