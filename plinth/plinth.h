#pragma once

// Everything the library offers, in one include.

#include "plinth/platform/cstring.h"
#include "plinth/platform/exceptions.h"
#include "plinth/platform/export.h"
#include "plinth/platform/memory.h"
#include "plinth/platform/object.h"
#include "plinth/platform/throw.h"
#include "plinth/platform/types.h"
