#include "plinth/numeric/nik.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace plinth;

TEST(Nik, StrayValuesReadAsFalse) {
    const ENik stray = static_cast<ENik>(5);
    EXPECT_EQ(Nik::Not(eUnknown), eUnknown);
    EXPECT_EQ(Nik::Not(eTrue), eFalse);
    EXPECT_EQ(Nik::Not(stray), eTrue);
    ENik v = eFalse;
    TriStateAlg::Inverse(v);
    EXPECT_EQ(v, eTrue);
    EXPECT_EQ(Nik::ToString(eUnknown), "eUnknown");
    EXPECT_EQ(TriStateAlg::ToString(eTrue), "eTrue");
    EXPECT_EQ(Nik::ToString(stray), "eFalse");
    EXPECT_EQ(TriStateAlg::IntToNik(7), eFalse);
    EXPECT_EQ(TriStateAlg::IntToNik(-1), eUnknown);
    EXPECT_EQ(TriStateAlg::IntTo3State(1), eVel3True);
    EXPECT_EQ(TriStateAlg::IntTo3State(-2), eVel3False);
}

TEST(MatrIsValidVar, AcceptsOnlyTheBytesZeroAndOne) {
    EXPECT_TRUE(matrIsValidVar(false));
    EXPECT_TRUE(matrIsValidVar(true));
    bool corrupt; // written and inspected only as a byte, never read as a bool
    const unsigned char two = 2;
    std::memcpy(&corrupt, &two, 1);
    EXPECT_FALSE(matrIsValidVar(corrupt));
}
