#include "plinth/frame/requests.h"

#include <gtest/gtest.h>

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
    return std::tie(q.m_pModuleID, q.m_nArg1, q.m_nArg2, q.m_pIID, q.m_nArg3, q.m_nArg4,
                    q.m_nArg5, q.m_dArg, q.m_bFlag, q.m_nIndex, q.m_nData, q.m_nExtra);
}

// Every field of op set, each to a different value derived from seed.
OpC FilledOp(const GUID* module, DWORD seed) {
    OpC op(module, "first", "second");
    op.m_nArg1 = seed + 1;
    op.m_nArg2 = seed + 2;
    op.m_nArg3 = seed + 3;
    op.m_nArg4 = seed + 4;
    op.m_dArg = {seed + 0.5, 1.5, 2.5, 3.5, 4.5};
    op.m_bFlag = {true, false, true};
    op.m_nIndex = static_cast<int>(seed) + 7;
    op.m_nData = {seed + 10, 11, 12, 13, 14};
    op.m_nExtra = {seed + 20, 21, 22, 23, 24};
    return op;
}

QC FilledQuery(const GUID* module, const GUID& iid, DWORD seed) {
    QC q(module, iid);
    q.m_nArg1 = seed + 1;
    q.m_nArg2 = seed + 2;
    q.m_nArg3 = seed + 3;
    q.m_nArg4 = seed + 4;
    q.m_nArg5 = seed + 5;
    q.m_dArg = {seed + 0.5, 1.5, 2.5};
    q.m_bFlag = {false, true, true};
    q.m_nIndex = static_cast<int>(seed) + 7;
    q.m_nData = {seed + 10, 11, 12, 13};
    q.m_nExtra = {seed + 20, 21, 22};
    return q;
}

} // namespace

TEST(Requests, DefaultsAreIndexMinusOneAndEverythingElseZero) {
    const OpC op;
    EXPECT_EQ(Fields(op), Fields(OpC(nullptr, nullptr, nullptr)));
    EXPECT_EQ(op.m_nIndex, -1);
    EXPECT_EQ(op.m_nArg1 | op.m_nArg2 | op.m_nArg3 | op.m_nArg4, 0u);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(op.m_dArg[i], 0.0);
        EXPECT_EQ(op.m_nData[i] | op.m_nExtra[i], 0u);
    }
    EXPECT_FALSE(op.m_bFlag[0] || op.m_bFlag[1] || op.m_bFlag[2]);

    const QC q;
    EXPECT_EQ(Fields(q), Fields(QC(nullptr)));
    EXPECT_EQ(q.m_nIndex, -1);
    EXPECT_EQ(q.m_pIID, nullptr);
    EXPECT_EQ(q.m_nArg1 | q.m_nArg2 | q.m_nArg3 | q.m_nArg4 | q.m_nArg5, 0u);
    EXPECT_EQ(q.m_nData[3] | q.m_nExtra[2], 0u);

    const QCObj obj;
    EXPECT_EQ(obj.m_eType, QCObj::eQueryNone);
    EXPECT_EQ(obj.m_nIndex, -1);
    EXPECT_EQ(obj.m_nArg1 | obj.m_nArg2 | obj.m_nArg3, 0u);
}

TEST(Requests, ConstructorsSetOnlyTheirArguments) {
    const OpC named("a", "b");
    EXPECT_STREQ(named.m_pszName1, "a");
    EXPECT_STREQ(named.m_pszName2, "b");
    EXPECT_EQ(named.m_pModuleID, nullptr);
    const OpC addressed(&kModule1);
    EXPECT_EQ(addressed.m_pModuleID, &kModule1);
    EXPECT_EQ(addressed.m_pszName1, nullptr);

    const QC query(&kModule1, kIid);
    EXPECT_EQ(query.m_pModuleID, &kModule1);
    EXPECT_EQ(query.m_pIID, &kIid); // the address, not a copy
    EXPECT_EQ(query.m_nIndex, -1);
}

TEST(Requests, ConstructAndCopyKeepExactlyTheirFields) {
    OpC source = FilledOp(&kModule1, 100);
    EXPECT_EQ(Fields(OpC(source)), Fields(source));
    OpC assigned;
    assigned = source;
    EXPECT_EQ(Fields(assigned), Fields(source));

    // Copy re-addresses: the target keeps its module and its trailing words.
    OpC target = FilledOp(&kModule2, 500);
    const auto extra = target.m_nExtra;
    target.Copy(source);
    OpC expected = source;
    expected.m_pModuleID = &kModule2;
    expected.m_nExtra = extra;
    EXPECT_EQ(Fields(target), Fields(expected));
    target.Copy(target);
    EXPECT_EQ(Fields(target), Fields(expected));
    target.Construct();
    EXPECT_EQ(Fields(target), Fields(OpC()));

    QC query = FilledQuery(&kModule1, kIid, 100);
    EXPECT_EQ(Fields(QC(query)), Fields(query));
    const GUID otherIid = kModule2;
    QC other = FilledQuery(&kModule2, otherIid, 500);
    const auto otherExtra = other.m_nExtra;
    other.CopyNoID(query);
    QC expectedQuery = query;
    expectedQuery.m_pModuleID = &kModule2;
    expectedQuery.m_pIID = &otherIid;
    expectedQuery.m_nExtra = otherExtra;
    EXPECT_EQ(Fields(other), Fields(expectedQuery));
    query.Construct();
    EXPECT_EQ(Fields(query), Fields(QC()));

    QCObj obj(static_cast<QCObj::EQueryType>(3));
    obj.m_nIndex = 4;
    obj.m_nArg3 = 5;
    QCObj copy;
    copy = obj;
    EXPECT_EQ(copy.m_eType, 3);
    EXPECT_EQ(copy.m_nArg3, 5u);
    copy.Construct();
    EXPECT_EQ(copy.m_eType, QCObj::eQueryNone);
    EXPECT_EQ(copy.m_nIndex, -1);
    EXPECT_EQ(copy.m_nArg3, 0u);
}
