#include "Touch.h"

#include <cstdlib>

#include "Application.h"
#include "Assert.h"
#include "Host.h"
#include "RunLoop.h"
#include "View.h"

namespace
{

TouchRecord s_tRing[TOUCH_RING_SIZE];
int s_iWriteIndex = 0;
int s_iReadIndex = 0;
int s_iUnread = 0;
UITouch s_Touch;
bool s_bHaveTouch = false;  // the touch object exists after the first touch-down
bool s_bTouchDown = false;

int PreviousIndex(int iIndex)
{
    return iIndex == 0 ? TOUCH_RING_SIZE - 1 : iIndex - 1;
}

void WriteRecord(const TouchRecord& tRecord)
{
    s_tRing[s_iWriteIndex] = tRecord;
    s_iWriteIndex = (s_iWriteIndex + 1) % TOUCH_RING_SIZE;
    if (s_iUnread < TOUCH_RING_SIZE)
    {
        ++s_iUnread;
    }
    else
    {
        s_iReadIndex = s_iWriteIndex;  // the oldest unread record was overwritten
    }
}

UIWindow* KeyWindow()
{
    return UIApplication::sharedApplication()->keyWindow();
}

// Records one event and hands it on; the record is kept only when the event is, so the ring
// and the queue never fall out of step.
void Report(int iX, int iY, unsigned int uiTicks, UITouchPhase ePhase)
{
    UIApplication* pApplication = UIApplication::sharedApplication();
    if (!pApplication->canPostEvent())
    {
        return;
    }
    const TouchRecord tRecord{iX, iY, uiTicks, ePhase, KeyWindow()};
    if (ePhase == UITouchPhaseMoved && !FW_TouchRingAccepts(tRecord))
    {
        return;
    }
    // Before the first touch-down there is no touch to take the record: the event goes out
    // empty and reaches nobody.
    if (s_bHaveTouch)
    {
        WriteRecord(tRecord);
    }
    pApplication->handleEvent(UIEvent(s_bHaveTouch ? &s_Touch : nullptr));
}

}  // namespace

CGPoint UITouch::locationInView(const UIView*) const
{
    return tLocation;
}

CGPoint UITouch::previousLocationInView(const UIView*) const
{
    return tPreviousLocation;
}

UIEvent::UIEvent(UITouch* pTouch)
{
    if (pTouch != nullptr)
    {
        pTouches[0] = pTouch;
        iNumTouches = 1;
    }
}

bool FW_TouchRingAccepts(const TouchRecord& tRecord)
{
    if (tRecord.iPhase != UITouchPhaseMoved)
    {
        return true;
    }
    const TouchRecord& tPrevious = s_tRing[PreviousIndex(s_iWriteIndex)];
    const bool bJitter = tPrevious.iPhase == UITouchPhaseBegan && tRecord.uiTicks != 0 &&
                         tRecord.uiTicks - tPrevious.uiTicks <= TOUCH_SLOP_MILLISECONDS &&
                         std::abs(tRecord.x - tPrevious.x) < TOUCH_SLOP_DISTANCE &&
                         std::abs(tRecord.y - tPrevious.y) < TOUCH_SLOP_DISTANCE;
    return !bJitter;
}

void FW_TouchBegan(int iX, int iY, unsigned int uiTicks)
{
    if (!UIApplication::sharedApplication()->canPostEvent())
    {
        return;
    }
    s_bTouchDown = true;
    s_bHaveTouch = true;
    s_Touch = UITouch();
    s_Touch.ePhase = UITouchPhaseBegan;
    s_Touch.tLocation = CGPoint{static_cast<float>(iX), static_cast<float>(iY)};
    s_Touch.tPreviousLocation = s_Touch.tLocation;
    s_Touch.pWindow = KeyWindow();
    Report(iX, iY, uiTicks, UITouchPhaseBegan);
}

void FW_TouchMoved(int iX, int iY, unsigned int uiTicks)
{
    if (s_bTouchDown)
    {
        Report(iX, iY, uiTicks, UITouchPhaseMoved);
    }
}

void FW_TouchEnded(int iX, int iY, unsigned int uiTicks)
{
    Report(iX, iY, uiTicks, UITouchPhaseEnded);
    s_bTouchDown = false;
}

bool FW_ReadTouchRecord(TouchRecord* pRecord)
{
    if (s_iUnread == 0)
    {
        return false;
    }
    *pRecord = s_tRing[s_iReadIndex];
    s_iReadIndex = (s_iReadIndex + 1) % TOUCH_RING_SIZE;
    --s_iUnread;
    return true;
}

void FW_ResetTouches()
{
    for (TouchRecord& tRecord : s_tRing)
    {
        tRecord = TouchRecord{};
    }
    s_iWriteIndex = 0;
    s_iReadIndex = 0;
    s_iUnread = 0;
    s_Touch = UITouch();
    s_bHaveTouch = false;
    s_bTouchDown = false;
}

void FW_CheckTouchRing()
{
    BF_ASSERT("framework/Touch", s_iWriteIndex >= 0 && s_iWriteIndex < TOUCH_RING_SIZE);
    BF_ASSERT("framework/Touch", s_iReadIndex >= 0 && s_iReadIndex < TOUCH_RING_SIZE);
    BF_ASSERT("framework/Touch", s_iUnread >= 0 && s_iUnread <= TOUCH_RING_SIZE);
    // The unread records end where the next one will be written.
    BF_ASSERT("framework/Touch", (s_iReadIndex + s_iUnread) % TOUCH_RING_SIZE == s_iWriteIndex);
    for (const TouchRecord& tRecord : s_tRing)
    {
        BF_ASSERT("framework/Touch",
                  tRecord.iPhase >= UITouchPhaseBegan && tRecord.iPhase <= UITouchPhaseCancelled);
    }
    // A touch is somewhere on the logical screen.
    const CGPoint tLocation = s_Touch.locationInView(nullptr);
    BF_ASSERT("framework/Touch", tLocation.x >= 0.0f && tLocation.x <= HOST_LOGICAL_WIDTH &&
                                     tLocation.y >= 0.0f && tLocation.y <= HOST_LOGICAL_HEIGHT);
}

UITouch* FW_CurrentTouch()
{
    return s_bHaveTouch ? &s_Touch : nullptr;
}
