// The process entry: the application main runs the game until it is told to quit.

#include "Application.h"
#include "BaseAppAppDelegate.h"
#include "ScriptDriver.h"

int main(int argc, char** argv)
{
    SCRIPT_Load();
    return UIApplicationMain(argc, argv, SHELL_LoadMainInterface);
}
