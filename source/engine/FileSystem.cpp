#include "FileSystem.h"

#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <cstring>

#include "Assert.h"
#include "AtomicFile.h"
#include "Host.h"

namespace
{

char s_strResourceDirectory[FS_MAX_PATH];
char s_strSaveDirectory[FS_MAX_PATH];
char s_strSaveFolder[32] = "Data";
// False once the save directory could not be made: saving is skipped without a line each time.
bool s_bSaveDirectoryUsable = true;

// Copies a path into a FS_MAX_PATH buffer, cutting what does not fit.
void CopyPath(char* pDest, const char* pSource)
{
    size_t i = 0;
    for (; pSource != nullptr && pSource[i] != '\0' && i + 1 < FS_MAX_PATH; ++i)
    {
        pDest[i] = pSource[i];
    }
    pDest[i] = '\0';
}

bool JoinPath(char* pDest, size_t uiSize, const char* pDirectory, const char* pName)
{
    return FS_FormatPath(pDest, uiSize, "%s/%s", pDirectory, pName != nullptr ? pName : "");
}

}  // namespace

void FS_SetupDirectories()
{
    char strBundle[FS_MAX_PATH];
    HostBundleDirectory(strBundle, sizeof(strBundle));
    char strPath[FS_MAX_PATH + 40];  // a base, "/" and the save folder's name
    std::snprintf(strPath, sizeof(strPath), "%s/Data", strBundle);
    CopyPath(s_strResourceDirectory, strPath);

    char strBase[FS_MAX_PATH];
    const char* pDataHome = std::getenv("XDG_DATA_HOME");
    const char* pHome = std::getenv("HOME");
    if (pDataHome != nullptr && pDataHome[0] == '/')
    {
        std::snprintf(strBase, sizeof(strBase), "%s/boughfall", pDataHome);
    }
    else
    {
        std::snprintf(strBase, sizeof(strBase), "%s/.local/share/boughfall",
                      pHome != nullptr && pHome[0] != '\0' ? pHome : ".");
    }
    std::snprintf(strPath, sizeof(strPath), "%s/%s", strBase, s_strSaveFolder);
    CopyPath(s_strSaveDirectory, strPath);
    s_bSaveDirectoryUsable = HostMakeDirectories(s_strSaveDirectory, 0755);
    if (!s_bSaveDirectoryUsable)
    {
        std::printf("Cannot create the save directory %s (%s): the game will not be saved\n",
                    s_strSaveDirectory, std::strerror(errno));
    }
}

void FS_UseSaveFolder(const char* pName)
{
    std::snprintf(s_strSaveFolder, sizeof(s_strSaveFolder), "%s", pName != nullptr ? pName : "");
}

void FS_SetResourceDirectory(const char* pPath)
{
    CopyPath(s_strResourceDirectory, pPath);
}

void FS_SetSaveDirectory(const char* pPath)
{
    CopyPath(s_strSaveDirectory, pPath);
    s_bSaveDirectoryUsable = true;
}

const char* FS_ResourceDirectory()
{
    return s_strResourceDirectory;
}

const char* FS_SaveDirectory()
{
    return s_strSaveDirectory;
}

bool FS_FormatPath(char* pDest, size_t uiSize, const char* pFormat, ...)
{
    if (pDest == nullptr || uiSize == 0)
    {
        return false;
    }
    va_list tArgs;
    va_start(tArgs, pFormat);
    const int iLength = std::vsnprintf(pDest, uiSize, pFormat, tArgs);
    va_end(tArgs);
    if (iLength < 0 || static_cast<size_t>(iLength) >= uiSize)
    {
        std::printf("Path too long, not used: %.64s...\n", pDest);
        pDest[0] = '\0';
        return false;
    }
    return true;
}

FILE* FS_OpenSaveFile(const char* pName, const char* pMode)
{
    char strPath[2048];
    if (!JoinPath(strPath, sizeof(strPath), s_strSaveDirectory, pName))
    {
        return nullptr;
    }
    return HostFileOpen(strPath, pMode);
}

int FS_RemoveSaveFile(const char* pName)
{
    char strPath[2048];
    if (!JoinPath(strPath, sizeof(strPath), s_strSaveDirectory, pName))
    {
        return -1;
    }
    return HostRemoveFile(strPath);
}

bool FS_ReplaceSaveFile(const char* pName, const void* pData, size_t uiSize)
{
    char strPath[2048];
    if (!s_bSaveDirectoryUsable || !JoinPath(strPath, sizeof(strPath), s_strSaveDirectory, pName))
    {
        return false;
    }
    char strError[256];
    if (!HostReplaceFile(strPath, pData, uiSize, strError, sizeof(strError)))
    {
        std::printf("Cannot save %s: %s\n", strPath, strError);
        return false;
    }
    return true;
}

FILE* FS_OpenResourceFile(const char* pRelativePath)
{
    char strPath[2048];
    if (!JoinPath(strPath, sizeof(strPath), s_strResourceDirectory, pRelativePath))
    {
        return nullptr;
    }
    FILE* pFile = HostFileOpen(strPath, "rb");
    if (pFile == nullptr)
    {
        std::printf("Error - File not found: %s\n", pRelativePath != nullptr ? pRelativePath : "");
    }
    return pFile;
}

long FS_FileSize(FILE* pFile)
{
    BF_ASSERT("source/engine/FileSystem", pFile != NULL);
    return HostFileLength(pFile);
}
