#include "Pommos.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr double OUTLINE = 3.5;  // body outline outside the shape, in atlas pixels
constexpr double EYE_RX = 5.5;
constexpr double EYE_RY = 7.5;

const sColour STALK = PAINT_Hex(0x7A4B28);
const sColour LEAF = PAINT_Hex(0x5DBB3F);
const sColour CHEEK = {1.0, 0.45, 0.55, 0.45};

enum eFrame
{
    FRAME_GROWING,
    FRAME_YAWN,
    FRAME_RIPE,
    FRAME_BLINK_HALF,
    FRAME_BLINK_SHUT,
    FRAME_OVERRIPE,
    FRAME_FALLEN,
    FRAME_STRETCHED
};

struct sBox
{
    double dCX, dCY, dRX, dRY;  // centre and half sizes of the body
};

// Per type: where the face sits on the body (fractions of the half sizes).
struct sFaceLayout
{
    double dEyeY, dEyeX, dMouthY;
};
constexpr sFaceLayout FACES[POMMO_TYPES] = {
    {0.02, 0.36, 0.36}, {0.26, 0.34, 0.56}, {0.20, 0.36, 0.50}, {0.02, 0.30, 0.36}};

// Body outlines in a unit box (x and y in -1..1, y down), as cairo paths under the current
// transformation.
void ApplePath(cairo_t* pCairo)
{
    cairo_move_to(pCairo, 0, -0.72);
    cairo_curve_to(pCairo, 0.25, -1.02, 0.95, -1.05, 1.0, -0.25);
    cairo_curve_to(pCairo, 1.04, 0.45, 0.62, 1.0, 0.24, 0.98);
    cairo_curve_to(pCairo, 0.12, 0.97, -0.12, 0.97, -0.24, 0.98);
    cairo_curve_to(pCairo, -0.62, 1.0, -1.04, 0.45, -1.0, -0.25);
    cairo_curve_to(pCairo, -0.95, -1.05, -0.25, -1.02, 0, -0.72);
    cairo_close_path(pCairo);
}

void PearPath(cairo_t* pCairo)
{
    cairo_move_to(pCairo, 0, -1.0);
    cairo_curve_to(pCairo, 0.34, -1.0, 0.50, -0.74, 0.52, -0.46);
    cairo_curve_to(pCairo, 0.55, -0.16, 1.0, 0.02, 1.0, 0.46);
    cairo_curve_to(pCairo, 1.0, 0.86, 0.60, 1.0, 0, 1.0);
    cairo_curve_to(pCairo, -0.60, 1.0, -1.0, 0.86, -1.0, 0.46);
    cairo_curve_to(pCairo, -1.0, 0.02, -0.55, -0.16, -0.52, -0.46);
    cairo_curve_to(pCairo, -0.50, -0.74, -0.34, -1.0, 0, -1.0);
    cairo_close_path(pCairo);
}

void DropPath(cairo_t* pCairo)
{
    cairo_move_to(pCairo, 0, -1.0);
    cairo_curve_to(pCairo, 0.30, -0.84, 1.0, -0.38, 1.0, 0.30);
    cairo_curve_to(pCairo, 1.0, 0.80, 0.56, 1.0, 0, 1.0);
    cairo_curve_to(pCairo, -0.56, 1.0, -1.0, 0.80, -1.0, 0.30);
    cairo_curve_to(pCairo, -1.0, -0.38, -0.30, -0.84, 0, -1.0);
    cairo_close_path(pCairo);
}

void LobedPath(cairo_t* pCairo)
{
    // Three overlapping lobes, filled as one shape.
    const double tLobes[3][4] = {
        {-0.46, 0.06, 0.54, 0.90}, {0.46, 0.06, 0.54, 0.90}, {0.0, 0.0, 0.60, 1.0}};
    for (const auto& tL : tLobes)
    {
        cairo_save(pCairo);
        cairo_translate(pCairo, tL[0], tL[1]);
        cairo_scale(pCairo, tL[2], tL[3]);
        cairo_new_sub_path(pCairo);
        cairo_arc(pCairo, 0, 0, 1, 0, 2 * M_PI);
        cairo_close_path(pCairo);
        cairo_restore(pCairo);
    }
}

void BodyPath(cairo_t* pCairo, int iType, const sBox& tBox)
{
    cairo_save(pCairo);
    cairo_translate(pCairo, tBox.dCX, tBox.dCY);
    cairo_scale(pCairo, tBox.dRX, tBox.dRY);
    switch (iType)
    {
        case 0:
            ApplePath(pCairo);
            break;
        case 1:
            PearPath(pCairo);
            break;
        case 2:
            DropPath(pCairo);
            break;
        default:
            LobedPath(pCairo);
            break;
    }
    cairo_restore(pCairo);
}

// Top of the body's outline at the centre line, where the stalk goes in.
double StalkBase(int iType, const sBox& tBox)
{
    const double tTop[POMMO_TYPES] = {-0.72, -1.0, -1.0, -0.92};
    return tBox.dCY + tBox.dRY * tTop[iType] + 3.0;
}

// The body's colour as it grows, ripe and overripe (also fallen). Each type keeps its own hue
// at every stage, and the four stay apart in lightness as well as in hue, so that they are
// told apart also by players who confuse red with green or blue with purple, and none of them
// passes for the grey of a basket not yet in play.
constexpr std::uint32_t STAGE_COLOURS[POMMO_TYPES][3] = {
    {0xDB8757, 0xEC4436, 0xB6533E},  // red: orange while it grows, brown-red overripe
    {0xE3D050, 0xFAC42A, 0xBD9638},  // yellow: green-yellow, then ochre
    {0x9672C6, 0x7236B3, 0x553477},  // purple: lilac, then plum
    {0x8EC3F7, 0x4D9EF0, 0x3A74C0},  // blue: sky blue, then deep blue
};

sColour FrameColour(int iType, int iFrame)
{
    int iStage = 1;
    if (iFrame == FRAME_GROWING || iFrame == FRAME_YAWN)
    {
        iStage = 0;
    }
    else if (iFrame == FRAME_OVERRIPE || iFrame == FRAME_FALLEN)
    {
        iStage = 2;
    }
    return PAINT_Hex(STAGE_COLOURS[iType][iStage]);
}

sColour OutlineFor(const sColour& tBody)
{
    return PAINT_Mix(PAINT_Darken(tBody, 0.68), PAINT_INK, 0.45);
}

void StrokeInk(cairo_t* pCairo, double dWidth, const sColour& tColour = PAINT_INK)
{
    PAINT_Set(pCairo, tColour);
    cairo_set_line_width(pCairo, dWidth);
    cairo_stroke(pCairo);
}

void Ellipse(cairo_t* pCairo, double dX, double dY, double dRX, double dRY)
{
    cairo_save(pCairo);
    cairo_translate(pCairo, dX, dY);
    cairo_scale(pCairo, dRX, dRY);
    cairo_new_sub_path(pCairo);
    cairo_arc(pCairo, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(pCairo);
}

void Stalk(cairo_t* pCairo, int iType, double dCX, double dTop, double dBase)
{
    const double dLean = iType == 1 ? 4.0 : (iType == 2 ? -3.0 : 2.5);
    cairo_move_to(pCairo, dCX + dLean * 0.4, dTop + 2.0);
    cairo_curve_to(pCairo, dCX + dLean, dTop + (dBase - dTop) * 0.35, dCX,
                   dTop + (dBase - dTop) * 0.6, dCX, dBase);
    cairo_path_t* pPath = cairo_copy_path(pCairo);
    StrokeInk(pCairo, 8.0);
    cairo_append_path(pCairo, pPath);
    StrokeInk(pCairo, 4.0, STALK);
    cairo_path_destroy(pPath);
}

// Type marks drawn on the body: ribs on the lobed one, the crease of the drop, freckles on
// the pear, a shine line on the apple.
void TypeMarks(cairo_t* pCairo, int iType, const sBox& tBox, const sColour& tBody)
{
    const sColour tLine = PAINT_WithAlpha(PAINT_Darken(tBody, 0.45), 0.75);
    if (iType == 3)
    {
        for (int iSide = -1; iSide <= 1; iSide += 2)
        {
            const double dX = tBox.dCX + iSide * tBox.dRX * 0.30;
            cairo_move_to(pCairo, dX - iSide * tBox.dRX * 0.06, tBox.dCY - tBox.dRY * 0.78);
            cairo_curve_to(pCairo, dX + iSide * tBox.dRX * 0.10, tBox.dCY - tBox.dRY * 0.3,
                           dX + iSide * tBox.dRX * 0.10, tBox.dCY + tBox.dRY * 0.45, dX,
                           tBox.dCY + tBox.dRY * 0.86);
            StrokeInk(pCairo, 2.5, tLine);
        }
    }
    else if (iType == 2)
    {
        cairo_move_to(pCairo, tBox.dCX - tBox.dRX * 0.05, tBox.dCY - tBox.dRY * 0.86);
        cairo_curve_to(pCairo, tBox.dCX - tBox.dRX * 0.55, tBox.dCY - tBox.dRY * 0.45,
                       tBox.dCX - tBox.dRX * 0.75, tBox.dCY - tBox.dRY * 0.05,
                       tBox.dCX - tBox.dRX * 0.72, tBox.dCY + tBox.dRY * 0.25);
        StrokeInk(pCairo, 2.2, PAINT_WithAlpha(tLine, 0.5));
    }
    else if (iType == 1)
    {
        CRandom tRandom(77);
        PAINT_Set(pCairo, PAINT_WithAlpha(PAINT_Darken(tBody, 0.25), 0.55));
        for (int i = 0; i < 9; ++i)
        {
            const double dA = tRandom.Range(0, 2 * M_PI);
            const double dR = tRandom.Range(0.35, 0.85);
            Ellipse(pCairo, tBox.dCX + std::cos(dA) * dR * tBox.dRX * 0.85,
                    tBox.dCY + tBox.dRY * 0.30 + std::sin(dA) * dR * tBox.dRY * 0.55, 1.1, 1.1);
            cairo_fill(pCairo);
        }
    }
}

void Spots(cairo_t* pCairo, const sBox& tBox, const sColour& tBody, std::uint32_t uiSeed)
{
    CRandom tRandom(uiSeed);
    const sColour tSpot =
        PAINT_WithAlpha(PAINT_Mix(PAINT_Darken(tBody, 0.45), PAINT_Hex(0x4A2E16), 0.5), 0.8);
    const double tPlaces[5][3] = {{-0.62, -0.35, 1.0},
                                  {0.58, -0.20, 0.8},
                                  {-0.40, 0.55, 0.7},
                                  {0.50, 0.60, 1.1},
                                  {0.08, -0.62, 0.6}};
    for (const auto& tP : tPlaces)
    {
        const double dR = (3.0 + tRandom.Range(0, 2.0)) * tP[2];
        PAINT_Set(pCairo, tSpot);
        Ellipse(pCairo, tBox.dCX + tP[0] * tBox.dRX, tBox.dCY + tP[1] * tBox.dRY, dR * 1.2, dR);
        cairo_fill(pCairo);
    }
}

void EyeOpen(cairo_t* pCairo, double dX, double dY, double dScale)
{
    PAINT_Set(pCairo, PAINT_INK);
    Ellipse(pCairo, dX, dY, EYE_RX * dScale, EYE_RY * dScale);
    cairo_fill(pCairo);
    cairo_set_source_rgb(pCairo, 1, 1, 1);
    Ellipse(pCairo, dX - EYE_RX * 0.32 * dScale, dY - EYE_RY * 0.36 * dScale, 2.3 * dScale,
            2.3 * dScale);
    cairo_fill(pCairo);
    Ellipse(pCairo, dX + EYE_RX * 0.35 * dScale, dY + EYE_RY * 0.38 * dScale, 1.1 * dScale,
            1.1 * dScale);
    cairo_fill(pCairo);
}

// An eye covered from above by its lid down to dCover (0 open .. 1 shut); dSlant tilts the lid
// line (positive: lower at the outer corner, iSide -1 left eye, +1 right eye).
void EyeLidded(cairo_t* pCairo, double dX, double dY, double dCover, double dSlant, int iSide)
{
    const double dLidY = dY - EYE_RY + 2 * EYE_RY * dCover;
    const double dInnerY = dLidY - dSlant;
    const double dOuterY = dLidY + dSlant;
    const double dLeftY = iSide < 0 ? dOuterY : dInnerY;
    const double dRightY = iSide < 0 ? dInnerY : dOuterY;
    cairo_save(pCairo);
    cairo_move_to(pCairo, dX - EYE_RX - 3, dLeftY);
    cairo_line_to(pCairo, dX + EYE_RX + 3, dRightY);
    cairo_line_to(pCairo, dX + EYE_RX + 3, dY + EYE_RY + 3);
    cairo_line_to(pCairo, dX - EYE_RX - 3, dY + EYE_RY + 3);
    cairo_close_path(pCairo);
    cairo_clip(pCairo);
    EyeOpen(pCairo, dX, dY, 1.0);
    cairo_restore(pCairo);
    // The lid's edge, curved a little over the eye.
    cairo_move_to(pCairo, dX - EYE_RX - 1.5, dLeftY + 0.5);
    cairo_curve_to(pCairo, dX - EYE_RX * 0.4, dLeftY - 2.0 + (dRightY - dLeftY) * 0.3,
                   dX + EYE_RX * 0.4, dRightY - 2.0 - (dRightY - dLeftY) * 0.3, dX + EYE_RX + 1.5,
                   dRightY + 0.5);
    StrokeInk(pCairo, 2.8);
}

void EyeShut(cairo_t* pCairo, double dX, double dY, double dCurve)
{
    cairo_move_to(pCairo, dX - EYE_RX - 0.5, dY);
    cairo_curve_to(pCairo, dX - EYE_RX * 0.5, dY + dCurve, dX + EYE_RX * 0.5, dY + dCurve,
                   dX + EYE_RX + 0.5, dY);
    StrokeInk(pCairo, 3.0);
}

void EyeSqueezed(cairo_t* pCairo, double dX, double dY, int iSide)
{
    // ">" on the left eye, "<" on the right.
    const double dOut = -iSide * EYE_RX;
    cairo_move_to(pCairo, dX + dOut, dY - EYE_RY * 0.6);
    cairo_line_to(pCairo, dX - dOut, dY);
    cairo_line_to(pCairo, dX + dOut, dY + EYE_RY * 0.6);
    StrokeInk(pCairo, 3.0);
}

void EyeDizzy(cairo_t* pCairo, double dX, double dY, int iSide)
{
    const double dTurns = 2.2;
    for (int i = 0; i <= 60; ++i)
    {
        const double dT = i / 60.0;
        const double dA = iSide * dT * dTurns * 2 * M_PI;
        const double dR = 0.6 + dT * (EYE_RX + 1.2);
        const double dPX = dX + std::cos(dA) * dR;
        const double dPY = dY + std::sin(dA) * dR;
        if (i == 0)
        {
            cairo_move_to(pCairo, dPX, dPY);
        }
        else
        {
            cairo_line_to(pCairo, dPX, dPY);
        }
    }
    StrokeInk(pCairo, 2.2);
}

void EyeWide(cairo_t* pCairo, double dX, double dY)
{
    Ellipse(pCairo, dX, dY, EYE_RX * 1.15, EYE_RY * 1.15);
    PAINT_FillOutlinedColour(pCairo, {1, 1, 1, 1}, PAINT_INK, 1.4);
    PAINT_Set(pCairo, PAINT_INK);
    Ellipse(pCairo, dX, dY + 1.0, 2.6, 3.0);
    cairo_fill(pCairo);
}

void Cheeks(cairo_t* pCairo, double dCX, double dEyeY, double dEyeDX)
{
    PAINT_Set(pCairo, CHEEK);
    for (int iSide = -1; iSide <= 1; iSide += 2)
    {
        Ellipse(pCairo, dCX + iSide * (dEyeDX + 4.0), dEyeY + EYE_RY + 3.0, 5.0, 3.2);
        cairo_fill(pCairo);
    }
}

void MouthSmile(cairo_t* pCairo, double dX, double dY, double dHalf, double dDepth)
{
    cairo_move_to(pCairo, dX - dHalf, dY);
    cairo_curve_to(pCairo, dX - dHalf * 0.5, dY + dDepth, dX + dHalf * 0.5, dY + dDepth, dX + dHalf,
                   dY);
    StrokeInk(pCairo, 3.0);
}

void MouthOpen(cairo_t* pCairo, double dX, double dY, double dRX, double dRY)
{
    Ellipse(pCairo, dX, dY, dRX, dRY);
    PAINT_FillOutlinedColour(pCairo, PAINT_Hex(0x7A1E22), PAINT_INK, 1.6);
    cairo_save(pCairo);
    Ellipse(pCairo, dX, dY, dRX, dRY);
    cairo_clip(pCairo);
    PAINT_Set(pCairo, PAINT_Hex(0xF07A8A));
    Ellipse(pCairo, dX, dY + dRY * 0.85, dRX * 0.8, dRY * 0.5);
    cairo_fill(pCairo);
    cairo_restore(pCairo);
}

void MouthWavy(cairo_t* pCairo, double dX, double dY, double dHalf, double dWave)
{
    for (int i = 0; i <= 24; ++i)
    {
        const double dT = i / 24.0;
        const double dPX = dX - dHalf + 2.0 * dHalf * dT;
        const double dPY = dY + dWave * std::sin(dT * 3.0 * M_PI);
        if (i == 0)
        {
            cairo_move_to(pCairo, dPX, dPY);
        }
        else
        {
            cairo_line_to(pCairo, dPX, dPY);
        }
    }
    StrokeInk(pCairo, 2.6);
}

void Star(cairo_t* pCairo, double dX, double dY, double dR)
{
    for (int i = 0; i < 10; ++i)
    {
        const double dA = -M_PI / 2 + i * M_PI / 5;
        const double dRad = (i % 2 == 0) ? dR : dR * 0.45;
        if (i == 0)
        {
            cairo_move_to(pCairo, dX + std::cos(dA) * dRad, dY + std::sin(dA) * dRad);
        }
        else
        {
            cairo_line_to(pCairo, dX + std::cos(dA) * dRad, dY + std::sin(dA) * dRad);
        }
    }
    cairo_close_path(pCairo);
    PAINT_FillOutlinedColour(pCairo, PAINT_Hex(0xFFE14D), PAINT_INK, 1.2);
}

void Face(cairo_t* pCairo, int iType, int iFrame, const sBox& tBox)
{
    const sFaceLayout& tLayout = FACES[iType];
    const double dEyeY = tBox.dCY + tLayout.dEyeY * tBox.dRY;
    const double dEyeDX = std::max(tLayout.dEyeX * tBox.dRX, EYE_RX + 4.0);
    const double dMouthY = tBox.dCY + tLayout.dMouthY * tBox.dRY;
    const double dLX = tBox.dCX - dEyeDX;
    const double dRX = tBox.dCX + dEyeDX;
    switch (iFrame)
    {
        case FRAME_GROWING:
            EyeShut(pCairo, dLX, dEyeY, 4.0);
            EyeShut(pCairo, dRX, dEyeY, 4.0);
            Cheeks(pCairo, tBox.dCX, dEyeY, dEyeDX);
            MouthSmile(pCairo, tBox.dCX, dMouthY, 4.5, 3.5);
            break;
        case FRAME_YAWN:
            EyeSqueezed(pCairo, dLX, dEyeY, -1);
            EyeSqueezed(pCairo, dRX, dEyeY, 1);
            MouthOpen(pCairo, tBox.dCX, dMouthY + 3.0, 6.5, 8.0);
            break;
        case FRAME_RIPE:
        case FRAME_BLINK_HALF:
        case FRAME_BLINK_SHUT:
            if (iFrame == FRAME_RIPE)
            {
                EyeOpen(pCairo, dLX, dEyeY, 1.0);
                EyeOpen(pCairo, dRX, dEyeY, 1.0);
            }
            else if (iFrame == FRAME_BLINK_HALF)
            {
                EyeLidded(pCairo, dLX, dEyeY, 0.55, 0.0, -1);
                EyeLidded(pCairo, dRX, dEyeY, 0.55, 0.0, 1);
            }
            else
            {
                EyeShut(pCairo, dLX, dEyeY + 2.0, 4.5);
                EyeShut(pCairo, dRX, dEyeY + 2.0, 4.5);
            }
            Cheeks(pCairo, tBox.dCX, dEyeY, dEyeDX);
            MouthSmile(pCairo, tBox.dCX, dMouthY, 7.5, 7.0);
            break;
        case FRAME_OVERRIPE:
            EyeLidded(pCairo, dLX, dEyeY, 0.45, 2.5, -1);
            EyeLidded(pCairo, dRX, dEyeY, 0.45, 2.5, 1);
            MouthWavy(pCairo, tBox.dCX, dMouthY + 2.0, 7.0, 2.2);
            break;
        case FRAME_FALLEN:
            EyeDizzy(pCairo, dLX, dEyeY, 1);
            EyeDizzy(pCairo, dRX, dEyeY, -1);
            MouthWavy(pCairo, tBox.dCX, dMouthY, 7.5, 2.8);
            break;
        default:  // stretched
            EyeWide(pCairo, dLX, dEyeY);
            EyeWide(pCairo, dRX, dEyeY);
            MouthOpen(pCairo, tBox.dCX, dMouthY + 2.0, 4.0, 5.0);
            break;
    }
}
}  // namespace

sColour POMMO_Colour(int iType)
{
    return PAINT_Hex(STAGE_COLOURS[std::clamp(iType, 0, POMMO_TYPES - 1)][1]);
}

void POMMO_PaintLeaf(cairo_t* pCairo, double dX, double dY, double dAngle, double dLength,
                     double dWidth)
{
    POMMO_LeafPath(pCairo, dX, dY, dAngle, dLength, dWidth);
    cairo_pattern_t* pFill = PAINT_Vertical(dY - dLength * 0.5, PAINT_Lighten(LEAF, 0.25),
                                            dY + dLength * 0.5, PAINT_Darken(LEAF, 0.15));
    PAINT_FillOutlined(pCairo, pFill, PAINT_Darken(LEAF, 0.65), 1.8);
    cairo_pattern_destroy(pFill);
    // Midrib.
    cairo_move_to(pCairo, dX, dY);
    cairo_line_to(pCairo, dX + std::cos(dAngle) * dLength * 0.8,
                  dY + std::sin(dAngle) * dLength * 0.8);
    StrokeInk(pCairo, 1.2, PAINT_Darken(LEAF, 0.4));
}

void POMMO_LeafPath(cairo_t* pCairo, double dX, double dY, double dAngle, double dLength,
                    double dWidth)
{
    cairo_save(pCairo);
    cairo_translate(pCairo, dX, dY);
    cairo_rotate(pCairo, dAngle);
    cairo_move_to(pCairo, 0, 0);
    cairo_curve_to(pCairo, dLength * 0.25, -dWidth * 0.75, dLength * 0.7, -dWidth * 0.55, dLength,
                   0);
    cairo_curve_to(pCairo, dLength * 0.7, dWidth * 0.55, dLength * 0.25, dWidth * 0.75, 0, 0);
    cairo_close_path(pCairo);
    cairo_restore(pCairo);
}

void POMMO_Paint(cairo_t* pCairo, int iType, int iFrame, double dX, double dY, double dW, double dH)
{
    iType = std::clamp(iType, 0, POMMO_TYPES - 1);
    iFrame = std::clamp(iFrame, 0, POMMO_FRAMES - 1);
    const double dStalkRoom = iType == 3 ? 16.0 : 15.0;
    const double dMargin = OUTLINE + 1.5;
    double dLeft = dX + dMargin;
    double dRight = dX + dW - dMargin;
    double dTop = dY + dStalkRoom;
    double dBottom = dY + dH - dMargin - 4.0;
    if (iFrame == FRAME_STRETCHED)
    {
        const double dInset = (dRight - dLeft) * 0.09;
        dLeft += dInset;
        dRight -= dInset;
        dTop -= 3.0;
        dBottom = dY + dH - dMargin;
    }
    else if (iFrame == FRAME_FALLEN)
    {
        // Flattened and lower: lying on the ground, its stalk still on top.
        dTop = dY + dStalkRoom + 8.0;
        dBottom = dY + dH * 0.64;
    }
    else
    {
        const double dInset = (dRight - dLeft) * 0.04;
        dLeft += dInset;
        dRight -= dInset;
    }
    const sBox tBox = {(dLeft + dRight) / 2, (dTop + dBottom) / 2, (dRight - dLeft) / 2,
                       (dBottom - dTop) / 2};
    const sColour tBody = FrameColour(iType, iFrame);
    const double dCX = dX + dW / 2;

    cairo_save(pCairo);
    cairo_new_path(pCairo);
    Stalk(pCairo, iType, dCX, dY, StalkBase(iType, tBox));
    const double dStalkY = dY + (StalkBase(iType, tBox) - dY) * 0.45;
    if (iType == 0)
    {
        POMMO_PaintLeaf(pCairo, dCX + 2.5, dStalkY, -0.35, 20.0, 11.0);
    }
    else if (iType == 2)
    {
        POMMO_PaintLeaf(pCairo, dCX - 1.0, dStalkY + 1.0, M_PI + 0.45, 16.0, 9.0);
        POMMO_PaintLeaf(pCairo, dCX + 1.0, dStalkY + 2.0, -0.25, 13.0, 8.0);
    }
    else if (iType == 3)
    {
        POMMO_PaintLeaf(pCairo, dCX + 2.0, dStalkY + 3.0, 0.05, 22.0, 12.0);
        // A curly tendril on the other side.
        cairo_move_to(pCairo, dCX - 1.0, dStalkY + 4.0);
        cairo_curve_to(pCairo, dCX - 10.0, dStalkY - 2.0, dCX - 18.0, dStalkY + 6.0, dCX - 13.0,
                       dStalkY + 9.0);
        cairo_curve_to(pCairo, dCX - 9.0, dStalkY + 11.0, dCX - 8.0, dStalkY + 5.0, dCX - 11.0,
                       dStalkY + 5.0);
        StrokeInk(pCairo, 1.8, PAINT_Darken(LEAF, 0.25));
    }

    BodyPath(pCairo, iType, tBox);
    cairo_pattern_t* pShade = PAINT_BallShade(tBox.dCX, tBox.dCY, tBox.dRX, tBox.dRY, tBody);
    PAINT_FillOutlined(pCairo, pShade, OutlineFor(tBody), OUTLINE);
    cairo_pattern_destroy(pShade);

    // Everything on the body stays inside it.
    BodyPath(pCairo, iType, tBox);
    cairo_clip(pCairo);
    TypeMarks(pCairo, iType, tBox, tBody);
    if (iFrame == FRAME_OVERRIPE || iFrame == FRAME_FALLEN)
    {
        Spots(pCairo, tBox, tBody, 11 + iType * 7 + iFrame);
    }
    // A soft reflected light along the lower rim.
    cairo_save(pCairo);
    cairo_translate(pCairo, tBox.dCX, tBox.dCY + tBox.dRY * 0.95);
    cairo_scale(pCairo, tBox.dRX * 0.8, tBox.dRY * 0.25);
    cairo_pattern_t* pRim = cairo_pattern_create_radial(0, 0, 0, 0, 0, 1);
    cairo_pattern_add_color_stop_rgba(pRim, 0, 1, 1, 1, 0.18);
    cairo_pattern_add_color_stop_rgba(pRim, 1, 1, 1, 1, 0);
    cairo_set_source(pCairo, pRim);
    cairo_arc(pCairo, 0, 0, 1, 0, 2 * M_PI);
    cairo_fill(pCairo);
    cairo_pattern_destroy(pRim);
    cairo_restore(pCairo);
    const double dGlossAlpha = (iFrame == FRAME_OVERRIPE || iFrame == FRAME_FALLEN) ? 0.35 : 0.75;
    PAINT_Gloss(pCairo, tBox.dCX - tBox.dRX * 0.45, tBox.dCY - tBox.dRY * 0.45, tBox.dRX * 0.26,
                tBox.dRY * 0.17, dGlossAlpha);
    cairo_reset_clip(pCairo);

    Face(pCairo, iType, iFrame, tBox);
    if (iFrame == FRAME_FALLEN)
    {
        Star(pCairo, dX + 10.0, dY + 9.0, 6.0);
        Star(pCairo, dX + dW - 11.0, dY + 13.0, 5.0);
    }
    cairo_restore(pCairo);
}
