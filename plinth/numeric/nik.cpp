#include "plinth/numeric/nik.h"

namespace plinth {

CString Nik::ToString(ENik v) {
    switch (v) {
    case eUnknown:
        return CString("eUnknown");
    case eTrue:
        return CString("eTrue");
    default:
        return CString("eFalse");
    }
}

} // namespace plinth
