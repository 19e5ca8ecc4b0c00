#include "support/private_tmpdir.h"

#include "plinth/persist/blob_cached.h"
#include "plinth/persist/blob_oi.h"
#include "plinth/platform/safearray.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <numeric>
#include <string>
#include <vector>

using namespace plinth;

namespace {

using Bytes = std::vector<unsigned char>;

// A new VT_UI1 array of the bytes, which the caller destroys.
SAFEARRAY* ArrayOf(const Bytes& bytes) {
    const SAFEARRAYBOUND bound{static_cast<ULONG>(bytes.size()), 0};
    SAFEARRAY* psa = SafeArrayCreate(VT_UI1, 1, &bound);
    if (!bytes.empty()) {
        std::copy(bytes.begin(), bytes.end(), static_cast<unsigned char*>(psa->pvData));
    }
    return psa;
}

// The bytes handed out by IBlob::CopyTo.
Bytes CopiedOut(IBlob* blob) {
    SAFEARRAY* psa = nullptr;
    EXPECT_EQ(blob->CopyTo(&psa), S_OK);
    const auto* data = static_cast<const unsigned char*>(psa->pvData);
    Bytes bytes(data, data + psa->rgsabound[0].cElements);
    SafeArrayDestroy(psa);
    return bytes;
}

IBlob* QueryBlob(IUnknown* from) {
    void* out = nullptr;
    EXPECT_EQ(from->QueryInterface(IID_IBlob, &out), S_OK);
    return static_cast<IBlob*>(out);
}

using BlobOIFiles = plinth::testing::PrivateTmpDir;

} // namespace

TEST(BlobOI, AnswersOnlyIBlobAndIUnknownFromACountOfZero) {
    BlobOI oi;
    EXPECT_EQ(oi.GetRef(), 0u);
    oi.SetByVal(true, false);
    void* out = &oi;
    EXPECT_EQ(oi.QueryInterface(IID_IBlob, nullptr), DISP_E_PARAMNOTOPTIONAL);
    IBlob* blob = QueryBlob(&oi);
    EXPECT_EQ(oi.GetRef(), 1u);
    EXPECT_EQ(oi.QueryInterface(IID_IUnknown, &out), S_OK);
    EXPECT_EQ(out, static_cast<IUnknown*>(blob));
    for (const IID& refused : {IID_ImplObject, IID_IDataContext, GUID_NULL}) {
        out = &oi;
        EXPECT_EQ(oi.QueryInterface(refused, &out), E_NOINTERFACE);
        EXPECT_EQ(out, nullptr);
        out = &oi;
        EXPECT_EQ(blob->QueryInterface(refused, &out), E_NOINTERFACE); // passed to the adapter
        EXPECT_EQ(out, nullptr);
    }
    EXPECT_EQ(blob->QueryInterface(IID_IUnknown, &out), S_OK);
    EXPECT_EQ(oi.GetRef(), 3u);
    EXPECT_EQ(BlobOI(oi).GetRef(), 3u); // a copy keeps the count

    // On the heap, the release that brings the count back to 0 deletes it.
    auto* heap = new BlobOI(true, false);
    IBlob* itf = QueryBlob(heap);
    EXPECT_EQ(itf->AddRef(), 2u);
    EXPECT_EQ(itf->Release(), 1u);
    EXPECT_EQ(itf->Release(), 0u);
}

TEST_F(BlobOIFiles, StatusesAsDocumented) {
    BlobOI oi(true, false);
    oi.SetByVal(true, false);
    IBlob* blob = QueryBlob(&oi);
    SAFEARRAY* bytes = ArrayOf({1, 2, 3});
    EXPECT_EQ(blob->Copy(&bytes), S_OK);
    SafeArrayDestroy(bytes);

    const std::string missing = m_dir + "/missing/blob";
    const SAFEARRAYBOUND two{2, 0};
    SAFEARRAY* wide = SafeArrayCreate(VT_I2, 1, &two);
    SAFEARRAY* none = nullptr;
    EXPECT_EQ(blob->GetSize(nullptr), DISP_E_PARAMNOTOPTIONAL);
    for (const char* path : {missing.c_str(), static_cast<const char*>(nullptr)}) {
        EXPECT_EQ(blob->Read(path), 2);
        EXPECT_EQ(blob->Write(path), E_UNEXPECTED);
    }
    EXPECT_EQ(blob->Copy(nullptr), DISP_E_PARAMNOTOPTIONAL);
    EXPECT_EQ(blob->Copy(&none), DISP_E_PARAMNOTOPTIONAL);
    EXPECT_EQ(blob->Copy(&wide), static_cast<HRESULT>(0x8002000F));
    EXPECT_EQ(blob->CopyTo(nullptr), DISP_E_PARAMNOTOPTIONAL);
    SafeArrayDestroy(wide);
    EXPECT_EQ(CopiedOut(blob), Bytes({1, 2, 3})); // none of the refusals changed it

    const std::string path = m_dir + "/blob";
    EXPECT_EQ(blob->Write(path.c_str()), S_OK);
    std::ofstream(path, std::ios::binary | std::ios::app) << "45";
    EXPECT_EQ(blob->Read(path.c_str()), S_OK);
    ULONG size = 0;
    EXPECT_EQ(blob->GetSize(&size), S_OK);
    EXPECT_EQ(size, 5u);
    EXPECT_EQ(CopiedOut(blob), Bytes({1, 2, 3, '4', '5'}));
}

TEST_F(BlobOIFiles, CachedBlobReportsItsSizeWhileInTheFile) {
    auto* oi = new BlobOI(true, true);
    IBlob* blob = QueryBlob(oi);
    Bytes bytes(20000);
    std::iota(bytes.begin(), bytes.end(), 0); // wraps every 256
    SAFEARRAY* psa = ArrayOf(bytes);
    EXPECT_EQ(blob->Copy(&psa), S_OK);
    SafeArrayDestroy(psa);
    const auto* cached = static_cast<BlobCached*>(oi->GetBlob());
    ASSERT_TRUE(cached->IsCached());
    ULONG size = 0;
    EXPECT_EQ(blob->GetSize(&size), S_OK);
    EXPECT_EQ(size, 20000u);
    EXPECT_EQ(cached->m_pData, nullptr); // not brought back for that
    EXPECT_EQ(CopiedOut(blob), bytes);

    // A copy makes a blob of its own; the cache file goes with the last of them.
    {
        BlobOI copy(*oi);
        copy.SetByVal(true, false);
        EXPECT_NE(copy.GetBlob(), oi->GetBlob());
        EXPECT_EQ(blob->Release(), 0u);
        EXPECT_EQ(Files().size(), 1u);
        EXPECT_EQ(CopiedOut(QueryBlob(&copy)), bytes);
    }
    EXPECT_TRUE(Files().empty());
}

TEST(BlobOI, ViewsOfTheCallersBytesAreNeverFreed) {
    unsigned char callers[3] = {7, 8, 9}; // on the stack: freeing it would be fatal
    BlobOI oi(3, callers);
    oi.SetByVal(true, false);
    IBlob* blob = QueryBlob(&oi);
    EXPECT_EQ(blob->Read("/nonexistent/blob"), 2);
    EXPECT_EQ(oi.GetBlob()->m_pData, callers);

    SAFEARRAY* psa = ArrayOf({1, 2, 3, 4, 5});
    EXPECT_EQ(blob->Copy(&psa), S_OK);
    SafeArrayDestroy(psa);
    EXPECT_NE(oi.GetBlob()->m_pData, callers);
    EXPECT_EQ(callers[0], 7);
    EXPECT_EQ(CopiedOut(blob), Bytes({1, 2, 3, 4, 5}));
    oi.GetBlob()->Delete(); // the new buffer is the holder's to free
}

TEST(BlobOI, CopiesNeverReferIntoTheirSource) {
    RtBlob mine(RtBlob(reinterpret_cast<const unsigned char*>("abc"), 3, true));
    auto* serving = new BlobOI(&mine);
    auto* embedded = new BlobOI(3, mine.m_pData);
    BlobOI ofServing(*serving);
    BlobOI ofEmbedded(*embedded);
    delete serving;
    delete embedded;
    EXPECT_EQ(ofServing.GetBlob(), &mine);
    ofEmbedded.SetByVal(true, false);
    EXPECT_EQ(CopiedOut(QueryBlob(&ofEmbedded)), Bytes({'a', 'b', 'c'})); // its own handle

    ofServing.Construct();
    EXPECT_EQ(ofServing.GetRef(), 0u);
    EXPECT_NE(ofServing.GetBlob(), &mine);
    mine.Delete();
}
