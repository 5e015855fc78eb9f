// The remembered settings "settings.ini": loaded from a tmpfs file, then written back whole as
// the game writes it when the player flips a switch and flips it back. The written file must
// read back to the same settings and write back to the same bytes: what the game writes, it
// reads as it meant it.

#include <string>
#include <vector>

#include "Assert.h"
#include "FileBytes.h"
#include "FuzzSupport.h"
#include "Settings.h"

namespace
{

constexpr const char* ASSERT_FILE = "fuzz_settings";

struct sRemembered
{
    bool bMusic;
    bool bEffects;
    bool bFullscreen;
    int iWidth;
    int iHeight;

    bool operator==(const sRemembered&) const = default;
};

sRemembered Remembered()
{
    sRemembered tNow{SETTINGS_MusicEnabled(), SETTINGS_EffectsEnabled(), SETTINGS_Fullscreen(), 0,
                     0};
    SETTINGS_WindowSize(&tNow.iWidth, &tNow.iHeight);
    return tNow;
}

// The file as the game writes it with the settings as they are.
std::vector<std::uint8_t> WriteBack(const std::string& strPath)
{
    const bool bMusic = SETTINGS_MusicEnabled();
    SETTINGS_SetMusicEnabled(!bMusic);
    SETTINGS_SetMusicEnabled(bMusic);
    return FILE_ReadAll(strPath.c_str());
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FUZZ_QuietOutput();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, size_t uiSize)
{
    const std::string strPath = FUZZ_WriteScratchFile("settings.ini", pData, uiSize);
    SETTINGS_Load(strPath.c_str());
    const sRemembered tRead = Remembered();
    const std::vector<std::uint8_t> tWritten = WriteBack(strPath);
    BF_ASSERT(ASSERT_FILE, !tWritten.empty());

    SETTINGS_Load(strPath.c_str());
    BF_ASSERT(ASSERT_FILE, Remembered() == tRead);
    BF_ASSERT(ASSERT_FILE, WriteBack(strPath) == tWritten);
    return 0;
}
