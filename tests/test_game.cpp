// The game's state machine through the real shell (delegate and GL view) with the fixed frame
// clock: the front end first, Play through both 34-frame fades, a saved game resumed once at
// launch with no fade, what quitting writes in each state, a failed resume, focus, and the
// pause and back keys from the scripted driver.

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "Application.h"
#include "Audio.h"
#include "BaseAppAppDelegate.h"
#include "EAGLView.h"
#include "FrontEnd.h"
#include "FrontEndLayout.h"
#include "Game.h"
#include "GameTouch.h"
#include "Host.h"
#include "HostDisplay.h"
#include "Input.h"
#include "Level.h"
#include "Menu.h"
#include "Screen.h"
#include "ScriptDriver.h"
#include "TestSupport.h"
#include "Touch.h"

namespace
{

class GameTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        ASSERT_TRUE(TEST_OpenGLWindow(480, 320));
        HostDisplaySetForTest(true, 480, 320);
        // The build's data; the saves go to the test's own folder (set per test).
        setenv("CFProcessPath", (std::string(std::getenv("BF_BINARY_DIR")) + "/boughfall").c_str(),
               1);
        GAME_SeedRandom(5);
        GAME_FixFrameClock(1.0f / 60.0f);
    }

    void SetUp() override
    {
        strDataHome = TEST_MakeTempDir("game");
        strSaves = strDataHome + "/boughfall/Data";
    }

    void TearDown() override
    {
        GAME_SetClock(nullptr);
        GAME_FixFrameClock(1.0f / 60.0f);
    }

    // Launches the game: the delegate's launch, as the framework sends it.
    void Launch()
    {
        setenv("XDG_DATA_HOME", strDataHome.c_str(), 1);
        UIApplication* pApplication = UIApplication::sharedApplication();
        pApplication->reset();
        FW_ResetTouches();
        SHELL_LoadMainInterface(pApplication);
        pApplication->finishLaunching();
        pDelegate = static_cast<BaseAppAppDelegate*>(pApplication->delegate());
        pView = pDelegate->glView();
    }

    void Quit()
    {
        UIApplication::sharedApplication()->requestTermination();
        pView->stopAnimation();
        delete pDelegate;
        pDelegate = nullptr;
        UIApplication::sharedApplication()->reset();
    }

    // One frame; the test clock, when the frame timer reads it, moves on by a frame's time.
    void Frame()
    {
        s_iClock += iFrameNanoseconds;
        pView->drawView();
    }
    static std::int64_t TestClock() { return s_iClock; }

    // Frames until the state is reached; the frames it took, or -1.
    int FramesUntil(int iState, int iMost = 2000)
    {
        for (int i = 1; i <= iMost; ++i)
        {
            Frame();
            if (AppState == iState)
            {
                return i;
            }
        }
        return -1;
    }

    // Frames until the title's menus take touches.
    void ReachMenus()
    {
        for (int i = 0; i < 2000 && g_pFrontEnd->iMode != FRONTEND_MENUS; ++i)
        {
            Frame();
        }
    }

    // From launch to a level in play: the menus, Play, both fades, one second getting ready.
    void IntoALevel()
    {
        ReachMenus();
        ASSERT_EQ(g_pFrontEnd->iMode, FRONTEND_MENUS);
        TEST_TapGame(MENU_X, 158);
        ASSERT_GT(FramesUntil(APP_GAME), 0);
        for (int i = 0; i < 70; ++i)
        {
            Frame();
        }
        ASSERT_EQ(g_pGame->pLevel->iMode, LEVEL_PLAYING);
    }

    // Keys from the scripted driver: steps numbered from the next frame drawn (0), which reach
    // the game through the host and the framework after that frame.
    void PlayScript(const std::string& strSteps)
    {
        const std::string strPath = strDataHome + "/keys.txt";
        ASSERT_TRUE(
            TEST_WriteFile(strPath, std::vector<std::uint8_t>(strSteps.begin(), strSteps.end())));
        ASSERT_TRUE(SCRIPT_LoadFile(strPath.c_str()));
        FW_InstallHostCalls();
    }

    bool SavedGameExists() const { return std::filesystem::exists(strSaves + "/gamesave.dat"); }

    std::string strDataHome;
    std::string strSaves;
    BaseAppAppDelegate* pDelegate = nullptr;
    EAGLView* pView = nullptr;
    static inline std::int64_t s_iClock = 0;
    std::int64_t iFrameNanoseconds = 16666667;
};

}  // namespace

TEST_F(GameTest, TheFrontEndComesFirstAndPlayFadesOutAndIn)
{
    Launch();
    Frame();
    EXPECT_EQ(AppState, APP_FRONTEND);
    EXPECT_EQ(g_pFrontEnd->iMode, FRONTEND_SPLASH_THEN_TITLE);
    ReachMenus();
    ASSERT_EQ(g_pFrontEnd->iMode, FRONTEND_MENUS);

    TEST_TapGame(MENU_X, 158);  // Play acts on the first touch
    Frame();
    EXPECT_EQ(AppState, APP_FRONTEND_FADE_OUT);
    EXPECT_EQ(FramesUntil(APP_START_GAME), 34);
    EXPECT_EQ(FADE_Level(), 1.0f);
    Frame();  // start: the level appears and begins to fade in in the same frame
    EXPECT_EQ(AppState, APP_GAME_FADE_IN);
    ASSERT_NE(g_pGame->pLevel, nullptr);
    EXPECT_EQ(g_pGame->pLevel->iMode, LEVEL_GET_READY);
    EXPECT_EQ(FramesUntil(APP_GAME), 33);  // 34 steps in all
    EXPECT_EQ(FADE_Level(), 0.0f);
    // The level was frozen during its fade-in: the first update comes now, handed the fade.
    EXPECT_EQ(g_pGame->pLevel->fModeTimer, 0.0f);
    Frame();
    EXPECT_NEAR(g_pGame->pLevel->fModeTimer, 34.0f / 60.0f, 1e-5f);

    Quit();  // still getting ready: nothing is saved
    EXPECT_FALSE(SavedGameExists());
}

TEST_F(GameTest, ASavedGameIsResumedOncePausedWithNoFade)
{
    Launch();
    IntoALevel();
    g_pGame->pLevel->iScore = 12;
    for (int i = 0; i < 30; ++i)
    {
        Frame();
    }
    Quit();
    ASSERT_TRUE(SavedGameExists());
    const std::vector<std::uint8_t> tSaved = TEST_ReadFile(strSaves + "/gamesave.dat");

    Launch();
    EXPECT_TRUE(bResumeSavedGame);
    EXPECT_EQ(g_pFrontEnd->iMode, FRONTEND_SPLASH_THEN_LEAVE);
    // After the splash, straight into the level: no fade-out, no fade-in.
    int iFrames = 0;
    while (AppState == APP_FRONTEND && iFrames < 500)
    {
        Frame();
        ++iFrames;
        EXPECT_EQ(FADE_Level(), 0.0f);
    }
    EXPECT_EQ(AppState, APP_START_GAME);
    Frame();
    EXPECT_EQ(AppState, APP_GAME);  // the fade-in had nothing to do
    EXPECT_EQ(FADE_Level(), 0.0f);
    ASSERT_NE(g_pGame->pLevel, nullptr);
    EXPECT_EQ(g_pGame->pLevel->iMode, LEVEL_PAUSED);
    EXPECT_EQ(g_pGame->pLevel->iScore, 12);
    EXPECT_FALSE(SavedGameExists());  // consumed
    EXPECT_FALSE(bResumeSavedGame);
    for (int i = 0; i < 10; ++i)
    {
        Frame();
    }
    Quit();  // paused in a level: saved again, the same game
    ASSERT_TRUE(SavedGameExists());
    EXPECT_EQ(TEST_ReadFile(strSaves + "/gamesave.dat"), tSaved);
}

TEST_F(GameTest, QuittingWritesOnlyFromALevel)
{
    Launch();
    for (int i = 0; i < 20; ++i)
    {
        Frame();
    }
    Quit();  // in the front end
    EXPECT_FALSE(SavedGameExists());

    Launch();
    ReachMenus();
    TEST_TapGame(MENU_X, 158);
    Frame();
    Frame();
    ASSERT_EQ(AppState, APP_FRONTEND_FADE_OUT);
    Quit();  // in the fade
    EXPECT_FALSE(SavedGameExists());

    Launch();
    IntoALevel();
    pDelegate->applicationWillResignActive(UIApplication::sharedApplication());
    EXPECT_EQ(g_pGame->pLevel->iMode, LEVEL_PAUSED);
    Quit();  // paused in a level
    EXPECT_TRUE(SavedGameExists());
}

// A browser tab that is hidden may be closed without another word: going to the background
// saves a level in play as a quit would, and coming back removes that file, since the level goes
// on from there; the front end writes nothing, and a file found at launch stays for its resume.
TEST_F(GameTest, TheBackgroundSavesALevelInPlayAndTheForegroundTakesItBack)
{
    UIApplication* pApplication = nullptr;
    Launch();
    pApplication = UIApplication::sharedApplication();
    for (int i = 0; i < 20; ++i)
    {
        Frame();
    }
    pApplication->resignActive();
    pApplication->enterBackground();  // in the front end
    EXPECT_FALSE(SavedGameExists());
    pApplication->enterForeground();
    pApplication->becomeActive();

    IntoALevel();
    g_pGame->pLevel->iScore = 7;
    pApplication->resignActive();
    pApplication->enterBackground();
    EXPECT_EQ(g_pGame->pLevel->iMode, LEVEL_PAUSED);
    ASSERT_TRUE(SavedGameExists());
    const std::vector<std::uint8_t> tHidden = TEST_ReadFile(strSaves + "/gamesave.dat");
    pApplication->enterForeground();
    pApplication->becomeActive();
    EXPECT_FALSE(SavedGameExists());
    // The level goes on, paused until a touch, and then plays for seconds as before.
    EXPECT_EQ(g_pGame->pLevel->iMode, LEVEL_PAUSED);
    TEST_TapGame(240, 300);
    for (int i = 0; i < 180; ++i)
    {
        Frame();
    }
    EXPECT_EQ(AppState, APP_GAME);
    EXPECT_NE(g_pGame->pLevel->iMode, LEVEL_PAUSED);
    EXPECT_FALSE(SavedGameExists());
    // Hidden again and never shown: the next start resumes what was written then.
    pApplication->resignActive();
    pApplication->enterBackground();
    ASSERT_TRUE(SavedGameExists());
    EXPECT_NE(TEST_ReadFile(strSaves + "/gamesave.dat"), tHidden);
    Quit();

    Launch();
    pApplication = UIApplication::sharedApplication();
    EXPECT_TRUE(bResumeSavedGame);
    Frame();
    pApplication->resignActive();
    pApplication->enterBackground();  // during the splash
    pApplication->enterForeground();
    pApplication->becomeActive();
    EXPECT_TRUE(SavedGameExists());  // still waiting for its resume
    EXPECT_GT(FramesUntil(APP_GAME), 0);
    EXPECT_EQ(g_pGame->pLevel->iMode, LEVEL_PAUSED);
    EXPECT_EQ(g_pGame->pLevel->iScore, 7);
    EXPECT_FALSE(SavedGameExists());
    Quit();
}

TEST_F(GameTest, AFailedResumeGoesBackToTheTitleAndTheFileGoes)
{
    ASSERT_EQ(system(("mkdir -p " + strSaves).c_str()), 0);
    ASSERT_TRUE(TEST_WriteFile(strSaves + "/gamesave.dat", {'K', 'T', 'G', 'F', 'S', 'V', 9, 0}));
    Launch();
    EXPECT_TRUE(bResumeSavedGame);
    ASSERT_GT(FramesUntil(APP_START_GAME, 500), 0);
    Frame();
    EXPECT_EQ(AppState, APP_LEAVE_GAME);
    EXPECT_FALSE(SavedGameExists());
    // The screen was never faded out, so the title comes back at once and fades in by itself.
    Frame();
    EXPECT_EQ(AppState, APP_FRONTEND);
    EXPECT_EQ(g_pFrontEnd->iMode, FRONTEND_TITLE_FADE_IN);
    EXPECT_EQ(g_pGame->pLevel, nullptr);
    Quit();
}

TEST_F(GameTest, LosingTheFocusInPlayPausesAndSlowsTheFrames)
{
    Launch();
    IntoALevel();
    UIApplication* pApplication = UIApplication::sharedApplication();
    pApplication->resignActive();
    EXPECT_EQ(g_pGame->pLevel->iMode, LEVEL_PAUSED);
    EXPECT_DOUBLE_EQ(pView->animationTimer()->timeInterval(), FRAME_INTERVAL_INACTIVE);
    pApplication->becomeActive();
    EXPECT_DOUBLE_EQ(pView->animationTimer()->timeInterval(), FRAME_INTERVAL_ACTIVE);
    Frame();
    EXPECT_EQ(g_pGame->pLevel->iMode, LEVEL_PAUSED);  // until the player touches
    TEST_TapGame(400, 300);
    EXPECT_EQ(g_pGame->pLevel->iMode, LEVEL_PLAYING);
    Quit();
}

// The frame timer on a clock of its own at a real frame's pace, 16 to 17.4 ms a frame: the level
// appears and fades in over 34 frames, its first update is handed the whole fade, and "Get
// Ready!" gives way to play one second after the level appeared. Back in play after ten
// minutes away, the frame counts a tenth of a second.
TEST_F(GameTest, GetReadyLastsASecondOnTheRealClockAndAnAbsenceIsOneShortStep)
{
    GAME_FixFrameClock(0.0f);
    GAME_SetClock(TestClock);
    Launch();
    ReachMenus();
    TEST_TapGame(MENU_X, 158);
    ASSERT_GT(FramesUntil(APP_START_GAME), 0);
    std::int64_t iAppeared = 0;
    int iFrame = 0;
    for (; iFrame < 200 && (g_pGame->pLevel == nullptr || g_pGame->pLevel->iMode != LEVEL_PLAYING);
         ++iFrame)
    {
        iFrameNanoseconds = 16000000 + 700000 * (iFrame % 3);
        Frame();
        if (iAppeared == 0)
        {
            iAppeared = s_iClock;  // the frame the level was first drawn
        }
    }
    ASSERT_EQ(g_pGame->pLevel->iMode, LEVEL_PLAYING);
    const double dGetReady = static_cast<double>(s_iClock - iAppeared) * 1e-9;
    EXPECT_GE(dGetReady, 1.0);
    EXPECT_LT(dGetReady, 1.0 + 0.0175);

    const float fModeTimer = g_pGame->pLevel->fModeTimer;
    iFrameNanoseconds = 600 * 1000000000LL;
    Frame();
    EXPECT_FLOAT_EQ(g_pGame->pLevel->fModeTimer, fModeTimer + MAX_FRAME_TIME);
    Quit();
}

TEST_F(GameTest, PAndEscPauseAndGoOnAndEscGoesBackAPage)
{
    Launch();
    IntoALevel();
    CLevel* pLevel = g_pGame->pLevel;
    PlayScript(
        "0 key p down\n0 key p up\n1 key p down\n2 key escape down\n3 key escape down\n"
        "3 key escape up\n");
    Frame();
    EXPECT_EQ(pLevel->iMode, LEVEL_PAUSED);
    const float fPausedAt = pLevel->fModeTimer;
    Frame();
    EXPECT_EQ(pLevel->fModeTimer, fPausedAt);  // the paused frame stood still
    EXPECT_EQ(pLevel->iMode, LEVEL_PLAYING);   // P again goes on, picking nothing
    EXPECT_EQ(pLevel->iSelected, -1);
    EXPECT_EQ(pLevel->bDragging, 0);
    Frame();
    EXPECT_EQ(pLevel->iMode, LEVEL_PAUSED);  // Esc pauses a level too
    Frame();
    EXPECT_EQ(pLevel->iMode, LEVEL_PLAYING);  // and goes on
    // The game goes on for the next seconds as after a touch.
    for (int i = 0; i < 180; ++i)
    {
        Frame();
    }
    EXPECT_EQ(pLevel->iMode, LEVEL_PLAYING);
    EXPECT_NEAR(pLevel->fModeTimer, fPausedAt + 181.0f / 60.0f, 0.01f);
    Quit();

    // In the menus Esc goes back a page, with the back arrow's sound; P does nothing there, and
    // Esc nothing on the title page, which shows no arrow.
    std::remove((strSaves + "/gamesave.dat").c_str());  // no saved game to resume
    // The mixer, opened as the host's start-up does, to hear the click.
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_AUDIO), 0);
    HostOpenAudio(22050, 1);
    Launch();
    g_pAudio->EnableSound();  // these tests read no settings, so the switch starts off
    ReachMenus();
    TEST_TapGame(MENU_X, MENU_MAIN_ROWS[1]);  // Options: highlighted,
    Frame();
    TEST_TapGame(MENU_X, MENU_MAIN_ROWS[1]);  // then opened
    Frame();
    CMenu* pOptions = g_pFrontEnd->pCurrentMenu;
    ASSERT_NE(pOptions, g_pFrontEnd->pMainMenu);
    TEST_TapGame(MENU_X, MENU_OPTION_ROWS[2]);  // Credits: highlighted,
    Frame();
    TEST_TapGame(MENU_X, MENU_OPTION_ROWS[2]);  // then shown
    Frame();
    ASSERT_TRUE(g_pFrontEnd->bShowCredits);
    ASSERT_EQ(g_pFrontEnd->pCurrentMenu->pParent, pOptions);
    PlayScript(
        "0 key p down\n1 key escape down\n1 key escape up\n2 key escape down\n"
        "3 key escape down\n");
    Frame();
    EXPECT_TRUE(g_pFrontEnd->bShowCredits);
    Frame();
    EXPECT_EQ(g_pFrontEnd->pCurrentMenu, pOptions);
    EXPECT_FALSE(g_pFrontEnd->bShowCredits);
    EXPECT_TRUE(g_pAudio->IsSourcePlaying(g_pFrontEnd->iSounds[FRONTEND_SOUND_BACK]));
    Frame();
    EXPECT_EQ(g_pFrontEnd->pCurrentMenu, g_pFrontEnd->pMainMenu);
    Frame();
    EXPECT_EQ(g_pFrontEnd->pCurrentMenu, g_pFrontEnd->pMainMenu);
    EXPECT_EQ(AppState, APP_FRONTEND);
    SCRIPT_LoadFile("/nonexistent");
    Quit();
    HostCloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}
