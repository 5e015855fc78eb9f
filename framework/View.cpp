#include "View.h"

#include <ctime>

void UIView::touchesBegan(UITouch* const*, int, UIEvent*) {}
void UIView::touchesMoved(UITouch* const*, int, UIEvent*) {}
void UIView::touchesEnded(UITouch* const*, int, UIEvent*) {}
void UIView::touchesCancelled(UITouch* const*, int, UIEvent*) {}

namespace
{

// Seconds since the reference date, 1 January 2001.
double SecondsSinceReferenceDate()
{
    timespec tNow;
    clock_gettime(CLOCK_REALTIME, &tNow);
    return static_cast<double>(tNow.tv_sec) - 978307200.0 +
           static_cast<double>(tNow.tv_nsec) * 1e-9;
}

}  // namespace

void UIWindow::sendEvent(UIEvent* pEvent)
{
    if (pEvent == nullptr || pEvent->type() != UIEventTypeTouches)
    {
        return;
    }
    UITouch* const* pTouches = pEvent->allTouches();
    const int iNumTouches = pEvent->touchCount();
    for (int i = 0; i < iNumTouches; ++i)
    {
        UITouch* pTouch = pTouches[i];
        TouchRecord tRecord;
        if (!FW_ReadTouchRecord(&tRecord))
        {
            continue;
        }
        pTouch->tPreviousLocation = pTouch->tLocation;
        pTouch->ePhase = static_cast<UITouchPhase>(tRecord.iPhase);
        pTouch->tLocation = CGPoint{static_cast<float>(tRecord.x), static_cast<float>(tRecord.y)};
        pTouch->pWindow = tRecord.pWindow;
        pTouch->dTimestamp = SecondsSinceReferenceDate();
        pTouch->iTapCount = 1;
        if (pTouchView == nullptr)
        {
            continue;
        }
        switch (pTouch->ePhase)
        {
            case UITouchPhaseBegan:
                pTouchView->touchesBegan(pTouches, iNumTouches, pEvent);
                break;
            case UITouchPhaseMoved:
                pTouchView->touchesMoved(pTouches, iNumTouches, pEvent);
                break;
            case UITouchPhaseEnded:
                pTouchView->touchesEnded(pTouches, iNumTouches, pEvent);
                break;
            case UITouchPhaseCancelled:
                pTouchView->touchesCancelled(pTouches, iNumTouches, pEvent);
                break;
            default:
                break;
        }
    }
}

void UIWindow::layoutIfNeeded()
{
    if (!bLaidOut && pTouchView != nullptr)
    {
        bLaidOut = true;
        pTouchView->layoutSubviews();
    }
}
