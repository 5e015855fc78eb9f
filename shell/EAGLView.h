#pragma once

// The GL view: owns the GL context and the frame timer, draws one game frame per tick, and
// forwards touches to the touch input object.

#include "EAGLContext.h"
#include "INPTTouch.h"
#include "RunLoop.h"
#include "View.h"

constexpr double FRAME_INTERVAL_ACTIVE = 1.0 / 60.0;  // seconds between frames while active
constexpr double FRAME_INTERVAL_INACTIVE = 0.2;       // ... and while inactive

class EAGLView : public UIView
{
public:
    // A view with an OpenGL ES 1 context made current; null when either fails.
    static EAGLView* initWithCoder();
    ~EAGLView() override;

    void layoutSubviews() override;
    bool createFramebuffer();
    void destroyFramebuffer();

    void startAnimation();
    void stopAnimation();
    // Invalidates the running timer (if any) and keeps the new one.
    void setAnimationTimer(NSTimer* pTimer);
    NSTimer* animationTimer() const { return pAnimationTimer; }
    // Stores the interval; a running timer restarts with it at once.
    void setAnimationInterval(double dInterval);
    double animationInterval() const { return dAnimationInterval; }
    EAGLContext* context() const { return pContext; }

    // One frame: context, framebuffer, viewport, GAME_Frame, present.
    void drawView();

    // The touch input object comes from the game's input holder; one touch at a time.
    void initTouchResponder();
    INPTTouch* touchResponder() const { return pTouchResponder; }

    void touchesBegan(UITouch* const* pTouches, int iNumTouches, UIEvent* pEvent) override;
    void touchesMoved(UITouch* const* pTouches, int iNumTouches, UIEvent* pEvent) override;
    void touchesEnded(UITouch* const* pTouches, int iNumTouches, UIEvent* pEvent) override;
    // Not forwarded: a cancelled touch reaches neither the input object nor the game.
    void touchesCancelled(UITouch* const* pTouches, int iNumTouches, UIEvent* pEvent) override;

    int iBackingWidth() const { return backingWidth; }
    int iBackingHeight() const { return backingHeight; }

private:
    EAGLView() = default;

    int backingWidth = 0;
    int backingHeight = 0;
    EAGLContext* pContext = nullptr;
    unsigned int viewRenderbuffer = 0;
    unsigned int viewFramebuffer = 0;
    unsigned int depthRenderbuffer = 0;
    NSTimer* pAnimationTimer = nullptr;
    double dAnimationInterval = FRAME_INTERVAL_ACTIVE;
    INPTTouch* pTouchResponder = nullptr;
};
