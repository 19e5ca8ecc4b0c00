#include "plinth/circle/set_s1.h"

#include "plinth/circle/s1.h"
#include "plinth/platform/memory.h"
#include "plinth/platform/throw.h"

#include <memory>

namespace plinth {

SetS1::~SetS1() = default;

void SetS1::SetFull() {
    Clear();
    RangeS1 full;
    full.SetFull();
    InsertCopyAfter(nullptr, full);
}

void SetS1::InsertSorted(RangeS1* r) {
    if (r == nullptr) {
        AfxThrowInvalidArgException();
    }
    if (GetCount() < 2) {
        AddTail(r);
        return;
    }
    const S1 start(r->lo);
    const RangeS1* prev = GetTail();
    for (POSITION pos = GetHeadPosition(); pos != nullptr;) {
        const POSITION node = pos;
        const RangeS1* arc = GetNext(pos);
        if (S1(prev->hi).IsCCWSequence(start, S1(arc->lo))) {
            InsertBefore(node, r);
            return;
        }
        prev = arc;
    }
    AddTail(r);
}

void SetS1::Subtract(const RangeS1& o) {
    const RangeS1 cut(o); // o may be one of the arcs about to be deleted
    for (POSITION pos = GetHeadPosition(); pos != nullptr;) {
        const POSITION node = pos;
        RangeS1* arc = GetNext(pos);
        RangeS1 second(cut);
        switch (arc->Subtract(second)) {
        case 0:
            Drop(node);
            break;
        case 2: // before pos, so this walk does not visit the new piece
            InsertCopyAfter(node, second);
            break;
        default:
            break;
        }
    }
}

void SetS1::Subtract(SetS1& other) {
    if (&other == this || other.IsFull()) {
        Clear();
        return;
    }
    for (const RangeS1* arc : other) {
        Subtract(*arc);
    }
}

void SetS1::RemoveSingletons(double minLength) {
    for (POSITION pos = GetHeadPosition(); pos != nullptr;) {
        const POSITION node = pos;
        if (GetNext(pos)->GetDiff() < minLength) {
            Drop(node);
        }
    }
}

bool SetS1::IsValidEx(double) const {
    for (const RangeS1* arc : *this) {
        if (arc->IsEmpty()) {
            return false;
        }
    }
    if (GetCount() < 2) {
        return true;
    }
    const RangeS1* prev = GetTail();
    for (const RangeS1* arc : *this) {
        if (!arc->IsEmptyIntersection(*prev)) {
            return false;
        }
        prev = arc;
    }
    return true;
}

bool SetS1::IsSorted() const {
    if (!IsValidEx(EPS)) {
        return false;
    }
    if (GetCount() < 2) {
        return true;
    }
    const RangeS1* prev = GetTail();
    for (POSITION pos = GetHeadPosition(); pos != nullptr;) {
        const RangeS1* arc = GetNext(pos);
        double p = prev->hi;
        double q = arc->lo;
        if (prev->IsSingleton()) {
            // A point has no extent to order by: use the arc after it, or the one after that.
            p = arc->lo;
            if (!arc->IsSingleton()) {
                q = arc->hi;
            } else {
                const RangeS1* following = pos != nullptr ? GetNext(pos) : GetHead();
                q = following->lo;
                arc = following;
            }
        }
        if (!S1(prev->lo).IsCCWSequence(S1(p), S1(q))) {
            return false;
        }
        prev = arc;
    }
    return true;
}

void SetS1::InsertCopyAfter(POSITION node, const RangeS1& arc) {
    std::unique_ptr<RangeS1> copy(AfxNew<RangeS1>(arc));
    InsertAfter(node, copy.get());
    copy.release();
}

void SetS1::Drop(POSITION node) {
    RangeS1* arc = GetAt(node);
    RemoveAt(node);
    DeleteElement(arc);
}

} // namespace plinth
