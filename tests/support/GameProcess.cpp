#include "GameProcess.h"

// gtest (through TestSupport.h) before Xlib, whose macros would break it.
#include "TestSupport.h"

// clang-format off
#include <X11/Xatom.h>
#include <X11/Xlib.h>
// clang-format on
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace
{

Window FindByTitle(Display* pDisplay, Window tParent)
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
            tFound = FindByTitle(pDisplay, pChildren[i]);
        }
        XFree(pChildren);
    }
    return tFound;
}

// X errors while the game's windows are looked at: a window can go between being listed and
// being read (Xlib's own handler would end the test program).
int s_iXErrors = 0;
int CountXError(Display*, XErrorEvent*)
{
    ++s_iXErrors;
    return 0;
}

// Runs fnUse(display, window) on the game's window, looked for up to five seconds; false (and
// fnUse not run) when there is none, false too when the window went while it was used.
template <typename F>
bool WithGameWindow(F&& fnUse)
{
    Display* pDisplay = XOpenDisplay(nullptr);
    const auto pfnOldHandler = XSetErrorHandler(CountXError);
    Window tWindow = 0;
    for (int i = 0; pDisplay != nullptr && i < 100 && tWindow == 0; ++i)
    {
        s_iXErrors = 0;
        tWindow = FindByTitle(pDisplay, DefaultRootWindow(pDisplay));
        XSync(pDisplay, False);
        if (tWindow == 0 || s_iXErrors != 0)
        {
            tWindow = 0;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }
    bool bUsed = tWindow != 0 && fnUse(pDisplay, tWindow);
    if (pDisplay != nullptr)
    {
        XSync(pDisplay, False);
        bUsed = bUsed && s_iXErrors == 0;
        XCloseDisplay(pDisplay);
    }
    XSetErrorHandler(pfnOldHandler);
    return bUsed;
}

// Games still running when the test program ends (an assertion failed before the test ended
// them) are ended then, so that no test leaves a game behind.
struct GameReaper
{
    std::vector<pid_t> tPids;
    ~GameReaper()
    {
        for (const pid_t iPid : tPids)
        {
            if (waitpid(iPid, nullptr, WNOHANG) == 0)
            {
                kill(iPid, SIGKILL);
                waitpid(iPid, nullptr, 0);
            }
        }
    }
} s_tReaper;

}  // namespace

GameRun TEST_StartGame(const GameLaunch& tLaunch)
{
    GameRun tRun;
    const std::string strDir = TEST_MakeTempDir("game");
    tRun.strLog = strDir + "/out.txt";
    tRun.strHome = TEST_MakeTempDir("home");
    if (!tLaunch.strScript.empty())
    {
        TEST_WriteFile(strDir + "/script.txt", std::vector<std::uint8_t>(tLaunch.strScript.begin(),
                                                                         tLaunch.strScript.end()));
    }
    const std::string strBinary =
        tLaunch.strBinary.empty() ? std::string(BF_BINARY_DIR) + "/boughfall" : tLaunch.strBinary;
    std::vector<std::string> tWords = {strBinary};
    tWords.insert(tWords.end(), tLaunch.tArguments.begin(), tLaunch.tArguments.end());
    std::vector<char*> tArgv;
    for (std::string& strWord : tWords)
    {
        tArgv.push_back(strWord.data());
    }
    tArgv.push_back(nullptr);
    tRun.iPid = fork();
    if (tRun.iPid == 0)
    {
        // Without its log the run could not be judged: end as a failed start.
        if (std::freopen(tRun.strLog.c_str(), "w", stdout) == nullptr)
        {
            _exit(126);
        }
        signal(SIGINT, SIG_DFL);
        sigset_t tSignals;
        sigemptyset(&tSignals);
        sigprocmask(SIG_SETMASK, &tSignals, nullptr);
        if (!tLaunch.strScript.empty())
        {
            setenv("BOUGHFALL_SCRIPT", (strDir + "/script.txt").c_str(), 1);
        }
        setenv("SDL_DISKAUDIOFILE", tLaunch.strAudioFile.c_str(), 1);
        setenv("SDL_AUDIODRIVER", tLaunch.strAudioDriver.c_str(), 1);
        // Objects that live as long as the process are not freed before it exits; in a
        // sanitizer build only memory errors count here.
        setenv("ASAN_OPTIONS", "detect_leaks=0", 1);
        setenv("HOME", tRun.strHome.c_str(), 1);
        unsetenv("XDG_DATA_HOME");
        if (tLaunch.strConfigHome.empty())
        {
            unsetenv("XDG_CONFIG_HOME");
        }
        else
        {
            setenv("XDG_CONFIG_HOME", tLaunch.strConfigHome.c_str(), 1);
        }
        for (const std::string& strSetting : tLaunch.tEnvironment)
        {
            const size_t uiEquals = strSetting.find('=');
            if (uiEquals != std::string::npos)
            {
                setenv(strSetting.substr(0, uiEquals).c_str(),
                       strSetting.substr(uiEquals + 1).c_str(), 1);
            }
        }
        if (!tLaunch.strWorkingDir.empty() && chdir(tLaunch.strWorkingDir.c_str()) != 0)
        {
            _exit(126);
        }
        execv(tArgv[0], tArgv.data());
        _exit(127);
    }
    s_tReaper.tPids.push_back(tRun.iPid);
    return tRun;
}

int TEST_WaitForGame(const GameRun& tRun, int iSeconds)
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

bool TEST_WaitForFrame(const GameRun& tRun, unsigned int uiFrame)
{
    const std::string strStamp = "Frame " + std::to_string(uiFrame) + " drawn at ";
    for (int i = 0; i < 60 * 20; ++i)
    {
        if (TEST_ReadText(tRun.strLog).find(strStamp) != std::string::npos)
        {
            return true;
        }
        siginfo_t tEnded{};
        if (waitid(P_PID, static_cast<id_t>(tRun.iPid), &tEnded, WEXITED | WNOHANG | WNOWAIT) !=
                0 ||
            tEnded.si_pid == tRun.iPid)
        {
            return false;  // ended (and left for TEST_WaitForGame to collect)
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

int TEST_SignalGame(const GameRun& tRun, int iSignal, unsigned int uiFrame)
{
    if (!TEST_WaitForFrame(tRun, uiFrame) || kill(tRun.iPid, iSignal) != 0)
    {
        kill(tRun.iPid, SIGKILL);
        TEST_WaitForGame(tRun, 0);
        return -1;
    }
    return TEST_WaitForGame(tRun, 20);
}

std::string TEST_GameLog(const GameRun& tRun)
{
    return TEST_ReadText(tRun.strLog);
}

int TEST_FramesDrawn(const std::string& strLog)
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

bool TEST_GameWindowSize(int* pWidth, int* pHeight)
{
    return WithGameWindow(
        [&](Display* pDisplay, Window tWindow)
        {
            XWindowAttributes tAttributes{};
            *pWidth =
                XGetWindowAttributes(pDisplay, tWindow, &tAttributes) != 0 ? tAttributes.width : 0;
            *pHeight = tAttributes.height;
            return *pWidth != 0;
        });
}

bool TEST_GameWindowIcon(int* pWidth, int* pHeight, int iX, int iY, unsigned long* pARGB)
{
    return WithGameWindow(
        [&](Display* pDisplay, Window tWindow)
        {
            Atom tType = 0;
            int iFormat = 0;
            unsigned long uiItems = 0;
            unsigned long uiAfter = 0;
            unsigned char* pData = nullptr;
            bool bFound = false;
            // Format 32 properties come back as longs: width, height, then the ARGB pixels.
            if (XGetWindowProperty(pDisplay, tWindow, XInternAtom(pDisplay, "_NET_WM_ICON", False),
                                   0, 1 << 20, False, XA_CARDINAL, &tType, &iFormat, &uiItems,
                                   &uiAfter, &pData) == Success &&
                pData != nullptr && iFormat == 32 && uiItems >= 2)
            {
                const unsigned long* pLongs = reinterpret_cast<const unsigned long*>(pData);
                *pWidth = static_cast<int>(pLongs[0]);
                *pHeight = static_cast<int>(pLongs[1]);
                const unsigned long uiAt = 2 + static_cast<unsigned long>(iY) * pLongs[0] + iX;
                bFound = iX >= 0 && iY >= 0 && uiAt < uiItems;
                *pARGB = bFound ? pLongs[uiAt] & 0xFFFFFFFFul : 0;
            }
            if (pData != nullptr)
            {
                XFree(pData);
            }
            return bFound;
        });
}

bool TEST_RequestClose()
{
    return WithGameWindow(
        [](Display* pDisplay, Window tWindow)
        {
            XEvent tEvent{};
            tEvent.xclient.type = ClientMessage;
            tEvent.xclient.window = tWindow;
            tEvent.xclient.message_type = XInternAtom(pDisplay, "WM_PROTOCOLS", False);
            tEvent.xclient.format = 32;
            tEvent.xclient.data.l[0] =
                static_cast<long>(XInternAtom(pDisplay, "WM_DELETE_WINDOW", False));
            tEvent.xclient.data.l[1] = CurrentTime;
            XSendEvent(pDisplay, tWindow, False, NoEventMask, &tEvent);
            XFlush(pDisplay);
            return true;
        });
}
