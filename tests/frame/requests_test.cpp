#include "plinth/frame/requests.h"

#include <gtest/gtest.h>

#include <numeric>
#include <tuple>

using namespace plinth;

namespace {

const GUID kModule1 = {1, 0, 0, {0, 0, 0, 0, 0, 0, 0, 1}};
const GUID kModule2 = {2, 0, 0, {0, 0, 0, 0, 0, 0, 0, 2}};
const GUID kIid = {3, 0, 0, {0, 0, 0, 0, 0, 0, 0, 3}};

auto Fields(const OpC& o) {
    return std::tie(o.m_pszName1, o.m_pszName2, o.m_nArg1, o.m_nArg2, o.m_nArg3, o.m_pModuleID,
                    o.m_nArg4, o.m_dArg, o.m_bFlag, o.m_nIndex, o.m_nData, o.m_nExtra);
}

auto Fields(const QC& q) {
    return std::tie(q.m_pModuleID, q.m_nArg1, q.m_nArg2, q.m_pIID, q.m_nArg3, q.m_nArg4, q.m_nArg5,
                    q.m_dArg, q.m_bFlag, q.m_nIndex, q.m_nData, q.m_nExtra);
}

// Every field past the identifiers set, each to a different value derived from seed, so that
// a field copied wrongly or left out shows.
template <class Request>
Request Filled(Request r, DWORD seed) {
    r.m_nArg1 = seed + 1;
    r.m_nArg2 = seed + 2;
    r.m_nArg3 = seed + 3;
    r.m_nArg4 = seed + 4;
    std::iota(r.m_dArg.begin(), r.m_dArg.end(), seed + 0.5);
    r.m_bFlag = {true, false, true};
    r.m_nIndex = static_cast<int>(seed) + 7;
    std::iota(r.m_nData.begin(), r.m_nData.end(), seed + 10);
    std::iota(r.m_nExtra.begin(), r.m_nExtra.end(), seed + 20);
    return r;
}

} // namespace

TEST(Requests, ConstructorsLeaveTheIndexAtMinusOneAndTheRestZero) {
    EXPECT_EQ(Fields(OpC()), Fields(OpC(nullptr, nullptr, nullptr)));
    EXPECT_EQ(OpC().m_nIndex, -1);
    EXPECT_EQ(Fields(QC()), Fields(QC(nullptr)));
    const QC query(&kModule1, kIid);
    EXPECT_EQ(query.m_pIID, &kIid); // the address, not a copy
    EXPECT_EQ(query.m_nIndex, -1);
    EXPECT_EQ(QCObj().m_nIndex, -1);
}

TEST(Requests, ConstructAndCopyKeepExactlyTheirFields) {
    OpC source = Filled(OpC(&kModule1, "first", "second"), 100);
    EXPECT_EQ(Fields(OpC(source)), Fields(source));
    OpC assigned;
    assigned = source;
    EXPECT_EQ(Fields(assigned), Fields(source));

    // Copy re-addresses: the target keeps its module and its trailing words.
    OpC target = Filled(OpC(&kModule2), 500);
    OpC expected = source;
    expected.m_pModuleID = &kModule2;
    expected.m_nExtra = target.m_nExtra;
    target.Copy(source);
    EXPECT_EQ(Fields(target), Fields(expected));
    target.Copy(target);
    EXPECT_EQ(Fields(target), Fields(expected));
    target.Construct();
    EXPECT_EQ(Fields(target), Fields(OpC()));

    QC query = Filled(QC(&kModule1, kIid), 100);
    query.m_nArg5 = 105;
    EXPECT_EQ(Fields(QC(query)), Fields(query));
    const GUID otherIid = kModule2;
    QC other = Filled(QC(&kModule2, otherIid), 500);
    QC expectedQuery = query;
    expectedQuery.m_pModuleID = &kModule2;
    expectedQuery.m_pIID = &otherIid;
    expectedQuery.m_nExtra = other.m_nExtra;
    other.CopyNoID(query);
    EXPECT_EQ(Fields(other), Fields(expectedQuery));
    query.Construct();
    EXPECT_EQ(Fields(query), Fields(QC()));

    QCObj obj(static_cast<QCObj::EQueryType>(3));
    obj.m_nIndex = 4;
    obj.m_nArg3 = 5;
    QCObj copy;
    copy = obj;
    EXPECT_EQ(std::tie(copy.m_eType, copy.m_nIndex, copy.m_nArg3),
              std::tie(obj.m_eType, obj.m_nIndex, obj.m_nArg3));
    copy.Construct();
    EXPECT_EQ(std::make_tuple(copy.m_eType, copy.m_nIndex, copy.m_nArg3),
              std::make_tuple(QCObj::eQueryNone, -1, DWORD{0}));
}
