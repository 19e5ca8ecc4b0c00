#include "support/archive_bytes.h"

#include "plinth/platform/archive.h"
#include "plinth/platform/exceptions.h"
#include "plinth/platform/memfile.h"
#include "plinth/range/range_r1.h"

#include <gtest/gtest.h>

using namespace plinth;
using plinth::testing::Bytes;

namespace {

// Counts the calls that reach the virtual Set.
struct Recorder : RangeR1 {
    using RangeR1::RangeR1;
    int calls = 0;
    void Set(double a, double b) override {
        ++calls;
        RangeR1::Set(a, b);
    }
};

int SetCalls(void (*op)(Recorder&)) {
    Recorder r(2, 6);
    op(r);
    return r.calls;
}

} // namespace

TEST(RangeR1, StateTestsAtTheirBoundaries) {
    const RangeR1 def;
    EXPECT_TRUE(!def.IsValid() && def.IsEmpty() && !def.IsFull() && def.GetSize() == 0);
    EXPECT_TRUE(RangeR1(1, 1 + 5e-11).IsSingleton() && !RangeR1(0, EPS).IsSingleton());
    EXPECT_FALSE(RangeR1(0, EPS).IsEmptyInterval());
    EXPECT_TRUE(!RangeR1(EPS, 0).IsEmpty() && RangeR1(EPS, 0).IsValid()); // reversed by EPS
    EXPECT_TRUE(RangeR1(2, 1).IsEmpty() && !RangeR1(2, 1).IsValid());
    EXPECT_FALSE(RangeR1(0, 5.099999999999999e+307).IsUnlimited());
    EXPECT_TRUE(RangeR1(0, 5.1e307).IsUnlimited());
    EXPECT_FALSE(RangeR1(UNBOUNDED, UNBOUNDED).IsValid());

    EXPECT_FALSE(RangeR1::IsIn(0, 0, 10, false, true));
    EXPECT_TRUE(RangeR1::IsIn(EPS, 10, 0, false, true)); // an open end narrows by exactly EPS
    EXPECT_TRUE(RangeR1(0, 10).InOpen(EPS) && !RangeR1(0, 10).InOpen(5e-11));
    EXPECT_TRUE(RangeR1(-1.65e308, 5.05).Is(-1.7e308, 5, 0.1)); // both beyond -INF_BOUND
    EXPECT_FALSE(RangeR1(-1e308, 5).Is(-1.7e308, 5, 0.1));
    EXPECT_TRUE(RangeR1(0, 0) == RangeR1(EPS, -EPS)); // ends exactly EPS apart are equal
    EXPECT_EQ(RangeR1(0, 10).GetPointLocation(-0.5, 0.5), RangeR1::eLocnAtStart);
    EXPECT_EQ(RangeR1(0, 10).GetPointLocation(10.5, 0.5), RangeR1::eLocnAfter);
    EXPECT_FALSE(RangeR1(0, 10).IsEmptyIntersection(RangeR1(10 + EPS, 12)));
}

TEST(RangeR1, CopyKeepsOldValuesWithinTolerance) {
    RangeR1 a(0, 1);
    const RangeR1 b(0, 1 + 5e-11);
    EXPECT_FALSE(a.Copy(b));
    EXPECT_EQ(a.hi, 1.0);
    EXPECT_TRUE(a == b);

    RangeR1 z(0, 0);
    EXPECT_TRUE(z.Copy(RangeR1(0, EPS))); // exactly EPS apart is not within tolerance
    EXPECT_EQ(z.hi, EPS);
    RangeR1 ext(0, EPS);
    ext.external = true;
    EXPECT_TRUE(z = ext); // same ends, other flag: copied
    EXPECT_TRUE(z.external);
}

TEST(RangeR1, ExternalFlag) {
    RangeR1 full;
    full.SetFull(true);
    full.SetExternal(true);
    EXPECT_TRUE(full.lo == UNBOUNDED && full.hi == UNBOUNDED && full.IsFull());
    full.SetExternal(false);
    EXPECT_TRUE(full.Is(-UNBOUNDED, UNBOUNDED, 0) && full.IsFull());
    full.SetFull(false);
    EXPECT_TRUE(full.lo == -3.14159265343979 && full.hi == PI);

    RangeR1 out(0, 10);
    out.SetExternal(true);
    EXPECT_TRUE(out.Is(0, 10, 0));
    EXPECT_TRUE(!out.In(5, 0.001) && out.In(0, 0.001) && out.In(-3, 0.001));
    EXPECT_TRUE(out >= RangeR1(-5, -1) && out >= RangeR1(11, 12) && !(out >= RangeR1(-1, 11)));
    EXPECT_FALSE(RangeR1(-100, 100) >= out);
    EXPECT_TRUE(RangeR1(11, 12).IsInsideOf(out)); // r's flag is honoured
}

TEST(RangeR1, OperationsGoThroughSetExactlyWhereMarked) {
    void (*const viaSet[])(Recorder&) = {
        [](Recorder& r) { r.SetFull(false); },      [](Recorder& r) { r.SetFullAngle(); },
        [](Recorder& r) { r.Inflate(1.0); },        [](Recorder& r) { r.SetLengthKeepCenter(2); },
        [](Recorder& r) { r.SetMinKeepLength(0); }, [](Recorder& r) { r.SetMaxKeepLength(0); },
        [](Recorder& r) { r.MakeSymmetric(); },     [](Recorder& r) { r.Center(RangeR1(0, 100)); },
        [](Recorder& r) { r.MakeValid(3.0); }};
    for (const auto& op : viaSet) {
        EXPECT_EQ(SetCalls(op), 1) << "operation " << &op - viaSet;
    }
    EXPECT_EQ(SetCalls([](Recorder& r) {
                  RangeR1 cut(0, 3);
                  r.Subtract(cut); // only a right piece: this takes it
              }),
              1);

    // Direct stores: the override is never reached.
    EXPECT_EQ(SetCalls([](Recorder& r) {
                  r.SetFull(true);
                  r.SetEx(1, 2);
                  r.SetUnordered(5, 3);
                  r.Inflate(2, 0);
                  r.Spread(4);
                  r.SetCenter(9);
                  r *= -2;
                  r.Include(100);
                  r.Unite(RangeR1(-50, 0));
                  r.Intersect(RangeR1(0, 1));
                  r.Copy(RangeR1(7, 8));
                  r.Align(1, 0.5);
                  int n = 0;
                  r.Setup(0.5, n);
                  RangeR1 cut(7.2, 7.4);
                  r.Subtract(cut); // two pieces: this takes the left one by Copy
                  r.SetExternal(true);
              }),
              0);

    // With two pieces the second reaches r through r's own Set.
    RangeR1 self(0, 10);
    Recorder cut(3, 5);
    EXPECT_EQ(self.Subtract(cut), 2);
    EXPECT_EQ(cut.calls, 1);
}

TEST(RangeR1, SerializeWritesLoThenHiAndNoFlag) {
    RangeR1 r(1.5, -2);
    r.external = true;
    Bytes bytes = plinth::testing::StoredObject(r);
    EXPECT_EQ(bytes, (Bytes{0, 0, 0, 0, 0, 0, 0xF8, 0x3F, 0, 0, 0, 0, 0, 0, 0, 0xC0}));

    // Loading takes both ends and leaves the flag; a short archive raises endOfFile and leaves
    // the interval as it was.
    for (const UINT size : {16U, 12U}) {
        CMemFile file(bytes.data(), size);
        CArchive ar(&file, CArchive::load);
        const bool whole = size == 16;
        RangeR1 loaded(3, 4);
        loaded.external = true;
        int cause = -1;
        try {
            loaded.Serialize(ar);
        } catch (const CArchiveException& e) {
            cause = e.m_cause;
        }
        EXPECT_EQ(cause, whole ? -1 : CArchiveException::endOfFile);
        EXPECT_TRUE((whole ? loaded.Is(1.5, -2, 0) : loaded.Is(3, 4, 0)) && loaded.external);
    }
}
