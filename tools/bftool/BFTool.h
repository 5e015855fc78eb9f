#pragma once

// bftool: inspection of the game's data files with the engine's own loaders. BFTOOL_ functions
// are its commands and helpers.
//
// A command is int BFTOOL_<Name>(int argc, char** argv), called with argv[0] = the command's
// name and its own arguments after it; it returns the process exit status (0 success, 1 when
// the file cannot be read, with one line saying why). Commands are listed in the table in
// bftool.cpp, one line each.

// bftool texture FILE.pvr|FILE.tga OUT.png
int BFTOOL_Texture(int argc, char** argv);

// bftool font FILE.fnt OUT.png "text"
int BFTOOL_Font(int argc, char** argv);

// Makes a hidden desktop GL (compatibility profile) context current, with no window and no X
// server: EGL on Mesa's surfaceless platform. False, with a line printed, when it cannot.
bool BFTOOL_OpenHiddenGL();

// Silences the engine's own diagnostic lines on standard output while a loader runs, so the
// tool prints one line of its own; BFTOOL_RestoreOutput brings the output back.
void BFTOOL_MuteOutput();
void BFTOOL_RestoreOutput();
