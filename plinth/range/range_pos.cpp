#include "plinth/range/range_pos.h"

namespace plinth {

RangePos::~RangePos() = default;

} // namespace plinth
