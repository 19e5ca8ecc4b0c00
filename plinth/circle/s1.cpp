#include "plinth/circle/s1.h"

namespace plinth {

S1::~S1() = default;

S1 S1::GetSegmentPoint(S1 b, double t) const {
    const S1 d(b.angle - angle);
    return S1(angle + t * d.angle);
}

bool S1::IsCCWSequence(S1 b, S1 c) const {
    // Rotate this angle onto PI so that the walk runs upwards from -PI.
    const double s = PI - angle;
    if (std::fabs(s) > EPS) {
        b = b.angle + s;
        c = c.angle + s;
    }
    return b.angle - EPS < c.angle;
}

void S1::InsertSorted(CList<S1, S1>& list) const {
    if (list.GetCount() < 2) {
        list.AddTail(*this);
        return;
    }
    // The pairs (tail, head), (head, second), ..., (last but one, tail) of the cycle.
    POSITION prevPos = list.GetTailPosition();
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) {
        const POSITION nodePos = pos;
        const S1& node = list.GetNext(pos);
        if (list.GetAt(prevPos).IsCCWSequence(*this, node)) {
            list.InsertAfter(prevPos, *this);
            return;
        }
        prevPos = nodePos;
    }
}

} // namespace plinth
