#pragma once

// Views and the window. A window delivers every touch to its one touch view; there is no
// hit-testing.

#include "Touch.h"

class UIView
{
public:
    virtual ~UIView() = default;

    virtual void touchesBegan(UITouch* const* pTouches, int iNumTouches, UIEvent* pEvent);
    virtual void touchesMoved(UITouch* const* pTouches, int iNumTouches, UIEvent* pEvent);
    virtual void touchesEnded(UITouch* const* pTouches, int iNumTouches, UIEvent* pEvent);
    virtual void touchesCancelled(UITouch* const* pTouches, int iNumTouches, UIEvent* pEvent);

    // Called when the view is first laid out (and whenever its layout changes).
    virtual void layoutSubviews() {}

    void setMultipleTouchEnabled(bool bEnabled) { bMultipleTouchEnabled = bEnabled; }
    bool isMultipleTouchEnabled() const { return bMultipleTouchEnabled; }

private:
    bool bMultipleTouchEnabled = false;
};

class UIWindow : public UIView
{
public:
    void setTouchView(UIView* pView) { pTouchView = pView; }
    UIView* touchView() const { return pTouchView; }

    // Touch events: each touch takes the next ring record (phase, location, window), then the
    // touch view hears of it by phase. Other events are ignored.
    void sendEvent(UIEvent* pEvent);

    // Lays out the touch view once, before the main loop starts.
    void layoutIfNeeded();

private:
    UIView* pTouchView = nullptr;
    bool bLaidOut = false;
};
