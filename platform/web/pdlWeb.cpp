// The PDK stand-in in the browser: start-up does nothing, the orientation is only remembered
// (the page turns with the device by itself), and a web page opens in a new tab.

#include "HostWeb_local.h"
#include "pdl.h"

namespace
{

PDL_Orientation s_eOrientation = 0;

}  // namespace

PDL_Err PDL_Init(unsigned int)
{
    return PDL_NOERROR;
}

PDL_Err PDL_SetOrientation(PDL_Orientation eOrientation)
{
    s_eOrientation = eOrientation;
    return PDL_NOERROR;
}

PDL_Orientation PDL_GetOrientation()
{
    return s_eOrientation;
}

PDL_Err PDL_LaunchBrowser(const char* pUrl)
{
    if (pUrl == nullptr || pUrl[0] == '\0')
    {
        return PDL_EINVALIDINPUT;
    }
    // A pop-up blocker may refuse the tab: that is a failed launch, as a missing opener is.
    return HostWebPageOpen(pUrl) != 0 ? PDL_NOERROR : PDL_ESYSCALLFAILED;
}
