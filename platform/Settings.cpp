#include "Settings.h"

#include <strings.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "AtomicFile.h"
#include "Host.h"
#include "LineReader.h"

namespace
{

struct SettingsState
{
    char strPath[SETTINGS_MAX_PATH];  // "" = kept in memory only
    // As the file has them (or will have them once written).
    bool bMusic;
    bool bEffects;
    bool bFullscreen;
    int iWindowWidth;  // 0 x 0: none remembered
    int iWindowHeight;
    // This run's options; they give way to the player's first change of the same setting.
    bool bHasRunFullscreen;
    bool bRunFullscreen;
    int iRunWidth;  // 0 x 0: none given
    int iRunHeight;
    // Comments and keys of others, written back after the game's own keys.
    char strKept[SETTINGS_MAX_LINES][SETTINGS_MAX_LINE];
    int iNumKept;
};

SettingsState s_Settings;
bool s_bThisRunOnly = false;  // changes are not written (a replay plays)

enum SettingsKey
{
    KEY_MUSIC,
    KEY_EFFECTS,
    KEY_FULLSCREEN,
    KEY_WINDOW,
    KEY_OTHER,
};

const char* const KEY_NAMES[KEY_OTHER] = {"music", "effects", "fullscreen", "window"};

void SetDefaults()
{
    s_Settings = SettingsState{};
    s_Settings.bMusic = true;
    s_Settings.bEffects = true;
}

bool InBounds(int iWidth, int iHeight)
{
    return iWidth >= SETTINGS_MIN_WINDOW_WIDTH && iHeight >= SETTINGS_MIN_WINDOW_HEIGHT &&
           iWidth <= SETTINGS_MAX_WINDOW_SIZE && iHeight <= SETTINGS_MAX_WINDOW_SIZE;
}

bool ParseSwitch(const char* pValue, bool* pOn)
{
    static const char* const s_pOn[] = {"on", "yes", "true", "1"};
    static const char* const s_pOff[] = {"off", "no", "false", "0"};
    for (int i = 0; i < 4; ++i)
    {
        if (strcasecmp(pValue, s_pOn[i]) == 0 || strcasecmp(pValue, s_pOff[i]) == 0)
        {
            *pOn = strcasecmp(pValue, s_pOn[i]) == 0;
            return true;
        }
    }
    return false;
}

// Cuts blanks (and a Windows line end) from both ends in place.
char* Trim(char* pText)
{
    while (*pText == ' ' || *pText == '\t')
    {
        ++pText;
    }
    size_t uiLength = std::strlen(pText);
    while (uiLength > 0 && std::strchr(" \t\r", pText[uiLength - 1]) != nullptr)
    {
        pText[--uiLength] = '\0';
    }
    return pText;
}

bool IsKeyName(const char* pKey)
{
    if (*pKey == '\0')
    {
        return false;
    }
    for (; *pKey != '\0'; ++pKey)
    {
        if (!std::isalnum(static_cast<unsigned char>(*pKey)) &&
            std::strchr("_.-", *pKey) == nullptr)
        {
            return false;
        }
    }
    return true;
}

void Keep(const char* pLine)
{
    if (s_Settings.iNumKept == SETTINGS_MAX_LINES)
    {
        static bool s_bReported = false;
        if (!s_bReported)
        {
            std::printf("Settings: SETTINGS_MAX_LINES hit; later lines are not kept\n");
            s_bReported = true;
        }
        return;
    }
    std::snprintf(s_Settings.strKept[s_Settings.iNumKept++], SETTINGS_MAX_LINE, "%s", pLine);
}

// One trimmed line of the file; false when it cannot be read.
bool ApplyLine(char* pLine)
{
    if (pLine[0] == '\0')
    {
        return true;  // blank lines are not kept
    }
    if (pLine[0] == '#')
    {
        Keep(pLine);
        return true;
    }
    char strWhole[SETTINGS_MAX_LINE];
    std::snprintf(strWhole, sizeof(strWhole), "%s", pLine);
    char* pEquals = std::strchr(pLine, '=');
    if (pEquals == nullptr)
    {
        return false;
    }
    *pEquals = '\0';
    const char* pKey = Trim(pLine);
    const char* pValue = Trim(pEquals + 1);
    if (!IsKeyName(pKey))
    {
        return false;
    }
    int iKey = 0;
    while (iKey < KEY_OTHER && strcasecmp(pKey, KEY_NAMES[iKey]) != 0)
    {
        ++iKey;
    }
    switch (iKey)
    {
        case KEY_MUSIC:
            return ParseSwitch(pValue, &s_Settings.bMusic);
        case KEY_EFFECTS:
            return ParseSwitch(pValue, &s_Settings.bEffects);
        case KEY_FULLSCREEN:
            return ParseSwitch(pValue, &s_Settings.bFullscreen);
        case KEY_WINDOW:
            return SETTINGS_ParseWindowSize(pValue, &s_Settings.iWindowWidth,
                                            &s_Settings.iWindowHeight);
        default:
            Keep(strWhole);
            return true;
    }
}

void DefaultPath(char* pPath)
{
    const char* pConfigHome = std::getenv("XDG_CONFIG_HOME");
    const char* pHome = std::getenv("HOME");
    if (pConfigHome != nullptr && pConfigHome[0] == '/')
    {
        std::snprintf(pPath, SETTINGS_MAX_PATH, "%s/boughfall/settings.ini", pConfigHome);
    }
    else if (pHome != nullptr && pHome[0] != '\0')
    {
        std::snprintf(pPath, SETTINGS_MAX_PATH, "%s/.config/boughfall/settings.ini", pHome);
    }
    else
    {
        pPath[0] = '\0';
    }
}

// The whole file as written: the game's keys, then the kept lines. Large enough for every line
// at its longest, so nothing is ever cut.
struct SettingsText
{
    char strBytes[(SETTINGS_MAX_LINES + 4) * (SETTINGS_MAX_LINE + 1)];
    size_t uiLength;

    void Put(const char* pFirst, const char* pSecond = nullptr)
    {
        const int iLength =
            std::snprintf(strBytes + uiLength, sizeof(strBytes) - uiLength, "%s%s%s\n", pFirst,
                          pSecond != nullptr ? "=" : "", pSecond != nullptr ? pSecond : "");
        if (iLength > 0)
        {
            uiLength = std::min(sizeof(strBytes) - 1, uiLength + static_cast<size_t>(iLength));
        }
    }
};

SettingsText s_Text;

// Writes the whole file through a temporary file in its folder; false, with one line, when
// any step fails (the old file is then untouched).
bool Write()
{
    const char* pPath = s_Settings.strPath;
    if (pPath[0] == '\0' || s_bThisRunOnly)
    {
        return true;
    }
    char strFolder[SETTINGS_MAX_PATH];
    std::snprintf(strFolder, sizeof(strFolder), "%s", pPath);
    char* pSlash = std::strrchr(strFolder, '/');
    if (pSlash != nullptr && pSlash != strFolder)
    {
        *pSlash = '\0';
        HostMakeDirectories(strFolder, 0700);
    }
    s_Text.uiLength = 0;
    s_Text.Put(KEY_NAMES[KEY_MUSIC], s_Settings.bMusic ? "on" : "off");
    s_Text.Put(KEY_NAMES[KEY_EFFECTS], s_Settings.bEffects ? "on" : "off");
    s_Text.Put(KEY_NAMES[KEY_FULLSCREEN], s_Settings.bFullscreen ? "on" : "off");
    if (s_Settings.iWindowWidth > 0)
    {
        char strSize[32];
        std::snprintf(strSize, sizeof(strSize), "%dx%d", s_Settings.iWindowWidth,
                      s_Settings.iWindowHeight);
        s_Text.Put(KEY_NAMES[KEY_WINDOW], strSize);
    }
    for (int i = 0; i < s_Settings.iNumKept; ++i)
    {
        s_Text.Put(s_Settings.strKept[i]);
    }
    char strError[256];
    if (!HostReplaceFile(pPath, s_Text.strBytes, s_Text.uiLength, strError, sizeof(strError)))
    {
        std::printf("Settings: cannot write %s: %s\n", pPath, strError);
        return false;
    }
    return true;
}

void SetSwitch(bool* pSwitch, bool bValue)
{
    if (*pSwitch != bValue)
    {
        *pSwitch = bValue;
        Write();
    }
}

}  // namespace

void SETTINGS_Load(const char* pPath)
{
    SetDefaults();
    if (pPath != nullptr)
    {
        std::snprintf(s_Settings.strPath, sizeof(s_Settings.strPath), "%s", pPath);
    }
    else
    {
        DefaultPath(s_Settings.strPath);
    }
    const char* pFilePath = s_Settings.strPath;
    if (pFilePath[0] == '\0')
    {
        std::printf("Settings: no home folder; settings are kept for this run only\n");
        return;
    }
    FILE* pFile = std::fopen(pFilePath, "r");
    if (pFile == nullptr)
    {
        std::printf("Settings: %s: %s; using the defaults\n", pFilePath,
                    errno == ENOENT ? "not written yet" : std::strerror(errno));
        return;
    }
    char strLine[SETTINGS_MAX_LINE];
    bool bBinary = false;
    int iLine = 0;
    int iNumBad = 0;
    int iFirstBad = 0;
    bool bEnded = false;
    HostLineRead eRead;
    while ((eRead = HostReadLine(pFile, strLine, sizeof(strLine), &bBinary, &bEnded)) !=
               HOST_LINE_END &&
           !bBinary)
    {
        ++iLine;
        if (eRead == HOST_LINE_TOO_LONG || !ApplyLine(Trim(strLine)))
        {
            iFirstBad = iNumBad++ == 0 ? iLine : iFirstBad;
        }
    }
    const bool bReadError = std::ferror(pFile) != 0;
    const int iError = errno;
    std::fclose(pFile);
    if (bBinary || bReadError)
    {
        char strPath[SETTINGS_MAX_PATH];
        std::snprintf(strPath, sizeof(strPath), "%s", pFilePath);
        SetDefaults();
        std::snprintf(s_Settings.strPath, sizeof(s_Settings.strPath), "%s", strPath);
        std::printf("Settings: %s: %s; using the defaults\n", strPath,
                    bBinary ? "not a text file" : std::strerror(iError));
        return;
    }
    if (iNumBad > 0)
    {
        std::printf("Settings: %s: skipped %d line%s that could not be read (the first: line %d)\n",
                    pFilePath, iNumBad, iNumBad == 1 ? "" : "s", iFirstBad);
    }
}

void SETTINGS_KeepForThisRun()
{
    s_bThisRunOnly = true;
}

const char* SETTINGS_Path()
{
    return s_Settings.strPath;
}

void SETTINGS_Reset()
{
    SetDefaults();
    s_bThisRunOnly = false;
}

bool SETTINGS_MusicEnabled()
{
    return s_Settings.bMusic;
}

void SETTINGS_SetMusicEnabled(bool bEnabled)
{
    SetSwitch(&s_Settings.bMusic, bEnabled);
}

bool SETTINGS_EffectsEnabled()
{
    return s_Settings.bEffects;
}

void SETTINGS_SetEffectsEnabled(bool bEnabled)
{
    SetSwitch(&s_Settings.bEffects, bEnabled);
}

bool SETTINGS_Fullscreen()
{
    return s_Settings.bHasRunFullscreen ? s_Settings.bRunFullscreen : s_Settings.bFullscreen;
}

void SETTINGS_SetFullscreen(bool bFullscreen)
{
    s_Settings.bHasRunFullscreen = false;
    SetSwitch(&s_Settings.bFullscreen, bFullscreen);
}

void SETTINGS_WindowSize(int* pWidth, int* pHeight)
{
    const bool bRun = s_Settings.iRunWidth > 0;
    *pWidth = bRun ? s_Settings.iRunWidth : s_Settings.iWindowWidth;
    *pHeight = bRun ? s_Settings.iRunHeight : s_Settings.iWindowHeight;
}

bool SETTINGS_SetWindowSize(int iWidth, int iHeight)
{
    if (!InBounds(iWidth, iHeight))
    {
        return false;
    }
    s_Settings.iRunWidth = 0;
    s_Settings.iRunHeight = 0;
    if (iWidth != s_Settings.iWindowWidth || iHeight != s_Settings.iWindowHeight)
    {
        s_Settings.iWindowWidth = iWidth;
        s_Settings.iWindowHeight = iHeight;
        Write();
    }
    return true;
}

void SETTINGS_OverrideFullscreen(bool bFullscreen)
{
    s_Settings.bHasRunFullscreen = true;
    s_Settings.bRunFullscreen = bFullscreen;
}

bool SETTINGS_OverrideWindowSize(int iWidth, int iHeight)
{
    if (!InBounds(iWidth, iHeight))
    {
        return false;
    }
    s_Settings.iRunWidth = iWidth;
    s_Settings.iRunHeight = iHeight;
    return true;
}

bool SETTINGS_ParseWindowSize(const char* pText, int* pWidth, int* pHeight)
{
    int tSides[2] = {0, 0};
    const char* p = pText;
    for (int iSide = 0; iSide < 2; ++iSide)
    {
        // At most five digits: every size in bounds, and no overflow.
        int iDigits = 0;
        for (; std::isdigit(static_cast<unsigned char>(*p)) && iDigits <= 5; ++p, ++iDigits)
        {
            tSides[iSide] = tSides[iSide] * 10 + (*p - '0');
        }
        if (iDigits == 0 || iDigits > 5 || (iSide == 0 && *p != 'x' && *p != 'X'))
        {
            return false;
        }
        p += iSide == 0 ? 1 : 0;
    }
    if (*p != '\0' || !InBounds(tSides[0], tSides[1]))
    {
        return false;
    }
    *pWidth = tSides[0];
    *pHeight = tSides[1];
    return true;
}
