#include "PngFile.h"

#include <png.h>

#include <cstdio>
#include <utility>
#include <vector>

bool PNG_WriteRGBA(const char* pPath, int iWidth, int iHeight, const std::uint8_t* pPixels,
                   bool bBottomUp)
{
    if (pPath == nullptr || pPixels == nullptr || iWidth <= 0 || iHeight <= 0)
    {
        std::printf("PNG: nothing to write to %s\n", pPath != nullptr ? pPath : "(null)");
        return false;
    }
    FILE* pFile = std::fopen(pPath, "wb");
    if (pFile == nullptr)
    {
        std::printf("PNG: cannot open %s for writing\n", pPath);
        return false;
    }
    png_structp pPng = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop pInfo = pPng != nullptr ? png_create_info_struct(pPng) : nullptr;
    if (pPng == nullptr || pInfo == nullptr || setjmp(png_jmpbuf(pPng)) != 0)
    {
        png_destroy_write_struct(&pPng, &pInfo);
        std::fclose(pFile);
        std::printf("PNG: cannot write %s\n", pPath);
        return false;
    }
    png_init_io(pPng, pFile);
    png_set_IHDR(pPng, pInfo, static_cast<png_uint_32>(iWidth), static_cast<png_uint_32>(iHeight),
                 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(pPng, pInfo);
    std::vector<png_bytep> tRows(static_cast<size_t>(iHeight));
    for (int y = 0; y < iHeight; ++y)
    {
        const int iSourceRow = bBottomUp ? iHeight - 1 - y : y;
        tRows[static_cast<size_t>(y)] = const_cast<png_bytep>(
            pPixels + static_cast<size_t>(iSourceRow) * static_cast<size_t>(iWidth) * 4);
    }
    png_write_image(pPng, tRows.data());
    png_write_end(pPng, nullptr);
    png_destroy_write_struct(&pPng, &pInfo);
    const bool bClosed = std::fclose(pFile) == 0;
    if (!bClosed)
    {
        std::printf("PNG: cannot finish %s\n", pPath);
    }
    return bClosed;
}

bool PNG_ReadRGBA(const char* pPath, int* pWidth, int* pHeight, std::vector<std::uint8_t>* pPixels)
{
    *pWidth = 0;
    *pHeight = 0;
    pPixels->clear();
    png_image tImage{};
    tImage.version = PNG_IMAGE_VERSION;
    if (pPath == nullptr || png_image_begin_read_from_file(&tImage, pPath) == 0)
    {
        std::printf("PNG: cannot read %s\n", pPath != nullptr ? pPath : "(null)");
        return false;
    }
    tImage.format = PNG_FORMAT_RGBA;
    std::vector<std::uint8_t> tPixels(PNG_IMAGE_SIZE(tImage));
    if (png_image_finish_read(&tImage, nullptr, tPixels.data(), 0, nullptr) == 0)
    {
        std::printf("PNG: cannot decode %s: %s\n", pPath, tImage.message);
        png_image_free(&tImage);
        return false;
    }
    *pWidth = static_cast<int>(tImage.width);
    *pHeight = static_cast<int>(tImage.height);
    *pPixels = std::move(tPixels);
    return true;
}
