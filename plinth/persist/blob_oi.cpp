#include "plinth/persist/blob_oi.h"

#include "plinth/persist/blob_cached.h"
#include "plinth/platform/cstring.h"
#include "plinth/platform/memory.h"

#include <memory>

namespace plinth {

namespace {

// A blob the adapter made goes with its bytes (and, for a BlobCached, its cache file).
struct DestroyOwnBlob {
    void operator()(RtBlob* blob) const noexcept {
        blob->Delete();
        delete blob;
    }
};

using OwnBlob = std::unique_ptr<RtBlob, DestroyOwnBlob>;

OwnBlob MakeBlob(bool cached) {
    return OwnBlob(cached ? AfxNew<BlobCached>() : AfxNew<RtBlob>());
}

} // namespace

// ---- Construction

BlobOI::BlobOI() noexcept {
    m_nRef = 0;
}

BlobOI::BlobOI(ULONG size, unsigned char* p) noexcept
    : m_blob(size, p)
    , m_bView(p != nullptr) {
    m_nRef = 0;
}

BlobOI::BlobOI(RtBlob* p) noexcept
    : m_pBlob(p != nullptr ? p : &m_blob) {
    m_nRef = 0;
}

BlobOI::BlobOI(bool allocate, bool cached) {
    m_nRef = 0;
    if (allocate) {
        m_pBlob = MakeBlob(cached).release();
        m_bCached = cached;
        m_bOwnBlob = true;
    }
}

BlobOI::BlobOI(const BlobOI& other)
    : CRefObj(other)
    , m_blob(other.m_blob)
    , m_pBlob(other.m_pBlob == &other.m_blob ? &m_blob : other.m_pBlob)
    , m_bCached(other.m_bCached)
    , m_bView(other.m_bView) {
    if (other.m_bOwnBlob) {
        // Both adapters destroy what they made, so each needs a blob of its own.
        OwnBlob own = MakeBlob(other.m_bCached);
        own->Copy(*other.m_pBlob);
        m_pBlob = own.release();
        m_bOwnBlob = true;
    }
}

BlobOI::~BlobOI() {
    if (m_bOwnBlob) {
        DestroyOwnBlob()(m_pBlob);
    }
}

void BlobOI::Construct() noexcept {
    m_nRef = 0;
    m_pBlob = &m_blob;
    m_bCached = false;
    m_bOwnBlob = false;
}

// ---- Interfaces

HRESULT BlobOI::QueryInterface(REFIID iid, void** ppv) {
    return QueryWithoutIdentity(iid, ppv, m_xBlob);
}

template <class Fill>
bool BlobOI::Refill(Fill fill) {
    if (!m_bView || m_pBlob != &m_blob) {
        return fill(*m_pBlob);
    }
    RtBlob fresh;
    if (!fill(fresh)) {
        fresh.Delete();
        return false;
    }
    m_blob = fresh;
    m_bView = false;
    return true;
}

HRESULT BlobOI::XBlob::GetSize(ULONG* size) {
    if (size == nullptr) {
        return DISP_E_PARAMNOTOPTIONAL;
    }
    *size = This().m_pBlob->GetSize();
    return S_OK;
}

HRESULT BlobOI::XBlob::Read(const char* path) {
    const bool opened =
        path != nullptr && This().Refill([path](RtBlob& b) { return b.Read(CString(path)); });
    return opened ? S_OK : S_FILENOTOPENED;
}

HRESULT BlobOI::XBlob::Write(const char* path) {
    return path != nullptr && This().m_pBlob->Write(CString(path)) ? S_OK : E_UNEXPECTED;
}

HRESULT BlobOI::XBlob::Copy(SAFEARRAY** ppsa) {
    if (ppsa == nullptr) {
        return DISP_E_PARAMNOTOPTIONAL;
    }
    return This().Refill([ppsa](RtBlob& b) { return b.Copy(ppsa); }) ? S_OK
                                                                     : DISP_E_PARAMNOTOPTIONAL;
}

HRESULT BlobOI::XBlob::CopyTo(SAFEARRAY** ppsa) {
    if (ppsa == nullptr) {
        return DISP_E_PARAMNOTOPTIONAL;
    }
    return This().m_pBlob->CopyTo(ppsa) ? S_OK : E_OUTOFMEMORY;
}

} // namespace plinth
