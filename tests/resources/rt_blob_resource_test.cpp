#include "support/module_fixture.h"

#include "plinth/persist/rt_blob.h"

#include <gtest/gtest.h>

#include <string>

using namespace plinth;

namespace {

using BlobResources = ModuleFiles;

std::string Bytes(const RtBlob& blob) {
    return std::string(reinterpret_cast<const char*>(blob.m_pData), blob.m_nSize);
}

TEST_F(BlobResources, NullNamesAndTypesGiveTheirCodes) {
    const std::string path = CopyModule();
    RtBlob blob;
    EXPECT_EQ(blob.LoadResource("LOGO", nullptr, path.c_str()), 8);
    EXPECT_EQ(blob.LoadResource(nullptr, "BIN", path.c_str()), 9);
    EXPECT_EQ(blob.LoadResource(nullptr, nullptr, path.c_str()), 8);
    EXPECT_FALSE(blob.WriteResource(nullptr, "BIN", path.c_str()));
    EXPECT_FALSE(blob.WriteResource("LOGO", nullptr, path.c_str()));
    EXPECT_EQ(blob.m_nSize, 0u);
    EXPECT_EQ(blob.m_pData, nullptr);
}

TEST_F(BlobResources, WrittenBytesComeBackInABufferOfTheBlob) {
    const std::string path = CopyModule();
    RtBlob written;
    written.Set("a note");
    ASSERT_TRUE(written.WriteResource("NOTE", "TEXT", path.c_str()));

    RtBlob read;
    read.Set("old bytes, freed on success");
    ASSERT_EQ(read.LoadResource("note", "text", path.c_str()), 0);
    EXPECT_TRUE(read.IsSameData(written));
    EXPECT_FALSE(IsLoaded(path));
    ASSERT_EQ(read.LoadResource("LOGO", "BIN", path.c_str()), 0); // the others stay
    EXPECT_EQ(Bytes(read), Embedded("logo.bin"));

    // From a loaded module the blob still gets bytes of its own, which outlive the module.
    void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle, nullptr);
    RtBlob fromLoaded;
    ASSERT_EQ(fromLoaded.LoadResource("NOTE", "TEXT", path.c_str()), 0);
    ::dlclose(handle);
    EXPECT_TRUE(fromLoaded.IsSameData(written));

    // Failures pass the manager's code through and leave the blob as it was.
    const struct {
        std::string file;
        const char* name;
        int code;
    } failures[] = {{Path("missing.so"), "NOTE", 10}, {path, "NONE", 11}, {path, "EMPTY", 11}};
    for (const auto& f : failures) {
        EXPECT_EQ(read.LoadResource(f.name, "BIN", f.file.c_str()), f.code) << f.name;
        EXPECT_EQ(Bytes(read), Embedded("logo.bin"));
    }
    written.Delete();
    read.Delete();
    fromLoaded.Delete();
}

} // namespace
