#include "plinth/numeric/sorted_array.h"

#include <gtest/gtest.h>

#include <vector>

using namespace plinth;

namespace {
const double kNodes[] = {0, 1, 2, 3};
}

TEST(ZFindSegment, ANodeAndValuesWithinEpsAboveItEndTheirSegment) {
    EXPECT_EQ(zFindSegment(0.5, kNodes, 0, 3), 1);
    EXPECT_EQ(zFindSegment(1, kNodes, 0, 3), 1);
    EXPECT_EQ(zFindSegment(1 + 5e-11, kNodes, 0, 3), 1);
    EXPECT_EQ(zFindSegment(1 + EPS, kNodes, 0, 3), 2);
    EXPECT_EQ(zFindSegment(1 + 2e-10, kNodes, 0, 3), 2);
    EXPECT_EQ(zFindSegment(-1, kNodes, 0, 3), 0);
    EXPECT_EQ(zFindSegment(5, kNodes, 0, 3), 3);
    EXPECT_EQ(zFindSegment(-1, kNodes, 2, 3), 0);  // arr[0] is tested whatever lo is
    EXPECT_EQ(zFindSegment(0.5, kNodes, 2, 3), 3); // fewer than two steps: hi at once
}

TEST(ZFindSegment, BisectionHonoursTheSegmentInvariant) {
    std::vector<double> nodes;
    for (int i = 0; i < 1000; ++i) {
        nodes.push_back(0.5 * i);
    }
    for (double x = 0.1; x < 499.5; x += 0.37) {
        const int i = zFindSegment(x, nodes.data(), 0, 999);
        ASSERT_GE(i, 1);
        EXPECT_TRUE(nodes[i - 1] + EPS <= x && x < nodes[i] + EPS) << x;
    }
}

TEST(ZFindNearest, TiesGoToTheUpperNode) {
    EXPECT_EQ(zFindNearest(1.4, kNodes, 0, 3), 1);
    EXPECT_EQ(zFindNearest(1.5, kNodes, 0, 3), 2);
    EXPECT_EQ(zFindNearest(-1, kNodes, 0, 3), 0);
}

TEST(ZMemSet, FillsExactlyNAndIgnoresBadArguments) {
    double values[3] = {1, 1, 1};
    zMemSet(values, 2, 7.5);
    zMemSet(values, -1, 9);
    zMemSet(nullptr, 3, 9);
    EXPECT_EQ(values[0], 7.5);
    EXPECT_EQ(values[1], 7.5);
    EXPECT_EQ(values[2], 1);
}
