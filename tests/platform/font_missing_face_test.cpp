// A face the configuration lists but that cannot be opened any more. The configuration is
// chosen through the environment before the first font is made, so this program holds this
// test alone.
#include "support/private_tmpdir.h"

#include "plinth/platform/font.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

using namespace plinth;

namespace fs = std::filesystem;

using FontMissingFace = plinth::testing::PrivateTmpDir;

TEST_F(FontMissingFace, FaceThatCannotBeOpenedFailsCreation) {
    const fs::path dir = m_dir;
    const fs::path face = dir / "Face.ttf";
    fs::copy_file("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", face);
    std::ofstream(dir / "fonts.conf") << "<fontconfig><dir>" << dir.string() << "</dir><cachedir>"
                                      << (dir / "cache").string() << "</cachedir></fontconfig>\n";
    ASSERT_EQ(setenv("FONTCONFIG_FILE", (dir / "fonts.conf").c_str(), 1), 0);

    CDC dc; // reads the configuration and opens the face once
    CFont opened;
    ASSERT_EQ(opened.CreatePointFont(100, "DejaVu Sans", &dc), 1);
    FontFaceInfo info;
    ASSERT_EQ(opened.GetFaceInfo(&info), 1);
    ASSERT_EQ(fs::path(info.m_strFile.GetString()), face); // the configuration is the test's

    fs::remove(face);
    CFont font;
    EXPECT_EQ(font.CreatePointFont(120, "DejaVu Sans", &dc), 0);
    EXPECT_EQ(font.GetSafeHandle(), nullptr);
    EXPECT_EQ(opened.CreatePointFont(120, "DejaVu Sans", &dc), 0);
    EXPECT_NE(opened.GetSafeHandle(), nullptr); // a failed creation keeps the handle held
    CFont* const initial = dc.GetCurrentFont();
    EXPECT_EQ(dc.SelectObject(&font), nullptr);
    EXPECT_EQ(dc.GetCurrentFont(), initial);
}
