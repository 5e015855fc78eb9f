#include <unistd.h>

#include <cstdio>

#include "BFTool.h"
#include "HiddenGL.h"

namespace
{

int s_iSavedOutput = -1;

}  // namespace

bool BFTOOL_OpenHiddenGL()
{
    return TOOL_OpenHiddenGL("bftool");
}

void BFTOOL_MuteOutput()
{
    std::fflush(stdout);
    s_iSavedOutput = dup(STDOUT_FILENO);
    FILE* pNull = std::fopen("/dev/null", "w");
    if (pNull != nullptr)
    {
        dup2(fileno(pNull), STDOUT_FILENO);
        std::fclose(pNull);
    }
}

void BFTOOL_RestoreOutput()
{
    std::fflush(stdout);
    if (s_iSavedOutput >= 0)
    {
        dup2(s_iSavedOutput, STDOUT_FILENO);
        close(s_iSavedOutput);
        s_iSavedOutput = -1;
    }
}
