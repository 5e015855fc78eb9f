#include "AtomicFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "Host.h"

namespace
{

void SetError(char* pError, size_t uiErrorSize, const char* pWhat, int iErrno)
{
    if (pError != nullptr && uiErrorSize > 0)
    {
        std::snprintf(pError, uiErrorSize, "%s: %s", pWhat, std::strerror(iErrno));
    }
}

// mkstemp's names: the file's own name, a dot and six letters or digits.
bool IsTemporaryOf(const char* pEntry, const char* pName, size_t uiNameLength)
{
    if (std::strncmp(pEntry, pName, uiNameLength) != 0 || pEntry[uiNameLength] != '.')
    {
        return false;
    }
    const char* pSuffix = pEntry + uiNameLength + 1;
    for (int i = 0; i < 6; ++i)
    {
        const char c = pSuffix[i];
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
        {
            return false;
        }
    }
    return pSuffix[6] == '\0';
}

// The folder of pPath into strFolder ("." when it has none); returns the name within it.
const char* SplitPath(const char* pPath, char* strFolder, size_t uiSize)
{
    const char* pSlash = std::strrchr(pPath, '/');
    if (pSlash == nullptr)
    {
        std::snprintf(strFolder, uiSize, ".");
        return pPath;
    }
    const int iLength = pSlash == pPath ? 1 : static_cast<int>(pSlash - pPath);
    std::snprintf(strFolder, uiSize, "%.*s", iLength, pPath);
    return pSlash + 1;
}

// A write killed before its rename leaves its temporary file behind; the next replacement of
// the same file removes such leftovers, so they never pile up.
void RemoveLeftoverTemporaries(const char* pFolder, const char* pName)
{
    DIR* pDir = opendir(pFolder);
    if (pDir == nullptr)
    {
        return;
    }
    const size_t uiNameLength = std::strlen(pName);
    while (const dirent* pEntry = readdir(pDir))
    {
        if (IsTemporaryOf(pEntry->d_name, pName, uiNameLength))
        {
            unlinkat(dirfd(pDir), pEntry->d_name, 0);
        }
    }
    closedir(pDir);
}

// After a rename the folder's entry is on disk only once the folder itself is flushed; without
// it a power cut could bring back the old file. Best effort: the file is already in place.
void FlushFolder(const char* pFolder)
{
    const int iFolder = open(pFolder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (iFolder >= 0)
    {
        fsync(iFolder);
        close(iFolder);
    }
}

}  // namespace

bool HostReplaceFile(const char* pPath, const void* pData, size_t uiSize, char* pError,
                     size_t uiErrorSize)
{
    if (pPath == nullptr || (pData == nullptr && uiSize > 0))
    {
        SetError(pError, uiErrorSize, "no file", EINVAL);
        return false;
    }
    // "<path>.XXXXXX" beside the file, so the rename stays within one file system.
    char strTemporary[4096];
    const int iLength = std::snprintf(strTemporary, sizeof(strTemporary), "%s.XXXXXX", pPath);
    if (iLength < 0 || static_cast<size_t>(iLength) >= sizeof(strTemporary))
    {
        SetError(pError, uiErrorSize, "path too long", ENAMETOOLONG);
        return false;
    }
    char strFolder[4096];
    const char* pName = SplitPath(pPath, strFolder, sizeof(strFolder));
    RemoveLeftoverTemporaries(strFolder, pName);
    const int iFile = mkstemp(strTemporary);
    if (iFile < 0)
    {
        SetError(pError, uiErrorSize, "cannot create a temporary file", errno);
        return false;
    }
    fchmod(iFile, 0644);

    const char* pBytes = static_cast<const char*>(pData);
    size_t uiWritten = 0;
    while (uiWritten < uiSize)
    {
        const ssize_t iDone = write(iFile, pBytes + uiWritten, uiSize - uiWritten);
        if (iDone < 0 && errno == EINTR)
        {
            continue;
        }
        if (iDone <= 0)
        {
            const int iError = iDone < 0 ? errno : ENOSPC;
            close(iFile);
            unlink(strTemporary);
            SetError(pError, uiErrorSize, "cannot write", iError);
            return false;
        }
        uiWritten += static_cast<size_t>(iDone);
    }
    if (fsync(iFile) != 0)
    {
        const int iError = errno;
        close(iFile);
        unlink(strTemporary);
        SetError(pError, uiErrorSize, "cannot flush to disk", iError);
        return false;
    }
    if (close(iFile) != 0)
    {
        const int iError = errno;
        unlink(strTemporary);
        SetError(pError, uiErrorSize, "cannot close", iError);
        return false;
    }
    if (std::rename(strTemporary, pPath) != 0)
    {
        const int iError = errno;
        unlink(strTemporary);
        SetError(pError, uiErrorSize, "cannot rename into place", iError);
        return false;
    }
    FlushFolder(strFolder);
    HostFileReplaced(pPath);
    return true;
}
