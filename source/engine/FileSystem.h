#pragma once

// File-system paths of the game. FS_ functions are the file-system module's entry points.
//
// Two base directories, set once at start-up:
//  - the resource directory: the bundle directory + "/Data", read-only game data. The bundle
//    directory is the folder of the executable (or of CFProcessPath when that is set); when it
//    holds no "Data" folder, the installed data folder is used instead.
//  - the save directory: $XDG_DATA_HOME/boughfall (default ~/.local/share/boughfall) + "/Data",
//    created when missing; it holds "gamesave.dat" and "score.dat".

#include <cstddef>
#include <cstdio>

constexpr int FS_MAX_PATH = 1024;  // each base directory's buffer

// Sets both base directories as described above.
void FS_SetupDirectories();
// The last part of the save directory for FS_SetupDirectories: "Data", or for a replay its own
// "Replay", so that a replay never touches the player's saves. Cut to 31 characters.
void FS_UseSaveFolder(const char* pName);

// Sets a base directory directly (tools and tests). The text is cut to fit the buffer.
void FS_SetResourceDirectory(const char* pPath);
void FS_SetSaveDirectory(const char* pPath);

const char* FS_ResourceDirectory();
const char* FS_SaveDirectory();

// Formats a path into pDest. When the whole result does not fit uiSize it prints one line,
// leaves pDest empty and returns false: a path cut short is never opened.
bool FS_FormatPath(char* pDest, size_t uiSize, const char* pFormat, ...)
    __attribute__((format(printf, 3, 4)));

// Opens "<save directory>/<name>"; null when it cannot be opened.
FILE* FS_OpenSaveFile(const char* pName, const char* pMode);

// Removes "<save directory>/<name>".
int FS_RemoveSaveFile(const char* pName);

// Replaces "<save directory>/<name>" whole with uiSize bytes: the old file stays until the new
// one is complete on disk (see AtomicFile.h). False, after one line naming the file and the
// reason, when it could not be written (silently when the save directory could not be made:
// that was said once at start-up).
bool FS_ReplaceSaveFile(const char* pName, const void* pData, size_t uiSize);

// Opens "<resource directory>/<relative path>" for reading in binary mode; when the file
// cannot be opened, prints "Error - File not found: <relative path>" and returns null.
FILE* FS_OpenResourceFile(const char* pRelativePath);

// Bytes in an open file; the position is kept. A null file is a programming error.
long FS_FileSize(FILE* pFile);
