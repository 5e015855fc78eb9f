// The texture manager: TGA and PVR files written here, read back from GL; the shared table with
// its reference counts and the default texture; malformed files.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "EngineFiles.h"
#include "FileSystem.h"
#include "TestSupport.h"
#include "Textures.h"

namespace
{

using Bytes = TestBytes;

Bytes Repeat(const Bytes& tPixel, size_t uiCount)
{
    Bytes t;
    for (size_t i = 0; i < uiCount; ++i)
    {
        t.insert(t.end(), tPixel.begin(), tPixel.end());
    }
    return t;
}

// RGBA of one level of a GL texture; its size in *pWidth, *pHeight when asked.
Bytes ReadLevel(GLuint uiTexture, int iLevel, int* pWidth = nullptr, int* pHeight = nullptr)
{
    glBindTexture(GL_TEXTURE_2D, uiTexture);
    GLint iSize[2] = {0, 0};
    glGetTexLevelParameteriv(GL_TEXTURE_2D, iLevel, GL_TEXTURE_WIDTH, &iSize[0]);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, iLevel, GL_TEXTURE_HEIGHT, &iSize[1]);
    Bytes t(static_cast<size_t>(iSize[0]) * iSize[1] * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    if (!t.empty())
    {
        glGetTexImage(GL_TEXTURE_2D, iLevel, GL_RGBA, GL_UNSIGNED_BYTE, t.data());
    }
    if (pWidth != nullptr)
    {
        *pWidth = iSize[0];
        *pHeight = iSize[1];
    }
    return t;
}

const Bytes MAGENTA = {255, 0, 255, 255};

class Textures : public testing::Test
{
protected:
    std::string strDir;

    void SetUp() override
    {
        ASSERT_TRUE(TEST_OpenGLWindow(64, 64)) << "no display";
        strDir = TEST_MakeTempDir("textures");
        for (const char* pSub : {"/Textures", "/Data", "/Data/Textures"})
        {
            ASSERT_EQ(mkdir((strDir + pSub).c_str(), 0755), 0);
        }
        FS_SetResourceDirectory(strDir.c_str());
        TEX_ResetTextures();
        // The default texture: 2 x 2 magenta, version 2 header.
        WriteTexture("../Data/Textures/mental.pvr",
                     TEST_PVRFile(52, 2, 2, PVR_RGBA_8888, 32, Repeat(MAGENTA, 4)));
    }

    void TearDown() override
    {
        for (int i = 0; i < MAX_TEXTURES; ++i)
        {
            if (TEX_GetEntry(i)->uiTextureID != 0)
            {
                glDeleteTextures(1, &TEX_GetEntry(i)->uiTextureID);
            }
        }
        TEX_ResetTextures();
    }

    void WriteTexture(const std::string& strName, const Bytes& tBytes)
    {
        ASSERT_TRUE(TEST_WriteFile(strDir + "/Textures/" + strName, tBytes));
    }

    // Loads a TGA (or a PVR) by name, which always succeeds, perhaps with the default; what
    // was printed in *pOutput.
    GLuint Load(const char* pName, std::string* pOutput, bool bPVR = false,
                unsigned int* pWidth = nullptr, PVRTextureHeader** ppHeader = nullptr)
    {
        GLuint uiTexture = 0;
        *pOutput = TEST_OutputOf(
            [&]
            {
                EXPECT_EQ(bPVR ? TEX_LoadPVRTexture(pName, &uiTexture, ppHeader)
                               : TEX_LoadTGATexture(pName, &uiTexture, pWidth, nullptr),
                          1);
            });
        return uiTexture;
    }

    bool IsDefault(GLuint uiTexture) { return ReadLevel(uiTexture, 0) == Repeat(MAGENTA, 4); }
};

}  // namespace

TEST_F(Textures, TGARawAndRunLength)
{
    // 24-bit raw, 3 x 1: file order B, G, R.
    WriteTexture("raw.tga", TEST_TGAFile(2, 24, 3, 1, {1, 2, 3, 4, 5, 6, 7, 8, 9}, 0, 5));
    std::string strOut;
    unsigned int uiWidth = 0;
    GLuint uiTexture = Load("raw", &strOut, false, &uiWidth);
    EXPECT_EQ(strOut, "");
    EXPECT_EQ(uiWidth, 3u);
    EXPECT_EQ(ReadLevel(uiTexture, 0), (Bytes{3, 2, 1, 255, 6, 5, 4, 255, 9, 8, 7, 255}));

    // 32-bit RLE, 7 x 1: 0x83 repeats one pixel 4 times, 0x02 is followed by 3 raw pixels.
    WriteTexture("rle.tga",
                 TEST_TGAFile(10, 32, 7, 1,
                              {0x83, 10, 20, 30, 40, 0x02, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
    uiTexture = Load("rle", &strOut);
    EXPECT_EQ(strOut, "");
    Bytes tExpected = Repeat({30, 20, 10, 40}, 4);
    tExpected.insert(tExpected.end(), {3, 2, 1, 4, 7, 6, 5, 8, 11, 10, 9, 12});
    EXPECT_EQ(ReadLevel(uiTexture, 0), tExpected);
}

TEST_F(Textures, UnsupportedTGAsGiveTheirMessageAndTheDefault)
{
    const struct
    {
        const char* pName;
        Bytes tFile;
        const char* pMessage;
    } tCases[] = {
        {"palette", TEST_TGAFile(1, 8, 1, 1, {0}, 1),
         "Palletized TGA files are not currently supported\n"},
        {"grey", TEST_TGAFile(3, 8, 1, 1, {0}),
         "TGA image type is not supported - currently supported formats are RGB and RGB RLE\n"},
        {"sixteen", TEST_TGAFile(2, 16, 1, 1, {0, 0}),
         "TGA bit depth not supported - currently supported bit depths are 24 (RGB) and 32 "
         "(RGBA)\n"},
        // Malformed: a run past the last pixel (a 1 x 1 picture and a run of 128 is checked
        // under the sanitizers for writes past the pixels), short raw and RLE data, short header.
        {"overrun", TEST_TGAFile(10, 24, 2, 1, {0x82, 1, 2, 3}),
         "TGA run-length packet runs past the last pixel\n"},
        {"run", TEST_TGAFile(10, 32, 1, 1, {0xFF, 1, 2, 3, 4}),
         "TGA run-length packet runs past the last pixel\n"},
        {"shortraw", TEST_TGAFile(2, 32, 2, 2, Bytes(15, 7)), "TGA pixel data ends early\n"},
        {"shortrle", TEST_TGAFile(10, 24, 4, 1, {0x03, 1, 2, 3, 4, 5}),
         "TGA pixel data ends early\n"},
        {"header", Bytes{0, 0, 2, 0}, "TGA header is truncated\n"},
        {"nodata", TEST_TGAFile(2, 24, 1, 1, {}), "TGA pixel data ends early\n"},
    };
    for (const auto& tCase : tCases)
    {
        WriteTexture(std::string(tCase.pName) + ".tga", tCase.tFile);
        std::string strOut;
        unsigned int uiWidth = 99;
        const GLuint uiTexture = Load(tCase.pName, &strOut, false, &uiWidth);
        EXPECT_EQ(strOut, std::string(tCase.pMessage) + "Failed to load texture: Textures/" +
                              tCase.pName + ".tga\n");
        EXPECT_TRUE(IsDefault(uiTexture)) << tCase.pName;
        EXPECT_EQ(uiWidth, 0u);
        EXPECT_NE(TEX_GetEntry(TEX_FindTexture(tCase.pName))->tHeader.magic, 0u);
    }
}

TEST_F(Textures, PVRHeadersAndLevels)
{
    std::string strOut;
    // Version 1, no cube map: one surface.
    WriteTexture("v1.pvr", TEST_PVRFile(44, 2, 1, PVR_RGBA_8888, 32, {1, 2, 3, 4, 5, 6, 7, 8}));
    PVRTextureHeader* pHeader = nullptr;
    GLuint uiTexture = Load("v1", &strOut, true, nullptr, &pHeader);
    EXPECT_EQ(ReadLevel(uiTexture, 0), (Bytes{1, 2, 3, 4, 5, 6, 7, 8}));
    ASSERT_NE(pHeader, nullptr);
    EXPECT_EQ(pHeader->numSurfaces, 1u);

    // Version 2 with numSurfaces 0; RGB 565 (red).
    WriteTexture("v2.pvr", TEST_PVRFile(52, 1, 1, PVR_RGB_565, 16, {0x00, 0xF8}));
    uiTexture = Load("v2", &strOut, true, nullptr, &pHeader);
    EXPECT_EQ(ReadLevel(uiTexture, 0), (Bytes{255, 0, 0, 255}));
    EXPECT_EQ(pHeader->numSurfaces, 1u);

    // Mip-mapped RGBA: 4 x 2, 2 x 1, 1 x 1.
    Bytes tData = Repeat({10, 10, 10, 255}, 8);
    const Bytes tLevel1 = Repeat({20, 20, 20, 255}, 2);
    tData.insert(tData.end(), tLevel1.begin(), tLevel1.end());
    tData.insert(tData.end(), {30, 30, 30, 255});
    WriteTexture("mips.pvr",
                 TEST_PVRFile(52, 4, 2, PVR_RGBA_8888 | PVR_FLAG_MIPMAPS, 32, tData, 2, 1));
    uiTexture = Load("mips", &strOut, true);
    int iWidth = 0;
    int iHeight = 0;
    EXPECT_EQ(ReadLevel(uiTexture, 1, &iWidth, &iHeight), tLevel1);
    EXPECT_EQ(iWidth, 2);
    EXPECT_EQ(iHeight, 1);
    EXPECT_EQ(ReadLevel(uiTexture, 2), (Bytes{30, 30, 30, 255}));

    // PVRTC 4 bpp, 4 x 4 (32 bytes, a 2 x 2 grid) of all-white blocks, decoded in software.
    WriteTexture("pvrtc.pvr", TEST_PVRFile(52, 4, 4, PVR_PVRTC_4 | PVR_FLAG_TWIDDLED, 4,
                                           Repeat({0, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF}, 4)));
    uiTexture = Load("pvrtc", &strOut, true);
    EXPECT_EQ(strOut, "");
    EXPECT_EQ(ReadLevel(uiTexture, 0), Repeat({255, 255, 255, 255}, 16));
}

TEST_F(Textures, MalformedPVRFilesFailAndGiveTheDefault)
{
    const Bytes tWhite = {0, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF};
    const struct
    {
        const char* pName;
        Bytes tFile;
        const char* pReason;
    } tCases[] = {
        {"short", TEST_PVRFile(52, 4, 4, PVR_RGBA_8888, 32, Bytes(60)), "level 0"},
        {"shortmip", TEST_PVRFile(52, 2, 2, PVR_RGBA_8888 | PVR_FLAG_MIPMAPS, 32, Bytes(19), 1),
         "level 1"},
        // The bit count says 8 bits, but GL reads 4 bytes a pixel.
        {"bitcount", TEST_PVRFile(52, 2, 2, PVR_RGBA_8888, 8, Bytes(4)), "level 0"},
        {"pvrtcshort", TEST_PVRFile(52, 8, 8, PVR_PVRTC_4, 4, Repeat(tWhite, 3)), "level 0"},
        {"grid", TEST_PVRFile(52, 12, 8, PVR_PVRTC_4, 4, Repeat(tWhite, 6)), "power of two"},
        {"headersize", TEST_PVRFile(48, 1, 1, PVR_RGBA_8888, 32, Bytes(8)), "header size"},
        {"rgb555", TEST_PVRFile(52, 1, 1, PVR_RGB_555, 16, Bytes(2)), "pixel type 0x14"},
        {"bgra", TEST_PVRFile(52, 1, 1, PVR_BGRA_8888, 32, Bytes(4)), "pixel type 0x1A"},
        {"twiddled", TEST_PVRFile(52, 1, 1, PVR_RGBA_8888 | PVR_FLAG_TWIDDLED, 32, Bytes(4)),
         "twiddled"},
        {"cube", TEST_PVRFile(44, 1, 1, PVR_RGBA_8888 | PVR_FLAG_CUBE_MAP, 32, Bytes(24)), "cube"},
        {"tiny", Bytes(20), "shorter than a PVR header"},
        {"huge", TEST_PVRFile(52, 1u << 20, 1, PVR_RGBA_8888, 32, Bytes(4)), "out of range"},
    };
    for (const auto& tCase : tCases)
    {
        GLuint uiTexture = 77;
        EXPECT_EQ(LoadPVRTextureData(tCase.tFile.data(), tCase.tFile.size(), &uiTexture, nullptr),
                  0)
            << tCase.pName;
        EXPECT_EQ(uiTexture, 0u);
        EXPECT_NE(std::strstr(TEX_LastLoadError(), tCase.pReason), nullptr)
            << tCase.pName << ": " << TEX_LastLoadError();

        WriteTexture(std::string(tCase.pName) + ".pvr", tCase.tFile);
        std::string strOut;
        uiTexture = Load(tCase.pName, &strOut, true);
        EXPECT_EQ(strOut,
                  "Failed to load texture: " + strDir + "/Textures/" + tCase.pName + ".pvr\n");
        EXPECT_TRUE(IsDefault(uiTexture)) << tCase.pName;
        TEX_ReleaseTexture(uiTexture);
    }
}

TEST_F(Textures, SharedRecordsAndReleases)
{
    WriteTexture("leaf.pvr", TEST_PVRFile(52, 1, 1, PVR_RGBA_8888, 32, {1, 2, 3, 4}));
    std::string strOut;
    const GLuint uiFirst = Load("leaf", &strOut, true);
    EXPECT_EQ(Load("leaf", &strOut, true), uiFirst);
    const int iIndex = TEX_FindTexture("leaf");
    ASSERT_EQ(iIndex, 0);
    EXPECT_EQ(TEX_GetEntry(iIndex)->iRefCount, 2);
    TEX_ReleaseTexture(uiFirst);
    EXPECT_TRUE(glIsTexture(uiFirst));
    TEX_ReleaseTexture(uiFirst);
    EXPECT_EQ(TEX_FindTexture("leaf"), -1);
    EXPECT_EQ(TEX_GetEntry(iIndex)->uiTextureID, 0u);
    EXPECT_FALSE(glIsTexture(uiFirst));
    TEX_ReleaseTexture(12345);  // unknown: ignored
    TEX_RetainTexture(12345);

    // A missing texture reports once and resolves to the default afterwards.
    const GLuint uiMissing = Load("nothing", &strOut, true);
    EXPECT_EQ(strOut, "Failed to load texture: " + strDir + "/Textures/nothing.pvr\n");
    EXPECT_TRUE(IsDefault(uiMissing));
    EXPECT_EQ(Load("nothing", &strOut, true), uiMissing);
    EXPECT_EQ(strOut, "");
}

TEST_F(Textures, FullTableAndLongNamesAreRefused)
{
    std::string strOut;
    for (int i = 0; i < MAX_TEXTURES; ++i)
    {
        Load(("missing" + std::to_string(i)).c_str(), &strOut, true);
    }
    GLuint uiTexture = 5;
    EXPECT_EQ(TEST_OutputOf(
                  [&]
                  {
                      EXPECT_EQ(TEX_LoadPVRTexture("one-more", &uiTexture, nullptr), 0);
                      EXPECT_EQ(TEX_LoadTGATexture("one-more", &uiTexture, nullptr, nullptr), 0);
                  }),
              "Texture table full (MAX_TEXTURES 32 hit), cannot load: one-more\n"
              "Texture table full (MAX_TEXTURES 32 hit), cannot load: one-more\n");
    EXPECT_EQ(uiTexture, 5u);
    Load("missing3", &strOut, true);  // a loaded name is still shared
    EXPECT_EQ(strOut, "");
    TearDown();

    const std::string strLong(64, 'n');
    EXPECT_EQ(TEST_OutputOf(
                  [&] { EXPECT_EQ(TEX_LoadPVRTexture(strLong.c_str(), &uiTexture, nullptr), 0); }),
              "Texture name too long (63 characters at most): " + strLong + "\n");
    Load(strLong.substr(1).c_str(), &strOut, true);  // 63 characters fit
    EXPECT_EQ(TEX_FindTexture(strLong.substr(1).c_str()), 0);
}

TEST_F(Textures, WithoutTheDefaultTheLoadFails)
{
    ASSERT_EQ(std::remove((strDir + "/Data/Textures/mental.pvr").c_str()), 0);
    GLuint uiTexture = 0;
    EXPECT_EQ(TEST_OutputOf(
                  [&] { EXPECT_EQ(TEX_LoadTGATexture("gone", &uiTexture, nullptr, nullptr), 0); }),
              "Error - File not found: Textures/gone.tga\n"
              "Failed to load texture: Textures/gone.tga\n"
              "Unfortunately also failed to load the default texture.\n");
    EXPECT_EQ(TEX_FindTexture("gone"), -1);
    EXPECT_EQ(TEX_GetEntry(0)->uiTextureID, 0u);
}

TEST(TextureExtensions, WholeWordsOnly)
{
    const char* pList =
        "GL_A GL_IMG_texture_compression_pvrtc2 GL_B GL_IMG_texture_compression_pvrtc";
    EXPECT_TRUE(TEX_HasExtension(pList, "GL_IMG_texture_compression_pvrtc"));
    EXPECT_TRUE(TEX_HasExtension(pList, "GL_A"));
    EXPECT_TRUE(TEX_HasExtension(pList, "GL_B"));
    EXPECT_FALSE(
        TEX_HasExtension("GL_IMG_texture_compression_pvrtc2", "GL_IMG_texture_compression_pvrtc"));
    EXPECT_FALSE(TEX_HasExtension("XGL_A", "GL_A"));
    EXPECT_FALSE(TEX_HasExtension(pList, "GL_A GL_B"));
    EXPECT_FALSE(TEX_HasExtension(pList, ""));
    EXPECT_FALSE(TEX_HasExtension(nullptr, "GL_A"));
}
