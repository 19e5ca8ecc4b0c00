#include "support/counting_unknown.h"

#include "plinth/frame/array2_oi.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

using namespace plinth;
using plinth::testing::Counting;
using plinth::testing::CountingUnknown;

namespace {

// An IArray that counts references and records its last call as text.
class FakeArray : public Counting<IArray> {
public:
    HRESULT GetCount(LONG* count) override { return Record("GetCount", count != nullptr); }
    HRESULT GetAt(LONG index, IUnknown** item) override {
        *item = m_item;
        return Record("GetAt", index);
    }
    HRESULT SetAt(LONG index, IUnknown* item) override { return Record("SetAt", index, item); }
    HRESULT RemoveAt(LONG index) override { return Record("RemoveAt", index); }
    HRESULT Add(IUnknown* item) override { return Record("Add", 0, item); }
    HRESULT InsertAt(IUnknown* item, LONG index) override {
        return Record("InsertAt", index, item);
    }
    HRESULT RemoveAll() override { return Record("RemoveAll", 0); }

    std::string m_call;
    IUnknown* m_arg = nullptr;
    IUnknown* m_item = nullptr;
    HRESULT m_result = 7; // distinct, so that forwarding shows

private:
    HRESULT Record(const char* name, LONG value, IUnknown* arg = nullptr) {
        m_call = std::string(name) + " " + std::to_string(value);
        m_arg = arg;
        return m_result;
    }
};

VARIANT Unknown(IUnknown* unknown, VARTYPE vt = VT_UNKNOWN) {
    VARIANT v{};
    v.vt = vt;
    v.punkVal = unknown;
    return v;
}

} // namespace

TEST(Array2OI, EachReferenceHoldsOneOnTheArrayAndTheLastFreesTheAdapter) {
    FakeArray array;
    void* out = &array;
    EXPECT_EQ(Array2OI::Create(nullptr, &out), DISP_E_PARAMNOTOPTIONAL);
    EXPECT_EQ(out, &array); // nothing created, nothing stored
    EXPECT_EQ(Array2OI::Create(&array, nullptr), DISP_E_PARAMNOTOPTIONAL);
    EXPECT_EQ(array.m_nRef, 1u);

    ASSERT_EQ(Array2OI::Create(&array, &out), S_OK);
    auto* itf = static_cast<IArray2*>(out);
    EXPECT_EQ(array.m_nRef, 2u);
    EXPECT_EQ(itf->AddRef(), 3u); // the array's count comes back
    EXPECT_EQ(itf->Release(), 2u);
    EXPECT_EQ(itf->Release(), 1u); // the adapter's last: it is freed (the sanitizer checks)
    EXPECT_EQ(array.m_nRef, 1u);   // and took nothing more from the array

    // Wrapping takes no reference, and an unbalanced Release gives nothing back.
    Array2OI idle(&array);
    EXPECT_EQ(idle.GetRef(), 0u);
    EXPECT_EQ(idle.Release(), 0u);
    EXPECT_EQ(array.m_nRef, 1u);
}

TEST(Array2OI, CopiesKeepOneArrayReferencePerAdapterReference) {
    FakeArray first;
    FakeArray second;
    auto* adapter = new Array2OI(&first);
    void* out = nullptr;
    ASSERT_EQ(adapter->QueryInterface(IID_IArray2, &out), S_OK);
    adapter->AddRef();
    EXPECT_EQ(first.m_nRef, 3u);

    Array2OI copy(*adapter); // no references of its own yet
    EXPECT_EQ(copy.GetRef(), 0u);
    EXPECT_EQ(copy.GetArray(), &first);

    // Assignment moves the two references that the adapter holds to the new array.
    *adapter = Array2OI(&second);
    EXPECT_EQ(adapter->GetRef(), 2u);
    EXPECT_EQ(first.m_nRef, 1u);
    EXPECT_EQ(second.m_nRef, 3u);
    adapter->Release();
    static_cast<IArray2*>(out)->Release(); // frees the adapter
    EXPECT_EQ(second.m_nRef, 1u);
}

TEST(Array2OI, WithoutAnArrayCountsAloneAndRefusesEverything) {
    FakeArray array;
    auto* adapter = new Array2OI(&array);
    void* out = nullptr;
    ASSERT_EQ(adapter->QueryInterface(IID_IArray2, &out), S_OK);
    auto* itf = static_cast<IArray2*>(out);
    *adapter = Array2OI(); // its one reference goes back to the array
    EXPECT_EQ(array.m_nRef, 1u);

    EXPECT_EQ(itf->AddRef(), 1u);
    EXPECT_EQ(adapter->GetRef(), 2u);
    EXPECT_EQ(itf->Release(), 1u);
    out = &array;
    EXPECT_EQ(itf->QueryInterface(IID_IArray2, &out), E_UNEXPECTED);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(itf->QueryInterface(IID_IArray2, nullptr), DISP_E_PARAMNOTOPTIONAL);

    LONG count = 0;
    VARIANT item = Unknown(&array);
    EXPECT_EQ(itf->GetCount(&count), E_UNEXPECTED);
    EXPECT_EQ(itf->GetAt(0, &item), E_UNEXPECTED);
    EXPECT_EQ(itf->SetAt(0, &item), E_UNEXPECTED);
    EXPECT_EQ(itf->RemoveAt(0), E_UNEXPECTED);
    EXPECT_EQ(itf->Add(&item), E_UNEXPECTED);
    EXPECT_EQ(itf->InsertAt(&item, 0), E_UNEXPECTED);
    EXPECT_EQ(itf->PutItem(0, &item), E_UNEXPECTED);
    EXPECT_EQ(itf->RemoveAll(), E_UNEXPECTED);
    EXPECT_EQ(itf->Move(0, 1), S_NOTHINGDONE);
    EXPECT_EQ(itf->SetSize(3), S_NOTHINGDONE);
    EXPECT_EQ(array.m_call, "");   // the old array heard nothing
    EXPECT_EQ(itf->Release(), 1u); // freed
}

TEST(Array2OI, AnswersIArray2ItselfAndAsksTheArrayForTheRest) {
    FakeArray array;
    void* out = nullptr;
    ASSERT_EQ(Array2OI::Create(&array, &out), S_OK);
    auto* itf = static_cast<IArray2*>(out);

    void* found = nullptr;
    EXPECT_EQ(itf->QueryInterface(IID_IArray2, &found), S_OK);
    EXPECT_EQ(found, itf);
    EXPECT_EQ(itf->Release(), 2u); // through the adapter's AddRef
    EXPECT_EQ(itf->QueryInterface(IID_IUnknown, &found), S_OK);
    EXPECT_EQ(found, static_cast<IUnknown*>(&array)); // the array's identity
    array.Release();
    found = itf;
    EXPECT_EQ(itf->QueryInterface(IID_ImplObject, &found), E_NOINTERFACE);
    EXPECT_EQ(found, nullptr);
    EXPECT_EQ(itf->QueryInterface(IID_IList, nullptr), DISP_E_PARAMNOTOPTIONAL);
    EXPECT_EQ(array.m_nRef, 2u);
    itf->Release();
}

TEST(Array2OI, ItemsGoToTheArrayAsPlainInterfaces) {
    FakeArray array;
    CountingUnknown element;
    void* out = nullptr;
    ASSERT_EQ(Array2OI::Create(&array, &out), S_OK);
    auto* itf = static_cast<IArray2*>(out);

    LONG count = 0;
    EXPECT_EQ(itf->GetCount(&count) + itf->RemoveAt(4), 14);
    EXPECT_EQ(array.m_call, "RemoveAt 4");
    EXPECT_EQ(itf->RemoveAll(), 7);
    EXPECT_EQ(array.m_call, "RemoveAll 0");

    // Variants that must be exactly VT_UNKNOWN.
    VARIANT good = Unknown(&element);
    VARIANT byRef = Unknown(nullptr, VT_UNKNOWN | VT_BYREF);
    const struct {
        const char* call;
        std::function<HRESULT(VARIANT*)> method;
    } exact[] = {
        {"SetAt 2", [itf](VARIANT* v) { return itf->SetAt(2, v); }},
        {"SetAt 3", [itf](VARIANT* v) { return itf->PutItem(3, v); }},
        {"InsertAt 5", [itf](VARIANT* v) { return itf->InsertAt(v, 5); }},
    };
    for (const auto& c : exact) {
        array.m_call.clear();
        EXPECT_EQ(c.method(nullptr), DISP_E_PARAMNOTOPTIONAL) << c.call;
        EXPECT_EQ(c.method(&byRef), DISP_E_PARAMNOTOPTIONAL) << c.call;
        EXPECT_EQ(array.m_call, "") << c.call;
        EXPECT_EQ(c.method(&good), 7) << c.call;
        EXPECT_EQ(array.m_call, c.call);
        EXPECT_EQ(array.m_arg, &element) << c.call;
    }

    // Add takes any tag sharing a bit with VT_UNKNOWN's low byte, and references.
    IUnknown* held = &element;
    VARIANT ref = Unknown(nullptr, VT_UNKNOWN | VT_BYREF);
    ref.ppunkVal = &held;
    const struct {
        VARIANT item;
        HRESULT status;
    } adds[] = {
        {Unknown(&element), 7},
        {Unknown(&element, VT_I4), 7}, // 3 shares bit 1
        {Unknown(&element, VT_I2), DISP_E_PARAMNOTOPTIONAL},
        {Unknown(&element, VT_EMPTY), DISP_E_PARAMNOTOPTIONAL},
        {ref, 7},
        {byRef, DISP_E_PARAMNOTOPTIONAL}, // a reference to nothing
    };
    for (auto c : adds) {
        array.m_arg = nullptr;
        EXPECT_EQ(itf->Add(&c.item), c.status) << c.item.vt;
        EXPECT_EQ(array.m_arg, c.status == 7 ? &element : nullptr) << c.item.vt;
    }
    EXPECT_EQ(itf->Add(nullptr), DISP_E_PARAMNOTOPTIONAL);

    // GetAt gives the array's item as VT_UNKNOWN; a failing array gives E_UNEXPECTED.
    array.m_item = &element;
    VARIANT item{};
    EXPECT_EQ(itf->GetAt(6, nullptr), DISP_E_PARAMNOTOPTIONAL);
    EXPECT_EQ(itf->GetAt(6, &item), S_OK);
    EXPECT_EQ(array.m_call, "GetAt 6");
    EXPECT_EQ(item.vt, VT_UNKNOWN);
    EXPECT_EQ(item.punkVal, &element);
    array.m_result = E_FAIL;
    item = VARIANT{};
    EXPECT_EQ(itf->GetAt(1, &item), E_UNEXPECTED);
    EXPECT_EQ(item.vt, VT_EMPTY);
    EXPECT_EQ(element.m_nRef, 1u); // the fake hands out no reference; none is taken here
    itf->Release();
}
