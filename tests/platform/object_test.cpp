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

TEST(RuntimeClass, RecordsNameAndBaseLink) {
    const plinth::CRuntimeClass* cls = RUNTIME_CLASS(Circle);
    EXPECT_STREQ(cls->m_lpszClassName, "Circle");
    EXPECT_EQ(cls->m_pfnGetBaseClass(), RUNTIME_CLASS(Shape));
    EXPECT_EQ(RUNTIME_CLASS(Shape)->m_pfnGetBaseClass(), RUNTIME_CLASS(plinth::CObject));
    EXPECT_EQ(RUNTIME_CLASS(plinth::CObject)->m_pfnGetBaseClass, nullptr);
}

TEST(RuntimeClass, KindFollowsTheBaseChain) {
    Circle circle;
    Shape shape;
    const plinth::CObject& asObject = circle;
    EXPECT_EQ(asObject.GetRuntimeClass(), RUNTIME_CLASS(Circle));
    EXPECT_TRUE(circle.IsKindOf(RUNTIME_CLASS(Shape)));
    EXPECT_TRUE(circle.IsKindOf(RUNTIME_CLASS(plinth::CObject)));
    EXPECT_FALSE(shape.IsKindOf(RUNTIME_CLASS(Circle)));
    EXPECT_THROW(shape.IsKindOf(nullptr), plinth::CInvalidArgException);
}
