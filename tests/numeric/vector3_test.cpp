#include "plinth/numeric/vector3.h"

#include <gtest/gtest.h>

using namespace plinth;

TEST(RtNormalize, ScalesDownToALengthOfExactlyEps) {
    double v[3] = {3, 4, 0};
    EXPECT_TRUE(rtNormalize(v));
    EXPECT_DOUBLE_EQ(v[1], 0.8);
    double tiny[3] = {5e-11, 0, 0};
    EXPECT_FALSE(rtNormalize(tiny));
    EXPECT_EQ(tiny[0], 5e-11);
    double atEps[3] = {0, 0, -EPS};
    EXPECT_TRUE(rtNormalize(atEps));
    EXPECT_EQ(atEps[2], -1);
}

TEST(RtCopy3d, CopiesOnlyComponentsDifferingByMoreThanEps) {
    double dst[3] = {1, 2, 3};
    const double src[3] = {1 + 5e-11, 5, 3};
    EXPECT_TRUE(rtCopy3d(dst, src));
    EXPECT_TRUE(dst[0] == 1 && dst[1] == 5 && dst[2] == 3);
    double zero[3] = {0, 0, 0};
    const double within[3] = {EPS, -EPS, 5e-11};
    EXPECT_FALSE(rtCopy3d(zero, within));
    EXPECT_TRUE(zero[0] == 0 && zero[1] == 0 && zero[2] == 0);
}
