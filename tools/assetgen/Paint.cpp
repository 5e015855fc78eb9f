#include "Paint.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace
{
std::string s_strFontPath = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
FT_Library s_pLibrary = nullptr;
FT_Face s_pFace = nullptr;
cairo_font_face_t* s_pFontFace = nullptr;

cairo_font_face_t* FontFace()
{
    if (s_pFontFace != nullptr)
    {
        return s_pFontFace;
    }
    if (FT_Init_FreeType(&s_pLibrary) != 0 ||
        FT_New_Face(s_pLibrary, s_strFontPath.c_str(), 0, &s_pFace) != 0)
    {
        std::printf("assetgen: cannot open the typeface %s\n", s_strFontPath.c_str());
        std::exit(1);
    }
    s_pFontFace = cairo_ft_font_face_create_for_ft_face(s_pFace, 0);
    return s_pFontFace;
}
}  // namespace

sColour PAINT_Mix(const sColour& tA, const sColour& tB, double dT)
{
    return {tA.r + (tB.r - tA.r) * dT, tA.g + (tB.g - tA.g) * dT, tA.b + (tB.b - tA.b) * dT,
            tA.a + (tB.a - tA.a) * dT};
}

sColour PAINT_Lighten(const sColour& tC, double dT)
{
    return PAINT_Mix(tC, {1, 1, 1, tC.a}, dT);
}

sColour PAINT_Darken(const sColour& tC, double dT)
{
    return PAINT_Mix(tC, {0, 0, 0, tC.a}, dT);
}

sColour PAINT_WithAlpha(const sColour& tC, double dAlpha)
{
    return {tC.r, tC.g, tC.b, dAlpha};
}

void PAINT_Set(cairo_t* pCairo, const sColour& tC)
{
    cairo_set_source_rgba(pCairo, tC.r, tC.g, tC.b, tC.a);
}

CCanvas::CCanvas(int iWidth, int iHeight)
    : pSurface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, iWidth, iHeight)),
      pCairo(cairo_create(pSurface))
{
    cairo_set_antialias(pCairo, CAIRO_ANTIALIAS_GOOD);
    cairo_set_line_join(pCairo, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(pCairo, CAIRO_LINE_CAP_ROUND);
}

CCanvas::~CCanvas()
{
    cairo_destroy(pCairo);
    cairo_surface_destroy(pSurface);
}

CImageRGBA CCanvas::ToImage() const
{
    cairo_surface_flush(pSurface);
    const int iW = cairo_image_surface_get_width(pSurface);
    const int iH = cairo_image_surface_get_height(pSurface);
    const int iStride = cairo_image_surface_get_stride(pSurface);
    const unsigned char* pData = cairo_image_surface_get_data(pSurface);
    CImageRGBA tImage(iW, iH);
    for (int iY = 0; iY < iH; ++iY)
    {
        const std::uint32_t* pRow = reinterpret_cast<const std::uint32_t*>(pData + iY * iStride);
        for (int iX = 0; iX < iW; ++iX)
        {
            // Premultiplied native-endian ARGB: undo the premultiplication.
            const std::uint32_t uiP = pRow[iX];
            const int iA = int(uiP >> 24);
            std::uint8_t* pOut = tImage.At(iX, iY);
            pOut[3] = std::uint8_t(iA);
            if (iA == 0)
            {
                pOut[0] = pOut[1] = pOut[2] = 0;
                continue;
            }
            const int tC[3] = {int((uiP >> 16) & 0xFF), int((uiP >> 8) & 0xFF), int(uiP & 0xFF)};
            for (int k = 0; k < 3; ++k)
            {
                pOut[k] = std::uint8_t(std::min(255, (tC[k] * 255 + iA / 2) / iA));
            }
        }
    }
    return tImage;
}

void PAINT_FillOutlined(cairo_t* pCairo, cairo_pattern_t* pFill, const sColour& tOutline,
                        double dWidth)
{
    // Stroke at twice the width first; the fill then covers the inner half.
    PAINT_Set(pCairo, tOutline);
    cairo_set_line_width(pCairo, dWidth * 2.0);
    cairo_stroke_preserve(pCairo);
    cairo_set_source(pCairo, pFill);
    cairo_fill(pCairo);
}

void PAINT_FillOutlinedColour(cairo_t* pCairo, const sColour& tFill, const sColour& tOutline,
                              double dWidth)
{
    cairo_pattern_t* pFill = cairo_pattern_create_rgba(tFill.r, tFill.g, tFill.b, tFill.a);
    PAINT_FillOutlined(pCairo, pFill, tOutline, dWidth);
    cairo_pattern_destroy(pFill);
}

cairo_pattern_t* PAINT_Vertical(double dY0, const sColour& tTop, double dY1, const sColour& tBottom)
{
    cairo_pattern_t* pPattern = cairo_pattern_create_linear(0, dY0, 0, dY1);
    cairo_pattern_add_color_stop_rgba(pPattern, 0, tTop.r, tTop.g, tTop.b, tTop.a);
    cairo_pattern_add_color_stop_rgba(pPattern, 1, tBottom.r, tBottom.g, tBottom.b, tBottom.a);
    return pPattern;
}

cairo_pattern_t* PAINT_BallShade(double dCX, double dCY, double dRX, double dRY,
                                 const sColour& tBase)
{
    const double dR = std::max(dRX, dRY);
    cairo_pattern_t* pPattern = cairo_pattern_create_radial(dCX - dRX * 0.35, dCY - dRY * 0.4,
                                                            dR * 0.05, dCX, dCY, dR * 1.25);
    const sColour tLight = PAINT_Lighten(tBase, 0.45);
    const sColour tDark = PAINT_Darken(tBase, 0.35);
    cairo_pattern_add_color_stop_rgb(pPattern, 0.0, tLight.r, tLight.g, tLight.b);
    cairo_pattern_add_color_stop_rgb(pPattern, 0.45, tBase.r, tBase.g, tBase.b);
    cairo_pattern_add_color_stop_rgb(pPattern, 1.0, tDark.r, tDark.g, tDark.b);
    return pPattern;
}

void PAINT_CloudPath(cairo_t* pCairo, double dX, double dY, double dScale)
{
    const double tPuffs[5][3] = {{-22, 4, 13}, {-6, -6, 17}, {14, -2, 15}, {28, 6, 10}, {4, 8, 12}};
    cairo_new_path(pCairo);
    for (const auto& tP : tPuffs)
    {
        cairo_new_sub_path(pCairo);
        cairo_arc(pCairo, dX + tP[0] * dScale, dY + tP[1] * dScale, tP[2] * dScale, 0, 2 * M_PI);
    }
}

void PAINT_Gloss(cairo_t* pCairo, double dX, double dY, double dRX, double dRY, double dAlpha)
{
    cairo_save(pCairo);
    cairo_translate(pCairo, dX, dY);
    cairo_scale(pCairo, dRX, dRY);
    cairo_pattern_t* pPattern = cairo_pattern_create_radial(0, 0, 0, 0, 0, 1);
    cairo_pattern_add_color_stop_rgba(pPattern, 0.0, 1, 1, 1, dAlpha);
    cairo_pattern_add_color_stop_rgba(pPattern, 0.6, 1, 1, 1, dAlpha * 0.55);
    cairo_pattern_add_color_stop_rgba(pPattern, 1.0, 1, 1, 1, 0);
    cairo_set_source(pCairo, pPattern);
    cairo_arc(pCairo, 0, 0, 1, 0, 2 * M_PI);
    cairo_fill(pCairo);
    cairo_pattern_destroy(pPattern);
    cairo_restore(pCairo);
}

void PAINT_SetFontPath(const char* pPath)
{
    s_strFontPath = pPath;
}

const char* PAINT_FontPath()
{
    return s_strFontPath.c_str();
}

void PAINT_SetFont(cairo_t* pCairo, double dSize)
{
    cairo_set_font_face(pCairo, FontFace());
    cairo_set_font_size(pCairo, dSize);
    cairo_font_options_t* pOptions = cairo_font_options_create();
    cairo_font_options_set_hint_style(pOptions, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(pOptions, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_antialias(pOptions, CAIRO_ANTIALIAS_GRAY);
    cairo_set_font_options(pCairo, pOptions);
    cairo_font_options_destroy(pOptions);
}

double PAINT_TextWidth(cairo_t* pCairo, const char* pText)
{
    cairo_text_extents_t tExtents;
    cairo_text_extents(pCairo, pText, &tExtents);
    return tExtents.x_advance;
}

void PAINT_Text(cairo_t* pCairo, const char* pText, double dX, double dY, int iAlign,
                const sColour& tFill, const sColour& tOutline, double dOutline)
{
    if (iAlign == 1)
    {
        dX -= PAINT_TextWidth(pCairo, pText) / 2.0;
    }
    cairo_new_path(pCairo);
    cairo_move_to(pCairo, dX, dY);
    cairo_text_path(pCairo, pText);
    if (dOutline > 0.0)
    {
        PAINT_Set(pCairo, tOutline);
        cairo_set_line_width(pCairo, dOutline * 2.0);
        cairo_stroke_preserve(pCairo);
    }
    PAINT_Set(pCairo, tFill);
    cairo_fill(pCairo);
}

std::uint32_t CRandom::Next()
{
    uiState ^= uiState << 13;
    uiState ^= uiState >> 17;
    uiState ^= uiState << 5;
    return uiState;
}

double CRandom::Unit()
{
    return (Next() >> 8) / 16777216.0;
}

double CRandom::Range(double dLo, double dHi)
{
    return dLo + (dHi - dLo) * Unit();
}
