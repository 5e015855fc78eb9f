#pragma once

// Small sound-making pieces shared by the effects and the music: oscillators, a resonant
// filter, a formant voice (a glottal buzz through three vowel resonances), a deterministic
// noise source and level helpers. Everything works on float samples in -1..1.

#include <cstdint>
#include <vector>

constexpr double DSP_PI = 3.14159265358979323846;

// White noise from a fixed seed, so every build makes the same sounds.
class CNoise
{
public:
    explicit CNoise(std::uint32_t uiSeed) : uiState(uiSeed != 0 ? uiSeed : 1) {}
    float Next();  // -1..1

private:
    std::uint32_t uiState;
};

// A two-pole filter (band-pass with 0 dB peak, low-pass or high-pass), coefficients settable
// while it runs so a resonance can glide.
class CBiquad
{
public:
    void SetBandPass(double dFrequency, double dQ, double dRate);
    void SetLowPass(double dFrequency, double dQ, double dRate);
    void SetHighPass(double dFrequency, double dQ, double dRate);
    float Process(float fIn);

private:
    double dB0 = 1, dB1 = 0, dB2 = 0, dA1 = 0, dA2 = 0;
    double dX1 = 0, dX2 = 0, dY1 = 0, dY2 = 0;
};

// One vowel target of the voice: three formant frequencies in Hz.
struct sVowel
{
    double dF1, dF2, dF3;
};
constexpr sVowel VOWEL_A = {780, 1250, 2600};   // "ah"
constexpr sVowel VOWEL_E = {520, 1900, 2600};   // "eh" as in "yay"
constexpr sVowel VOWEL_I = {300, 2300, 3000};   // "ee"
constexpr sVowel VOWEL_O = {470, 850, 2500};    // "oh"
constexpr sVowel VOWEL_U = {330, 760, 2400};    // "oo"
constexpr sVowel VOWEL_UH = {640, 1190, 2390};  // "uh"
constexpr sVowel VOWEL_N = {260, 1500, 2500};   // the nasal murmur of "n"

// A cartoon voice. Each sample takes the pitch (Hz), the vowel, how voiced (0 breath .. 1
// voice) and the loudness of that moment.
class CVoice
{
public:
    explicit CVoice(double dRate, std::uint32_t uiSeed);
    float Next(double dPitch, const sVowel& tVowel, double dVoicing, double dLoudness);

private:
    double dRate;
    double dPhase = 0.0;
    double dVibrato = 0.0;
    int iUpdate = 0;
    CBiquad tFormants[3];
    CNoise tNoise;
};

sVowel DSP_MixVowel(const sVowel& tA, const sVowel& tB, double dT);

// Level helpers.
double DSP_Smooth(double dT);                                    // 0..1 ease in and out
double DSP_Envelope(double dT, double dAttack, double dLength);  // quick rise, long fall
void DSP_Normalise(std::vector<float>& tSamples, float fPeak);
// A look-ahead peak limiter: whatever rises higher than fReductionDb below the sound's own peak
// is held down to that level (the peak comes down by fReductionDb, quieter parts keep theirs),
// the gain gliding over iRamp samples either side of each peak instead of clipping it.
void DSP_Limit(std::vector<float>& tSamples, float fReductionDb, int iRamp);
void DSP_FadeEnds(std::vector<float>& tSamples, int iFadeIn, int iFadeOut);
// Adds a mono signal into a buffer at a sample offset (clipped to the buffer).
void DSP_MixInto(std::vector<float>& tBuffer, const std::vector<float>& tSignal, long lOffset,
                 float fGain);
// Frequency of a MIDI note number (69 = A 440 Hz).
double DSP_NoteHz(double dNote);
