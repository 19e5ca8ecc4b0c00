#include "plinth/platform/lasterror.h"
#include "plinth/platform/module.h"

#include <gtest/gtest.h>

#include <cerrno>

using namespace plinth;

namespace {

int countLinks(HMODULE module) {
    int count = 0;
    for (const CDynLinkLibrary* link = AfxGetModuleState()->m_libraryList; link != nullptr;
         link = link->m_pNextDLL) {
        count += link->m_hModule == module ? 1 : 0;
    }
    return count;
}

char imageA[1];
char imageB[1];

} // namespace

TEST(LastError, MirrorsErrno) {
    errno = ENOENT;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ENOENT));
    SetLastError(EACCES);
    EXPECT_EQ(errno, EACCES);
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(errno, 0);
}

TEST(ExtensionModule, InitialisesOnceForOneModule) {
    AFX_EXTENSION_MODULE record = {0, nullptr, nullptr};
    EXPECT_FALSE(AfxInitExtensionModule(record, nullptr));
    EXPECT_FALSE(record.bInitialized);
    EXPECT_TRUE(AfxInitExtensionModule(record, imageA));
    EXPECT_TRUE(record.bInitialized);
    EXPECT_EQ(record.hModule, imageA);
    EXPECT_EQ(record.hResource, imageA);
    EXPECT_TRUE(AfxInitExtensionModule(record, imageA));
    EXPECT_FALSE(AfxInitExtensionModule(record, imageB));
    EXPECT_EQ(record.hModule, imageA);
    AfxTermExtensionModule(record);
    EXPECT_FALSE(record.bInitialized);
}

TEST(ExtensionModule, LinksJoinAndLeaveTheChain) {
    AFX_EXTENSION_MODULE a = {0, nullptr, nullptr};
    AFX_EXTENSION_MODULE b = {0, nullptr, nullptr};
    ASSERT_TRUE(AfxInitExtensionModule(a, imageA));
    ASSERT_TRUE(AfxInitExtensionModule(b, imageB));

    auto* first = new CDynLinkLibrary(a);
    auto* second = new CDynLinkLibrary(b, 1);
    auto* third = new CDynLinkLibrary(a);
    EXPECT_EQ(AfxGetModuleState()->m_libraryList, third); // newest first
    EXPECT_EQ(third->m_pNextDLL, second);
    EXPECT_EQ(second->m_pNextDLL, first);
    EXPECT_TRUE(second->m_bSystem);
    EXPECT_FALSE(first->m_bSystem);
    EXPECT_EQ(second->m_hResource, imageB);

    delete second; // leaves the middle of the chain
    EXPECT_EQ(third->m_pNextDLL, first);
    EXPECT_EQ(countLinks(imageB), 0);
    static_cast<void>(new CDynLinkLibrary(b));

    AfxTermExtensionModule(a); // only a's links go
    EXPECT_EQ(countLinks(imageA), 0);
    EXPECT_EQ(countLinks(imageB), 1);
    AfxTermExtensionModule(a); // a second term finds an uninitialised record
    EXPECT_EQ(countLinks(imageB), 1);

    static_cast<void>(new CDynLinkLibrary(b));
    AfxTermExtensionModule(b, 1); // every link goes
    EXPECT_EQ(AfxGetModuleState()->m_libraryList, nullptr);
}
