#include "plinth/platform/guid.h"
#include "plinth/platform/hresult.h"
#include "plinth/platform/unknown.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace plinth;

TEST(Guid, EqualityComparesAllSixteenBytes) {
    const BYTE expected[16] = {0, 0, 0, 0, 0, 0, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0x46};
    EXPECT_EQ(std::memcmp(&IID_IUnknown, expected, sizeof expected), 0);

    GUID copy = IID_IUnknown;
    EXPECT_TRUE(copy == IID_IUnknown);
    for (std::size_t i = 0; i < sizeof(GUID); ++i) {
        GUID changed = IID_IUnknown;
        reinterpret_cast<BYTE*>(&changed)[i] ^= 0x01;
        EXPECT_FALSE(IsEqualIID(changed, IID_IUnknown)) << "byte " << i;
        EXPECT_TRUE(changed != IID_IUnknown) << "byte " << i;
    }
    EXPECT_FALSE(IID_IUnknown == GUID_NULL);
}

TEST(HResult, FailuresAreNegativeAndPositiveCodesSucceed) {
    EXPECT_EQ(static_cast<DWORD>(E_NOINTERFACE), 0x80004002u);
    EXPECT_EQ(static_cast<DWORD>(E_POINTER), 0x80004003u);
    EXPECT_EQ(static_cast<DWORD>(E_UNEXPECTED), 0x8000FFFFu);
    EXPECT_EQ(static_cast<DWORD>(E_OUTOFMEMORY), 0x8007000Eu);
    EXPECT_EQ(static_cast<DWORD>(DISP_E_PARAMNOTOPTIONAL), 0x8002000Fu);
    EXPECT_EQ(static_cast<DWORD>(DISP_E_BADINDEX), 0x8002000Bu);
    EXPECT_TRUE(FAILED(E_NOINTERFACE));
    EXPECT_FALSE(SUCCEEDED(E_NOINTERFACE));
    EXPECT_TRUE(SUCCEEDED(HRESULT{0x78})); // "did nothing" counts as success
    EXPECT_FALSE(FAILED(S_FALSE));
}
