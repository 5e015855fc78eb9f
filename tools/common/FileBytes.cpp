#include "FileBytes.h"

#include <cstdio>

std::vector<std::uint8_t> FILE_ReadAll(const char* pPath)
{
    std::vector<std::uint8_t> tBytes;
    FILE* pFile = pPath != nullptr ? std::fopen(pPath, "rb") : nullptr;
    if (pFile == nullptr)
    {
        return tBytes;
    }
    std::uint8_t tChunk[65536];
    size_t uiRead;
    while ((uiRead = std::fread(tChunk, 1, sizeof(tChunk), pFile)) > 0)
    {
        tBytes.insert(tBytes.end(), tChunk, tChunk + uiRead);
    }
    std::fclose(pFile);
    return tBytes;
}
