#include "plinth/platform/file.h"

#include "plinth/platform/exceptions.h"
#include "plinth/platform/throw.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace plinth {

IMPLEMENT_DYNAMIC(CFile, CObject)

namespace {

constexpr UINT accessMask = 0x3;
constexpr UINT shareMask = 0x70;

[[noreturn]] void ThrowOsError(int osError, LPCTSTR fileName) {
    AfxThrowFileException(CFileException::OsErrorToException(osError), osError, fileName);
}

// The lock that stands for the share mode; 0 for none.
int LockOperation(UINT openFlags) {
    switch (openFlags & shareMask) {
    case CFile::shareDenyNone:
        return 0;
    case CFile::shareDenyWrite:
        return (openFlags & accessMask) == CFile::modeRead ? LOCK_SH : LOCK_EX;
    default:
        return LOCK_EX;
    }
}

// Checks and locks a freshly opened descriptor; returns 0 or the errno value of the failure.
// Truncation waits for the lock so that a file shared with someone else keeps its bytes.
int PrepareDescriptor(int fd, UINT openFlags, bool truncate) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        return errno;
    }
    if (S_ISDIR(st.st_mode)) {
        return EISDIR;
    }
    const int lock = LockOperation(openFlags);
    if (lock != 0 && ::flock(fd, lock | LOCK_NB) != 0) {
        return errno;
    }
    if (truncate && ::ftruncate(fd, 0) != 0) {
        return errno;
    }
    return 0;
}

// Returns the descriptor, or -1 with errno set.
int OpenDescriptor(LPCTSTR fileName, UINT openFlags) {
    static constexpr int accessModes[] = {O_RDONLY, O_WRONLY, O_RDWR};
    const int access = accessModes[openFlags & accessMask];
    const bool create = (openFlags & CFile::modeCreate) != 0;
    const bool truncate = create && (openFlags & CFile::modeNoTruncate) == 0;
    int flags = access;
    if (create) {
        flags |= O_CREAT;
    }
    if ((openFlags & CFile::modeNoInherit) != 0) {
        flags |= O_CLOEXEC;
    }
    if (truncate && access == O_RDONLY) {
        flags |= O_TRUNC; // a read-only descriptor cannot be truncated later
    }
    int fd = -1;
    do {
        fd = ::open(fileName, flags, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        return -1;
    }
    const int failure = PrepareDescriptor(fd, openFlags, truncate && access != O_RDONLY);
    if (failure != 0) {
        ::close(fd);
        errno = failure;
        return -1;
    }
    return fd;
}

// The absolute path of an existing file, links resolved.
bool ResolvePath(LPCTSTR fileName, char (&fullName)[PATH_MAX]) {
    return ::realpath(fileName, fullName) != nullptr;
}

} // namespace

CFile::CFile(LPCTSTR fileName, UINT openFlags) {
    CFileException error;
    if (!Open(fileName, openFlags, &error)) {
        AfxThrowFileException(error.m_cause, error.m_lOsError, error.m_strFileName);
    }
}

CFile::~CFile() {
    if (m_hFile != hFileNull) {
        ::close(m_hFile);
    }
}

BOOL CFile::Open(LPCTSTR fileName, UINT openFlags, CFileException* error) {
    int fd = hFileNull;
    int cause = CFileException::genericException;
    LONG osError = -1;
    if (fileName == nullptr) {
        cause = CFileException::badPath;
    } else if (m_hFile == hFileNull && (openFlags & accessMask) != accessMask) {
        fd = OpenDescriptor(fileName, openFlags);
        if (fd < 0) {
            osError = errno;
            cause = CFileException::OsErrorToException(osError);
        }
    }
    if (fd < 0) {
        if (error != nullptr) {
            error->m_cause = cause;
            error->m_lOsError = osError;
            error->m_strFileName = fileName;
        }
        return 0;
    }
    m_hFile = fd;
    char fullName[PATH_MAX];
    m_strFileName = ResolvePath(fileName, fullName) ? fullName : fileName;
    return 1;
}

UINT CFile::Read(void* buffer, UINT count) {
    if (count == 0) {
        return 0;
    }
    if (buffer == nullptr) {
        AfxThrowInvalidArgException();
    }
    auto* bytes = static_cast<BYTE*>(buffer);
    UINT done = 0;
    while (done < count) {
        const ssize_t n = ::read(m_hFile, bytes + done, count - done);
        if (n == 0) {
            break;
        }
        if (n > 0) {
            done += static_cast<UINT>(n);
        } else if (errno != EINTR) {
            ThrowOsError(errno, m_strFileName);
        }
    }
    return done;
}

void CFile::Write(const void* buffer, UINT count) {
    if (count == 0) {
        return;
    }
    if (buffer == nullptr) {
        AfxThrowInvalidArgException();
    }
    const auto* bytes = static_cast<const BYTE*>(buffer);
    UINT done = 0;
    while (done < count) {
        const ssize_t n = ::write(m_hFile, bytes + done, count - done);
        if (n > 0) {
            done += static_cast<UINT>(n);
        } else if (n == 0) {
            ThrowOsError(ENOSPC, m_strFileName);
        } else if (errno != EINTR) {
            ThrowOsError(errno, m_strFileName);
        }
    }
}

ULONGLONG CFile::Seek(LONGLONG offset, UINT from) {
    static constexpr int origins[] = {SEEK_SET, SEEK_CUR, SEEK_END};
    if (from > end) {
        AfxThrowInvalidArgException();
    }
    const off_t position = ::lseek(m_hFile, offset, origins[from]);
    if (position < 0) {
        ThrowOsError(errno, m_strFileName);
    }
    return static_cast<ULONGLONG>(position);
}

ULONGLONG CFile::GetPosition() const {
    const off_t position = ::lseek(m_hFile, 0, SEEK_CUR);
    if (position < 0) {
        ThrowOsError(errno, m_strFileName);
    }
    return static_cast<ULONGLONG>(position);
}

ULONGLONG CFile::GetLength() const {
    struct stat st {};
    if (::fstat(m_hFile, &st) != 0) {
        ThrowOsError(errno, m_strFileName);
    }
    return static_cast<ULONGLONG>(st.st_size);
}

void CFile::SetLength(ULONGLONG newLength) {
    if (newLength > static_cast<ULONGLONG>(INT64_MAX)) {
        ThrowOsError(EFBIG, m_strFileName);
    }
    if (::ftruncate(m_hFile, static_cast<off_t>(newLength)) != 0) {
        ThrowOsError(errno, m_strFileName);
    }
    if (GetPosition() > newLength) {
        Seek(static_cast<LONGLONG>(newLength), begin);
    }
}

UINT CFile::GetBufferPtr(UINT /*command*/, UINT /*count*/, void** /*start*/, void** /*max*/) {
    return 0;
}

void CFile::Flush() {
    // Descriptors without storage behind them (pipes, devices) have nothing to commit.
    if (m_hFile != hFileNull && ::fsync(m_hFile) != 0 && errno != EINVAL && errno != EROFS) {
        ThrowOsError(errno, m_strFileName);
    }
}

void CFile::Close() {
    if (m_hFile == hFileNull) {
        return;
    }
    const int fd = m_hFile;
    m_hFile = hFileNull;
    const CString fileName = m_strFileName;
    m_strFileName.Empty();
    // After EINTR the descriptor is closed all the same.
    if (::close(fd) != 0 && errno != EINTR) {
        ThrowOsError(errno, fileName);
    }
}

void CFile::Abort() {
    if (m_hFile != hFileNull) {
        ::close(m_hFile);
        m_hFile = hFileNull;
    }
    m_strFileName.Empty();
}

CString CFile::GetFileName() const {
    const int slash = m_strFileName.ReverseFind('/');
    return slash < 0 ? m_strFileName : m_strFileName.Mid(slash + 1);
}

CString CFile::GetFilePath() const {
    return m_strFileName;
}

void CFile::Remove(LPCTSTR fileName) {
    if (fileName == nullptr) {
        AfxThrowFileException(CFileException::badPath);
    }
    if (::unlink(fileName) != 0) {
        ThrowOsError(errno, fileName);
    }
}

BOOL CFile::GetStatus(LPCTSTR fileName, CFileStatus& status) {
    struct stat st {};
    char fullName[PATH_MAX];
    if (fileName == nullptr || ::stat(fileName, &st) != 0 || !ResolvePath(fileName, fullName)) {
        return 0;
    }
    status.m_ctime = st.st_ctim.tv_sec;
    status.m_mtime = st.st_mtim.tv_sec;
    status.m_atime = st.st_atim.tv_sec;
    status.m_size = static_cast<ULONGLONG>(st.st_size);
    status.m_attribute = normal;
    if (S_ISDIR(st.st_mode)) {
        status.m_attribute |= directory;
    }
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
        status.m_attribute |= readOnly;
    }
    std::memcpy(status.m_szFullName, fullName, std::strlen(fullName) + 1);
    return 1;
}

} // namespace plinth
