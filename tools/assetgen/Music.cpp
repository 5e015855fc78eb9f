#include "Music.h"

#include <algorithm>
#include <cmath>

#include "AudioDsp.h"
#include "MixPlan.h"

namespace
{
constexpr double RATE = MUSIC_RATE;
constexpr double BEAT = 0.5;  // seconds: 120 beats a minute
constexpr int BARS = 16;
constexpr int STEPS = 8;  // eighth notes in a bar
constexpr double STEP = BEAT / 2;
constexpr long LOOP = long(BARS * 4 * BEAT * RATE);
constexpr int REST = 0;
constexpr int TIE = -2;

// The tune in eighth notes: MIDI note, TIE to hold the note before, REST for silence.
constexpr int MELODY[BARS][STEPS] = {
    {76, 79, 76, 72, 74, 76, 79, TIE},   {74, TIE, 71, 74, 79, TIE, 77, 76},
    {76, TIE, 72, 76, 81, TIE, 79, 76},  {77, TIE, 76, 74, 72, TIE, REST, REST},
    {72, 76, 79, 84, 83, TIE, 79, TIE},  {81, 79, 77, 74, 79, TIE, TIE, REST},
    {81, TIE, 77, 81, 84, TIE, 81, 79},  {79, TIE, 77, 76, 74, TIE, 71, 74},
    {72, TIE, 69, 72, 77, TIE, 76, 74},  {74, TIE, 71, 74, 79, TIE, TIE, REST},
    {76, 79, 83, TIE, 79, 76, 71, TIE},  {72, 76, 81, TIE, 79, 76, 72, TIE},
    {77, TIE, 81, TIE, 84, TIE, 81, 77}, {79, TIE, 83, TIE, 86, TIE, 83, 79},
    {84, TIE, 79, 76, 72, TIE, 76, 79},  {74, TIE, TIE, TIE, 71, 72, 74, REST}};

// One chord a bar: root (MIDI, bass octave) and the chord's three notes above middle C.
struct sChord
{
    int iRoot;
    int tNotes[3];
};
constexpr sChord CHORDS[BARS] = {
    {36, {60, 64, 67}}, {43, {59, 62, 67}}, {45, {60, 64, 69}}, {41, {60, 65, 69}},
    {36, {60, 64, 67}}, {43, {59, 62, 67}}, {41, {60, 65, 69}}, {43, {59, 62, 67}},
    {41, {60, 65, 69}}, {43, {59, 62, 67}}, {40, {59, 64, 67}}, {45, {60, 64, 69}},
    {41, {60, 65, 69}}, {43, {59, 62, 67}}, {36, {60, 64, 67}}, {43, {59, 62, 67}}};

struct sMix
{
    std::vector<float> tLeft = std::vector<float>(std::size_t(LOOP), 0.0f);
    std::vector<float> tRight = std::vector<float>(std::size_t(LOOP), 0.0f);

    // Adds a mono sound at a time, panned (-1 left .. 1 right); what passes the loop's end
    // wraps round to its start.
    void Add(const std::vector<float>& tSound, double dStart, float fGain, float fPan)
    {
        const long lStart = long(dStart * RATE);
        const float fL = fGain * std::sqrt(0.5f * (1.0f - fPan));
        const float fR = fGain * std::sqrt(0.5f * (1.0f + fPan));
        for (std::size_t i = 0; i < tSound.size(); ++i)
        {
            const std::size_t uiAt = std::size_t((lStart + long(i)) % LOOP);
            tLeft[uiAt] += tSound[i] * fL;
            tRight[uiAt] += tSound[i] * fR;
        }
    }
};

std::vector<float> Lead(double dFrequency, double dHold)
{
    const double dLength = dHold + 0.5;
    std::vector<float> tOut(std::size_t(dLength * RATE));
    for (std::size_t i = 0; i < tOut.size(); ++i)
    {
        const double dT = double(i) / RATE;
        const double dIndex = 0.9 * std::exp(-dT * 14.0);
        const double dStruck = std::sin(2 * DSP_PI * dFrequency * dT +
                                        dIndex * std::sin(2 * DSP_PI * dFrequency * 4.0 * dT)) *
                               std::exp(-dT * 3.5);
        const double dSustain = 0.3 * std::sin(2 * DSP_PI * dFrequency * dT) *
                                (1 + 0.1 * std::sin(2 * DSP_PI * 5.0 * dT));
        double dEnv = std::min(1.0, dT / 0.004);
        double dSustainEnv = std::min(1.0, dT / 0.05);
        if (dT > dHold)
        {
            const double dRelease = std::exp(-(dT - dHold) * 14.0);
            dEnv *= dRelease;
            dSustainEnv *= dRelease;
        }
        tOut[i] = float(dStruck * dEnv + dSustain * dSustainEnv);
    }
    return tOut;
}

std::vector<float> Pluck(double dFrequency)
{
    std::vector<float> tOut(std::size_t(0.45 * RATE));
    for (std::size_t i = 0; i < tOut.size(); ++i)
    {
        const double dT = double(i) / RATE;
        double dSum = 0;
        for (int h = 1; h <= 5; ++h)
        {
            dSum += std::pow(0.45, h - 1) * std::sin(2 * DSP_PI * dFrequency * h * dT) *
                    std::exp(-dT * (7.0 + 4.0 * h));
        }
        tOut[i] = float(dSum * std::min(1.0, dT / 0.003));
    }
    return tOut;
}

std::vector<float> Pad(double dFrequency, double dLength, double dDetune)
{
    std::vector<float> tOut(std::size_t((dLength + 0.4) * RATE));
    for (std::size_t i = 0; i < tOut.size(); ++i)
    {
        const double dT = double(i) / RATE;
        double dSum = 0;
        for (int h = 1; h <= 5; ++h)
        {
            dSum += std::sin(2 * DSP_PI * dFrequency * dDetune * h * dT) / (h * h);
        }
        double dEnv = DSP_Smooth(dT / 0.35);
        if (dT > dLength)
        {
            dEnv *= 1.0 - DSP_Smooth((dT - dLength) / 0.4);
        }
        tOut[i] = float(dSum * dEnv);
    }
    return tOut;
}

std::vector<float> Bass(double dFrequency, double dLength)
{
    std::vector<float> tOut(std::size_t((dLength + 0.08) * RATE));
    for (std::size_t i = 0; i < tOut.size(); ++i)
    {
        const double dT = double(i) / RATE;
        const double dWave = std::sin(2 * DSP_PI * dFrequency * dT) +
                             0.3 * std::sin(4 * DSP_PI * dFrequency * dT) +
                             0.1 * std::sin(6 * DSP_PI * dFrequency * dT);
        double dEnv = std::min(1.0, dT / 0.006) * (0.55 + 0.45 * std::exp(-dT * 6.0));
        if (dT > dLength)
        {
            dEnv *= std::exp(-(dT - dLength) * 60.0);
        }
        tOut[i] = float(dWave * dEnv);
    }
    return tOut;
}

std::vector<float> Kick()
{
    std::vector<float> tOut(std::size_t(0.3 * RATE));
    double dPhase = 0;
    for (std::size_t i = 0; i < tOut.size(); ++i)
    {
        const double dT = double(i) / RATE;
        dPhase += (45.0 + 110.0 * std::exp(-dT * 30.0)) / RATE;
        tOut[i] =
            float(std::sin(2 * DSP_PI * dPhase) * std::exp(-dT * 14.0) * std::min(1.0, dT / 0.002));
    }
    return tOut;
}

std::vector<float> Clap(std::uint32_t uiSeed)
{
    std::vector<float> tOut(std::size_t(0.2 * RATE));
    CNoise tNoise(uiSeed);
    CBiquad tBand;
    tBand.SetBandPass(1600, 1.2, RATE);
    for (std::size_t i = 0; i < tOut.size(); ++i)
    {
        const double dT = double(i) / RATE;
        const double dBody = 0.5 * std::sin(2 * DSP_PI * 190.0 * dT) * std::exp(-dT * 35.0);
        tOut[i] = float(tBand.Process(tNoise.Next()) * 1.6 * std::exp(-dT * 22.0) + dBody);
    }
    return tOut;
}

std::vector<float> Hat(std::uint32_t uiSeed, double dDecay)
{
    std::vector<float> tOut(std::size_t(0.08 * RATE));
    CNoise tNoise(uiSeed);
    CBiquad tHigh;
    tHigh.SetHighPass(7000, 0.8, RATE);
    for (std::size_t i = 0; i < tOut.size(); ++i)
    {
        const double dT = double(i) / RATE;
        tOut[i] = float(tHigh.Process(tNoise.Next()) * std::exp(-dT * dDecay));
    }
    return tOut;
}
}  // namespace

std::vector<float> MUSIC_Render()
{
    sMix tMix;
    const std::vector<float> tKick = Kick();
    for (int iBar = 0; iBar < BARS; ++iBar)
    {
        const double dBar = iBar * 4 * BEAT;
        const sChord& tChord = CHORDS[iBar];
        // Lead: each note held through its ties.
        for (int iStep = 0; iStep < STEPS; ++iStep)
        {
            const int iNote = MELODY[iBar][iStep];
            if (iNote <= 0)
            {
                continue;
            }
            int iHold = 1;
            for (int k = iStep + 1; k < STEPS && MELODY[iBar][k] == TIE; ++k)
            {
                ++iHold;
            }
            tMix.Add(Lead(DSP_NoteHz(iNote), iHold * STEP - 0.03), dBar + iStep * STEP, 0.30f,
                     0.25f);
        }
        // Plucked chord tones going up and down in eighths.
        const int tOrder[8] = {0, 1, 2, 1, 0, 1, 2, 1};
        for (int iStep = 0; iStep < STEPS; ++iStep)
        {
            const int iNote = tChord.tNotes[tOrder[iStep]] + (iStep >= 4 ? 12 : 0);
            tMix.Add(Pluck(DSP_NoteHz(iNote)), dBar + iStep * STEP, 0.12f,
                     iStep % 2 == 0 ? -0.45f : -0.25f);
        }
        // Pad: the chord held for the bar, slightly detuned left and right. The last bar's lets
        // go early, so the loop's last moments are its quietest: a decoder that starts the file
        // afresh makes its first 576 samples without history, and they lie there.
        const double dPadHold = iBar == BARS - 1 ? 4 * BEAT - 0.45 : 4 * BEAT - 0.1;
        for (int k = 0; k < 3; ++k)
        {
            tMix.Add(Pad(DSP_NoteHz(tChord.tNotes[k]), dPadHold, 1.0), dBar, 0.045f, -0.7f);
            tMix.Add(Pad(DSP_NoteHz(tChord.tNotes[k]), dPadHold, 1.004), dBar, 0.045f, 0.7f);
        }
        // Bass: root, fifth, octave, fifth.
        const int tBass[4] = {0, 7, 12, 7};
        for (int iBeat = 0; iBeat < 4; ++iBeat)
        {
            tMix.Add(Bass(DSP_NoteHz(tChord.iRoot + tBass[iBeat]), BEAT * 0.8), dBar + iBeat * BEAT,
                     0.30f, 0.0f);
        }
        // Drums.
        tMix.Add(tKick, dBar, 0.55f, 0.0f);
        tMix.Add(tKick, dBar + 2 * BEAT, 0.5f, 0.0f);
        if (iBar % 4 == 3)
        {
            tMix.Add(tKick, dBar + 3.5 * BEAT, 0.35f, 0.0f);
        }
        tMix.Add(Clap(std::uint32_t(100 + iBar * 2)), dBar + BEAT, 0.12f, 0.1f);
        tMix.Add(Clap(std::uint32_t(101 + iBar * 2)), dBar + 3 * BEAT, 0.12f, 0.1f);
        for (int iStep = 0; iStep < STEPS; ++iStep)
        {
            const bool bOff = iStep % 2 == 1;
            tMix.Add(Hat(std::uint32_t(500 + iBar * 8 + iStep), bOff ? 45.0 : 80.0),
                     dBar + iStep * STEP, bOff ? 0.07f : 0.035f, 0.4f);
        }
    }
    // Soft limiting, then the level. The loop has no ends: its last note rings on into its
    // first bar, and the file is encoded as a circle (MP3_EncodeLoop).
    std::vector<float> tOut(std::size_t(LOOP) * 2);
    for (long i = 0; i < LOOP; ++i)
    {
        tOut[std::size_t(i) * 2] = std::tanh(tMix.tLeft[std::size_t(i)] * 1.2f);
        tOut[std::size_t(i) * 2 + 1] = std::tanh(tMix.tRight[std::size_t(i)] * 1.2f);
    }
    DSP_Normalise(tOut, MIX_Gain(MIX_THEME_PEAK_DB));
    return tOut;
}
