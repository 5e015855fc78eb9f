#include "SoundEffects.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "Audio.h"
#include "AudioDsp.h"
#include "MixPlan.h"
#include "OggWriter.h"

const char* const SFX_NAMES[SFX_COUNT] = {
    "no",   "yay1",   "yay2",       "yay3",   "yawn1",  "yawn2",  "yawn3",       "forward",
    "back", "scroll", "Boughfall1", "birds1", "birds2", "birds3", "short_laugh", "short_laugh2"};

namespace
{
constexpr double RATE = SFX_RATE;

// The level sheet of the mixing plan (MixPlan.h): each effect's decoded peak in dBFS, in the
// order of SFX_NAMES. The calls ("no", the cheers) and the menu steps (forward, back, scroll)
// lead; the yawns, the title jingle, the birds and the laughs sit behind them.
constexpr float LEAD = MIX_EFFECT_PEAK_DB;
constexpr float PEAK_DB[SFX_COUNT] = {LEAD, LEAD, LEAD,   LEAD,   -12.0f, -12.0f, -12.0f, LEAD,
                                      LEAD, LEAD, -11.0f, -12.0f, -12.0f, -12.0f, -10.5f, -12.0f};

// The loudest sample of an encoded effect as the game decodes it (full scale 1); 0 when it
// cannot be decoded.
float DecodedPeak(const std::vector<std::uint8_t>& tOgg)
{
    FILE* pFile = fmemopen(const_cast<std::uint8_t*>(tOgg.data()), tOgg.size(), "rb");
    sDecodedSound tSound{};
    if (!AUDIO_DecodeSoundFile(pFile, "a generated effect", &tSound))
    {
        return 0.0f;
    }
    int iPeak = 0;
    for (int i = 0; i + 1 < tSound.iBytes; i += 2)
    {
        const int iSample =
            std::int16_t(std::uint8_t(tSound.pData[i]) | (std::uint8_t(tSound.pData[i + 1]) << 8));
        iPeak = std::max(iPeak, std::abs(iSample));
    }
    AUDIO_FreeDecodedSound(&tSound);
    return float(iPeak) / 32768.0f;
}

struct sVoiceMoment
{
    double dPitch;
    sVowel tVowel;
    double dVoicing;
    double dLoudness;
};

std::vector<float> Speak(double dSeconds, std::uint32_t uiSeed,
                         const std::function<sVoiceMoment(double)>& fnAt)
{
    CVoice tVoice(RATE, uiSeed);
    std::vector<float> tOut(std::size_t(dSeconds * RATE));
    for (std::size_t i = 0; i < tOut.size(); ++i)
    {
        const sVoiceMoment tM = fnAt(double(i) / RATE);
        tOut[i] = tVoice.Next(tM.dPitch, tM.tVowel, tM.dVoicing, tM.dLoudness);
    }
    return tOut;
}

// A struck tone: a few harmonics, the higher ones dying sooner.
std::vector<float> Pluck(double dFrequency, double dSeconds, double dBright)
{
    std::vector<float> tOut(std::size_t(dSeconds * RATE));
    for (std::size_t i = 0; i < tOut.size(); ++i)
    {
        const double dT = double(i) / RATE;
        double dSum = 0.0;
        for (int h = 1; h <= 4; ++h)
        {
            const double dAmp = std::pow(dBright, h - 1) / h;
            dSum +=
                dAmp * std::sin(2 * DSP_PI * dFrequency * h * dT) * std::exp(-dT * (6.0 + 5.0 * h));
        }
        tOut[i] = float(dSum * std::min(1.0, dT / 0.002));
    }
    DSP_FadeEnds(tOut, 0, int(0.03 * RATE));
    return tOut;
}

// A bell: inharmonic partials with long, gentle decays.
std::vector<float> Bell(double dFrequency, double dSeconds)
{
    std::vector<float> tOut(std::size_t(dSeconds * RATE));
    const double tRatio[4] = {1.0, 2.76, 5.40, 8.93};
    const double tAmp[4] = {1.0, 0.45, 0.22, 0.1};
    for (std::size_t i = 0; i < tOut.size(); ++i)
    {
        const double dT = double(i) / RATE;
        double dSum = 0.0;
        for (int k = 0; k < 4; ++k)
        {
            dSum += tAmp[k] * std::sin(2 * DSP_PI * dFrequency * tRatio[k] * dT) *
                    std::exp(-dT * (3.0 + 4.0 * k));
        }
        tOut[i] = float(dSum * std::min(1.0, dT / 0.003));
    }
    DSP_FadeEnds(tOut, 0, int(0.05 * RATE));
    return tOut;
}

// A bird's whistle gliding from f0 to f1, with a little warble.
std::vector<float> Chirp(double dF0, double dF1, double dSeconds, double dWarble)
{
    std::vector<float> tOut(std::size_t(dSeconds * RATE));
    double dPhase = 0.0;
    for (std::size_t i = 0; i < tOut.size(); ++i)
    {
        const double dT = double(i) / tOut.size();
        const double dFreq =
            dF0 + (dF1 - dF0) * dT + dWarble * std::sin(2 * DSP_PI * 28.0 * dT * dSeconds);
        dPhase += dFreq / RATE;
        const double dEnv = std::sin(DSP_PI * dT);
        tOut[i] = float(dEnv * dEnv *
                        (std::sin(2 * DSP_PI * dPhase) + 0.12 * std::sin(4 * DSP_PI * dPhase)));
    }
    return tOut;
}

std::vector<float> Silence(double dSeconds)
{
    return std::vector<float>(std::size_t(dSeconds * RATE), 0.0f);
}

long At(double dSeconds)
{
    return long(dSeconds * RATE);
}

std::vector<float> MakeNo()
{
    // "No-oh": a nasal onset opening to "oh", pitch falling, over a soft low "bwomp".
    std::vector<float> tOut = Speak(
        0.62, 11,
        [](double dT)
        {
            const double dPitch = 250.0 - 110.0 * DSP_Smooth(dT / 0.55);
            const double dOpen = DSP_Smooth((dT - 0.05) / 0.06);
            const sVowel tVowel = DSP_MixVowel(
                VOWEL_N, DSP_MixVowel(VOWEL_O, VOWEL_U, DSP_Smooth((dT - 0.2) / 0.35)), dOpen);
            const double dLoud = std::min(1.0, dT / 0.03) * (0.45 + 0.55 * dOpen) *
                                 (1.0 - DSP_Smooth((dT - 0.45) / 0.17));
            return sVoiceMoment{dPitch, tVowel, 1.0, dLoud};
        });
    for (int iNote = 0; iNote < 2; ++iNote)
    {
        std::vector<float> tTone(std::size_t(0.22 * RATE));
        const double dFreq = iNote == 0 ? 196.0 : 147.0;
        for (std::size_t i = 0; i < tTone.size(); ++i)
        {
            const double dT = double(i) / RATE;
            const double dSquare = std::tanh(3.0 * std::sin(2 * DSP_PI * dFreq * dT));
            tTone[i] = float(dSquare * DSP_Envelope(dT, 0.01, 0.22));
        }
        DSP_MixInto(tOut, tTone, At(iNote * 0.2), 0.5f);
    }
    return tOut;
}

std::vector<float> MakeYay(int iVariant)
{
    const double dBase = 330.0 + 50.0 * iVariant;
    const double dLength = 0.55 + 0.05 * iVariant;
    std::vector<float> tOut = Speak(
        dLength, 20 + iVariant,
        [=](double dT)
        {
            const double dU = dT / dLength;
            const double dPitch =
                dBase * (1.0 + 0.35 * DSP_Smooth(dU / 0.5) - 0.1 * DSP_Smooth((dU - 0.7) / 0.3));
            sVowel tVowel = DSP_MixVowel(VOWEL_I, VOWEL_E, DSP_Smooth(dU / 0.2));
            tVowel = DSP_MixVowel(tVowel, VOWEL_I, DSP_Smooth((dU - 0.6) / 0.4));
            const double dLoud = std::min(1.0, dT / 0.02) * (1.0 - DSP_Smooth((dU - 0.7) / 0.3));
            return sVoiceMoment{dPitch, tVowel, 1.0, dLoud};
        });
    tOut.resize(std::size_t((dLength + 0.45) * RATE), 0.0f);
    // Sparkles: a rising arpeggio of bells.
    const double tNotes[3][4] = {{84, 88, 91, 96}, {86, 89, 93, 98}, {88, 91, 96, 100}};
    for (int k = 0; k < 4; ++k)
    {
        DSP_MixInto(tOut, Bell(DSP_NoteHz(tNotes[iVariant][k]), 0.6), At(0.08 + 0.07 * k), 0.12f);
    }
    if (iVariant == 2)
    {
        // The third cheer says it twice.
        std::vector<float> tSecond = MakeYay(0);
        tSecond.resize(std::size_t(0.5 * RATE));
        std::vector<float> tBoth(tSecond.size() + tOut.size(), 0.0f);
        DSP_MixInto(tBoth, tSecond, 0, 0.8f);
        DSP_MixInto(tBoth, tOut, At(0.3), 1.0f);
        return tBoth;
    }
    return tOut;
}

std::vector<float> MakeYawn(int iVariant)
{
    const double dLength = 1.25 + 0.2 * iVariant;
    const double dBase = 210.0 - 30.0 * iVariant;
    std::vector<float> tOut =
        Speak(dLength, 30 + iVariant,
              [=](double dT)
              {
                  const double dU = dT / dLength;
                  // Up into the yawn, then a long sigh down.
                  const double dPitch =
                      dBase * (1.0 + 0.35 * std::sin(DSP_PI * std::min(1.0, dU / 0.45)) -
                               0.35 * DSP_Smooth((dU - 0.4) / 0.6));
                  sVowel tVowel = DSP_MixVowel(VOWEL_UH, VOWEL_A, DSP_Smooth(dU / 0.25));
                  tVowel = DSP_MixVowel(tVowel, iVariant == 1 ? VOWEL_U : VOWEL_O,
                                        DSP_Smooth((dU - 0.55) / 0.4));
                  const double dVoicing = 0.9 + 0.08 * std::sin(DSP_PI * dU);
                  const double dLoud = DSP_Smooth(dU / 0.15) * (1.0 - DSP_Smooth((dU - 0.7) / 0.3));
                  return sVoiceMoment{dPitch, tVowel, dVoicing, dLoud};
              });
    // Sleepy and muffled: keep the lower formants.
    CBiquad tMuffle;
    tMuffle.SetLowPass(2400.0, 0.7, RATE);
    for (float& f : tOut)
    {
        f = tMuffle.Process(f);
    }
    return tOut;
}

std::vector<float> MakeStep(bool bForward)
{
    // Two quick bright notes: up for forward, down for back.
    std::vector<float> tOut = Silence(0.26);
    const double tUp[2] = {DSP_NoteHz(84), DSP_NoteHz(91)};
    for (int k = 0; k < 2; ++k)
    {
        const double dFreq = bForward ? tUp[k] : tUp[1 - k] * 0.75;
        DSP_MixInto(tOut, Pluck(dFreq, 0.16, 0.35), At(0.065 * k), 1.0f);
    }
    return tOut;
}

std::vector<float> MakeScroll()
{
    // A short wooden tick.
    std::vector<float> tOut(std::size_t(0.06 * RATE));
    CNoise tNoise(41);
    CBiquad tBody;
    tBody.SetBandPass(1700.0, 4.0, RATE);
    for (std::size_t i = 0; i < tOut.size(); ++i)
    {
        const double dT = double(i) / RATE;
        const double dTone = std::sin(2 * DSP_PI * 1200.0 * dT) * std::exp(-dT * 90.0);
        tOut[i] = float(tBody.Process(tNoise.Next()) * std::exp(-dT * 120.0) * 2.0 + dTone * 0.6);
    }
    return tOut;
}

std::vector<float> MakeJingle()
{
    // A marimba run up the major chord, then the chord with a bell on top.
    std::vector<float> tOut = Silence(1.9);
    const int tRun[5] = {72, 76, 79, 84, 88};
    for (int k = 0; k < 5; ++k)
    {
        DSP_MixInto(tOut, Pluck(DSP_NoteHz(tRun[k]), 0.5, 0.3), At(0.1 * k), 0.7f);
    }
    const int tChord[4] = {60, 67, 72, 76};
    for (int k = 0; k < 4; ++k)
    {
        DSP_MixInto(tOut, Pluck(DSP_NoteHz(tChord[k]), 1.3, 0.25), At(0.55 + 0.01 * k), 0.55f);
    }
    DSP_MixInto(tOut, Bell(DSP_NoteHz(96), 1.3), At(0.55), 0.35f);
    DSP_MixInto(tOut, Bell(DSP_NoteHz(91), 1.1), At(0.62), 0.2f);
    return tOut;
}

std::vector<float> MakeBirds(int iVariant)
{
    std::vector<float> tOut = Silence(1.3);
    if (iVariant == 0)
    {
        // "Tweet tweet": two rising whistles, answered far away.
        DSP_MixInto(tOut, Chirp(2800, 4200, 0.12, 80), At(0.05), 1.0f);
        DSP_MixInto(tOut, Chirp(2900, 4400, 0.12, 80), At(0.25), 1.0f);
        DSP_MixInto(tOut, Chirp(3400, 3000, 0.09, 60), At(0.8), 0.35f);
        DSP_MixInto(tOut, Chirp(3500, 3100, 0.09, 60), At(0.93), 0.35f);
    }
    else if (iVariant == 1)
    {
        // A quick trill.
        for (int k = 0; k < 9; ++k)
        {
            DSP_MixInto(tOut, Chirp(4600, 3600, 0.045, 0), At(0.1 + 0.055 * k), 0.9f - 0.05f * k);
        }
        DSP_MixInto(tOut, Chirp(3000, 4800, 0.15, 120), At(0.72), 0.8f);
    }
    else
    {
        // A falling three-note call and a chirp.
        const double tCall[3] = {4000, 3500, 3000};
        for (int k = 0; k < 3; ++k)
        {
            DSP_MixInto(tOut, Chirp(tCall[k] + 300, tCall[k], 0.14, 40), At(0.05 + 0.19 * k), 0.9f);
        }
        DSP_MixInto(tOut, Chirp(2500, 4500, 0.07, 0), At(0.75), 0.6f);
        DSP_MixInto(tOut, Chirp(2600, 4600, 0.07, 0), At(0.86), 0.6f);
    }
    return tOut;
}

std::vector<float> MakeLaugh(bool bHigh)
{
    // "Ha-ha-ha-ha" (or "hee-hee-hee"): a breathy onset then a voiced vowel, each syllable a
    // little lower than the last.
    const int iSyllables = bHigh ? 5 : 4;
    const double dStep = bHigh ? 0.13 : 0.16;
    const double dLength = iSyllables * dStep + 0.15;
    const double dBase = bHigh ? 460.0 : 290.0;
    const sVowel tVowel = bHigh ? VOWEL_I : VOWEL_A;
    return Speak(dLength, bHigh ? 61 : 60,
                 [=](double dT)
                 {
                     const int iSyl = std::min(iSyllables - 1, int(dT / dStep));
                     const double dIn = dT - iSyl * dStep;
                     const double dPitch = dBase * (1.0 - 0.05 * iSyl) * (1.0 - 0.12 * dIn / dStep);
                     const double dBreath = 0.025;
                     const double dVoicing = dIn < dBreath ? 0.0 : 1.0;
                     double dLoud = dIn < dBreath
                                        ? 0.5
                                        : std::max(0.0, 1.0 - (dIn - dBreath) / (dStep * 0.75));
                     dLoud *= 1.0 - 0.1 * iSyl;
                     return sVoiceMoment{dPitch, tVowel, dVoicing, dLoud};
                 });
}
}  // namespace

std::vector<float> SFX_Make(int iIndex)
{
    std::vector<float> tOut;
    switch (iIndex)
    {
        case 0:
            tOut = MakeNo();
            break;
        case 1:
        case 2:
        case 3:
            tOut = MakeYay(iIndex - 1);
            break;
        case 4:
        case 5:
        case 6:
            tOut = MakeYawn(iIndex - 4);
            break;
        case 7:
            tOut = MakeStep(true);
            break;
        case 8:
            tOut = MakeStep(false);
            break;
        case 9:
            tOut = MakeScroll();
            break;
        case 10:
            tOut = MakeJingle();
            break;
        case 11:
        case 12:
        case 13:
            tOut = MakeBirds(iIndex - 11);
            break;
        case 14:
            tOut = MakeLaugh(false);
            break;
        default:
            tOut = MakeLaugh(true);
            break;
    }
    DSP_Limit(tOut, MIX_EFFECT_LIMIT_DB, int(MIX_EFFECT_LIMIT_RAMP_SECONDS * RATE));
    DSP_Normalise(tOut, MIX_Gain(PEAK_DB[iIndex]));
    DSP_FadeEnds(tOut, 22, 220);
    return tOut;
}

std::vector<std::uint8_t> SFX_Encode(int iIndex, const std::vector<float>& tSamples)
{
    // Vorbis rebuilds the waveform from its spectrum, and the peaks come back higher, by as much
    // as 2.5 dB for the bird calls, and not in proportion to the level. So the level is set on
    // the decoded samples: the effect is encoded again at the level that the last decoded peak
    // says, and the file kept is the loudest whose decoded peak stays within its budget.
    constexpr int MAX_PASSES = 8;
    constexpr float CLOSE_ENOUGH = 0.9886f;  // 0.1 dB
    const float fBudget = MIX_Gain(PEAK_DB[iIndex]);
    std::vector<float> tLevelled = tSamples;
    std::vector<std::uint8_t> tBest;
    float fBestPeak = 0.0f;
    for (int iPass = 0; iPass < MAX_PASSES; ++iPass)
    {
        // A fixed serial number per effect keeps the files the same from build to build.
        std::vector<std::uint8_t> tOgg =
            OGG_Encode(tLevelled, 1, SFX_RATE, 0x4B470000 + iIndex, SFX_NAMES[iIndex]);
        const float fPeak = DecodedPeak(tOgg);
        if (fPeak <= 0.0f)
        {
            return tOgg;  // nothing to level (an empty result is reported by the caller)
        }
        if (fPeak <= fBudget && fPeak > fBestPeak)
        {
            tBest = tOgg;
            fBestPeak = fPeak;
        }
        if (fBestPeak >= fBudget * CLOSE_ENOUGH)
        {
            break;
        }
        const float fGain = fBudget / fPeak;
        for (float& f : tLevelled)
        {
            f *= fGain;
        }
    }
    if (tBest.empty())
    {
        std::printf("assetgen: %s decodes louder than its level in the mixing plan\n",
                    SFX_NAMES[iIndex]);
    }
    return tBest;
}
