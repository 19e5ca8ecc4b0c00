#pragma once

#include "plinth/persist/rt_blob.h"
#include "plinth/platform/cstring.h"
#include "plinth/platform/export.h"
#include "plinth/platform/types.h"

namespace plinth {

class CFile;
class PCExBase;

/// A blob that keeps large contents out of memory. Contents of more than kCacheThreshold
/// bytes are written to a cache file of their own and the memory is freed (the size field
/// then reads 0 while GetSize() reports the contents' length); each access that needs the
/// bytes (Write(CFile&), CopyDataTo, storing PersistXML) reads them back into a temporary
/// buffer, so the memory stays free.
///
/// Cache files are made by CreateTempFile (prefix "velBlob", owner-only, in TMPDIR or
/// /tmp). Contents never change inside a file: new contents (Copy, Read, loading PersistXML)
/// let go of the old file and get a fresh one. Copies share the file, which is removed when
/// the last blob holding it lets go of it (new contents, assignment, destruction).
///
/// Nothing is lost: when no cache file can be made or written (no directory, no room), the
/// contents stay in memory and the blob stays uncached (IsCaching() true, IsCached() false);
/// a half-written file is removed. Bytes in memory always win over the file, so contents
/// set through RtBlob's own members are never replaced by older ones.
///
/// States by (IsCaching(), IsCached()): (false, false) small contents in memory; (true,
/// false) large contents in memory, no file could be had; (true, true) contents in the file.
/// Errors reading a cache file back (one removed behind the blob's back) raise
/// CFileException; failures to remove one are ignored.
///
/// Threads: one object is used by one thread at a time; copies share their cache file and
/// must be used by one thread at a time together.
class PLINTH_API BlobCached : public RtBlob {
public:
    /// Contents of more bytes than this live in a cache file.
    static constexpr ULONG kCacheThreshold = 10000;

    BlobCached() noexcept = default;
    /// Shares the other blob's bytes, cache file and state.
    BlobCached(const BlobCached& other) noexcept;
    BlobCached& operator=(const BlobCached& other) noexcept;
    /// Lets go of the cache file; frees no bytes in memory (as for every blob).
    ~BlobCached() override;

    // ---- Overridden (the RtBlob path overloads stay usable)

    using RtBlob::Copy;
    using RtBlob::Read;
    using RtBlob::Write;

    /// The contents' length: the cache file's length as the file system reports it (0 when
    /// it cannot be examined) while the contents are there, else the size.
    ULONG GetSize() const override;
    /// New contents: a deep copy of b's contents (a cached BlobCached shares its file).
    void Copy(const RtBlob& b) override;
    /// New contents: the file from its position on; returns the count read.
    int Read(CFile& f) override;
    /// Writes the contents; true.
    bool Write(CFile& f) override;
    /// Copies the contents (GetSize() bytes) to p.
    void CopyDataTo(unsigned char* p) const override;

    // ---- Caching

    /// Marks contents of more than kCacheThreshold bytes for caching; contents at or below it
    /// let go of the cache file.
    void UpdateCachingFlag();
    /// Moves contents marked for caching from memory to a new cache file; when that fails,
    /// they stay in memory.
    void Cache();
    /// Brings cached contents into memory, where they stay (and are used) until freed; the
    /// file keeps them too.
    void LoadCache();
    /// Lets go of the cache file, first bringing contents that only it holds into memory.
    void DeleteCache();

    /// The contents wait in a cache file.
    bool IsCached() const noexcept;
    /// The contents are large enough to be cached.
    bool IsCaching() const noexcept { return m_bCaching; }
    /// The cache file's path; empty when there is none.
    CString GetCacheFile() const;

    // ---- Persistence

    /// RtBlob's XML element "Bl". Storing writes the contents wherever they are; loading
    /// takes them as new contents. True (a failed load leaves the blob empty).
    bool PersistXML(PCExBase& ar);

private:
    class CacheFile;

    /// After new contents arrived in memory: drop the old file, then cache when large.
    void TookNewContents();
    /// Gives up this blob's share of the cache file (removing the file after the last one).
    void ReleaseFile() noexcept;
    /// Replaces into's contents by the cache file's (into must own or lack its buffer).
    void ReadFileInto(RtBlob& into) const;

    CacheFile* m_pFile = nullptr;
    bool m_bCaching = false;
    bool m_bInMemory = true;
};

} // namespace plinth
