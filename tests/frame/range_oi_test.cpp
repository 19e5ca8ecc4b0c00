#include "support/counting_unknown.h"

#include "plinth/frame/range_oi.h"
#include "plinth/numeric/constants.h"

#include <gtest/gtest.h>

using namespace plinth;
using plinth::testing::CountingUnknown;

namespace {

template <class Adapter>
IRange* RangeOf(Adapter& from) {
    void* out = nullptr;
    EXPECT_EQ(from.QueryInterface(IID_IRange, &out), S_OK);
    return static_cast<IRange*>(out);
}

} // namespace

TEST(RangeOI, AnR1AdapterReadsAndSetsItsOwnIntervalOrTheAttachedOne) {
    RangeR1OI adapter;
    adapter.Set(1, 4);
    IRange* range = RangeOf(adapter);
    double start = 0;
    double end = 0;
    EXPECT_EQ(range->GetStart(&start), S_OK);
    EXPECT_EQ(range->GetEnd(&end), S_OK);
    EXPECT_EQ(start, 1);
    EXPECT_EQ(end, 4);
    EXPECT_EQ(range->Set(-2, 3), S_OK);
    EXPECT_EQ(adapter.lo, -2);
    EXPECT_EQ(adapter.hi, 3);
    adapter.SetReadOnly(true);
    EXPECT_EQ(range->Set(5, 6), S_NOTHINGDONE);
    EXPECT_EQ(adapter.hi, 3);

    RangeR1 other(7, 8);
    adapter.SetReadOnly(false);
    adapter.AttachRange(&other);
    EXPECT_EQ(range->Set(9, 10), S_OK);
    EXPECT_EQ(other.lo, 9);
    EXPECT_EQ(adapter.lo, -2);
}

TEST(RangeOI, StatusesComeInTheOrderOfTheirTests) {
    RangeR1OI r1;
    RangeS1OI s1;
    RangeS1 arc;
    double out = 0;
    const struct {
        IRange* range;
        const char* name;
    } adapters[] = {{RangeOf(r1), "R1"}, {RangeOf(s1), "S1"}};
    r1.AttachRange(nullptr);
    for (const auto& a : adapters) {
        // No interval: the start reports it first, the end tests its out-pointer first.
        EXPECT_EQ(a.range->GetStart(nullptr), E_UNEXPECTED) << a.name;
        EXPECT_EQ(a.range->GetStart(&out), E_UNEXPECTED) << a.name;
        EXPECT_EQ(a.range->GetEnd(nullptr), DISP_E_PARAMNOTOPTIONAL) << a.name;
        EXPECT_EQ(a.range->GetEnd(&out), E_UNEXPECTED) << a.name;
        EXPECT_EQ(a.range->Set(0, 1), E_UNEXPECTED) << a.name;
    }
    r1.SetReadOnly(true); // refusing comes before the missing interval
    EXPECT_EQ(adapters[0].range->Set(0, 1), S_NOTHINGDONE);

    s1.AttachRange(&arc);
    EXPECT_EQ(adapters[1].range->GetStart(nullptr), DISP_E_PARAMNOTOPTIONAL);
    EXPECT_EQ(adapters[1].range->Set(0, 4), DISP_E_PARAMNOTOPTIONAL); // no angle
    EXPECT_EQ(adapters[1].range->Set(-4, 0), DISP_E_PARAMNOTOPTIONAL);
    EXPECT_TRUE(arc.IsFull()); // unchanged
    EXPECT_EQ(r1.GetRef(), 1u);
    EXPECT_EQ(s1.GetRef(), 1u);
}

TEST(RangeOI, AnS1AdapterHandsOutTheArcStart) {
    RangeS1OI adapter;
    RangeS1 arc;
    adapter.AttachRange(&arc);
    IRange* range = RangeOf(adapter);
    double start = 0;
    double end = 0;
    EXPECT_EQ(range->GetStart(&start), S_OK); // the full circle starts at -PI
    EXPECT_EQ(range->GetEnd(&end), S_OK);
    EXPECT_EQ(start, -PI);
    EXPECT_EQ(end, arc.hi);
    EXPECT_EQ(range->Set(0.5, -2), S_OK); // through the arc's own Set
    EXPECT_EQ(arc, RangeS1(0.5, -2));
    EXPECT_EQ(arc.state, RangeS1::eStateArc);
    EXPECT_EQ(range->GetStart(&start), S_OK);
    EXPECT_EQ(start, 0.5);
}

TEST(RangeOI, R1AnswersIUnknownAndS1DoesNot) {
    RangeR1OI r1;
    RangeS1OI s1;
    IRange* nested = RangeOf(r1);
    IRange* nestedS1 = RangeOf(s1);
    void* out = &r1;
    EXPECT_EQ(r1.QueryInterface(IID_IUnknown, &out), S_OK);
    EXPECT_EQ(out, static_cast<IUnknown*>(nested));
    out = &s1;
    EXPECT_EQ(s1.QueryInterface(IID_IUnknown, &out), E_NOINTERFACE);
    EXPECT_EQ(nestedS1->QueryInterface(IID_IUnknown, &out), E_NOINTERFACE);
    EXPECT_EQ(out, &s1); // left alone
    EXPECT_EQ(nestedS1->QueryInterface(IID_IRange, &out), S_OK);
    EXPECT_EQ(out, nestedS1);
    const auto refuses = [&r1](auto& from) {
        void* left = &r1;
        EXPECT_EQ(from.QueryInterface(IID_ImplObject, &left), E_NOINTERFACE);
        EXPECT_EQ(from.QueryInterface(IID_IList, &left), E_NOINTERFACE);
        EXPECT_EQ(left, &r1);
        EXPECT_EQ(from.QueryInterface(IID_IRange, nullptr), DISP_E_PARAMNOTOPTIONAL);
    };
    refuses(r1);
    refuses(*nested);
    refuses(s1);
    EXPECT_EQ(r1.GetRef(), 2u);
    EXPECT_EQ(s1.GetRef(), 2u);
}

TEST(RangeOI, AnOuterObjectCarriesTheCountAlone) {
    CountingUnknown outer;
    RangeR1OI r1;
    RangeS1OI s1;
    r1.AttachUnknown(&outer);
    s1.AttachUnknown(&outer);
    IRange* fromR1 = RangeOf(r1);
    IRange* fromS1 = RangeOf(s1);
    EXPECT_EQ(outer.m_nRef, 3u);
    EXPECT_EQ(fromR1->AddRef(), 4u);
    EXPECT_EQ(s1.AddRef(), 5u);
    EXPECT_EQ(fromS1->Release(), 4u);
    EXPECT_EQ(r1.Release(), 3u);
    EXPECT_EQ(r1.GetRef() + s1.GetRef(), 0u);
    // Detached, the own count takes over; an unbalanced Release leaves it at 0.
    r1.AttachUnknown(nullptr);
    EXPECT_EQ(r1.Release(), 0u);
    EXPECT_EQ(r1.AddRef(), 1u);
    EXPECT_EQ(outer.m_nRef, 3u);
}

TEST(RangeOI, TheLastOwnReferenceFreesTheAdapter) {
    IRange* range = RangeOf(*new RangeR1OI);
    EXPECT_EQ(range->AddRef(), 2u);
    EXPECT_EQ(range->Release(), 1u);
    EXPECT_EQ(range->Release(), 0u); // the sanitizer sees a leak or a double free
    EXPECT_EQ(RangeOf(*new RangeS1OI)->Release(), 0u);
}

TEST(RangeOI, ACopyOfASelfServingAdapterServesItself) {
    auto* source = new RangeR1OI;
    source->Set(1, 2);
    source->SetReadOnly(true);
    RangeOf(*source);
    RangeR1OI copy(*source);
    EXPECT_EQ(copy.GetRange(), &copy);
    EXPECT_EQ(copy.GetRef(), 1u); // taken as it was
    EXPECT_TRUE(copy.IsReadOnly());
    delete source;
    double end = 0;
    EXPECT_EQ(RangeOf(copy)->GetEnd(&end), S_OK);
    EXPECT_EQ(end, 2);

    // An attached interval stays attached; assignment follows the same rule.
    RangeS1 arc(0.25, 1);
    RangeS1OI s1;
    s1.AttachRange(&arc);
    RangeS1OI s1Copy(s1);
    EXPECT_EQ(s1Copy.GetRange(), &arc);
    RangeR1OI assigned;
    RangeR1 elsewhere(3, 4);
    assigned.AttachRange(&elsewhere);
    assigned = copy;
    EXPECT_EQ(assigned.GetRange(), &assigned);
    EXPECT_EQ(assigned.hi, 2);
    copy.AttachRange(&elsewhere);
    assigned = copy;
    EXPECT_EQ(assigned.GetRange(), &elsewhere);
}
