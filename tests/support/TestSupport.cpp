#include "TestSupport.h"

#include <SDL.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "FileBytes.h"
#include "GLES.h"
#include "Host.h"
#include "PngFile.h"

bool TEST_OpenGLWindow(int iWidth, int iHeight)
{
    static bool s_bOpen = false;
    if (s_bOpen)
    {
        return true;
    }
    setenv("SDL12COMPAT_OPENGL_SCALING", "0", 0);
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER | SDL_INIT_NOPARACHUTE) != 0)
    {
        return false;
    }
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    if (SDL_SetVideoMode(iWidth, iHeight, 0, SDL_OPENGL) == nullptr)
    {
        return false;
    }
    s_bOpen = true;
    return true;
}

std::vector<std::uint8_t> TEST_ReadPixels(int iX, int iY, int iWidth, int iHeight)
{
    std::vector<std::uint8_t> tPixels(static_cast<size_t>(iWidth) * iHeight * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(iX, iY, iWidth, iHeight, GL_RGBA, GL_UNSIGNED_BYTE, tPixels.data());
    return tPixels;
}

int TestPicture::Differences(const TestPicture& tOther, int x0, int y0, int x1, int y1,
                             int iTolerance) const
{
    if (tOther.iWidth != iWidth || tOther.iHeight != iHeight)
    {
        return -1;
    }
    int iCount = 0;
    for (int y = y0; y < y1; ++y)
    {
        for (int x = x0; x < x1; ++x)
        {
            const std::uint8_t* p = At(x, y);
            const std::uint8_t* q = tOther.At(x, y);
            iCount +=
                std::abs(p[0] - q[0]) + std::abs(p[1] - q[1]) + std::abs(p[2] - q[2]) > iTolerance;
        }
    }
    return iCount;
}

void TestPicture::Save(const std::string& strName) const
{
    PNG_WriteRGBA((TEST_OutputDir() + "/" + strName).c_str(), iWidth, iHeight, tPixels.data(),
                  true);
}

TestPicture TEST_ReadPicture(int iWidth, int iHeight)
{
    return TestPicture{iWidth, iHeight, TEST_ReadPixels(0, 0, iWidth, iHeight)};
}

TestPicture TEST_LoadPicture(const std::string& strPath)
{
    TestPicture tPicture;
    std::vector<std::uint8_t> tTopFirst;
    if (PNG_ReadRGBA(strPath.c_str(), &tPicture.iWidth, &tPicture.iHeight, &tTopFirst))
    {
        const size_t uiRow = static_cast<size_t>(tPicture.iWidth) * 4;
        for (int y = tPicture.iHeight - 1; y >= 0; --y)
        {
            tPicture.tPixels.insert(tPicture.tPixels.end(), tTopFirst.begin() + y * uiRow,
                                    tTopFirst.begin() + (y + 1) * uiRow);
        }
    }
    return tPicture;
}

std::uint32_t TEST_ReadPixel(int iX, int iY)
{
    const std::vector<std::uint8_t> tPixel = TEST_ReadPixels(iX, iY, 1, 1);
    return (static_cast<std::uint32_t>(tPixel[0]) << 24) |
           (static_cast<std::uint32_t>(tPixel[1]) << 16) |
           (static_cast<std::uint32_t>(tPixel[2]) << 8) | tPixel[3];
}

std::string TEST_MakeTempDir(const char* pTag)
{
    const char* pBase = std::getenv("TMPDIR");
    std::string strTemplate = std::string(pBase != nullptr ? pBase : "/tmp") + "/bf-" +
                              (pTag != nullptr ? pTag : "test") + "-XXXXXX";
    std::vector<char> tBuffer(strTemplate.begin(), strTemplate.end());
    tBuffer.push_back('\0');
    const char* pDir = mkdtemp(tBuffer.data());
    return pDir != nullptr ? std::string(pDir) : std::string();
}

std::string TEST_ReadText(const std::string& strPath)
{
    const std::vector<std::uint8_t> tBytes = TEST_ReadFile(strPath);
    return std::string(tBytes.begin(), tBytes.end());
}

bool TEST_WriteFile(const std::string& strPath, const std::vector<std::uint8_t>& tBytes)
{
    FILE* pFile = std::fopen(strPath.c_str(), "wb");
    if (pFile == nullptr)
    {
        return false;
    }
    const size_t uiWritten =
        tBytes.empty() ? 0 : std::fwrite(tBytes.data(), 1, tBytes.size(), pFile);
    return std::fclose(pFile) == 0 && uiWritten == tBytes.size();
}

std::vector<std::uint8_t> TEST_ReadFile(const std::string& strPath)
{
    return FILE_ReadAll(strPath.c_str());
}

int TEST_RunCommand(const std::string& strCommand, std::string* pOutput)
{
    pOutput->clear();
    FILE* pPipe = popen(strCommand.c_str(), "r");
    if (pPipe == nullptr)
    {
        return -1;
    }
    char strLine[512];
    while (std::fgets(strLine, sizeof(strLine), pPipe) != nullptr)
    {
        *pOutput += strLine;
    }
    const int iStatus = pclose(pPipe);
    return WIFEXITED(iStatus) ? WEXITSTATUS(iStatus) : 128 + WTERMSIG(iStatus);
}

bool TEST_OpenMixer(int iFrequency, int iChannels)
{
    SDL_InitSubSystem(SDL_INIT_AUDIO);
    HostOpenAudio(iFrequency, iChannels);
    return g_Host.iAudioFrequency == iFrequency;
}

void TEST_CloseMixer()
{
    HostCloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

std::string TEST_OutputDir()
{
    const std::string strDir = BF_TEST_OUTPUT_DIR;
    mkdir(strDir.c_str(), 0755);
    return strDir;
}

std::string TEST_WriteRecordingOpener(const std::string& strDir, const std::string& strOut)
{
    const std::string strOpener = strDir + "/opener";
    const std::string strScript = "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" + strOut + "'\n";
    TEST_WriteFile(strOpener, std::vector<std::uint8_t>(strScript.begin(), strScript.end()));
    chmod(strOpener.c_str(), 0755);
    return strOpener;
}

std::vector<std::string> TEST_WaitForLines(const std::string& strPath, size_t uiWanted)
{
    std::vector<std::string> tLines;
    for (int i = 0; i < 3000 && tLines.size() < uiWanted; ++i)
    {
        SDL_Delay(10);
        tLines.clear();
        std::string strLine;
        for (std::uint8_t c : TEST_ReadFile(strPath))
        {
            if (c == '\n')
            {
                tLines.push_back(strLine);
                strLine.clear();
            }
            else
            {
                strLine += static_cast<char>(c);
            }
        }
    }
    return tLines;
}
