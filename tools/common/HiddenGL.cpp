#include "HiddenGL.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>

#include <cstdio>

bool TOOL_OpenHiddenGL(const char* pToolName)
{
    static bool s_bOpen = false;
    if (s_bOpen)
    {
        return true;
    }
    auto pGetPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
    EGLDisplay pDisplay =
        pGetPlatformDisplay != nullptr
            ? pGetPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr)
            : EGL_NO_DISPLAY;
    EGLint iMajor = 0;
    EGLint iMinor = 0;
    if (pDisplay == EGL_NO_DISPLAY || !eglInitialize(pDisplay, &iMajor, &iMinor) ||
        !eglBindAPI(EGL_OPENGL_API))
    {
        std::printf("%s: no hidden GL context (EGL surfaceless platform unavailable)\n", pToolName);
        return false;
    }
    const EGLint tConfigAttributes[] = {EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT, EGL_NONE};
    EGLConfig pConfig = nullptr;
    EGLint iNumConfigs = 0;
    eglChooseConfig(pDisplay, tConfigAttributes, &pConfig, 1, &iNumConfigs);
    EGLContext pContext =
        eglCreateContext(pDisplay, iNumConfigs > 0 ? pConfig : nullptr, EGL_NO_CONTEXT, nullptr);
    if (pContext == EGL_NO_CONTEXT ||
        !eglMakeCurrent(pDisplay, EGL_NO_SURFACE, EGL_NO_SURFACE, pContext))
    {
        std::printf("%s: no hidden GL context (EGL error 0x%04X)\n", pToolName, eglGetError());
        return false;
    }
    s_bOpen = true;
    return true;
}

void TOOL_HiddenFrameSpace()
{
    glViewport(0, 0, 1, 1);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 480, 0, 320, -1, 1024);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}
