#include "plinth/numeric/constants.h"

#include <gtest/gtest.h>

using namespace plinth;

TEST(Constants, AngularConstantsAreExactlyDerivedFromTheFifteenDigitPi) {
    volatile double pi = PI;             // keeps the arithmetic at run time
    EXPECT_EQ(PI, 0x1.921fb54442d11p+1); // not the double nearest to pi
    EXPECT_EQ(TWO_PI, 2 * pi);
    EXPECT_EQ(DEG_TO_RAD, pi / 180);
    EXPECT_EQ(RAD_TO_DEG, 180 / pi);
    EXPECT_EQ(TWO_PI, 0x1.921fb54442d11p+2);
    EXPECT_EQ(DEG_TO_RAD, 0x1.1df46a2529d34p-6);
    EXPECT_EQ(RAD_TO_DEG, 0x1.ca5dc1a63c2p+5);
}
