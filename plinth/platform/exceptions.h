#pragma once

#include "plinth/platform/cstring.h"
#include "plinth/platform/export.h"
#include "plinth/platform/throw.h"
#include "plinth/platform/types.h"

#include <exception>

namespace plinth {

/// Base of the framework's exceptions. They are thrown and caught by value (or reference).
/// Threads: one object is used by one thread at a time; distinct objects are independent.
class PLINTH_API CException : public std::exception {
public:
    const char* what() const noexcept override;
};

/// An allocation failed.
class PLINTH_API CMemoryException : public CException {
public:
    const char* what() const noexcept override;
};

/// An argument, such as an index, is outside what the call accepts.
class PLINTH_API CInvalidArgException : public CException {
public:
    const char* what() const noexcept override;
};

/// A binary archive could not store or load a value; m_cause says why.
class PLINTH_API CArchiveException : public CException {
public:
    enum {
        none,
        genericException,
        readOnly,  ///< a value was inserted into an archive that is loading
        endOfFile, ///< the stream ended before a value was complete
        writeOnly, ///< a value was extracted from an archive that is storing
        badIndex,
        badClass,
        badSchema,
        bufferFull,
    };

    explicit CArchiveException(int cause = none, LPCTSTR archiveName = nullptr);
    const char* what() const noexcept override;

    int m_cause;
    CString m_strFileName;
};

/// A file operation failed; m_cause says why, m_lOsError gives the system's number.
class PLINTH_API CFileException : public CException {
public:
    enum {
        none,
        genericException,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile,
    };

    explicit CFileException(int cause = none, LONG osError = -1, LPCTSTR fileName = nullptr);
    const char* what() const noexcept override;

    /// The cause that stands for an operating-system error code (an errno value).
    static int OsErrorToException(LONG osError);

    int m_cause;
    LONG m_lOsError;
    CString m_strFileName;
};

} // namespace plinth
