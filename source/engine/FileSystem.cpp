#include "FileSystem.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "Assert.h"
#include "Host.h"

namespace
{

char s_strResourceDirectory[FS_MAX_PATH];
char s_strSaveDirectory[FS_MAX_PATH];

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

void JoinPath(char* pDest, size_t uiSize, const char* pDirectory, const char* pName)
{
    std::snprintf(pDest, uiSize, "%s/%s", pDirectory, pName != nullptr ? pName : "");
}

}  // namespace

void FS_SetupDirectories()
{
    char strBundle[FS_MAX_PATH];
    HostBundleDirectory(strBundle, sizeof(strBundle));
    char strPath[FS_MAX_PATH + 8];
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
    std::snprintf(strPath, sizeof(strPath), "%s/Data", strBase);
    CopyPath(s_strSaveDirectory, strPath);
    if (!HostMakeDirectories(s_strSaveDirectory, 0755))
    {
        std::printf("Cannot create the save directory %s: %s\n", s_strSaveDirectory,
                    std::strerror(errno));
    }
}

void FS_SetResourceDirectory(const char* pPath)
{
    CopyPath(s_strResourceDirectory, pPath);
}

void FS_SetSaveDirectory(const char* pPath)
{
    CopyPath(s_strSaveDirectory, pPath);
}

const char* FS_ResourceDirectory()
{
    return s_strResourceDirectory;
}

const char* FS_SaveDirectory()
{
    return s_strSaveDirectory;
}

FILE* FS_OpenSaveFile(const char* pName, const char* pMode)
{
    char strPath[2048];
    JoinPath(strPath, sizeof(strPath), s_strSaveDirectory, pName);
    return HostFileOpen(strPath, pMode);
}

int FS_RemoveSaveFile(const char* pName)
{
    char strPath[2048];
    JoinPath(strPath, sizeof(strPath), s_strSaveDirectory, pName);
    return std::remove(strPath);
}

FILE* FS_OpenResourceFile(const char* pRelativePath)
{
    char strPath[2048];
    JoinPath(strPath, sizeof(strPath), s_strResourceDirectory, pRelativePath);
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
