// The desktop's browser launch: the opener started with fork and exec (pdl.h).

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "pdl.h"

namespace
{

// Reads exactly one int from a pipe: true when one came (the exec failed), false on EOF.
bool ReadExecError(int iFd, int* pError)
{
    ssize_t iRead;
    do
    {
        iRead = read(iFd, pError, sizeof(*pError));
    } while (iRead < 0 && errno == EINTR);
    return iRead == static_cast<ssize_t>(sizeof(*pError));
}

}  // namespace

PDL_Err PDL_LaunchBrowser(const char* pUrl)
{
    if (pUrl == nullptr || pUrl[0] == '\0')
    {
        return PDL_EINVALIDINPUT;
    }
    const char* pOpener = std::getenv("BOUGHFALL_URL_OPENER");
    if (pOpener == nullptr || pOpener[0] == '\0')
    {
        pOpener = "xdg-open";
    }

    // The pipe closes on a successful exec, so EOF means the opener is running; a failed exec
    // sends its errno. The opener runs in a grandchild so the game never has to reap it.
    int iPipe[2];
    if (pipe2(iPipe, O_CLOEXEC) != 0)
    {
        return PDL_ESYSCALLFAILED;
    }
    const pid_t iChild = fork();
    if (iChild < 0)
    {
        close(iPipe[0]);
        close(iPipe[1]);
        return PDL_ESYSCALLFAILED;
    }
    if (iChild == 0)
    {
        close(iPipe[0]);
        const pid_t iGrandchild = fork();
        if (iGrandchild == 0)
        {
            setsid();
            char* const pArgs[] = {const_cast<char*>(pOpener), const_cast<char*>(pUrl), nullptr};
            execvp(pOpener, pArgs);
            const int iError = errno;
            ssize_t iIgnored = write(iPipe[1], &iError, sizeof(iError));
            (void)iIgnored;
            _exit(127);
        }
        if (iGrandchild < 0)
        {
            const int iError = errno;
            ssize_t iIgnored = write(iPipe[1], &iError, sizeof(iError));
            (void)iIgnored;
        }
        _exit(0);
    }
    close(iPipe[1]);
    int iStatus = 0;
    while (waitpid(iChild, &iStatus, 0) < 0 && errno == EINTR)
    {
    }
    int iError = 0;
    const bool bFailed = ReadExecError(iPipe[0], &iError);
    close(iPipe[0]);
    return bFailed ? PDL_ESYSCALLFAILED : PDL_NOERROR;
}
