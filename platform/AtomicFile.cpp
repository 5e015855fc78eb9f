#include "AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace
{

void SetError(char* pError, size_t uiErrorSize, const char* pWhat, int iErrno)
{
    if (pError != nullptr && uiErrorSize > 0)
    {
        std::snprintf(pError, uiErrorSize, "%s: %s", pWhat, std::strerror(iErrno));
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
    return true;
}
