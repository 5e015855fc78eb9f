// bf_assetgen: writes the game's whole resource tree (textures, font, sound effects, music, the
// window's icon) from source, the same bytes on every run, and the desktop's icons.
//
//   bf_assetgen <data folder> [--previews <folder>] [--icons <folder>]
//               [--font <DejaVuSans-Bold.ttf>]
//
// --icons writes boughfall_<size>.png for every installed icon size, and the web app's two,
// into the folder.
// Prints one line per file written: size, FNV-1a 64 checksum and path.

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "AtlasLayout.h"
#include "FontBaker.h"
#include "FrontEndArt.h"
#include "Icon.h"
#include "ImageFile.h"
#include "LevelAtlas.h"
#include "Mp3Writer.h"
#include "Music.h"
#include "Paint.h"
#include "Previews.h"
#include "PvrtcEncoder.h"
#include "SoundEffects.h"

namespace
{
// DejaVu Sans Bold at 22 pixels gives a line of 31 pixels with the outline.
constexpr int FONT_PIXEL_SIZE = 22;

std::string s_strDataDir;
int s_iFailures = 0;

std::uint64_t Fnv1a64(const std::vector<std::uint8_t>& tBytes)
{
    std::uint64_t uiHash = 14695981039346656037ull;
    for (std::uint8_t uiByte : tBytes)
    {
        uiHash = (uiHash ^ uiByte) * 1099511628211ull;
    }
    return uiHash;
}

void Emit(const char* pRelativePath, const std::vector<std::uint8_t>& tBytes)
{
    const std::string strPath = s_strDataDir + "/" + pRelativePath;
    if (tBytes.empty() || !IMG_WriteFile(strPath, tBytes))
    {
        std::printf("assetgen: FAILED %s\n", pRelativePath);
        ++s_iFailures;
        return;
    }
    std::printf("%9zu  %016llx  %s\n", tBytes.size(),
                static_cast<unsigned long long>(Fnv1a64(tBytes)), pRelativePath);
}

void Usage()
{
    std::printf(
        "usage: bf_assetgen <data folder> [--previews <folder>] [--icons <folder>] "
        "[--font <ttf>]\n");
}
}  // namespace

int main(int iArgc, char** pArgv)
{
    std::string strPreviewDir;
    std::string strIconDir;
    for (int i = 1; i < iArgc; ++i)
    {
        if (std::strcmp(pArgv[i], "--previews") == 0 && i + 1 < iArgc)
        {
            strPreviewDir = pArgv[++i];
        }
        else if (std::strcmp(pArgv[i], "--icons") == 0 && i + 1 < iArgc)
        {
            strIconDir = pArgv[++i];
        }
        else if (std::strcmp(pArgv[i], "--font") == 0 && i + 1 < iArgc)
        {
            PAINT_SetFontPath(pArgv[++i]);
        }
        else if (pArgv[i][0] != '-' && s_strDataDir.empty())
        {
            s_strDataDir = pArgv[i];
        }
        else
        {
            Usage();
            return 2;
        }
    }
    if (s_strDataDir.empty())
    {
        Usage();
        return 2;
    }
    const auto tStart = std::chrono::steady_clock::now();

    const CImageRGBA tLevel = LEVEL_PaintAtlas();
    Emit("Textures/level_1.tga", IMG_EncodeTGA(tLevel));
    const CImageRGBA tFront = FRONT_PaintAtlas();
    Emit("Textures/frontend.tga", IMG_EncodeTGA(tFront));
    // The splash is uploaded in file order and shown from v = 1 down, so its rows are stored
    // bottom first, like the TGA atlases.
    const CImageRGBA tSplash = FRONT_PaintSplash();
    const std::vector<std::uint8_t> tSplashBlocks = PVRTC_Encode4bpp(IMG_FlipVertical(tSplash));
    Emit("Textures/Kettle.pvr", IMG_EncodePVRTC4(SPLASH_SIZE, SPLASH_SIZE, tSplashBlocks));
    // The default texture lives in Data/Textures inside the resource folder.
    Emit("Data/Textures/mental.pvr", IMG_EncodePVRRGBA8888(FRONT_PaintMissingTexture()));

    // The font's page is named in the font file and read from Textures/Fonts.
    sBakedFont tFont;
    if (FONT_Bake(PAINT_FontPath(), FONT_PIXEL_SIZE, "Boughfall_0.tga", tFont))
    {
        Emit("Fonts/Boughfall.fnt", tFont.tFontFile);
        Emit("Textures/Fonts/Boughfall_0.tga", IMG_EncodeTGA(tFont.tPage));
    }
    else
    {
        ++s_iFailures;
    }

    std::vector<std::vector<float>> tEffects;
    std::vector<std::string> tEffectNames;
    for (int i = 0; i < SFX_COUNT; ++i)
    {
        tEffects.push_back(SFX_Make(i));
        tEffectNames.push_back(SFX_NAMES[i]);
        const std::string strPath = std::string("SFX/") + SFX_NAMES[i] + ".ogg";
        Emit(strPath.c_str(), SFX_Encode(i, tEffects.back()));
    }
    const std::vector<float> tMusic = MUSIC_Render();
    Emit("Music/BoughfallTheme.mp3",
         MP3_EncodeLoop(tMusic, 2, MUSIC_RATE, MUSIC_LEAD_IN, "Boughfall Theme", "Kettle Games"));

    // The window's icon is read by the game's own TGA reader (rows stored bottom first).
    Emit("Icons/boughfall_128.tga", IMG_EncodeTGA(ICON_Paint(ICON_WINDOW_SIZE)));
    static_assert(ICON_WINDOW_SIZE == 128, "the window icon's file name gives its size");
    std::vector<int> tIconSizes(std::begin(ICON_SIZES), std::end(ICON_SIZES));
    tIconSizes.insert(tIconSizes.end(), std::begin(ICON_WEB_SIZES), std::end(ICON_WEB_SIZES));
    for (int iSize : tIconSizes)
    {
        const std::string strPath = strIconDir + "/boughfall_" + std::to_string(iSize) + ".png";
        if (!strIconDir.empty() && !PREVIEW_WritePNG(strPath, ICON_Paint(iSize)))
        {
            std::printf("assetgen: FAILED %s\n", strPath.c_str());
            ++s_iFailures;
        }
    }

    if (!strPreviewDir.empty())
    {
        PREVIEW_WritePNG(strPreviewDir + "/level_1.png", tLevel);
        PREVIEW_WritePommoSheet(strPreviewDir + "/pommos.png", tLevel);
        PREVIEW_WriteMockLevel(strPreviewDir + "/mock_level.png", tLevel);
        PREVIEW_WritePNG(strPreviewDir + "/frontend.png", tFront);
        // What the game shows of the splash after compression.
        PREVIEW_WritePNG(
            strPreviewDir + "/kettle_pvrtc.png",
            IMG_FlipVertical(PVRTC_Decode4bpp(tSplashBlocks, SPLASH_SIZE, SPLASH_SIZE)));
        PREVIEW_WriteMockTitle(strPreviewDir + "/mock_title.png", tFront);
        PREVIEW_WritePNG(strPreviewDir + "/font_page.png", tFont.tPage);
        PREVIEW_WritePNG(strPreviewDir + "/font_sample.png", FONT_Sample(tFont));
        PREVIEW_WriteSoundSheet(strPreviewDir + "/sounds.png", tEffects, tEffectNames, SFX_RATE);
        // Three stretches of the tune (left channel): the start, the middle, the loop's end.
        std::vector<std::vector<float>> tSlices;
        const std::vector<std::string> tSliceNames = {"0 s", "16 s", "29.5 s"};
        for (double dStart : {0.0, 16.0, 29.5})
        {
            std::vector<float> tSlice;
            for (long i = long(dStart * MUSIC_RATE); i < long((dStart + 2.5) * MUSIC_RATE); ++i)
            {
                if (std::size_t(i) * 2 < tMusic.size())
                {
                    tSlice.push_back(tMusic[std::size_t(i) * 2]);
                }
            }
            tSlices.push_back(tSlice);
        }
        PREVIEW_WriteSoundSheet(strPreviewDir + "/music.png", tSlices, tSliceNames, MUSIC_RATE);
    }
    const double dSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - tStart).count();
    std::printf("assetgen: %s in %.2f s\n", s_iFailures == 0 ? "done" : "FAILED", dSeconds);
    return s_iFailures == 0 ? 0 : 1;
}
