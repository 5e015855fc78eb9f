// bf_fuzz_seeds OUTDIR: writes the fuzz targets' seed inputs, one folder per target, from the
// generated data tree and the game's own writers. Run at build time; nothing of it is kept in
// the repository.
//   tga        the atlases, the font page and the icon; small crops of the level atlas written
//              by the generator's TGA writer, plain and run-length encoded
//   pvr        Kettle.pvr and mental.pvr; small PVRTC and RGBA 8888 files from the generator
//   pvrtc      levels of blocks: a small encoded picture and the first blocks of Kettle.pvr
//   font       the game's font
//   ogg        the sound effects
//   mp3probe   the theme, and its first 4 KiB
//   savegame   saved games written by a real level after 10 and 30 seconds of play
//   highscore  score files written by SCORE_Write
//   settings   settings files written by the remembered settings
//   script     a script with every kind of step, and a recording

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "Assert.h"
#include "FileBytes.h"
#include "FileSystem.h"
#include "FuzzSupport.h"
#include "HighScore.h"
#include "ImageFile.h"
#include "Level.h"
#include "PVRTDecompress.h"
#include "PvrtcEncoder.h"
#include "Random.h"
#include "Settings.h"
#include "TGAFile.h"

namespace
{

constexpr const char* ASSERT_FILE = "fuzz/FuzzSeeds";
constexpr int PVR_HEADER_BYTES = 52;

namespace fs = std::filesystem;

fs::path s_tOut;

using Bytes = std::vector<std::uint8_t>;

void Write(const std::string& strTarget, const std::string& strName, const Bytes& tBytes)
{
    BF_ASSERT(ASSERT_FILE, !tBytes.empty());
    BF_ASSERT(ASSERT_FILE, IMG_WriteFile((s_tOut / strTarget / strName).string(), tBytes));
}

Bytes DataFile(const std::string& strRelative)
{
    const std::string strPath = std::string(FUZZ_DataFolder()) + "/" + strRelative;
    Bytes tBytes = FILE_ReadAll(strPath.c_str());
    BF_ASSERT(ASSERT_FILE, !tBytes.empty());
    return tBytes;
}

void CopyData(const std::string& strTarget, const std::string& strRelative)
{
    Write(strTarget, fs::path(strRelative).filename().string(), DataFile(strRelative));
}

// Distinct 32-bit pixels in a block of the atlas, up to iEnough.
int CountColours(const TGAPixels& tAtlas, int iLeft, int iTop, int iWidth, int iHeight, int iEnough)
{
    std::vector<std::uint32_t> tSeen;
    for (int y = iTop; y < iTop + iHeight && static_cast<int>(tSeen.size()) < iEnough; ++y)
    {
        for (int x = iLeft; x < iLeft + iWidth; ++x)
        {
            std::uint32_t uiPixel;
            std::memcpy(&uiPixel, tAtlas.pPixels + (static_cast<size_t>(y) * tAtlas.iWidth + x) * 4,
                        4);
            if (std::find(tSeen.begin(), tSeen.end(), uiPixel) == tSeen.end())
            {
                tSeen.push_back(uiPixel);
            }
        }
    }
    return static_cast<int>(tSeen.size());
}

// A block of the level atlas, rows top first, as the generator keeps pictures: the first one,
// in reading order, with some variety in it (a sprite's edge rather than empty space), so that
// both kinds of run-length packet appear.
CImageRGBA AtlasCrop(int iWidth, int iHeight)
{
    const Bytes tFile = DataFile("Textures/level_1.tga");
    FILE* pFile = FUZZ_OpenMemory(tFile.data(), tFile.size());
    TGAPixels tAtlas;
    BF_ASSERT(ASSERT_FILE, TGA_ReadPixels(pFile, &tAtlas) && tAtlas.iBytesPerPixel == 4);
    std::fclose(pFile);
    constexpr int ENOUGH_COLOURS = 6;
    int iLeft = 0;
    int iTop = 0;
    while (CountColours(tAtlas, iLeft, iTop, iWidth, iHeight, ENOUGH_COLOURS) < ENOUGH_COLOURS)
    {
        iLeft += iWidth;
        if (iLeft + iWidth > tAtlas.iWidth)
        {
            iLeft = 0;
            iTop += iHeight;
            BF_ASSERT(ASSERT_FILE, iTop + iHeight <= tAtlas.iHeight);
        }
    }
    CImageRGBA tCrop(iWidth, iHeight);
    for (int y = 0; y < iHeight; ++y)
    {
        const std::uint8_t* pRow =
            tAtlas.pPixels + (static_cast<size_t>(iTop + y) * tAtlas.iWidth + iLeft) * 4;
        std::copy(pRow, pRow + iWidth * 4, tCrop.At(0, y));
    }
    TGA_FreePixels(&tAtlas);
    return tCrop;
}

// The same picture as a run-length encoded TGA (type 10): runs of equal pixels, single pixels
// as raw packets.
Bytes EncodeRunLengthTGA(const CImageRGBA& tImage)
{
    Bytes tFile = IMG_EncodeTGA(tImage);
    tFile[2] = 10;
    tFile.resize(18);
    const CImageRGBA tFlipped = IMG_FlipVertical(tImage);
    const size_t uiPixels = static_cast<size_t>(tImage.iWidth) * tImage.iHeight;
    const std::uint8_t* pPixels = tFlipped.tPixels.data();
    for (size_t i = 0; i < uiPixels;)
    {
        size_t uiRun = 1;
        while (i + uiRun < uiPixels && uiRun < 128 &&
               std::equal(pPixels + 4 * i, pPixels + 4 * i + 4, pPixels + 4 * (i + uiRun)))
        {
            ++uiRun;
        }
        tFile.push_back(static_cast<std::uint8_t>(uiRun > 1 ? 0x80 | (uiRun - 1) : 0));
        const std::uint8_t* p = pPixels + 4 * i;
        tFile.insert(tFile.end(), {p[2], p[1], p[0], p[3]});
        i += uiRun;
    }
    return tFile;
}

// A level of blocks for fuzz_pvrtc: mode, width - 1, height - 1, then the blocks.
Bytes PVRTCLevel(bool b2bpp, int iWidth, int iHeight, const std::uint8_t* pBlocks)
{
    Bytes tLevel = {static_cast<std::uint8_t>(b2bpp ? 1 : 0)};
    IMG_Put16(tLevel, static_cast<std::uint32_t>(iWidth - 1));
    IMG_Put16(tLevel, static_cast<std::uint32_t>(iHeight - 1));
    tLevel.insert(tLevel.end(), pBlocks, pBlocks + PVRT_LevelDataSize(b2bpp, iWidth, iHeight));
    return tLevel;
}

void WriteTextures()
{
    for (const char* pFile : {"Textures/level_1.tga", "Textures/frontend.tga",
                              "Textures/Fonts/Boughfall_0.tga", "Icons/boughfall_128.tga"})
    {
        CopyData("tga", pFile);
    }
    const CImageRGBA tCrop16 = AtlasCrop(16, 16);
    Write("tga", "crop_16x16.tga", IMG_EncodeTGA(tCrop16));
    Write("tga", "crop_5x3.tga", IMG_EncodeTGA(AtlasCrop(5, 3)));
    Write("tga", "crop_16x16_rle.tga", EncodeRunLengthTGA(tCrop16));

    CopyData("pvr", "Textures/Kettle.pvr");
    CopyData("pvr", "Data/Textures/mental.pvr");
    const Bytes tBlocks = PVRTC_Encode4bpp(tCrop16);
    Write("pvr", "crop_16x16_pvrtc4.pvr", IMG_EncodePVRTC4(16, 16, tBlocks));
    Write("pvr", "crop_4x4_rgba.pvr", IMG_EncodePVRRGBA8888(AtlasCrop(4, 4)));

    Write("pvrtc", "crop_16x16_4bpp", PVRTCLevel(false, 16, 16, tBlocks.data()));
    Write("pvrtc", "crop_as_2bpp", PVRTCLevel(true, 16, 8, tBlocks.data()));
    const Bytes tKettle = DataFile("Textures/Kettle.pvr");
    BF_ASSERT(ASSERT_FILE, tKettle.size() >= PVR_HEADER_BYTES + 2048);
    Write("pvrtc", "kettle_64x64_4bpp", PVRTCLevel(false, 64, 64, &tKettle[PVR_HEADER_BYTES]));
}

void WriteSounds()
{
    CopyData("font", "Fonts/Boughfall.fnt");
    for (const auto& tEntry : fs::directory_iterator(fs::path(FUZZ_DataFolder()) / "SFX"))
    {
        CopyData("ogg", "SFX/" + tEntry.path().filename().string());
    }
    CopyData("mp3probe", "Music/BoughfallTheme.mp3");
    Bytes tTheme = DataFile("Music/BoughfallTheme.mp3");
    tTheme.resize(std::min<size_t>(tTheme.size(), 4096));
    Write("mp3probe", "theme_start.mp3", tTheme);
}

// Saved games as the game writes them: a level in play for a while, saved.
void WriteSavedGames()
{
    FUZZ_OpenEngine("bf_fuzz_seeds");
    const std::string strSave = std::string(FUZZ_ScratchFolder()) + "/gamesave.dat";
    RAND_Seed(7);
    CLevel tLevel(0);
    tLevel.iMode = LEVEL_PLAYING;
    int iSaved = 0;
    for (int iSeconds = 1; iSeconds <= 30; ++iSeconds)
    {
        for (int iFrame = 0; iFrame < 60; ++iFrame)
        {
            tLevel.Update(1.0f / 60.0f);
        }
        FUZZ_DrawLevel(&tLevel);
        if ((iSeconds == 10 || iSeconds == 30) && tLevel.Save())
        {
            Write("savegame", "played_" + std::to_string(iSeconds) + "s.dat",
                  FILE_ReadAll(strSave.c_str()));
            ++iSaved;
        }
    }
    BF_ASSERT(ASSERT_FILE, iSaved > 0);

    SCORE_Write(1234, false);
    const std::string strScore = std::string(FUZZ_ScratchFolder()) + "/score.dat";
    Write("highscore", "score_1234.dat", FILE_ReadAll(strScore.c_str()));
    SCORE_Write(-40, true);
    Write("highscore", "score_negative_submitted.dat", FILE_ReadAll(strScore.c_str()));
}

void WriteTexts()
{
    const std::string strSettings = std::string(FUZZ_ScratchFolder()) + "/settings.ini";
    SETTINGS_Load(strSettings.c_str());
    SETTINGS_SetMusicEnabled(false);
    SETTINGS_SetWindowSize(960, 640);
    Write("settings", "music_off_window.ini", FILE_ReadAll(strSettings.c_str()));
    SETTINGS_SetEffectsEnabled(false);
    SETTINGS_SetFullscreen(true);
    Write("settings", "fullscreen_quiet.ini", FILE_ReadAll(strSettings.c_str()));

    const std::string strScript =
        "# every kind of step\n"
        "0 seed 1234\n0 clock fixed\n0 frames unpaced\n"
        "1 down 240 160\n2 move 250 150\n3 up 250 150\n"
        "4 key left down\n5 key left up\n5 key p down\n6 focus out\n6 focus in\n"
        "7 shot shot.png\n7 quit\n";
    Write("script", "every_step.txt", Bytes(strScript.begin(), strScript.end()));
    // A recording as --record writes one: the seed, a start file, each frame's dt and tilt
    // when they change, the touches and the quit.
    const std::string strRecording =
        "0 seed 77\n0 file score.dat 9\n0 bytes 424653010c000000\n0 bytes 00\n"
        "0 dt 0.0166667\n0 accel 0 -1 0\n12 accel -0.25 -0.96 0\n200 down 164 158\n"
        "201 up 164 158\n305 dt 0.0171\n400 key escape down\n420 down 240 160\n"
        "421 up 240 160\n500 focus out\n500 focus in\n640 quit\n";
    Write("script", "recording.txt", Bytes(strRecording.begin(), strRecording.end()));
}

}  // namespace

int main(int iArgc, char** pArgv)
{
    if (iArgc != 2)
    {
        std::printf("usage: bf_fuzz_seeds OUTDIR\n");
        return 2;
    }
    s_tOut = pArgv[1];
    FUZZ_QuietOutput();
    WriteTextures();
    WriteSounds();
    WriteSavedGames();
    WriteTexts();
    return 0;
}
