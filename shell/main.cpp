// The process entry: the command line and the remembered settings, the window's icon, then the
// application main runs the game until it is told to quit.

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
    SETTINGS_Load(nullptr);
    CMDLINE_Apply(tOptions);
    SHELL_LoadWindowIcon();
    SCRIPT_Load();
    return UIApplicationMain(argc, argv, SHELL_LoadMainInterface);
}
