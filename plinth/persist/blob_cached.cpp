#include "plinth/persist/blob_cached.h"

#include "plinth/persist/persist_context.h"
#include "plinth/persist/xml_archive.h"
#include "plinth/platform/exceptions.h"
#include "plinth/platform/file.h"
#include "plinth/platform/memory.h"
#include "plinth/platform/tempfile.h"

#include <memory>

namespace plinth {

namespace {

// Bytes read back for one access, freed when it ends.
class Scratch : public RtBlob {
public:
    Scratch() noexcept = default;
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;
    ~Scratch() override { Delete(); }
};

} // namespace

// One cache file, shared by the blobs that copied it; removed with the last of them.
class BlobCached::CacheFile {
public:
    CacheFile() noexcept = default;
    CacheFile(const CacheFile&) = delete;
    CacheFile& operator=(const CacheFile&) = delete;
    ~CacheFile() {
        if (m_strPath.IsEmpty()) {
            return;
        }
        try {
            CFile::Remove(m_strPath);
        } catch (const CException&) {
            // Already gone, or not ours to remove any more: nothing is lost either way.
        }
    }

    CString m_strPath;
    ULONG m_nOwners = 1;
};

BlobCached::BlobCached(const BlobCached& other) noexcept
    : RtBlob(other)
    , m_pFile(other.m_pFile)
    , m_bCaching(other.m_bCaching)
    , m_bInMemory(other.m_bInMemory) {
    if (m_pFile != nullptr) {
        ++m_pFile->m_nOwners;
    }
}

BlobCached& BlobCached::operator=(const BlobCached& other) noexcept {
    if (this != &other) {
        if (other.m_pFile != nullptr) {
            ++other.m_pFile->m_nOwners;
        }
        ReleaseFile();
        RtBlob::operator=(other);
        m_pFile = other.m_pFile;
        m_bCaching = other.m_bCaching;
        m_bInMemory = other.m_bInMemory;
    }
    return *this;
}

BlobCached::~BlobCached() {
    ReleaseFile();
}

// ---- Overridden

ULONG BlobCached::GetSize() const {
    if (!IsCached()) {
        return m_nSize;
    }
    CFileStatus status;
    return CFile::GetStatus(m_pFile->m_strPath, status) ? static_cast<ULONG>(status.m_size) : 0;
}

void BlobCached::Copy(const RtBlob& b) {
    const auto* cached = dynamic_cast<const BlobCached*>(&b);
    if (cached == nullptr || !cached->IsCached()) {
        RtBlob::Copy(b);
        TookNewContents();
        return;
    }
    if (cached == this) {
        return;
    }
    // Contents never change inside a file, so sharing it is a copy.
    CacheFile* file = cached->m_pFile;
    ++file->m_nOwners;
    ReleaseFile();
    Delete();
    m_pFile = file;
    m_bCaching = true;
    m_bInMemory = false;
}

int BlobCached::Read(CFile& f) {
    const int count = RtBlob::Read(f);
    TookNewContents();
    return count;
}

bool BlobCached::Write(CFile& f) {
    if (!IsCached()) {
        return WriteNonVirt(f);
    }
    Scratch contents;
    ReadFileInto(contents);
    return contents.WriteNonVirt(f);
}

void BlobCached::CopyDataTo(unsigned char* p) const {
    if (!IsCached()) {
        RtBlob::CopyDataTo(p);
        return;
    }
    if (p != nullptr) {
        Scratch contents;
        ReadFileInto(contents);
        contents.CopyDataTo(p);
    }
}

// ---- Caching

void BlobCached::UpdateCachingFlag() {
    const bool caching = GetSize() > kCacheThreshold;
    if (!caching && m_bCaching) {
        DeleteCache();
    }
    m_bCaching = caching;
}

void BlobCached::Cache() {
    if (!m_bCaching || !m_bInMemory) {
        return;
    }
    // A file still held has older contents, perhaps shared: never written into.
    ReleaseFile();
    std::unique_ptr<CacheFile> file(AfxNew<CacheFile>());
    file->m_strPath = CreateTempFile("velBlob");
    if (file->m_strPath.IsEmpty()) {
        return;
    }
    try {
        CFile f(file->m_strPath, CFile::modeWrite | CFile::shareDenyWrite);
        WriteNonVirt(f);
        f.Close(); // a full disk may only show here
    } catch (const CFileException&) {
        return; // the contents stay in memory; the file goes with its record
    }
    m_pFile = file.release();
    Delete();
    m_bInMemory = false;
}

void BlobCached::LoadCache() {
    if (IsCached()) {
        RtBlob loaded;
        ReadFileInto(loaded);
        CopyShallow(loaded);
    }
}

void BlobCached::DeleteCache() {
    if (m_pFile == nullptr) {
        return;
    }
    LoadCache();
    m_bInMemory = true;
    ReleaseFile();
}

bool BlobCached::IsCached() const noexcept {
    return m_bCaching && !m_bInMemory && m_pFile != nullptr && m_pData == nullptr && m_nSize == 0;
}

CString BlobCached::GetCacheFile() const {
    return m_pFile != nullptr ? m_pFile->m_strPath : CString();
}

// ---- Persistence

bool BlobCached::PersistXML(PCExBase& ar) {
    if (ar.IsStoring() && IsCached()) {
        Scratch contents;
        ReadFileInto(contents);
        contents.PersistXML(ar);
        return true;
    }
    const bool loading = ar.m_pPC != nullptr && ar.m_pPC->m_nDirection == PC::eLoading;
    RtBlob::PersistXML(ar);
    if (loading) {
        TookNewContents();
    }
    return true;
}

// ---- Private

void BlobCached::TookNewContents() {
    m_bInMemory = true;
    ReleaseFile();
    UpdateCachingFlag();
    Cache();
}

void BlobCached::ReleaseFile() noexcept {
    if (m_pFile != nullptr && --m_pFile->m_nOwners == 0) {
        delete m_pFile;
    }
    m_pFile = nullptr;
}

void BlobCached::ReadFileInto(RtBlob& into) const {
    CFile f(m_pFile->m_strPath, CFile::modeRead);
    into.ReadNonVirt(f, 0, 0);
}

} // namespace plinth
