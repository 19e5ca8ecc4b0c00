#include "plinth/frame/state.h"

#include <gtest/gtest.h>

using plinth::StatePlinth;

namespace {

struct Call {
    const char* text1 = nullptr;
    const char* text2 = nullptr;
    int line = 0;
    int count = 0;
};
Call g_call;

bool recordingHandler(const char* text1, const char* text2, int line) {
    g_call = {text1, text2, line, g_call.count + 1};
    return false;
}

bool otherHandler(const char* /*text1*/, const char* /*text2*/, int /*line*/) {
    return true;
}

} // namespace

TEST(StatePlinth, SetAssertHandlerReturnsThePreviousOne) {
    EXPECT_EQ(StatePlinth::m_pAssert, nullptr); // nothing is installed at load
    EXPECT_EQ(StatePlinth::SetAssertHandler(recordingHandler), nullptr);
    EXPECT_EQ(StatePlinth::SetAssertHandler(otherHandler), &recordingHandler);
    EXPECT_EQ(StatePlinth::SetAssertHandler(nullptr), &otherHandler);
    EXPECT_EQ(StatePlinth::SetAssertHandler(nullptr), nullptr);
}

TEST(StatePlinth, AssertCallsTheHandlerWithItsArgumentsUnchanged) {
    g_call = Call{};
    StatePlinth::Assert("ignored", "too", 1); // no handler: nothing happens
    EXPECT_EQ(g_call.count, 0);

    StatePlinth::SetAssertHandler(recordingHandler);
    const char* expression = "x > 0";
    StatePlinth::Assert(expression, nullptr, 42);
    EXPECT_EQ(g_call.count, 1);
    EXPECT_EQ(g_call.text1, expression);
    EXPECT_EQ(g_call.text2, nullptr);
    EXPECT_EQ(g_call.line, 42);
    StatePlinth::SetAssertHandler(nullptr);
}

TEST(StatePlinth, NetFlagOnlyTurnsOn) {
    EXPECT_FALSE(StatePlinth::IsNet());
    StatePlinth::SetNet();
    EXPECT_TRUE(StatePlinth::IsNet());
    StatePlinth::SetNet();
    EXPECT_TRUE(StatePlinth::m_bNet);
}
