#include "MusicPlayer.h"

#include <cstdio>
#include <cstring>

#include "Host.h"

namespace
{

constexpr float MUSIC_FADE_STEP = 0.02f;  // 50 steps leave a little above 0; the 51st stops

}  // namespace

void MusicPlayer::Init()
{
    char strBundle[1024];
    HostBundleDirectory(strBundle, sizeof(strBundle));
    char strURL[1024 + 64];
    std::snprintf(strURL, sizeof(strURL), "file://%s/Data/Music/BoughfallTheme.mp3", strBundle);
    music.initWithContentsOfURL(strURL, nullptr);
    music.setNumberOfLoops(-1);
    bEnabled = 1;
    bPlaying = 0;
}

void MusicPlayer::Play()
{
    if (!bEnabled || bPlaying)
    {
        return;
    }
    bFadeOut = 0;
    bPlaying = 1;
    fVolume = 1.0f;
    music.setVolume(1.0f);
    music.play();
}

void MusicPlayer::Update()
{
    if (!bFadeOut)
    {
        return;
    }
    if (fVolume > 0.0f)
    {
        fVolume -= MUSIC_FADE_STEP;
    }
    if (fVolume < 0.0f)
    {
        fVolume = 0.0f;
        music.stop();
        bPlaying = 0;
    }
    music.setVolume(fVolume);
}

void MusicPlayer::InstantStop()
{
    music.stop();
    bPlaying = 0;
}

void MusicPlayer::Disable()
{
    if (bEnabled)
    {
        bEnabled = 0;
        FadeStop();
    }
}

void MusicPlayer::Enable()
{
    if (bEnabled)
    {
        return;
    }
    bEnabled = 1;
    if (bFadeOut)
    {
        bFadeOut = 0;
        fVolume = 1.0f;  // the player stays at the volume the fade reached
    }
    if (!bPlaying)
    {
        Play();
    }
}
