#include "FuzzSupport.h"

#include <ftw.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "Assert.h"
#include "FileSystem.h"
#include "Fonts.h"
#include "HiddenGL.h"
#include "Level.h"
#include "Textures.h"

namespace
{

constexpr const char* ASSERT_FILE = "fuzz/FuzzSupport";

char s_strScratch[256];

int RemoveEntry(const char* pPath, const struct stat*, int, struct FTW*)
{
    return std::remove(pPath);
}

void RemoveScratchFolder()
{
    nftw(s_strScratch, RemoveEntry, 8, FTW_DEPTH | FTW_PHYS);
}

}  // namespace

FILE* FUZZ_OpenMemory(const std::uint8_t* pData, size_t uiSize)
{
    // fmemopen refuses a buffer of no bytes: an empty input is an empty temporary file.
    FILE* pFile =
        uiSize > 0 ? fmemopen(const_cast<std::uint8_t*>(pData), uiSize, "rb") : std::tmpfile();
    BF_ASSERT(ASSERT_FILE, pFile != nullptr);
    return pFile;
}

const char* FUZZ_ScratchFolder()
{
    if (s_strScratch[0] == '\0')
    {
        const char* pTmp = std::getenv("TMPDIR");
        const char* pBase = access("/dev/shm", W_OK) == 0        ? "/dev/shm"
                            : pTmp != nullptr && pTmp[0] != '\0' ? pTmp
                                                                 : "/tmp";
        std::snprintf(s_strScratch, sizeof(s_strScratch), "%s/bf-fuzz-XXXXXX", pBase);
        BF_ASSERT(ASSERT_FILE, mkdtemp(s_strScratch) != nullptr);
        std::atexit(RemoveScratchFolder);
    }
    return s_strScratch;
}

std::string FUZZ_WriteScratchFile(const char* pName, const std::uint8_t* pData, size_t uiSize)
{
    std::string strPath = std::string(FUZZ_ScratchFolder()) + "/" + pName;
    FILE* pFile = std::fopen(strPath.c_str(), "wb");
    BF_ASSERT(ASSERT_FILE, pFile != nullptr);
    const size_t uiWritten = uiSize > 0 ? std::fwrite(pData, 1, uiSize, pFile) : 0;
    BF_ASSERT(ASSERT_FILE, std::fclose(pFile) == 0 && uiWritten == uiSize);
    return strPath;
}

const char* FUZZ_DataFolder()
{
    const char* pData = std::getenv("BF_DATA_DIR");
    return pData != nullptr && pData[0] != '\0' ? pData : BF_DATA_DIR;
}

void FUZZ_QuietOutput()
{
    const char* pVerbose = std::getenv("BF_FUZZ_VERBOSE");
    if (pVerbose == nullptr || pVerbose[0] == '\0')
    {
        BF_ASSERT(ASSERT_FILE, std::freopen("/dev/null", "w", stdout) != nullptr);
    }
}

void FUZZ_OpenEngine(const char* pTarget)
{
    static bool s_bOpen = false;
    if (s_bOpen)
    {
        return;
    }
    BF_ASSERT(ASSERT_FILE, TOOL_OpenHiddenGL(pTarget));
    FS_SetResourceDirectory(FUZZ_DataFolder());
    FS_SetSaveDirectory(FUZZ_ScratchFolder());
    TEX_ResetTextures();
    s_bOpen = true;
}

CFont* FUZZ_GameFont()
{
    static CFont* s_pFont = nullptr;
    if (s_pFont == nullptr)
    {
        s_pFont = new CFont();
        BF_ASSERT(ASSERT_FILE, s_pFont->LoadFont("Boughfall", 2048) == 1);
    }
    return s_pFont;
}

void FUZZ_DrawLevel(CLevel* pLevel)
{
    TOOL_HiddenFrameSpace();
    CFont* pFont = FUZZ_GameFont();
    pLevel->Draw(pFont);
    pFont->RenderText(true);
}
