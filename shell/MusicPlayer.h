#pragma once

// The game's background music: one MP3 looping without end, with an on/off switch and a
// fade-out. The fade lowers the volume by 0.02 a frame and stops the music at the 51st update.

#include "AVAudioPlayer.h"

class MusicPlayer
{
public:
    // Points the player at "<bundle>/Data/Music/BoughfallTheme.mp3", looping without end;
    // the switch is on, nothing plays yet.
    void Init();
    // Starts the music at full volume when the switch is on and it is not already playing.
    void Play();
    void FadeStop() { bFadeOut = 1; }
    // Once a frame: the fade.
    void Update();
    // Stops at once; a fade in progress stays marked.
    void InstantStop();
    // Turns the switch on; cancels a fade (the volume reached stays) or starts the music.
    void Enable();
    // Turns the switch off and fades the music out.
    void Disable();
    unsigned char IsEnabled() const { return bEnabled; }

    // For the tests and the tools: what the game itself never needs to ask.
    float Volume() const { return fVolume; }
    unsigned char IsPlaying() const { return bPlaying; }
    const AVAudioPlayer& Player() const { return music; }

private:
    float fVolume = 0.0f;
    unsigned char bFadeOut = 0;  // stays set after the fade has ended
    unsigned char bEnabled = 0;
    unsigned char bPlaying = 0;
    AVAudioPlayer music;
};
