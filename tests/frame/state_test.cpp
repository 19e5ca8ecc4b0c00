#include "plinth/frame/state.h"

#include <gtest/gtest.h>

#include <tuple>

using plinth::StatePlinth;

namespace {

int g_calls = 0;
std::tuple<const char*, const char*, int> g_args;

bool recordingHandler(const char* text1, const char* text2, int line) {
    ++g_calls;
    g_args = {text1, text2, line};
    return false;
}

bool otherHandler(const char* /*text1*/, const char* /*text2*/, int /*line*/) {
    return true;
}

} // namespace

TEST(StatePlinth, AssertHandlerIsReplacedAndGetsItsArgumentsUnchanged) {
    EXPECT_EQ(StatePlinth::m_pAssert, nullptr); // nothing is installed at load
    StatePlinth::Assert("ignored", "too", 1);   // no handler: nothing happens
    EXPECT_EQ(StatePlinth::SetAssertHandler(otherHandler), nullptr);
    EXPECT_EQ(StatePlinth::SetAssertHandler(recordingHandler), &otherHandler);

    const char* expression = "x > 0";
    StatePlinth::Assert(expression, nullptr, 42);
    EXPECT_EQ(g_calls, 1);
    EXPECT_EQ(g_args, std::make_tuple(expression, nullptr, 42));
    EXPECT_EQ(StatePlinth::SetAssertHandler(nullptr), &recordingHandler);
    EXPECT_EQ(StatePlinth::SetAssertHandler(nullptr), nullptr);
}

TEST(StatePlinth, NetFlagOnlyTurnsOn) {
    EXPECT_FALSE(StatePlinth::IsNet());
    StatePlinth::SetNet();
    StatePlinth::SetNet();
    EXPECT_TRUE(StatePlinth::IsNet());
}
