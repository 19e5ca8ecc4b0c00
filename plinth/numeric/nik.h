#pragma once

#include "plinth/platform/cstring.h"
#include "plinth/platform/export.h"

#include <cstring>

namespace plinth {

/// Three-valued logic. The underlying type is fixed, so any 32-bit value may be stored;
/// every operation reads a value other than eUnknown and eTrue as eFalse.
/// Threads: one object is used by one thread at a time; distinct objects are independent.
enum ENik : int { eUnknown = -1, eFalse = 0, eTrue = 1 };

/// The same three values as stored by the dictionary's three-state entries.
enum Vel3State_ : int { eVel3Unknown = -1, eVel3False = 0, eVel3True = 1 };

/// Operations on ENik; stateless, everything is static.
class PLINTH_API Nik {
public:
    /// eUnknown stays, eTrue becomes eFalse, anything else becomes eTrue.
    static ENik Not(ENik v) {
        if (v == eUnknown) {
            return eUnknown;
        }
        return v == eTrue ? eFalse : eTrue;
    }
    static void Inverse(ENik& v) { v = Not(v); }

    /// "eUnknown", "eTrue" or "eFalse" (for every other value).
    static CString ToString(ENik v);
};

/// The ENik operations under a second name, plus conversions from integers.
class PLINTH_API TriStateAlg : public Nik {
public:
    /// -1 and 1 keep their meaning; every other integer is false.
    static ENik IntToNik(int i) {
        if (i == eUnknown) {
            return eUnknown;
        }
        return i == eTrue ? eTrue : eFalse;
    }
    static Vel3State_ IntTo3State(int i) { return static_cast<Vel3State_>(IntToNik(i)); }
};

/// True when the byte behind b is 0 or 1. Reads the byte, not the bool, so a corrupted
/// flag can be detected without undefined behaviour.
inline bool matrIsValidVar(const bool& b) {
    unsigned char byte = 0;
    std::memcpy(&byte, &b, 1);
    return byte <= 1;
}

} // namespace plinth
