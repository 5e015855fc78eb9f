#pragma once

// The small part of the handheld's PDK library the host calls, for the desktop: start-up,
// screen orientation and opening a web page in the desktop's browser.

typedef int PDL_Err;
constexpr PDL_Err PDL_NOERROR = 0;
constexpr PDL_Err PDL_EINVALIDINPUT = 1;
constexpr PDL_Err PDL_ESYSCALLFAILED = 2;

typedef int PDL_Orientation;

PDL_Err PDL_Init(unsigned int uiFlags);

// A desktop window does not turn: the value is only remembered (PDL_GetOrientation).
PDL_Err PDL_SetOrientation(PDL_Orientation eOrientation);
PDL_Orientation PDL_GetOrientation();

// Opens the URL with the desktop's opener ("xdg-open", or the program named by the environment
// variable BOUGHFALL_URL_OPENER), started with fork and exec and an argument vector, never
// through a shell. PDL_NOERROR only when the opener was started.
PDL_Err PDL_LaunchBrowser(const char* pUrl);
