#include "plinth/numeric/solver.h"
#include "plinth/platform/exceptions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <string>

using namespace plinth;

namespace {

// Each callback logs its letter (f, d or s), so tests see the order and count of calls.
std::string g_calls;
double logged(char tag, double value) {
    g_calls += tag;
    return value;
}

struct Cb {
    static double sq(double x) { return logged('f', x * x - 2); }
    static double sqD(double x) { return logged('d', 2 * x); }
    static double two(double) { return logged('s', 2); }
    static double zero(double) { return logged('s', 0); }
    static double line(double x) { return logged('f', x - 3); }
    static double falling(double x) { return logged('f', 3 - x); }
    static double shallow(double x) { return logged('f', 1e-4 * (x - 3)); }
    static double constant(double) { return logged('f', 1); } // every step has length 1
    static double one(double) { return logged('d', 1); }
    static double minusOne(double) { return logged('d', -1); }
    static double minSlope(double) { return logged('d', 1e-4); }
    static double raise(double) { throw std::runtime_error("callback"); }
};

// The text a call throws, or null when it returns; the log starts afresh.
const char* Thrown(double (*f)(double), double (*df)(double), double (*d2f)(double), double x0) {
    g_calls.clear();
    try {
        SolveNl(f, df, d2f, 0, 0, x0);
    } catch (char* text) {
        return text;
    }
    return nullptr;
}

} // namespace

TEST(SolveNl, ConvergesCallingFThenBothDerivatives) {
    EXPECT_NEAR(SolveNl(Cb::sq, Cb::sqD, Cb::two, 0, 0, 2), std::sqrt(2.0), 1e-6);
    g_calls.clear();
    EXPECT_EQ(SolveNl(Cb::line, Cb::one, Cb::zero, 0, 0, 0), 3);
    EXPECT_EQ(g_calls, "fdsfds"); // the second step has length 0
    EXPECT_NEAR(SolveNl(Cb::shallow, Cb::minSlope, Cb::zero, 0, 0, 0), 3, 1e-6);
}

TEST(SolveNl, GuardsThrowStaticTextAndCallbackExceptionsPassThrough) {
    EXPECT_STREQ(Thrown(Cb::sq, Cb::sqD, Cb::two, 0.5),
                 "Different signs f and the second derivative");
    EXPECT_EQ(g_calls, "fds");
    EXPECT_STREQ(Thrown(Cb::falling, Cb::minusOne, Cb::zero, 0), " Nearly zero derivative");
    EXPECT_EQ(g_calls, "fds");
    const char* text = Thrown(Cb::constant, Cb::one, Cb::zero, 0);
    EXPECT_STREQ(text, "No convergence");
    std::string thousand;
    for (int i = 0; i < 1000; ++i) {
        thousand += "fds";
    }
    EXPECT_EQ(g_calls, thousand);
    EXPECT_EQ(Thrown(Cb::constant, Cb::one, Cb::zero, 5), text); // static text: nothing to free

    EXPECT_THROW(SolveNl(Cb::raise, Cb::one, Cb::zero, 0, 0, 0), std::runtime_error);
    EXPECT_THROW(SolveNl(Cb::line, Cb::one, Cb::raise, 0, 0, 0), std::runtime_error);
    EXPECT_THROW(SolveNl(nullptr, Cb::one, Cb::zero, 0, 0, 0), CInvalidArgException);
}
