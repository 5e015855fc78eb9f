#include "MusicBackend.h"

#include <SDL_mixer.h>
#include <strings.h>

#include <cmath>
#include <cstdio>
#include <cstring>

#include "Host.h"

namespace
{

// Sample rates by MPEG version bits x 4 + rate index; -1 is reserved.
constexpr int s_tSampleRates[16] = {
    11025, 12000, 8000,  -1,  // MPEG 2.5
    -1,    -1,    -1,    -1,  // reserved version
    22050, 24000, 16000, -1,  // MPEG 2
    44100, 48000, 32000, -1,  // MPEG 1
};

constexpr unsigned int ID3_MARKER = 0x494433;  // "ID3"

char s_strCurrentPath[MUSIC_MAX_PATH];
Mix_Music* s_pMusic = nullptr;
int s_bStarted = 0;
int s_iStartCount = 0;
int s_iLastRequestedVolume = 0;
int s_iLastAppliedVolume = -1;
float s_fVolumeScale = 1.0f;

// The path without its leading slashes and backslashes: the key paths are compared by.
const char* PathKey(const char* pPath)
{
    while (*pPath == '/' || *pPath == '\\')
    {
        ++pPath;
    }
    return pPath;
}

void FreeMusic()
{
    Mix_HaltMusic();
    if (s_pMusic != nullptr)
    {
        Mix_FreeMusic(s_pMusic);
        s_pMusic = nullptr;
    }
}

}  // namespace

MusicFormat MusicProbeFormat(const char* pPath)
{
    MusicFormat tFormat = {22050, 1};
    FILE* pFile = pPath != nullptr ? std::fopen(pPath, "rb") : nullptr;
    if (pFile == nullptr)
    {
        return tFormat;
    }
    unsigned int uiWindow = 0;  // the last bytes read, newest lowest
    int iByte;
    while ((iByte = std::fgetc(pFile)) != EOF)
    {
        const unsigned int uiLast3 = uiWindow & 0xFFFFFFu;
        if (uiLast3 == ID3_MARKER)
        {
            // iByte is the tag's major version; then revision, flags and four 7-bit size bytes.
            unsigned char tHeader[6];
            if (std::fread(tHeader, 1, sizeof(tHeader), pFile) != sizeof(tHeader))
            {
                break;
            }
            long iSize = 0;
            for (int i = 2; i < 6; ++i)
            {
                iSize = iSize * 128 + tHeader[i];
            }
            if (std::fseek(pFile, iSize, SEEK_CUR) != 0)
            {
                break;
            }
            uiWindow = 0;
            continue;
        }
        const unsigned int h0 = uiLast3 >> 16;
        const unsigned int h1 = (uiLast3 >> 8) & 0xFFu;
        const unsigned int h2 = uiLast3 & 0xFFu;
        if (h0 == 0xFFu && (h1 & 0xE0u) == 0xE0u)
        {
            tFormat.iFrequency = s_tSampleRates[((h1 >> 3) & 3u) * 4 + ((h2 >> 2) & 3u)];
            tFormat.iChannels = (static_cast<unsigned int>(iByte) >> 6) == 3 ? 1 : 2;
            break;
        }
        uiWindow = (uiWindow << 8) | static_cast<unsigned int>(iByte);
    }
    std::fclose(pFile);
    return tFormat;
}

void MusicPlayFile(const char* pPath, int iLoops)
{
    if (pPath == nullptr)
    {
        return;
    }
    char strPath[MUSIC_MAX_PATH];
    std::snprintf(strPath, sizeof(strPath), "%s", pPath);
    if (strcasecmp(PathKey(strPath), PathKey(s_strCurrentPath)) == 0)
    {
        return;  // already current: neither restarted nor resumed
    }
    std::memcpy(s_strCurrentPath, strPath, sizeof(s_strCurrentPath));
    FreeMusic();
    s_bStarted = 0;

    const MusicFormat tFormat = MusicProbeFormat(s_strCurrentPath);
    HostOpenAudio(tFormat.iFrequency, tFormat.iChannels);
    if (tFormat.iFrequency <= 0 || g_Host.iAudioFrequency != tFormat.iFrequency ||
        g_Host.iAudioChannels != tFormat.iChannels)
    {
        return;  // the mixer would have to resample the MP3, which corrupts its memory
    }
    s_pMusic = Mix_LoadMUS(s_strCurrentPath);
    // SDL_mixer counts plays, not repeats; any negative count repeats without end.
    const int iMixLoops = iLoops < 0 ? -2 : iLoops - 1;
    if (s_pMusic != nullptr && Mix_PlayMusic(s_pMusic, iMixLoops) != -1)
    {
        s_bStarted = 1;
        ++s_iStartCount;
    }
}

void MusicStop()
{
    s_bStarted = 0;
    s_strCurrentPath[0] = '\0';
    FreeMusic();
}

void MusicPause()
{
    Mix_PauseMusic();
}

void MusicResume()
{
    Mix_ResumeMusic();
}

void MusicSetVolume(int iVolume)
{
    if (iVolume == s_iLastRequestedVolume)
    {
        return;
    }
    const int iCurrent = Mix_VolumeMusic(-1);
    if (s_iLastAppliedVolume != -1 && iCurrent * 2 != s_iLastAppliedVolume)
    {
        // Someone changed the volume, or the last applied value was odd and came back lower.
        // After a request of 0 any volume at all is more than was asked: full scale.
        s_fVolumeScale = s_iLastRequestedVolume > 0
                             ? std::fmin(static_cast<float>(iCurrent * 2) /
                                             static_cast<float>(s_iLastRequestedVolume),
                                         1.0f)
                             : 1.0f;
    }
    s_iLastAppliedVolume = static_cast<int>(static_cast<float>(iVolume) * s_fVolumeScale);
    Mix_VolumeMusic(s_iLastAppliedVolume / 2);
    s_iLastRequestedVolume = iVolume;
}

int MusicIsStarted()
{
    return s_bStarted;
}

int MusicStartCount()
{
    return s_iStartCount;
}
