#pragma once

// The framework's audio player, as much of it as the game uses: one file path, a loop count,
// a volume and a playing flag, over the music backend's single stream.

constexpr int AVAUDIOPLAYER_MAX_PATH = 256;  // 255 characters and the terminator

class AVAudioPlayer
{
public:
    // Copies a file URL's path ("file://" is taken off; at most 255 characters); touches no
    // file. Loops 0, volume 0.0, not playing. The error out-parameter, when given, is set null.
    void initWithContentsOfURL(const char* pURL, void** ppError);

    void setNumberOfLoops(int iLoops) { iNumberOfLoops = iLoops; }
    int numberOfLoops() const { return iNumberOfLoops; }

    // A changed value is stored and sent to the backend as value x 256, rounded half away
    // from zero.
    void setVolume(float fValue);
    float volume() const { return fVolume; }

    // Playing = yes; starts the file (a file that is already current is left as it is).
    void play();
    void pause();
    void stop();
    // The flag, not a question to the mixer.
    unsigned char isPlaying() const { return bPlaying; }

private:
    int iNumberOfLoops = 0;
    float fVolume = 0.0f;
    unsigned char bPlaying = 0;
    char strPath[AVAUDIOPLAYER_MAX_PATH] = {};
};
