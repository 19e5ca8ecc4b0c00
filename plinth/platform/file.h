#pragma once

#include "plinth/platform/cstring.h"
#include "plinth/platform/ctime.h"
#include "plinth/platform/exceptions.h"
#include "plinth/platform/export.h"
#include "plinth/platform/object.h"
#include "plinth/platform/types.h"

#include <climits>

namespace plinth {

/// What CFile::GetStatus reports about a file.
/// Threads: one object is used by one thread at a time; distinct objects are independent.
struct CFileStatus {
    CTime m_ctime; ///< last status change: the system keeps no creation time
    CTime m_mtime; ///< last modification
    CTime m_atime; ///< last access
    ULONGLONG m_size = 0;
    BYTE m_attribute = 0; ///< CFile::Attribute bits
    BYTE _m_padding = 0;
    TCHAR m_szFullName[PATH_MAX] = {}; ///< absolute path with links resolved
};

/// A file on disk, unbuffered. Read and Write failures raise CFileException with the cause
/// that stands for the system's error.
///
/// Share modes are advisory whole-file locks taken when the file is opened, so they keep out
/// other openers that use them (in this process or another) but not programs that ignore
/// locks. shareCompat, shareExclusive and shareDenyRead take an exclusive lock; shareDenyWrite
/// takes a shared lock when the file is opened for reading only and an exclusive one when it
/// is opened for writing; shareDenyNone takes none. A conflicting lock fails the open with
/// sharingViolation.
class PLINTH_API CFile : public CObject {
    DECLARE_DYNAMIC(CFile)
public:
    enum OpenFlags {
        modeRead = 0x00000,
        modeWrite = 0x00001,
        modeReadWrite = 0x00002,
        shareCompat = 0x00000,
        shareExclusive = 0x00010,
        shareDenyWrite = 0x00020,
        shareDenyRead = 0x00030,
        shareDenyNone = 0x00040,
        modeNoInherit = 0x00080,  ///< not inherited by programs that this process starts
        modeCreate = 0x01000,     ///< creates the file, emptying an existing one...
        modeNoTruncate = 0x02000, ///< ...unless this is given too
        typeText = 0x04000,       ///< no effect here: a CFile transfers bytes as they are
        typeBinary = 0x08000,
    };

    enum Attribute {
        normal = 0x00,
        readOnly = 0x01,
        hidden = 0x02,
        system = 0x04,
        volume = 0x08,
        directory = 0x10,
        archive = 0x20,
    };

    enum SeekPosition { begin = 0x0, current = 0x1, end = 0x2 };

    static constexpr int hFileNull = -1;

    CFile() noexcept = default;
    /// Raises CFileException when the file cannot be opened.
    CFile(LPCTSTR fileName, UINT openFlags);
    /// Closes an open file, ignoring errors.
    ~CFile() override;

    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    /// FALSE when the file cannot be opened (or this object has one open already); the reason
    /// goes into *error when given.
    virtual BOOL Open(LPCTSTR fileName, UINT openFlags, CFileException* error = nullptr);

    /// Returns the number of bytes read: fewer than count only at the end of the file.
    virtual UINT Read(void* buffer, UINT count);
    virtual void Write(const void* buffer, UINT count);

    /// Returns the new position; a position before the start raises badSeek.
    virtual ULONGLONG Seek(LONGLONG offset, UINT from);
    void SeekToBegin() { Seek(0, begin); }
    ULONGLONG SeekToEnd() { return Seek(0, end); }
    virtual ULONGLONG GetPosition() const;

    virtual ULONGLONG GetLength() const;
    /// Cuts or extends (with zeros) the file; a position beyond the new end moves to it.
    virtual void SetLength(ULONGLONG newLength);

    /// Commits written data to the storage device.
    virtual void Flush();

    // ---- Direct access to the file's own memory

    enum BufferCommand { bufferRead = 0, bufferWrite = 1, bufferCommit = 2, bufferCheck = 3 };
    enum BufferFlags { bufferDirect = 0x01, bufferBlocking = 0x02 };
    /// bufferCheck: the BufferFlags the file supports; a disk file supports none. bufferRead,
    /// on a file with bufferDirect: points *start and *max at up to count bytes of the file's
    /// memory from the position on, moves the position past them and returns their number
    /// (0 and both null at the end). They stay valid until the file is written or closed.
    /// Any other command returns 0.
    virtual UINT GetBufferPtr(UINT command, UINT count = 0, void** start = nullptr,
                              void** max = nullptr);
    /// Close raises on a failure to close; Abort ignores it. Both do nothing when closed.
    virtual void Close();
    virtual void Abort();

    /// The name without its directory, and the full path the file was opened under.
    virtual CString GetFileName() const;
    virtual CString GetFilePath() const;

    /// Raises CFileException when the file cannot be removed.
    static void Remove(LPCTSTR fileName);
    /// FALSE when the file does not exist or cannot be examined.
    static BOOL GetStatus(LPCTSTR fileName, CFileStatus& status);

protected:
    int m_hFile = hFileNull; ///< file descriptor
    CString m_strFileName;
};

} // namespace plinth
