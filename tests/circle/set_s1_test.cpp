#include "plinth/circle/set_s1.h"
#include "plinth/platform/exceptions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

using namespace plinth;

namespace {

// An arc that counts the live instances, so that tests see what the set deletes.
struct Arc : RangeS1 {
    Arc(double a, double b)
        : RangeS1(a, b) {
        ++alive;
    }
    ~Arc() override { --alive; }
    static int alive;
};
int Arc::alive = 0;

using Ends = std::vector<std::pair<double, double>>;

Ends EndsOf(const SetS1& set) {
    Ends ends;
    for (POSITION pos = set.GetHeadPosition(); pos != nullptr;) {
        const RangeS1* arc = set.GetNext(pos);
        ends.emplace_back(std::round(arc->lo * 1e9) / 1e9, std::round(arc->hi * 1e9) / 1e9);
    }
    return ends;
}

class SetS1Test : public ::testing::Test {
protected:
    void TearDown() override {
        set.Clear(); // the set leaves its arcs alone when destroyed
        EXPECT_EQ(Arc::alive, 0);
    }
    void Add(double a, double b) { set.AddTail(new Arc(a, b)); }

    SetS1 set;
};

} // namespace

TEST_F(SetS1Test, InsertSortedKeepsCounterclockwiseOrder) {
    set.InsertSorted(new Arc(2, 2.1));
    set.InsertSorted(new Arc(-2, -1.9));
    set.InsertSorted(new Arc(0, 0.1));
    set.InsertSorted(new Arc(3, -3)); // across the seam
    EXPECT_EQ(EndsOf(set), (Ends{{0, 0.1}, {2, 2.1}, {3, -3}, {-2, -1.9}}));
    EXPECT_TRUE(set.IsSorted());
    EXPECT_THROW(set.InsertSorted(nullptr), CInvalidArgException);
}

TEST_F(SetS1Test, SubtractSplitsAndDeletesArcs) {
    Add(0, 3);
    set.Subtract(RangeS1(1, 2));
    EXPECT_EQ(EndsOf(set), (Ends{{0, 1}, {2, 3}}));
    Add(-1, -0.5);
    set.Subtract(*set.GetHead()); // one of its own arcs: only that one goes
    EXPECT_EQ(EndsOf(set), (Ends{{2, 3}, {-1, -0.5}}));
    EXPECT_EQ(Arc::alive, 1); // [0, 1] was deleted; the set made [2, 3] itself
    set.Subtract(RangeS1(-1.5, 3.1));
    EXPECT_TRUE(set.IsEmpty() && Arc::alive == 0);

    Add(0, 1);
    SetS1 other;
    other.SetFull();
    set.Subtract(other);
    EXPECT_TRUE(set.IsEmpty() && Arc::alive == 0);
    other.Clear();
}

TEST_F(SetS1Test, ValidityOrderAndSingletons) {
    EXPECT_TRUE(set.IsValidEx(EPS) && set.IsSorted());
    Add(1, 2);
    EXPECT_TRUE(set.IsSorted());
    Add(1.5, 2.5);
    EXPECT_FALSE(set.IsValidEx(EPS) || set.IsSorted());
    set.Clear();

    for (double x : {0, 2, 1}) { // points are ordered by the points around them
        Add(x, x);
    }
    EXPECT_TRUE(set.IsValidEx(EPS) && !set.IsSorted());
    set.MoveToTail(set.IndexToPosition(1, nullptr), set.IndexToPosition(1, nullptr));
    EXPECT_TRUE(set.IsSorted());

    Add(1.5, 1.55);
    set.RemoveSingletons(0.1);
    EXPECT_TRUE(set.IsEmpty() && Arc::alive == 0);
}
