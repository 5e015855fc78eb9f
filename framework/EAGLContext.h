#pragma once

// The GL context object the view draws with. On the desktop the host's window owns the one GL
// context; this object binds the extension entry points when created and presents by swapping
// the window's buffers.

class EAGLContext
{
public:
    // API 1 (OpenGL ES 1.x) only; any other is refused (null).
    static EAGLContext* initWithAPI(int iApi);

    static bool setCurrentContext(EAGLContext* pContext);
    static EAGLContext* currentContext();

    // The window's drawable backs the colour renderbuffer: nothing to allocate.
    bool renderbufferStorage(unsigned int uiTarget, const void* pDrawable);

    // Shows the frame: a buffer swap (which also pumps the host's events).
    bool presentRenderbuffer(unsigned int uiTarget);

    // The framebuffer that was bound when the context was made.
    unsigned int defaultFramebuffer() const { return uiDefaultFramebuffer; }

private:
    unsigned int uiDefaultFramebuffer = 0;
};
