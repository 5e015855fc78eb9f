#include "CommandLine.h"

#include <cstdio>
#include <cstring>

#include "Settings.h"

#ifndef BF_VERSION
#define BF_VERSION "unknown"
#endif

namespace
{

void Usage(FILE* pOut)
{
    std::fprintf(pOut,
                 "Usage: boughfall [--fullscreen] [--window WIDTHxHEIGHT] [--help] [--version]\n"
                 "Catch the pommos before they drop, and throw each into the basket of its "
                 "colour.\n"
                 "\n"
                 "  --fullscreen           start in fullscreen\n"
                 "  --window WIDTHxHEIGHT  start in a window of that size, e.g. 960x640\n"
                 "  --help                 show this help and exit\n"
                 "  --version              show the version and exit\n"
                 "\n"
                 "Keys: Esc or P pauses, F11 or Alt+Enter switches fullscreen, the Left and "
                 "Right arrows tilt.\n"
                 "The music and effects switches, fullscreen and the window size are kept in\n"
                 "$XDG_CONFIG_HOME/boughfall/settings.ini (~/.config/boughfall/settings.ini).\n"
                 "See boughfall(6).\n");
}

int Fail(const char* pMessage)
{
    std::fprintf(stderr, "boughfall: %s\n", pMessage);
    Usage(stderr);
    return 2;
}

}  // namespace

int CMDLINE_Parse(int argc, char** argv, CommandLine* pOptions)
{
    *pOptions = CommandLine{};
    for (int i = 1; i < argc; ++i)
    {
        const char* pArgument = argv[i];
        if (std::strcmp(pArgument, "--help") == 0)
        {
            Usage(stdout);
            return 0;
        }
        if (std::strcmp(pArgument, "--version") == 0)
        {
            std::printf("Boughfall %s\n", BF_VERSION);
            return 0;
        }
        if (std::strcmp(pArgument, "--fullscreen") == 0)
        {
            pOptions->bFullscreen = true;
            continue;
        }
        char strMessage[256];
        const char* pSize = nullptr;
        if (std::strncmp(pArgument, "--window=", 9) == 0)
        {
            pSize = pArgument + 9;
        }
        else if (std::strcmp(pArgument, "--window") == 0)
        {
            if (i + 1 == argc)
            {
                return Fail("--window needs a size, WIDTHxHEIGHT");
            }
            pSize = argv[++i];
        }
        else
        {
            std::snprintf(strMessage, sizeof(strMessage), "unknown option '%.200s'", pArgument);
            return Fail(strMessage);
        }
        if (!SETTINGS_ParseWindowSize(pSize, &pOptions->iWindowWidth, &pOptions->iWindowHeight))
        {
            std::snprintf(strMessage, sizeof(strMessage),
                          "'%.100s' is not a window size: WIDTHxHEIGHT, from %dx%d to %dx%d", pSize,
                          SETTINGS_MIN_WINDOW_WIDTH, SETTINGS_MIN_WINDOW_HEIGHT,
                          SETTINGS_MAX_WINDOW_SIZE, SETTINGS_MAX_WINDOW_SIZE);
            return Fail(strMessage);
        }
    }
    return CMDLINE_RUN;
}

void CMDLINE_Apply(const CommandLine& tOptions)
{
    if (tOptions.iWindowWidth > 0)
    {
        SETTINGS_OverrideWindowSize(tOptions.iWindowWidth, tOptions.iWindowHeight);
        SETTINGS_OverrideFullscreen(tOptions.bFullscreen);
    }
    else if (tOptions.bFullscreen)
    {
        SETTINGS_OverrideFullscreen(true);
    }
}
