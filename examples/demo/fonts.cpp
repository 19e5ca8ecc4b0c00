// Fonts: a cache hands out one font per description; "Arial" resolves to whatever face the
// system offers for it.
#include "sections.h"

#include "plinth/fonts/font_vel_cache.h"

#include <cstdio>

using namespace plinth;

namespace {

void printFace(const char* how, const CFont& font) {
    FontFaceInfo face;
    LOGFONTA lf{};
    if (font.GetFaceInfo(&face) == 0 || font.GetLogFont(&lf) == 0) {
        std::printf("%s: no font could be made\n", how);
        return;
    }
    std::printf("%s: %s (%s) from %s, height %d, %d pixels\n", how, face.m_strFamily.GetString(),
                face.m_bExactFamily != 0 ? "the family asked for" : "a substitute",
                face.m_strFile.GetString(), static_cast<int>(lf.lfHeight),
                static_cast<int>(face.m_nPixelHeight));
}

} // namespace

void DemoFonts() {
    std::printf("\n-- Fonts --\n");
    FontVelCache cache;
    CDC dc;          // 96 dots per inch
    FontSpecs specs; // "Arial", 10 points
    FontVel* const arial = cache.CreateFontA(specs);
    CFont* const previous = arial->Create(&dc);
    printFace("Arial at 10 points", *arial);
    dc.SelectObject(previous);

    specs.m_strFace = "DejaVu Sans";
    specs.m_nSize = 95;
    FontVel* const indirect = cache.CreateFontA(specs);
    indirect->CreateIndirect();
    printFace("DejaVu Sans, size 95, indirect", *indirect);
    std::printf("cache holds %d fonts; asking again gives the same one: %s\n",
                static_cast<int>(cache.GetSize()),
                cache.CreateFontA(specs) == indirect ? "yes" : "no");
}
