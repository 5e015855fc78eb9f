#include "WebRules.h"

#include <algorithm>
#include <cmath>

WebFingerAction CWebFingers::Began(long iId)
{
    for (int i = 0; i < iNumDown; ++i)
    {
        if (tDown[i] == iId)
        {
            return WEB_FINGER_NOTHING;  // already down (a start reported twice)
        }
    }
    if (iNumDown == WEB_MAX_FINGERS)
    {
        return WEB_FINGER_NOTHING;
    }
    tDown[iNumDown++] = iId;
    if (iNumDown == 1)
    {
        iGameFinger = iId;
        bGameFingerDown = true;
        return WEB_FINGER_DOWN;
    }
    return bGameFingerDown ? WEB_FINGER_PAUSE : WEB_FINGER_NOTHING;
}

WebFingerAction CWebFingers::Moved(long iId) const
{
    return bGameFingerDown && iId == iGameFinger ? WEB_FINGER_MOVE : WEB_FINGER_NOTHING;
}

WebFingerAction CWebFingers::Ended(long iId, bool bCancelled)
{
    int iFound = -1;
    for (int i = 0; i < iNumDown; ++i)
    {
        if (tDown[i] == iId)
        {
            iFound = i;
        }
    }
    if (iFound < 0)
    {
        return WEB_FINGER_NOTHING;
    }
    tDown[iFound] = tDown[--iNumDown];
    if (!bGameFingerDown || iId != iGameFinger)
    {
        return WEB_FINGER_NOTHING;
    }
    bGameFingerDown = false;
    return bCancelled ? WEB_FINGER_PAUSE_AND_UP : WEB_FINGER_UP;
}

void WEB_MotionToAxes(double fX, double fY, double fZ, int iAngle, bool bInverted, int iAxes[3])
{
    // The reading turned with the screen: its x to the screen's right, its y to the screen's top.
    const double fRadians = static_cast<double>(((iAngle % 360) + 360) % 360) * M_PI / 180.0;
    const double fCos = std::round(std::cos(fRadians));
    const double fSin = std::round(std::sin(fRadians));
    const double fSign = bInverted ? -1.0 : 1.0;
    const double fScreenX = fSign * (fX * fCos - fY * fSin);
    const double fScreenY = fSign * (fX * fSin + fY * fCos);
    const double fScreenZ = fSign * fZ;
    // The reading points up, away from gravity; the handheld's first axis points down the
    // upright screen and its second to the left.
    const double tAxes[3] = {-fScreenY, -fScreenX, -fScreenZ};
    for (int i = 0; i < 3; ++i)
    {
        const double fValue = std::isfinite(tAxes[i]) ? tAxes[i] / WEB_GRAVITY * 32767.0 : 0.0;
        iAxes[i] = static_cast<int>(std::lround(std::clamp(fValue, -32767.0, 32767.0)));
    }
}
