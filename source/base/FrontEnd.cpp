#include "FrontEnd.h"

#include <cstdio>
#include <initializer_list>

#include "Assert.h"
#include "Audio.h"
#include "FontManager.h"
#include "Fonts.h"
#include "FrontEndLayout.h"
#include "Game.h"
#include "Host.h"
#include "LevelTables.h"
#include "MusicPlayer.h"
#include "QuadRenderBuffer.h"
#include "Random.h"
#include "Settings.h"
#include "Textures.h"

// The catalogue links and the credits are this edition's own: the maker's titles and the
// project's roles. The two shortest titles take the lower rows, clear of the back button.
const sStoreLink FRONTEND_SEASONAL_EDITION = {"Winterfall", "boughfall.winterfall"};

const sStoreLink FRONTEND_OTHER_TITLES[FRONTEND_NUM_OTHER_TITLES] = {
    {"Steam Snails", "steamsnails"},
    {"Brew Ball", "brewball"},
    {"Lid Flip", "lidflip"},
    {"Pip Hop", "piphop"},
};

constexpr const char* const FRONTEND_CREDITS[FRONTEND_CREDITS_LINES] = {
    "",
    "",
    "",
    "",
    "Boughfall",
    "by",
    "Kettle Games",
    "",
    "Originally inspired from an",
    "idea by the Game Designer",
    "",
    "Kettle Games are:",
    "",
    "The Lead Developer",
    "The Front End Developer",
    "The Release Engineer",
    "The Art and Sound Maker",
    "",
    "Music: the Theme Composer",
    "Vocals: the Sound Designer",
    "",
    "",
    "",
    "",
};

namespace
{

constexpr const char* ASSERT_FILE = "FrontEnd";
constexpr unsigned int LINE_ATLAS = 180;  // the game's assertion line for a missing atlas

// Each credits line fits its bytes, so every line shows whole.
consteval bool CreditsLinesFit()
{
    for (const char* pLine : FRONTEND_CREDITS)
    {
        int iLength = 0;
        while (pLine[iLength] != '\0')
        {
            ++iLength;
        }
        if (iLength >= FRONTEND_CREDITS_LINE_LENGTH)
        {
            return false;
        }
    }
    return true;
}
static_assert(CreditsLinesFit(), "a credits line holds at most 31 characters");

// The effects, by index of iSounds; played as "SFX/<name>.ogg".
const char* const SOUND_NAMES[FRONTEND_NUM_SOUNDS] = {"forward",    "back",        "scroll",
                                                      "Boughfall1", "birds1",      "birds2",
                                                      "birds3",     "short_laugh", "short_laugh2"};
constexpr int NUM_AMBIENT_SOUNDS = FRONTEND_NUM_SOUNDS - FRONTEND_SOUND_AMBIENT;
constexpr int SOUND_NOT_LOADED = -1;   // iSoundBuffers: not tried yet
constexpr int SOUND_LOAD_FAILED = -2;  // iSoundBuffers: the file could not be loaded; no retry

// The "frontend" atlas, 1024 x 1024, and where its pictures lie (the game's atlas tables).
constexpr const char* ATLAS_NAME = "frontend";
const AtlasRect& RECT_TITLE_BACKGROUND = FRONTEND_TITLE_BACKGROUND_RECT;
const AtlasRect& RECT_TITLE_LEFT = g_tFrontEndRects[FRONTEND_RECT_TITLE_LEFT];
const AtlasRect& RECT_TITLE_RIGHT = g_tFrontEndRects[FRONTEND_RECT_TITLE_RIGHT];
const AtlasRect& RECT_LOGO = g_tFrontEndRects[FRONTEND_RECT_LOGO];
const AtlasRect& RECT_BACK_BUTTON = g_tFrontEndRects[FRONTEND_RECT_BACK_BUTTON];
const AtlasRect& RECT_INSTRUCTIONS = g_tFrontEndRects[FRONTEND_RECT_INSTRUCTIONS];
const AtlasRect& RECT_CREDITS = g_tFrontEndRects[FRONTEND_RECT_CREDITS];

// The splash: the top-left 480 x 320 of the 512 x 512 texture "Kettle".
constexpr const char* SPLASH_NAME = "Kettle";
constexpr int SPLASH_TEXTURE_SIZE = 512;
constexpr AtlasRect RECT_SPLASH = {0, 320, 0, 480};

constexpr float FRAME_SECONDS = 1.0f / 60.0f;  // fTimer's step: Update runs once a frame

// The splash fades out in 50 frames, the title background in over 5.
constexpr float SPLASH_FADE_RATE = -0.02f;
constexpr float TITLE_FADE_RATE = 0.2f;

// The title: two pieces at height 144 that start outside the screen and close a quarter of
// the gap to their places each frame, from half a second after the title has faded in. The
// jingle plays when the left piece is within one unit of its place.
constexpr float TITLE_RIGHT_PLACE = TITLE_RIGHT_X;
constexpr float TITLE_LEFT_START = -(FRONT_SCREEN_WIDTH - TITLE_RIGHT_PLACE);
constexpr float TITLE_RIGHT_START = FRONT_SCREEN_WIDTH;
constexpr float TITLE_SLIDE_DELAY = 0.5f;
constexpr float TITLE_SLIDE_SHARE = 0.25f;
constexpr float TITLE_ARRIVED = -1.0f;

// At least five seconds between ambient sounds, then a 1 in 100 chance each frame.
constexpr float AMBIENT_MIN_SECONDS = 5.0f;
constexpr float AMBIENT_CHANCE = 0.99f;

// The logo sits a little behind the rest.
constexpr float LOGO_Z = -1.0f;

// The font and the menus.
constexpr const char* FONT_NAME = "Boughfall";
constexpr int FONT_CAPACITY = 2048;  // vertices: 512 characters a frame
constexpr float FONT_SCALE = 1.2f;
constexpr float MENU_NORMAL_COLOUR[4] = {0.3f, 0.24f, 0.14f, 1.0f};
constexpr float MENU_HIGHLIGHT_COLOUR[4] = {0.6f, 0.48f, 0.28f, 1.0f};
enum eAudioValue
{
    AUDIO_ON = 0,
    AUDIO_OFF = 1,
};

// A picture of the atlas at its own size, its lower-left corner at the origin.
CImage* AtlasImage(GLuint uiTexture, const AtlasRect& tRect)
{
    return new CImage(uiTexture, tRect, ATLAS_SIZE, ATLAS_SIZE, tRect.Width(), tRect.Height(),
                      false);
}

void DrawImageAt(CImage* pImage, float fX, float fY, float fZ, float fAlpha)
{
    glPushMatrix();
    glTranslatef(fX, fY, fZ);
    pImage->Draw(true, fAlpha);
    glPopMatrix();
}

void LaunchStorePage(const sStoreLink& tLink)
{
    if (!HostLaunchAppPage(tLink.pPackageSuffix))
    {
        std::printf("Could not open the catalogue page of %s\n", tLink.pLabel);
    }
}

// The game cannot show its front end without this file: one line naming it, then the
// assertion line, as for any programming error.
[[noreturn]] void MissingData(const char* pWhat, unsigned int uiLine, const char* pExpression)
{
    std::printf("The front end cannot run without %s\n", pWhat);
    BF_AssertFail(ASSERT_FILE, uiLine, pExpression);
}

}  // namespace

CFrontEnd::CFrontEnd()
    : iMode(FRONTEND_SPLASH_THEN_TITLE),
      pFont(nullptr),
      pMainMenu(nullptr),
      pBackground(nullptr),
      pTitleLeft(nullptr),
      pTitleRight(nullptr),
      pLogo(nullptr),
      pBackButton(nullptr),
      pInstructions(nullptr),
      pCreditsBackground(nullptr),
      iTitleTexture(FRONTEND_NO_TEXTURE),
      iCreditsLine(0),
      iCreditsScroll(0),
      fAlpha(0.0f),
      fAlphaRate(0.0f),
      fTimer(0.0f),
      fTitleLeftX(TITLE_LEFT_START),
      fTitleRightX(TITLE_RIGHT_START),
      bStay(true),
      bShowCredits(false),
      bShowInstructions(false),
      bMusicEnabled(true),
      bLoaded(false)
{
    for (int i = 0; i < FRONTEND_NUM_SOUNDS; ++i)
    {
        iSounds[i] = -1;
        iSoundBuffers[i] = SOUND_NOT_LOADED;
    }
}

CFrontEnd::~CFrontEnd()
{
    Free();
}

bool CFrontEnd::Init(int iEntryMode)
{
    if (bLoaded)
    {
        Free();  // entered again without leaving: build afresh rather than twice
    }
    if (iEntryMode < FRONTEND_SPLASH_THEN_LEAVE || iEntryMode > FRONTEND_TITLE_FADE_IN)
    {
        std::printf("Front end: unknown entry mode %d, the title fades in\n", iEntryMode);
        iEntryMode = FRONTEND_TITLE_FADE_IN;
    }
    for (int i = FRONTEND_SOUND_FORWARD; i <= FRONTEND_SOUND_SCROLL; ++i)
    {
        CreateSound(i);
    }
    bShowCredits = false;
    bShowInstructions = false;
    bStay = true;
    fTimer = 0.0f;

    if (iTitleTexture == FRONTEND_NO_TEXTURE)
    {
        // The texture manager puts its default picture in place of a missing file (and then
        // reports no size): the front end would be a board of question marks.
        GLuint uiTexture = 0;
        unsigned int uiWidth = 0;
        unsigned int uiHeight = 0;
        if (!TEX_LoadTGATexture(ATLAS_NAME, &uiTexture, &uiWidth, &uiHeight) || uiWidth == 0)
        {
            MissingData("its atlas \"Textures/frontend.tga\"", LINE_ATLAS,
                        "TEX_LoadTGATexture(\"frontend\", (GLuint *)&iTitleTexture, NULL, NULL)");
        }
        iTitleTexture = uiTexture;
    }
    pBackButton = AtlasImage(iTitleTexture, RECT_BACK_BUTTON);

    if (iEntryMode == FRONTEND_TITLE_FADE_IN)
    {
        // The jingle is made when a splash ends; entered without one, the title needs it now.
        CreateSound(FRONTEND_SOUND_JINGLE);
        pBackground = AtlasImage(iTitleTexture, RECT_TITLE_BACKGROUND);
        fAlpha = 0.0f;
        fAlphaRate = TITLE_FADE_RATE;
    }
    else
    {
        pBackground = new CImage(SPLASH_NAME, RECT_SPLASH, SPLASH_TEXTURE_SIZE, SPLASH_TEXTURE_SIZE,
                                 RECT_SPLASH.Width(), RECT_SPLASH.Height(), false);
        fAlpha = 1.0f;
        fAlphaRate = 0.0f;
    }
    iMode = iEntryMode;
    fTitleRightX = TITLE_RIGHT_START;
    fTitleLeftX = TITLE_LEFT_START;

    pTitleLeft = AtlasImage(iTitleTexture, RECT_TITLE_LEFT);
    pTitleRight = AtlasImage(iTitleTexture, RECT_TITLE_RIGHT);
    pLogo = AtlasImage(iTitleTexture, RECT_LOGO);
    pInstructions = AtlasImage(iTitleTexture, RECT_INSTRUCTIONS);
    pCreditsBackground = AtlasImage(iTitleTexture, RECT_CREDITS);

    pFont =
        g_pFontManager != nullptr ? g_pFontManager->LoadFont(FONT_NAME, FONT_CAPACITY) : nullptr;
    if (pFont == nullptr)
    {
        MissingData("its font \"Fonts/Boughfall.fnt\"", __LINE__, "pFont != NULL");
    }
    pFont->SetScale(FONT_SCALE, FONT_SCALE);
    CMenu::SetMenuFont(pFont);
    CMenu::SetItemFont(pFont);

    BuildPages();
    pCurrentMenu = pMainMenu;
    bLoaded = true;
    return true;
}

void CFrontEnd::BuildPages()
{
    const float* pHigh = MENU_HIGHLIGHT_COLOUR;
    const float* pNormal = MENU_NORMAL_COLOUR;
    pMainMenu = new CMenu(nullptr, "", this, nullptr, pHigh, pNormal);
    CMenu* pOptions = new CMenu(pMainMenu, "", this, pBackButton, pHigh, pNormal);
    CMenu* pAudio = new CMenu(pOptions, "", this, pBackButton, pHigh, pNormal);
    CMenu* pInstructionsPage = new CMenu(pOptions, "", this, pBackButton, pHigh, pNormal);
    CMenu* pCredits = new CMenu(pOptions, "", this, pBackButton, pHigh, pNormal);
    CMenu* pFreeGames = new CMenu(pMainMenu, "", this, pBackButton, pHigh, pNormal);

    pMainMenu->AddItemAt("Play", nullptr, MENU_X, MENU_MAIN_ROWS[0])
        ->SetListener(this, FRONTEND_ITEM_PLAY);
    pMainMenu->AddItemAt("Options", pOptions, MENU_X, MENU_MAIN_ROWS[1]);
    pMainMenu->AddItemAt(FRONTEND_SEASONAL_EDITION.pLabel, nullptr, MENU_X, MENU_MAIN_ROWS[2])
        ->SetListener(this, FRONTEND_ITEM_SEASONAL);
    pMainMenu->AddItemAt("Free Games", pFreeGames, MENU_X, MENU_MAIN_ROWS[3]);

    pOptions->AddItemAt("Audio", pAudio, MENU_X, MENU_OPTION_ROWS[0]);
    pOptions->AddItemAt("Instructions", pInstructionsPage, MENU_X, MENU_OPTION_ROWS[1])
        ->SetListener(this, FRONTEND_ITEM_INSTRUCTIONS);
    pOptions->AddItemAt("Credits", pCredits, MENU_X, MENU_OPTION_ROWS[2])
        ->SetListener(this, FRONTEND_ITEM_CREDITS);

    CMenuItem* pSfx = pAudio->AddItemAt("SFX", nullptr, MENU_X, MENU_OPTION_ROWS[0]);
    CMenuItem* pMusic = pAudio->AddItemAt("Music", nullptr, MENU_X, MENU_OPTION_ROWS[1]);
    for (CMenuItem* pSwitch : {pSfx, pMusic})
    {
        pSwitch->AddValue("On");
        pSwitch->AddValue("Off");
    }
    pSfx->SetListener(this, FRONTEND_ITEM_SFX);
    pMusic->SetListener(this, FRONTEND_ITEM_MUSIC);

    for (int i = 0; i < FRONTEND_NUM_OTHER_TITLES; ++i)
    {
        pFreeGames->AddItemAt(FRONTEND_OTHER_TITLES[i].pLabel, nullptr, MENU_X, MENU_MAIN_ROWS[i])
            ->SetListener(this, FRONTEND_ITEM_OTHER_TITLE + i);
    }

    // The switches show what is in force.
    if (g_pAudio != nullptr && !g_pAudio->IsSoundEnabled())
    {
        pSfx->CycleValue(nullptr);
    }
    if (!bMusicEnabled)
    {
        pMusic->CycleValue(nullptr);
    }
}

bool CFrontEnd::Update()
{
    if (!bLoaded)
    {
        return false;  // nothing to show before Init or after Free
    }
    fTimer += FRAME_SECONDS;

    if (iMode < FRONTEND_TITLE_FADE_IN)
    {
        fAlphaRate = SPLASH_FADE_RATE;
        if (fAlpha <= 0.0f)
        {
            delete pBackground;
            pBackground = nullptr;
            CreateSound(FRONTEND_SOUND_JINGLE);
            if (iMode == FRONTEND_SPLASH_THEN_LEAVE)
            {
                return false;
            }
            pBackground = AtlasImage(iTitleTexture, RECT_TITLE_BACKGROUND);
            iMode = FRONTEND_TITLE_FADE_IN;
            fAlphaRate = TITLE_FADE_RATE;
        }
    }

    if (iMode == FRONTEND_TITLE_FADE_IN)
    {
        if (fAlphaRate <= 0.0f)
        {
            iMode = FRONTEND_MENUS;
        }
        else if (fAlpha >= 1.0f)
        {
            fTimer = 0.0f;
            fAlphaRate = 0.0f;
        }
    }
    fAlpha += fAlphaRate;

    if (iMode == FRONTEND_MENUS)
    {
        if (fTimer > TITLE_SLIDE_DELAY && fTitleLeftX < TITLE_ARRIVED)
        {
            fTitleLeftX += (0.0f - fTitleLeftX) * TITLE_SLIDE_SHARE;
            fTitleRightX += (TITLE_RIGHT_PLACE - fTitleRightX) * TITLE_SLIDE_SHARE;
            if (fTitleLeftX >= TITLE_ARRIVED)
            {
                PlayFrontEndSound(FRONTEND_SOUND_JINGLE);
            }
        }
        if (fTimer > AMBIENT_MIN_SECONDS && RandFloat() > AMBIENT_CHANCE)
        {
            const int iSound = RandInt(NUM_AMBIENT_SOUNDS - 1) + FRONTEND_SOUND_AMBIENT;
            if (pCurrentMenu != nullptr && pCurrentMenu->iNumItems > 0)
            {
                CreateSound(iSound);
            }
            PlayFrontEndSound(iSound);
            fTimer = 0.0f;
        }
        CMenuManager::Update();
    }
    return bStay;
}

void CFrontEnd::Render()
{
    if (!bLoaded)
    {
        return;
    }
    if (pBackground != nullptr)
    {
        pBackground->Draw(true, fAlpha);
    }
    // Outside the screen during the splash.
    DrawImageAt(pTitleLeft, fTitleLeftX, static_cast<float>(TITLE_Y), 0.0f, 1.0f);
    DrawImageAt(pTitleRight, fTitleRightX, static_cast<float>(TITLE_Y), 0.0f, 1.0f);
    if (bShowCredits)
    {
        RenderCredits();
    }
    else if (bShowInstructions)
    {
        pInstructions->Draw(false, 1.0f);
    }
    if (iMode == FRONTEND_MENUS)
    {
        CMenuManager::Render();
    }
    if (iMode > FRONTEND_SPLASH_THEN_TITLE && !bShowInstructions)
    {
        const float fLogoX =
            static_cast<float>(FRONT_SCREEN_WIDTH - LOGO_MARGIN) - pLogo->GetWidth();
        DrawImageAt(pLogo, fLogoX, static_cast<float>(LOGO_MARGIN), LOGO_Z, fAlpha);
    }
    pFont->RenderText(true);
}

void CFrontEnd::RenderCredits()
{
    // The line height at the menus' scale sets the spacing; a font without height still
    // scrolls one unit a frame.
    int iLineHeight = pFont->GetLineHeight();
    if (iLineHeight < 1)
    {
        iLineHeight = 1;
    }
    const int iLines = (CREDITS_HEIGHT - iLineHeight) / iLineHeight;
    if (++iCreditsScroll > iLineHeight)
    {
        iCreditsScroll = 0;
        iCreditsLine = (iCreditsLine + 1) % FRONTEND_CREDITS_LINES;
    }
    pCreditsBackground->Draw(false, 1.0f);

    // The top line fades out as it rises, the bottom one fades in.
    const float fRisen = static_cast<float>(iCreditsScroll) / static_cast<float>(iLineHeight);
    pFont->SetScale(1.0f, 1.0f);
    for (int i = 0; i < iLines; ++i)
    {
        float fLineAlpha = 1.0f;
        if (i == 0)
        {
            fLineAlpha = 1.0f - fRisen;
        }
        else if (i == iLines - 1)
        {
            fLineAlpha = fRisen;
        }
        const int iY = iCreditsScroll + CREDITS_BOTTOM + iLineHeight * (iLines - 1 - i);
        pFont->DrawText(CREDITS_X, iY, FONT_ALIGN_CENTRE,
                        FRONTEND_CREDITS[(iCreditsLine + i) % FRONTEND_CREDITS_LINES], 1.0f, 1.0f,
                        1.0f, fLineAlpha, -1);
    }
    pFont->SetScale(FONT_SCALE, FONT_SCALE);
}

void CFrontEnd::Free()
{
    if (!bLoaded)
    {
        return;
    }
    delete pMainMenu;
    pMainMenu = nullptr;
    pCurrentMenu = nullptr;
    for (CImage** ppImage : {&pBackground, &pTitleLeft, &pLogo, &pTitleRight, &pBackButton,
                             &pInstructions, &pCreditsBackground})
    {
        delete *ppImage;
        *ppImage = nullptr;
    }
    if (CMenu::MenuFont() == pFont)
    {
        CMenu::SetMenuFont(nullptr);
    }
    if (CMenu::ItemFont() == pFont)
    {
        CMenu::SetItemFont(nullptr);
    }
    if (g_pFontManager != nullptr)
    {
        g_pFontManager->ReleaseFont(pFont);
    }
    pFont = nullptr;
    if (iTitleTexture != FRONTEND_NO_TEXTURE)
    {
        TEX_ReleaseTexture(iTitleTexture);
    }
    iTitleTexture = FRONTEND_NO_TEXTURE;
    bLoaded = false;
}

void CFrontEnd::GoBack()
{
    if (bLoaded && bStay && iMode == FRONTEND_MENUS && pCurrentMenu != nullptr)
    {
        pCurrentMenu->PressBackArrow();
    }
}

void CFrontEnd::OnMenuEvent(int iEvent)
{
    switch (iEvent)
    {
        case MENU_EVENT_ENTERED:
            PlayFrontEndSound(FRONTEND_SOUND_FORWARD);
            break;
        case MENU_EVENT_BACK:
            bShowCredits = false;
            bShowInstructions = false;
            PlayFrontEndSound(FRONTEND_SOUND_BACK);
            break;
        case MENU_EVENT_OTHER:
            PlayFrontEndSound(FRONTEND_SOUND_SCROLL);
            break;
        default:
            break;
    }
}

void CFrontEnd::OnItemSelected(int iID, int iValue)
{
    switch (iID)
    {
        case FRONTEND_ITEM_PLAY:
            bStay = false;
            break;
        case FRONTEND_ITEM_SFX:
            if (g_pAudio == nullptr)
            {
                break;
            }
            if (iValue == AUDIO_OFF)
            {
                g_pAudio->DisableSound();
            }
            else
            {
                g_pAudio->EnableSound();
                PlayFrontEndSound(FRONTEND_SOUND_FORWARD);
            }
            SETTINGS_SetEffectsEnabled(iValue != AUDIO_OFF);  // remembered for the next run
            break;
        case FRONTEND_ITEM_MUSIC:
            // The state machine applies the switch every frame; the player hears it at once.
            bMusicEnabled = iValue != AUDIO_OFF;
            if (g_pMusicPlayer != nullptr)
            {
                if (bMusicEnabled)
                {
                    g_pMusicPlayer->Enable();
                }
                else
                {
                    g_pMusicPlayer->Disable();
                }
            }
            SETTINGS_SetMusicEnabled(bMusicEnabled);
            break;
        case FRONTEND_ITEM_CREDITS:
            iCreditsScroll = 0;
            iCreditsLine = 0;
            bShowCredits = true;
            break;
        case FRONTEND_ITEM_INSTRUCTIONS:
            bShowInstructions = true;
            break;
        case FRONTEND_ITEM_SEASONAL:
            LaunchStorePage(FRONTEND_SEASONAL_EDITION);
            break;
        default:
            if (iID >= FRONTEND_ITEM_OTHER_TITLE &&
                iID < FRONTEND_ITEM_OTHER_TITLE + FRONTEND_NUM_OTHER_TITLES)
            {
                LaunchStorePage(FRONTEND_OTHER_TITLES[iID - FRONTEND_ITEM_OTHER_TITLE]);
            }
            break;
    }
}

void CFrontEnd::CheckTables() const
{
    BF_ASSERT("source/base/FrontEnd",
              iMode >= FRONTEND_SPLASH_THEN_LEAVE && iMode <= FRONTEND_MENUS);
    for (int i = 0; i < FRONTEND_NUM_SOUNDS; ++i)
    {
        BF_ASSERT("source/base/FrontEnd", iSounds[i] >= -1 && iSounds[i] < MAX_SOUNDS);
        BF_ASSERT("source/base/FrontEnd",
                  iSoundBuffers[i] >= SOUND_LOAD_FAILED && iSoundBuffers[i] < MAX_SOUNDS);
    }
    BF_ASSERT("source/base/FrontEnd", iCreditsLine >= 0 && iCreditsLine < FRONTEND_CREDITS_LINES);
    BF_ASSERT("source/base/FrontEnd", iCreditsScroll >= 0);
    if (!bLoaded)
    {
        return;
    }
    BF_ASSERT("source/base/FrontEnd", pMainMenu != nullptr && pFont != nullptr);
    BF_ASSERT("source/base/FrontEnd", pCurrentMenu != nullptr && pMainMenu->Holds(pCurrentMenu));
    pMainMenu->CheckTables();
}

void CFrontEnd::CreateSound(int iSound)
{
    if (g_pAudio == nullptr || iSounds[iSound] != -1)
    {
        return;
    }
    if (iSoundBuffers[iSound] == SOUND_NOT_LOADED)
    {
        const int iBuffer = g_pAudio->LoadSound(SOUND_NAMES[iSound]);
        iSoundBuffers[iSound] = iBuffer >= 0 ? iBuffer : SOUND_LOAD_FAILED;
    }
    if (iSoundBuffers[iSound] >= 0)
    {
        iSounds[iSound] = g_pAudio->CreateSource(iSoundBuffers[iSound], 0);
    }
}

void CFrontEnd::PlayFrontEndSound(int iSound)
{
    // By the front end's own handle: a sound that could not be loaded stays silent.
    if (g_pAudio != nullptr && iSounds[iSound] >= 0)
    {
        g_pAudio->PlaySound(iSounds[iSound]);
    }
}
