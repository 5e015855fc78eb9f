#pragma once

// The level's sound effects: the miss ("no"), three cheers and three yawns. Each is loaded into
// the sound engine once per run and played by its source handle; a sound that failed to load
// plays nothing. LEVEL_ functions are the level's program-wide entry points.

enum eLevelSound
{
    LEVEL_SOUND_NO = 0,
    LEVEL_SOUND_YAY1,
    LEVEL_SOUND_YAY2,
    LEVEL_SOUND_YAY3,
    LEVEL_SOUND_YAWN1,
    LEVEL_SOUND_YAWN2,
    LEVEL_SOUND_YAWN3,
    NUM_LEVEL_SOUNDS
};

// "no", "yay1", "yay2", "yay3", when a level is first created.
void LEVEL_LoadSounds();
// "yawn1", "yawn2", "yawn3", when the first game starts.
void LEVEL_LoadYawnSounds();
// Forgets the handles; called when the sound engine they belong to is deleted.
void LEVEL_ForgetSounds();

void LEVEL_PlaySound(int iSound);
// How often a sound was asked for since it was loaded (muted or not): the trace and tests.
int LEVEL_SoundPlays(int iSound);
