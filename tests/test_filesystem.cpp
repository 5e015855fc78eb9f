// Paths: a path that does not fit its buffer is refused, never cut and opened.

#include <gtest/gtest.h>

#include <string>

#include "FileSystem.h"
#include "Fonts.h"
#include "TestSupport.h"

TEST(Paths, APathThatDoesNotFitIsRefusedWithOneLine)
{
    char strPath[8] = "#######";
    testing::internal::CaptureStdout();
    EXPECT_FALSE(FS_FormatPath(strPath, sizeof(strPath), "%s/%s", "SFX", "forward.ogg"));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Path too long, not used: SFX/for...\n");
    EXPECT_STREQ(strPath, "");
    EXPECT_TRUE(FS_FormatPath(strPath, sizeof(strPath), "%s/%s", "SFX", "no"));
    EXPECT_STREQ(strPath, "SFX/no");

    // A name as long as the path buffers: a font is refused before any file
    // is looked for, and so are resource and save files under a directory of that length.
    const std::string strDir = TEST_MakeTempDir("paths");
    FS_SetResourceDirectory(strDir.c_str());
    FS_SetSaveDirectory(strDir.c_str());
    const std::string strLong(2 * FS_MAX_PATH, 'n');
    testing::internal::CaptureStdout();
    CFont tFont;
    EXPECT_EQ(tFont.LoadFont(strLong.c_str(), 16), 0);
    EXPECT_EQ(FS_OpenResourceFile(strLong.c_str()), nullptr);
    EXPECT_EQ(FS_OpenSaveFile(strLong.c_str(), "rb"), nullptr);
    EXPECT_EQ(FS_RemoveSaveFile(strLong.c_str()), -1);
    const std::string strSaid = testing::internal::GetCapturedStdout();
    EXPECT_EQ(strSaid.find("File not found"), std::string::npos) << strSaid;
    size_t uiLines = 0;
    for (char c : strSaid)
    {
        uiLines += c == '\n' ? 1 : 0;
    }
    EXPECT_EQ(uiLines, 4u) << strSaid;
}
