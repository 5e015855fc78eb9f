#pragma once

// Owns the loaded bitmap fonts: up to NUM_FONTS, each in its own slot. The same name loaded
// twice takes two slots.

#include "Fonts.h"

constexpr int NUM_FONTS = 8;  // font slots

class FontManager
{
public:
    CFont* pFonts[NUM_FONTS];  // null = free slot

    FontManager();
    ~FontManager();  // releases every font
    FontManager(const FontManager&) = delete;
    FontManager& operator=(const FontManager&) = delete;

    // Loads "Fonts/<name>.fnt" into the first free slot with room for iCapacity vertices
    // (capacity / 4 characters per render). Null when the font cannot be loaded; the slot stays
    // free then. Every slot in use is a programming error (assertion "FontManager").
    CFont* LoadFont(const char* pName, int iCapacity);

    // Destroys one font loaded here and frees its slot; a font of another manager, or null, is
    // left alone.
    void ReleaseFont(CFont* pFont);

    // Destroys every font: texture references, file buffers and arrays.
    void ReleaseAll();
    // Every font in a slot holds its arrays and no more text than they have room for
    // (assertions "source/engine/FontManager"). The soak checks it every frame.
    void CheckSlots() const;
};
