#include "plinth/persist/data_context.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace plinth;

TEST(DataContext, OptionsSetAsShortBooleansAndReset) {
    DataContext dc;
    EXPECT_TRUE(dc.GetOptionA());
    EXPECT_FALSE(dc.GetOptionB());
    void* out = nullptr;
    ASSERT_EQ(dc.QueryInterface(IID_IDataContext, &out), S_OK);
    auto* itf = static_cast<IDataContext*>(out);
    EXPECT_EQ(itf->SetOptionB(-1), S_OK);
    EXPECT_EQ(itf->SetOptionA(0), S_OK);
    EXPECT_FALSE(dc.GetOptionA());
    EXPECT_TRUE(dc.GetOptionB());

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

TEST(DataContext, QueriesFollowThePlainPattern) {
    auto* dc = new DataContext;
    EXPECT_EQ(dc->GetRef(), 1u);
    void* out = nullptr;
    EXPECT_EQ(dc->QueryInterface(IID_IDataContext, nullptr), DISP_E_PARAMNOTOPTIONAL);
    ASSERT_EQ(dc->QueryInterface(IID_IDataContext, &out), S_OK);
    auto* itf = static_cast<IDataContext*>(out);
    EXPECT_EQ(dc->QueryInterface(IID_IUnknown, &out), S_OK);
    EXPECT_EQ(out, static_cast<IUnknown*>(itf));
    EXPECT_EQ(dc->GetRef(), 3u);
    EXPECT_EQ(itf->QueryInterface(IID_ImplObject, &out), S_OK); // through the interface too
    EXPECT_EQ(out, dc);
    EXPECT_EQ(dc->GetRef(), 3u);
    out = dc;
    EXPECT_EQ(itf->QueryInterface(IID_IBlob, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(itf->QueryInterface(IID_IBlob, nullptr), DISP_E_PARAMNOTOPTIONAL);
    itf->Release();
    itf->Release();
    EXPECT_EQ(itf->Release(), 0u); // the creator's reference: deleted
}

TEST(DataContext, RuntimeRecordNamesItWithObjectAsBase) {
    const DataContext dc;
    const CRuntimeClass* record = dc.GetRuntimeClass();
    EXPECT_EQ(record, DataContext::GetThisClass());
    EXPECT_STREQ(record->m_lpszClassName, "DataContext");
    EXPECT_EQ(record->m_wSchema, 0xFFFFu);
    EXPECT_EQ(record->m_pfnGetBaseClass(), CObject::GetThisClass());
    EXPECT_TRUE(dc.IsKindOf(RUNTIME_CLASS(CObject)));
}
