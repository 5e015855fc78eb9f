// The game binary itself under the virtual X server: it starts, draws frames, and ends with
// exit status 0 through the termination path on a window-close request and on SIGTERM, and
// it runs silent when no audio device can be opened.

// gtest first: Xlib's macros (None, Bool) would break its templates.
#include <gtest/gtest.h>
// clang-format off
#include <X11/Xatom.h>
#include <X11/Xlib.h>
// clang-format on
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "TestSupport.h"

namespace
{

struct Running
{
    pid_t iPid = -1;
    std::string strLog;
};

// Starts the game; with a script it plays that, and the disk driver's output can go to a file.
Running Start(const char* pAudioDriver, const std::string& strScript = "",
              const std::string& strAudioFile = "/dev/null")
{
    Running tRun;
    const std::string strDir = TEST_MakeTempDir("game");
    tRun.strLog = strDir + "/out.txt";
    if (!strScript.empty())
    {
        TEST_WriteFile(strDir + "/script.txt",
                       std::vector<std::uint8_t>(strScript.begin(), strScript.end()));
    }
    tRun.iPid = fork();
    if (tRun.iPid == 0)
    {
        std::freopen(tRun.strLog.c_str(), "w", stdout);
        if (!strScript.empty())
        {
            setenv("BOUGHFALL_SCRIPT", (strDir + "/script.txt").c_str(), 1);
        }
        setenv("SDL_DISKAUDIOFILE", strAudioFile.c_str(), 1);
        setenv("SDL_AUDIODRIVER", pAudioDriver, 1);
        // Objects that live as long as the process are not freed before it exits; in a
        // sanitizer build only memory errors count here.
        setenv("ASAN_OPTIONS", "detect_leaks=0", 1);
        setenv("HOME", TEST_MakeTempDir("home").c_str(), 1);
        unsetenv("XDG_DATA_HOME");
        const std::string strGame = std::string(BF_BINARY_DIR) + "/boughfall";
        execl(strGame.c_str(), strGame.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    return tRun;
}

// The exit status, or -1 when the game is still running after the timeout.
int WaitFor(const Running& tRun, int iSeconds)
{
    for (int i = 0; i < iSeconds * 20; ++i)
    {
        int iStatus = 0;
        if (waitpid(tRun.iPid, &iStatus, WNOHANG) == tRun.iPid)
        {
            return WIFEXITED(iStatus) ? WEXITSTATUS(iStatus) : 128 + WTERMSIG(iStatus);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    kill(tRun.iPid, SIGKILL);
    waitpid(tRun.iPid, nullptr, 0);
    return -1;
}

std::string Log(const Running& tRun)
{
    const std::vector<std::uint8_t> tBytes = TEST_ReadFile(tRun.strLog);
    return std::string(tBytes.begin(), tBytes.end());
}

// Finds the game's top-level window by its title.
Window FindWindow(Display* pDisplay, Window tParent)
{
    char* pName = nullptr;
    if (XFetchName(pDisplay, tParent, &pName) != 0 && pName != nullptr)
    {
        const bool bMatch = std::string(pName) == "Boughfall";
        XFree(pName);
        if (bMatch)
        {
            return tParent;
        }
    }
    Window tRoot;
    Window tParentOut;
    Window* pChildren = nullptr;
    unsigned int uiCount = 0;
    Window tFound = 0;
    if (XQueryTree(pDisplay, tParent, &tRoot, &tParentOut, &pChildren, &uiCount) != 0)
    {
        for (unsigned int i = 0; i < uiCount && tFound == 0; ++i)
        {
            tFound = FindWindow(pDisplay, pChildren[i]);
        }
        XFree(pChildren);
    }
    return tFound;
}

// Sends the window manager's close request (WM_DELETE_WINDOW), as a title bar's close button.
bool RequestClose()
{
    Display* pDisplay = XOpenDisplay(nullptr);
    if (pDisplay == nullptr)
    {
        return false;
    }
    Window tWindow = 0;
    for (int i = 0; i < 100 && tWindow == 0; ++i)
    {
        tWindow = FindWindow(pDisplay, DefaultRootWindow(pDisplay));
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (tWindow == 0)
    {
        XCloseDisplay(pDisplay);
        return false;
    }
    XEvent tEvent{};
    tEvent.xclient.type = ClientMessage;
    tEvent.xclient.window = tWindow;
    tEvent.xclient.message_type = XInternAtom(pDisplay, "WM_PROTOCOLS", False);
    tEvent.xclient.format = 32;
    tEvent.xclient.data.l[0] = static_cast<long>(XInternAtom(pDisplay, "WM_DELETE_WINDOW", False));
    tEvent.xclient.data.l[1] = CurrentTime;
    XSendEvent(pDisplay, tWindow, False, NoEventMask, &tEvent);
    XFlush(pDisplay);
    XCloseDisplay(pDisplay);
    return true;
}

int FramesDrawn(const std::string& strLog)
{
    unsigned int uiFrames = 0;
    const size_t uiAt = strLog.find("Shutting down after ");
    if (uiAt == std::string::npos ||
        std::sscanf(strLog.c_str() + uiAt, "Shutting down after %u frames", &uiFrames) != 1)
    {
        return -1;
    }
    return static_cast<int>(uiFrames);
}

}  // namespace

TEST(GameBinary, WindowCloseRequestEndsTheGameCleanly)
{
    const Running tRun = Start("disk");
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    ASSERT_TRUE(RequestClose());
    EXPECT_EQ(WaitFor(tRun, 20), 0);
    EXPECT_GT(FramesDrawn(Log(tRun)), 20) << Log(tRun);
}

TEST(GameBinary, SigtermEndsTheGameCleanlyAndNoAudioDeviceIsFine)
{
    const Running tRun = Start("no-such-audio-driver");
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    ASSERT_EQ(kill(tRun.iPid, SIGTERM), 0);
    EXPECT_EQ(WaitFor(tRun, 20), 0);
    EXPECT_GT(FramesDrawn(Log(tRun)), 20) << Log(tRun);
}

TEST(GameBinary, TheTitleMusicPlaysFromTheGeneratedData)
{
    // The theme is 44.1 kHz stereo: the mixer is reopened in its format and it is heard.
    const std::string strAudio = TEST_MakeTempDir("audio") + "/out.raw";
    const Running tRun = Start("disk", "90 quit\n", strAudio);
    EXPECT_EQ(WaitFor(tRun, 20), 0);
    const std::vector<std::uint8_t> tBytes = TEST_ReadFile(strAudio);
    ASSERT_GT(tBytes.size(), 44100u);  // about 1.5 s of output
    int iPeak = 0;
    for (size_t i = 0; i + 1 < tBytes.size(); i += 2)
    {
        const int iSample = static_cast<std::int16_t>(tBytes[i] | (tBytes[i + 1] << 8));
        iPeak = std::max(iPeak, std::abs(iSample));
    }
    EXPECT_GT(iPeak, 4000) << "the music is silent";
}
