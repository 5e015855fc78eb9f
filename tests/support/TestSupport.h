#pragma once

// Helpers shared by the tests: a GL window under the virtual X server, pixel read-back,
// temporary folders and small files.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// Opens (once per process) a plain SDL OpenGL window of the given size with no quarter turn,
// for engine tests that draw and read back. Returns false when no display is available.
bool TEST_OpenGLWindow(int iWidth, int iHeight);

// RGBA pixels of the back buffer, rows bottom first (as GL counts them).
std::vector<std::uint8_t> TEST_ReadPixels(int iX, int iY, int iWidth, int iHeight);

// A picture the tests look at: RGBA, rows bottom first, so (x, y) counts up from the bottom
// left as the game's space does.
struct TestPicture
{
    int iWidth = 0;
    int iHeight = 0;
    std::vector<std::uint8_t> tPixels;

    const std::uint8_t* At(int iX, int iY) const
    {
        return &tPixels[(static_cast<size_t>(iY) * iWidth + iX) * 4];
    }
    // Pixels of [x0, x1) x [y0, y1) for which fnWanted(RGBA) holds.
    template <typename F>
    int Count(int x0, int y0, int x1, int y1, F&& fnWanted) const
    {
        int iCount = 0;
        for (int y = y0; y < y1; ++y)
        {
            for (int x = x0; x < x1; ++x)
            {
                iCount += fnWanted(At(x, y)) ? 1 : 0;
            }
        }
        return iCount;
    }
    // Pixels of [x0, x1) x [y0, y1) whose red, green and blue differ from tOther's by more than
    // iTolerance together; -1 when the sizes differ.
    int Differences(const TestPicture& tOther, int x0, int y0, int x1, int y1,
                    int iTolerance = 24) const;
    // Writes the picture as "<name>" in the test-output folder.
    void Save(const std::string& strName) const;
};

// The back buffer's lower left iWidth x iHeight pixels; a PNG file (empty when unreadable).
TestPicture TEST_ReadPicture(int iWidth, int iHeight);
TestPicture TEST_LoadPicture(const std::string& strPath);

// One pixel as 0xRRGGBBAA.
std::uint32_t TEST_ReadPixel(int iX, int iY);

// A new empty folder under the test's temporary directory.
std::string TEST_MakeTempDir(const char* pTag);

// Writes bytes to a file; false on failure.
bool TEST_WriteFile(const std::string& strPath, const std::vector<std::uint8_t>& tBytes);

// Reads a whole file; empty when it cannot be read.
std::vector<std::uint8_t> TEST_ReadFile(const std::string& strPath);
// The same, as text.
std::string TEST_ReadText(const std::string& strPath);

// Writes an executable opener that appends each URL it is started with to strOut, one a line,
// for BOUGHFALL_URL_OPENER; returns its path.
std::string TEST_WriteRecordingOpener(const std::string& strDir, const std::string& strOut);

// The lines of a file, once it holds uiWanted of them or after about thirty seconds: for files
// that programs started in the background write.
std::vector<std::string> TEST_WaitForLines(const std::string& strPath, size_t uiWanted);
// Runs a command through the shell and collects its standard output (add "2>&1" for both
// streams). Returns the exit status, 128 + the signal when a signal ended it, or -1 when it
// could not be started.
int TEST_RunCommand(const std::string& strCommand, std::string* pOutput);

// SDL's audio and the game's mixer opened at a format (the tests' disk driver); false when the
// mixer did not open there. Close it before the process exits: a running audio thread can call
// into a mixer that is being torn down.
bool TEST_OpenMixer(int iFrequency, int iChannels);
void TEST_CloseMixer();

// Where screenshots of tests go (the build's test-output folder); created on demand.
std::string TEST_OutputDir();

// What a call printed on standard output.
template <typename F>
std::string TEST_OutputOf(F&& fnCall)
{
    testing::internal::CaptureStdout();
    fnCall();
    std::fflush(stdout);
    return testing::internal::GetCapturedStdout();
}

// Expects a statement to stop the program with the game's assertion line matching a pattern.
// The line goes to standard output, so the child sends that to the death test's stream. The
// child is started afresh ("threadsafe"), as GL drivers run threads of their own.
#define BF_EXPECT_ASSERT(statement, pattern)        \
    GTEST_FLAG_SET(death_test_style, "threadsafe"); \
    EXPECT_DEATH(                                   \
        {                                           \
            std::fflush(stdout);                    \
            dup2(2, 1);                             \
            statement;                              \
        },                                          \
        pattern)
