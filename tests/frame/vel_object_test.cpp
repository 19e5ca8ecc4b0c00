#include "plinth/frame/vel_object.h"
#include "plinth/platform/exceptions.h"

#include <gtest/gtest.h>

using namespace plinth;

namespace {

class Shape : public VelObject {
    DECLARE_DYNAMIC(Shape)
};

class Circle : public Shape {
    DECLARE_DYNAMIC(Circle)
};

} // namespace

IMPLEMENT_DYNAMIC(Shape, VelObject)
IMPLEMENT_DYNAMIC(Circle, Shape)

TEST(VelObject, ClassesMatchByNameNotByRecord) {
    // A record of the same name registered elsewhere, as another module's copy would be.
    CRuntimeClass foreignShape = {"Shape", 0, 0xFFFF, nullptr};
    CRuntimeClass lowerCase = {"shape", 0, 0xFFFF, nullptr};
    CRuntimeClass unnamed = {nullptr, 0, 0xFFFF, nullptr};

    const Circle circle;
    EXPECT_TRUE(circle.IsKindOf_Vel(RUNTIME_CLASS(CObject)));
    EXPECT_TRUE(circle.IsKindOf_Vel(&foreignShape));
    EXPECT_FALSE(circle.IsKindOf_Vel(&lowerCase));
    EXPECT_FALSE(circle.IsKindOf_Vel(&unnamed));
    EXPECT_FALSE(Shape().IsKindOf_Vel(RUNTIME_CLASS(Circle)));
    EXPECT_TRUE(VelObject::IsDerivedFrom_Vel(&foreignShape, &foreignShape));
    EXPECT_TRUE(VelObject::IsDerivedFrom_Vel(&foreignShape, RUNTIME_CLASS(Shape)));

    EXPECT_THROW(circle.IsKindOf_Vel(nullptr), CInvalidArgException);
    EXPECT_THROW(VelObject::IsDerivedFrom_Vel(nullptr, &lowerCase), CInvalidArgException);
}
