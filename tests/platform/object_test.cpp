#include "plinth/platform/exceptions.h"
#include "plinth/platform/object.h"

#include <gtest/gtest.h>

namespace {

class Shape : public plinth::CObject {
    DECLARE_DYNAMIC(Shape)
};
IMPLEMENT_DYNAMIC(Shape, plinth::CObject)

class Circle : public Shape {
    DECLARE_DYNAMIC(Circle)
};
IMPLEMENT_DYNAMIC(Circle, Shape)

} // namespace

TEST(RuntimeClass, RecordsNameAndBaseAndKindFollowsTheChain) {
    const plinth::CRuntimeClass* cls = RUNTIME_CLASS(Circle);
    EXPECT_STREQ(cls->m_lpszClassName, "Circle");
    EXPECT_EQ(cls->m_pfnGetBaseClass(), RUNTIME_CLASS(Shape));
    EXPECT_EQ(RUNTIME_CLASS(plinth::CObject)->m_pfnGetBaseClass, nullptr);

    Circle circle;
    const plinth::CObject& asObject = circle;
    EXPECT_EQ(asObject.GetRuntimeClass(), cls);
    EXPECT_TRUE(circle.IsKindOf(RUNTIME_CLASS(plinth::CObject)));
    EXPECT_FALSE(Shape().IsKindOf(cls));
    EXPECT_THROW(circle.IsKindOf(nullptr), plinth::CInvalidArgException);
}
