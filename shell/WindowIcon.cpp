#include "WindowIcon.h"

#include <cstdio>
#include <cstring>

#include "Host.h"
#include "TGAFile.h"

namespace
{
constexpr const char* ICON_FILE = "Data/Icons/boughfall_128.tga";
}  // namespace

bool SHELL_LoadWindowIcon()
{
    char strBundle[1024];
    HostBundleDirectory(strBundle, sizeof(strBundle));
    char strPath[1024 + 64];
    std::snprintf(strPath, sizeof(strPath), "%s/%s", strBundle, ICON_FILE);
    FILE* pFile = HostFileOpen(strPath, "rb");
    if (pFile == nullptr)
    {
        std::printf("Window icon not found: %s\n", strPath);
        return false;
    }
    TGAPixels tImage{};
    const bool bRead = TGA_ReadPixels(pFile, &tImage);
    HostFileClose(pFile);
    if (!bRead)
    {
        return false;  // the reader has said why
    }
    bool bSet = false;
    if (tImage.iBytesPerPixel == 4 && tImage.iWidth <= HOST_MAX_ICON_SIZE &&
        tImage.iHeight <= HOST_MAX_ICON_SIZE)
    {
        // The file keeps its bottom row first; the host wants the top row first.
        static unsigned char s_tRows[HOST_MAX_ICON_SIZE * HOST_MAX_ICON_SIZE * 4];
        const size_t uiRow = static_cast<size_t>(tImage.iWidth) * 4;
        for (int iY = 0; iY < tImage.iHeight; ++iY)
        {
            std::memcpy(s_tRows + uiRow * iY, tImage.pPixels + uiRow * (tImage.iHeight - 1 - iY),
                        uiRow);
        }
        bSet = HostSetWindowIcon(s_tRows, tImage.iWidth, tImage.iHeight);
    }
    if (!bSet)
    {
        std::printf("Window icon is not a 32-bit picture of at most %d pixels: %s\n",
                    HOST_MAX_ICON_SIZE, strPath);
    }
    TGA_FreePixels(&tImage);
    return bSet;
}
