// Bitmap fonts: FONT_CheckFile on the bytes, then the real load (file, parse, page texture) of
// the same bytes as "Fonts/Fuzz.fnt", and every character code measured and drawn. A file of
// the wrong kind (magic, unknown or repeated blocks, more than one page) stops the game on
// purpose, so such files end at the check. The check and the load must agree: a file the check
// calls bad never loads.
//
// The resource directory is a scratch folder whose Textures, Data and game font lead to the
// data tree, so a font may name the game's page, a missing page, or anything else.

#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "Assert.h"
#include "FileSystem.h"
#include "Fonts.h"
#include "FuzzSupport.h"

namespace
{

constexpr const char* ASSERT_FILE = "fuzz_font";
constexpr int FONT_CAPACITY = 1024;  // vertices: 256 characters per render

void LinkToData(const char* pName)
{
    const std::string strTarget = std::string(FUZZ_DataFolder()) + "/" + pName;
    const std::string strLink = std::string(FUZZ_ScratchFolder()) + "/" + pName;
    BF_ASSERT(ASSERT_FILE, symlink(strTarget.c_str(), strLink.c_str()) == 0);
}

// Every code in one line, then each code on its own, in each alignment.
void DrawEveryCode(CFont* pFont)
{
    char strAll[FONT_NUM_GLYPH_CODES];
    for (int i = 1; i < FONT_NUM_GLYPH_CODES; ++i)
    {
        strAll[i - 1] = static_cast<char>(i);
    }
    strAll[FONT_NUM_GLYPH_CODES - 1] = '\0';
    pFont->GetTextWidth(strAll, 0);
    pFont->DrawText(10, 100, FONT_ALIGN_CENTRE, strAll, 1.0f, 1.0f, 1.0f, 1.0f, -1);
    pFont->RenderText(true);
    for (int i = 1; i < FONT_NUM_GLYPH_CODES; ++i)
    {
        const char strOne[2] = {static_cast<char>(i), '\0'};
        pFont->DrawText(470, 10, i % 4, strOne, 1.0f, 0.5f, 0.0f, 1.0f, 1);
    }
    pFont->RenderText(true);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FUZZ_QuietOutput();
    FUZZ_OpenEngine("fuzz_font");
    const std::string strFonts = std::string(FUZZ_ScratchFolder()) + "/Fonts";
    BF_ASSERT(ASSERT_FILE, mkdir(strFonts.c_str(), 0700) == 0);
    LinkToData("Textures");
    LinkToData("Data");
    LinkToData("Fonts/Boughfall.fnt");
    FS_SetResourceDirectory(FUZZ_ScratchFolder());
    // The game's font holds its page, so a fuzzed font naming that page shares it.
    FUZZ_GameFont();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, size_t uiSize)
{
    char strReason[128];
    const int iCheck = FONT_CheckFile(pData, uiSize, strReason, sizeof(strReason));
    BF_ASSERT(ASSERT_FILE, iCheck == FONT_FILE_OK || strReason[0] != '\0');
    if (iCheck == FONT_FILE_WRONG_KIND)
    {
        return 0;
    }
    FUZZ_WriteScratchFile("Fonts/Fuzz.fnt", pData, uiSize);
    CFont tFont;
    const int iLoaded = tFont.LoadFont("Fuzz", FONT_CAPACITY);
    BF_ASSERT(ASSERT_FILE, iLoaded == 0 || iCheck == FONT_FILE_OK);
    if (iLoaded)
    {
        DrawEveryCode(&tFont);
    }
    return 0;
}
