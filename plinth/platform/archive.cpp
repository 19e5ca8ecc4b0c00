#include "plinth/platform/archive.h"

#include "plinth/platform/exceptions.h"
#include "plinth/platform/file.h"
#include "plinth/platform/memory.h"
#include "plinth/platform/throw.h"

#include <algorithm>
#include <climits>

namespace plinth {

CArchive::CArchive(CFile* file, UINT mode, int bufSize, void* buf)
    : m_nMode(mode)
    , m_nBufSize(std::max(minBufSize, static_cast<UINT>(std::max(bufSize, 0))))
    , m_pFile(file)
    , m_bUserBuf(buf != nullptr && bufSize >= static_cast<int>(minBufSize)) {
    if (file == nullptr) {
        AfxThrowInvalidArgException();
    }
    m_strFileName = file->GetFilePath(); // before the buffer, which nothing would free on a throw
    m_lpBufStart = m_bUserBuf ? static_cast<BYTE*>(buf) : AfxNewArray<BYTE>(m_nBufSize);
    m_lpBufCur = m_lpBufStart;
    m_lpLoadMax = m_lpBufStart;
    m_lpStoreMax = IsStoring() ? m_lpBufStart + m_nBufSize : m_lpBufStart;
    m_bDirect = IsLoading() && (file->GetBufferPtr(CFile::bufferCheck) & CFile::bufferDirect) != 0;
}

CArchive::~CArchive() {
    if (m_pFile != nullptr && (m_nMode & bNoFlushOnDelete) == 0) {
        try {
            Close();
        } catch (...) { // NOLINT(bugprone-empty-catch): a destructor must not raise
        }
    }
    if (!m_bUserBuf) {
        delete[] m_lpBufStart;
    }
}

UINT CArchive::Read(void* buf, UINT max) {
    if (max == 0) {
        return 0;
    }
    CheckCanLoad();
    if (buf == nullptr) {
        AfxThrowInvalidArgException();
    }
    auto* out = static_cast<BYTE*>(buf);
    UINT done = 0;
    while (done < max) {
        if (m_lpBufCur == m_lpLoadMax) {
            const UINT left = max - done;
            if (m_bDirect) {
                if (TakeWindow() == 0) {
                    break;
                }
            } else if (left >= m_nBufSize) { // large blocks bypass the buffer
                const UINT got = m_pFile->Read(out + done, left);
                if (got == 0) {
                    break;
                }
                done += got;
                continue;
            } else {
                m_lpBufCur = m_lpBufStart;
                m_lpLoadMax = m_lpBufStart + m_pFile->Read(m_lpBufStart, m_nBufSize);
                if (m_lpLoadMax == m_lpBufStart) {
                    break;
                }
            }
        }
        const auto n =
            static_cast<UINT>(std::min<std::ptrdiff_t>(max - done, m_lpLoadMax - m_lpBufCur));
        std::memcpy(out + done, m_lpBufCur, n);
        m_lpBufCur += n;
        done += n;
    }
    return done;
}

void CArchive::Write(const void* buf, UINT count) {
    if (count == 0) {
        return;
    }
    CheckCanStore();
    if (buf == nullptr) {
        AfxThrowInvalidArgException();
    }
    if (m_lpStoreMax - m_lpBufCur < static_cast<std::ptrdiff_t>(count)) {
        Flush();
        if (count >= m_nBufSize) { // large blocks bypass the buffer
            m_pFile->Write(buf, count);
            return;
        }
    }
    std::memcpy(m_lpBufCur, buf, count);
    m_lpBufCur += count;
}

DWORD_PTR CArchive::ReadCount() {
    const auto word = Load<std::uint16_t>();
    if (word != 0xFFFF) {
        return word;
    }
    const auto dword = Load<std::uint32_t>();
    if (dword != 0xFFFFFFFF) {
        return dword;
    }
    return static_cast<DWORD_PTR>(Load<std::uint64_t>());
}

void CArchive::WriteCount(DWORD_PTR count) {
    if (count < 0xFFFF) {
        Store(static_cast<std::uint16_t>(count));
        return;
    }
    Store<std::uint16_t>(0xFFFF);
    if (count < 0xFFFFFFFF) {
        Store(static_cast<std::uint32_t>(count));
        return;
    }
    Store<std::uint32_t>(0xFFFFFFFF);
    Store<std::uint64_t>(count);
}

void CArchive::Flush() {
    if (m_pFile == nullptr) {
        return;
    }
    if (IsStoring()) {
        if (m_lpBufCur != m_lpBufStart) {
            m_pFile->Write(m_lpBufStart, static_cast<UINT>(m_lpBufCur - m_lpBufStart));
            m_lpBufCur = m_lpBufStart;
        }
        return;
    }
    if (m_lpBufCur != m_lpLoadMax) {
        m_pFile->Seek(m_lpBufCur - m_lpLoadMax, CFile::current);
    }
    m_lpBufCur = m_lpBufStart;
    m_lpLoadMax = m_lpBufStart;
}

void CArchive::Close() {
    Flush();
    Abort();
}

void CArchive::Abort() noexcept {
    m_pFile = nullptr;
    m_lpBufCur = m_lpBufStart;
    m_lpLoadMax = m_lpBufStart;
    m_lpStoreMax = m_lpBufStart;
}

void CArchive::FillBuffer(UINT additionalBytesNeeded) {
    CheckCanLoad();
    const auto unread = static_cast<std::size_t>(m_lpLoadMax - m_lpBufCur);
    const std::size_t needed = unread + additionalBytesNeeded;
    if (needed > m_nBufSize) {
        AfxThrowArchiveException(CArchiveException::bufferFull, m_strFileName);
    }
    if (m_bDirect) {
        // The unread bytes go back to the file, and the window takes all that is left of it.
        if (unread != 0) {
            m_pFile->Seek(-static_cast<LONGLONG>(unread), CFile::current);
        }
        if (TakeWindow() < needed) {
            AfxThrowArchiveException(CArchiveException::endOfFile, m_strFileName);
        }
        return;
    }
    // Move the unread bytes to the front and read after them, as much as fits.
    std::memmove(m_lpBufStart, m_lpBufCur, unread);
    m_lpBufCur = m_lpBufStart;
    m_lpLoadMax = m_lpBufStart + unread;
    while (static_cast<std::size_t>(m_lpLoadMax - m_lpBufStart) < needed) {
        const UINT room = m_nBufSize - static_cast<UINT>(m_lpLoadMax - m_lpBufStart);
        const UINT got = m_pFile->Read(m_lpLoadMax, room);
        if (got == 0) {
            AfxThrowArchiveException(CArchiveException::endOfFile, m_strFileName);
        }
        m_lpLoadMax += got;
    }
}

UINT CArchive::TakeWindow() {
    void* start = nullptr;
    void* end = nullptr;
    const UINT got = m_pFile->GetBufferPtr(CFile::bufferRead, UINT_MAX, &start, &end);
    m_lpBufCur = got == 0 ? m_lpBufStart : static_cast<BYTE*>(start);
    m_lpLoadMax = got == 0 ? m_lpBufStart : static_cast<BYTE*>(end);
    return got;
}

void CArchive::MakeRoom() {
    CheckCanStore();
    Flush();
}

void CArchive::BringIn(UINT size) {
    CheckCanLoad();
    FillBuffer(size - static_cast<UINT>(m_lpLoadMax - m_lpBufCur));
}

void CArchive::CheckCanStore() const {
    if (IsLoading()) {
        AfxThrowArchiveException(CArchiveException::readOnly, m_strFileName);
    }
    if (m_pFile == nullptr) {
        AfxThrowArchiveException(CArchiveException::genericException, m_strFileName);
    }
}

void CArchive::CheckCanLoad() const {
    if (IsStoring()) {
        AfxThrowArchiveException(CArchiveException::writeOnly, m_strFileName);
    }
    if (m_pFile == nullptr) {
        AfxThrowArchiveException(CArchiveException::genericException, m_strFileName);
    }
}

} // namespace plinth
