#pragma once

// The game is written against OpenGL ES 1.1. On the desktop it runs on the compatibility
// profile of desktop OpenGL, which has every fixed-function call the game makes under the same
// name; this header adds what desktop GL lacks: the single-precision projection calls, and the
// OES framebuffer-object and matrix-palette entry points with their enums (HostGL.cpp defines
// them under their standard names, forwarding through a table that stays null on the desktop).
// Game and engine code include this header, never <GL/gl.h> directly.

#ifndef GL_GLEXT_PROTOTYPES
#define GL_GLEXT_PROTOTYPES 1
#endif
#include <GL/gl.h>
#include <GL/glext.h>

// OES_framebuffer_object
#define GL_FRAMEBUFFER_OES 0x8D40
#define GL_RENDERBUFFER_OES 0x8D41
#define GL_RENDERBUFFER_WIDTH_OES 0x8D42
#define GL_RENDERBUFFER_HEIGHT_OES 0x8D43
#define GL_COLOR_ATTACHMENT0_OES 0x8CE0
#define GL_DEPTH_ATTACHMENT_OES 0x8D00
#define GL_DEPTH_COMPONENT16_OES 0x81A5
#define GL_FRAMEBUFFER_COMPLETE_OES 0x8CD5
#define GL_FRAMEBUFFER_BINDING_OES 0x8CA6

// IMG_texture_compression_pvrtc and IMG_texture_format_BGRA8888
#define GL_COMPRESSED_RGB_PVRTC_4BPPV1_IMG 0x8C00
#define GL_COMPRESSED_RGB_PVRTC_2BPPV1_IMG 0x8C01
#define GL_COMPRESSED_RGBA_PVRTC_4BPPV1_IMG 0x8C02
#define GL_COMPRESSED_RGBA_PVRTC_2BPPV1_IMG 0x8C03
#define GL_BGRA_IMG 0x80E1

extern "C"
{
    // The projection of the 2D space starts with glOrthof right after glLoadIdentity; on the
    // desktop it also turns the portrait picture upright into the landscape window (HostDisplay.h).
    void glOrthof(GLfloat fLeft, GLfloat fRight, GLfloat fBottom, GLfloat fTop, GLfloat fNear,
                  GLfloat fFar);
    void glFrustumf(GLfloat fLeft, GLfloat fRight, GLfloat fBottom, GLfloat fTop, GLfloat fNear,
                    GLfloat fFar);

    GLboolean glIsRenderbufferOES(GLuint renderbuffer);
    void glBindRenderbufferOES(GLenum target, GLuint renderbuffer);
    void glDeleteRenderbuffersOES(GLsizei n, const GLuint* renderbuffers);
    void glGenRenderbuffersOES(GLsizei n, GLuint* renderbuffers);
    void glRenderbufferStorageOES(GLenum target, GLenum internalformat, GLsizei width,
                                  GLsizei height);
    void glGetRenderbufferParameterivOES(GLenum target, GLenum pname, GLint* params);
    GLboolean glIsFramebufferOES(GLuint framebuffer);
    void glBindFramebufferOES(GLenum target, GLuint framebuffer);
    void glDeleteFramebuffersOES(GLsizei n, const GLuint* framebuffers);
    void glGenFramebuffersOES(GLsizei n, GLuint* framebuffers);
    GLenum glCheckFramebufferStatusOES(GLenum target);
    void glFramebufferRenderbufferOES(GLenum target, GLenum attachment, GLenum renderbuffertarget,
                                      GLuint renderbuffer);
    void glFramebufferTexture2DOES(GLenum target, GLenum attachment, GLenum textarget,
                                   GLuint texture, GLint level);
    void glGetFramebufferAttachmentParameterivOES(GLenum target, GLenum attachment, GLenum pname,
                                                  GLint* params);
    void glGenerateMipmapOES(GLenum target);
    void glCurrentPaletteMatrixOES(GLuint matrixpaletteindex);
    void glLoadPaletteFromModelViewMatrixOES(void);
    void glMatrixIndexPointerOES(GLint size, GLenum type, GLsizei stride, const GLvoid* pointer);
    void glWeightPointerOES(GLint size, GLenum type, GLsizei stride, const GLvoid* pointer);

}  // extern "C"
