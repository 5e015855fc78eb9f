// bftool on files written here: grey textures come out grey, a bad one gives one line and exit
// status 1, and a font's page is found where the game finds it.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "EngineFiles.h"
#include "PngFile.h"
#include "TestSupport.h"

namespace
{

using Bytes = TestBytes;

Bytes TGAHeader(int iType, int iWidth, int iHeight)
{
    return TEST_TGAFile(iType, 32, iWidth, iHeight, {});
}

Bytes PVRFile(std::uint32_t uiWidth, std::uint32_t uiHeight, std::uint32_t uiFlags,
              std::uint32_t uiBits, const Bytes& tData)
{
    return TEST_PVRFile(52, uiWidth, uiHeight, uiFlags, uiBits, tData, 0, 1);
}

// A font of one glyph, 'I', advance 6, line height 16, on the page pPage: a 4 x 12 bar at the
// page's top left.
Bytes FontFile(const char* pPage = "bar.tga")
{
    return TEST_FontFile(16, 16, 16, 1, pPage, {{'I', 0, 0, 4, 12, 0, 2, 6}});
}

Bytes BarPage()
{
    Bytes t = TGAHeader(2, 16, 16);
    for (int iRow = 0; iRow < 16; ++iRow)
    {
        for (int x = 0; x < 16; ++x)
        {
            const std::uint8_t v = (iRow >= 4 && x < 4) ? 255 : 0;
            t.insert(t.end(), {v, v, v, v});
        }
    }
    return t;
}

// Runs bftool; its exit status, and what it printed in *pOutput.
int Bftool(const std::string& strArguments, std::string* pOutput)
{
    return TEST_RunCommand(
        std::string(std::getenv("BF_BINARY_DIR")) + "/tools/bftool/bftool " + strArguments,
        pOutput);
}

}  // namespace

TEST(Bftool, Textures)
{
    const std::string strDir = TEST_MakeTempDir("bftool");
    std::string strOut;
    // Intensity and intensity-alpha textures come out grey, as the game samples them; the PNG's
    // first row is the file's last.
    ASSERT_TRUE(TEST_WriteFile(strDir + "/grey.pvr", PVRFile(2, 2, 0x16, 8, {0, 80, 160, 255})));
    ASSERT_TRUE(TEST_WriteFile(strDir + "/greya.pvr",
                               PVRFile(2, 2, 0x17, 16, {200, 255, 200, 0, 50, 128, 255, 255})));
    const std::pair<const char*, Bytes> tGreys[] = {
        {"grey", {160, 160, 160, 255, 255, 255, 255, 255, 0, 0, 0, 255, 80, 80, 80, 255}},
        {"greya", {50, 50, 50, 128, 255, 255, 255, 255, 200, 200, 200, 255, 200, 200, 200, 0}},
    };
    for (const auto& [pName, tExpected] : tGreys)
    {
        const std::string strPNG = strDir + "/" + pName + ".png";
        EXPECT_EQ(Bftool("texture " + strDir + "/" + pName + ".pvr " + strPNG, &strOut), 0)
            << strOut;
        int iWidth = 0;
        int iHeight = 0;
        Bytes tPixels;
        ASSERT_TRUE(PNG_ReadRGBA(strPNG.c_str(), &iWidth, &iHeight, &tPixels));
        EXPECT_EQ(tPixels, tExpected) << pName;
    }

    // A bad file: one line, status 1.
    ASSERT_TRUE(TEST_WriteFile(strDir + "/grid.pvr", PVRFile(12, 8, 0x19, 4, Bytes(48))));
    EXPECT_EQ(Bftool("texture " + strDir + "/grid.pvr " + strDir + "/out.png 2>&1", &strOut), 1);
    EXPECT_EQ(strOut, "bftool: " + strDir +
                          "/grid.pvr: PVRTC level 0 of 12x8 has a block grid that is not a power "
                          "of two\n");
}

TEST(Bftool, FontsFindTheirPageAsTheGameDoes)
{
    // The game's layout: Data/Fonts/x.fnt with its page in Data/Textures/Fonts; or the page
    // beside the font. A page the font names "bar.png" is read as "bar.tga", in both places.
    const std::string strDir = TEST_MakeTempDir("bftool-font");
    for (const char* pSub : {"/Fonts", "/Textures", "/Textures/Fonts", "/Beside"})
    {
        ASSERT_EQ(mkdir((strDir + pSub).c_str(), 0755), 0);
    }
    const std::pair<const char*, Bytes> tFiles[] = {
        {"/Fonts/Bar.fnt", FontFile()},           {"/Textures/Fonts/bar.tga", BarPage()},
        {"/Beside/Bar.fnt", FontFile()},          {"/Beside/bar.tga", BarPage()},
        {"/Beside/Png.fnt", FontFile("bar.png")}, {"/Fonts/Png.fnt", FontFile("bar.png")},
    };
    for (const auto& [pName, tBytes] : tFiles)
    {
        ASSERT_TRUE(TEST_WriteFile(strDir + pName, tBytes));
    }
    std::string strOut;
    const std::string strPNG = TEST_OutputDir() + "/bftool-font.png";
    EXPECT_EQ(Bftool("font " + strDir + "/Fonts/Bar.fnt " + strPNG + " 'III'", &strOut), 0);
    EXPECT_EQ(strOut,
              strDir + "/Fonts/Bar.fnt: line height 16, page 16 x 16, 1 glyphs, text width 18\n");
    EXPECT_GT(TEST_ReadFile(strPNG).size(), 8u);
    for (const char* pFont : {"/Beside/Bar.fnt", "/Beside/Png.fnt", "/Fonts/Png.fnt"})
    {
        EXPECT_EQ(Bftool("font " + strDir + pFont + " " + strDir + "/p.png II", &strOut), 0);
        EXPECT_NE(strOut.find("text width 12"), std::string::npos) << pFont << ": " << strOut;
    }

    // With the page gone from Textures/Fonts: one line naming both places, status 1.
    ASSERT_EQ(std::remove((strDir + "/Textures/Fonts/bar.tga").c_str()), 0);
    EXPECT_EQ(Bftool("font " + strDir + "/Fonts/Png.fnt " + strDir + "/x.png I 2>&1", &strOut), 1);
    EXPECT_EQ(strOut, "bftool: " + strDir +
                          "/Fonts/Png.fnt: page bar.tga (bar.png in the font) found neither beside "
                          "it nor in ../Textures/Fonts\n");
}
