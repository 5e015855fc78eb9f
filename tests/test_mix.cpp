// The game's mix, measured from the generated files as the game decodes them: the theme through
// the music path (SDL_mixer with libmad, on the disk audio driver writing as fast as it can), the
// effects through the sound engine's decoder and the converter the AL layer plays them with.
// The theme loops without a gap, and the effects over the theme leave headroom yet stand out.

#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "Audio.h"
#include "Host.h"
#include "MixPlan.h"
#include "Music.h"
#include "MusicBackend.h"
#include "SoundEffects.h"
#include "TestSupport.h"

namespace
{

constexpr long PERIOD = 32L * MUSIC_RATE;  // the theme's loop in sample frames
constexpr long WINDOW = 576;               // one MP3 granule
constexpr long BAR = 2L * MUSIC_RATE;      // four beats at 120 a minute
constexpr long SHORT_TERM = MUSIC_RATE / 10;
constexpr double FULL_SCALE = 32768.0;
constexpr int LOOPS = 3;

std::string DataDir()
{
    const char* pDir = std::getenv("BF_DATA_DIR");
    return pDir != nullptr ? pDir : "Data";
}

double Db(double dRatio)
{
    return 20.0 * std::log10(std::max(dRatio, 1e-12));
}

// Interleaved stereo frames at 44100 Hz.
struct sStereo
{
    std::vector<std::int16_t> tSamples;
    long Frames() const { return long(tSamples.size() / 2); }
    double Peak() const
    {
        int iPeak = 0;
        for (std::int16_t i : tSamples)
        {
            iPeak = std::max(iPeak, std::abs(int(i)));
        }
        return iPeak / FULL_SCALE;
    }
    // The largest RMS (both channels) over lLength frames, stepped by lStep; all of it when
    // shorter.
    double LoudestRms(long lLength, long lStep) const
    {
        lLength = std::min(lLength, Frames());
        double dBest = 0.0;
        for (long lStart = 0; lStart + lLength <= Frames(); lStart += lStep)
        {
            double dSum = 0.0;
            for (long i = 2 * lStart; i < 2 * (lStart + lLength); ++i)
            {
                dSum += double(tSamples[std::size_t(i)]) * tSamples[std::size_t(i)];
            }
            dBest = std::max(dBest, dSum / double(2 * lLength));
        }
        return std::sqrt(dBest) / FULL_SCALE;
    }
};

// The theme as the game plays it: LOOPS passes and a little more, from its first buffer on.
sStereo s_tTheme;
std::vector<float> s_tTune;  // the tune the file was made from

class MixTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        const std::string strRaw = TEST_MakeTempDir("mix") + "/theme.raw";
        setenv("SDL_DISKAUDIOFILE", strRaw.c_str(), 1);
        setenv("SDL_DISKAUDIODELAY", "0", 1);  // decode as fast as it goes, not in real time
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_AUDIO), 0) << SDL_GetError();
        MusicPlayFile((DataDir() + "/Music/BoughfallTheme.mp3").c_str(), -1);
        ASSERT_EQ(MusicIsStarted(), 1);
        ASSERT_EQ(g_Host.iAudioFrequency, MUSIC_RATE);
        ASSERT_EQ(g_Host.iAudioChannels, 2);
        const long lWanted = (LOOPS * PERIOD + 4 * 2048) * 4;
        struct stat tInfo;
        for (int i = 0; i < 6000 && (stat(strRaw.c_str(), &tInfo) != 0 || tInfo.st_size < lWanted);
             ++i)
        {
            SDL_Delay(5);
        }
        MusicStop();
        HostCloseAudio();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);

        const std::vector<std::uint8_t> tBytes = TEST_ReadFile(strRaw);
        ASSERT_GE(long(tBytes.size()), lWanted);
        // The mixer plays silence until the music's first buffer of 2048 frames.
        std::size_t uiFirst = 0;
        while (uiFirst + 1 < tBytes.size() && tBytes[uiFirst] == 0 && tBytes[uiFirst + 1] == 0)
        {
            uiFirst += 2;
        }
        const std::size_t uiStart = uiFirst / (2048 * 4) * (2048 * 4);
        s_tTheme.tSamples.resize((tBytes.size() - uiStart) / 2);
        std::memcpy(s_tTheme.tSamples.data(), tBytes.data() + uiStart,
                    s_tTheme.tSamples.size() * 2);
        s_tTune = MUSIC_Render();
    }
};

// The coding error of each granule of the decoded theme against the tune it was made from (the
// file starts MUSIC_LEAD_IN samples before the tune's first beat), in dBFS.
std::vector<double> GranuleErrors(long lFrom, long lTo)
{
    std::vector<double> tErrors;
    for (long lAt = lFrom; lAt + WINDOW <= lTo; lAt += WINDOW)
    {
        double dSum = 0.0;
        for (long i = lAt; i < lAt + WINDOW; ++i)
        {
            const long lTune = ((i - MUSIC_LEAD_IN) % PERIOD + PERIOD) % PERIOD;
            for (int c = 0; c < 2; ++c)
            {
                const double dDiff = s_tTheme.tSamples[std::size_t(2 * i + c)] / FULL_SCALE -
                                     s_tTune[std::size_t(2 * lTune + c)];
                dSum += dDiff * dDiff;
            }
        }
        tErrors.push_back(Db(std::sqrt(dSum / double(2 * WINDOW))));
    }
    return tErrors;
}

// Effect i as the game plays it over the theme: decoded by the sound engine, then converted to
// the mixer's format (44100 Hz stereo) by SDL's converter, as the AL layer does.
sStereo PlayedEffect(int i)
{
    sStereo tOut;
    const std::string strPath = DataDir() + "/SFX/" + SFX_NAMES[i] + ".ogg";
    sDecodedSound tSound{};
    if (!AUDIO_DecodeSoundFile(std::fopen(strPath.c_str(), "rb"), strPath.c_str(), &tSound))
    {
        ADD_FAILURE() << strPath;
        return tOut;
    }
    SDL_AudioCVT tCvt;
    EXPECT_GE(SDL_BuildAudioCVT(&tCvt, AUDIO_S16LSB, Uint8(tSound.iChannels), tSound.iRate,
                                AUDIO_S16LSB, 2, MUSIC_RATE),
              0);
    std::vector<Uint8> tBuffer(std::size_t(tSound.iBytes) * std::size_t(tCvt.len_mult));
    std::memcpy(tBuffer.data(), tSound.pData, std::size_t(tSound.iBytes));
    tCvt.buf = tBuffer.data();
    tCvt.len = tSound.iBytes;
    EXPECT_EQ(SDL_ConvertAudio(&tCvt), 0);
    tOut.tSamples.resize(std::size_t(tCvt.len_cvt) / 2);
    std::memcpy(tOut.tSamples.data(), tBuffer.data(), tOut.tSamples.size() * 2);
    AUDIO_FreeDecodedSound(&tSound);
    return tOut;
}

}  // namespace

TEST_F(MixTest, ThemeRepeatsEveryThirtyTwoSecondsWithoutAGap)
{
    ASSERT_GE(s_tTheme.Frames(), LOOPS * PERIOD);
    // Each pass is exactly one period: the second and third are the same samples (libmad is
    // exact), so no encoder delay or padding is played at the join.
    long lDiffering = 0;
    for (long i = 2 * PERIOD; i < 2 * 2 * PERIOD; ++i)
    {
        lDiffering +=
            s_tTheme.tSamples[std::size_t(i)] != s_tTheme.tSamples[std::size_t(i + 2 * PERIOD)] ? 1
                                                                                                : 0;
    }
    EXPECT_EQ(lDiffering, 0);

    // No near silence (below -60 dBFS on both channels) anywhere past the fresh start's first
    // granule: each join of a file with the encoder's delay and padding had 18 ms of it.
    long lLongest = 0;
    long lRun = 0;
    for (long i = WINDOW; i < LOOPS * PERIOD; ++i)
    {
        const bool bQuiet = std::abs(int(s_tTheme.tSamples[std::size_t(2 * i)])) <= 32 &&
                            std::abs(int(s_tTheme.tSamples[std::size_t(2 * i + 1)])) <= 32;
        lRun = bQuiet ? lRun + 1 : 0;
        lLongest = std::max(lLongest, lRun);
    }
    EXPECT_LT(lLongest, MUSIC_RATE / 500);  // 2 ms: a zero crossing where the loop is quiet

    // Everywhere, the joins and the first pass's fresh start included, the decoded theme is the
    // tune within the MP3's own coding error: no granule is more than 12 dB off the median.
    // (A gap or a click at a join is as loud as the music there, 20 dB and more above it.)
    const std::vector<double> tErrors = GranuleErrors(0, LOOPS * PERIOD);
    std::vector<double> tSorted = tErrors;
    std::sort(tSorted.begin(), tSorted.end());
    const double dMedian = tSorted[tSorted.size() / 2];
    const long lPerLoop = PERIOD / WINDOW;
    for (std::size_t k = 0; k < tErrors.size(); ++k)
    {
        EXPECT_LT(tErrors[k], dMedian + 12.0) << "granule " << k % std::size_t(lPerLoop)
                                              << " of pass " << k / std::size_t(lPerLoop) + 1;
    }
    // The joins themselves, where the decoder carries its state from the file's end into its
    // start, are as clean as anywhere.
    for (long lJoin : {PERIOD, 2 * PERIOD})
    {
        const std::size_t uiAt = std::size_t(lJoin / WINDOW);
        EXPECT_LT(tErrors[uiAt], dMedian + 3.0) << "the join at " << lJoin;
        EXPECT_LT(tErrors[uiAt - 1], dMedian + 3.0) << "before the join at " << lJoin;
    }
    std::printf(
        "Theme: coding error median %.1f dBFS, worst %.1f; fresh start %.1f, joins %.1f "
        "and %.1f dBFS; longest near silence %ld samples\n",
        dMedian, tSorted.back(), tErrors[0], tErrors[std::size_t(lPerLoop)],
        tErrors[std::size_t(2 * lPerLoop)], lLongest);
}

TEST_F(MixTest, EffectsOverTheThemeLeaveHeadroomAndStandOut)
{
    ASSERT_GE(s_tTheme.Frames(), 2 * PERIOD);
    sStereo tOnePass;
    tOnePass.tSamples.assign(s_tTheme.tSamples.begin() + 2 * PERIOD,
                             s_tTheme.tSamples.begin() + 2 * 2 * PERIOD);
    const double dThemePeak = tOnePass.Peak();
    const double dThemeBar = tOnePass.LoudestRms(BAR, BAR);
    std::printf("Theme: peak %.1f dBFS, loudest bar %.1f dBFS RMS\n", Db(dThemePeak),
                Db(dThemeBar));
    EXPECT_NEAR(Db(dThemePeak), MIX_THEME_PEAK_DB, 1.0);

    std::vector<double> tPeaks;
    for (int i = 0; i < SFX_COUNT; ++i)
    {
        const sStereo tEffect = PlayedEffect(i);
        ASSERT_GT(tEffect.Frames(), 0) << SFX_NAMES[i];
        const double dPeak = tEffect.Peak();
        const double dLoudest = tEffect.LoudestRms(SHORT_TERM, SHORT_TERM / 10);
        const double dWhole = tEffect.LoudestRms(tEffect.Frames(), 1);
        tPeaks.push_back(dPeak);
        std::printf(
            "%-13s peak %5.1f dBFS; RMS over the music's loudest bar: loudest 100 ms %+5.1f "
            "dB, whole %+5.1f dB\n",
            SFX_NAMES[i], Db(dPeak), Db(dLoudest / dThemeBar), Db(dWhole / dThemeBar));
        // Heard over the music: its loudest moment well above the music's loudest bar, the
        // calls most of all. The scroll tick lasts 60 ms and its RMS says little: it is a click.
        const bool bCall =
            std::strcmp(SFX_NAMES[i], "no") == 0 || std::strncmp(SFX_NAMES[i], "yay", 3) == 0;
        if (std::strcmp(SFX_NAMES[i], "scroll") != 0)
        {
            EXPECT_GT(Db(dLoudest / dThemeBar), bCall ? 6.0 : 3.0) << SFX_NAMES[i];
        }
    }
    std::sort(tPeaks.rbegin(), tPeaks.rend());
    // The theme's peak and the loudest effect's, should they meet, stay a decibel below full
    // scale; with the next loudest effect's peak as well, still below full scale.
    EXPECT_LT(Db(dThemePeak + tPeaks[0]), -1.0);
    EXPECT_LT(dThemePeak + tPeaks[0] + tPeaks[1], 1.0);
    std::printf("Theme and the loudest effect %.1f dBFS, and the two loudest %.1f dBFS\n",
                Db(dThemePeak + tPeaks[0]), Db(dThemePeak + tPeaks[0] + tPeaks[1]));
}
