#include "plinth/frame/errormessage.h"
#include "plinth/frame/library.h"
#include "plinth/platform/lasterror.h"
#include "plinth/platform/module.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <dlfcn.h>

using namespace plinth;

namespace {

// The chain links whose module is this library's loaded image.
int countPlinthLinks() {
    int count = 0;
    for (const CDynLinkLibrary* link = AfxGetModuleState()->m_libraryList; link != nullptr;
         link = link->m_pNextDLL) {
        Dl_info info{};
        if (link->m_hModule != nullptr && ::dladdr(link->m_hModule, &info) != 0 &&
            info.dli_fbase == link->m_hModule &&
            std::strstr(info.dli_fname, "libplinth") != nullptr) {
            EXPECT_EQ(link->m_hResource, link->m_hModule);
            EXPECT_FALSE(link->m_bSystem);
            ++count;
        }
    }
    return count;
}

} // namespace

TEST(InitPlinthDll, MakesOneChainLinkForTheLibrary) {
    InitPlinthDll();
    EXPECT_EQ(countPlinthLinks(), 1);
    InitPlinthDll();
    EXPECT_EQ(countPlinthLinks(), 1);
}

TEST(RtGetErrorMessage, GivesTheTextOfTheLastError) {
    SetLastError(ERROR_SUCCESS);
    EXPECT_TRUE(rtGetErrorMessage().IsEmpty());

    SetLastError(ENOENT);
    const CString text = rtGetErrorMessage();
    EXPECT_EQ(text, std::strerror(ENOENT));
    EXPECT_FALSE(text.IsEmpty());
    EXPECT_NE(text[text.GetLength() - 1], '\n');
}
