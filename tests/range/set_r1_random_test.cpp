// SetR1::Unite and GetComplimentarySet against a model that marks sample points.

#include "plinth/range/set_r1.h"

#include <gtest/gtest.h>

#include <array>
#include <random>

using namespace plinth;

namespace {

// Ends lie on the grid k / 4, from 0 to about 60; samples lie at odd multiples of 1 / 16 from
// just below 0, so that no sample is an end and tolerances play no part.
constexpr int gridPoints = 160;
constexpr int samples = 8 * 60;

double Sample(int s) {
    return (s + 0.5) / 8 - 1;
}

} // namespace

TEST(SetR1Random, UniteAndComplementMatchAPointModel) {
    std::mt19937 random(20240611u);
    const auto gridValue = [&random] { return static_cast<int>(random() % gridPoints) / 4.0; };

    for (int round = 0; round < 200; ++round) {
        SetR1 set;
        std::array<bool, samples> covered{};
        const int n = 1 + static_cast<int>(random() % 24);
        for (int k = 0; k < n; ++k) {
            const double a = gridValue();
            const double b = a + static_cast<int>(random() % 24) / 4.0; // sometimes a point
            set.Unite(RangeR1(a, b));
            for (int s = 0; s < samples; ++s) {
                covered[s] = covered[s] || (a <= Sample(s) && Sample(s) <= b);
            }
        }
        ASSERT_TRUE(set.IsValid());
        for (INT_PTR i = 1; i < set.GetSize(); ++i) {
            ASSERT_GT(set[i].lo, set[i - 1].hi) << "round " << round;
        }

        const double w0 = gridValue();
        const double w1 = w0 + static_cast<int>(random() % 80) / 4.0;
        SetR1 gaps;
        set.GetComplimentarySet(RangeR1(w0, w1), gaps);
        for (int s = 0; s < samples; ++s) {
            const double x = Sample(s);
            ASSERT_EQ(set.FindRange(x) >= 0, covered[s]) << "round " << round << " x " << x;
            const bool gap = w0 < x && x < w1 && !covered[s];
            ASSERT_EQ(gaps.FindRange(x) >= 0, gap) << "round " << round << " x " << x;
        }
    }
}
