// The front end on the build's real data, under the virtual X server: the splash and the title,
// the pages touched through the real touch path, the sounds on SDL_mixer's disk driver, the
// store links through a recording opener, and what the picture shows, read back from GL.
// Screenshots of every screen go to the build's test-output folder.

#include <SDL.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "AllocationCounter.h"
#include "Audio.h"
#include "EngineFiles.h"
#include "FileSystem.h"
#include "FontManager.h"
#include "FrontEnd.h"
#include "FrontEndLayout.h"
#include "Game.h"
#include "GameTouch.h"
#include "Host.h"
#include "HostDisplay.h"
#include "Input.h"
#include "MusicPlayer.h"
#include "QuadRenderBuffer.h"
#include "Random.h"
#include "Screen.h"
#include "TestSupport.h"
#include "Textures.h"

namespace
{

constexpr int WIDTH = 480;
constexpr int HEIGHT = 320;

// Where the items are: all centred on x 164.
constexpr int ITEM_X = MENU_X;
constexpr int ROW_PLAY = MENU_MAIN_ROWS[0];  // main page; the free-games page uses the same rows
constexpr int ROW_OPTIONS = MENU_MAIN_ROWS[1];
constexpr int ROW_SEASONAL = MENU_MAIN_ROWS[2];
constexpr int ROW_FREE_GAMES = MENU_MAIN_ROWS[3];
constexpr int ROW_AUDIO = MENU_OPTION_ROWS[0];  // options page; the audio page's switches too
constexpr int ROW_INSTRUCTIONS = MENU_OPTION_ROWS[1];
constexpr int ROW_CREDITS = MENU_OPTION_ROWS[2];
constexpr int BACK_X = 40;  // inside the back button, bottom left
constexpr int BACK_Y = 40;

const std::string CATALOGUE = "https://apps.kettlegames.net/appredirect/?packageid=com.kg.";

using Picture = TestPicture;  // game units are pixels

bool Bright(const std::uint8_t* p)
{
    return p[0] > 200 && p[1] > 200 && p[2] > 200;
}

// Whether the credits show text, looked for left of the logo.
bool CreditsText(const Picture& tPicture)
{
    return tPicture.Count(60, 60, 301, 251, Bright) > 0;
}

// Whether two pictures are the same over the region (edges included).
bool RegionsEqual(const Picture& a, const Picture& b, int iLeft, int iRight, int iBottom, int iTop)
{
    return a.Differences(b, iLeft, iBottom, iRight + 1, iTop + 1, 0) == 0;
}

// A resource folder of links to the build's data with some files left out (relative paths).
std::string DataWithout(const std::string& strData, const std::set<std::string>& tLeftOut)
{
    namespace fs = std::filesystem;
    const std::string strDir = TEST_MakeTempDir("frontend-data");
    for (const fs::directory_entry& tEntry : fs::recursive_directory_iterator(strData))
    {
        const std::string strRelative = fs::relative(tEntry.path(), strData).string();
        const fs::path tTarget = fs::path(strDir) / strRelative;
        if (tEntry.is_directory())
        {
            fs::create_directories(tTarget);
        }
        else if (tLeftOut.count(strRelative) == 0)
        {
            fs::create_symlink(tEntry.path(), tTarget);
        }
    }
    return strDir;
}

class FrontEndTest : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        ASSERT_TRUE(TEST_OpenGLWindow(WIDTH, HEIGHT));
        HostDisplaySetForTest(true, WIDTH, HEIGHT);  // game units are window pixels
        ASSERT_TRUE(TEST_OpenMixer(22050, 1));
        const char* pData = std::getenv("BF_DATA_DIR");
        ASSERT_NE(pData, nullptr);
        s_strData = pData;
        TEST_InstallGameTouch();
        g_pFontManager = new FontManager();
        g_pMusicPlayer = new MusicPlayer();
        g_pMusicPlayer->Init();
    }

    // The audio thread must stop before exit.
    static void TearDownTestSuite()
    {
        delete g_pMusicPlayer;
        g_pMusicPlayer = nullptr;
        delete g_pFontManager;
        g_pFontManager = nullptr;
        TEST_RemoveGameTouch();
        TEST_CloseMixer();
        HostDisplaySetForTest(false, 0, 0);
    }

    void SetUp() override
    {
        FS_SetResourceDirectory(s_strData.c_str());
        g_pAudio = new CAudio();  // every test starts with empty sound tables
        RAND_Seed(20240607);
        g_pInput->clear();
    }

    void TearDown() override
    {
        tFrontEnd.Free();
        delete g_pAudio;
        g_pAudio = nullptr;
    }

    void Draw()
    {
        SCREEN_Clear();
        HostDisplayViewport(0, 0, 320, 480);
        SCREEN_Set2D();
        tFrontEnd.Render();
    }

    // One frame as the state machine runs it: update, draw, then the touch lists are emptied.
    bool Frame()
    {
        const bool bStay = tFrontEnd.Update();
        Draw();
        g_pInput->clear();
        return bStay;
    }

    bool Tap(int iX, int iY)
    {
        TEST_TapGame(iX, iY);
        return Frame();
    }
    // Two touches on an item of the column: the first lights it up, the second opens it.
    void Open(int iRow)
    {
        Tap(ITEM_X, iRow);
        Tap(ITEM_X, iRow);
    }

    // Entered as after a game, up to the menus; then, if asked, until the title has arrived.
    void ReachMenus(bool bWaitForTitle)
    {
        tFrontEnd.Init(FRONTEND_TITLE_FADE_IN);
        for (int i = 0; i < 20 && tFrontEnd.iMode != FRONTEND_MENUS; ++i)
        {
            Frame();
        }
        ASSERT_EQ(tFrontEnd.iMode, FRONTEND_MENUS);
        for (int i = 0; bWaitForTitle && i < 120 && tFrontEnd.fTitleLeftX < -1.0f; ++i)
        {
            Frame();
        }
    }

    CMenu* Page(int iMainItem) { return tFrontEnd.pMainMenu->pItems[iMainItem]->pSubMenu; }
    CMenu* OptionsPage(int iItem) { return Page(1)->pItems[iItem]->pSubMenu; }

    static Picture Read() { return TEST_ReadPicture(WIDTH, HEIGHT); }
    static void Shot(const char* pName) { Read().Save(std::string("frontend-") + pName + ".png"); }

    static std::string s_strData;
    CFrontEnd tFrontEnd;
};

std::string FrontEndTest::s_strData;

}  // namespace

TEST_F(FrontEndTest, ResumingShowsOnlyTheSplashThenLeaves)
{
    tFrontEnd.Init(FRONTEND_SPLASH_THEN_LEAVE);
    Draw();
    Shot("splash");
    // The splash is the maker's warm cream around the logo, fully opaque.
    const Picture tSplash = Read();
    EXPECT_NEAR(tSplash.At(4, 4)[0], 0xFF, 12);
    EXPECT_NEAR(tSplash.At(4, 4)[1], 0xF6, 12);
    EXPECT_NEAR(tSplash.At(4, 4)[2], 0xE6, 12);

    // It fades out, then the front end ends at once: the blue sky of the title never shows.
    int iFrames = 0;
    while (iFrames < 200 && Frame())
    {
        ++iFrames;
        EXPECT_GE(Read().At(470, 315)[0], Read().At(470, 315)[2]) << "frame " << iFrames;
    }
    EXPECT_EQ(iFrames, 51);  // 50 steps of 0.02 leave a trace above 0; the 51st ends it
    EXPECT_EQ(tFrontEnd.pBackground, nullptr);
    EXPECT_EQ(tFrontEnd.iMode, FRONTEND_SPLASH_THEN_LEAVE);
    EXPECT_GE(tFrontEnd.iSounds[FRONTEND_SOUND_JINGLE], 0);  // made ready for the title
}

TEST_F(FrontEndTest, TheTitleArrivesInItsBandAndTheJinglePlaysTheFrontEndsOwnSound)
{
    // Something else took the first four source slots before the front end made its sounds.
    const int iOther = g_pAudio->LoadSound("no");
    ASSERT_GE(iOther, 0);
    for (int i = 0; i < 4; ++i)
    {
        ASSERT_EQ(g_pAudio->CreateSource(iOther, 0), i);
    }

    ReachMenus(false);
    Draw();
    const Picture tWithout = Read();  // both pieces still outside the screen

    // The pieces slide in; once they have arrived the jingle plays from the front end's own
    // source, and nothing else plays.
    for (int i = 0; i < 100 && tFrontEnd.fTitleLeftX < -1.0f; ++i)
    {
        Frame();
    }
    EXPECT_TRUE(g_pAudio->IsSourcePlaying(tFrontEnd.iSounds[FRONTEND_SOUND_JINGLE]));
    for (int i = 0; i < 4; ++i)
    {
        EXPECT_FALSE(g_pAudio->IsSourcePlaying(i)) << "slot " << i;
    }
    // The title changed nothing outside its band, rows 144..288.
    const Picture tArrived = Read();
    EXPECT_TRUE(RegionsEqual(tArrived, tWithout, 0, WIDTH - 1, 0, 143));
    EXPECT_TRUE(RegionsEqual(tArrived, tWithout, 0, WIDTH - 1, 289, HEIGHT - 1));
    EXPECT_FALSE(RegionsEqual(tArrived, tWithout, 0, 140, 144, 288));
    Shot("main-menu");
}

TEST_F(FrontEndTest, AJingleThatCannotBeLoadedLeavesSilence)
{
    FS_SetResourceDirectory(DataWithout(s_strData, {"SFX/Boughfall1.ogg"}).c_str());
    const int iOther = g_pAudio->LoadSound("no");
    for (int i = 0; i < 4; ++i)
    {
        g_pAudio->CreateSource(iOther, 0);
    }
    ReachMenus(true);
    EXPECT_EQ(tFrontEnd.iSounds[FRONTEND_SOUND_JINGLE], -1);
    for (int i = 0; i < MAX_SOUNDS; ++i)
    {
        EXPECT_FALSE(g_pAudio->IsSourcePlaying(i)) << "slot " << i;
    }
}

TEST_F(FrontEndTest, OptionsIsHighlightedFirstThenOpensAndPlayEnds)
{
    ReachMenus(true);
    Tap(ITEM_X, ROW_OPTIONS);
    EXPECT_EQ(tFrontEnd.pCurrentMenu, tFrontEnd.pMainMenu);
    EXPECT_TRUE(g_pAudio->IsSourcePlaying(tFrontEnd.iSounds[FRONTEND_SOUND_SCROLL]));
    Tap(ITEM_X, ROW_OPTIONS);
    EXPECT_EQ(tFrontEnd.pCurrentMenu, Page(1));
    EXPECT_TRUE(g_pAudio->IsSourcePlaying(tFrontEnd.iSounds[FRONTEND_SOUND_FORWARD]));
    Shot("options");

    // Back, and Play: the front end ends.
    EXPECT_TRUE(Tap(BACK_X, BACK_Y));
    EXPECT_TRUE(g_pAudio->IsSourcePlaying(tFrontEnd.iSounds[FRONTEND_SOUND_BACK]));
    EXPECT_TRUE(Tap(ITEM_X, ROW_PLAY));  // highlighted
    EXPECT_FALSE(Tap(ITEM_X, ROW_PLAY));

    // Free gives back the atlas and the font; entering again builds them afresh.
    tFrontEnd.Free();
    EXPECT_EQ(TEX_FindTexture("frontend"), -1);
    for (CFont* pFont : g_pFontManager->pFonts)
    {
        EXPECT_EQ(pFont, nullptr);
    }
    ReachMenus(false);
    EXPECT_TRUE(Frame());
    EXPECT_EQ(tFrontEnd.pCurrentMenu, tFrontEnd.pMainMenu);
}

TEST_F(FrontEndTest, TheAudioPageShowsAndAppliesTheSwitches)
{
    g_pAudio->DisableSound();
    ReachMenus(true);
    Open(ROW_OPTIONS);
    Tap(ITEM_X, ROW_AUDIO);  // item 0 of a fresh page: opens at once
    CMenu* pAudio = OptionsPage(0);
    ASSERT_EQ(tFrontEnd.pCurrentMenu, pAudio);
    char strText[MAX_DISPLAY_LENGTH];
    EXPECT_STREQ(pAudio->pItems[0]->DisplayText(strText, sizeof(strText)), "SFX Off");
    EXPECT_STREQ(pAudio->pItems[1]->DisplayText(strText, sizeof(strText)), "Music On");
    Shot("audio");

    // Effects on again: the confirmation is the front end's own forward sound.
    Tap(ITEM_X, ROW_AUDIO);
    EXPECT_TRUE(g_pAudio->IsSoundEnabled());
    EXPECT_TRUE(g_pAudio->IsSourcePlaying(tFrontEnd.iSounds[FRONTEND_SOUND_FORWARD]));
    EXPECT_STREQ(pAudio->pItems[0]->DisplayText(strText, sizeof(strText)), "SFX On");

    // Music off: the switch and the player follow; entering again shows it off.
    Open(ROW_INSTRUCTIONS);
    EXPECT_FALSE(tFrontEnd.IsMusicEnabled());
    EXPECT_FALSE(g_pMusicPlayer->IsEnabled());
    tFrontEnd.Free();
    tFrontEnd.SetMusicEnabled(false);
    tFrontEnd.Init(FRONTEND_TITLE_FADE_IN);
    EXPECT_STREQ(OptionsPage(0)->pItems[1]->DisplayText(strText, sizeof(strText)), "Music Off");
    g_pMusicPlayer->Enable();
}

// The instructions hide the logo; the credits keep it over their picture, scroll a unit a
// frame without allocating, and start again from the top on every visit.
TEST_F(FrontEndTest, TheInstructionsHideTheLogoAndTheCreditsScrollUnderIt)
{
    ReachMenus(true);
    Open(ROW_OPTIONS);
    Open(ROW_INSTRUCTIONS);
    ASSERT_TRUE(tFrontEnd.bShowInstructions);
    Shot("instructions");
    const Picture tInstructions = Read();

    // Where the logo would be (below the credits' text), only the instructions picture shows.
    SCREEN_Clear();
    SCREEN_Set2D();
    tFrontEnd.pInstructions->Draw(false, 1.0f);
    EXPECT_TRUE(RegionsEqual(Read(), tInstructions, 315, 471, 8, 50));

    // Back clears the screen; the credits keep the logo over their picture.
    Tap(BACK_X, BACK_Y);
    EXPECT_FALSE(tFrontEnd.bShowInstructions);
    Tap(ITEM_X, ROW_CREDITS);
    Tap(ITEM_X, ROW_CREDITS);
    ASSERT_TRUE(tFrontEnd.bShowCredits);
    const Picture tCredits = Read();
    SCREEN_Clear();
    SCREEN_Set2D();
    tFrontEnd.pCreditsBackground->Draw(false, 1.0f);
    const Picture tBare = Read();
    glPushMatrix();
    glTranslatef(315.0f, 8.0f, -1.0f);
    tFrontEnd.pLogo->Draw(true, 1.0f);
    glPopMatrix();
    const Picture tWithLogo = Read();
    EXPECT_FALSE(RegionsEqual(tCredits, tBare, 315, 471, 8, 50));
    EXPECT_TRUE(RegionsEqual(tCredits, tWithLogo, 315, 471, 8, 50));

    EXPECT_FALSE(CreditsText(tCredits));  // the first lines are empty
    for (int i = 0; i < 400 && tFrontEnd.iCreditsLine != 6; ++i)
    {
        Frame();
    }
    EXPECT_TRUE(CreditsText(Read()));
    Shot("credits");

    // Steady frames allocate nothing.
    const long iBefore = TEST_AllocationCount();
    for (int i = 0; i < 120; ++i)
    {
        Frame();
    }
    EXPECT_EQ(TEST_AllocationCount(), iBefore);

    // Leaving and coming back starts them again from the first (empty) lines.
    Tap(BACK_X, BACK_Y);
    EXPECT_FALSE(tFrontEnd.bShowCredits);
    Tap(ITEM_X, ROW_CREDITS);  // still highlighted
    ASSERT_TRUE(tFrontEnd.bShowCredits);
    EXPECT_EQ(tFrontEnd.iCreditsLine, 0);
    EXPECT_FALSE(CreditsText(Read()));
}

TEST_F(FrontEndTest, EveryItemAndCreditsLineFitsItsBoard)
{
    ReachMenus(false);
    CFont* pFont = tFrontEnd.pFont;
    // Every page's items, the switches with each of their values, as they are drawn: centred
    // between their sides with their bottom at iBottom, inside the frame of the title's board.
    const sScreenBox tMenuRoom = MENU_BOARD.Inset(BOARD_FRAME);
    const int iLineHeight = pFont->GetLineHeight();
    for (CMenu* pPage : {tFrontEnd.pMainMenu, Page(1), OptionsPage(0), Page(3)})
    {
        for (int i = 0; i < pPage->iNumItems; ++i)
        {
            CMenuItem* pItem = pPage->pItems[i];
            for (int v = 0; v < std::max(1, pItem->iNumValues); ++v)
            {
                char strText[MAX_DISPLAY_LENGTH];
                pItem->DisplayText(strText, sizeof strText);
                const int iWidth = pFont->GetTextWidth(strText, 0);
                const int iMiddle = (pItem->iLeft + pItem->iRight) / 2;
                EXPECT_TRUE(tMenuRoom.Holds(iMiddle - iWidth / 2, pItem->iBottom,
                                            iMiddle + iWidth / 2, pItem->iBottom + iLineHeight))
                    << strText;
                // A touch on the item never lands on the page's back button instead (the
                // items written at y 96 graze its top by 2 pixels).
                if (pPage->pBackImage != nullptr)
                {
                    EXPECT_TRUE(pItem->iLeft >= pPage->pBackImage->GetWidth() ||
                                pItem->iBottom >= pPage->pBackImage->GetHeight() - 2)
                        << strText << " reaches the back button";
                }
                if (pItem->iNumValues > 0)
                {
                    pItem->CycleValue(nullptr);
                }
            }
        }
    }
    // The credits at their scale of 1, centred, the top line as high as it rises.
    const sScreenBox tCreditsRoom = CREDITS_BOARD.Inset(BOARD_FRAME);
    const int iLines = (CREDITS_HEIGHT - iLineHeight) / iLineHeight;
    pFont->SetScale(1.0f, 1.0f);
    for (const char* pLine : FRONTEND_CREDITS)
    {
        const int iWidth = pFont->GetTextWidth(pLine, 0);
        EXPECT_TRUE(
            tCreditsRoom.Holds(CREDITS_X - iWidth / 2, CREDITS_BOTTOM, CREDITS_X + iWidth / 2,
                               CREDITS_BOTTOM + iLineHeight * iLines + pFont->GetLineHeight()))
            << pLine;
    }
}

// (A browser that cannot be started is test_host's: nothing opens and the game runs on.)
TEST_F(FrontEndTest, StoreLinksOpenTheirCataloguePages)
{
    const std::string strDir = TEST_MakeTempDir("frontend-open");
    ReachMenus(false);

    const std::string strOut = strDir + "/urls.txt";
    setenv("BOUGHFALL_URL_OPENER", TEST_WriteRecordingOpener(strDir, strOut).c_str(), 1);
    Open(ROW_SEASONAL);
    Open(ROW_FREE_GAMES);
    ASSERT_EQ(tFrontEnd.pCurrentMenu, Page(3));
    Shot("free-games");
    const int tRows[FRONTEND_NUM_OTHER_TITLES] = {ROW_PLAY, ROW_OPTIONS, ROW_SEASONAL,
                                                  ROW_FREE_GAMES};
    Tap(ITEM_X, tRows[0]);
    for (int i = 1; i < FRONTEND_NUM_OTHER_TITLES; ++i)
    {
        Tap(ITEM_X, tRows[i]);
        EXPECT_TRUE(Tap(ITEM_X, tRows[i]));
    }
    std::vector<std::string> tUrls = TEST_WaitForLines(strOut, 5);
    std::sort(tUrls.begin(), tUrls.end());
    std::vector<std::string> tExpected = {CATALOGUE + "boughfall.winterfall", CATALOGUE + "piphop",
                                          CATALOGUE + "steamsnails", CATALOGUE + "lidflip",
                                          CATALOGUE + "brewball"};
    std::sort(tExpected.begin(), tExpected.end());
    EXPECT_EQ(tUrls, tExpected);
    unsetenv("BOUGHFALL_URL_OPENER");
}

TEST_F(FrontEndTest, AFontWithoutLineHeightStillScrollsTheCredits)
{
    const std::string strDir =
        DataWithout(s_strData, {"Fonts/Boughfall.fnt", "Textures/Fonts/Boughfall_0.tga"});
    ASSERT_TRUE(TEST_WriteMonoFont(strDir, "Boughfall", 0, 10));
    FS_SetResourceDirectory(strDir.c_str());
    ReachMenus(false);
    Open(ROW_OPTIONS);
    Open(ROW_CREDITS);
    ASSERT_TRUE(tFrontEnd.bShowCredits);
    testing::internal::CaptureStdout();  // the font's capacity notice
    for (int i = 0; i < 5; ++i)
    {
        EXPECT_TRUE(Frame());
    }
    testing::internal::GetCapturedStdout();
    // Opened and drawn six times, a unit a line: each line takes two frames.
    EXPECT_EQ(tFrontEnd.iCreditsLine, 3);
}

TEST_F(FrontEndTest, MissingAtlasOrFontStopsTheGameWithAClearLine)
{
    const std::string strNoFont = DataWithout(s_strData, {"Fonts/Boughfall.fnt"});
    BF_EXPECT_ASSERT(
        {
            FS_SetResourceDirectory(strNoFont.c_str());
            tFrontEnd.Init(FRONTEND_SPLASH_THEN_TITLE);
        },
        "The front end cannot run without its font \"Fonts/Boughfall.fnt\"\n"
        "FrontEnd:[0-9]+: failed assertion `pFont != NULL'");
    // The texture manager's stand-in picture does not count as the atlas.
    const std::string strNoAtlas = DataWithout(s_strData, {"Textures/frontend.tga"});
    BF_EXPECT_ASSERT(
        {
            FS_SetResourceDirectory(strNoAtlas.c_str());
            tFrontEnd.Init(FRONTEND_SPLASH_THEN_TITLE);
        },
        "The front end cannot run without its atlas \"Textures/frontend.tga\"\n"
        "FrontEnd:180: failed assertion `TEX_LoadTGATexture\\(\"frontend\", \\(GLuint "
        "\\*\\)&iTitleTexture, NULL, NULL\\)'");
}
