#pragma once

// Reading text files a line at a time into a fixed buffer, for the settings file, scripts and
// recordings: a line longer than the buffer is read to its end all the same (so what follows it
// is the next line, never its tail) and reported as too long.

#include <cstdio>

enum HostLineRead
{
    HOST_LINE_END,       // nothing more: the file ended before a character of a new line
    HOST_LINE_TEXT,      // a line, without its end, NUL-terminated in the buffer
    HOST_LINE_TOO_LONG,  // a line of iSize characters or more; the buffer holds its start
};

// The next line of pFile into pLine (iSize bytes, NUL included). A NUL byte in the line sets
// *pBinary (it is never cleared here, so one flag can cover a whole file); *pEnded says whether
// the line ended with a newline rather than with the file.
HostLineRead HostReadLine(FILE* pFile, char* pLine, int iSize, bool* pBinary, bool* pEnded);
