#pragma once

#include "plinth/platform/types.h"

#include <cstddef>
#include <iterator>
#include <type_traits>
#include <utility>

namespace plinth {

// Iterators over the framework's containers, built on their public walks, so that range-for
// and the standard algorithms work on them. Contiguous arrays need none of this: their
// begin() and end() are pointers.
//
// An iterator whose elements are stored by the container yields references and is
// bidirectional. One that yields values (typed pointer containers convert each stored pointer,
// maps copy each entry) is an input iterator to the standard algorithms, though it may be
// copied and walked more than once. Reading or stepping past the end raises
// CInvalidArgException, as the container's own walk does.
//
// Example:
//   CList<int> list;
//   for (int& x : list) { ++x; }
//   const auto n = std::count_if(list.begin(), list.end(), [](int x) { return x > 0; });
//
// Threads: an iterator is used with its container, by one thread at a time.

/// Walks a list from head to tail by its positions (GetAt, GetNext, GetPrev, GetTailPosition).
/// LIST is const for a const walk. It stays valid until the node it stands on is removed;
/// adding nodes or removing others does not disturb it.
template <class LIST>
class PositionIterator {
public:
    using reference = decltype(std::declval<LIST&>().GetAt(POSITION{}));
    using value_type = std::remove_cv_t<std::remove_reference_t<reference>>;
    using difference_type = std::ptrdiff_t;
    using pointer = std::conditional_t<std::is_lvalue_reference_v<reference>,
                                       std::remove_reference_t<reference>*, void>;
    using iterator_category =
        std::conditional_t<std::is_lvalue_reference_v<reference>, std::bidirectional_iterator_tag,
                           std::input_iterator_tag>;

    PositionIterator() noexcept = default;
    PositionIterator(LIST* list, POSITION pos) noexcept
        : m_list(list)
        , m_pos(pos) {}
    /// A walk of a list converts to the const walk of it.
    template <class OTHER, class = std::enable_if_t<std::is_same_v<const OTHER, LIST>>>
    PositionIterator(const PositionIterator<OTHER>& it) noexcept
        : m_list(it.List())
        , m_pos(it.Position()) {}

    reference operator*() const { return m_list->GetAt(m_pos); }
    template <class REF = reference, class = std::enable_if_t<std::is_lvalue_reference_v<REF>>>
    pointer operator->() const {
        return &m_list->GetAt(m_pos);
    }
    PositionIterator& operator++() {
        m_list->GetNext(m_pos);
        return *this;
    }
    PositionIterator operator++(int) {
        PositionIterator old(*this);
        ++*this;
        return old;
    }
    /// From the end, back to the tail.
    PositionIterator& operator--() {
        if (m_pos == nullptr) {
            m_pos = m_list->GetTailPosition();
        } else {
            m_list->GetPrev(m_pos);
        }
        return *this;
    }
    PositionIterator operator--(int) {
        PositionIterator old(*this);
        --*this;
        return old;
    }
    friend bool operator==(const PositionIterator& a, const PositionIterator& b) noexcept {
        return a.m_pos == b.m_pos;
    }
    friend bool operator!=(const PositionIterator& a, const PositionIterator& b) noexcept {
        return !(a == b);
    }

    LIST* List() const noexcept { return m_list; }
    /// The node it stands on; null at the end.
    POSITION Position() const noexcept { return m_pos; }

private:
    LIST* m_list = nullptr;
    POSITION m_pos = nullptr;
};

/// Walks an array by index (GetAt, GetSize), for arrays whose GetAt yields values. Adding or
/// removing elements shifts what an index stands on.
template <class ARRAY>
class IndexIterator {
public:
    using reference = decltype(std::declval<ARRAY&>().GetAt(INT_PTR{}));
    using value_type = std::remove_cv_t<std::remove_reference_t<reference>>;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using iterator_category = std::input_iterator_tag;
    static_assert(!std::is_reference_v<reference>, "arrays of references walk by pointer");

    IndexIterator() noexcept = default;
    IndexIterator(ARRAY* array, INT_PTR index) noexcept
        : m_array(array)
        , m_index(index) {}

    reference operator*() const { return m_array->GetAt(m_index); }
    IndexIterator& operator++() noexcept {
        ++m_index;
        return *this;
    }
    IndexIterator operator++(int) noexcept {
        IndexIterator old(*this);
        ++m_index;
        return old;
    }
    IndexIterator& operator--() noexcept {
        --m_index;
        return *this;
    }
    IndexIterator operator--(int) noexcept {
        IndexIterator old(*this);
        --m_index;
        return old;
    }
    friend bool operator==(const IndexIterator& a, const IndexIterator& b) noexcept {
        return a.m_index == b.m_index;
    }
    friend bool operator!=(const IndexIterator& a, const IndexIterator& b) noexcept {
        return !(a == b);
    }

private:
    ARRAY* m_array = nullptr;
    INT_PTR m_index = 0;
};

/// Walks a map's entries (GetStartPosition, GetNextAssoc) in the map's own order, which callers
/// must not rely on. Each entry is read as a pair of copies, held by the iterator: a reference
/// from operator* lasts until the iterator moves or is gone. Any change to the map (an entry
/// added or removed, InitHashTable, RemoveAll) invalidates its iterators.
template <class MAP, class KEY, class VALUE>
class MapIterator {
public:
    using value_type = std::pair<KEY, VALUE>;
    using reference = const value_type&;
    using pointer = const value_type*;
    using difference_type = std::ptrdiff_t;
    using iterator_category = std::input_iterator_tag;

    MapIterator() noexcept = default;
    /// At the first entry with start set, else at the end.
    MapIterator(const MAP* map, bool start)
        : m_map(map)
        , m_pos(start ? map->GetStartPosition() : nullptr)
        , m_next(m_pos) {
        Read();
    }

    reference operator*() const noexcept { return m_entry; }
    pointer operator->() const noexcept { return &m_entry; }
    MapIterator& operator++() {
        m_pos = m_next;
        Read();
        return *this;
    }
    MapIterator operator++(int) {
        MapIterator old(*this);
        ++*this;
        return old;
    }
    friend bool operator==(const MapIterator& a, const MapIterator& b) noexcept {
        return a.m_pos == b.m_pos;
    }
    friend bool operator!=(const MapIterator& a, const MapIterator& b) noexcept {
        return !(a == b);
    }

private:
    void Read() {
        if (m_pos != nullptr) {
            m_map->GetNextAssoc(m_next, m_entry.first, m_entry.second);
        }
    }

    const MAP* m_map = nullptr;
    POSITION m_pos = nullptr;  ///< the entry read; null at the end
    POSITION m_next = nullptr; ///< the entry after it
    value_type m_entry{};
};

} // namespace plinth
