#pragma once

// The game binary as a child process on the test's own virtual X server: starting it
// with options, a script and its own home, waiting for its end, reading what it printed, and
// finding its window.

#include <sys/types.h>

#include <string>
#include <vector>

struct GameLaunch
{
    std::string strBinary;  // empty: the build's boughfall
    std::vector<std::string> tArguments;
    std::string strScript;  // BOUGHFALL_SCRIPT's text; empty: none
    std::string strAudioDriver = "disk";
    std::string strAudioFile = "/dev/null";
    std::string strConfigHome;  // XDG_CONFIG_HOME; empty: unset (the settings go under HOME)
    std::string strWorkingDir;  // empty: the test's own
    std::vector<std::string> tEnvironment;  // more "NAME=value" settings for the game
};

struct GameRun
{
    pid_t iPid = -1;
    std::string strLog;   // what the game printed on standard output
    std::string strHome;  // the run's own empty HOME
};

// Starts the game with SIGINT at its default disposition, as from a terminal (a child of a
// background shell would otherwise inherit it ignored).
GameRun TEST_StartGame(const GameLaunch& tLaunch);

// The exit status (128 + the signal when a signal ended it), or -1 when the game was still
// running after the timeout (it is then killed).
int TEST_WaitForGame(const GameRun& tRun, int iSeconds);

// Waits up to a minute for the game to say it drew frame uiFrame: its script must have the step
// "<uiFrame> stamp". False when the game ended or the minute passed first.
bool TEST_WaitForFrame(const GameRun& tRun, unsigned int uiFrame);

// Once the game has drawn frame uiFrame (as TEST_WaitForFrame), sends it a signal and waits up
// to 20 s for its end: the exit status as TEST_WaitForGame gives it (-1 when the frame never
// came or the signal could not be sent).
int TEST_SignalGame(const GameRun& tRun, int iSignal, unsigned int uiFrame);

std::string TEST_GameLog(const GameRun& tRun);

// The frame count of the game's shutdown line, or -1 when the game did not shut down.
int TEST_FramesDrawn(const std::string& strLog);

// The game's window is its top-level window titled "Boughfall", looked for up to five seconds.
// Its size; false when there is no game window.
bool TEST_GameWindowSize(int* pWidth, int* pHeight);

// The size of the first icon in the window's _NET_WM_ICON, and the icon's pixel (ARGB) at
// (iX, iY); false when the window has no icon.
bool TEST_GameWindowIcon(int* pWidth, int* pHeight, int iX, int iY, unsigned long* pARGB);

// Sends the window manager's close request (WM_DELETE_WINDOW), as a title bar's close button.
bool TEST_RequestClose();
