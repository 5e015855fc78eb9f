// The shell: the GL view's frame timer and framebuffer answers, the delegate's reaction to
// activation, touch forwarding (a cancelled touch goes nowhere), the pause and back keys' way
// from a scripted key press through the host and the framework to the delegate, and how script
// lines are read.

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "Application.h"
#include "BaseAppAppDelegate.h"
#include "EAGLView.h"
#include "Game.h"
#include "Host.h"
#include "Input.h"
#include "RunLoop.h"
#include "ScriptDriver.h"
#include "ScriptStep.h"
#include "TestSupport.h"

namespace
{

class ShellTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(TEST_OpenGLWindow(480, 320));
        UIApplication::sharedApplication()->reset();
        FW_ResetTouches();
    }
    void TearDown() override
    {
        UIApplication::sharedApplication()->reset();
        // The game's music opened the mixer: its audio thread must stop before the process
        // exits, or it can call into a mixer already torn down.
        HostCloseAudio();
    }
};

struct KeyCounter : BaseAppAppDelegate
{
    int iPauses = 0;
    int iBacks = 0;
    void applicationDidRequestPause(UIApplication* pApplication, bool bToggle) override
    {
        ++iPauses;
        BaseAppAppDelegate::applicationDidRequestPause(pApplication, bToggle);
    }
    void applicationDidRequestBack(UIApplication* pApplication) override
    {
        ++iBacks;
        BaseAppAppDelegate::applicationDidRequestBack(pApplication);
    }
};

// Hands the events SDL holds to the host, as the main loop's pump does while active.
void DrainEvents()
{
    SDL_Event tEvent;
    while (SDL_PollEvent(&tEvent))
    {
        HostHandleEvent(&tEvent);
    }
}

}  // namespace

TEST_F(ShellTest, ViewReportsTheLogicalScreenAndRestartsItsTimerOnANewInterval)
{
    EAGLView* pView = EAGLView::initWithCoder();
    ASSERT_NE(pView, nullptr);
    EXPECT_TRUE(pView->createFramebuffer());

    pView->setAnimationInterval(FRAME_INTERVAL_INACTIVE);  // stopped: only stored
    EXPECT_EQ(pView->animationTimer(), nullptr);
    pView->startAnimation();
    NSTimer* pFirst = pView->animationTimer();
    ASSERT_NE(pFirst, nullptr);
    EXPECT_DOUBLE_EQ(pFirst->timeInterval(), FRAME_INTERVAL_INACTIVE);

    pView->setAnimationInterval(FRAME_INTERVAL_ACTIVE);
    NSTimer* pSecond = pView->animationTimer();
    ASSERT_NE(pSecond, nullptr);
    EXPECT_TRUE(pSecond->isValid());
    EXPECT_DOUBLE_EQ(pSecond->timeInterval(), FRAME_INTERVAL_ACTIVE);
    double dNext = 0.0;
    ASSERT_TRUE(NSRunLoop::currentRunLoop()->nextFireDate(&dNext));
    EXPECT_NEAR(dNext - FW_Now(), FRAME_INTERVAL_ACTIVE, 0.01);  // one timer, the new one

    pView->stopAnimation();
    EXPECT_EQ(pView->animationTimer(), nullptr);
    EXPECT_FALSE(NSRunLoop::currentRunLoop()->nextFireDate(&dNext));
    delete pView;
}

// (The frame timer's pace with and without the focus is test_game's.)
TEST_F(ShellTest, TheDelegateForwardsTouchesButNotACancelledOne)
{
    // The game runs on the build's data and saves into a folder of the test's own.
    setenv("CFProcessPath", (std::string(std::getenv("BF_BINARY_DIR")) + "/boughfall").c_str(), 1);
    setenv("XDG_DATA_HOME", TEST_MakeTempDir("shell").c_str(), 1);
    SHELL_LoadMainInterface(UIApplication::sharedApplication());
    UIApplication* pApplication = UIApplication::sharedApplication();
    auto* pDelegate = static_cast<BaseAppAppDelegate*>(pApplication->delegate());
    pApplication->finishLaunching();
    EAGLView* pView = pDelegate->glView();
    ASSERT_NE(pView->touchResponder(), nullptr);
    EXPECT_EQ(pView->touchResponder(), g_pInput->GetTouch());

    // A touch reaches the input object in the game's space; a cancelled one does not.
    FW_TouchBegan(100, 200, 1000);
    EXPECT_EQ(g_pInput->getNewTouchPoints()[0].x, 200);
    EXPECT_EQ(g_pInput->getNewTouchPoints()[0].y, 100);
    UITouch* pTouch = FW_CurrentTouch();
    UIEvent tEvent(pTouch);
    g_pInput->clear();
    pView->touchesCancelled(&pTouch, 1, &tEvent);
    EXPECT_EQ(g_pInput->getTouches()[0].iAge, 0);  // not ended
    EXPECT_EQ(g_pInput->getTouches()[0].state, 1);

    pView->drawView();  // one frame draws and presents without complaint
    EXPECT_EQ(GAME_FrameCount(), 1u);
    pApplication->requestTermination();
    EXPECT_EQ(g_pInput, nullptr);  // GAME_Shutdown ran through applicationWillTerminate
    pView->stopAnimation();
    delete pDelegate;  // with its window and view
}

TEST_F(ShellTest, PAndEscReachTheDelegateAsPauseAndBackWhileActive)
{
    const std::string strScript = TEST_MakeTempDir("pause") + "/script.txt";
    const std::string strSteps =
        "0 key p down\n0 key p up\n1 key escape down\n2 key q down\n"
        "3 key p down\n3 key escape down\n";
    ASSERT_TRUE(
        TEST_WriteFile(strScript, std::vector<std::uint8_t>(strSteps.begin(), strSteps.end())));
    ASSERT_TRUE(SCRIPT_LoadFile(strScript.c_str()));
    EXPECT_EQ(SCRIPT_StepCount(), 5);  // "q" is no key of the game's
    FW_InstallHostCalls();
    KeyCounter tDelegate;
    tDelegate.setGlView(EAGLView::initWithCoder());
    UIApplication* pApplication = UIApplication::sharedApplication();
    pApplication->setDelegate(&tDelegate);
    DrainEvents();

    SCRIPT_BeforeFrame();  // P down and up: one pause
    SCRIPT_AfterFrame();
    DrainEvents();
    EXPECT_EQ(tDelegate.iPauses, 1);
    EXPECT_EQ(tDelegate.iBacks, 0);
    SCRIPT_BeforeFrame();  // Esc: back
    SCRIPT_AfterFrame();
    DrainEvents();
    EXPECT_EQ(tDelegate.iPauses, 1);
    EXPECT_EQ(tDelegate.iBacks, 1);
    SCRIPT_BeforeFrame();
    SCRIPT_AfterFrame();
    pApplication->resignActive();  // inactive: there is nothing to pause or leave by hand
    SCRIPT_BeforeFrame();
    SCRIPT_AfterFrame();
    DrainEvents();
    EXPECT_EQ(tDelegate.iPauses, 1);
    EXPECT_EQ(tDelegate.iBacks, 1);
    HostSetFrameworkCalls(nullptr);
    SCRIPT_LoadFile("/nonexistent");
}

TEST(ScriptStep, LinesAreReadWholeOrRefusedWithTheirFault)
{
    ScriptStep tStep;
    const char* pWhy = "";
    EXPECT_EQ(SCRIPT_ParseLine("  # only a comment\n", &tStep, &pWhy), SCRIPT_LINE_EMPTY);
    ASSERT_EQ(SCRIPT_ParseLine("12 accel -0.25 0.0625 0 # leaning\n", &tStep, &pWhy),
              SCRIPT_LINE_STEP);
    EXPECT_EQ(tStep.uiFrame, 12u);
    EXPECT_EQ(tStep.eKind, STEP_ACCEL);
    EXPECT_EQ(tStep.tValues[1], 0.0625f);
    ASSERT_EQ(SCRIPT_ParseLine("0 bytes 4246530a\n", &tStep, &pWhy), SCRIPT_LINE_STEP);
    EXPECT_EQ(tStep.uiNumber, 4u);
    EXPECT_EQ(tStep.tBytes[3], 0x0a);
    // A number is the whole word and finite; settings of the run belong to frame 0.
    const struct
    {
        const char* pLine;
        const char* pWhy;
    } tBad[] = {
        {"10 down nan 5", "a position outside the 480 x 320 picture"},
        {"10 down 5 5 5", "\"down\" takes 2 arguments, not 3"},
        {"10 dt 0", "a frame's time is a number of seconds above 0"},
        {"-1 quit", "a step starts with its frame number"},
        {"5 seed 1", "a setting of the whole run belongs to frame 0"},
        {"0 seed 4294967296", "a seed is a whole number from 0 to 4294967295"},
        {"0 file ../score.dat 9",
         "a start file is gamesave.dat or score.dat, with its size in "
         "bytes"},
        {"0 bytes 4g", "bytes are 1 to 64 pairs of hexadecimal digits"},
    };
    for (const auto& tCase : tBad)
    {
        EXPECT_EQ(SCRIPT_ParseLine(tCase.pLine, &tStep, &pWhy), SCRIPT_LINE_BAD) << tCase.pLine;
        EXPECT_STREQ(pWhy, tCase.pWhy) << tCase.pLine;
    }
}

// Found by fuzzing (fuzz_script): a point of "nan" passed the range check and became an
// undefined conversion to a window position; the tail of a line longer than the reader's buffer
// was read as a line of its own, so a long comment could end in a step.
TEST(ScriptDriver, NotANumberAndTheTailOfALongLineAreNoSteps)
{
    const std::string strScript = TEST_MakeTempDir("script") + "/script.txt";
    // The comment's tail "4 quit" began where the old 512-byte buffer ended.
    const std::string strSteps = "1 down nan 160\n2 move 240 -nan\n3 up inf 0\n# " +
                                 std::string(509, '-') + "4 quit\n" +
                                 std::string(MAX_SCRIPT_LINE - 6, ' ') + "5 quit\n6 quit";
    ASSERT_TRUE(
        TEST_WriteFile(strScript, std::vector<std::uint8_t>(strSteps.begin(), strSteps.end())));
    ASSERT_TRUE(SCRIPT_LoadFile(strScript.c_str()));
    EXPECT_EQ(SCRIPT_StepCount(), 2);  // the longest line there may be, and the last line
    SCRIPT_LoadFile("/nonexistent");
}
