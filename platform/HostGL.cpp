#include "HostGL.h"

#include <SDL.h>

#include <cstring>

#include "HostDisplay.h"

HostGLCaps g_HostGL;
void* g_pHostGLEntryPoints[HOST_GL_NUM_ENTRY_POINTS];

namespace
{

void* SdlProcAddress(const char* pName)
{
    return SDL_GL_GetProcAddress(pName);
}

template <typename Fn>
Fn Slot(HostGLSlot eSlot)
{
    return reinterpret_cast<Fn>(g_pHostGLEntryPoints[eSlot]);
}

}  // namespace

int HostBindGLExtensionsFrom(const char* pExtensions, void* (*pGetProcAddress)(const char*))
{
    g_HostGL.bExtensionsChecked = 1;
    if (pExtensions == nullptr)
    {
        return 0;
    }
    if (std::strstr(pExtensions, "GL_IMG_texture_compression_pvrtc") != nullptr)
    {
        g_HostGL.bHasPVRTC = 1;
    }
    if (std::strstr(pExtensions, "GL_OES_matrix_palette") != nullptr && pGetProcAddress != nullptr)
    {
        static const char* const s_pPaletteNames[] = {
            "glCurrentPaletteMatrixOES",
            "glLoadPaletteFromModelViewMatrixOES",
            "glMatrixIndexPointerOES",
            "glWeightPointerOES",
        };
        for (int i = 0; i < 4; ++i)
        {
            void* pEntry = pGetProcAddress(s_pPaletteNames[i]);
            if (pEntry != nullptr)
            {
                g_pHostGLEntryPoints[HOSTGL_CURRENT_PALETTE_MATRIX + i] = pEntry;
            }
        }
    }
    return 0;
}

int HostBindGLExtensions()
{
    const char* pExtensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    return HostBindGLExtensionsFrom(pExtensions, SdlProcAddress);
}

extern "C"
{
    void glOrthof(GLfloat fLeft, GLfloat fRight, GLfloat fBottom, GLfloat fTop, GLfloat fNear,
                  GLfloat fFar)
    {
        HostDisplayApplyTurn();
        glOrtho(fLeft, fRight, fBottom, fTop, fNear, fFar);
    }

    void glFrustumf(GLfloat fLeft, GLfloat fRight, GLfloat fBottom, GLfloat fTop, GLfloat fNear,
                    GLfloat fFar)
    {
        HostDisplayApplyTurn();
        glFrustum(fLeft, fRight, fBottom, fTop, fNear, fFar);
    }

    GLboolean glIsRenderbufferOES(GLuint renderbuffer)
    {
        auto pFn = Slot<GLboolean (*)(GLuint)>(HOSTGL_IS_RENDERBUFFER);
        return pFn != nullptr ? pFn(renderbuffer) : GL_FALSE;
    }

    void glBindRenderbufferOES(GLenum target, GLuint renderbuffer)
    {
        if (auto pFn = Slot<void (*)(GLenum, GLuint)>(HOSTGL_BIND_RENDERBUFFER))
        {
            pFn(target, renderbuffer);
        }
    }

    void glDeleteRenderbuffersOES(GLsizei n, const GLuint* renderbuffers)
    {
        if (auto pFn = Slot<void (*)(GLsizei, const GLuint*)>(HOSTGL_DELETE_RENDERBUFFERS))
        {
            pFn(n, renderbuffers);
        }
    }

    void glGenRenderbuffersOES(GLsizei n, GLuint* renderbuffers)
    {
        if (auto pFn = Slot<void (*)(GLsizei, GLuint*)>(HOSTGL_GEN_RENDERBUFFERS))
        {
            pFn(n, renderbuffers);
        }
    }

    void glRenderbufferStorageOES(GLenum target, GLenum internalformat, GLsizei width,
                                  GLsizei height)
    {
        if (auto pFn =
                Slot<void (*)(GLenum, GLenum, GLsizei, GLsizei)>(HOSTGL_RENDERBUFFER_STORAGE))
        {
            pFn(target, internalformat, width, height);
        }
    }

    void glGetRenderbufferParameterivOES(GLenum target, GLenum pname, GLint* params)
    {
        // The view's renderbuffer always reports the logical portrait screen.
        if (pname == GL_RENDERBUFFER_WIDTH_OES && params != nullptr)
        {
            *params = 320;
            return;
        }
        if (pname == GL_RENDERBUFFER_HEIGHT_OES && params != nullptr)
        {
            *params = 480;
            return;
        }
        if (auto pFn = Slot<void (*)(GLenum, GLenum, GLint*)>(HOSTGL_GET_RENDERBUFFER_PARAMETERIV))
        {
            pFn(target, pname, params);
        }
    }

    GLboolean glIsFramebufferOES(GLuint framebuffer)
    {
        auto pFn = Slot<GLboolean (*)(GLuint)>(HOSTGL_IS_FRAMEBUFFER);
        return pFn != nullptr ? pFn(framebuffer) : GL_FALSE;
    }

    void glBindFramebufferOES(GLenum target, GLuint framebuffer)
    {
        if (auto pFn = Slot<void (*)(GLenum, GLuint)>(HOSTGL_BIND_FRAMEBUFFER))
        {
            pFn(target, framebuffer);
        }
    }

    void glDeleteFramebuffersOES(GLsizei n, const GLuint* framebuffers)
    {
        if (auto pFn = Slot<void (*)(GLsizei, const GLuint*)>(HOSTGL_DELETE_FRAMEBUFFERS))
        {
            pFn(n, framebuffers);
        }
    }

    void glGenFramebuffersOES(GLsizei n, GLuint* framebuffers)
    {
        if (auto pFn = Slot<void (*)(GLsizei, GLuint*)>(HOSTGL_GEN_FRAMEBUFFERS))
        {
            pFn(n, framebuffers);
        }
    }

    GLenum glCheckFramebufferStatusOES(GLenum target)
    {
        auto pFn = Slot<GLenum (*)(GLenum)>(HOSTGL_CHECK_FRAMEBUFFER_STATUS);
        return pFn != nullptr ? pFn(target) : GL_FRAMEBUFFER_COMPLETE_OES;
    }

    void glFramebufferRenderbufferOES(GLenum target, GLenum attachment, GLenum renderbuffertarget,
                                      GLuint renderbuffer)
    {
        if (auto pFn =
                Slot<void (*)(GLenum, GLenum, GLenum, GLuint)>(HOSTGL_FRAMEBUFFER_RENDERBUFFER))
        {
            pFn(target, attachment, renderbuffertarget, renderbuffer);
        }
    }

    void glFramebufferTexture2DOES(GLenum target, GLenum attachment, GLenum textarget,
                                   GLuint texture, GLint level)
    {
        if (auto pFn = Slot<void (*)(GLenum, GLenum, GLenum, GLuint, GLint)>(
                HOSTGL_FRAMEBUFFER_TEXTURE_2D))
        {
            pFn(target, attachment, textarget, texture, level);
        }
    }

    void glGetFramebufferAttachmentParameterivOES(GLenum target, GLenum attachment, GLenum pname,
                                                  GLint* params)
    {
        if (auto pFn = Slot<void (*)(GLenum, GLenum, GLenum, GLint*)>(
                HOSTGL_GET_FRAMEBUFFER_ATTACHMENT_PARAMETERIV))
        {
            pFn(target, attachment, pname, params);
        }
    }

    void glGenerateMipmapOES(GLenum target)
    {
        if (auto pFn = Slot<void (*)(GLenum)>(HOSTGL_GENERATE_MIPMAP))
        {
            pFn(target);
        }
    }

    void glCurrentPaletteMatrixOES(GLuint matrixpaletteindex)
    {
        if (auto pFn = Slot<void (*)(GLuint)>(HOSTGL_CURRENT_PALETTE_MATRIX))
        {
            pFn(matrixpaletteindex);
        }
    }

    void glLoadPaletteFromModelViewMatrixOES(void)
    {
        if (auto pFn = Slot<void (*)()>(HOSTGL_LOAD_PALETTE_FROM_MODELVIEW))
        {
            pFn();
        }
    }

    void glMatrixIndexPointerOES(GLint size, GLenum type, GLsizei stride, const GLvoid* pointer)
    {
        if (auto pFn =
                Slot<void (*)(GLint, GLenum, GLsizei, const GLvoid*)>(HOSTGL_MATRIX_INDEX_POINTER))
        {
            pFn(size, type, stride, pointer);
        }
    }

    void glWeightPointerOES(GLint size, GLenum type, GLsizei stride, const GLvoid* pointer)
    {
        if (auto pFn = Slot<void (*)(GLint, GLenum, GLsizei, const GLvoid*)>(HOSTGL_WEIGHT_POINTER))
        {
            pFn(size, type, stride, pointer);
        }
    }

}  // extern "C"
