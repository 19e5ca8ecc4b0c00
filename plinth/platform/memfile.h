#pragma once

#include "plinth/platform/export.h"
#include "plinth/platform/file.h"
#include "plinth/platform/types.h"

#include <cstddef>

namespace plinth {

/// A file held in memory. It grows in steps of at least growBytes; a file that cannot grow
/// (growBytes 0) raises CMemoryException when written beyond its buffer. Reading past the end
/// returns fewer bytes; writing past the end fills the gap with zeros.
///
/// A buffer given to the constructor or to Attach stays the caller's: the file never frees it,
/// and when it has to grow it moves the bytes to a buffer of its own. Detach hands the current
/// buffer over to the caller; a buffer that the file allocated is released with delete[].
/// Threads: one object is used by one thread at a time; distinct objects are independent.
class PLINTH_API CMemFile : public CFile {
    DECLARE_DYNAMIC(CMemFile)
public:
    explicit CMemFile(UINT growBytes = 1024);
    CMemFile(BYTE* buffer, UINT size, UINT growBytes = 0);
    ~CMemFile() override;

    /// With growBytes 0 the file holds the size bytes of the buffer and cannot grow; otherwise
    /// it starts empty and grows into the buffer and beyond. Releases the previous buffer.
    void Attach(BYTE* buffer, UINT size, UINT growBytes = 0);
    /// Returns the buffer and leaves the file empty.
    BYTE* Detach() noexcept;

    /// A memory file has no name to open: always FALSE.
    BOOL Open(LPCTSTR fileName, UINT openFlags, CFileException* error = nullptr) override;

    UINT Read(void* buffer, UINT count) override;
    void Write(const void* buffer, UINT count) override;
    ULONGLONG Seek(LONGLONG offset, UINT from) override;
    ULONGLONG GetPosition() const override;
    ULONGLONG GetLength() const override;
    void SetLength(ULONGLONG newLength) override;
    void Flush() override;
    /// bufferDirect for bufferCheck; bufferRead hands out the file's own bytes.
    UINT GetBufferPtr(UINT command, UINT count = 0, void** start = nullptr,
                      void** max = nullptr) override;
    /// Both release the buffer when the file allocated it and leave the file empty.
    void Close() override;
    void Abort() override;

private:
    /// Makes the buffer hold at least `length` bytes, keeping the file's bytes.
    void GrowFile(std::size_t length);
    /// Zeros the bytes from the end of the file up to `length`, which the buffer holds.
    void ZeroGap(std::size_t length) noexcept;
    void Release() noexcept;

    std::size_t m_nGrowBytes;
    std::size_t m_nPosition = 0;
    std::size_t m_nBufferSize = 0;
    std::size_t m_nFileSize = 0;
    BYTE* m_lpBuffer = nullptr;
    bool m_bAutoDelete = true; ///< the file allocated m_lpBuffer
};

} // namespace plinth
