#pragma once

#include "plinth/platform/archive.h"
#include "plinth/platform/exceptions.h"
#include "plinth/platform/memory.h"
#include "plinth/platform/object.h"
#include "plinth/platform/throw.h"
#include "plinth/platform/types.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>

namespace plinth {

namespace detail {
/// Whether E may be list-initialised from a U: for an enumeration and its underlying type,
/// whether that type is fixed, and so every value of it is one of the enumeration's.
/// Threads: one object is used by one thread at a time; distinct objects are independent.
template <class E, class U, class = void>
inline constexpr bool kListInitialises = false;
template <class E, class U>
inline constexpr bool kListInitialises<E, U, std::void_t<decltype(E{std::declval<U>()})>> = true;

template <class E, bool = std::is_enum_v<E>>
inline constexpr bool kHasFixedUnderlyingType = false;
template <class E>
inline constexpr bool kHasFixedUnderlyingType<E, true> =
    kListInitialises<E, std::underlying_type_t<E>>;

/// Whether TYPE's elements travel as their bytes, any bytes loading as a valid value.
template <class TYPE>
inline constexpr bool kTravelsAsBytes =
    std::is_trivially_copyable_v<TYPE> && !std::is_pointer_v<TYPE> &&
    !std::is_member_pointer_v<TYPE> && (!std::is_enum_v<TYPE> || kHasFixedUnderlyingType<TYPE>);
} // namespace detail

/// Stores or loads nCount array elements. By default an element travels as its bytes in memory
/// (in blocks of at most INT_MAX bytes), which only trivially copyable types allow; any other
/// element type raises CArchiveException(badClass) unless it has a specialisation, declared
/// beside the type. A short read raises CArchiveException(endOfFile).
/// Loaded values are always values of their type: a bool is true for any byte but 0, and an
/// enumeration travels as its underlying integer, which must be fixed (`enum E : int`) so that
/// every integer is one of its values. Pointers, and enumerations without a fixed underlying
/// type, raise badClass: an address read from a file would point anywhere.
template <class TYPE>
void SerializeElements(CArchive& ar, TYPE* pElements, INT_PTR nCount) {
    if constexpr (detail::kTravelsAsBytes<TYPE>) {
        constexpr INT_PTR nMaxBlock = INT_MAX / static_cast<INT_PTR>(sizeof(TYPE));
        while (nCount > 0) {
            const INT_PTR nBlock = std::min(nCount, nMaxBlock);
            const auto nBytes = static_cast<UINT>(static_cast<std::size_t>(nBlock) * sizeof(TYPE));
            if (ar.IsStoring()) {
                ar.Write(pElements, nBytes);
            } else if constexpr (std::is_same_v<TYPE, bool>) {
                // The bytes land in storage reinterpreted as bytes, then become bools.
                auto* pBytes = reinterpret_cast<unsigned char*>(pElements);
                const UINT nRead = ar.Read(pBytes, nBytes);
                for (UINT i = 0; i < nRead; ++i) {
                    ::new (static_cast<void*>(pBytes + i)) bool(pBytes[i] != 0);
                }
                if (nRead != nBytes) {
                    AfxThrowArchiveException(CArchiveException::endOfFile);
                }
            } else if (ar.Read(pElements, nBytes) != nBytes) {
                AfxThrowArchiveException(CArchiveException::endOfFile);
            }
            pElements += nBlock;
            nCount -= nBlock;
        }
    } else if (nCount > 0) {
        AfxThrowArchiveException(CArchiveException::badClass);
    }
}

/// A growable array of values in one contiguous block. Elements are value-constructed when
/// the array grows and destroyed when it shrinks; copies between arrays assign element by
/// element. Growing past the allocation reserves the grow-by step more (0: an eighth of the
/// size, between 4 and 1024). An index outside 0 .. count-1 raises CInvalidArgException.
/// Elements are relocated (moved, then destroyed) when the block grows or elements shift, so
/// their move (or copy) must not throw.
template <class TYPE, class ARG_TYPE = const TYPE&>
class CArray : public CObject {
public:
    CArray() noexcept = default;
    CArray(const CArray&) = delete;
    CArray& operator=(const CArray&) = delete;
    ~CArray() override { Free(); }

    /// The count (in the archive's count form), then the elements through SerializeElements.
    /// Loading grows the array in steps of at most kLoadStep elements as they arrive, so a
    /// forged count costs no more than the data that is really there; after a failure the
    /// array holds what was read, the last step's missing elements value-constructed.
    void Serialize(CArchive& ar) override {
        if (ar.IsStoring()) {
            ar.WriteCount(static_cast<DWORD_PTR>(m_nSize));
            SerializeElements<TYPE>(ar, m_pData, m_nSize);
            return;
        }
        const DWORD_PTR nCount = ar.ReadCount();
        INT_PTR nLoaded = 0;
        SetSize(0);
        while (static_cast<DWORD_PTR>(nLoaded) < nCount) {
            const auto nStep = static_cast<INT_PTR>(std::min(
                nCount - static_cast<DWORD_PTR>(nLoaded), static_cast<DWORD_PTR>(kLoadStep)));
            const INT_PTR nNext = Bounded(nLoaded, nStep);
            if (nNext > m_nMaxSize) {
                // Doubling keeps the copies linear; the count caps the block once it is near.
                const INT_PTR nDoubled =
                    m_nMaxSize < kMaxElements / 2 ? 2 * m_nMaxSize : kMaxElements;
                const DWORD_PTR nWanted =
                    std::min(nCount, static_cast<DWORD_PTR>(std::max(nNext, nDoubled)));
                Reallocate(static_cast<INT_PTR>(nWanted));
            }
            SetSize(nNext);
            SerializeElements<TYPE>(ar, m_pData + nLoaded, nStep);
            nLoaded = nNext;
        }
    }

    INT_PTR GetSize() const noexcept { return m_nSize; }
    INT_PTR GetCount() const noexcept { return m_nSize; }
    BOOL IsEmpty() const noexcept { return m_nSize == 0; }
    INT_PTR GetUpperBound() const noexcept { return m_nSize - 1; }

    /// A negative size raises CInvalidArgException; nGrowBy below 0 keeps the current step.
    /// Size 0 frees the block.
    void SetSize(INT_PTR nNewSize, INT_PTR nGrowBy = -1) {
        if (nNewSize < 0) {
            AfxThrowInvalidArgException();
        }
        if (nGrowBy >= 0) {
            m_nGrowBy = nGrowBy;
        }
        if (nNewSize == 0) {
            Free();
            return;
        }
        Reserve(nNewSize);
        if (nNewSize > m_nSize) {
            std::uninitialized_value_construct(m_pData + m_nSize, m_pData + nNewSize);
        } else {
            std::destroy(m_pData + nNewSize, m_pData + m_nSize);
        }
        m_nSize = nNewSize;
    }

    /// Shrinks the block to the elements in use.
    void FreeExtra() {
        if (m_nSize == 0) {
            Free();
        } else if (m_nSize != m_nMaxSize) {
            Reallocate(m_nSize);
        }
    }

    void RemoveAll() noexcept { Free(); }

    const TYPE& GetAt(INT_PTR nIndex) const { return m_pData[Checked(nIndex)]; }
    TYPE& GetAt(INT_PTR nIndex) { return m_pData[Checked(nIndex)]; }
    void SetAt(INT_PTR nIndex, ARG_TYPE newElement) { m_pData[Checked(nIndex)] = newElement; }
    const TYPE& ElementAt(INT_PTR nIndex) const { return m_pData[Checked(nIndex)]; }
    TYPE& ElementAt(INT_PTR nIndex) { return m_pData[Checked(nIndex)]; }
    const TYPE& operator[](INT_PTR nIndex) const { return m_pData[Checked(nIndex)]; }
    TYPE& operator[](INT_PTR nIndex) { return m_pData[Checked(nIndex)]; }

    const TYPE* GetData() const noexcept { return m_pData; }
    TYPE* GetData() noexcept { return m_pData; }

    /// Pointers into the block, for range-for and the standard algorithms. Growing, shrinking,
    /// inserting or removing invalidates them.
    TYPE* begin() noexcept { return m_pData; }
    TYPE* end() noexcept { return m_pData + m_nSize; }
    const TYPE* begin() const noexcept { return m_pData; }
    const TYPE* end() const noexcept { return m_pData + m_nSize; }

    /// Sets element nIndex, first growing the array to nIndex + 1 elements when it is shorter.
    void SetAtGrow(INT_PTR nIndex, ARG_TYPE newElement) {
        if (nIndex < 0) {
            AfxThrowInvalidArgException();
        }
        if (nIndex < m_nSize) {
            m_pData[nIndex] = newElement;
        } else if (nIndex < m_nMaxSize) {
            SetSize(nIndex + 1);
            m_pData[nIndex] = newElement;
        } else {
            // newElement may live in the block that growing frees.
            TYPE value(newElement);
            SetSize(Bounded(nIndex, 1));
            m_pData[nIndex] = std::move(value);
        }
    }

    /// Appends an element and returns its index.
    INT_PTR Add(ARG_TYPE newElement) {
        const INT_PTR nIndex = m_nSize;
        SetAtGrow(nIndex, newElement);
        return nIndex;
    }

    /// Appends the elements of src (which may be this array); returns the first one's index.
    INT_PTR Append(const CArray& src) {
        const INT_PTR nOldSize = m_nSize;
        const INT_PTR nCount = src.m_nSize;
        SetSize(Bounded(nOldSize, nCount));
        std::copy_n(src.m_pData, nCount, m_pData + nOldSize);
        return nOldSize;
    }

    void Copy(const CArray& src) {
        if (this != &src) {
            SetSize(src.m_nSize);
            std::copy_n(src.m_pData, src.m_nSize, m_pData);
        }
    }

    /// Inserts nCount copies of newElement at nIndex, shifting the elements from there up;
    /// at or past the end the array first grows to nIndex. A negative index or a count below
    /// 1 raises CInvalidArgException.
    void InsertAt(INT_PTR nIndex, ARG_TYPE newElement, INT_PTR nCount = 1) {
        if (nIndex < 0 || nCount < 1) {
            AfxThrowInvalidArgException();
        }
        const TYPE value(newElement); // newElement may live in this array
        std::fill_n(OpenGap(nIndex, nCount), nCount, value);
    }

    /// Inserts the elements of another array (or of this one) at nStartIndex.
    void InsertAt(INT_PTR nStartIndex, CArray* pNewArray) {
        if (nStartIndex < 0 || pNewArray == nullptr) {
            AfxThrowInvalidArgException();
        }
        if (pNewArray == this) {
            CArray copy;
            copy.Copy(*this);
            InsertAt(nStartIndex, &copy);
        } else if (pNewArray->m_nSize > 0) {
            std::copy_n(pNewArray->m_pData, pNewArray->m_nSize,
                        OpenGap(nStartIndex, pNewArray->m_nSize));
        }
    }

    /// Removes nCount elements from nIndex; they must all exist, else CInvalidArgException.
    void RemoveAt(INT_PTR nIndex, INT_PTR nCount = 1) {
        if (nIndex < 0 || nCount < 0 || nCount > m_nSize - nIndex) {
            AfxThrowInvalidArgException();
        }
        std::destroy_n(m_pData + nIndex, nCount);
        Relocate(m_pData + nIndex, m_pData + nIndex + nCount, m_nSize - nIndex - nCount);
        m_nSize -= nCount;
    }

protected:
    TYPE* m_pData = nullptr;
    INT_PTR m_nSize = 0;
    INT_PTR m_nMaxSize = 0;
    INT_PTR m_nGrowBy = 0;

private:
    static_assert(alignof(TYPE) <= alignof(std::max_align_t), "over-aligned array element");
    static constexpr INT_PTR kMaxElements = PTRDIFF_MAX / static_cast<INT_PTR>(sizeof(TYPE));
    /// Elements a load adds at a time: about 64 KiB of them.
    static constexpr INT_PTR kLoadStep =
        std::max<INT_PTR>(1, 0x10000 / static_cast<INT_PTR>(sizeof(TYPE)));

    INT_PTR Checked(INT_PTR nIndex) const {
        if (static_cast<UINT_PTR>(nIndex) >= static_cast<UINT_PTR>(m_nSize)) {
            AfxThrowInvalidArgException();
        }
        return nIndex;
    }

    /// base + extra, both non-negative, when the block could hold that many elements.
    static INT_PTR Bounded(INT_PTR base, INT_PTR extra) {
        if (base >= kMaxElements || extra > kMaxElements - base) {
            AfxThrowMemoryException();
        }
        return base + extra;
    }

    /// Makes room for nNewSize elements, reserving the grow-by step beyond.
    void Reserve(INT_PTR nNewSize) {
        if (nNewSize <= m_nMaxSize) {
            return;
        }
        const INT_PTR nGrowBy =
            m_nGrowBy > 0 ? m_nGrowBy : std::clamp<INT_PTR>(m_nSize / 8, 4, 1024);
        const INT_PTR nWanted = nGrowBy < kMaxElements - m_nMaxSize ? m_nMaxSize + nGrowBy : 0;
        Reallocate(std::max(nNewSize, nWanted));
    }

    void Reallocate(INT_PTR nNewMax) {
        if (nNewMax > kMaxElements) {
            AfxThrowMemoryException();
        }
        TYPE* pNewData = AfxAllocator<TYPE>().allocate(static_cast<std::size_t>(nNewMax));
        Relocate(pNewData, m_pData, m_nSize);
        AfxAllocator<TYPE>().deallocate(m_pData, static_cast<std::size_t>(m_nMaxSize));
        m_pData = pNewData;
        m_nMaxSize = nNewMax;
    }

    void Free() noexcept {
        std::destroy_n(m_pData, m_nSize);
        AfxAllocator<TYPE>().deallocate(m_pData, static_cast<std::size_t>(m_nMaxSize));
        m_pData = nullptr;
        m_nSize = 0;
        m_nMaxSize = 0;
    }

    /// Moves n live elements from src to the raw slots at dst; the ranges may overlap.
    static void Relocate(TYPE* dst, TYPE* src, INT_PTR n) noexcept {
        if (n <= 0 || dst == src) {
            return;
        }
        if constexpr (std::is_trivially_copyable_v<TYPE>) {
            std::memmove(dst, src, static_cast<std::size_t>(n) * sizeof(TYPE));
        } else if (std::less<TYPE*>()(dst, src)) {
            for (INT_PTR i = 0; i < n; ++i) {
                ::new (static_cast<void*>(dst + i)) TYPE(std::move(src[i]));
                src[i].~TYPE();
            }
        } else {
            for (INT_PTR i = n; i-- > 0;) {
                ::new (static_cast<void*>(dst + i)) TYPE(std::move(src[i]));
                src[i].~TYPE();
            }
        }
    }

    /// Opens nCount value-constructed elements at nIndex and returns the first of them.
    TYPE* OpenGap(INT_PTR nIndex, INT_PTR nCount) {
        if (nIndex >= m_nSize) {
            SetSize(Bounded(nIndex, nCount));
            return m_pData + nIndex;
        }
        const INT_PTR nOldSize = m_nSize;
        Reserve(Bounded(nOldSize, nCount));
        TYPE* gap = m_pData + nIndex;
        Relocate(gap + nCount, gap, nOldSize - nIndex);
        try {
            std::uninitialized_value_construct_n(gap, nCount);
        } catch (...) {
            Relocate(gap, gap + nCount, nOldSize - nIndex);
            throw;
        }
        m_nSize = nOldSize + nCount;
        return gap;
    }
};

} // namespace plinth
