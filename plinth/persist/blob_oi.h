#pragma once

#include "plinth/frame/nested_interface.h"
#include "plinth/frame/ref_obj.h"
#include "plinth/persist/blob_interfaces.h"
#include "plinth/persist/rt_blob.h"
#include "plinth/platform/export.h"
#include "plinth/platform/types.h"

namespace plinth {

/// IBlob over a byte blob: the adapter's own embedded blob, a blob of the caller's, or one it
/// made itself (a plain RtBlob or a BlobCached).
///
/// Counting: the CRefObj count, but 0 after every constructor except the copy constructor
/// (which keeps the count taken over), so the first query makes it 1 and the Release that
/// brings it back to 0 deletes the adapter unless it is marked by value. The adapter answers
/// IBlob and IUnknown only: it never hands itself out, so IID_ImplObject is refused like any
/// other identifier; its nested IBlob answers IBlob and IUnknown itself.
///
/// Ownership: the bytes belong to whoever filled them; the adapter frees none of the
/// embedded blob's or the caller's. A blob the adapter made is its own, bytes and cache file
/// included, and goes with it (take its bytes with GetBlob()->Reset() to keep them). When the
/// embedded blob views the caller's bytes ((size, pointer) constructor), new contents from
/// IBlob::Read or Copy go into a buffer of its own and the caller's bytes are left alone.
///
/// Copies: a copy serves the same caller's blob; a copy of an adapter serving its embedded
/// blob serves its own embedded handle (sharing the bytes), so it never refers into the
/// source; a copy of an adapter that made its blob makes one of its own holding a copy of
/// the contents.
/// Threads: one object is used by one thread at a time; distinct objects are independent,
/// but adapters serving the same blob or bytes share them.
class PLINTH_API BlobOI : public CRefObj {
public:
    /// IBlob over the blob the adapter serves.
    class PLINTH_API XBlob : public NestedInterface<BlobOI, IBlob> {
    public:
        using NestedInterface::NestedInterface;

        /// IBlob and IUnknown itself; the rest goes to the adapter.
        HRESULT QueryInterface(REFIID iid, void** ppv) override { return QuerySelfFirst(iid, ppv); }
        HRESULT GetSize(ULONG* size) override;
        HRESULT Read(const char* path) override;
        HRESULT Write(const char* path) override;
        HRESULT Copy(SAFEARRAY** ppsa) override;
        HRESULT CopyTo(SAFEARRAY** ppsa) override;
    };

    // ---- Construction

    /// Serves its own empty blob.
    BlobOI() noexcept;
    /// Serves its own blob as a view of size bytes at p (no copy).
    BlobOI(ULONG size, unsigned char* p) noexcept;
    /// Serves *p (the caller's), or its own empty blob for null p.
    explicit BlobOI(RtBlob* p) noexcept;
    /// With allocate, serves a new blob of its own: a BlobCached when cached is set, else a
    /// plain RtBlob. Without, as BlobOI().
    BlobOI(bool allocate, bool cached);
    BlobOI(const BlobOI& other);
    BlobOI& operator=(const BlobOI&) = delete;
    /// Destroys a blob the adapter made, with its bytes; no other bytes.
    ~BlobOI() override;

    /// Count 0, serving the embedded blob, not cached; frees nothing (a blob the adapter
    /// made becomes the caller's affair).
    void Construct() noexcept;

    // ---- Interfaces

    /// DISP_E_PARAMNOTOPTIONAL for a null ppv; IBlob and IUnknown; nothing else.
    HRESULT QueryInterface(REFIID iid, void** ppv) override;

    /// The blob served: never null.
    RtBlob* GetBlob() const noexcept { return m_pBlob; }
    /// The served blob was made by the adapter as a BlobCached.
    bool IsCachedBlob() const noexcept { return m_bCached; }

private:
    /// Fills the served blob through fill (a callable taking RtBlob& and returning whether it
    /// succeeded); a view of the caller's bytes is only replaced once fill succeeded.
    template <class Fill>
    bool Refill(Fill fill);

    XBlob m_xBlob{this};
    RtBlob m_blob;
    RtBlob* m_pBlob = &m_blob;
    bool m_bCached = false;
    bool m_bOwnBlob = false; ///< m_pBlob was made by the adapter
    bool m_bView = false;    ///< m_blob views bytes the caller owns
};

} // namespace plinth
