#include "support/private_tmpdir.h"
#include "support/xml_pass.h"

#include "plinth/persist/blob_cached.h"
#include "plinth/persist/xml_archive.h"
#include "plinth/platform/file.h"
#include "plinth/platform/memfile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <vector>

using namespace plinth;
using plinth::testing::Pass;

namespace {

using Bytes = std::vector<unsigned char>;

Bytes Pattern(std::size_t n, unsigned char seed) {
    Bytes bytes(n);
    std::generate(bytes.begin(), bytes.end(), [&] { return seed += 7; });
    return bytes;
}

RtBlob View(Bytes& bytes) {
    return RtBlob(static_cast<ULONG>(bytes.size()), bytes.data());
}

// The contents as CopyDataTo delivers them.
Bytes Contents(const BlobCached& b) {
    Bytes out(b.GetSize());
    b.CopyDataTo(out.data());
    return out;
}

class BlobCachedFiles : public plinth::testing::PrivateTmpDir {
protected:
    void TearDown() override {
        EXPECT_TRUE(Files().empty()) << "a cache file was left behind";
        PrivateTmpDir::TearDown();
    }

    // The blob's cache file is in the private directory, named and protected as it should.
    void ExpectCacheFile(const BlobCached& b) {
        const std::string path(b.GetCacheFile().GetString());
        ASSERT_EQ(path.rfind(m_dir + "/velBlob", 0), 0u) << path;
        struct stat st {};
        ASSERT_EQ(::stat(path.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0600u);
        EXPECT_EQ(static_cast<ULONG>(st.st_size), b.GetSize());
    }
};

} // namespace

TEST_F(BlobCachedFiles, ThresholdSeparatesMemoryFromTheCacheFile) {
    for (const std::size_t n : {std::size_t{10000}, std::size_t{10001}}) {
        SCOPED_TRACE(n);
        Bytes bytes = Pattern(n, 1);
        BlobCached b;
        b.Copy(View(bytes));
        const bool large = n > BlobCached::kCacheThreshold;
        EXPECT_EQ(b.IsCaching(), large);
        EXPECT_EQ(b.IsCached(), large);
        EXPECT_EQ(b.GetSize(), n);
        EXPECT_EQ(b.m_nSize, large ? 0u : n);
        EXPECT_EQ(Files().size(), large ? 1u : 0u);
        if (large) {
            ExpectCacheFile(b);
        }
        EXPECT_EQ(Contents(b), bytes);
        EXPECT_EQ(b.m_pData == nullptr, large); // read back for the access only
        b.Delete();
    }
}

TEST_F(BlobCachedFiles, EveryAccessReadsTheFileBack) {
    Bytes bytes = Pattern(20000, 3);
    BlobCached b;
    b.Copy(View(bytes));
    ASSERT_TRUE(b.IsCached());

    const std::string path = m_dir + "/copy";
    EXPECT_TRUE(b.Write(CString(path.c_str()))); // RtBlob's path overload, through ours
    RtBlob written;
    EXPECT_TRUE(written.Read(CString(path.c_str())));
    EXPECT_EQ(Bytes(written.m_pData, written.m_pData + written.m_nSize), bytes);
    written.Delete();
    std::remove(path.c_str());

    Pass store(PC::eStoring);
    EXPECT_TRUE(b.PersistXML(store.ar));
    Pass plain(PC::eStoring);
    RtBlob(View(bytes)).PersistXML(plain.ar);
    EXPECT_EQ(store.doc->xml(), plain.doc->xml());
    EXPECT_EQ(b.m_pData, nullptr);
    EXPECT_TRUE(b.IsCached());

    b.LoadCache(); // held in memory until freed; the file stays
    EXPECT_FALSE(b.IsCached());
    EXPECT_EQ(Bytes(b.m_pData, b.m_pData + b.m_nSize), bytes);
    b.Delete();
    EXPECT_TRUE(b.IsCached());
    EXPECT_EQ(Contents(b), bytes);
}

TEST_F(BlobCachedFiles, NewContentsReplaceTheFileAndNeverComeBackOld) {
    Bytes first = Pattern(20000, 5);
    Bytes second = Pattern(10500, 9); // shorter, still cached
    Bytes small = Pattern(10, 11);
    BlobCached b;
    b.Copy(View(first));
    const CString firstFile = b.GetCacheFile();

    b.Copy(View(second));
    EXPECT_NE(b.GetCacheFile(), firstFile);
    EXPECT_EQ(Files().size(), 1u);
    ExpectCacheFile(b); // its size: no tail of the longer contents
    EXPECT_EQ(Contents(b), second);

    // From a file, and from XML.
    const std::string path = m_dir + "/input";
    RtBlob(View(first)).WriteNonVirt(CString(path.c_str()));
    {
        CFile f(path.c_str(), CFile::modeRead);
        EXPECT_EQ(b.Read(f), 20000);
    }
    std::remove(path.c_str());
    EXPECT_EQ(Contents(b), first);
    EXPECT_EQ(Files().size(), 1u);

    const CString xml = "<Bl><Sz>10500</Sz><Dt>" + RtBlob(View(second)).ToCString() + "</Dt></Bl>";
    Pass load(PC::eLoading, xml);
    EXPECT_TRUE(b.PersistXML(load.ar));
    EXPECT_EQ(Contents(b), second);
    EXPECT_EQ(Files().size(), 1u);

    // Shrinking lets go of the file.
    b.Copy(View(small));
    EXPECT_FALSE(b.IsCaching());
    EXPECT_TRUE(Files().empty());
    EXPECT_EQ(Contents(b), small);
    b.Delete();
}

TEST_F(BlobCachedFiles, CopiesShareTheFileUntilTheLastLetsGo) {
    Bytes bytes = Pattern(15000, 13);
    auto* original = new BlobCached;
    original->Copy(View(bytes));
    BlobCached copy(*original);
    BlobCached assigned;
    assigned = copy;
    BlobCached deep;
    deep.Copy(*original); // a cached source shares its file too
    EXPECT_EQ(deep.GetCacheFile(), original->GetCacheFile());
    delete original;
    EXPECT_EQ(Files().size(), 1u);
    EXPECT_EQ(Contents(copy), bytes);

    Bytes other = Pattern(12000, 17);
    assigned.Copy(View(other)); // new contents: a file of its own, the shared one untouched
    EXPECT_EQ(Files().size(), 2u);
    EXPECT_EQ(Contents(copy), bytes);
    EXPECT_EQ(Contents(assigned), other);

    assigned = BlobCached(); // reassignment lets go of its file
    copy = BlobCached();
    EXPECT_EQ(Files().size(), 1u);
    EXPECT_EQ(Contents(deep), bytes);
    deep.DeleteCache(); // contents that only the file held come back first
    EXPECT_TRUE(Files().empty());
    EXPECT_EQ(Bytes(deep.m_pData, deep.m_pData + deep.m_nSize), bytes);
    deep.Delete();
}

TEST_F(BlobCachedFiles, WhenNoCacheFileCanBeWrittenTheContentsStayInMemory) {
    const std::string plain = m_dir + "/plain";
    std::ofstream(plain) << "x";
    rlimit old{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    // As root no directory is read-only by its permissions, so TMPDIR names a directory that
    // does not exist, then a regular file; last a file size limit makes the write fail part
    // way, as a full disk would, and the part written must go.
    for (const std::string& dir : {m_dir + "/missing", plain, m_dir}) {
        SCOPED_TRACE(dir);
        ::setenv("TMPDIR", dir.c_str(), 1);
        rlimit small = old;
        small.rlim_cur = 4096;
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, dir == m_dir ? &small : &old), 0);
        Bytes bytes = Pattern(20000, 19);
        BlobCached b;
        b.Copy(View(bytes));
        ::setrlimit(RLIMIT_FSIZE, &old);
        EXPECT_TRUE(b.IsCaching());
        EXPECT_FALSE(b.IsCached());
        EXPECT_TRUE(b.GetCacheFile().IsEmpty());
        EXPECT_EQ(Files().size(), 1u); // the plain file only
        EXPECT_EQ(Contents(b), bytes);
        CMemFile file;
        EXPECT_TRUE(b.Write(file));
        ASSERT_NE(b.m_pData, nullptr); // still the only copy
        EXPECT_EQ(Bytes(b.m_pData, b.m_pData + b.m_nSize), bytes);

        b.Copy(View(bytes));
        EXPECT_EQ(b.IsCached(), dir == m_dir); // with room again, the next contents are cached
        b.Delete();
    }
    std::signal(SIGXFSZ, oldHandler);
    std::remove(plain.c_str());
}
