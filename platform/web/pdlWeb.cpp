// The browser's launch of a web page (pdl.h): a new tab.

#include "HostWeb_local.h"
#include "pdl.h"

PDL_Err PDL_LaunchBrowser(const char* pUrl)
{
    if (pUrl == nullptr || pUrl[0] == '\0')
    {
        return PDL_EINVALIDINPUT;
    }
    // A pop-up blocker may refuse the tab: that is a failed launch, as a missing opener is.
    return HostWebPageOpen(pUrl) != 0 ? PDL_NOERROR : PDL_ESYSCALLFAILED;
}
