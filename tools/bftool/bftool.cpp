// bftool: looks at textures, fonts and other data files through the engine's own loaders.

#include <cstdio>
#include <cstring>

#include "BFTool.h"
#include "SoundCommands.h"

namespace
{

struct sCommand
{
    const char* pName;
    const char* pUsage;
    int (*pRun)(int argc, char** argv);
};

// One line per command.
const sCommand COMMANDS[] = {
    {"texture", "texture FILE.pvr|FILE.tga OUT.png", BFTOOL_Texture},
    {"font", "font FILE.fnt OUT.png \"text\"", BFTOOL_Font},
    {"sound", "sound FILE.ogg", BFTOOL_Sound},
    {"probe", "probe FILE.mp3", BFTOOL_Probe},
};

int Usage()
{
    std::fprintf(stderr, "usage:\n");
    for (const sCommand& tCommand : COMMANDS)
    {
        std::fprintf(stderr, "  bftool %s\n", tCommand.pUsage);
    }
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
    {
        return Usage();
    }
    for (const sCommand& tCommand : COMMANDS)
    {
        if (std::strcmp(argv[1], tCommand.pName) == 0)
        {
            return tCommand.pRun(argc - 1, argv + 1);
        }
    }
    std::fprintf(stderr, "bftool: unknown command %s\n", argv[1]);
    return Usage();
}
