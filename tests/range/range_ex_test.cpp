#include "plinth/range/range_ex.h"
#include "plinth/range/range_int.h"
#include "plinth/range/range_pos.h"

#include <gtest/gtest.h>

using namespace plinth;

namespace {

bool Is(const RangeEx& r, double a, double b, bool closedStart, bool closedEnd) {
    return r.lo == a && r.hi == b && r.closedStart == closedStart && r.closedEnd == closedEnd;
}

RangeEx Closed(double a, double b) {
    return RangeEx(a, b, true, true);
}

} // namespace

TEST(RangeEx, OpenEndsExcludeByTheTolerance) {
    const RangeEx open(0, 1, false, false);
    EXPECT_TRUE(!open.In(0, 1e-6) && !open.In(1, 1e-6) && open.In(0.5, 1e-6));
    EXPECT_TRUE(open.In(1e-6, 1e-6)); // exactly tol away is in
    EXPECT_TRUE(RangeEx(2, 2, false, false).IsEmpty() && !RangeEx(2, 2, true, false).IsEmpty());
    EXPECT_TRUE(Closed(2, 2).IsSingleton() && !RangeEx(2, 2, true, false).IsSingleton());
    EXPECT_TRUE(RangeEx(2, 2, false, false).IsInsideOf(RangeR1(5, 6))); // empty: inside anything
    EXPECT_TRUE(Is(RangeEx(1, 2, nullptr), 1, 2, true, true));          // no flags: both closed
}

TEST(RangeEx, TouchingEndsMeetOnlyWhenBothClosed) {
    EXPECT_TRUE(Closed(0, 1).IsEmptyIntersection(RangeEx(1, 2, false, true)));
    EXPECT_FALSE(Closed(0, 1).IsEmptyIntersection(Closed(1, 2)));
    EXPECT_TRUE(RangeEx(1, 2, false, true).IsEmptyIntersection(Closed(0, 1)));

    RangeEx i = Closed(0, 10);
    EXPECT_TRUE(i.Intersect(RangeEx(5, 20, false, true)) && Is(i, 5, 10, false, true));
    RangeEx touch = Closed(0, 1);
    EXPECT_FALSE(touch.Intersect(RangeEx(1, 2, false, true))); // a point with open ends
    EXPECT_TRUE(Is(touch, 1, 1, false, false));
    RangeEx apart = Closed(0, 1);
    EXPECT_TRUE(!apart.Intersect(Closed(3, 4)) && Is(apart, 0, 1, true, true));
}

TEST(RangeEx, UniteAndInclude) {
    RangeEx u = Closed(0, 5);
    EXPECT_TRUE(u.Unite(RangeEx(3, 10, true, false)) && Is(u, 0, 10, true, false));
    RangeEx f(0, 5, true, false);
    EXPECT_TRUE(f.Unite(Closed(4, 5)) && Is(f, 0, 5, true, true)); // no end moves; it closes
    EXPECT_FALSE(f.Unite(Closed(4, 5)) || f.Unite(Closed(1, 2)));

    RangeEx g(0, 1, false, false);
    g.Include(2);
    EXPECT_TRUE(Is(g, 0, 2, false, true));
    RangeEx h(0, 1, false, true);
    h.Include(0); // on the open start: it closes
    EXPECT_TRUE(Is(h, 0, 1, true, true));
    RangeEx e(2, 2, false, false); // empty: whatever it grows to is closed
    e.Include(3);
    EXPECT_TRUE(Is(e, 2, 3, true, true));
}

TEST(RangeEx, SubtractComplementsTheCutEnds) {
    RangeEx a = Closed(0, 10);
    RangeEx r = Closed(3, 5);
    bool startCut = true;
    EXPECT_EQ(a.Subtract(r, &startCut), 2);
    EXPECT_TRUE(Is(a, 0, 3, true, false) && Is(r, 5, 10, false, true) && !startCut);
    RangeEx b(0, 10, true, false);
    RangeEx open(3, 5, false, false);
    EXPECT_EQ(b.Subtract(open), 2);
    EXPECT_TRUE(Is(b, 0, 3, true, true) && Is(open, 5, 10, true, false));
    RangeEx c = Closed(0, 10);
    RangeEx head(-5, 3, true, false);
    EXPECT_EQ(c.Subtract(head, &startCut), 1);
    EXPECT_TRUE(Is(c, 3, 10, true, true) && startCut);
}

TEST(RangeInt, CountsAndIntersection) {
    RangeInt r(3, 7);
    EXPECT_TRUE(r.GetCount() == 5 && RangeInt().IsEmpty() && RangeInt(4, 4).IsSingleton());
    EXPECT_TRUE(r.Intersect(RangeInt(5, 9)) && r.Is(5, 7));
    EXPECT_TRUE(!r.Intersect(RangeInt(8, 9)) && r == RangeInt());
    EXPECT_EQ(RangeInt::ToRange(12, 0, 10), 10);
    r[0] = 5;
    r[9] = 8; // any index other than 0 is the end: never out of bounds
    EXPECT_TRUE(r.Is(5, 8) && r.IsIn(5) && !r.IsIn(9));
}

TEST(RangePos, ValidityOfTheTwoPositions) {
    int node = 0;
    const POSITION p = reinterpret_cast<POSITION>(&node);
    RangePos r;
    r.first = p;
    EXPECT_TRUE(RangePos().IsValid() && !r.IsValid() && !r.IsValidEx());
    r.CopyPair({p, p});
    RangePos c(r);
    c = 0;
    EXPECT_TRUE(r.IsValidEx() && c.first == nullptr && c.last == nullptr && !c.IsValidEx());
}
