// bftool texture FILE.pvr|FILE.tga OUT.png: loads a texture the way the game does, reads level 0
// back from GL and writes it as a PNG (the picture's first row at the bottom, as GL keeps it).
// The PNG shows what the game samples: an intensity texture is grey (L, L, L, 1) and an
// intensity-alpha one (L, L, L, A).

#include <strings.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "BFTool.h"
#include "FileSystem.h"
#include "PngFile.h"
#include "Textures.h"

namespace
{

bool HasExtension(const char* pPath, const char* pExtension)
{
    const size_t uiLength = std::strlen(pPath);
    const size_t uiExtension = std::strlen(pExtension);
    return uiLength > uiExtension && strcasecmp(pPath + uiLength - uiExtension, pExtension) == 0;
}

const char* PVRTypeName(std::uint32_t uiType)
{
    switch (uiType)
    {
        case PVR_RGBA_4444:
            return "RGBA 4444";
        case PVR_RGBA_5551:
            return "RGBA 5551";
        case PVR_RGBA_8888:
            return "RGBA 8888";
        case PVR_RGB_565:
            return "RGB 565";
        case PVR_RGB_888:
            return "RGB 888";
        case PVR_I_8:
            return "intensity 8";
        case PVR_AI_88:
            return "alpha-intensity 88";
        case PVR_PVRTC_2:
            return "PVRTC 2 bpp";
        case PVR_PVRTC_4:
            return "PVRTC 4 bpp";
        case PVR_BGRA_8888:
            return "BGRA 8888";
        default:
            return "unknown";
    }
}

// "TGA 24-bit" or "TGA 32-bit RLE", from the file's own header.
std::string TGATypeName(const char* pPath)
{
    unsigned char tHeader[18] = {};
    FILE* pFile = std::fopen(pPath, "rb");
    if (pFile != nullptr)
    {
        if (std::fread(tHeader, 1, sizeof(tHeader), pFile) != sizeof(tHeader))
        {
            tHeader[16] = 0;
        }
        std::fclose(pFile);
    }
    return "TGA " + std::to_string(tHeader[16]) + "-bit" + (tHeader[2] == 10 ? " RLE" : "");
}

bool IsLuminance(GLint iInternalFormat)
{
    switch (iInternalFormat)
    {
        case GL_LUMINANCE:
        case GL_LUMINANCE8:
        case GL_LUMINANCE_ALPHA:
        case GL_LUMINANCE8_ALPHA8:
            return true;
        default:
            return false;
    }
}

// Level 0 of the bound texture as RGBA. Read back as RGBA, GL gives a luminance texture as
// (L, 0, 0, 1): such a texture is read as luminance-alpha pairs and spread to grey instead.
std::vector<std::uint8_t> ReadLevel0(int iWidth, int iHeight)
{
    const size_t uiPixels = static_cast<size_t>(iWidth) * iHeight;
    std::vector<std::uint8_t> tPixels(uiPixels * 4);
    GLint iInternalFormat = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &iInternalFormat);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    if (!IsLuminance(iInternalFormat))
    {
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, tPixels.data());
        return tPixels;
    }
    std::vector<std::uint8_t> tPairs(uiPixels * 2);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_LUMINANCE_ALPHA, GL_UNSIGNED_BYTE, tPairs.data());
    for (size_t i = 0; i < uiPixels; ++i)
    {
        tPixels[i * 4 + 0] = tPixels[i * 4 + 1] = tPixels[i * 4 + 2] = tPairs[i * 2];
        tPixels[i * 4 + 3] = tPairs[i * 2 + 1];
    }
    return tPixels;
}

}  // namespace

int BFTOOL_Texture(int argc, char** argv)
{
    if (argc != 3)
    {
        std::fprintf(stderr, "usage: bftool texture FILE.pvr|FILE.tga OUT.png\n");
        return 2;
    }
    const char* pPath = argv[1];
    const char* pOut = argv[2];
    const bool bPVR = HasExtension(pPath, ".pvr");
    if (!bPVR && !HasExtension(pPath, ".tga"))
    {
        std::printf("bftool: %s: not a .pvr or .tga file\n", pPath);
        return 1;
    }
    if (access(pPath, R_OK) != 0)
    {
        std::printf("bftool: %s: cannot open the file\n", pPath);
        return 1;
    }
    if (!BFTOOL_OpenHiddenGL())
    {
        return 1;
    }

    GLuint uiTexture = 0;
    std::string strType;
    int iLevels = 1;
    BFTOOL_MuteOutput();
    bool bLoaded;
    if (bPVR)
    {
        PVRTextureHeader tHeader;
        bLoaded = LoadPVRTextureFile(pPath, &uiTexture, &tHeader) != 0;
        if (bLoaded)
        {
            const std::uint32_t uiType = tHeader.flags & 0xFF;
            strType = PVRTypeName(uiType);
            if (uiType == PVR_PVRTC_2 || uiType == PVR_PVRTC_4)
            {
                strType += tHeader.alphaMask != 0 ? " with alpha" : " opaque";
                strType +=
                    TEX_HasExtension(reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS)),
                                     "GL_IMG_texture_compression_pvrtc")
                        ? " (uploaded compressed)"
                        : " (decoded in software)";
            }
            iLevels =
                (tHeader.flags & PVR_FLAG_MIPMAPS) ? static_cast<int>(tHeader.mipMapCount) + 1 : 1;
        }
    }
    else
    {
        // The loader opens paths under the resource directory: make that the file's folder.
        const std::string strPath = pPath;
        const size_t uiSlash = strPath.rfind('/');
        const std::string strFolder =
            uiSlash == std::string::npos ? "." : strPath.substr(0, uiSlash);
        const std::string strName =
            uiSlash == std::string::npos ? strPath : strPath.substr(uiSlash + 1);
        FS_SetResourceDirectory(strFolder.c_str());
        unsigned int uiWidth = 0;
        unsigned int uiHeight = 0;
        bLoaded = LoadTGAFile(strName.c_str(), &uiTexture, &uiWidth, &uiHeight) != 0;
        strType = TGATypeName(pPath);
    }
    BFTOOL_RestoreOutput();
    if (!bLoaded)
    {
        std::printf("bftool: %s: %s\n", pPath, TEX_LastLoadError());
        return 1;
    }

    glBindTexture(GL_TEXTURE_2D, uiTexture);
    GLint iWidth = 0;
    GLint iHeight = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &iWidth);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &iHeight);
    const std::vector<std::uint8_t> tPixels = ReadLevel0(iWidth, iHeight);
    std::printf("%s: %d x %d, %s, %d level%s\n", pPath, iWidth, iHeight, strType.c_str(), iLevels,
                iLevels == 1 ? "" : "s");
    if (!PNG_WriteRGBA(pOut, iWidth, iHeight, tPixels.data(), true))
    {
        return 1;
    }
    glDeleteTextures(1, &uiTexture);
    return 0;
}
