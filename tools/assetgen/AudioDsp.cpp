#include "AudioDsp.h"

#include <algorithm>
#include <cmath>

float CNoise::Next()
{
    uiState ^= uiState << 13;
    uiState ^= uiState >> 17;
    uiState ^= uiState << 5;
    return float(uiState) / 2147483648.0f - 1.0f;
}

void CBiquad::SetBandPass(double dFrequency, double dQ, double dRate)
{
    const double dW = 2 * DSP_PI * std::min(dFrequency, dRate * 0.45) / dRate;
    const double dAlpha = std::sin(dW) / (2 * dQ);
    const double dA0 = 1 + dAlpha;
    dB0 = dAlpha / dA0;
    dB1 = 0;
    dB2 = -dAlpha / dA0;
    dA1 = -2 * std::cos(dW) / dA0;
    dA2 = (1 - dAlpha) / dA0;
}

void CBiquad::SetLowPass(double dFrequency, double dQ, double dRate)
{
    const double dW = 2 * DSP_PI * std::min(dFrequency, dRate * 0.45) / dRate;
    const double dAlpha = std::sin(dW) / (2 * dQ);
    const double dCos = std::cos(dW);
    const double dA0 = 1 + dAlpha;
    dB0 = (1 - dCos) / 2 / dA0;
    dB1 = (1 - dCos) / dA0;
    dB2 = dB0;
    dA1 = -2 * dCos / dA0;
    dA2 = (1 - dAlpha) / dA0;
}

void CBiquad::SetHighPass(double dFrequency, double dQ, double dRate)
{
    const double dW = 2 * DSP_PI * std::min(dFrequency, dRate * 0.45) / dRate;
    const double dAlpha = std::sin(dW) / (2 * dQ);
    const double dCos = std::cos(dW);
    const double dA0 = 1 + dAlpha;
    dB0 = (1 + dCos) / 2 / dA0;
    dB1 = -(1 + dCos) / dA0;
    dB2 = dB0;
    dA1 = -2 * dCos / dA0;
    dA2 = (1 - dAlpha) / dA0;
}

float CBiquad::Process(float fIn)
{
    const double dOut = dB0 * fIn + dB1 * dX1 + dB2 * dX2 - dA1 * dY1 - dA2 * dY2;
    dX2 = dX1;
    dX1 = fIn;
    dY2 = dY1;
    dY1 = dOut;
    return float(dOut);
}

CVoice::CVoice(double dRateIn, std::uint32_t uiSeed) : dRate(dRateIn), tNoise(uiSeed) {}

float CVoice::Next(double dPitch, const sVowel& tVowel, double dVoicing, double dLoudness)
{
    if (iUpdate-- <= 0)
    {
        iUpdate = 32;
        tFormants[0].SetBandPass(tVowel.dF1, 6.0, dRate);
        tFormants[1].SetBandPass(tVowel.dF2, 9.0, dRate);
        tFormants[2].SetBandPass(tVowel.dF3, 12.0, dRate);
    }
    dVibrato += 2 * DSP_PI * 5.5 / dRate;
    const double dFrequency = dPitch * (1.0 + 0.012 * std::sin(dVibrato));
    dPhase += dFrequency / dRate;
    dPhase -= std::floor(dPhase);
    // A glottal pulse: a quick opening and a sharper closing, rich in harmonics.
    const double dOpen = 0.6;
    double dGlottal;
    if (dPhase < dOpen)
    {
        dGlottal = 0.5 * (1 - std::cos(DSP_PI * dPhase / dOpen));
    }
    else
    {
        dGlottal = std::cos(0.5 * DSP_PI * (dPhase - dOpen) / (1 - dOpen));
    }
    dGlottal = dGlottal * 2.0 - 0.8;
    // Breath: strong only when the voice is off (an "h"), a faint hiss under a voiced sound.
    const double dSource = dVoicing * dGlottal + ((1.0 - dVoicing) * 0.6 + 0.02) * tNoise.Next();
    const double dOut = tFormants[0].Process(float(dSource)) * 1.0 +
                        tFormants[1].Process(float(dSource)) * 0.55 +
                        tFormants[2].Process(float(dSource)) * 0.25;
    return float(dOut * dLoudness);
}

sVowel DSP_MixVowel(const sVowel& tA, const sVowel& tB, double dT)
{
    return {tA.dF1 + (tB.dF1 - tA.dF1) * dT, tA.dF2 + (tB.dF2 - tA.dF2) * dT,
            tA.dF3 + (tB.dF3 - tA.dF3) * dT};
}

double DSP_Smooth(double dT)
{
    dT = std::clamp(dT, 0.0, 1.0);
    return dT * dT * (3 - 2 * dT);
}

double DSP_Envelope(double dT, double dAttack, double dLength)
{
    if (dT < 0 || dT > dLength)
    {
        return 0.0;
    }
    if (dT < dAttack)
    {
        return dT / dAttack;
    }
    const double dFall = (dT - dAttack) / (dLength - dAttack);
    return std::pow(1.0 - dFall, 2.0);
}

namespace
{

float PeakOf(const std::vector<float>& tSamples)
{
    float fMax = 0.0f;
    for (float f : tSamples)
    {
        fMax = std::max(fMax, std::fabs(f));
    }
    return fMax;
}

}  // namespace

void DSP_Normalise(std::vector<float>& tSamples, float fPeak)
{
    const float fMax = PeakOf(tSamples);
    if (fMax <= 0.0f)
    {
        return;
    }
    const float fGain = fPeak / fMax;
    for (float& f : tSamples)
    {
        f *= fGain;
    }
}

void DSP_Limit(std::vector<float>& tSamples, float fReductionDb, int iRamp)
{
    const std::size_t uiCount = tSamples.size();
    const float fPeak = PeakOf(tSamples);
    if (fPeak <= 0.0f)  // silent or empty
    {
        return;
    }
    const float fCeiling = fPeak * std::pow(10.0f, -fReductionDb / 20.0f);
    // The gain each sample needs, then the least of it within iRamp either side, then that
    // averaged over a window half as wide: every sample's gain stays at or below its own need,
    // and the gain moves smoothly.
    std::vector<float> tNeed(uiCount);
    for (std::size_t i = 0; i < uiCount; ++i)
    {
        const float fLevel = std::fabs(tSamples[i]);
        tNeed[i] = fLevel > fCeiling ? fCeiling / fLevel : 1.0f;
    }
    const long lCount = long(uiCount);
    std::vector<float> tLeast(uiCount);
    for (long i = 0; i < lCount; ++i)
    {
        float fLeast = 1.0f;
        for (long k = std::max(0L, i - iRamp); k <= std::min(lCount - 1, i + iRamp); ++k)
        {
            fLeast = std::min(fLeast, tNeed[std::size_t(k)]);
        }
        tLeast[std::size_t(i)] = fLeast;
    }
    const long lHalf = iRamp / 2;
    for (long i = 0; i < lCount; ++i)
    {
        double dSum = 0.0;
        for (long k = i - lHalf; k <= i + lHalf; ++k)
        {
            dSum += k >= 0 && k < lCount ? tLeast[std::size_t(k)] : 1.0f;
        }
        tSamples[std::size_t(i)] *= float(dSum / double(2 * lHalf + 1));
    }
}

void DSP_FadeEnds(std::vector<float>& tSamples, int iFadeIn, int iFadeOut)
{
    const int iCount = int(tSamples.size());
    for (int i = 0; i < iFadeIn && i < iCount; ++i)
    {
        tSamples[i] *= float(i) / iFadeIn;
    }
    for (int i = 0; i < iFadeOut && i < iCount; ++i)
    {
        tSamples[iCount - 1 - i] *= float(i) / iFadeOut;
    }
}

void DSP_MixInto(std::vector<float>& tBuffer, const std::vector<float>& tSignal, long lOffset,
                 float fGain)
{
    for (std::size_t i = 0; i < tSignal.size(); ++i)
    {
        const long lAt = lOffset + long(i);
        if (lAt >= 0 && lAt < long(tBuffer.size()))
        {
            tBuffer[std::size_t(lAt)] += tSignal[i] * fGain;
        }
    }
}

double DSP_NoteHz(double dNote)
{
    return 440.0 * std::pow(2.0, (dNote - 69.0) / 12.0);
}
