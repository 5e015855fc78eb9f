#pragma once

// What the fuzz targets share: the input as a file (in memory, or in a tmpfs folder for readers
// that take a path), and the least of the game's environment a reader needs, set up once per
// process. FUZZ_ functions are the fuzz targets' shared entry points.
//
// Each target is a libFuzzer executable, fuzz_<reader>; scripts/fuzz.sh runs them. A target
// checks more than "no crash" where the reader promises more (a file the game wrote itself
// loads again, a check and a load agree), and fails such a check with the game's assertion
// line, so libFuzzer keeps the input as a crash.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

class CFont;
class CLevel;

// The input as a read-only FILE* in memory (fmemopen), for readers that take an open file. An
// empty input gets an empty file. The reader or the caller closes it.
FILE* FUZZ_OpenMemory(const std::uint8_t* pData, size_t uiSize);

// This process's own scratch folder in tmpfs (/dev/shm when there is one, else $TMPDIR or /tmp),
// made on first use and removed at exit.
const char* FUZZ_ScratchFolder();

// Writes the input whole to "<scratch folder>/<name>" (folders in the name must exist) and
// gives its path. A write that fails is the machine's fault, not the input's: it aborts.
std::string FUZZ_WriteScratchFile(const char* pName, const std::uint8_t* pData, size_t uiSize);

// The generated data tree the targets read the game's own files from: $BF_DATA_DIR, or the
// build's Data folder.
const char* FUZZ_DataFolder();

// Sends standard output, where the readers print their one-line diagnostics, to /dev/null
// unless BF_FUZZ_VERBOSE is set: printing is otherwise much of a run's time.
void FUZZ_QuietOutput();

// The engine with a hidden GL context (no window, no X server): the resource directory is the
// data tree, the save directory the scratch folder, the texture table empty. Once per process;
// aborts when there is no GL.
void FUZZ_OpenEngine(const char* pTarget);

// The game's font loaded from the data tree, for drawing what a level shows. Once per process.
CFont* FUZZ_GameFont();

// Lays out and submits one frame of a level as the game draws it, text included, into a
// one-pixel viewport so that the driver rasterises next to nothing.
void FUZZ_DrawLevel(CLevel* pLevel);

// libFuzzer's entry points, defined by each target.
extern "C" int LLVMFuzzerInitialize(int* pArgc, char*** pArgv);
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, size_t uiSize);
