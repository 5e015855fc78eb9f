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
                 "Usage: boughfall [--fullscreen] [--window WIDTHxHEIGHT] [--record FILE | "
                 "--replay FILE]\n"
                 "                 [--help] [--version]\n"
                 "Catch the pommos before they drop, and throw each into the basket of its "
                 "colour.\n"
                 "\n"
                 "  --fullscreen           start in fullscreen\n"
                 "  --window WIDTHxHEIGHT  start in a window of that size, e.g. 960x640\n"
                 "  --record FILE          write this session to FILE as it is played\n"
                 "  --replay FILE          play a recorded session again, exactly; its saves go "
                 "to a\n"
                 "                         folder of their own, your own are left alone\n"
                 "  --help                 show this help and exit\n"
                 "  --version              show the version and exit\n"
                 "\n"
                 "Keys: P or Esc pauses and goes on (Esc also goes back a menu page),\n"
                 "F11 or Alt+Enter switches fullscreen, the Left and Right arrows tilt.\n"
                 "The music and effects switches, fullscreen and the window size are kept in\n"
                 "$XDG_CONFIG_HOME/boughfall/settings.ini (~/.config/boughfall/settings.ini).\n"
                 "See boughfall(6).\n");
}

enum ValueOption
{
    OPTION_WINDOW = 0,
    OPTION_RECORD = 1,
    OPTION_REPLAY = 2,
};
const char* const VALUE_OPTIONS[] = {"--window", "--record", "--replay"};
const char* const VALUE_NAMES[] = {"a size, WIDTHxHEIGHT", "a file", "a file"};

// Which option taking a value this is (-1 for none); *ppValue is the value after '=', or null
// when it is the next argument.
int OptionWithValue(const char* pArgument, const char** ppValue)
{
    *ppValue = nullptr;
    for (int i = 0; i < 3; ++i)
    {
        const size_t uiLength = std::strlen(VALUE_OPTIONS[i]);
        if (std::strncmp(pArgument, VALUE_OPTIONS[i], uiLength) == 0)
        {
            if (pArgument[uiLength] == '=')
            {
                *ppValue = pArgument + uiLength + 1;
                return i;
            }
            if (pArgument[uiLength] == '\0')
            {
                return i;
            }
        }
    }
    return -1;
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
        const char* pValue = nullptr;
        const int iKind = OptionWithValue(pArgument, &pValue);
        if (iKind < 0)
        {
            std::snprintf(strMessage, sizeof(strMessage), "unknown option '%.200s'", pArgument);
            return Fail(strMessage);
        }
        if (pValue == nullptr && i + 1 < argc)
        {
            pValue = argv[++i];
        }
        // A size that is empty is reported as no size; a file name cannot be empty.
        if (pValue == nullptr || (iKind != OPTION_WINDOW && pValue[0] == '\0'))
        {
            std::snprintf(strMessage, sizeof(strMessage), "%s needs %s", VALUE_OPTIONS[iKind],
                          VALUE_NAMES[iKind]);
            return Fail(strMessage);
        }
        if (iKind == OPTION_RECORD || iKind == OPTION_REPLAY)
        {
            (iKind == OPTION_RECORD ? pOptions->pRecordPath : pOptions->pReplayPath) = pValue;
            if (pOptions->pRecordPath != nullptr && pOptions->pReplayPath != nullptr)
            {
                return Fail("--record and --replay cannot be used together");
            }
            continue;
        }
        if (!SETTINGS_ParseWindowSize(pValue, &pOptions->iWindowWidth, &pOptions->iWindowHeight))
        {
            std::snprintf(strMessage, sizeof(strMessage),
                          "'%.100s' is not a window size: WIDTHxHEIGHT, from %dx%d to %dx%d",
                          pValue, SETTINGS_MIN_WINDOW_WIDTH, SETTINGS_MIN_WINDOW_HEIGHT,
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
