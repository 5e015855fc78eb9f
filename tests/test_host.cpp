// The host: audio device opening, coordinate conversion, viewport scaling, GL capability
// binding, orientation, the null-tolerant file utilities and the accelerometer poll's timer.

#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <malloc.h>
#include <sys/stat.h>

#include <atomic>
#include <cstdlib>
#include <string>
#include <vector>

#include "Host.h"
#include "HostAccel.h"
#include "HostDisplay.h"
#include "TestSupport.h"
#include "pdl.h"

TEST(HostAudio, ChunkSizesAreRoundedUpToPowersOfTwo)
{
    EXPECT_EQ(HostAudioChunkSize(22050, 1), 512);   // 384 frames
    EXPECT_EQ(HostAudioChunkSize(44100, 2), 2048);  // 1536 frames
    EXPECT_EQ(HostAudioChunkSize(44100, 1), 1024);  // 768 frames
    EXPECT_EQ(HostAudioChunkSize(22050, 2), 1024);
    EXPECT_EQ(HostAudioChunkSize(11025, 1), 512);  // counted as 22050, never 0
}

TEST(HostAudio, OpensOnceAndReopensOnlyOnAFormatChange)
{
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_AUDIO), 0) << SDL_GetError();
    g_Host.iAudioFrequency = 0;
    HostOpenAudio(22050, 1);
    ASSERT_EQ(g_Host.iAudioFrequency, 22050);
    int iFrequency = 0;
    Uint16 uiFormat = 0;
    int iChannels = 0;
    ASSERT_EQ(Mix_QuerySpec(&iFrequency, &uiFormat, &iChannels), 1);  // opened once

    HostOpenAudio(22050, 1);
    EXPECT_EQ(Mix_QuerySpec(&iFrequency, &uiFormat, &iChannels), 1);  // not opened again

    HostOpenAudio(44100, 2);
    ASSERT_EQ(Mix_QuerySpec(&iFrequency, &uiFormat, &iChannels), 1);
    EXPECT_EQ(iFrequency, 44100);
    EXPECT_EQ(iChannels, 2);
    EXPECT_EQ(g_Host.iAudioFrequency, 44100);
    EXPECT_EQ(g_Host.iAudioChannels, 2);
    EXPECT_EQ(SDL_GetAudioStatus(), SDL_AUDIO_PLAYING);  // running at chunk 2048

    HostOpenAudio(-1, 2);  // a negative frequency leaves the device as it is
    EXPECT_EQ(g_Host.iAudioFrequency, 44100);

    HostCloseAudio();
}

TEST(HostCoordinates, WindowPositionsMapThroughTheQuarterTurn)
{
    HostDisplaySetForTest(true, 960, 640);
    EXPECT_EQ(g_Host.iScreenWidth, 640);
    EXPECT_EQ(g_Host.iScreenHeight, 960);
    int iDeviceX = 0;
    int iDeviceY = 0;
    // The centre of the window is the centre of the game: logical (160, 240).
    ASSERT_TRUE(HostDisplayWindowToDevice(480, 320, false, &iDeviceX, &iDeviceY));
    EXPECT_EQ(HostLogicalX(iDeviceX), 160);
    EXPECT_EQ(HostLogicalY(iDeviceY), 240);
    // The window's top-left corner is the device's top-left too... of the game's top edge.
    ASSERT_TRUE(HostDisplayWindowToDevice(0, 0, false, &iDeviceX, &iDeviceY));
    EXPECT_EQ(HostLogicalX(iDeviceX), 320);  // game y = 320 (top)
    EXPECT_EQ(HostLogicalY(iDeviceY), 0);    // game x = 0 (left)

    // A wider window gets bars left and right; a click there reaches nothing.
    HostDisplaySetForTest(true, 1200, 640);
    const HostDisplayRect tGame = HostDisplayGameRect();
    EXPECT_EQ(tGame.iX, 120);
    EXPECT_EQ(tGame.iWidth, 960);
    EXPECT_FALSE(HostDisplayWindowToDevice(100, 320, false, &iDeviceX, &iDeviceY));
    ASSERT_TRUE(HostDisplayWindowToDevice(100, 320, true, &iDeviceX, &iDeviceY));
    EXPECT_EQ(HostLogicalY(iDeviceY), 0);  // clamped to the left edge
    ASSERT_TRUE(HostDisplayWindowToDevice(600, 320, false, &iDeviceX, &iDeviceY));
    EXPECT_EQ(HostLogicalX(iDeviceX), 160);
    EXPECT_EQ(HostLogicalY(iDeviceY), 240);

    // A taller window gets bars above and below.
    HostDisplaySetForTest(true, 480, 500);
    EXPECT_EQ(HostDisplayGameRect().iY, 90);
    EXPECT_FALSE(HostDisplayWindowToDevice(240, 50, false, &iDeviceX, &iDeviceY));
    HostDisplaySetForTest(false, 0, 0);
}

TEST(HostFiles, NullArgumentsDoNothingAndLengthKeepsThePosition)
{
    char tBuffer[4];
    EXPECT_EQ(HostFileOpen(nullptr, "rb"), nullptr);
    EXPECT_EQ(HostFileClose(nullptr) + HostFileLength(nullptr) + HostPathExists(nullptr) +
                  HostCurrentDirectory(nullptr, 10),
              0);
    EXPECT_EQ(HostFileRead(tBuffer, 1, 4, nullptr) + HostFileWrite(tBuffer, 1, 4, nullptr), 0u);

    const std::string strDir = TEST_MakeTempDir("host");
    const std::string strPath = strDir + "/f.bin";
    ASSERT_TRUE(TEST_WriteFile(strPath, {1, 2, 3, 4, 5, 6, 7}));
    FILE* pFile = HostFileOpen(strPath.c_str(), "rb");
    ASSERT_NE(pFile, nullptr);
    HostFileSeek(pFile, 3, SEEK_SET);
    EXPECT_EQ(HostFileLength(pFile), 7);
    EXPECT_EQ(HostFileTell(pFile), 3);
    HostFileClose(pFile);
    EXPECT_EQ(HostIsDirectory(strDir.c_str()), 1);
    EXPECT_EQ(HostIsDirectory(strPath.c_str()), 0);
    char strCurrent[2];
    EXPECT_EQ(HostCurrentDirectory(strCurrent, sizeof(strCurrent)), 1);
    EXPECT_STREQ(strCurrent, ".");
}

// The browser opener is started without a shell, and a package id that does not fit the URL is
// refused rather than cut.
TEST(HostLaunch, TheOpenerGetsTheWholeUrlOrNothing)
{
    const std::string strDir = TEST_MakeTempDir("launch");
    const std::string strOut = strDir + "/url.txt";
    setenv("BOUGHFALL_URL_OPENER", (strDir + "/missing-opener").c_str(), 1);
    EXPECT_NE(PDL_LaunchBrowser("http://x/"), PDL_NOERROR);
    EXPECT_EQ(HostLaunchAppPage("game"), 0);

    setenv("BOUGHFALL_URL_OPENER", TEST_WriteRecordingOpener(strDir, strOut).c_str(), 1);
    // Shell metacharacters arrive as one plain argument.
    EXPECT_EQ(PDL_LaunchBrowser("http://x/?a=1;touch pwned"), PDL_NOERROR);
    EXPECT_EQ(TEST_WaitForLines(strOut, 1), std::vector<std::string>{"http://x/?a=1;touch pwned"});

    // 59 + 196 characters and the terminator fill the 256 bytes: launched whole. One more
    // would have opened a cut package id: nothing is started.
    const std::string strLongest(196, 'p');
    EXPECT_EQ(HostLaunchAppPage(strLongest.c_str()), 1);
    EXPECT_EQ(TEST_WaitForLines(strOut, 2).back(),
              "https://apps.kettlegames.net/appredirect/?packageid=com.kg." + strLongest);
    const std::string strSaid =
        TEST_OutputOf([&] { EXPECT_EQ(HostLaunchAppPage((strLongest + "q").c_str()), 0); });
    EXPECT_EQ(strSaid.find("Launching Browser"), std::string::npos);
    EXPECT_NE(strSaid.find("does not fit"), std::string::npos);
    SDL_Delay(200);
    EXPECT_EQ(TEST_WaitForLines(strOut, 2).size(), 2u);
    unsetenv("BOUGHFALL_URL_OPENER");
}

namespace
{

int s_iResigned = 0;
int s_iActivated = 0;
int s_iTerminations = 0;

}  // namespace

TEST(HostEvents, FocusIsIdempotentAndQuitEndsTheInactiveWait)
{
    ASSERT_TRUE(TEST_OpenGLWindow(320, 200));
    HostFrameworkCalls tCalls{};
    tCalls.pResignActive = [] { ++s_iResigned; };
    tCalls.pBecameActive = [] { ++s_iActivated; };
    tCalls.pRequestTermination = [] { ++s_iTerminations; };
    HostSetFrameworkCalls(&tCalls);
    g_Host = HostState{};
    SDL_Event tPending;
    while (SDL_PollEvent(&tPending))
    {
    }

    // An arrow key held when the focus goes would otherwise lean the device for good.
    SDL_Event tKey{};
    tKey.type = SDL_KEYDOWN;
    tKey.key.keysym.sym = SDLK_RIGHT;
    HostHandleEvent(&tKey);
    EXPECT_EQ(HostAccelGetKeyLean(), 1);

    SDL_Event tLost{};
    tLost.type = SDL_ACTIVEEVENT;
    tLost.active.gain = 0;
    tLost.active.state = SDL_APPINPUTFOCUS;
    HostHandleEvent(&tLost);
    HostHandleEvent(&tLost);
    EXPECT_EQ(s_iResigned, 1);
    EXPECT_EQ(g_Host.bInactive, 1);
    EXPECT_EQ(HostAccelGetKeyLean(), 0);

    // The pointer leaving the window is not a loss of focus.
    SDL_Event tMouseOnly = tLost;
    tMouseOnly.active.state = SDL_APPMOUSEFOCUS;
    g_Host.bInactive = 0;
    HostHandleEvent(&tMouseOnly);
    EXPECT_EQ(g_Host.bInactive, 0);
    g_Host.bInactive = 1;

    // While inactive the pump blocks; a quit ends the wait and asks for termination.
    SDL_Event tQuit{};
    tQuit.type = SDL_QUIT;
    SDL_PushEvent(&tQuit);
    HostPumpEvents();
    EXPECT_EQ(g_Host.bInactive, 0);
    EXPECT_EQ(g_Host.bQuitRequested, 1);
    EXPECT_EQ(s_iTerminations, 1);

    // Regaining focus while active changes nothing.
    SDL_Event tGained = tLost;
    tGained.active.gain = 1;
    HostHandleEvent(&tGained);
    EXPECT_EQ(s_iActivated, 0);
    HostSetFrameworkCalls(nullptr);
    g_Host = HostState{};
}

namespace
{

std::atomic<int> s_iSamples{0};

void CountSample(float, float, float, double)
{
    ++s_iSamples;
}

int SamplesIn(int iMilliseconds)
{
    const int iBefore = s_iSamples;
    SDL_Delay(static_cast<Uint32>(iMilliseconds));
    return s_iSamples - iBefore;
}

// Seconds until iCount more samples have come; 1000 when they have not in 20 s. A busy machine
// makes samples late, never early.
double SecondsFor(int iCount)
{
    const int iUntil = s_iSamples + iCount;
    const Uint32 uiStart = SDL_GetTicks();
    while (s_iSamples < iUntil && SDL_GetTicks() - uiStart < 20000)
    {
        SDL_Delay(5);
    }
    return s_iSamples >= iUntil ? (SDL_GetTicks() - uiStart) / 1000.0 : 1000.0;
}

}  // namespace

TEST(HostAccel, OneTimerPollsAtItsRateAndPausesWhileInactive)
{
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_TIMER), 0) << SDL_GetError();
    HostFrameworkCalls tCalls{};
    tCalls.pAccelerometerSample = CountSample;
    HostSetFrameworkCalls(&tCalls);
    // A stop and a start at once: still one poll, 30 samples in about a second (two polls would
    // bring them in half a second).
    HostAccelStart(33);
    HostAccelStop();
    HostAccelStart(33);
    SDL_Delay(200);
    const size_t uiHeap = mallinfo2().uordblks;
    const double dSeconds = SecondsFor(30);
    EXPECT_GT(dSeconds, 0.8);
    EXPECT_LT(dSeconds, 20.0);
    // The ticks themselves leave nothing behind (sdl12-compat keeps a record for every timer
    // added: re-adding one on each tick grew the heap by a few dozen bytes thirty times a second).
    if (uiHeap != 0)
    {
        EXPECT_LT(mallinfo2().uordblks, uiHeap + 256);
    }
    HostAccelSuspend();
    SDL_Delay(100);
    EXPECT_EQ(SamplesIn(300), 0);
    HostAccelResume();
    EXPECT_LT(SecondsFor(5), 20.0);
    HostAccelStop();
    SDL_Delay(100);
    EXPECT_EQ(SamplesIn(200), 0);

    // On the frame clock only the frames take samples: 30 in a second of them, none between
    // frames or while suspended, and a timer started before is ended.
    HostAccelStart(33);
    HostAccelFollowFrameClock(true);
    SDL_Delay(100);
    EXPECT_EQ(SamplesIn(200), 0);
    const int iBefore = s_iSamples;
    for (int i = 0; i < 60; ++i)
    {
        HostAccelAdvance(1.0 / 60.0);
    }
    EXPECT_EQ(s_iSamples - iBefore, 30);
    HostAccelSuspend();
    HostAccelAdvance(1.0);
    EXPECT_EQ(s_iSamples - iBefore, 30);
    HostAccelResume();
    HostAccelFollowFrameClock(false);  // back to the timer
    EXPECT_LT(SecondsFor(5), 20.0);
    HostAccelStop();
    SDL_Delay(100);
    HostSetFrameworkCalls(nullptr);
    SDL_QuitSubSystem(SDL_INIT_TIMER);
}
