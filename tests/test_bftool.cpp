// bftool on files written here: good files give their measures and a PNG, bad ones one line
// and exit status 1.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
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

// A font of one glyph, 'I': a 4 x 12 bar at the page's top left, advance 6; line height 16.
Bytes FontFile(int iPages)
{
    return TEST_FontFile(16, 16, 16, iPages, "bar.tga", {{'I', 0, 0, 4, 12, 0, 2, 6}});
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

struct sRun
{
    int iStatus;
    std::string strOutput;
};

sRun Bftool(const std::string& strArguments)
{
    const char* pBinary = std::getenv("BF_BINARY_DIR");
    const std::string strCommand =
        std::string(pBinary != nullptr ? pBinary : ".") + "/tools/bftool/bftool " + strArguments;
    sRun tRun{-1, ""};
    tRun.iStatus = TEST_RunCommand(strCommand, &tRun.strOutput);
    return tRun;
}

}  // namespace

TEST(Bftool, Textures)
{
    const std::string strDir = TEST_MakeTempDir("bftool");
    Bytes tRLE = TGAHeader(10, 4, 2);
    tRLE.insert(tRLE.end(), {0x87, 0, 0, 255, 255});
    ASSERT_TRUE(TEST_WriteFile(strDir + "/red.tga", tRLE));
    Bytes tBlocks;
    for (int i = 0; i < 4; ++i)
    {
        TEST_PutLE(&tBlocks, 0, 4);
        TEST_PutLE(&tBlocks, 0xFFFFFFFE, 4);
    }
    ASSERT_TRUE(TEST_WriteFile(strDir + "/white.pvr", PVRFile(8, 8, 0x19, 4, tBlocks)));

    sRun tRun = Bftool("texture " + strDir + "/red.tga " + strDir + "/red.png");
    EXPECT_EQ(tRun.iStatus, 0);
    EXPECT_EQ(tRun.strOutput, strDir + "/red.tga: 4 x 2, TGA 32-bit RLE, 1 level\n");
    EXPECT_GT(TEST_ReadFile(strDir + "/red.png").size(), 8u);
    tRun = Bftool("texture " + strDir + "/white.pvr " + TEST_OutputDir() + "/bftool-white.png");
    EXPECT_EQ(tRun.iStatus, 0);
    EXPECT_EQ(tRun.strOutput, strDir +
                                  "/white.pvr: 8 x 8, PVRTC 4 bpp opaque (decoded in software), "
                                  "1 level\n");

    // Intensity and intensity-alpha textures come out grey, as the game samples them; the PNG's
    // first row is the file's last.
    ASSERT_TRUE(TEST_WriteFile(strDir + "/grey.pvr", PVRFile(2, 2, 0x16, 8, {0, 80, 160, 255})));
    ASSERT_TRUE(TEST_WriteFile(strDir + "/greya.pvr",
                               PVRFile(2, 2, 0x17, 16, {200, 255, 200, 0, 50, 128, 255, 255})));
    const struct
    {
        const char* pName;
        std::uint8_t tExpected[4][4];  // PNG order
    } tGreys[] = {
        {"grey", {{160, 160, 160, 255}, {255, 255, 255, 255}, {0, 0, 0, 255}, {80, 80, 80, 255}}},
        {"greya",
         {{50, 50, 50, 128}, {255, 255, 255, 255}, {200, 200, 200, 255}, {200, 200, 200, 0}}},
    };
    for (const auto& tGrey : tGreys)
    {
        const std::string strPNG = strDir + "/" + tGrey.pName + ".png";
        tRun = Bftool("texture " + strDir + "/" + tGrey.pName + ".pvr " + strPNG);
        EXPECT_EQ(tRun.iStatus, 0) << tRun.strOutput;
        int iWidth = 0;
        int iHeight = 0;
        std::vector<std::uint8_t> tPixels;
        ASSERT_TRUE(PNG_ReadRGBA(strPNG.c_str(), &iWidth, &iHeight, &tPixels));
        ASSERT_EQ(tPixels.size(), 16u);
        for (int i = 0; i < 16; ++i)
        {
            EXPECT_EQ(tPixels[i], tGrey.tExpected[i / 4][i % 4]) << tGrey.pName << " byte " << i;
        }
    }

    // Bad files: one line each, status 1.
    Bytes tOverrun = TGAHeader(10, 2, 2);
    tOverrun.insert(tOverrun.end(), {0xFF, 1, 2, 3, 4});
    ASSERT_TRUE(TEST_WriteFile(strDir + "/overrun.tga", tOverrun));
    ASSERT_TRUE(TEST_WriteFile(strDir + "/short.pvr", PVRFile(8, 8, 0x19, 4, Bytes(20))));
    ASSERT_TRUE(TEST_WriteFile(strDir + "/grid.pvr", PVRFile(12, 8, 0x19, 4, Bytes(48))));
    const char* tBad[][2] = {
        {"overrun.tga", "TGA run-length packet runs past the last pixel"},
        {"short.pvr", "level 0 of surface 0 needs 32 bytes at offset 52; the file has 72"},
        {"grid.pvr", "PVRTC level 0 of 12x8 has a block grid that is not a power of two"},
        {"missing.pvr", "cannot open the file"},
    };
    for (const auto& tCase : tBad)
    {
        tRun = Bftool("texture " + strDir + "/" + tCase[0] + " " + strDir + "/out.png");
        EXPECT_EQ(tRun.iStatus, 1) << tCase[0];
        EXPECT_EQ(tRun.strOutput, "bftool: " + strDir + "/" + tCase[0] + ": " + tCase[1] + "\n");
    }
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
    const Bytes tPngPaged = TEST_FontFile(16, 16, 16, 1, "bar.png", {{'I', 0, 0, 4, 12, 0, 2, 6}});
    Bytes tCut = FontFile(1);
    tCut.pop_back();
    const std::pair<const char*, Bytes> tFiles[] = {
        {"/Fonts/Bar.fnt", FontFile(1)},
        {"/Textures/Fonts/bar.tga", BarPage()},
        {"/Beside/Bar.fnt", FontFile(1)},
        {"/Beside/bar.tga", BarPage()},
        {"/Beside/Png.fnt", tPngPaged},
        {"/Fonts/Png.fnt", tPngPaged},
        {"/Beside/Short.fnt", TEST_FontFile(16, 16, 16, 1, ".tga", {{'I', 0, 0, 4, 12, 0, 2, 6}})},
        {"/Beside/Cut.fnt", tCut},
        {"/Beside/Two.fnt", FontFile(2)},
    };
    for (const auto& [pName, tBytes] : tFiles)
    {
        ASSERT_TRUE(TEST_WriteFile(strDir + pName, tBytes));
    }
    const std::string strPNG = TEST_OutputDir() + "/bftool-font.png";
    sRun tRun = Bftool("font " + strDir + "/Fonts/Bar.fnt " + strPNG + " 'III'");
    EXPECT_EQ(tRun.iStatus, 0) << tRun.strOutput;
    EXPECT_EQ(tRun.strOutput, strDir +
                                  "/Fonts/Bar.fnt: line height 16, page 16 x 16, 1 glyphs, "
                                  "text width 18\n");
    EXPECT_GT(TEST_ReadFile(strPNG).size(), 8u);
    for (const char* pFont : {"/Beside/Bar.fnt", "/Beside/Png.fnt", "/Fonts/Png.fnt"})
    {
        tRun = Bftool("font " + strDir + pFont + " " + strDir + "/p.png II");
        EXPECT_EQ(tRun.iStatus, 0) << tRun.strOutput;
        EXPECT_NE(tRun.strOutput.find("text width 12"), std::string::npos) << tRun.strOutput;
    }

    // Bad fonts; then the page gone, and back without its pixels: one line each, status 1.
    const std::string strPage = strDir + "/Textures/Fonts/bar.tga";
    const char* tBad[][2] = {
        {"/Beside/Cut.fnt", "Font block 4 of 20 bytes runs past the end of the file"},
        {"/Beside/Two.fnt", "Font has 2 pages; one is supported"},
        {"/Beside/Nothing.fnt", "cannot read the file"},
        {"/Beside/Short.fnt", "page name \".tga\" is too short to name a .tga file"},
        {"/Fonts/Bar.fnt", "page bar.tga found neither beside it nor in ../Textures/Fonts"},
        {"/Fonts/Png.fnt",
         "page bar.tga (bar.png in the font) found neither beside it nor in ../Textures/Fonts"},
        {"/Fonts/Bar.fnt", "TGA pixel data ends early"},
    };
    for (const auto& tCase : tBad)
    {
        if (std::strncmp(tCase[1], "page bar.tga found", 18) == 0)
        {
            ASSERT_EQ(std::remove(strPage.c_str()), 0);
        }
        else if (std::strcmp(tCase[1], "TGA pixel data ends early") == 0)
        {
            ASSERT_TRUE(TEST_WriteFile(strPage, TGAHeader(2, 4, 4)));
        }
        tRun = Bftool("font " + strDir + tCase[0] + " " + strDir + "/x.png I");
        EXPECT_EQ(tRun.iStatus, 1) << tCase[0];
        EXPECT_EQ(tRun.strOutput.rfind("bftool: " + strDir + tCase[0] + ": ", 0), 0u);
        EXPECT_NE(tRun.strOutput.find(std::string(tCase[1]) + "\n"), std::string::npos)
            << tRun.strOutput;
    }
}

// The game's generated data, read back through the game's own loaders.
TEST(BftoolOnGameData, EveryGeneratedFileLoads)
{
    const char* pData = std::getenv("BF_DATA_DIR");
    ASSERT_NE(pData, nullptr);
    const std::string strData = pData;
    const std::string strOut = TEST_OutputDir();
    const struct
    {
        const char* pFile;
        const char* pExpected;
    } tTextures[] = {
        {"Textures/level_1.tga", "1024 x 1024, TGA 32-bit"},
        {"Textures/frontend.tga", "1024 x 1024, TGA 32-bit"},
        {"Textures/Kettle.pvr", "512 x 512, PVRTC 4 bpp opaque (decoded in software)"},
        {"Data/Textures/mental.pvr", "64 x 64, RGBA 8888"},
        {"Textures/Fonts/Boughfall_0.tga", "512 x 256, TGA 32-bit"},
    };
    for (const auto& tTexture : tTextures)
    {
        const std::string strName = std::string(tTexture.pFile);
        const sRun tRun = Bftool("texture " + strData + "/" + strName + " " + strOut + "/data-" +
                                 strName.substr(strName.rfind('/') + 1) + ".png");
        EXPECT_EQ(tRun.iStatus, 0) << tRun.strOutput;
        EXPECT_NE(tRun.strOutput.find(tTexture.pExpected), std::string::npos) << tRun.strOutput;
    }

    // Every printable character has a glyph; the line height suits the HUD.
    const sRun tFont = Bftool("font " + strData + "/Fonts/Boughfall.fnt " + strOut +
                              "/data-font.png \"Hi Score: 1250  x5  Touch Screen to Continue\"");
    EXPECT_EQ(tFont.iStatus, 0) << tFont.strOutput;
    int iLineHeight = 0;
    int iGlyphs = 0;
    const size_t uiAt = tFont.strOutput.find("line height");
    ASSERT_NE(uiAt, std::string::npos) << tFont.strOutput;
    std::sscanf(tFont.strOutput.c_str() + uiAt, "line height %d, page %*d x %*d, %d glyphs",
                &iLineHeight, &iGlyphs);
    EXPECT_GE(iLineHeight, 28);
    EXPECT_LE(iLineHeight, 32);
    EXPECT_GE(iGlyphs, 95);

    const sRun tProbe = Bftool("probe " + strData + "/Music/BoughfallTheme.mp3");
    EXPECT_EQ(tProbe.iStatus, 0);
    EXPECT_NE(tProbe.strOutput.find("frequency 44100 Hz, channels 2"), std::string::npos)
        << tProbe.strOutput;
}
