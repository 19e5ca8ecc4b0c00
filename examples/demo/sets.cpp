// Interval sets and arc sets: a union, its complement in a window, and arcs cut from a circle.
#include "sections.h"

#include "plinth/circle/set_s1.h"
#include "plinth/range/set_r1.h"

#include <cstdio>

using plinth::RangeR1;
using plinth::RangeS1;

namespace {

void Print(const char* label, const plinth::SetR1& set) {
    std::printf("%-36s=", label);
    for (plinth::INT_PTR i = 0; i < set.GetSize(); ++i) {
        std::printf(" [%g, %g]", set[i].lo, set[i].hi);
    }
    std::printf("\n");
}

} // namespace

void DemoSets() {
    std::printf("\n-- Interval and arc sets --\n");
    plinth::SetR1 set;
    for (const RangeR1& r : {RangeR1(3, 4), RangeR1(0, 1), RangeR1(0.5, 2), RangeR1(6, 7)}) {
        set.Unite(r);
    }
    Print("[3, 4] + [0, 1] + [0.5, 2] + [6, 7]", set);
    plinth::SetR1 gaps;
    set.GetComplimentarySet(RangeR1(-1, 10), gaps);
    Print("its complement in [-1, 10]", gaps);

    plinth::SetS1 arcs;
    arcs.SetFull();
    arcs.Subtract(RangeS1(0, 1));
    arcs.Subtract(RangeS1(3, -3)); // across the seam at PI
    std::printf("%-36s=", "circle less 0..1 and 3..-3");
    for (plinth::POSITION pos = arcs.GetHeadPosition(); pos != nullptr;) {
        const RangeS1* arc = arcs.GetNext(pos);
        std::printf(" %.4g..%.4g", arc->lo, arc->hi);
    }
    std::printf(" (sorted: %s)\n", arcs.IsSorted() ? "yes" : "no");
    arcs.Clear(); // the set owns its arcs but leaves them to its owner on destruction
}
