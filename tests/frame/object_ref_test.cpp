#include "plinth/frame/object_ref.h"

#include <gtest/gtest.h>

using namespace plinth;

TEST(ObjectRef, TypeCodesAndKindsCopyWholeAndSetLeavesTheFlags) {
    using Codes = std::array<unsigned char, 4>;
    TypeVel type(1, 2, 3, 250);
    const TypeVel copy(type);
    EXPECT_EQ(copy.m_category, (Codes{1, 2, 3, 250}));
    type.Construct();
    EXPECT_EQ(type.m_category, Codes{});
    type.Copy(copy);
    EXPECT_EQ(type.m_category, copy.m_category);

    int object = 0;
    OW item(&object, OW::eSceneItem);
    OW other;
    other.Copy(item);
    EXPECT_EQ(other.m_pObject, &object);
    EXPECT_TRUE(other.IsSceneItem());
    item.Reset();
    EXPECT_EQ(item.m_pObject, nullptr);
    EXPECT_FALSE(item.IsSceneItem());
    item.Set(&object, static_cast<OW::EType>(2));
    EXPECT_FALSE(item.IsSceneItem());

    OWC ref(&object, copy);
    EXPECT_FALSE(ref.m_bFlag[0] || ref.m_bFlag[1]);
    ref.m_bFlag = {true, true};
    ref.Set(nullptr, TypeVel());
    EXPECT_EQ(ref.m_type.m_category, Codes{});
    EXPECT_TRUE(ref.m_bFlag[0] && ref.m_bFlag[1]);
    OWC whole(&object, copy);
    whole.Copy(ref);
    EXPECT_EQ(whole.m_pObject, nullptr);
    EXPECT_TRUE(whole.m_bFlag[1]);
}
