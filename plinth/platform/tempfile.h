#pragma once

#include "plinth/platform/cstring.h"
#include "plinth/platform/export.h"
#include "plinth/platform/types.h"

namespace plinth {

/// Temporary files that the library makes for itself.
///
/// CreateTempFile makes a new, empty file that only its owner may read and write, in the
/// directory that the environment variable TMPDIR names (/tmp when it is unset, empty, or the
/// process runs with raised privileges), named by the prefix followed by six characters that
/// make it unique. It returns the file's full path, or an empty string when no file can be
/// made: a directory that does not exist or cannot be written, a null prefix or one holding a
/// '/'. The caller removes the file (CFile::Remove) when done with it.
///
/// Threads: any thread may call it; each call makes a distinct file.
PLINTH_API CString CreateTempFile(LPCTSTR prefix);

} // namespace plinth
