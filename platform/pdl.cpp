// The PDK stand-in both hosts share: start-up does nothing and the orientation is only
// remembered (a desktop window does not turn; a page turns with the device by itself). Each host
// opens web pages its own way (pdlDesktop.cpp, web/pdlWeb.cpp).

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
