#include "AVAudioPlayer.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "MusicBackend.h"

void AVAudioPlayer::initWithContentsOfURL(const char* pURL, void** ppError)
{
    static constexpr char FILE_SCHEME[] = "file://";
    const char* pPath = pURL != nullptr ? pURL : "";
    if (std::strncmp(pPath, FILE_SCHEME, sizeof(FILE_SCHEME) - 1) == 0)
    {
        pPath += sizeof(FILE_SCHEME) - 1;
    }
    std::snprintf(strPath, sizeof(strPath), "%s", pPath);
    iNumberOfLoops = 0;
    fVolume = 0.0f;
    bPlaying = 0;
    if (ppError != nullptr)
    {
        *ppError = nullptr;
    }
}

void AVAudioPlayer::setVolume(float fValue)
{
    if (fValue == fVolume)
    {
        return;
    }
    fVolume = fValue;
    MusicSetVolume(static_cast<int>(std::lround(fValue * 256.0f)));
}

void AVAudioPlayer::play()
{
    bPlaying = 1;
    if (strPath[0] != '\0')
    {
        MusicPlayFile(strPath, iNumberOfLoops);
    }
}

void AVAudioPlayer::pause()
{
    bPlaying = 0;
    MusicPause();
}

void AVAudioPlayer::stop()
{
    bPlaying = 0;
    MusicStop();
}
