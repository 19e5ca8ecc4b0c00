#include "plinth/platform/memfile.h"

#include "plinth/platform/exceptions.h"
#include "plinth/platform/memory.h"
#include "plinth/platform/throw.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace plinth {

IMPLEMENT_DYNAMIC(CMemFile, CFile)

CMemFile::CMemFile(UINT growBytes)
    : m_nGrowBytes(growBytes) {}

CMemFile::CMemFile(BYTE* buffer, UINT size, UINT growBytes)
    : m_nGrowBytes(growBytes) {
    Attach(buffer, size, growBytes);
}

CMemFile::~CMemFile() {
    Release();
}

void CMemFile::Attach(BYTE* buffer, UINT size, UINT growBytes) {
    if (buffer == nullptr && size != 0) {
        AfxThrowInvalidArgException();
    }
    Release();
    m_lpBuffer = buffer;
    m_bAutoDelete = false;
    m_nBufferSize = size;
    m_nFileSize = growBytes == 0 ? size : 0;
    m_nGrowBytes = growBytes;
    m_nPosition = 0;
}

BYTE* CMemFile::Detach() noexcept {
    BYTE* buffer = m_lpBuffer;
    m_lpBuffer = nullptr;
    m_bAutoDelete = true;
    m_nBufferSize = 0;
    m_nFileSize = 0;
    m_nPosition = 0;
    return buffer;
}

BOOL CMemFile::Open(LPCTSTR /*fileName*/, UINT /*openFlags*/, CFileException* error) {
    if (error != nullptr) {
        error->m_cause = CFileException::genericException;
        error->m_lOsError = -1;
        error->m_strFileName.Empty();
    }
    return 0;
}

UINT CMemFile::Read(void* buffer, UINT count) {
    if (count == 0) {
        return 0;
    }
    if (buffer == nullptr) {
        AfxThrowInvalidArgException();
    }
    if (m_nPosition >= m_nFileSize) {
        return 0;
    }
    const std::size_t n = std::min<std::size_t>(count, m_nFileSize - m_nPosition);
    std::memcpy(buffer, m_lpBuffer + m_nPosition, n);
    m_nPosition += n;
    return static_cast<UINT>(n);
}

void CMemFile::Write(const void* buffer, UINT count) {
    if (count == 0) {
        return;
    }
    if (buffer == nullptr) {
        AfxThrowInvalidArgException();
    }
    const std::size_t newPosition = m_nPosition + count;
    GrowFile(newPosition);
    ZeroGap(m_nPosition);
    std::memcpy(m_lpBuffer + m_nPosition, buffer, count);
    m_nPosition = newPosition;
    m_nFileSize = std::max(m_nFileSize, newPosition);
}

ULONGLONG CMemFile::Seek(LONGLONG offset, UINT from) {
    if (from > end) {
        AfxThrowInvalidArgException();
    }
    const std::size_t origins[] = {0, m_nPosition, m_nFileSize};
    LONGLONG position = 0;
    if (__builtin_add_overflow(static_cast<LONGLONG>(origins[from]), offset, &position) ||
        position < 0) {
        AfxThrowFileException(CFileException::badSeek);
    }
    m_nPosition = static_cast<std::size_t>(position);
    return static_cast<ULONGLONG>(position);
}

ULONGLONG CMemFile::GetPosition() const {
    return m_nPosition;
}

ULONGLONG CMemFile::GetLength() const {
    return m_nFileSize;
}

void CMemFile::SetLength(ULONGLONG newLength) {
    if (newLength > static_cast<ULONGLONG>(INT64_MAX)) {
        AfxThrowMemoryException();
    }
    const auto length = static_cast<std::size_t>(newLength);
    GrowFile(length);
    ZeroGap(length);
    m_nFileSize = length;
    m_nPosition = std::min(m_nPosition, length);
}

UINT CMemFile::GetBufferPtr(UINT command, UINT count, void** start, void** max) {
    if (command == bufferCheck) {
        return bufferDirect;
    }
    if (command != bufferRead || start == nullptr || max == nullptr) {
        return 0;
    }
    *start = nullptr;
    *max = nullptr;
    if (m_nPosition >= m_nFileSize) {
        return 0;
    }
    const std::size_t n = std::min<std::size_t>(count, m_nFileSize - m_nPosition);
    *start = m_lpBuffer + m_nPosition;
    *max = m_lpBuffer + m_nPosition + n;
    m_nPosition += n;
    return static_cast<UINT>(n);
}

void CMemFile::Flush() {}

void CMemFile::Close() {
    Release();
    m_nBufferSize = 0;
    m_nFileSize = 0;
    m_nPosition = 0;
}

void CMemFile::Abort() {
    Close();
}

void CMemFile::GrowFile(std::size_t length) {
    if (length <= m_nBufferSize) {
        return;
    }
    if (m_nGrowBytes == 0) {
        AfxThrowMemoryException();
    }
    // At least doubling keeps a file that is written piece by piece linear in time.
    const std::size_t wanted = std::max(length, 2 * m_nBufferSize);
    const std::size_t size = (wanted + m_nGrowBytes - 1) / m_nGrowBytes * m_nGrowBytes;
    BYTE* buffer = AfxNewArray<BYTE>(size);
    if (m_nFileSize != 0) {
        std::memcpy(buffer, m_lpBuffer, m_nFileSize);
    }
    Release();
    m_lpBuffer = buffer;
    m_bAutoDelete = true;
    m_nBufferSize = size;
}

void CMemFile::ZeroGap(std::size_t length) noexcept {
    if (length > m_nFileSize) {
        std::memset(m_lpBuffer + m_nFileSize, 0, length - m_nFileSize);
    }
}

void CMemFile::Release() noexcept {
    if (m_bAutoDelete) {
        delete[] m_lpBuffer;
    }
    m_lpBuffer = nullptr;
    m_bAutoDelete = true;
}

} // namespace plinth
