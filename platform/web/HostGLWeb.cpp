// WebGL 1 has a single drawing buffer and no glReadBuffer: glReadPixels reads it, which is what
// the scripted driver's screenshots ask for with GL_BACK. (emscripten's own glReadBuffer calls a
// WebGL 2 function that a WebGL 1 context does not have.)

#include "GLES.h"

extern "C" void glReadBuffer(GLenum) {}
