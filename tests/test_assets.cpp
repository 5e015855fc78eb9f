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
#include "Icon.h"
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

std::uint32_t Le32(const std::vector<std::uint8_t>& t, std::size_t i)
{
    return Le16(t, i) | (Le16(t, i + 2) << 16);
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

TEST(Assets, LevelAtlasHasEverySpriteWhereTheTablesSay)
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
    for (int iType = 0; iType < 4; ++iType)
    {
        for (int iFrame = 0; iFrame < 8; ++iFrame)
        {
            const sAtlasRect& tR = LEVEL_POMMO[iType];
            const int iLeft = tR.iLeft + iFrame * POMMO_FRAME_STEP;
            const int iCentre = iLeft + tR.Width() / 2;
            EXPECT_TRUE(AnyVisible(tAtlas, iCentre - 6, tR.iTop, iCentre + 6, tR.iTop + 4))
                << "type " << iType << " frame " << iFrame << " has no stalk at the top";
            EXPECT_FALSE(AnyVisible(tAtlas, iLeft, tR.iBottom, iLeft + tR.Width(), tR.iBottom + 2))
                << "type " << iType << " frame " << iFrame << " spills below its rectangle";
        }
    }
}

TEST(Assets, BasketCellsCarryThePommoColours)
{
    const sTga tAtlas = LoadTga("Textures/level_1.tga");
    ASSERT_EQ(tAtlas.iWidth, ATLAS_SIZE);
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
            switch (iCell)
            {
                case 0:  // red
                    EXPECT_GT(iR, iG + 40);
                    EXPECT_GT(iR, iB + 40);
                    break;
                case 1:  // yellow
                    EXPECT_GT(iR, iB + 60);
                    EXPECT_GT(iG, iB + 40);
                    break;
                case 2:  // purple
                    EXPECT_GT(iR, iG + 20);
                    EXPECT_GT(iB, iG + 40);
                    break;
                case 3:  // blue
                    EXPECT_GT(iB, iR + 50);
                    break;
                default:  // neutral grey
                    EXPECT_LT(std::abs(iR - iG) + std::abs(iG - iB), 30);
                    break;
            }
        }
    }
}

TEST(Assets, EveryFaceOfAPommoKeepsTheColourOfItsType)
{
    // The body's mean colour in every frame, growing to fallen, has its type's hue and is no
    // grey: the hue ranges (the red one through 0) do not meet.
    const sTga tAtlas = LoadTga("Textures/level_1.tga");
    ASSERT_EQ(tAtlas.iWidth, ATLAS_SIZE);
    const double tHues[4][2] = {{-25, 30}, {35, 65}, {255, 295}, {195, 230}};
    for (int iType = 0; iType < 4; ++iType)
    {
        for (int iFrame = 0; iFrame < 8; ++iFrame)
        {
            const sAtlasRect& tR = LEVEL_POMMO[iType];
            const int iLeft = tR.iLeft + iFrame * POMMO_FRAME_STEP;
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
            ASSERT_GT(iCount, 200) << "type " << iType << " frame " << iFrame;
            double dHue = 0;
            double dSaturation = 0;
            HueAndSaturation(tSum[0] / iCount, tSum[1] / iCount, tSum[2] / iCount, dHue,
                             dSaturation);
            dHue -= (iType == 0 && dHue > 180) ? 360 : 0;
            EXPECT_GE(dHue, tHues[iType][0]) << "type " << iType << " frame " << iFrame;
            EXPECT_LE(dHue, tHues[iType][1]) << "type " << iType << " frame " << iFrame;
            EXPECT_GT(dSaturation, 0.35) << "type " << iType << " frame " << iFrame;
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

    const std::vector<std::uint8_t> tPvr = ReadData("Textures/Kettle.pvr");
    ASSERT_GE(tPvr.size(), 52u);
    EXPECT_EQ(Le32(tPvr, 0), 52u);                // version 2 header
    EXPECT_EQ(Le32(tPvr, 4), 512u);               // height
    EXPECT_EQ(Le32(tPvr, 8), 512u);               // width
    EXPECT_EQ(Le32(tPvr, 12), 0u);                // no mip-maps
    EXPECT_EQ(Le32(tPvr, 16) & 0xFFu, 0x19u);     // PVRTC 4 bpp
    EXPECT_EQ(Le32(tPvr, 16) & 0x1100u, 0u);      // neither mip-mapped nor a cube map
    EXPECT_EQ(Le32(tPvr, 20), 512u * 512u / 2u);  // data size
    EXPECT_EQ(Le32(tPvr, 24), 4u);                // bits a pixel
    EXPECT_EQ(Le32(tPvr, 40), 0u);                // opaque
    EXPECT_EQ(Le32(tPvr, 44), 0x21525650u);       // "PVR!"
    EXPECT_EQ(Le32(tPvr, 48), 1u);                // one surface
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

    const std::vector<std::uint8_t> tMental = ReadData("Data/Textures/mental.pvr");
    ASSERT_GE(tMental.size(), 52u);
    EXPECT_EQ(Le32(tMental, 0), 52u);
    EXPECT_EQ(Le32(tMental, 16) & 0xFFu, 0x12u);  // RGBA 8888, uncompressed
    EXPECT_EQ(tMental.size(), 52u + std::size_t(Le32(tMental, 4)) * Le32(tMental, 8) * 4u);
}

TEST(Assets, PvrtcEncoderKeepsFlatColoursAndGradients)
{
    CImageRGBA tImage(64, 32);
    for (int iY = 0; iY < 32; ++iY)
    {
        for (int iX = 0; iX < 64; ++iX)
        {
            std::uint8_t* pP = tImage.At(iX, iY);
            pP[0] = std::uint8_t(iX < 32 ? 200 : iX * 4);
            pP[1] = std::uint8_t(iX < 32 ? 100 : iY * 8);
            pP[2] = std::uint8_t(iX < 32 ? 40 : 128);
            pP[3] = 255;
        }
    }
    const std::vector<std::uint8_t> tBlocks = PVRTC_Encode4bpp(tImage);
    ASSERT_EQ(tBlocks.size(), 64u * 32u / 2u);
    const CImageRGBA tBack = PVRTC_Decode4bpp(tBlocks, 64, 32);
    double dError = 0.0;
    for (int iY = 0; iY < 32; ++iY)
    {
        for (int iX = 0; iX < 64; ++iX)
        {
            for (int k = 0; k < 3; ++k)
            {
                dError += std::abs(int(tBack.At(iX, iY)[k]) - int(tImage.At(iX, iY)[k]));
            }
        }
    }
    EXPECT_LT(dError / (64 * 32 * 3), 6.0);
    // Well inside the flat half the colour comes back to within the 5-bit steps.
    const std::uint8_t* pFlat = tBack.At(12, 12);
    EXPECT_NEAR(pFlat[0], 200, 6);
    EXPECT_NEAR(pFlat[1], 100, 6);
    EXPECT_NEAR(pFlat[2], 40, 9);
}

TEST(Assets, FontParsesAsBinaryVersion3WithEveryPrintableGlyph)
{
    const std::vector<std::uint8_t> tFnt = ReadData("Fonts/Boughfall.fnt");
    ASSERT_GE(tFnt.size(), 4u);
    ASSERT_EQ(tFnt[0], 'B');
    ASSERT_EQ(tFnt[1], 'M');
    ASSERT_EQ(tFnt[2], 'F');
    ASSERT_EQ(tFnt[3], 3);
    int tSeen[6] = {0, 0, 0, 0, 0, 0};
    std::size_t tBody[6] = {0, 0, 0, 0, 0, 0};
    std::size_t tSize[6] = {0, 0, 0, 0, 0, 0};
    for (std::size_t uiAt = 4; uiAt < tFnt.size();)
    {
        ASSERT_LE(uiAt + 5, tFnt.size());
        const int iType = tFnt[uiAt];
        ASSERT_TRUE(iType >= 1 && iType <= 5) << iType;
        const std::size_t uiSize = Le32(tFnt, uiAt + 1);
        ASSERT_LE(uiAt + 5 + uiSize, tFnt.size());
        ++tSeen[iType];
        tBody[iType] = uiAt + 5;
        tSize[iType] = uiSize;
        uiAt += 5 + uiSize;
    }
    for (int iType = 1; iType <= 4; ++iType)
    {
        EXPECT_EQ(tSeen[iType], 1) << "block " << iType;
    }
    EXPECT_LE(tSeen[5], 1);
    const std::size_t uiCommon = tBody[2];
    const int iLineHeight = int(Le16(tFnt, uiCommon));
    EXPECT_GE(iLineHeight, 28);
    EXPECT_LE(iLineHeight, 32);
    const int iScaleW = int(Le16(tFnt, uiCommon + 4));
    const int iScaleH = int(Le16(tFnt, uiCommon + 6));
    EXPECT_EQ(Le16(tFnt, uiCommon + 8), 1u) << "one page";

    // The page name with its extension cut gives the texture the loader reads.
    const std::string strPage(reinterpret_cast<const char*>(&tFnt[tBody[3]]));
    ASSERT_GT(strPage.size(), 4u);
    EXPECT_EQ(strPage.substr(strPage.size() - 4), ".tga");
    const sTga tPage = LoadTga("Textures/Fonts/" + strPage);
    ASSERT_EQ(tPage.iWidth, iScaleW);
    ASSERT_EQ(tPage.iHeight, iScaleH);

    ASSERT_EQ(tSize[4] % 20, 0u);
    std::map<int, std::size_t> tGlyphs;
    for (std::size_t i = 0; i < tSize[4] / 20; ++i)
    {
        tGlyphs[int(Le32(tFnt, tBody[4] + i * 20))] = tBody[4] + i * 20;
    }
    for (int iChar = 32; iChar <= 126; ++iChar)
    {
        ASSERT_TRUE(tGlyphs.count(iChar)) << "no glyph for '" << char(iChar) << "'";
        const std::size_t uiR = tGlyphs[iChar];
        const int iX = int(Le16(tFnt, uiR + 4)), iY = int(Le16(tFnt, uiR + 6));
        const int iW = int(Le16(tFnt, uiR + 8)), iH = int(Le16(tFnt, uiR + 10));
        const int iAdvance = int(std::int16_t(Le16(tFnt, uiR + 16)));
        EXPECT_GT(iAdvance, 0) << char(iChar);
        EXPECT_LE(iX + iW, iScaleW);
        EXPECT_LE(iY + iH, iScaleH);
        if (iChar != ' ')
        {
            EXPECT_TRUE(AnyVisible(tPage, iX, iY, iX + iW, iY + iH)) << char(iChar);
            EXPECT_LE(int(std::int16_t(Le16(tFnt, uiR + 14))) + iH, iLineHeight) << char(iChar);
        }
    }
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

TEST(Assets, IconIsARedPommoOnABoughAtEverySize)
{
    for (int iSize : ICON_SIZES)
    {
        const CImageRGBA tIcon = ICON_Paint(iSize);
        ASSERT_EQ(tIcon.iWidth, iSize);
        auto At = [&](double dX, double dY) { return tIcon.At(int(dX * iSize), int(dY * iSize)); };
        for (const double dCorner : {0.0, 0.99})
        {
            EXPECT_EQ(At(dCorner, 0.99)[3], 0) << iSize;  // clear below the bough's ends
        }
        const std::uint8_t* pBody = At(0.3, 0.6);
        EXPECT_EQ(pBody[3], 255) << iSize;
        EXPECT_GT(pBody[0], 2 * pBody[1]) << iSize;  // red
        const std::uint8_t* pBark = At(0.39, 0.237);
        EXPECT_EQ(pBark[3], 255) << iSize;
        EXPECT_GT(pBark[0], pBark[1]) << iSize;  // brown
        EXPECT_GT(pBark[1], pBark[2]) << iSize;
    }
}
