#pragma once

// GL capability flags and the OES entry-point table. The table's 19 functions are defined in
// HostGL.cpp under their standard names (declared in GLES.h); each forwards through its slot
// and answers with a fixed null result while the slot is empty. On the desktop only the
// matrix-palette slots can ever be filled, and only when the driver lists that extension.

#include "GLES.h"

struct HostGLCaps
{
    unsigned char bExtensionsChecked;  // HostBindGLExtensions has run
    unsigned char bHasPVRTC;           // the driver takes PVRTC compressed textures
};

extern HostGLCaps g_HostGL;

constexpr int HOST_GL_NUM_ENTRY_POINTS = 19;

// Slot order of the entry-point table.
enum HostGLSlot
{
    HOSTGL_IS_RENDERBUFFER,
    HOSTGL_BIND_RENDERBUFFER,
    HOSTGL_DELETE_RENDERBUFFERS,
    HOSTGL_GEN_RENDERBUFFERS,
    HOSTGL_RENDERBUFFER_STORAGE,
    HOSTGL_GET_RENDERBUFFER_PARAMETERIV,
    HOSTGL_IS_FRAMEBUFFER,
    HOSTGL_BIND_FRAMEBUFFER,
    HOSTGL_DELETE_FRAMEBUFFERS,
    HOSTGL_GEN_FRAMEBUFFERS,
    HOSTGL_CHECK_FRAMEBUFFER_STATUS,
    HOSTGL_FRAMEBUFFER_RENDERBUFFER,
    HOSTGL_FRAMEBUFFER_TEXTURE_2D,
    HOSTGL_GET_FRAMEBUFFER_ATTACHMENT_PARAMETERIV,
    HOSTGL_GENERATE_MIPMAP,
    HOSTGL_CURRENT_PALETTE_MATRIX,
    HOSTGL_LOAD_PALETTE_FROM_MODELVIEW,
    HOSTGL_MATRIX_INDEX_POINTER,
    HOSTGL_WEIGHT_POINTER,
};
static_assert(HOSTGL_WEIGHT_POINTER + 1 == HOST_GL_NUM_ENTRY_POINTS);

// The table itself, null at start (exposed so tests can see which slots were bound).
extern void* g_pHostGLEntryPoints[HOST_GL_NUM_ENTRY_POINTS];

// Records the driver's capabilities from an extension string and binds the matrix-palette
// functions when it lists them. The tests are plain substring searches. Flags are only set,
// never cleared. Returns 0.
int HostBindGLExtensionsFrom(const char* pExtensions, void* (*pGetProcAddress)(const char*));

// The same for the current GL context, looking entry points up through SDL. Returns 0.
int HostBindGLExtensions();
