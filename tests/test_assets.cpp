// The generated game data: the generator makes the same bytes every time, and what the build
// wrote has the formats, sizes and layouts the game's loaders expect.

#include <gtest/gtest.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "AtlasLayout.h"
#include "FrontEndLayout.h"
#include "PvrtcEncoder.h"
#include "SoundEffects.h"
#include "TestSupport.h"

namespace
{
namespace fs = std::filesystem;

std::string DataDir()
{
    const char* pDir = std::getenv("BF_DATA_DIR");
    return pDir != nullptr ? pDir : "Data";
}

std::vector<std::uint8_t> ReadData(const std::string& strRelative)
{
    return TEST_ReadFile(DataDir() + "/" + strRelative);
}

std::uint32_t Le16(const std::vector<std::uint8_t>& t, std::size_t i)
{
    return t[i] | (std::uint32_t(t[i + 1]) << 8);
}

// A 32-bit TGA as the game reads it, with pixels addressed from the picture's top.
struct sTga
{
    int iWidth = 0;
    int iHeight = 0;
    std::vector<std::uint8_t> tFile;
    // R, G, B, A of pixel (x, y), y counted from the top row.
    std::array<int, 4> At(int iX, int iYFromTop) const
    {
        const std::size_t uiAt =
            18 + (std::size_t(iHeight - 1 - iYFromTop) * iWidth + std::size_t(iX)) * 4;
        return {tFile[uiAt + 2], tFile[uiAt + 1], tFile[uiAt], tFile[uiAt + 3]};
    }
};

sTga LoadTga(const std::string& strRelative)
{
    sTga tTga;
    tTga.tFile = ReadData(strRelative);
    EXPECT_GE(tTga.tFile.size(), 18u) << strRelative;
    if (tTga.tFile.size() < 18)
    {
        return tTga;
    }
    EXPECT_EQ(tTga.tFile[0], 0) << "no image ID";
    EXPECT_EQ(tTga.tFile[1], 0) << "no colour map";
    EXPECT_EQ(tTga.tFile[2], 2) << "uncompressed true colour";
    EXPECT_EQ(tTga.tFile[16], 32) << "32 bits a pixel";
    EXPECT_EQ(tTga.tFile[17] & 0x20, 0) << "bottom-left origin";
    tTga.iWidth = int(Le16(tTga.tFile, 12));
    tTga.iHeight = int(Le16(tTga.tFile, 14));
    EXPECT_EQ(tTga.tFile.size(), 18u + std::size_t(tTga.iWidth) * tTga.iHeight * 4) << strRelative;
    return tTga;
}

bool AnyVisible(const sTga& tTga, int iLeft, int iTop, int iRight, int iBottom)
{
    for (int iY = iTop; iY < iBottom; ++iY)
    {
        for (int iX = iLeft; iX < iRight; ++iX)
        {
            if (tTga.At(iX, iY)[3] > 128)
            {
                return true;
            }
        }
    }
    return false;
}

int VisibleInRow(const sTga& tTga, int iLeft, int iRight, int iY)
{
    int iCount = 0;
    for (int iX = iLeft; iX < iRight; ++iX)
    {
        iCount += tTga.At(iX, iY)[3] > 128 ? 1 : 0;
    }
    return iCount;
}

std::map<std::string, std::vector<std::uint8_t>> RunGenerator(const std::string& strDir)
{
    const std::string strCommand = std::string(BF_ASSETGEN_PATH) + " " + strDir + " --font " +
                                   BF_FONT_FILE + " > " + strDir + ".log 2>&1";
    EXPECT_EQ(std::system(strCommand.c_str()), 0) << strCommand;
    std::map<std::string, std::vector<std::uint8_t>> tFiles;
    for (const auto& tEntry : fs::recursive_directory_iterator(strDir))
    {
        if (tEntry.is_regular_file())
        {
            tFiles[fs::relative(tEntry.path(), strDir).string()] = TEST_ReadFile(tEntry.path());
        }
    }
    return tFiles;
}
// Hue (degrees, 0 = red) and saturation of a colour, as HSV reckons them.
void HueAndSaturation(double dR, double dG, double dB, double& dHue, double& dSaturation)
{
    const double dMax = std::max({dR, dG, dB});
    const double dRange = dMax - std::min({dR, dG, dB});
    dSaturation = dMax > 0 ? dRange / dMax : 0;
    dHue = 0;
    if (dRange > 0)
    {
        if (dMax == dR)
        {
            dHue = 60 * std::fmod((dG - dB) / dRange + 6, 6);
        }
        else if (dMax == dG)
        {
            dHue = 60 * ((dB - dR) / dRange + 2);
        }
        else
        {
            dHue = 60 * ((dR - dG) / dRange + 4);
        }
    }
}

}  // namespace

TEST(Assets, GeneratorWritesTheSameBytesEveryTime)
{
    const auto tFirst = RunGenerator(TEST_MakeTempDir("assets-a"));
    const auto tSecond = RunGenerator(TEST_MakeTempDir("assets-b"));
    // Textures, font, sounds, music, the window's icon.
    EXPECT_EQ(tFirst.size(), 4u + 2u + SFX_COUNT + 1u + 1u);
    ASSERT_EQ(tFirst.size(), tSecond.size());
    for (const auto& [strName, tBytes] : tFirst)
    {
        const auto tOther = tSecond.find(strName);
        ASSERT_NE(tOther, tSecond.end()) << strName;
        EXPECT_TRUE(tBytes == tOther->second) << strName << " differs between two runs";
    }
}

TEST(Assets, LevelAtlasHasEverySpriteWhereTheTablesSayInItsColours)
{
    const sTga tAtlas = LoadTga("Textures/level_1.tga");
    ASSERT_EQ(tAtlas.iWidth, ATLAS_SIZE);
    ASSERT_EQ(tAtlas.iHeight, ATLAS_SIZE);
    // The background covers its whole rectangle.
    for (int iY = 0; iY < 320; iY += 7)
    {
        for (int iX = 0; iX < 480; iX += 7)
        {
            ASSERT_EQ(tAtlas.At(iX, iY)[3], 255) << iX << "," << iY;
        }
    }
    // The branch's base (bottom of its rectangle) is thicker than its tip.
    const sAtlasRect& tBranch = LEVEL_BRANCH;
    EXPECT_GT(VisibleInRow(tAtlas, tBranch.iLeft, tBranch.iRight, tBranch.iBottom - 20),
              VisibleInRow(tAtlas, tBranch.iLeft, tBranch.iRight, tBranch.iTop + 20) + 8);
    // The leaf is stored upside down: stem at the top row, blade widest in its upper half.
    const sAtlasRect& tLeaf = LEVEL_LEAF;
    EXPECT_GT(tAtlas.At(tLeaf.iLeft + 16, tLeaf.iTop + 1)[3], 128);
    EXPECT_GT(VisibleInRow(tAtlas, tLeaf.iLeft, tLeaf.iRight, tLeaf.iTop + 35),
              VisibleInRow(tAtlas, tLeaf.iLeft, tLeaf.iRight, tLeaf.iBottom - 15));
    EXPECT_TRUE(AnyVisible(tAtlas, LEVEL_PAUSE.iLeft, LEVEL_PAUSE.iTop, LEVEL_PAUSE.iRight,
                           LEVEL_PAUSE.iBottom));
    // Every pommo frame hangs from its stalk at the top centre and stays inside its rectangle.
    // Its body's mean colour, growing to fallen, has its type's hue and is no grey: the hue
    // ranges (the red one through 0) do not meet.
    const double tHues[4][2] = {{-25, 30}, {35, 65}, {255, 295}, {195, 230}};
    for (int iType = 0; iType < 4; ++iType)
    {
        for (int iFrame = 0; iFrame < 8; ++iFrame)
        {
            SCOPED_TRACE(testing::Message() << "type " << iType << " frame " << iFrame);
            const sAtlasRect& tR = LEVEL_POMMO[iType];
            const int iLeft = tR.iLeft + iFrame * POMMO_FRAME_STEP;
            const int iCentre = iLeft + tR.Width() / 2;
            EXPECT_TRUE(AnyVisible(tAtlas, iCentre - 6, tR.iTop, iCentre + 6, tR.iTop + 4))
                << "no stalk at the top";
            EXPECT_FALSE(AnyVisible(tAtlas, iLeft, tR.iBottom, iLeft + tR.Width(), tR.iBottom + 2))
                << "spills below its rectangle";
            double tSum[3] = {0, 0, 0};
            int iCount = 0;
            // The lower half of the box, below the stalk and its leaves; neither the dark
            // outline and face nor the white shine.
            for (int iY = tR.iTop + tR.Height() / 2; iY < tR.iBottom; ++iY)
            {
                for (int iX = iLeft; iX < iLeft + tR.Width(); ++iX)
                {
                    const auto tP = tAtlas.At(iX, iY);
                    const int iMax = std::max({tP[0], tP[1], tP[2]});
                    const int iMin = std::min({tP[0], tP[1], tP[2]});
                    if (tP[3] == 255 && iMax > 70 && iMin < 225)
                    {
                        for (int k = 0; k < 3; ++k)
                        {
                            tSum[k] += tP[k];
                        }
                        ++iCount;
                    }
                }
            }
            ASSERT_GT(iCount, 200);
            double dHue = 0;
            double dSaturation = 0;
            HueAndSaturation(tSum[0] / iCount, tSum[1] / iCount, tSum[2] / iCount, dHue,
                             dSaturation);
            dHue -= (iType == 0 && dHue > 180) ? 360 : 0;
            EXPECT_GE(dHue, tHues[iType][0]);
            EXPECT_LE(dHue, tHues[iType][1]);
            EXPECT_GT(dSaturation, 0.35);
        }
    }
    // The basket cells, each in its colour.
    for (int iRowStrip = 0; iRowStrip < 2; ++iRowStrip)
    {
        const sAtlasRect& tStrip = iRowStrip == 0 ? LEVEL_BASKET_WIDE : LEVEL_BASKET_THIN;
        for (int iCell = 0; iCell < BASKET_CELLS; ++iCell)
        {
            // Average of the cell's middle, where the baskets are sampled.
            int tSum[3] = {0, 0, 0};
            int iCount = 0;
            for (int iY = tStrip.iTop + 3; iY < tStrip.iBottom; ++iY)
            {
                for (int iX = 16; iX < 48; ++iX)
                {
                    const auto tP = tAtlas.At(tStrip.iLeft + iCell * BASKET_CELL_WIDTH + iX, iY);
                    EXPECT_EQ(tP[3], 255);
                    for (int k = 0; k < 3; ++k)
                    {
                        tSum[k] += tP[k];
                    }
                    ++iCount;
                }
            }
            const int iR = tSum[0] / iCount, iG = tSum[1] / iCount, iB = tSum[2] / iCount;
            SCOPED_TRACE("strip " + std::to_string(iRowStrip) + " cell " + std::to_string(iCell));
            // Red, yellow, purple, blue, then the neutral grey of a basket not in play.
            const bool bColour[BASKET_CELLS] = {iR > iG + 40 && iR > iB + 40,
                                                iR > iB + 60 && iG > iB + 40,
                                                iR > iG + 20 && iB > iG + 40, iB > iR + 50,
                                                std::abs(iR - iG) + std::abs(iG - iB) < 30};
            EXPECT_TRUE(bColour[iCell]) << iR << " " << iG << " " << iB;
        }
    }
}

TEST(Assets, FrontEndAtlasAndSplash)
{
    const sTga tAtlas = LoadTga("Textures/frontend.tga");
    ASSERT_EQ(tAtlas.iWidth, ATLAS_SIZE);
    ASSERT_EQ(tAtlas.iHeight, ATLAS_SIZE);
    for (int i = 4; i < 10; ++i)
    {
        const sAtlasRect& tR = FRONT_RECTS[i];
        EXPECT_TRUE(AnyVisible(tAtlas, tR.iLeft, tR.iTop, tR.iRight, tR.iBottom)) << i;
    }
    // Full-screen pictures are opaque to their corners.
    for (const sAtlasRect& tR :
         {FRONT_TITLE_BACKGROUND, FRONT_RECTS[FRONT_INSTRUCTIONS], FRONT_RECTS[FRONT_CREDITS]})
    {
        EXPECT_EQ(tAtlas.At(tR.iLeft, tR.iTop)[3], 255);
        EXPECT_EQ(tAtlas.At(tR.iRight - 1, tR.iBottom - 1)[3], 255);
    }
    // The logo shows nothing above LOGO_TOP on the screen and the back arrow nothing outside
    // its disc, so neither covers a word on the boards (both are drawn with their bottom-left
    // corners at the bottom of the screen, the logo at y LOGO_MARGIN).
    const sAtlasRect& tLogo = FRONT_RECTS[FRONT_LOGO];
    EXPECT_FALSE(AnyVisible(tAtlas, tLogo.iLeft, tLogo.iTop, tLogo.iRight,
                            tLogo.iBottom - (LOGO_TOP - LOGO_MARGIN)));
    EXPECT_TRUE(AnyVisible(tAtlas, tLogo.iLeft, tLogo.iBottom - (LOGO_TOP - LOGO_MARGIN),
                           tLogo.iRight, tLogo.iBottom));
    const sAtlasRect& tBack = FRONT_RECTS[FRONT_BACK_BUTTON];
    for (int iY = tBack.iTop; iY < tBack.iBottom; ++iY)
    {
        for (int iX = tBack.iLeft; iX < tBack.iRight; ++iX)
        {
            const double dX = iX + 0.5 - tBack.iLeft - BACK_DISC_X;
            const double dY = tBack.iBottom - (iY + 0.5) - BACK_DISC_Y;
            if (std::hypot(dX, dY) > BACK_DISC_RADIUS)
            {
                ASSERT_LE(tAtlas.At(iX, iY)[3], 128) << iX - tBack.iLeft << "," << iY - tBack.iTop;
            }
        }
    }

    // The splash: PVRTC 4 bpp, 512 x 512 behind a version 2 header (the game's loader reads it
    // when test_frontend shows the splash).
    const std::vector<std::uint8_t> tPvr = ReadData("Textures/Kettle.pvr");
    ASSERT_EQ(tPvr.size(), 52u + 512u * 512u / 2u);
    // Stored bottom-up: the logo lies in the file's last 320 rows (the picture's top is the
    // last row); the rows below the picture are plain background.
    const CImageRGBA tDecoded =
        PVRTC_Decode4bpp(std::vector<std::uint8_t>(tPvr.begin() + 52, tPvr.end()), 512, 512);
    auto Spread = [&](int iFromRow, int iToRow)
    {
        int iMin = 255 * 3, iMax = 0;
        for (int iY = iFromRow; iY < iToRow; ++iY)
        {
            for (int iX = 0; iX < 480; ++iX)
            {
                const std::uint8_t* pP = tDecoded.At(iX, iY);
                iMin = std::min(iMin, pP[0] + pP[1] + pP[2]);
                iMax = std::max(iMax, pP[0] + pP[1] + pP[2]);
            }
        }
        return iMax - iMin;
    };
    EXPECT_LT(Spread(8, 180), 30) << "below the picture: plain background";
    EXPECT_GT(Spread(192, 512), 300) << "the picture holds the logo";

    // The default texture, what a missing texture is drawn with: RGBA 8888, whole.
    const std::vector<std::uint8_t> tMental = ReadData("Data/Textures/mental.pvr");
    ASSERT_GE(tMental.size(), 52u);
    EXPECT_EQ(tMental[16], 0x12);
    EXPECT_EQ(tMental.size(), 52u + 4u * Le16(tMental, 4) * Le16(tMental, 8));
}

TEST(Assets, SoundEffectsAreMono22050Vorbis)
{
    for (int i = 0; i < SFX_COUNT; ++i)
    {
        const std::string strPath = DataDir() + "/SFX/" + SFX_NAMES[i] + ".ogg";
        SCOPED_TRACE(strPath);
        OggVorbis_File tFile;
        ASSERT_EQ(ov_fopen(strPath.c_str(), &tFile), 0);
        const vorbis_info* pInfo = ov_info(&tFile, -1);
        ASSERT_NE(pInfo, nullptr);
        EXPECT_EQ(pInfo->channels, 1);
        EXPECT_EQ(pInfo->rate, 22050);
        const double dSeconds = ov_time_total(&tFile, -1);
        EXPECT_GT(dSeconds, 0.04);
        EXPECT_LT(dSeconds, 2.5);
        // Decoded as the game does: 16-bit little-endian signed; the sound is not silent.
        char tBuffer[4096];
        int iSection = 0;
        int iPeak = 0;
        long lRead;
        while ((lRead = ov_read(&tFile, tBuffer, sizeof tBuffer, 0, 2, 1, &iSection)) > 0)
        {
            for (long k = 0; k + 1 < lRead; k += 2)
            {
                const int iSample = std::int16_t(std::uint8_t(tBuffer[k]) | (tBuffer[k + 1] << 8));
                iPeak = std::max(iPeak, std::abs(iSample));
            }
        }
        EXPECT_EQ(lRead, 0) << "decoding ended with an error";
        EXPECT_GT(iPeak, 6000);  // the levels themselves are test_mix's
        ov_clear(&tFile);
    }
}

TEST(Assets, MusicIsTaggedMpeg1StereoAndLoopsCleanly)
{
    const std::vector<std::uint8_t> tMp3 = ReadData("Music/BoughfallTheme.mp3");
    ASSERT_GT(tMp3.size(), 10u);
    ASSERT_EQ(std::string(tMp3.begin(), tMp3.begin() + 3), "ID3");
    const std::size_t uiTag = 10 + ((std::size_t(tMp3[6]) << 21) | (std::size_t(tMp3[7]) << 14) |
                                    (std::size_t(tMp3[8]) << 7) | tMp3[9]);
    const std::string strTag(tMp3.begin() + 10, tMp3.begin() + std::ptrdiff_t(uiTag));
    EXPECT_NE(strTag.find("TIT2"), std::string::npos);
    EXPECT_NE(strTag.find("TPE1"), std::string::npos);
    // Right after the tag: a frame header, MPEG-1 Layer III, 44100 Hz, not single-channel.
    int iFrames = 0;
    std::size_t uiAt = uiTag;
    while (uiAt + 4 <= tMp3.size())
    {
        ASSERT_EQ(tMp3[uiAt], 0xFF) << "frame " << iFrames;
        ASSERT_EQ(tMp3[uiAt + 1] & 0xE0, 0xE0);
        ASSERT_EQ((tMp3[uiAt + 1] >> 3) & 3, 3) << "MPEG-1";
        ASSERT_EQ((tMp3[uiAt + 1] >> 1) & 3, 1) << "Layer III";
        ASSERT_EQ((tMp3[uiAt + 2] >> 2) & 3, 0) << "44100 Hz";
        ASSERT_NE(tMp3[uiAt + 3] >> 6, 3) << "two channels";
        static const int BITRATES[16] = {0,   32,  40,  48,  56,  64,  80,  96,
                                         112, 128, 160, 192, 224, 256, 320, 0};
        const int iBitrate = BITRATES[tMp3[uiAt + 2] >> 4];
        ASSERT_GT(iBitrate, 0);
        uiAt += std::size_t(144000 * iBitrate / 44100 + ((tMp3[uiAt + 2] >> 1) & 1));
        ++iFrames;
    }
    // Exactly one 32-second period of the loop: no encoder delay, no padding frame.
    EXPECT_EQ(iFrames * 1152, 32 * 44100);
}
