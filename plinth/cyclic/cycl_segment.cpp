#include "plinth/cyclic/cycl_segment.h"

namespace plinth {

CCyclSegment::~CCyclSegment() = default;

} // namespace plinth
