// Bitmap fonts and the font manager: files written here in the AngelCode binary layout, the
// layout rules of a line of text, capacity, malformed files, and text read back from GL.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "EngineFiles.h"
#include "FileSystem.h"
#include "FontManager.h"
#include "PngFile.h"
#include "TestSupport.h"
#include "Textures.h"

namespace
{

using Bytes = TestBytes;
using Glyph = TestGlyph;

const Bytes PAGES = TEST_FontPagesBody("page_0.tga");

// A font on the 32 x 32 page "page_0.tga".
Bytes MakeFont(int iLineHeight, const std::vector<Glyph>& tGlyphs, int iPages = 1)
{
    return TEST_FontFile(iLineHeight, 32, 32, iPages, "page_0.tga", tGlyphs);
}

// Glyph 0 is the blank; 'A' white and 'B' red 8 x 16 boxes at the page's top left.
const std::vector<Glyph> GLYPHS = {
    {' ', 0, 0, 0, 0, 0, 0, 5},
    {'A', 0, 0, 8, 16, 0, 0, 9},
    {'B', 8, 0, 8, 16, 1, 0, 10},
    {'a', 0, 0, 8, 16, 0, 0, 17},
};

// The 32 x 32 page: file rows run from the picture's bottom, so its top 16 rows come last.
Bytes MakePage()
{
    Bytes t = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 32, 0, 32, 0, 32, 0};
    for (int iRow = 0; iRow < 32; ++iRow)
    {
        for (int x = 0; x < 32; ++x)
        {
            const bool bGlyph = iRow >= 16 && x < 16;
            const bool bRed = x >= 8;
            // B, G, R, A
            t.insert(t.end(), {static_cast<std::uint8_t>(bGlyph && !bRed ? 255 : 0),
                               static_cast<std::uint8_t>(bGlyph && !bRed ? 255 : 0),
                               static_cast<std::uint8_t>(bGlyph ? 255 : 0),
                               static_cast<std::uint8_t>(bGlyph ? 255 : 0)});
        }
    }
    return t;
}

class Fonts : public testing::Test
{
protected:
    std::string strDir;

    void SetUp() override
    {
        ASSERT_TRUE(TEST_OpenGLWindow(128, 128));
        strDir = TEST_MakeTempDir("fonts");
        for (const char* pSub : {"/Fonts", "/Textures", "/Textures/Fonts"})
        {
            ASSERT_EQ(mkdir((strDir + pSub).c_str(), 0755), 0);
        }
        ASSERT_TRUE(TEST_WriteFile(strDir + "/Textures/Fonts/page_0.tga", MakePage()));
        ASSERT_TRUE(TEST_WriteFile(strDir + "/Fonts/Test.fnt", MakeFont(16, GLYPHS)));
        FS_SetResourceDirectory(strDir.c_str());
        TEX_ResetTextures();
    }

    void TearDown() override { TEX_ResetTextures(); }

    void WriteFont(const char* pName, const Bytes& tFile)
    {
        ASSERT_TRUE(TEST_WriteFile(strDir + "/Fonts/" + pName + ".fnt", tFile));
    }
};

}  // namespace

TEST_F(Fonts, RecordsAndLineLayout)
{
    std::vector<Glyph> tGlyphs = {
        {'a', 0, 0, 8, 16, 0, 0, 17}, {300, 0, 0, 8, 16, 0, 0, 3}, {' ', 0, 0, 0, 0, 0, 0, 4}};
    WriteFont("Three", MakeFont(32, tGlyphs));
    CFont tFont;
    ASSERT_EQ(tFont.LoadFont("Three", 2048), 1);
    EXPECT_EQ(tFont.iNumRecords, 3);              // a chars block of 60 bytes
    EXPECT_EQ(tFont.iGlyphIndex[300 & 0xFF], 0);  // id 300 is not reachable
    EXPECT_EQ(tFont.iGlyphIndex[' '], 2);
    EXPECT_EQ(tFont.GetLineHeight(), 32);
    EXPECT_EQ(tFont.DrawText(0, 0, FONT_ALIGN_LEFT, "", 1, 1, 1, 1, -1), 35);  // 32 x 1.1

    // Three characters of advance 17: width 51, centred on 160 from 135.
    EXPECT_EQ(tFont.GetTextWidth("aaa", 0), 51);
    tFont.DrawText(160, 0, FONT_ALIGN_CENTRE, "aaa", 1, 1, 1, 1, -1);
    EXPECT_FLOAT_EQ(tFont.pVerts[0].x, 135.0f);
    tFont.DrawText(160, 0, FONT_ALIGN_RIGHT, "aaa", 1, 1, 1, 1, -1);
    EXPECT_FLOAT_EQ(tFont.pVerts[12].x, 109.0f);
    tFont.RenderText(true);
    EXPECT_EQ(tFont.iNumVerts, 0);

    // "\n" ends the measured width but not the drawn line.
    EXPECT_EQ(tFont.GetTextWidth("a\na", 0), 17);
    tFont.DrawText(0, 0, FONT_ALIGN_LEFT, "a\na", 1, 1, 1, 1, -1);
    EXPECT_EQ(tFont.iNumVerts, 8);
    EXPECT_FLOAT_EQ(tFont.pVerts[4].x, 17.0f);
    EXPECT_FLOAT_EQ(tFont.pVerts[4].y, tFont.pVerts[0].y);
    tFont.RenderText(true);

    // At most 3 characters of "ab cd" (b, c, d unknown, drawn as record 0): a and b drawn,
    // the pen passes the blank, then the line ends.
    tFont.fExtraSpace = 2.0f;
    tFont.DrawText(0, 0, FONT_ALIGN_LEFT, "ab cd", 1, 1, 1, 1, 3);
    EXPECT_EQ(tFont.iNumVerts, 8);
    EXPECT_EQ(tFont.GetTextWidth("ab cd", 3), 17 + 17 + 4 + 2);
    EXPECT_EQ(tFont.GetTextWidth("ab cd", 0), 17 * 4 + 4 + 2);

    // Scale: rounding per character, y scaled from the line height.
    tFont.RenderText(true);
    tFont.fExtraSpace = 0.0f;
    tFont.SetScale(0.5f, 0.5f);
    EXPECT_EQ(tFont.GetLineHeight(), 16);
    EXPECT_EQ(tFont.GetTextWidth("aaa", 0), 24);  // rint(8.5) rounds to even: 8 each
    tFont.DrawText(10, 20, FONT_ALIGN_LEFT, "a", 1, 1, 1, 1, -1);
    EXPECT_FLOAT_EQ(tFont.pVerts[0].y, 20.0f + 8.0f);  // (32 - 0 - 16) x 0.5
    EXPECT_FLOAT_EQ(tFont.pVerts[1].y, 20.0f + 16.0f);
    EXPECT_FLOAT_EQ(tFont.pVerts[2].x, 14.0f);
}

// (That drawing text allocates nothing is test_level's, over 600 frames of play with the HUD.)
TEST_F(Fonts, TextPastTheCapacityIsDropped)
{
    CFont tFont;
    ASSERT_EQ(tFont.LoadFont("Test", 8), 1);  // two characters
    EXPECT_EQ(TEST_OutputOf(
                  [&]
                  {
                      tFont.DrawText(0, 0, FONT_ALIGN_LEFT, "ABAB", 1, 1, 1, 1, -1);
                      tFont.DrawText(0, 0, FONT_ALIGN_LEFT, "A", 1, 1, 1, 1, -1);
                  }),
              "Font capacity of 2 characters hit, further text dropped\n");
    EXPECT_EQ(tFont.iNumVerts, 8);
    EXPECT_EQ(tFont.iNumFaces, 4);
    EXPECT_EQ(tFont.iNumDropped, 3);
    EXPECT_EQ(tFont.pIndices[11], 4);
}

TEST_F(Fonts, MalformedFiles)
{
    // Blocks that run past the end of the file fail the load.
    Bytes tCut = MakeFont(16, GLYPHS);
    tCut.resize(tCut.size() - 3);
    WriteFont("Cut", tCut);
    Bytes tHeader = MakeFont(16, GLYPHS);
    tHeader.insert(tHeader.end(), {4, 0, 0});
    WriteFont("Header", tHeader);
    CFont tFont;
    testing::internal::CaptureStdout();
    EXPECT_EQ(tFont.LoadFont("Cut", 64), 0);
    EXPECT_EQ(tFont.LoadFont("Header", 64), 0);
    EXPECT_EQ(tFont.LoadFont("Missing", 64), 0);
    const std::string strOut = testing::internal::GetCapturedStdout();
    EXPECT_EQ(strOut,
              "Font block 4 of 80 bytes runs past the end of the file\n"
              "Font file is malformed: Fonts/Cut.fnt\n"
              "Font block header is cut short at byte 144\n"
              "Font file is malformed: Fonts/Header.fnt\n"
              "Error - File not found: Fonts/Missing.fnt\n");
    EXPECT_EQ(tFont.pFileData, nullptr);
    EXPECT_EQ(tFont.pVerts, nullptr);

    // Files of the wrong kind stop the game.
    Bytes tMagic = MakeFont(16, GLYPHS);
    tMagic[3] = 2;
    WriteFont("Magic", tMagic);
    Bytes tUnknown = MakeFont(16, GLYPHS);
    TEST_PutFontBlock(&tUnknown, 6, {});
    WriteFont("Unknown", tUnknown);
    Bytes tTwice = MakeFont(16, GLYPHS);
    TEST_PutFontBlock(&tTwice, 3, PAGES);
    WriteFont("Twice", tTwice);
    const Bytes tPages = MakeFont(16, GLYPHS, 2);
    WriteFont("Pages", tPages);
    for (const char* pName : {"Magic", "Unknown", "Twice", "Pages"})
    {
        BF_EXPECT_ASSERT(CFont().LoadFont(pName, 64), "Fonts:[0-9]+: failed assertion `false'");
    }
}

TEST_F(Fonts, ManagerSlots)
{
    FontManager tManager;
    testing::internal::CaptureStdout();
    EXPECT_EQ(tManager.LoadFont("Missing", 64), nullptr);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(tManager.pFonts[0], nullptr);
    CFont* pFirst = tManager.LoadFont("Test", 64);
    CFont* pSecond = tManager.LoadFont("Test", 64);
    ASSERT_NE(pFirst, nullptr);
    EXPECT_NE(pFirst, pSecond);
    EXPECT_EQ(pFirst->uiTextureID, pSecond->uiTextureID);  // one shared page
    EXPECT_EQ(TEX_GetEntry(TEX_FindTexture("Fonts/page_0"))->iRefCount, 2);
    for (int i = 2; i < NUM_FONTS; ++i)
    {
        ASSERT_NE(tManager.LoadFont("Test", 64), nullptr);
    }
    BF_EXPECT_ASSERT(tManager.LoadFont("Test", 64),
                     "FontManager:[0-9]+: failed assertion `i != NUM_FONTS'");
    tManager.ReleaseAll();
    EXPECT_EQ(TEX_FindTexture("Fonts/page_0"), -1);
}

TEST_F(Fonts, RenderedTextReachesTheScreen)
{
    CFont tFont;
    ASSERT_EQ(tFont.LoadFont("Test", 2048), 1);
    glViewport(0, 0, 128, 128);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 128, 0, 128, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);

    // "A B" at (10, 10): A over x 10..17, the blank 5, B (x offset 1) over 25..32; rows 10..25.
    EXPECT_EQ(tFont.DrawText(10, 10, FONT_ALIGN_LEFT, "A B", 1, 1, 1, 1, -1), 17);
    // Green text: the white glyph takes the colour; half alpha on the second line.
    tFont.DrawText(10, 40, FONT_ALIGN_LEFT, "AA", 0, 1, 0, 0.5f, -1);
    tFont.RenderText(true);
    EXPECT_EQ(TEST_ReadPixel(13, 18), 0xFFFFFFFFu);
    EXPECT_EQ(TEST_ReadPixel(28, 18), 0xFF0000FFu);
    EXPECT_EQ(TEST_ReadPixel(22, 18) >> 8, 0u);  // the blank
    EXPECT_EQ(TEST_ReadPixel(13, 27) >> 8, 0u);  // above the line box
    EXPECT_NEAR(static_cast<int>((TEST_ReadPixel(13, 48) >> 16) & 0xFF), 128, 2);
    EXPECT_EQ(TEST_ReadPixel(13, 48) >> 24, 0u);
    const std::vector<std::uint8_t> tPixels = TEST_ReadPixels(0, 0, 128, 128);
    PNG_WriteRGBA((TEST_OutputDir() + "/fonts.png").c_str(), 128, 128, tPixels.data(), true);
}
