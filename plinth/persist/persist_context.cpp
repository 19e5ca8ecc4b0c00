#include "plinth/persist/persist_context.h"

namespace plinth {

PC::~PC() = default;

} // namespace plinth
