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

// The chain links whose module is the library's loaded image (which holds the module state).
int countPlinthLinks() {
    Dl_info info{};
    EXPECT_NE(::dladdr(AfxGetModuleState(), &info), 0);
    int count = 0;
    for (const CDynLinkLibrary* link = AfxGetModuleState()->m_libraryList; link != nullptr;
         link = link->m_pNextDLL) {
        if (link->m_hModule == info.dli_fbase) {
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
    EXPECT_EQ(rtGetErrorMessage(), std::strerror(ENOENT));
}
