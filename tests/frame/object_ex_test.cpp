#include "plinth/frame/object_ex.h"
#include "plinth/frame/requests.h"
#include "plinth/platform/ptr_array.h"

#include <gtest/gtest.h>

using namespace plinth;

namespace {

// Sets the type code, which only derived classes can.
class Typed : public ObjectEx {
public:
    explicit Typed(unsigned char type) { m_nType = type; }
};

} // namespace

TEST(ObjectEx, ConstructorsTakeOwnerAndTypeButNotTheMark) {
    CPtrArray owner;
    Typed source(9);
    source.AttachOwner(&owner);
    const ObjectEx derived(&source);
    EXPECT_FALSE(derived.IsByVal());
    EXPECT_EQ(derived.GetOwner(), &owner);
    EXPECT_EQ(derived.GetType(), 9);

    const ObjectEx fromNull(static_cast<const ObjectEx*>(nullptr));
    EXPECT_TRUE(fromNull.IsByVal() && ObjectEx().IsByVal());
    EXPECT_EQ(fromNull.GetOwner(), nullptr);

    // The copy takes the count and both marks as they stand.
    source.AddRef();
    source.SetByVal(false);
    source.CRefObj::SetByVal();
    const ObjectEx copy(source);
    EXPECT_EQ(copy.GetRef(), 1u);
    EXPECT_TRUE(copy.CRefObj::IsByVal());
    EXPECT_FALSE(copy.IsByVal());
    EXPECT_EQ(copy.GetOwner(), &owner);
}

TEST(ObjectEx, BaseAnswersNothingAndItsMarkDoesNotKeepItAlive) {
    auto* object = new ObjectEx;
    QC query;
    EXPECT_FALSE(object->Execute(query));
    EXPECT_EQ(object->GetData(), 1984u);
    object->SetData(7);
    object->OnModified(nullptr);
    EXPECT_EQ(object->GetData(), 1984u);
    void* out = object;
    EXPECT_EQ(object->QueryInterface(IID_IUnknown, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(object->Release(), 0u); // by value, yet freed: only the count's own mark spares it

    (new ObjectEx)->Delete(); // whatever its count
}
