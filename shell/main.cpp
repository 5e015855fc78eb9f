// The process entry: the command line and the remembered settings, the window's icon, the
// script, recording or replay, then the application main runs the game until it is told to quit.

#include <cstdio>
#include <cstdlib>

#include "Application.h"
#include "BaseAppAppDelegate.h"
#include "CommandLine.h"
#include "ScriptDriver.h"
#include "Settings.h"
#include "WindowIcon.h"

int main(int argc, char** argv)
{
    CommandLine tOptions;
    const int iStatus = CMDLINE_Parse(argc, argv, &tOptions);
    if (iStatus != CMDLINE_RUN)
    {
        return iStatus;
    }
    // A replay is read through first: one that is refused stops here with its one line.
    if (tOptions.pReplayPath != nullptr)
    {
        const char* pScript = std::getenv("BOUGHFALL_SCRIPT");
        if (pScript != nullptr && pScript[0] != '\0')
        {
            std::fprintf(stderr,
                         "boughfall: a replay plays its own input: BOUGHFALL_SCRIPT "
                         "cannot be used with --replay\n");
            return 2;
        }
        if (!SCRIPT_LoadReplay(tOptions.pReplayPath))
        {
            return 2;
        }
    }
    SETTINGS_Load(nullptr);
    CMDLINE_Apply(tOptions);
    if (tOptions.pReplayPath == nullptr)
    {
        SCRIPT_Load();
    }
    if (tOptions.pRecordPath != nullptr && !SCRIPT_StartRecording(tOptions.pRecordPath))
    {
        return 2;
    }
    SHELL_LoadWindowIcon();
    return UIApplicationMain(argc, argv, SHELL_LoadMainInterface);
}
