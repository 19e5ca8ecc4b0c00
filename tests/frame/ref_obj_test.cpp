#include "plinth/frame/ref_obj.h"

#include <gtest/gtest.h>

using namespace plinth;

namespace {

class Tracked : public CRefObj {
public:
    explicit Tracked(bool* deleted)
        : m_pDeleted(deleted) {}
    ~Tracked() override { *m_pDeleted = true; }

private:
    bool* m_pDeleted;
};

} // namespace

TEST(CRefObj, ReleaseToZeroDeletesUnlessByValue) {
    bool deleted = false;
    auto* obj = new Tracked(&deleted);
    EXPECT_EQ(obj->AddRef(), 2u);
    EXPECT_EQ(obj->Release(), 1u);
    EXPECT_EQ(obj->Release(), 0u);
    EXPECT_TRUE(deleted);

    deleted = false;
    Tracked local(&deleted);
    local.SetByVal(true, false); // count stays 1
    EXPECT_EQ(local.Release(), 0u);
    local.SetByVal(); // at 0 the count does not wrap
    EXPECT_EQ(local.GetRef(), 0u);
    // Handed out as an IUnknown, it counts through it and survives.
    IUnknown* unknown = &local;
    EXPECT_EQ(unknown->AddRef(), 1u);
    EXPECT_EQ(unknown->Release(), 0u);
    local.AddRef();
    local.AddRef();
    local.SetByVal(false, true); // clears the flag and takes one off, never deleting
    EXPECT_EQ(local.GetRef(), 1u);
    EXPECT_FALSE(local.IsByVal());
    EXPECT_FALSE(deleted);
    local.SetByVal();
}

TEST(CRefObj, AnswersNoInterfaceNotEvenIUnknown) {
    CRefObj obj;
    const GUID someId = {1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}};
    for (const GUID* iid : {&IID_IUnknown, &someId}) {
        void* out = &obj;
        EXPECT_EQ(obj.QueryInterface(*iid, &out), E_NOINTERFACE);
        EXPECT_EQ(out, nullptr);
    }
    EXPECT_EQ(obj.QueryInterface(IID_IUnknown, nullptr), E_NOINTERFACE);
}
