#include "plinth/range/range_int.h"
#include "plinth/range/range_pos.h"

#include <gtest/gtest.h>

using namespace plinth;

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
