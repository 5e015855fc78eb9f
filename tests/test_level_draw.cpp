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
#include "TGAFile.h"
#include "TestSupport.h"

namespace
{

constexpr int W = 480;
constexpr int H = 320;

TestPicture Grab()
{
    return TEST_ReadPicture(W, H);
}

// The mean colour of the block [x0, x1) x [y0, y1) of whatever fnAt(x, y) reads.
template <typename F>
void Mean(F&& fnAt, int x0, int y0, int x1, int y1, float tMean[3])
{
    tMean[0] = tMean[1] = tMean[2] = 0.0f;
    for (int y = y0; y < y1; ++y)
    {
        for (int x = x0; x < x1; ++x)
        {
            for (int k = 0; k < 3; ++k)
            {
                tMean[k] += fnAt(x, y)[k] / static_cast<float>((y1 - y0) * (x1 - x0));
            }
        }
    }
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
    const TestPicture tFrame = Grab();
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
    tFrame.Save("level-scene.png");

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
        const TestPicture tBaskets = Grab();
        for (int b = 0; b < 4; ++b)
        {
            const int iCell = 640 + 64 * tCells[iDifficulty - 1][b];
            float tSeen[3];
            float tWanted[3];
            // The wide strip, then the thin one: screen rows and the atlas rows they come from.
            for (const auto& [iScreenY, iAtlasRow] : {std::pair{9, 113}, std::pair{1, 57}})
            {
                Mean([&](int x, int y) { return tBaskets.At(x, y); }, 120 * b + 4, iScreenY,
                     120 * b + 116, iScreenY + 6, tSeen);
                Mean([](int c, int r) { return Atlas(r, c); }, iCell + 4, iAtlasRow, iCell + 60,
                     iAtlasRow + 6, tWanted);
                for (int c = 0; c < 3; ++c)
                {
                    EXPECT_NEAR(tSeen[c], tWanted[c], 10.0f)
                        << "difficulty " << iDifficulty << " basket " << b << " row " << iScreenY;
                }
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
        Grab().Save("level-difficulty-" + std::to_string(iDifficulty) + ".png");
    }
}

TEST_F(LevelDrawTest, HudTextsAndOverlaysAppearWhereTheyBelong)
{
    NewLevel();
    DrawFrame(nullptr);
    const TestPicture tBare = Grab();
    DrawFrame(s_pFont);
    const TestPicture tReady = Grab();
    tReady.Save("level-get-ready.png");
    const int h = s_pFont->GetLineHeight();  // 31 at scale 1
    const int h8 = static_cast<int>(h * 0.8f);
    // "Hi Score: 0" at the top left, the score and multiplier at the top right, "3" at the
    // bottom right, "Get Ready!" in the middle; and nothing anywhere else.
    EXPECT_GT(tReady.Differences(tBare, 8, H - h8 - 4, 140, H - 4), 150);
    EXPECT_GT(tReady.Differences(tBare, 440, H - h8 - 4, 472, H - 4), 30);
    EXPECT_GT(tReady.Differences(tBare, 430, H - 2 * h8 - 4, 472, H - h8 - 4), 30);
    EXPECT_GT(tReady.Differences(tBare, 450, 24, 472, 24 + h8), 20);
    EXPECT_GT(tReady.Differences(tBare, 160, (H - h) / 2, 320, (H - h) / 2 + h), 300);
    EXPECT_EQ(tReady.Differences(tBare, 0, 40, 150, 200), 0);
    EXPECT_EQ(tReady.Differences(tBare, 0, 0, W, 22), 0);
    // "Get Ready!" is green.
    EXPECT_GT(
        tReady.Count(160, (H - h) / 2 + h / 2, 320, (H - h) / 2 + h / 2 + 1,
                     [](const std::uint8_t* p) { return p[1] > 150 && p[0] < 120 && p[2] < 120; }),
        10);

    // Playing: the overlay goes. Paused: "Paused" and "Touch Screen to Resume", and no button.
    Play();
    pLevel->iScore = -7;
    DrawFrame(s_pFont);
    const TestPicture tPlaying = Grab();
    EXPECT_EQ(tPlaying.Differences(tBare, 160, (H - h) / 2, 320, (H - h) / 2 + h), 0);
    // A negative score is red.
    EXPECT_GT(
        tPlaying.Count(440, H - h8 - 4, 472, H - 4,
                       [](const std::uint8_t* p) { return p[0] > 180 && p[1] < 80 && p[2] < 80; }),
        10);
    pLevel->iScore = 0;
    pLevel->Pause();
    DrawFrame(s_pFont);
    const TestPicture tPaused = Grab();
    tPaused.Save("level-paused.png");
    EXPECT_GT(tPaused.Differences(tPlaying, 8, 244, 56, 292), 300);  // the button is gone
    EXPECT_GT(tPaused.Differences(tBare, 180, 160 + h / 4, 300, 160 + h / 4 + h), 200);
    EXPECT_GT(tPaused.Differences(tBare, 80, 160 - 5 * h / 4, 400, 160 - 5 * h / 4 + h), 500);

    // Game over: "Game Over", and after two seconds "Touch Screen to Continue" fading in;
    // with lost count 3 the pommos-left counter is gone.
    pLevel->iMode = LEVEL_GAME_OVER;
    pLevel->iLostCount = 3;
    pLevel->fModeTimer = 1.0f;
    pLevel->bNewHighScore = 1;
    DrawFrame(s_pFont);
    const TestPicture tOver = Grab();
    EXPECT_GT(tOver.Differences(tBare, 160, 160 + h / 4, 320, 160 + h / 4 + h), 300);
    EXPECT_EQ(tOver.Differences(tBare, 80, 160 - 5 * h / 4, 400, 160 - 5 * h / 4 + h), 0);
    EXPECT_GT(tOver.Differences(tBare, 130, 64, 350, 64 + h), 300);  // "New High Score!"
    EXPECT_EQ(tOver.Differences(tBare, 450, 24, 472, 24 + h8), 0);
    pLevel->fModeTimer = 3.5f;
    DrawFrame(s_pFont);
    const TestPicture tContinue = Grab();
    tContinue.Save("level-game-over.png");
    EXPECT_GT(tContinue.Differences(tBare, 60, 160 - 5 * h / 4, 420, 160 - 5 * h / 4 + h), 500);
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
    const TestPicture tWith = Grab();
    const int x = static_cast<int>(pPommo->vPosition[0]);
    const int y = static_cast<int>(pPommo->vPosition[1]);
    pLevel->pPommos[k] = nullptr;
    DrawFrame(nullptr);
    const TestPicture tWithout = Grab();
    pLevel->pPommos[k] = pPommo;
    // It hangs below its attachment point: about 40 units of pommo under (x, y).
    EXPECT_GT(tWithout.Differences(tWith, x - 12, y - 30, x + 12, y - 5), 300);
    EXPECT_LT(tWithout.Differences(tWith, 0, y + 10, W, H), 40);
    // Its pick point lies inside it.
    EXPECT_NEAR(pPommo->vScreenPoint[0], x, 20.0f);
    EXPECT_LT(pPommo->vScreenPoint[1], pPommo->vPosition[1]);
    tWith.Save("level-playing.png");

    // A popup of 2 in white, one of -4 in red.
    pLevel->tPopups[0] = sPopup{100, 120, 2, 1.0f};
    pLevel->tPopups[1] = sPopup{380, 120, -4, 1.0f};
    DrawFrame(s_pFont);
    const TestPicture tPopups = Grab();
    EXPECT_GT(
        tPopups.Count(90, 120, 120, 150,
                      [](const std::uint8_t* p) { return p[0] > 230 && p[1] > 230 && p[2] > 230; }),
        20);
    EXPECT_GT(
        tPopups.Count(365, 120, 395, 150,
                      [](const std::uint8_t* p) { return p[0] > 200 && p[1] < 60 && p[2] < 60; }),
        20);
}
