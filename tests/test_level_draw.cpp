// What a level frame puts on the screen, read back under the virtual X server: the background
// and the sprites from the level atlas where they belong, the baskets in their colours, the
// pause button only while it can be used, the HUD texts where they go, and the mode overlays.
// PNGs of a level in play, paused and at game over go to the test-output folder.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "FileSystem.h"
#include "Fonts.h"
#include "LevelTables.h"
#include "LevelTestSupport.h"
#include "PngFile.h"
#include "TGAFile.h"
#include "TestSupport.h"

namespace
{

constexpr int W = 480;
constexpr int H = 320;

struct Picture
{
    std::vector<std::uint8_t> tPixels;  // RGBA, bottom row first

    const std::uint8_t* At(int x, int y) const
    {
        return &tPixels[(static_cast<size_t>(y) * W + x) * 4];
    }
};

Picture Grab()
{
    return Picture{TEST_ReadPixels(0, 0, W, H)};
}

void SavePNG(const Picture& tPicture, const char* pName)
{
    PNG_WriteRGBA((TEST_OutputDir() + "/" + pName).c_str(), W, H, tPicture.tPixels.data(), true);
}

// Pixels that differ between two pictures inside a rectangle of the game space.
int Differences(const Picture& a, const Picture& b, int x0, int y0, int x1, int y1)
{
    int iCount = 0;
    for (int y = y0; y < y1; ++y)
    {
        for (int x = x0; x < x1; ++x)
        {
            const std::uint8_t* p = a.At(x, y);
            const std::uint8_t* q = b.At(x, y);
            iCount += std::abs(p[0] - q[0]) + std::abs(p[1] - q[1]) + std::abs(p[2] - q[2]) > 24;
        }
    }
    return iCount;
}

class LevelDrawTest : public LevelTest
{
protected:
    static void SetUpTestSuite()
    {
        LevelTest::SetUpTestSuite();
        s_pFont = new CFont();
        ASSERT_TRUE(s_pFont->LoadFont("Boughfall", 2048));
        FILE* pFile = std::fopen(
            (std::string(std::getenv("BF_DATA_DIR")) + "/Textures/level_1.tga").c_str(), "rb");
        ASSERT_NE(pFile, nullptr);
        ASSERT_TRUE(TGA_ReadPixels(pFile, &s_tAtlas));
        std::fclose(pFile);
    }
    static void TearDownTestSuite()
    {
        TGA_FreePixels(&s_tAtlas);
        delete s_pFont;
        LevelTest::TearDownTestSuite();
    }

    // The atlas's colour at (row, column), rows counted from the atlas's top as its tables do.
    static const std::uint8_t* Atlas(int iRow, int iColumn)
    {
        const int iFileRow = s_tAtlas.iHeight - 1 - iRow;
        return &s_tAtlas.pPixels[(static_cast<size_t>(iFileRow) * s_tAtlas.iWidth + iColumn) *
                                 s_tAtlas.iBytesPerPixel];
    }

    // The mean colour of an atlas block (rows and columns as the tables count them).
    static void AtlasMean(int iTop, int iBottom, int iLeft, int iRight, float tMean[3])
    {
        tMean[0] = tMean[1] = tMean[2] = 0.0f;
        for (int r = iTop; r < iBottom; ++r)
        {
            for (int c = iLeft; c < iRight; ++c)
            {
                for (int k = 0; k < 3; ++k)
                {
                    tMean[k] += Atlas(r, c)[k];
                }
            }
        }
        for (int k = 0; k < 3; ++k)
        {
            tMean[k] /= static_cast<float>((iBottom - iTop) * (iRight - iLeft));
        }
    }

    // The mean colour of a block of the screen (game units, y up).
    static void ScreenMean(const Picture& tPicture, int x0, int y0, int x1, int y1, float tMean[3])
    {
        tMean[0] = tMean[1] = tMean[2] = 0.0f;
        for (int y = y0; y < y1; ++y)
        {
            for (int x = x0; x < x1; ++x)
            {
                for (int k = 0; k < 3; ++k)
                {
                    tMean[k] += tPicture.At(x, y)[k];
                }
            }
        }
        for (int k = 0; k < 3; ++k)
        {
            tMean[k] /= static_cast<float>((y1 - y0) * (x1 - x0));
        }
    }

    static void ExpectColour(const std::uint8_t* pSeen, const std::uint8_t* pWanted,
                             const char* pWhat)
    {
        for (int c = 0; c < 3; ++c)
        {
            EXPECT_NEAR(pSeen[c], pWanted[c], 12) << pWhat << " channel " << c;
        }
    }

    static CFont* s_pFont;
    static TGAPixels s_tAtlas;
};

CFont* LevelDrawTest::s_pFont = nullptr;
TGAPixels LevelDrawTest::s_tAtlas = {};

}  // namespace

TEST_F(LevelDrawTest, TheSceneComesFromTheAtlasWhereTheTablesPutIt)
{
    NewLevel();
    DrawFrame(nullptr);
    const Picture tFrame = Grab();
    // Open background in the top right corner beneath the readouts: the atlas's own picture,
    // the screen's y running up and the atlas's rows down.
    const int tOpen[][2] = {{470, 200}, {12, 40}, {150, 24}, {330, 30}};
    for (const auto& tPoint : tOpen)
    {
        ExpectColour(tFrame.At(tPoint[0], tPoint[1]), Atlas(H - 1 - tPoint[1], tPoint[0]),
                     "background");
    }
    // The pause button at (8, 244), 48 x 48, from rectangle 4.
    ExpectColour(tFrame.At(8 + 24, 244 + 30), Atlas(272 + 48 - 30, 608 + 24), "pause button");
    // The middle limb runs up from the pivot (240, 146): branch colours (the atlas's branch
    // column) along x = 240 above it.
    ExpectColour(tFrame.At(240, 250), Atlas(176 + 104, 832), "middle limb");
    SavePNG(tFrame, "level-scene.png");

    // At each difficulty each basket shows its colour cell, 60 pixels stretched to 120 units:
    // the thin strip (8 rows) over the bottom half of the wide one (16 rows); a basket whose
    // type is not in play yet shows the grey. Pictures of a tree filling up at each difficulty
    // go to the test-output folder.
    const int tCells[MAX_DIFFICULTY][4] = {{BASKET_COLOUR_UNUSED, 0, 1, BASKET_COLOUR_UNUSED},
                                           {2, 0, 1, BASKET_COLOUR_UNUSED},
                                           {2, 0, 1, 3}};
    for (int iDifficulty = 1; iDifficulty <= MAX_DIFFICULTY; ++iDifficulty)
    {
        NewLevel(iDifficulty);
        Play();
        while (g_iDifficultyLevel < iDifficulty)
        {
            pLevel->fModeTimer = DIFFICULTY_PERIOD + 1.0f;
            pLevel->Update(1.0f / 60.0f);
        }
        DrawFrame(nullptr);
        const Picture tBaskets = Grab();
        for (int b = 0; b < 4; ++b)
        {
            SCOPED_TRACE("difficulty " + std::to_string(iDifficulty) + " basket " +
                         std::to_string(b));
            const int iCell = 640 + 64 * tCells[iDifficulty - 1][b];
            float tSeen[3];
            float tWanted[3];
            ScreenMean(tBaskets, 120 * b + 4, 9, 120 * b + 116, 15, tSeen);
            AtlasMean(113, 119, iCell + 4, iCell + 60, tWanted);
            for (int c = 0; c < 3; ++c)
            {
                EXPECT_NEAR(tSeen[c], tWanted[c], 10.0f) << "wide strip channel " << c;
            }
            ScreenMean(tBaskets, 120 * b + 4, 1, 120 * b + 116, 7, tSeen);
            AtlasMean(57, 63, iCell + 4, iCell + 60, tWanted);
            for (int c = 0; c < 3; ++c)
            {
                EXPECT_NEAR(tSeen[c], tWanted[c], 10.0f) << "thin strip channel " << c;
            }
        }
        for (int i = 0; i < 600; ++i)
        {
            if (i % 40 == 0)
            {
                Spawn();  // a tree full of pommos at all ages
            }
            pLevel->Update(1.0f / 60.0f);
        }
        DrawFrame(s_pFont);
        SavePNG(Grab(), ("level-difficulty-" + std::to_string(iDifficulty) + ".png").c_str());
    }
}

TEST_F(LevelDrawTest, HudTextsAndOverlaysAppearWhereTheyBelong)
{
    NewLevel();
    DrawFrame(nullptr);
    const Picture tBare = Grab();
    DrawFrame(s_pFont);
    const Picture tReady = Grab();
    SavePNG(tReady, "level-get-ready.png");
    const int h = s_pFont->GetLineHeight();  // 31 at scale 1
    const int h8 = static_cast<int>(h * 0.8f);
    // "Hi Score: 0" at the top left, the score and multiplier at the top right, "3" at the
    // bottom right, "Get Ready!" in the middle; and nothing anywhere else.
    EXPECT_GT(Differences(tBare, tReady, 8, H - h8 - 4, 140, H - 4), 150);
    EXPECT_GT(Differences(tBare, tReady, 440, H - h8 - 4, 472, H - 4), 30);
    EXPECT_GT(Differences(tBare, tReady, 430, H - 2 * h8 - 4, 472, H - h8 - 4), 30);
    EXPECT_GT(Differences(tBare, tReady, 450, 24, 472, 24 + h8), 20);
    EXPECT_GT(Differences(tBare, tReady, 160, (H - h) / 2, 320, (H - h) / 2 + h), 300);
    EXPECT_EQ(Differences(tBare, tReady, 0, 40, 150, 200), 0);
    EXPECT_EQ(Differences(tBare, tReady, 0, 0, W, 22), 0);
    // "Get Ready!" is green.
    int iGreen = 0;
    for (int x = 160; x < 320; ++x)
    {
        const std::uint8_t* p = tReady.At(x, (H - h) / 2 + h / 2);
        iGreen += p[1] > 150 && p[0] < 120 && p[2] < 120;
    }
    EXPECT_GT(iGreen, 10);

    // Playing: the overlay goes. Paused: "Paused" and "Touch Screen to Resume", and no button.
    Play();
    pLevel->iScore = -7;
    DrawFrame(s_pFont);
    const Picture tPlaying = Grab();
    EXPECT_EQ(Differences(tBare, tPlaying, 160, (H - h) / 2, 320, (H - h) / 2 + h), 0);
    // A negative score is red.
    int iRed = 0;
    for (int y = H - h8 - 4; y < H - 4; ++y)
    {
        for (int x = 440; x < 472; ++x)
        {
            const std::uint8_t* p = tPlaying.At(x, y);
            iRed += p[0] > 180 && p[1] < 80 && p[2] < 80;
        }
    }
    EXPECT_GT(iRed, 10);
    pLevel->iScore = 0;
    pLevel->Pause();
    DrawFrame(s_pFont);
    const Picture tPaused = Grab();
    SavePNG(tPaused, "level-paused.png");
    EXPECT_GT(Differences(tPlaying, tPaused, 8, 244, 56, 292), 300);  // the button is gone
    EXPECT_GT(Differences(tBare, tPaused, 180, 160 + h / 4, 300, 160 + h / 4 + h), 200);
    EXPECT_GT(Differences(tBare, tPaused, 80, 160 - 5 * h / 4, 400, 160 - 5 * h / 4 + h), 500);

    // Game over: "Game Over", and after two seconds "Touch Screen to Continue" fading in;
    // with lost count 3 the pommos-left counter is gone.
    pLevel->iMode = LEVEL_GAME_OVER;
    pLevel->iLostCount = 3;
    pLevel->fModeTimer = 1.0f;
    pLevel->bNewHighScore = 1;
    DrawFrame(s_pFont);
    const Picture tOver = Grab();
    EXPECT_GT(Differences(tBare, tOver, 160, 160 + h / 4, 320, 160 + h / 4 + h), 300);
    EXPECT_EQ(Differences(tBare, tOver, 80, 160 - 5 * h / 4, 400, 160 - 5 * h / 4 + h), 0);
    EXPECT_GT(Differences(tBare, tOver, 130, 64, 350, 64 + h), 300);  // "New High Score!"
    EXPECT_EQ(Differences(tBare, tOver, 450, 24, 472, 24 + h8), 0);
    pLevel->fModeTimer = 3.5f;
    DrawFrame(s_pFont);
    const Picture tContinue = Grab();
    SavePNG(tContinue, "level-game-over.png");
    EXPECT_GT(Differences(tBare, tContinue, 60, 160 - 5 * h / 4, 420, 160 - 5 * h / 4 + h), 500);
}

TEST_F(LevelDrawTest, PommosAndPopupsAreDrawnWhereTheyAre)
{
    NewLevel(12);
    Play();
    const int k = SpawnOne();
    CPommo* pPommo = pLevel->pPommos[k];
    for (int i = 0; i < 500; ++i)  // grown to full size
    {
        pLevel->Update(1.0f / 60.0f);
    }
    DrawFrame(nullptr);
    const Picture tWith = Grab();
    const int x = static_cast<int>(pPommo->vPosition[0]);
    const int y = static_cast<int>(pPommo->vPosition[1]);
    pLevel->pPommos[k] = nullptr;
    DrawFrame(nullptr);
    const Picture tWithout = Grab();
    pLevel->pPommos[k] = pPommo;
    // It hangs below its attachment point: about 40 units of pommo under (x, y).
    EXPECT_GT(Differences(tWith, tWithout, x - 12, y - 30, x + 12, y - 5), 300);
    EXPECT_LT(Differences(tWith, tWithout, 0, y + 10, W, H), 40);
    // Its pick point lies inside it.
    EXPECT_NEAR(pPommo->vScreenPoint[0], x, 20.0f);
    EXPECT_LT(pPommo->vScreenPoint[1], pPommo->vPosition[1]);
    SavePNG(tWith, "level-playing.png");

    // A popup of 2 in white, one of -4 in red.
    pLevel->tPopups[0] = sPopup{100, 120, 2, 1.0f};
    pLevel->tPopups[1] = sPopup{380, 120, -4, 1.0f};
    DrawFrame(s_pFont);
    const Picture tPopups = Grab();
    int iWhite = 0;
    int iRed = 0;
    for (int yy = 120; yy < 150; ++yy)
    {
        for (int xx = 0; xx < 30; ++xx)
        {
            const std::uint8_t* p = tPopups.At(90 + xx, yy);
            iWhite += p[0] > 230 && p[1] > 230 && p[2] > 230;
            const std::uint8_t* q = tPopups.At(365 + xx, yy);
            iRed += q[0] > 200 && q[1] < 60 && q[2] < 60;
        }
    }
    EXPECT_GT(iWhite, 20);
    EXPECT_GT(iRed, 20);
}
