// The sound effects in the browser go through emscripten's OpenAL (Web Audio underneath), which
// keeps its own sources and buffers: the AL layer over SDL_mixer, and so its tables, are the
// desktop's only.

#include "ALMixer.h"

void ALMIX_CheckTables() {}
