#include "MusicPlayer.h"

#include <cstdio>
#include <cstring>

#include "FileSystem.h"

namespace
{

constexpr float FADE_STEP = 0.02f;  // 50 steps leave a little above 0; the 51st stops

// The bundle directory: the resource directory is always "<bundle>/Data".
void BundleDirectory(char* pDest, size_t uiSize)
{
    if (FS_ResourceDirectory()[0] == '\0')
    {
        FS_SetupDirectories();  // the player is made before the game sets the directories
    }
    std::snprintf(pDest, uiSize, "%s", FS_ResourceDirectory());
    const size_t uiLength = std::strlen(pDest);
    static constexpr char DATA_SUFFIX[] = "/Data";
    constexpr size_t SUFFIX_LENGTH = sizeof(DATA_SUFFIX) - 1;
    if (uiLength >= SUFFIX_LENGTH &&
        std::strcmp(pDest + uiLength - SUFFIX_LENGTH, DATA_SUFFIX) == 0)
    {
        pDest[uiLength - SUFFIX_LENGTH] = '\0';
    }
}

}  // namespace

void MusicPlayer::Init()
{
    char strBundle[FS_MAX_PATH];
    BundleDirectory(strBundle, sizeof(strBundle));
    char strURL[FS_MAX_PATH + 64];
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
        fVolume -= FADE_STEP;
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
