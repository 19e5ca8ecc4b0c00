#pragma once

#include "plinth/platform/export.h"
#include "plinth/platform/ptr_list.h"
#include "plinth/platform/types.h"

namespace plinth {

/// A walk over every pair of an element of the first list with an element of the second, the
/// second list running fastest. The lists are not owned. After Init, IsValid tells whether
/// there is a first pair; each Next moves on and is false after the last pair.
/// Threads: one object is used by one thread at a time; distinct objects are independent.
class PLINTH_API BiPosn {
public:
    BiPosn() noexcept = default;
    BiPosn(CObList* first, CObList* second) noexcept
        : m_pList1(first)
        , m_pList2(second) {}

    /// Both positions to the heads, when both lists are set.
    void Init() noexcept {
        if (m_pList1 != nullptr && m_pList2 != nullptr) {
            m_pos1 = m_pList1->GetHeadPosition();
            m_pos2 = m_pList2->GetHeadPosition();
        }
    }

    bool IsValid() const noexcept { return m_pos1 != nullptr && m_pos2 != nullptr; }

    /// Moves to the next pair; false, with a position left null, after the last.
    bool Next() {
        if (!IsValid()) {
            return false;
        }
        m_pList2->GetNext(m_pos2);
        if (m_pos2 != nullptr) {
            return true;
        }
        m_pList1->GetNext(m_pos1);
        if (m_pos1 == nullptr) {
            return false;
        }
        m_pos2 = m_pList2->GetHeadPosition();
        return true;
    }

    POSITION m_pos1 = nullptr;
    POSITION m_pos2 = nullptr;
    CObList* m_pList1 = nullptr;
    CObList* m_pList2 = nullptr;
};

} // namespace plinth
