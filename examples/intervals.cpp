// Intervals and interval sets: when is a machine free during a shift?
//
// Bookings arrive in any order and may overlap; SetR1::Unite merges each one into an ordered
// set of disjoint intervals. The gaps of that set within the shift are the free windows.
// Ends that agree within the library's tolerance (EPS) count as touching.
#include "plinth/range/range_r1.h"
#include "plinth/range/set_r1.h"
#include "plinth/range/set_r1_spaced.h"

#include <cstdio>

using namespace plinth;

namespace {

void Print(const char* label, const SetR1& set) {
    std::printf("%-28s", label);
    for (INT_PTR i = 0; i < set.GetSize(); ++i) {
        std::printf(" [%g, %g]", set[i].lo, set[i].hi);
    }
    std::printf("\n");
}

} // namespace

int main() {
    // Bookings in hours: unordered, two overlapping, one ending a hair before the next.
    const RangeR1 bookings[] = {{13, 14.5}, {9, 10}, {9.5, 11}, {14.5 - EPS / 2, 15}};
    SetR1 busy;
    for (const RangeR1& booking : bookings) {
        busy.Unite(booking);
    }
    Print("busy:", busy);

    const RangeR1 shift(8, 18);
    SetR1 free;
    busy.GetComplimentarySet(shift, free);
    Print("free within [8, 18]:", free);

    // The first busy moment at or after 11.5, and which interval holds 14.
    std::printf("%-28s %g\n", "busy again from 11.5 at:", busy.GetFirstPoint(11.5));
    std::printf("%-28s %d\n", "14 lies in busy interval:", busy.FindRange(14));

    // A single interval answers distance questions; nearest receives the closest point.
    double nearest = 0;
    const double gap = shift.GetDist(20, &nearest);
    std::printf("%-28s %g (nearest %g)\n", "20 is past the shift by:", gap, nearest);

    // Labels of width 2 centred at 5, 5.5 and 6 overlap; Arrange pushes them apart from the
    // middle one, keeping every width.
    SetR1Spaced labels;
    for (double centre : {5.0, 5.5, 6.0}) {
        labels.AddRange(centre - 1, centre + 1);
    }
    labels.Arrange();
    Print("labels laid out:", labels);
    return labels.IsValidEx(0) && busy.GetSize() == 2 ? 0 : 1;
}
