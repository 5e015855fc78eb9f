#pragma once

// The front end: everything the player sees outside a game. A splash with the maker's logo,
// the title whose two pieces slide in from both sides (with a jingle when they meet), and the
// menu pages: Play; Options with Audio (effects and music switches), Instructions and the
// scrolling Credits; a link to the seasonal edition; and "Free Games", links to the maker's
// other titles in the platform catalogue. Menu steps click, and now and then birds sing or
// somebody laughs. Drawn from the "frontend" atlas and the "Kettle" splash. Frame thread only.
//
// The game's state machine constructs it once, enters it with Init(mode), calls Update (false
// once the player chose Play) then Render each frame, calls Free before a level starts, and
// reads and sets the music switch, which it applies to the music player.

#include "GLES.h"
#include "Menu.h"

class CFont;
class CImage;

// Entry modes of Init, and the modes the front end passes through.
enum eFrontEndMode
{
    FRONTEND_SPLASH_THEN_LEAVE = 0,  // a saved game is resumed at start-up: splash, then play
    FRONTEND_SPLASH_THEN_TITLE = 1,  // a normal start-up
    FRONTEND_TITLE_FADE_IN = 2,      // back from a game: the title fades in
    FRONTEND_MENUS = 3,              // title and menus active
};

// The front end's sounds, by index into iSounds.
enum eFrontEndSound
{
    FRONTEND_SOUND_FORWARD = 0,  // a sub-page was entered; effects switched on
    FRONTEND_SOUND_BACK = 1,     // went back a page
    FRONTEND_SOUND_SCROLL = 2,   // the highlight moved, or an item acted in place
    FRONTEND_SOUND_JINGLE = 3,   // the title has slid in
    FRONTEND_SOUND_AMBIENT = 4,  // 4..8: birds and laughs
    FRONTEND_NUM_SOUNDS = 9,
};

// Listener ids of the front end's items.
enum eFrontEndItem
{
    FRONTEND_ITEM_PLAY = 0,
    FRONTEND_ITEM_SFX = 1,
    FRONTEND_ITEM_MUSIC = 2,
    FRONTEND_ITEM_CREDITS = 3,
    FRONTEND_ITEM_INSTRUCTIONS = 5,
    FRONTEND_ITEM_OTHER_TITLE = 8,  // 8..11: the four other titles
    FRONTEND_ITEM_SEASONAL = 12,
};

constexpr int FRONTEND_NUM_OTHER_TITLES = 4;
constexpr int FRONTEND_CREDITS_LINES = 24;        // the credits repeat after this many lines
constexpr int FRONTEND_CREDITS_LINE_LENGTH = 32;  // bytes of a credits line, NUL included
constexpr GLuint FRONTEND_NO_TEXTURE = ~0u;       // iTitleTexture before it is loaded

// A catalogue link on a menu page: the label shown and the package suffix the catalogue URL
// carries.
struct sStoreLink
{
    const char* pLabel;
    const char* pPackageSuffix;
};

// What the front end offers: the seasonal edition, the other titles and the credits text.
extern const sStoreLink FRONTEND_SEASONAL_EDITION;
extern const sStoreLink FRONTEND_OTHER_TITLES[FRONTEND_NUM_OTHER_TITLES];
extern const char* const FRONTEND_CREDITS[FRONTEND_CREDITS_LINES];

class CFrontEnd : public CMenuManager
{
public:
    int iMode;  // eFrontEndMode
    CFont* pFont;
    CMenu* pMainMenu;     // the top page; owns every other page through its items
    CImage* pBackground;  // the splash, later the title background; null between them
    CImage* pTitleLeft;
    CImage* pTitleRight;
    CImage* pLogo;
    CImage* pBackButton;  // shared by every sub-page
    CImage* pInstructions;
    CImage* pCreditsBackground;
    int iSounds[FRONTEND_NUM_SOUNDS];        // sound-engine source slots; -1 = not created
    int iSoundBuffers[FRONTEND_NUM_SOUNDS];  // buffer slots; -1 = not loaded, -2 = load failed
    GLuint iTitleTexture;  // the "frontend" atlas; FRONTEND_NO_TEXTURE when not loaded
    int iCreditsLine;      // the credits line shown at the top
    int iCreditsScroll;    // screen units the credits have risen, 0..line height
    float fAlpha;          // opacity of the background and of the logo
    float fAlphaRate;      // change of fAlpha per frame
    float fTimer;          // seconds, 1/60 per Update
    float fTitleLeftX;
    float fTitleRightX;
    bool bStay;  // false once the player chose Play
    bool bShowCredits;
    bool bShowInstructions;
    bool bMusicEnabled;  // the player's music switch; on at first
    bool bLoaded;        // Init has built the resources and Free has not released them

    // Nothing is loaded yet; the music switch is on.
    CFrontEnd();
    // Frees what Init built.
    ~CFrontEnd() override;

    // Enters the front end in an entry mode (0, 1 or 2; eFrontEndMode): loads the atlas, the
    // font and the first sounds and builds the images and pages. A missing "frontend" atlas or
    // "Boughfall" font stops the game with the assertion line. Always true.
    bool Init(int iEntryMode);
    // One frame: fades, the title slide, ambient sounds and the current page's touches.
    // False once the front end has finished (Play chosen, or the splash of mode 0 is over).
    bool Update() override;
    // The frame's picture; the front end's text is drawn last.
    void Render() override;
    // Releases what Init built (pages, images, font, atlas); the sounds stay for the next Init.
    void Free();

    // The player's back key: while the menus are up, a page showing the back arrow goes back as
    // touching the arrow does, with its sound; anywhere else nothing happens.
    void GoBack();

    // Clicks for the menu steps; leaving the instructions or credits clears them.
    void OnMenuEvent(int iEvent) override;
    // Play, the audio switches, credits, instructions and the catalogue links.
    void OnItemSelected(int iID, int iValue) override;

    // The mode, the sound slots, the credits position and, while loaded, the pages and the
    // current one among them are within bounds (assertions "source/base/FrontEnd"). The soak
    // checks it every frame.
    void CheckTables() const;

    void SetMusicEnabled(bool bEnabled) { bMusicEnabled = bEnabled; }
    bool IsMusicEnabled() const { return bMusicEnabled; }

private:
    // Loads a sound and gives it a source once; a sound that cannot be loaded stays silent.
    void CreateSound(int iSound);
    void PlayFrontEndSound(int iSound);
    void BuildPages();
    void RenderCredits();
};
