#include "plinth/platform/ptr_array.h"

namespace plinth {

IMPLEMENT_DYNAMIC(CPtrArray, CObject)
IMPLEMENT_DYNAMIC(CObArray, CObject)
IMPLEMENT_DYNAMIC(CStringArray, CObject)

} // namespace plinth
