#pragma once

// A desktop GL (compatibility profile) context with no window and no X server: EGL on Mesa's
// surfaceless platform. For tools and benchmarks that run the engine's GL paths headless.

// Makes the context current (once per process). False, with a line naming the tool, when it
// cannot.
bool TOOL_OpenHiddenGL(const char* pToolName);

// The game's 480 x 320 landscape space in a one-pixel viewport: a frame is submitted whole while
// the driver rasterises next to nothing.
void TOOL_HiddenFrameSpace();
