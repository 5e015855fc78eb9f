#include "EAGLContext.h"

#include "GLES.h"
#include "Host.h"
#include "HostGL.h"

namespace
{

EAGLContext* s_pCurrent = nullptr;

}  // namespace

EAGLContext* EAGLContext::initWithAPI(int iApi)
{
    if (iApi != 1)
    {
        return nullptr;
    }
    EAGLContext* pContext = new EAGLContext();
    HostBindGLExtensions();
    GLint iBinding = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING_OES, &iBinding);
    pContext->uiDefaultFramebuffer = static_cast<unsigned int>(iBinding);
    return pContext;
}

bool EAGLContext::setCurrentContext(EAGLContext* pContext)
{
    s_pCurrent = pContext;
    return true;
}

EAGLContext* EAGLContext::currentContext()
{
    return s_pCurrent;
}

bool EAGLContext::renderbufferStorage(unsigned int, const void*)
{
    return true;
}

bool EAGLContext::presentRenderbuffer(unsigned int)
{
    HostSwapBuffers();
    return true;
}
