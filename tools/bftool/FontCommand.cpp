// bftool font FILE.fnt OUT.png "text": loads a font the way the game does, prints its measures
// and renders the text into an off-screen framebuffer written as a PNG.
//
// The game finds a font as "Fonts/<name>.fnt" and its page as "Textures/Fonts/<page>.tga" under
// the resource directory, where <page> is the page's file name as the font gives it without its
// last four characters: a page named "x.png" is read from "x.tga". The tool builds such a
// directory in a temporary folder from links to the given file and that page, which it looks
// for beside the .fnt file and where the game keeps it (../Textures/Fonts from the font's folder).

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "BFTool.h"
#include "FileBytes.h"
#include "FileSystem.h"
#include "Fonts.h"
#include "PngFile.h"
#include "Textures.h"

namespace
{

constexpr int MARGIN = 8;  // pixels of background around the text
// The game reads a page named "<name>.<ext>" as "<name>.tga": it cuts the last four characters.
constexpr size_t PAGE_EXTENSION_LENGTH = 4;

// The page's file name from a file FONT_CheckFile has accepted.
std::string PageName(const std::vector<std::uint8_t>& tFile)
{
    for (size_t uiPos = 4; uiPos + 5 <= tFile.size();)
    {
        const std::uint32_t uiSize = tFile[uiPos + 1] | (tFile[uiPos + 2] << 8) |
                                     (tFile[uiPos + 3] << 16) |
                                     (static_cast<std::uint32_t>(tFile[uiPos + 4]) << 24);
        if (tFile[uiPos] == 3)
        {
            return std::string(reinterpret_cast<const char*>(&tFile[uiPos + 5]));
        }
        uiPos += 5 + uiSize;
    }
    return std::string();
}

std::string Folder(const std::string& strPath)
{
    const size_t uiSlash = strPath.rfind('/');
    return uiSlash == std::string::npos ? "." : strPath.substr(0, uiSlash);
}

// The temporary resource directory with its links; removed by Remove.
struct sScratch
{
    std::string strRoot;
    std::vector<std::string> tCreated;  // in creation order

    bool Make()
    {
        char strTemplate[] = "/tmp/bftool-XXXXXX";
        if (mkdtemp(strTemplate) == nullptr)
        {
            return false;
        }
        strRoot = strTemplate;
        return Folder("/Fonts") && Folder("/Textures") && Folder("/Textures/Fonts");
    }
    bool Folder(const char* pSub)
    {
        const std::string strPath = strRoot + pSub;
        tCreated.push_back(strPath);
        return mkdir(strPath.c_str(), 0755) == 0;
    }
    bool Link(const std::string& strTarget, const std::string& strSub)
    {
        char strAbsolute[PATH_MAX];
        if (realpath(strTarget.c_str(), strAbsolute) == nullptr)
        {
            return false;
        }
        const std::string strPath = strRoot + strSub;
        tCreated.push_back(strPath);
        return symlink(strAbsolute, strPath.c_str()) == 0;
    }
    void Remove()
    {
        for (auto it = tCreated.rbegin(); it != tCreated.rend(); ++it)
        {
            std::remove(it->c_str());
        }
        if (!strRoot.empty())
        {
            rmdir(strRoot.c_str());
        }
    }
};

// Renders the collected text into a framebuffer of iWidth x iHeight and reads it back.
bool RenderToPixels(CFont* pFont, const char* pText, int iWidth, int iHeight,
                    std::vector<std::uint8_t>* pPixels)
{
    GLuint uiColour = 0;
    GLuint uiFramebuffer = 0;
    glGenTextures(1, &uiColour);
    glBindTexture(GL_TEXTURE_2D, uiColour);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, iWidth, iHeight, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glGenFramebuffers(1, &uiFramebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, uiFramebuffer);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, uiColour, 0);
    const bool bComplete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    if (bComplete)
    {
        glViewport(0, 0, iWidth, iHeight);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, iWidth, 0, iHeight, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        pFont->DrawText(MARGIN, MARGIN, FONT_ALIGN_LEFT, pText, 1.0f, 1.0f, 1.0f, 1.0f, -1);
        pFont->RenderText(true);
        pPixels->assign(static_cast<size_t>(iWidth) * iHeight * 4, 0);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, iWidth, iHeight, GL_RGBA, GL_UNSIGNED_BYTE, pPixels->data());
    }
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteFramebuffers(1, &uiFramebuffer);
    glDeleteTextures(1, &uiColour);
    return bComplete;
}

}  // namespace

int BFTOOL_Font(int argc, char** argv)
{
    if (argc != 4)
    {
        std::fprintf(stderr, "usage: bftool font FILE.fnt OUT.png \"text\"\n");
        return 2;
    }
    const std::string strPath = argv[1];
    const char* pOut = argv[2];
    const char* pText = argv[3];
    const std::vector<std::uint8_t> tFile = FILE_ReadAll(strPath.c_str());
    if (tFile.empty())
    {
        std::printf("bftool: %s: cannot read the file\n", strPath.c_str());
        return 1;
    }
    char strReason[128];
    if (FONT_CheckFile(tFile.data(), tFile.size(), strReason, sizeof(strReason)) != FONT_FILE_OK)
    {
        std::printf("bftool: %s: %s\n", strPath.c_str(), strReason);
        return 1;
    }
    const std::string strPageName = PageName(tFile);
    if (strPageName.size() <= PAGE_EXTENSION_LENGTH)
    {
        std::printf("bftool: %s: page name \"%s\" is too short to name a .tga file\n",
                    strPath.c_str(), strPageName.c_str());
        return 1;
    }
    const std::string strPage =
        strPageName.substr(0, strPageName.size() - PAGE_EXTENSION_LENGTH) + ".tga";
    const std::string strFolder = Folder(strPath);
    std::string strPageFile;
    for (const std::string& strCandidate :
         {strFolder + "/" + strPage, strFolder + "/../Textures/Fonts/" + strPage})
    {
        if (access(strCandidate.c_str(), R_OK) == 0)
        {
            strPageFile = strCandidate;
            break;
        }
    }
    if (strPageFile.empty())
    {
        const std::string strNamed =
            strPage == strPageName ? "" : " (" + strPageName + " in the font)";
        std::printf("bftool: %s: page %s%s found neither beside it nor in ../Textures/Fonts\n",
                    strPath.c_str(), strPage.c_str(), strNamed.c_str());
        return 1;
    }
    if (!BFTOOL_OpenHiddenGL())
    {
        return 1;
    }

    // The page first on its own, for its reason when it cannot be read: within LoadFont a page
    // that fails is replaced by the default texture, which the scratch folder lacks.
    BFTOOL_MuteOutput();
    FS_SetResourceDirectory(Folder(strPageFile).c_str());
    GLuint uiPage = 0;
    unsigned int uiPageWidth = 0;
    unsigned int uiPageHeight = 0;
    const bool bPage = LoadTGAFile(strPage.c_str(), &uiPage, &uiPageWidth, &uiPageHeight) != 0;
    BFTOOL_RestoreOutput();
    if (!bPage)
    {
        std::printf("bftool: %s: page %s: %s\n", strPath.c_str(), strPageFile.c_str(),
                    TEX_LastLoadError());
        return 1;
    }
    glDeleteTextures(1, &uiPage);

    sScratch tScratch;
    if (!tScratch.Make() || !tScratch.Link(strPath, "/Fonts/bftool.fnt") ||
        !tScratch.Link(strPageFile, "/Textures/Fonts/" + strPage))
    {
        std::printf("bftool: cannot prepare a scratch folder under /tmp\n");
        tScratch.Remove();
        return 1;
    }
    FS_SetResourceDirectory(tScratch.strRoot.c_str());
    TEX_ResetTextures();
    const size_t uiLength = std::strlen(pText);
    const int iCapacity = static_cast<int>(
        uiLength * 4 + 4 < FONT_MAX_CAPACITY ? uiLength * 4 + 4 : FONT_MAX_CAPACITY);
    CFont tFont;
    BFTOOL_MuteOutput();
    const int iLoaded = tFont.LoadFont("bftool", iCapacity);
    BFTOOL_RestoreOutput();
    tScratch.Remove();
    if (!iLoaded)
    {
        std::printf("bftool: %s: the font cannot be loaded\n", strPath.c_str());
        return 1;
    }

    const int iTextWidth = tFont.GetTextWidth(pText, 0);
    std::printf("%s: line height %d, page %d x %d, %d glyphs, text width %d\n", strPath.c_str(),
                tFont.GetLineHeight(), tFont.PageWidth(), tFont.PageHeight(), tFont.iNumRecords,
                iTextWidth);
    const int iWidth = iTextWidth + 2 * MARGIN;
    const int iHeight = tFont.GetLineHeight() + 2 * MARGIN;
    std::vector<std::uint8_t> tPixels;
    if (!RenderToPixels(&tFont, pText, iWidth, iHeight, &tPixels))
    {
        std::printf("bftool: no off-screen framebuffer to render into\n");
        return 1;
    }
    return PNG_WriteRGBA(pOut, iWidth, iHeight, tPixels.data(), true) ? 0 : 1;
}
