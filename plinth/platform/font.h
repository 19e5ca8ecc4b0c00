#pragma once

#include "plinth/platform/cstring.h"
#include "plinth/platform/export.h"
#include "plinth/platform/object.h"
#include "plinth/platform/types.h"

namespace plinth {

// Fonts: logical-font records, font handles that own an opened face, the wrappers that own
// such handles and a device context that fonts are selected into.
//
// A face name is resolved with the system's font configuration and its usual substitution,
// so a name always yields some installed face (a metric-compatible one where the
// configuration knows it, "Arial" giving "Liberation Sans" for instance). Creation fails, with
// a null handle, only when no face file can be opened or sized. Whether the face belongs to
// the family that was named or is a substitute is told by FontFaceInfo::m_bExactFamily, with
// family names compared ignoring letter case. An empty name asks for the configuration's
// default face, which counts as a substitute. Names are passed on as UTF-8; other bytes match
// no family and give a substitute.
//
// Heights are in pixels: a negative lfHeight asks for that character (em) height, a positive
// one for that cell height (ascender plus descender), 0 for the default of 16 pixels (12
// points at 96 dots per inch). The weight (lfWeight: 400 regular, 700 bold, above 1000 taken as
// 1000, 0 the default) and lfItalic take part in choosing the face; the other fields of the
// record are kept but not used.
//
// Threads: one object is used by one thread at a time; distinct objects and font handles
// are independent (each handle has its own face and rasteriser).

/// A handle of a graphics object; fonts are the only kind here.
using HGDIOBJ = void*;
struct HFONT__;
using HFONT = HFONT__*;

inline constexpr int LF_FACESIZE = 32;

/// A logical font, 60 bytes.
struct LOGFONTA {
    LONG lfHeight;
    LONG lfWidth;
    LONG lfEscapement;
    LONG lfOrientation;
    LONG lfWeight; ///< 0: default (regular)
    BYTE lfItalic;
    BYTE lfUnderline;
    BYTE lfStrikeOut;
    BYTE lfCharSet;
    BYTE lfOutPrecision;
    BYTE lfClipPrecision;
    BYTE lfQuality;
    BYTE lfPitchAndFamily;
    char lfFaceName[LF_FACESIZE]; ///< read up to the first zero or the end of the field
};
static_assert(sizeof(LOGFONTA) == 60, "a logical font is 60 bytes");

/// What a font handle opened: the answer to the logical font that asked for it.
struct FontFaceInfo {
    CString m_strFamily;     ///< family of the face (its first family name, UTF-8)
    CString m_strFile;       ///< path of the face file
    int m_nIndex = 0;        ///< index of the face inside that file
    LONG m_nPixelHeight = 0; ///< em height the face is sized to, in pixels
    BOOL m_bExactFamily = 0; ///< the face belongs to the family named, not to a substitute
};

// ---- Font handles
/// A new font handle for the record, or null when no face can be opened or sized (or the
/// record is null). The handle is released by DeleteObject, once.
PLINTH_API HFONT CreateFontIndirectA(const LOGFONTA* lpLogFont);
/// Releases a font handle; 0 for a null handle.
PLINTH_API BOOL DeleteObject(HGDIOBJ hObject) noexcept;

class CDC;

/// Owner of one graphics-object handle, which it releases when it is destroyed. Objects are
/// not copied.
class PLINTH_API CGdiObject : public CObject {
    DECLARE_DYNAMIC(CGdiObject)
public:
    CGdiObject() noexcept = default;
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
    ~CGdiObject() override;

    // ---- Handle
    HGDIOBJ GetSafeHandle() const noexcept { return m_hObject; }
    /// Takes ownership of h, releasing a different handle held before; 0 (nothing changes)
    /// when h is null.
    BOOL Attach(HGDIOBJ h) noexcept;
    /// Gives up the handle without releasing it.
    HGDIOBJ Detach() noexcept;
    /// Releases the handle; 0 when there is none.
    BOOL DeleteObject() noexcept;

    HGDIOBJ m_hObject = nullptr;
};

/// A font. Creation replaces (and releases) a handle the object held before.
class PLINTH_API CFont : public CGdiObject {
    DECLARE_DYNAMIC(CFont)
public:
    CFont() noexcept = default;

    // ---- Creation (non-zero on success)
    BOOL CreateFontIndirect(const LOGFONTA* lpLogFont);
    /// nPointSize in tenths of a point, converted to a character height with the resolution
    /// of pDC (96 dots per inch when null): -(|size| * dpi / 720), rounded to nearest. A face
    /// name longer than 31 characters is cut.
    BOOL CreatePointFont(int nPointSize, LPCSTR lpszFaceName, CDC* pDC = nullptr);

    // ---- Queries (0 without a handle or with a null argument)
    /// The logical font the handle was made from (the record's size on success).
    int GetLogFont(LOGFONTA* pLogFont) const;
    BOOL GetFaceInfo(FontFaceInfo* pInfo) const;

    operator HFONT() const noexcept { // NOLINT(google-explicit-constructor): framework conversion
        return static_cast<HFONT>(m_hObject);
    }
};

/// A memory device context: the resolution used for point sizes and the selected font. A new
/// one has a default font of its own selected (made from an all-zero logical font; its handle
/// is null only when no face at all can be opened). A selected font must stay alive until
/// another is selected or the context is destroyed; the context never deletes it.
class PLINTH_API CDC : public CObject {
    DECLARE_DYNAMIC(CDC)
public:
    enum { LOGPIXELSX = 88, LOGPIXELSY = 90 };

    /// A resolution below 1 is taken as 96.
    explicit CDC(int nDotsPerInch = 96);
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;
    ~CDC() override;

    /// LOGPIXELSX or LOGPIXELSY: dots per inch; 0 for any other index.
    int GetDeviceCaps(int nIndex) const noexcept;
    /// Selects pFont and returns the font selected before; null (nothing changes) when pFont
    /// is null or has no handle.
    CFont* SelectObject(CFont* pFont) noexcept;
    CFont* GetCurrentFont() const noexcept { return m_pFont; }

private:
    int m_nDotsPerInch;
    CFont m_defaultFont;
    CFont* m_pFont;
};

} // namespace plinth
