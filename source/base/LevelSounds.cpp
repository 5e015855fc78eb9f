#include "LevelSounds.h"

#include "Audio.h"
#include "Game.h"

namespace
{

const char* const s_pSoundNames[NUM_LEVEL_SOUNDS] = {"no",    "yay1",  "yay2", "yay3",
                                                     "yawn1", "yawn2", "yawn3"};

int s_iSources[NUM_LEVEL_SOUNDS] = {-1, -1, -1, -1, -1, -1, -1};
int s_iPlays[NUM_LEVEL_SOUNDS] = {};
bool s_bLevelSoundsLoaded = false;
bool s_bYawnSoundsLoaded = false;

void LoadRange(int iFirst, int iLast)
{
    for (int i = iFirst; i <= iLast; ++i)
    {
        s_iSources[i] = g_pAudio->CreateSource(g_pAudio->LoadSound(s_pSoundNames[i]), 0);
        s_iPlays[i] = 0;
    }
}

}  // namespace

void LEVEL_LoadSounds()
{
    if (!s_bLevelSoundsLoaded && g_pAudio != nullptr)
    {
        LoadRange(LEVEL_SOUND_NO, LEVEL_SOUND_YAY3);
        s_bLevelSoundsLoaded = true;
    }
}

void LEVEL_LoadYawnSounds()
{
    if (!s_bYawnSoundsLoaded && g_pAudio != nullptr)
    {
        LoadRange(LEVEL_SOUND_YAWN1, LEVEL_SOUND_YAWN3);
        s_bYawnSoundsLoaded = true;
    }
}

void LEVEL_ForgetSounds()
{
    for (int i = 0; i < NUM_LEVEL_SOUNDS; ++i)
    {
        s_iSources[i] = -1;
        s_iPlays[i] = 0;
    }
    s_bLevelSoundsLoaded = false;
    s_bYawnSoundsLoaded = false;
}

void LEVEL_PlaySound(int iSound)
{
    if (iSound < 0 || iSound >= NUM_LEVEL_SOUNDS)
    {
        return;
    }
    ++s_iPlays[iSound];
    if (g_pAudio != nullptr)
    {
        g_pAudio->PlaySound(s_iSources[iSound]);
    }
}

int LEVEL_SoundPlays(int iSound)
{
    return iSound >= 0 && iSound < NUM_LEVEL_SOUNDS ? s_iPlays[iSound] : 0;
}
