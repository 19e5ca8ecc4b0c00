#include "plinth/platform/exceptions.h"

#include <cerrno>

namespace plinth {

const char* CException::what() const noexcept {
    return "framework exception";
}

const char* CMemoryException::what() const noexcept {
    return "out of memory";
}

const char* CInvalidArgException::what() const noexcept {
    return "invalid argument";
}

CArchiveException::CArchiveException(int cause, LPCTSTR archiveName)
    : m_cause(cause)
    , m_strFileName(archiveName) {}

const char* CArchiveException::what() const noexcept {
    switch (m_cause) {
    case readOnly:
        return "archive: value inserted into an archive that is loading";
    case endOfFile:
        return "archive: unexpected end of file";
    case writeOnly:
        return "archive: value extracted from an archive that is storing";
    case badIndex:
        return "archive: bad index";
    case badClass:
        return "archive: bad class";
    case badSchema:
        return "archive: bad schema";
    case bufferFull:
        return "archive: buffer full";
    default:
        return "archive: error";
    }
}

CFileException::CFileException(int cause, LONG osError, LPCTSTR fileName)
    : m_cause(cause)
    , m_lOsError(osError)
    , m_strFileName(fileName) {}

const char* CFileException::what() const noexcept {
    switch (m_cause) {
    case fileNotFound:
        return "file: not found";
    case badPath:
        return "file: bad path";
    case tooManyOpenFiles:
        return "file: too many open files";
    case accessDenied:
        return "file: access denied";
    case invalidFile:
        return "file: invalid file";
    case removeCurrentDir:
        return "file: cannot remove the current directory";
    case directoryFull:
        return "file: directory full";
    case badSeek:
        return "file: bad seek";
    case hardIO:
        return "file: hardware input/output error";
    case sharingViolation:
        return "file: sharing violation";
    case lockViolation:
        return "file: lock violation";
    case diskFull:
        return "file: disk full";
    case endOfFile:
        return "file: end of file";
    default:
        return "file: error";
    }
}

int CFileException::OsErrorToException(LONG osError) {
    switch (osError) {
    case 0:
        return none;
    case ENOENT:
        return fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
        return badPath;
    case EMFILE:
    case ENFILE:
        return tooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EEXIST:
    case EISDIR:
        return accessDenied;
    case EBADF:
        return invalidFile;
    case EBUSY:
        return removeCurrentDir;
    case ESPIPE:
    case EINVAL:
        return badSeek;
    case EIO:
        return hardIO;
    case EWOULDBLOCK:
        return sharingViolation;
    case ENOLCK:
    case EDEADLK:
        return lockViolation;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return diskFull;
    default:
        return genericException;
    }
}

void AfxThrowMemoryException() {
    throw CMemoryException();
}

void AfxThrowInvalidArgException() {
    throw CInvalidArgException();
}

void AfxThrowArchiveException(int cause, LPCTSTR archiveName) {
    throw CArchiveException(cause, archiveName);
}

void AfxThrowFileException(int cause, LONG osError, LPCTSTR fileName) {
    throw CFileException(cause, osError, fileName);
}

} // namespace plinth
