#include "plinth/platform/safearray.h"
#include "plinth/platform/variant.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace plinth;

namespace {

// Counts its references and lives on the stack: Release never deletes it.
class Counted : public IUnknown {
public:
    HRESULT QueryInterface(REFIID /*iid*/, void** /*ppv*/) override { return E_NOTIMPL; }
    ULONG AddRef() override { return ++refs; }
    ULONG Release() override { return --refs; }

    ULONG refs = 1;
};

// A one-dimensional array of `count` elements from index 0.
SAFEARRAY* vector(VARTYPE vt, ULONG count) {
    const SAFEARRAYBOUND bound{count, 0};
    return SafeArrayCreate(vt, 1, &bound);
}

} // namespace

TEST(Variant, ClearReleasesWhatItOwns) {
    VARIANT v;
    std::memset(&v, 0xAB, sizeof v);
    VariantInit(&v);
    EXPECT_EQ(v.vt, VT_EMPTY);
    EXPECT_EQ(v.wReserved1, 0);
    v.vt = VT_BSTR;
    v.bstrVal = SysAllocString(u"owned"); // freed by the clear, or the leak checker complains
    EXPECT_EQ(VariantClear(&v), S_OK);
    EXPECT_EQ(v.vt, VT_EMPTY);
    EXPECT_EQ(v.bstrVal, nullptr);

    Counted object;
    object.AddRef();
    v.vt = VT_UNKNOWN;
    v.punkVal = &object;
    EXPECT_EQ(VariantClear(&v), S_OK);
    EXPECT_EQ(object.refs, 1u);

    // By reference the variant owns nothing.
    BSTR kept = SysAllocString(u"kept");
    v.vt = VT_BSTR | VT_BYREF;
    v.pbstrVal = &kept;
    EXPECT_EQ(VariantClear(&v), S_OK);
    EXPECT_EQ(std::u16string(kept), u"kept");
    SysFreeString(kept);
}

TEST(Variant, ClearRefusesBadInputAndLockedArrays) {
    EXPECT_EQ(VariantClear(nullptr), E_INVALIDARG);

    VARIANT v;
    VariantInit(&v);
    for (VARTYPE bad : {VARTYPE{VT_VARIANT}, VARTYPE{15}, VARTYPE{0x1003}, VARTYPE{0x0FFF}}) {
        v.vt = bad;
        v.lVal = 7;
        EXPECT_EQ(VariantClear(&v), DISP_E_BADVARTYPE) << bad;
        EXPECT_EQ(v.vt, bad);
        EXPECT_EQ(v.lVal, 7);
    }

    v.vt = VT_ARRAY | VT_BSTR;
    v.parray = vector(VT_BSTR, 2);
    static_cast<BSTR*>(v.parray->pvData)[1] = SysAllocString(u"element");
    ASSERT_EQ(SafeArrayLock(v.parray), S_OK);
    EXPECT_EQ(VariantClear(&v), DISP_E_ARRAYISLOCKED);
    EXPECT_EQ(v.vt, VT_ARRAY | VT_BSTR);
    ASSERT_EQ(SafeArrayUnlock(v.parray), S_OK);
    EXPECT_EQ(VariantClear(&v), S_OK); // frees the array and its string
    EXPECT_EQ(v.parray, nullptr);
}

TEST(SafeArray, CreatesZeroFilledArraysWithTheirBounds) {
    SAFEARRAY* psa = vector(VT_UI1, 5);
    ASSERT_NE(psa, nullptr);
    EXPECT_EQ(SafeArrayGetDim(psa), 1u);
    EXPECT_EQ(SafeArrayGetElemsize(psa), 1u);
    EXPECT_EQ(std::memcmp(psa->pvData, "\0\0\0\0\0", 5), 0);
    EXPECT_EQ(SafeArrayDestroy(psa), S_OK);

    const SAFEARRAYBOUND bounds[2] = {{3, 1}, {4, -2}};
    psa = SafeArrayCreate(VT_R8, 2, bounds);
    ASSERT_NE(psa, nullptr);
    EXPECT_EQ(SafeArrayGetElemsize(psa), 8u);
    LONG lo = 0;
    LONG hi = 0;
    EXPECT_EQ(SafeArrayGetLBound(psa, 1, &lo), S_OK);
    EXPECT_EQ(SafeArrayGetUBound(psa, 2, &hi), S_OK);
    EXPECT_EQ(lo, 1);
    EXPECT_EQ(hi, 1);
    EXPECT_EQ(psa->rgsabound[0].lLbound, -2); // stored last dimension first
    EXPECT_EQ(SafeArrayGetUBound(psa, 3, &hi), DISP_E_BADINDEX);
    EXPECT_EQ(SafeArrayDestroy(psa), S_OK);

    psa = vector(VT_UI1, 0);
    ASSERT_NE(psa, nullptr);
    EXPECT_EQ(SafeArrayGetUBound(psa, 1, &hi), S_OK);
    EXPECT_EQ(hi, -1);
    EXPECT_EQ(SafeArrayDestroy(psa), S_OK);

    EXPECT_EQ(SafeArrayCreate(VT_UI1, 0, bounds), nullptr);
    EXPECT_EQ(SafeArrayCreate(VT_EMPTY, 1, bounds), nullptr);
    const SAFEARRAYBOUND huge[2] = {{0xFFFFFFFFu, 0}, {0xFFFFFFFFu, 0}};
    EXPECT_EQ(SafeArrayCreate(VT_VARIANT, 2, huge), nullptr);
    EXPECT_EQ(SafeArrayGetDim(nullptr), 0u);
    EXPECT_EQ(SafeArrayGetElemsize(nullptr), 0u);
}

TEST(SafeArray, LocksNestAndDestroyRefusesALockedArray) {
    SAFEARRAY* psa = vector(VT_I4, 3);
    ASSERT_NE(psa, nullptr);
    EXPECT_EQ(SafeArrayLock(psa), S_OK);
    EXPECT_EQ(SafeArrayLock(psa), S_OK);
    EXPECT_EQ(SafeArrayUnlock(psa), S_OK);
    EXPECT_EQ(SafeArrayDestroy(psa), DISP_E_ARRAYISLOCKED); // still locked once
    EXPECT_EQ(SafeArrayUnlock(psa), S_OK);
    EXPECT_EQ(SafeArrayUnlock(psa), E_UNEXPECTED);
    EXPECT_EQ(psa->cLocks, 0u);
    EXPECT_EQ(SafeArrayDestroy(psa), S_OK);

    EXPECT_EQ(SafeArrayLock(nullptr), E_INVALIDARG);
}

TEST(SafeArray, DestroyReleasesOwnedElements) {
    Counted object;
    SAFEARRAY* interfaces = vector(VT_UNKNOWN, 2);
    static_cast<IUnknown**>(interfaces->pvData)[0] = &object;
    object.AddRef();
    EXPECT_EQ(SafeArrayDestroy(interfaces), S_OK);
    EXPECT_EQ(object.refs, 1u);

    SAFEARRAY* variants = vector(VT_VARIANT, 2);
    auto* items = static_cast<VARIANT*>(variants->pvData);
    EXPECT_EQ(items[0].vt, VT_EMPTY);
    items[1].vt = VT_BSTR;
    items[1].bstrVal = SysAllocString(u"inner");
    EXPECT_EQ(SafeArrayDestroy(variants), S_OK);
}
