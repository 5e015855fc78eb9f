#include "EAGLView.h"

#include <cstdio>

#include "Application.h"
#include "GLES.h"
#include "Game.h"
#include "Host.h"
#include "Input.h"
#include "ScriptDriver.h"

namespace
{

// What reaches the game, for a recording.
void NoteTouch(int iPhase, UITouch* const* pTouches, int iNumTouches)
{
    if (iNumTouches > 0)
    {
        const CGPoint tLocation = pTouches[0]->locationInView(nullptr);
        SCRIPT_NoteTouch(iPhase, tLocation.x, tLocation.y);
    }
}

}  // namespace

EAGLView* EAGLView::initWithCoder()
{
    EAGLView* pView = new EAGLView();
    pView->pContext = EAGLContext::initWithAPI(1);
    if (pView->pContext == nullptr || !EAGLContext::setCurrentContext(pView->pContext))
    {
        delete pView;
        return nullptr;
    }
    pView->dAnimationInterval = FRAME_INTERVAL_ACTIVE;
    return pView;
}

EAGLView::~EAGLView()
{
    stopAnimation();
    if (EAGLContext::currentContext() == pContext)
    {
        EAGLContext::setCurrentContext(nullptr);
    }
    delete pContext;
}

void EAGLView::layoutSubviews()
{
    EAGLContext::setCurrentContext(pContext);
    destroyFramebuffer();
    createFramebuffer();
    drawView();
}

bool EAGLView::createFramebuffer()
{
    glGenFramebuffersOES(1, &viewFramebuffer);
    glGenRenderbuffersOES(1, &viewRenderbuffer);
    glBindFramebufferOES(GL_FRAMEBUFFER_OES, viewFramebuffer);
    glBindRenderbufferOES(GL_RENDERBUFFER_OES, viewRenderbuffer);
    pContext->renderbufferStorage(GL_RENDERBUFFER_OES, this);
    glFramebufferRenderbufferOES(GL_FRAMEBUFFER_OES, GL_COLOR_ATTACHMENT0_OES, GL_RENDERBUFFER_OES,
                                 viewRenderbuffer);
    glGetRenderbufferParameterivOES(GL_RENDERBUFFER_OES, GL_RENDERBUFFER_WIDTH_OES, &backingWidth);
    glGetRenderbufferParameterivOES(GL_RENDERBUFFER_OES, GL_RENDERBUFFER_HEIGHT_OES,
                                    &backingHeight);
    glGenRenderbuffersOES(1, &depthRenderbuffer);
    glBindRenderbufferOES(GL_RENDERBUFFER_OES, depthRenderbuffer);
    glRenderbufferStorageOES(GL_RENDERBUFFER_OES, GL_DEPTH_COMPONENT16_OES, backingWidth,
                             backingHeight);
    glFramebufferRenderbufferOES(GL_FRAMEBUFFER_OES, GL_DEPTH_ATTACHMENT_OES, GL_RENDERBUFFER_OES,
                                 depthRenderbuffer);
    const GLenum eStatus = glCheckFramebufferStatusOES(GL_FRAMEBUFFER_OES);
    if (eStatus != GL_FRAMEBUFFER_COMPLETE_OES)
    {
        std::printf("failed to make complete framebuffer object %x\n", eStatus);
        return false;
    }
    return true;
}

void EAGLView::destroyFramebuffer()
{
    glDeleteFramebuffersOES(1, &viewFramebuffer);
    viewFramebuffer = 0;
    glDeleteRenderbuffersOES(1, &viewRenderbuffer);
    viewRenderbuffer = 0;
    if (depthRenderbuffer != 0)
    {
        glDeleteRenderbuffersOES(1, &depthRenderbuffer);
        depthRenderbuffer = 0;
    }
}

void EAGLView::startAnimation()
{
    setAnimationTimer(NSTimer::scheduledTimer<&EAGLView::drawView>(
        SCRIPT_FrameInterval(dAnimationInterval), this, true));
}

void EAGLView::stopAnimation()
{
    setAnimationTimer(nullptr);
}

void EAGLView::setAnimationTimer(NSTimer* pTimer)
{
    if (pAnimationTimer != nullptr)
    {
        pAnimationTimer->invalidate();
    }
    pAnimationTimer = pTimer;
}

void EAGLView::setAnimationInterval(double dInterval)
{
    dAnimationInterval = dInterval;
    if (pAnimationTimer != nullptr)
    {
        stopAnimation();
        startAnimation();
    }
}

void EAGLView::drawView()
{
    // Quitting takes effect between two frames: the run-loop step a quit request runs fires
    // no frame of a game that is being shut down, so where a session ends does not hang on
    // whether the frame timer happened to be due (a recording and its replay end alike).
    if (UIApplication::sharedApplication()->isTerminating())
    {
        return;
    }
    EAGLContext::setCurrentContext(pContext);
    glBindFramebufferOES(GL_FRAMEBUFFER_OES, viewFramebuffer);
    HostSetViewport(0, 0, backingWidth, backingHeight);
    SCRIPT_BeforeFrame();
    GAME_Frame();
    SCRIPT_AfterFrame();
    glBindRenderbufferOES(GL_RENDERBUFFER_OES, viewRenderbuffer);
    pContext->presentRenderbuffer(GL_RENDERBUFFER_OES);
}

void EAGLView::initTouchResponder()
{
    pTouchResponder = g_pInput != nullptr ? g_pInput->CreateTouch() : nullptr;
    setMultipleTouchEnabled(false);
}

void EAGLView::touchesBegan(UITouch* const* pTouches, int iNumTouches, UIEvent* pEvent)
{
    if (pTouchResponder != nullptr)
    {
        NoteTouch(HOST_FINGER_DOWN, pTouches, iNumTouches);
        pTouchResponder->touchesBegan(pTouches, iNumTouches, pEvent);
    }
}

void EAGLView::touchesMoved(UITouch* const* pTouches, int iNumTouches, UIEvent* pEvent)
{
    if (pTouchResponder != nullptr)
    {
        NoteTouch(HOST_FINGER_MOVE, pTouches, iNumTouches);
        pTouchResponder->touchesMoved(pTouches, iNumTouches, pEvent);
    }
}

void EAGLView::touchesEnded(UITouch* const* pTouches, int iNumTouches, UIEvent* pEvent)
{
    if (pTouchResponder != nullptr)
    {
        NoteTouch(HOST_FINGER_UP, pTouches, iNumTouches);
        pTouchResponder->touchesEnded(pTouches, iNumTouches, pEvent);
    }
}

void EAGLView::touchesCancelled(UITouch* const*, int, UIEvent*)
{
    if (pTouchResponder != nullptr)
    {
        std::printf("Touch cancelled: not passed on\n");
    }
}
