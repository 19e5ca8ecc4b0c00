#include "plinth/numeric/sorted_array.h"
#include "plinth/numeric/vector3.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <utility>
#include <vector>

using namespace plinth;
using ::testing::ElementsAre;

namespace {
const double kNodes[] = {0, 1, 2, 3};
}

TEST(ZFindSegment, ANodeAndValuesWithinEpsAboveItEndTheirSegment) {
    const std::pair<double, int> cases[] = {{0.5, 1},       {1, 1},  {1 + 5e-11, 1}, {1 + EPS, 2},
                                            {1 + 2e-10, 2}, {-1, 0}, {5, 3}};
    for (const auto& [x, segment] : cases) {
        EXPECT_EQ(zFindSegment(x, kNodes, 0, 3), segment) << x;
    }
    EXPECT_EQ(zFindSegment(-1, kNodes, 2, 3), 0);  // arr[0] is tested whatever lo is
    EXPECT_EQ(zFindSegment(0.5, kNodes, 2, 3), 3); // fewer than two steps: hi at once
    EXPECT_EQ(zFindNearest(1.4, kNodes, 0, 3), 1);
    EXPECT_EQ(zFindNearest(1.5, kNodes, 0, 3), 2); // a tie goes to the upper node
    EXPECT_EQ(zFindNearest(-1, kNodes, 0, 3), 0);

    std::vector<double> nodes; // the bisection keeps its invariant over many steps
    for (int i = 0; i < 1000; ++i) {
        nodes.push_back(0.5 * i);
    }
    for (double x = 0.1; x < 499.5; x += 0.37) {
        const int i = zFindSegment(x, nodes.data(), 0, 999);
        ASSERT_GE(i, 1);
        EXPECT_TRUE(nodes[i - 1] + EPS <= x && x < nodes[i] + EPS) << x;
    }
}

TEST(ZMemSet, FillsExactlyNAndIgnoresBadArguments) {
    double values[3] = {1, 1, 1};
    zMemSet(values, 2, 7.5);
    zMemSet(values, -1, 9);
    zMemSet(nullptr, 3, 9);
    EXPECT_THAT(values, ElementsAre(7.5, 7.5, 1));
}

TEST(RtNormalize, ScalesDownToALengthOfExactlyEps) {
    double v[3] = {3, 4, 0}, tiny[3] = {5e-11, 0, 0}, atEps[3] = {0, 0, -EPS};
    EXPECT_TRUE(rtNormalize(v));
    EXPECT_FALSE(rtNormalize(tiny));
    EXPECT_TRUE(rtNormalize(atEps));
    EXPECT_THAT(v, ElementsAre(0.6, 0.8, 0));
    EXPECT_THAT(tiny, ElementsAre(5e-11, 0, 0));
    EXPECT_THAT(atEps, ElementsAre(0, 0, -1));
}

TEST(RtCopy3d, CopiesOnlyComponentsDifferingByMoreThanEps) {
    double dst[3] = {1, 2, 3}, zero[3] = {0, 0, 0};
    const double src[3] = {1 + 5e-11, 5, 3}, within[3] = {EPS, -EPS, 5e-11};
    EXPECT_TRUE(rtCopy3d(dst, src));
    EXPECT_FALSE(rtCopy3d(zero, within));
    EXPECT_THAT(dst, ElementsAre(1, 5, 3));
    EXPECT_THAT(zero, ElementsAre(0, 0, 0));
}
