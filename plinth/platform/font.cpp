#include "plinth/platform/font.h"

#include "plinth/platform/memory.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include <memory>

namespace plinth {

// A font handle: the record it was made from and the face it opened.
struct HFONT__ {
    LOGFONTA logFont{};
    FontFaceInfo info;
    FT_Library library = nullptr;
    FT_Face face = nullptr; // released with the library
};

namespace {

constexpr LONG kDefaultPixelHeight = 16;
constexpr int kScreenDotsPerInch = 96;
constexpr std::int64_t kMaxPixelHeight = 0xFFFF;
constexpr int kPointsPerInchTimesTen = 720;

struct PatternRelease {
    void operator()(FcPattern* p) const noexcept { FcPatternDestroy(p); }
};
using PatternPtr = std::unique_ptr<FcPattern, PatternRelease>;

struct HandleRelease {
    void operator()(HFONT__* h) const noexcept {
        if (h->library != nullptr) {
            FT_Done_FreeType(h->library);
        }
        delete h;
    }
};
using HandlePtr = std::unique_ptr<HFONT__, HandleRelease>;

const FcChar8* utf8(const char* text) noexcept {
    return reinterpret_cast<const FcChar8*>(text);
}

// The face field up to its first zero, at most the whole field.
CString faceName(const LOGFONTA& lf) {
    return CString(lf.lfFaceName, static_cast<int>(strnlen(lf.lfFaceName, LF_FACESIZE)));
}

// Whether one of the matched face's family names is the one asked for.
bool isFamily(FcPattern* match, const CString& family) noexcept {
    if (family.IsEmpty()) {
        return false;
    }
    FcChar8* name = nullptr;
    for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &name) == FcResultMatch; ++i) {
        if (FcStrCmpIgnoreCase(name, utf8(family)) == 0) {
            return true;
        }
    }
    return false;
}

// Fills the face file, index and family that the configuration chooses for the record.
bool resolve(const LOGFONTA& lf, FontFaceInfo& info) {
    const PatternPtr pattern(FcPatternCreate());
    if (!pattern) {
        return false;
    }
    const CString family = faceName(lf);
    if (!family.IsEmpty()) {
        FcPatternAddString(pattern.get(), FC_FAMILY, utf8(family));
    }
    if (lf.lfWeight > 0) {
        FcPatternAddInteger(pattern.get(), FC_WEIGHT,
                            FcWeightFromOpenType(std::min<LONG>(lf.lfWeight, 1000)));
    }
    if (lf.lfItalic != 0) {
        FcPatternAddInteger(pattern.get(), FC_SLANT, FC_SLANT_ITALIC);
    }
    if (FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern) == FcFalse) {
        return false;
    }
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    const PatternPtr match(FcFontMatch(nullptr, pattern.get(), &result));
    FcChar8* file = nullptr;
    if (!match || FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch) {
        return false;
    }
    int index = 0;
    FcPatternGetInteger(match.get(), FC_INDEX, 0, &index);
    FcChar8* first = nullptr;
    FcPatternGetString(match.get(), FC_FAMILY, 0, &first);
    info.m_strFile = reinterpret_cast<const char*>(file);
    info.m_nIndex = index;
    info.m_strFamily = first == nullptr ? "" : reinterpret_cast<const char*>(first);
    info.m_bExactFamily = isFamily(match.get(), family);
    return true;
}

// Sizes the face to the record's height (see the header for its meaning).
bool setHeight(FT_Face face, LONG height) {
    const std::int64_t pixels = std::min<std::int64_t>(
        height == 0 ? kDefaultPixelHeight : std::abs(static_cast<std::int64_t>(height)),
        kMaxPixelHeight);
    if (height > 0) {
        FT_Size_RequestRec request{};
        request.type = FT_SIZE_REQUEST_TYPE_CELL;
        request.height = static_cast<FT_Long>(pixels * 64);
        return FT_Request_Size(face, &request) == 0;
    }
    return FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixels)) == 0;
}

} // namespace

HFONT CreateFontIndirectA(const LOGFONTA* lpLogFont) {
    if (lpLogFont == nullptr) {
        return nullptr;
    }
    HandlePtr handle(AfxNew<HFONT__>());
    handle->logFont = *lpLogFont;
    if (!resolve(*lpLogFont, handle->info) || FT_Init_FreeType(&handle->library) != 0) {
        return nullptr;
    }
    if (FT_New_Face(handle->library, handle->info.m_strFile, handle->info.m_nIndex,
                    &handle->face) != 0 ||
        !setHeight(handle->face, lpLogFont->lfHeight)) {
        return nullptr;
    }
    handle->info.m_nPixelHeight = static_cast<LONG>(handle->face->size->metrics.y_ppem);
    return handle.release();
}

BOOL DeleteObject(HGDIOBJ hObject) noexcept {
    if (hObject == nullptr) {
        return 0;
    }
    HandleRelease()(static_cast<HFONT__*>(hObject));
    return 1;
}

IMPLEMENT_DYNAMIC(CGdiObject, CObject)

CGdiObject::~CGdiObject() {
    DeleteObject();
}

BOOL CGdiObject::Attach(HGDIOBJ h) noexcept {
    if (h == nullptr) {
        return 0;
    }
    if (h != m_hObject) {
        DeleteObject();
        m_hObject = h;
    }
    return 1;
}

HGDIOBJ CGdiObject::Detach() noexcept {
    HGDIOBJ h = m_hObject;
    m_hObject = nullptr;
    return h;
}

BOOL CGdiObject::DeleteObject() noexcept {
    return ::plinth::DeleteObject(Detach());
}

IMPLEMENT_DYNAMIC(CFont, CGdiObject)

BOOL CFont::CreateFontIndirect(const LOGFONTA* lpLogFont) {
    return Attach(CreateFontIndirectA(lpLogFont));
}

BOOL CFont::CreatePointFont(int nPointSize, LPCSTR lpszFaceName, CDC* pDC) {
    const std::int64_t dpi =
        pDC == nullptr ? kScreenDotsPerInch : pDC->GetDeviceCaps(CDC::LOGPIXELSY);
    const std::int64_t height =
        (dpi * std::abs(static_cast<std::int64_t>(nPointSize)) + kPointsPerInchTimesTen / 2) /
        kPointsPerInchTimesTen;
    LOGFONTA lf{};
    lf.lfHeight = static_cast<LONG>(-std::min<std::int64_t>(height, INT32_MAX));
    if (lpszFaceName != nullptr) {
        std::strncpy(lf.lfFaceName, lpszFaceName, LF_FACESIZE - 1);
    }
    return CreateFontIndirect(&lf);
}

int CFont::GetLogFont(LOGFONTA* pLogFont) const {
    if (m_hObject == nullptr || pLogFont == nullptr) {
        return 0;
    }
    *pLogFont = static_cast<const HFONT__*>(m_hObject)->logFont;
    return static_cast<int>(sizeof(LOGFONTA));
}

BOOL CFont::GetFaceInfo(FontFaceInfo* pInfo) const {
    if (m_hObject == nullptr || pInfo == nullptr) {
        return 0;
    }
    *pInfo = static_cast<const HFONT__*>(m_hObject)->info;
    return 1;
}

IMPLEMENT_DYNAMIC(CDC, CObject)

CDC::CDC(int nDotsPerInch)
    : m_nDotsPerInch(nDotsPerInch < 1 ? kScreenDotsPerInch : nDotsPerInch)
    , m_pFont(&m_defaultFont) {
    const LOGFONTA defaultFont{};
    m_defaultFont.CreateFontIndirect(&defaultFont);
}

CDC::~CDC() = default;

int CDC::GetDeviceCaps(int nIndex) const noexcept {
    return nIndex == LOGPIXELSX || nIndex == LOGPIXELSY ? m_nDotsPerInch : 0;
}

CFont* CDC::SelectObject(CFont* pFont) noexcept {
    if (pFont == nullptr || pFont->GetSafeHandle() == nullptr) {
        return nullptr;
    }
    CFont* previous = m_pFont;
    m_pFont = pFont;
    return previous;
}

} // namespace plinth
