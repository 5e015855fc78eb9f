#include "Previews.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <vector>

#include "AtlasLayout.h"
#include "FrontEndLayout.h"
#include "Paint.h"
#include "PngFile.h"
#include "Pommos.h"

namespace
{
// A cairo surface holding the atlas (premultiplied), for drawing its sprites.
cairo_surface_t* AtlasSurface(const CImageRGBA& tAtlas)
{
    cairo_surface_t* pSurface =
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, tAtlas.iWidth, tAtlas.iHeight);
    cairo_surface_flush(pSurface);
    unsigned char* pData = cairo_image_surface_get_data(pSurface);
    const int iStride = cairo_image_surface_get_stride(pSurface);
    for (int iY = 0; iY < tAtlas.iHeight; ++iY)
    {
        std::uint32_t* pRow = reinterpret_cast<std::uint32_t*>(pData + iY * iStride);
        for (int iX = 0; iX < tAtlas.iWidth; ++iX)
        {
            const std::uint8_t* pP = tAtlas.At(iX, iY);
            const std::uint32_t uiA = pP[3];
            pRow[iX] = (uiA << 24) | ((pP[0] * uiA / 255) << 16) | ((pP[1] * uiA / 255) << 8) |
                       (pP[2] * uiA / 255);
        }
    }
    cairo_surface_mark_dirty(pSurface);
    return pSurface;
}

// Draws an atlas rectangle into a y-up destination rectangle (x, y, w, h) of the current
// user space, the way a sprite's four corners take their texture coordinates.
void DrawSprite(cairo_t* pCairo, cairo_surface_t* pAtlas, const sAtlasRect& tSrc, double dX,
                double dY, double dW, double dH)
{
    cairo_save(pCairo);
    cairo_translate(pCairo, dX, dY + dH);
    cairo_scale(pCairo, dW / tSrc.Width(), -dH / tSrc.Height());
    cairo_set_source_surface(pCairo, pAtlas, -tSrc.iLeft, -tSrc.iTop);
    cairo_pattern_set_filter(cairo_get_source(pCairo), CAIRO_FILTER_BILINEAR);
    cairo_rectangle(pCairo, 0, 0, tSrc.Width(), tSrc.Height());
    cairo_fill(pCairo);
    cairo_restore(pCairo);
}

// In-place radix-2 FFT of a power-of-two length.
void Fft(std::vector<std::complex<double>>& tData)
{
    const std::size_t uiN = tData.size();
    for (std::size_t i = 1, j = 0; i < uiN; ++i)
    {
        std::size_t uiBit = uiN >> 1;
        for (; j & uiBit; uiBit >>= 1)
        {
            j ^= uiBit;
        }
        j ^= uiBit;
        if (i < j)
        {
            std::swap(tData[i], tData[j]);
        }
    }
    for (std::size_t uiLen = 2; uiLen <= uiN; uiLen <<= 1)
    {
        const std::complex<double> tStep = std::polar(1.0, -2 * M_PI / double(uiLen));
        for (std::size_t i = 0; i < uiN; i += uiLen)
        {
            std::complex<double> tW(1.0);
            for (std::size_t k = 0; k < uiLen / 2; ++k)
            {
                const std::complex<double> tU = tData[i + k];
                const std::complex<double> tV = tData[i + k + uiLen / 2] * tW;
                tData[i + k] = tU + tV;
                tData[i + k + uiLen / 2] = tU - tV;
                tW *= tStep;
            }
        }
    }
}

struct sTwig
{
    double dBaseX, dBaseY, dTipX, dTipY;  // device pixels, y down
};

constexpr double BRANCH_S = 208.0;

void DrawBranch(cairo_t* pCairo, cairo_surface_t* pAtlas, double dAngle, double dLength, int iDepth,
                bool bRoot, std::vector<sTwig>& tTwigs, std::vector<cairo_matrix_t>& tLeaves)
{
    cairo_save(pCairo);
    cairo_rotate(pCairo, dAngle * M_PI / 180.0);
    const double dDX = bRoot ? 0.0 : (dAngle > 0 ? -2.0 : 2.0);
    cairo_translate(pCairo, dDX, 0.5 * BRANCH_S * dLength);
    cairo_scale(pCairo, dLength, dLength);
    if (iDepth >= 2)
    {
        cairo_save(pCairo);
        cairo_translate(pCairo, 0, -0.5 * BRANCH_S * dLength);
        const int iN = 4;
        for (int i = 0; i < iN; ++i)
        {
            cairo_translate(pCairo, 0, BRANCH_S * dLength / (iN + 1));
            const double dMag = 40.0 - (40.0 * i) / (2.0 * iN);
            const double dSign = (i % 2 == 0) ? -1.0 : 1.0;
            DrawBranch(pCairo, pAtlas, dSign * dMag,
                       0.5 * dLength - (0.5 * dLength * i) / (2.0 * iN), iDepth - 1, false, tTwigs,
                       tLeaves);
        }
        cairo_restore(pCairo);
    }
    else
    {
        sTwig tTwig = {0, -BRANCH_S / 2, 0, BRANCH_S / 2};
        cairo_user_to_device(pCairo, &tTwig.dBaseX, &tTwig.dBaseY);
        cairo_user_to_device(pCairo, &tTwig.dTipX, &tTwig.dTipY);
        tTwigs.push_back(tTwig);
        const double tLeafAngles[3] = {-70.0, 56.0, -44.8};
        for (int i = 0; i < 3; ++i)
        {
            cairo_save(pCairo);
            cairo_translate(pCairo, 0, BRANCH_S * (0.25 + 0.25 * i) * dLength);
            cairo_rotate(pCairo, (tLeafAngles[i] + 2.5) * M_PI / 180.0);
            cairo_scale(pCairo, 0.25 / dLength, 0.25 / dLength);
            cairo_matrix_t tMatrix;
            cairo_get_matrix(pCairo, &tMatrix);
            tLeaves.push_back(tMatrix);
            cairo_restore(pCairo);
        }
    }
    DrawSprite(pCairo, pAtlas, LEVEL_BRANCH, -20, -104, 40, 208);
    cairo_restore(pCairo);
}
}  // namespace

bool PREVIEW_WritePNG(const std::string& strPath, const CImageRGBA& tImage)
{
    return IMG_MakeDirsFor(strPath) && PNG_WriteRGBA(strPath.c_str(), tImage.iWidth, tImage.iHeight,
                                                     tImage.tPixels.data(), false);
}

bool PREVIEW_WritePommoSheet(const std::string& strPath, const CImageRGBA& tLevelAtlas)
{
    // Top: every frame at atlas size on a checkerboard. Bottom: at the size a full-grown
    // pommo has on the 480 x 320 screen (0.4), twice magnified, on the play-field sky.
    constexpr int CELL = 128;
    constexpr int SMALL = 96;
    const int iW = CELL * POMMO_FRAMES;
    const int iH = CELL * POMMO_TYPES + SMALL * POMMO_TYPES;
    CCanvas tCanvas(iW, iH);
    cairo_t* pCairo = tCanvas.Cairo();
    for (int iY = 0; iY < CELL * POMMO_TYPES; iY += 16)
    {
        for (int iX = 0; iX < iW; iX += 16)
        {
            const bool bDark = ((iX / 16) + (iY / 16)) % 2 == 0;
            cairo_set_source_rgb(pCairo, bDark ? 0.80 : 0.90, bDark ? 0.80 : 0.90,
                                 bDark ? 0.82 : 0.92);
            cairo_rectangle(pCairo, iX, iY, 16, 16);
            cairo_fill(pCairo);
        }
    }
    cairo_set_source_rgb(pCairo, 0.62, 0.82, 0.95);
    cairo_rectangle(pCairo, 0, CELL * POMMO_TYPES, iW, SMALL * POMMO_TYPES);
    cairo_fill(pCairo);
    cairo_surface_t* pAtlas = AtlasSurface(tLevelAtlas);
    for (int iType = 0; iType < POMMO_TYPES; ++iType)
    {
        sAtlasRect tRect = LEVEL_POMMO[iType];
        for (int iFrame = 0; iFrame < POMMO_FRAMES; ++iFrame)
        {
            const sAtlasRect tFrame = {tRect.iTop, tRect.iBottom,
                                       tRect.iLeft + iFrame * POMMO_FRAME_STEP,
                                       tRect.iRight + iFrame * POMMO_FRAME_STEP};
            cairo_save(pCairo);
            cairo_translate(pCairo, iFrame * CELL + (CELL - tRect.Width()) / 2,
                            iType * CELL + (CELL - tRect.Height()) / 2);
            cairo_set_source_surface(pCairo, pAtlas, -tFrame.iLeft, -tFrame.iTop);
            cairo_rectangle(pCairo, 0, 0, tRect.Width(), tRect.Height());
            cairo_fill(pCairo);
            cairo_restore(pCairo);
            // Play size: 0.4 of the frame, shown at 2x so the eye can judge it.
            const double dScale = 0.8;
            cairo_save(pCairo);
            cairo_translate(pCairo, iFrame * CELL + CELL / 2 - tRect.Width() * dScale / 2,
                            CELL * POMMO_TYPES + iType * SMALL + 4);
            cairo_scale(pCairo, dScale, dScale);
            cairo_set_source_surface(pCairo, pAtlas, -tFrame.iLeft, -tFrame.iTop);
            cairo_pattern_set_filter(cairo_get_source(pCairo), CAIRO_FILTER_BILINEAR);
            cairo_rectangle(pCairo, 0, 0, tRect.Width(), tRect.Height());
            cairo_fill(pCairo);
            cairo_restore(pCairo);
        }
    }
    cairo_surface_destroy(pAtlas);
    return PREVIEW_WritePNG(strPath, tCanvas.ToImage());
}

bool PREVIEW_WriteMockLevel(const std::string& strPath, const CImageRGBA& tLevelAtlas)
{
    constexpr int SCALE = 2;
    CCanvas tCanvas(480 * SCALE, 320 * SCALE);
    cairo_t* pCairo = tCanvas.Cairo();
    cairo_surface_t* pAtlas = AtlasSurface(tLevelAtlas);
    // The game's screen: 480 x 320, y up.
    cairo_scale(pCairo, SCALE, SCALE);
    cairo_translate(pCairo, 0, 320);
    cairo_scale(pCairo, 1, -1);
    DrawSprite(pCairo, pAtlas, LEVEL_BACKGROUND, 0, 0, 480, 320);
    DrawSprite(pCairo, pAtlas, LEVEL_PAUSE, 8, 244, 48, 48);
    std::vector<sTwig> tTwigs;
    std::vector<cairo_matrix_t> tLeaves;
    cairo_save(pCairo);
    cairo_translate(pCairo, 240, 146);
    for (int i = 0; i < 5; ++i)
    {
        const double dAngle = -80.0 + 40.0 * i;
        DrawBranch(pCairo, pAtlas, dAngle, std::fabs(dAngle) * 0.2 / 90.0 + 0.8, 2, true, tTwigs,
                   tLeaves);
    }
    cairo_restore(pCairo);
    // Wide basket strips as at the start of a game: the baskets of types 0 and 1 (baskets 1
    // and 2) in colour, the other two still grey.
    const int tCellOfBasket[4] = {4, 0, 1, 4};
    for (int iBasket = 0; iBasket < 4; ++iBasket)
    {
        const int iLeft = LEVEL_BASKET_WIDE.iLeft + tCellOfBasket[iBasket] * 64 + 2;
        DrawSprite(pCairo, pAtlas,
                   {LEVEL_BASKET_WIDE.iTop, LEVEL_BASKET_WIDE.iBottom, iLeft, iLeft + 60},
                   120 * iBasket, 0, 120, 16);
    }
    for (const cairo_matrix_t& tMatrix : tLeaves)
    {
        cairo_save(pCairo);
        cairo_set_matrix(pCairo, &tMatrix);
        DrawSprite(pCairo, pAtlas, LEVEL_LEAF, -16, 112, 32, -112);
        cairo_restore(pCairo);
    }
    // Some pommos on the twigs, one being stretched, one fallen.
    const int tPlaces[7][3] = {{1, 2, 45},  {4, 0, 55},  {7, 4, 60}, {10, 3, 40},
                               {13, 1, 70}, {16, 5, 50}, {18, 2, 65}};
    const int tTypes[7] = {0, 1, 0, 1, 0, 1, 0};
    cairo_save(pCairo);
    cairo_identity_matrix(pCairo);
    for (int i = 0; i < 7; ++i)
    {
        const sTwig& tTwig = tTwigs[tPlaces[i][0]];
        const double dT = tPlaces[i][2] / 100.0;
        const double dX = (tTwig.dBaseX + (tTwig.dTipX - tTwig.dBaseX) * dT) / SCALE;
        const double dY = 320.0 - (tTwig.dBaseY + (tTwig.dTipY - tTwig.dBaseY) * dT) / SCALE;
        const int iType = tTypes[i];
        const int iFrame = tPlaces[i][1];
        const sAtlasRect tR = LEVEL_POMMO[iType];
        const sAtlasRect tF = {tR.iTop, tR.iBottom, tR.iLeft + iFrame * POMMO_FRAME_STEP,
                               tR.iRight + iFrame * POMMO_FRAME_STEP};
        cairo_save(pCairo);
        cairo_scale(pCairo, SCALE, SCALE);
        cairo_translate(pCairo, 0, 320);
        cairo_scale(pCairo, 1, -1);
        cairo_translate(pCairo, dX, dY);
        const double dSize = (iFrame == 0) ? 0.28 : 0.4;
        cairo_scale(pCairo, dSize, dSize);
        DrawSprite(pCairo, pAtlas, tF, -tR.Width() / 2.0, -tR.Height(), tR.Width(), tR.Height());
        cairo_restore(pCairo);
    }
    cairo_restore(pCairo);
    // A pommo being dragged (stretched) and one fallen on the ground.
    {
        const sAtlasRect tR = LEVEL_POMMO[1];
        const sAtlasRect tF = {tR.iTop, tR.iBottom, tR.iLeft + 7 * POMMO_FRAME_STEP,
                               tR.iRight + 7 * POMMO_FRAME_STEP};
        cairo_save(pCairo);
        cairo_translate(pCairo, 330, 120);
        cairo_scale(pCairo, 0.4 * 0.85, 0.4 * 1.5);
        DrawSprite(pCairo, pAtlas, tF, -tR.Width() / 2.0, -tR.Height(), tR.Width(), tR.Height());
        cairo_restore(pCairo);
        const sAtlasRect tR0 = LEVEL_POMMO[0];
        const sAtlasRect tF0 = {tR0.iTop, tR0.iBottom, tR0.iLeft + 6 * POMMO_FRAME_STEP,
                                tR0.iRight + 6 * POMMO_FRAME_STEP};
        cairo_save(pCairo);
        cairo_translate(pCairo, 150, 32);
        cairo_scale(pCairo, 0.4, 0.4);
        DrawSprite(pCairo, pAtlas, tF0, -tR0.Width() / 2.0, -tR0.Height(), tR0.Width(),
                   tR0.Height());
        cairo_restore(pCairo);
    }
    for (int iBasket = 0; iBasket < 4; ++iBasket)
    {
        const int iLeft = LEVEL_BASKET_THIN.iLeft + tCellOfBasket[iBasket] * 64 + 2;
        DrawSprite(pCairo, pAtlas,
                   {LEVEL_BASKET_THIN.iTop, LEVEL_BASKET_THIN.iBottom, iLeft, iLeft + 60},
                   120 * iBasket, 0, 120, 8);
    }
    // The corner readouts, roughly as the game prints them.
    cairo_identity_matrix(pCairo);
    cairo_scale(pCairo, SCALE, SCALE);
    PAINT_SetFont(pCairo, 19);
    const sColour tInk = PAINT_INK;
    PAINT_Text(pCairo, "Hi Score: 1250", 8, 24, 0, {1, 1, 1, 1}, tInk, 2.0);
    const double dScoreW = PAINT_TextWidth(pCairo, "340");
    PAINT_Text(pCairo, "340", 472 - dScoreW, 24, 0, {1, 1, 1, 1}, tInk, 2.0);
    PAINT_Text(pCairo, "x2", 472 - PAINT_TextWidth(pCairo, "x2"), 48, 0, {0, 0.25, 0.75, 1}, tInk,
               2.0);
    PAINT_Text(pCairo, "3", 472 - PAINT_TextWidth(pCairo, "3"), 296, 0, {0, 1, 0, 1}, tInk, 2.0);
    cairo_surface_destroy(pAtlas);
    return PREVIEW_WritePNG(strPath, tCanvas.ToImage());
}

bool PREVIEW_WriteMockTitle(const std::string& strPath, const CImageRGBA& tFrontAtlas)
{
    constexpr int SCALE = 2;
    CCanvas tCanvas(480 * SCALE, 320 * SCALE);
    cairo_t* pCairo = tCanvas.Cairo();
    cairo_surface_t* pAtlas = AtlasSurface(tFrontAtlas);
    cairo_scale(pCairo, SCALE, SCALE);
    cairo_translate(pCairo, 0, 320);
    cairo_scale(pCairo, 1, -1);
    DrawSprite(pCairo, pAtlas, FRONT_TITLE_BACKGROUND, 0, 0, 480, 320);
    const sAtlasRect& tLeft = FRONT_RECTS[FRONT_TITLE_LEFT];
    const sAtlasRect& tRight = FRONT_RECTS[FRONT_TITLE_RIGHT];
    const sAtlasRect& tLogo = FRONT_RECTS[FRONT_LOGO];
    DrawSprite(pCairo, pAtlas, tLeft, 0, TITLE_Y, tLeft.Width(), tLeft.Height());
    DrawSprite(pCairo, pAtlas, tRight, TITLE_RIGHT_X, TITLE_Y, tRight.Width(), tRight.Height());
    DrawSprite(pCairo, pAtlas, tLogo, FRONT_SCREEN_WIDTH - tLogo.Width() - LOGO_MARGIN, LOGO_MARGIN,
               tLogo.Width(), tLogo.Height());
    // The menu words, about as the game's font writes them (scale 1.2, brown).
    cairo_identity_matrix(pCairo);
    cairo_scale(pCairo, SCALE, SCALE);
    PAINT_SetFont(pCairo, 27);
    const char* tItems[4] = {"Play", "Options", "Winterfall", "Free Games"};
    for (int i = 0; i < 4; ++i)
    {
        const sColour tColour = i == 0 ? sColour{0.6, 0.48, 0.28, 1} : sColour{0.3, 0.24, 0.14, 1};
        PAINT_Text(pCairo, tItems[i], MENU_X, FRONT_SCREEN_HEIGHT - MENU_MAIN_ROWS[i] + 10, 1,
                   tColour, PAINT_INK, 2.0);
    }
    cairo_surface_destroy(pAtlas);
    return PREVIEW_WritePNG(strPath, tCanvas.ToImage());
}

bool PREVIEW_WriteSoundSheet(const std::string& strPath,
                             const std::vector<std::vector<float>>& tSounds,
                             const std::vector<std::string>& tNames, int iRate)
{
    constexpr int ROW = 110;
    constexpr int LABEL = 110;
    constexpr int COLUMNS = 700;  // 2.5 seconds
    constexpr int WINDOW = 512;
    const double dSecondsPerColumn = 2.5 / COLUMNS;
    const int iW = LABEL + COLUMNS;
    const int iH = ROW * int(tSounds.size());
    CImageRGBA tImage(iW, iH);
    for (std::size_t s = 0; s < tSounds.size(); ++s)
    {
        const std::vector<float>& tSound = tSounds[s];
        const int iTop = int(s) * ROW;
        for (int iC = 0; iC < COLUMNS; ++iC)
        {
            const long lCentre = long(iC * dSecondsPerColumn * iRate);
            std::vector<std::complex<double>> tFrame(WINDOW);
            float fPeak = 0.0f;
            for (int k = 0; k < WINDOW; ++k)
            {
                const long lAt = lCentre - WINDOW / 2 + k;
                const double dSample =
                    (lAt >= 0 && lAt < long(tSound.size())) ? tSound[std::size_t(lAt)] : 0.0;
                tFrame[std::size_t(k)] = dSample * (0.5 - 0.5 * std::cos(2 * M_PI * k / WINDOW));
                if (std::abs(k - WINDOW / 2) < int(dSecondsPerColumn * iRate / 2) + 1)
                {
                    fPeak = std::max(fPeak, float(std::fabs(dSample)));
                }
            }
            Fft(tFrame);
            // Bottom 30 rows: waveform peak; above: spectrogram up to 8 kHz.
            const int iSpecRows = ROW - 34;
            for (int iR = 0; iR < iSpecRows; ++iR)
            {
                const double dHz = 8000.0 * (iSpecRows - 1 - iR) / iSpecRows;
                const std::size_t uiBin = std::size_t(dHz / iRate * WINDOW);
                const double dDb = 20 * std::log10(std::abs(tFrame[uiBin]) + 1e-6);
                const double dLevel = std::clamp((dDb + 40.0) / 60.0, 0.0, 1.0);
                std::uint8_t* pP = tImage.At(LABEL + iC, iTop + iR);
                pP[0] = std::uint8_t(255 * std::clamp(dLevel * 1.6, 0.0, 1.0));
                pP[1] = std::uint8_t(255 * std::clamp(dLevel * 1.6 - 0.6, 0.0, 1.0));
                pP[2] =
                    std::uint8_t(255 * std::clamp(0.4 + dLevel - dLevel * dLevel * 1.2, 0.0, 1.0));
                pP[3] = 255;
            }
            for (int iR = 0; iR < 30; ++iR)
            {
                std::uint8_t* pP = tImage.At(LABEL + iC, iTop + ROW - 32 + iR);
                const bool bOn = std::fabs(15 - iR) <= fPeak * 15.0f;
                pP[0] = bOn ? 120 : 20;
                pP[1] = bOn ? 220 : 20;
                pP[2] = bOn ? 120 : 30;
                pP[3] = 255;
            }
        }
    }
    CCanvas tCanvas(iW, iH);
    cairo_t* pCairo = tCanvas.Cairo();
    cairo_surface_t* pSheet = AtlasSurface(tImage);
    cairo_set_source_surface(pCairo, pSheet, 0, 0);
    cairo_paint(pCairo);
    cairo_surface_destroy(pSheet);
    PAINT_SetFont(pCairo, 14);
    for (std::size_t s = 0; s < tNames.size(); ++s)
    {
        cairo_rectangle(pCairo, 0, double(s) * ROW, LABEL, ROW);
        cairo_set_source_rgb(pCairo, 0.95, 0.93, 0.88);
        cairo_fill(pCairo);
        PAINT_Text(pCairo, tNames[s].c_str(), 6, double(s) * ROW + ROW / 2.0, 0, {0.1, 0.1, 0.1, 1},
                   {0, 0, 0, 1}, 0.0);
    }
    return PREVIEW_WritePNG(strPath, tCanvas.ToImage());
}
