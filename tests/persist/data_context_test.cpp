#include "plinth/persist/data_context.h"

#include <gtest/gtest.h>

using namespace plinth;

TEST(DataContext, OptionsSetAsShortBooleansCopyAndReset) {
    DataContext dc;
    void* out = nullptr;
    ASSERT_EQ(dc.QueryInterface(IID_IDataContext, &out), S_OK);
    auto* itf = static_cast<IDataContext*>(out);
    EXPECT_EQ(itf->SetOptionB(-1), S_OK);
    EXPECT_EQ(itf->SetOptionA(0), S_OK);
    DataContext copy(dc);
    EXPECT_FALSE(copy.GetOptionA());
    EXPECT_TRUE(copy.GetOptionB());
    EXPECT_EQ(copy.GetRef(), dc.GetRef());
    dc.Reset();
    EXPECT_TRUE(dc.GetOptionA());
    EXPECT_FALSE(dc.GetOptionB());
    dc.Copy(nullptr);
    EXPECT_TRUE(dc.GetOptionA());
    dc.Copy(&copy);
    EXPECT_FALSE(dc.GetOptionA());
    EXPECT_TRUE(dc.GetOptionB());
    EXPECT_EQ(itf->Release(), 1u);
}

TEST(DataContext, QueriesFollowThePlainPatternAndTheLastReleaseDeletes) {
    auto* dc = new DataContext;
    EXPECT_EQ(dc->GetRef(), 1u);
    void* out = nullptr;
    EXPECT_EQ(dc->QueryInterface(IID_IDataContext, nullptr), DISP_E_PARAMNOTOPTIONAL);
    ASSERT_EQ(dc->QueryInterface(IID_IDataContext, &out), S_OK);
    auto* itf = static_cast<IDataContext*>(out);
    EXPECT_EQ(dc->QueryInterface(IID_IUnknown, &out), S_OK);
    EXPECT_EQ(out, static_cast<IUnknown*>(itf));
    EXPECT_EQ(itf->QueryInterface(IID_ImplObject, &out), S_OK); // through the interface too
    EXPECT_EQ(out, dc);
    EXPECT_EQ(dc->GetRef(), 3u); // the ImplObject answer adds no reference
    out = dc;
    EXPECT_EQ(itf->QueryInterface(IID_IBlob, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    itf->Release();
    itf->Release();
    EXPECT_EQ(itf->Release(), 0u); // the creator's reference: deleted
}

TEST(DataContext, RuntimeRecordNamesItWithObjectAsBase) {
    const CRuntimeClass* record = DataContext().GetRuntimeClass();
    EXPECT_EQ(record, DataContext::GetThisClass());
    EXPECT_STREQ(record->m_lpszClassName, "DataContext");
    EXPECT_EQ(record->m_wSchema, 0xFFFFu);
    EXPECT_EQ(record->m_pfnGetBaseClass(), CObject::GetThisClass());
}
