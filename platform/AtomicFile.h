#pragma once

// Replacing a small file whole, so that a crash, a kill or a full disk at any moment leaves
// either the old file or the new one under the name, never a torn or missing one: the bytes go
// to a temporary file in the same folder, every write, the flush to disk and the close are
// checked, and only then is it renamed over the old name. A failed attempt removes its
// temporary file and leaves the old file as it was; one left by a write that was killed is
// removed by the next replacement of the same file.

#include <cstddef>

// True when pPath now holds exactly the uiSize bytes of pData. On failure, pError (when given)
// receives why, in a few words with the system's reason.
bool HostReplaceFile(const char* pPath, const void* pData, size_t uiSize, char* pError,
                     size_t uiErrorSize);
