#pragma once

#include "plinth/platform/cstring.h"
#include "plinth/platform/export.h"
#include "plinth/platform/types.h"

namespace plinth {

/// The description of a text font that modules exchange: a face name, a size in tenths of a
/// point and three style bytes. The style bytes are carried, copied and compared only; nothing
/// here gives them a meaning.
///
/// Threads: one object is used by one thread at a time; distinct objects are independent.
class PLINTH_API FontSpecs {
public:
    /// "Arial" at size 100 (10 points), style bytes 0.
    FontSpecs();

    // ---- Copy and compare
    void Copy(const FontSpecs& o) { *this = o; }
    /// Same size, the same face name character for character (letter case counts) and the
    /// same style bytes in order.
    bool IsSame(const FontSpecs& o) const noexcept;

    CString m_strFace;
    int m_nSize = 100;
    BYTE m_bStyle1 = 0;
    BYTE m_bStyle2 = 0;
    BYTE m_bStyle3 = 0;
};

} // namespace plinth
