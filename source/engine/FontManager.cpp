#include "FontManager.h"

#include "Assert.h"

FontManager::FontManager() : pFonts{} {}

FontManager::~FontManager()
{
    ReleaseAll();
}

CFont* FontManager::LoadFont(const char* pName, int iCapacity)
{
    int i = 0;
    while (i < NUM_FONTS && pFonts[i] != nullptr)
    {
        ++i;
    }
    BF_ASSERT("FontManager", i != NUM_FONTS);
    CFont* pFont = new CFont();
    if (!pFont->LoadFont(pName, iCapacity))
    {
        delete pFont;
        return nullptr;
    }
    pFonts[i] = pFont;
    return pFont;
}

void FontManager::ReleaseFont(CFont* pFont)
{
    for (CFont*& pSlot : pFonts)
    {
        if (pFont != nullptr && pSlot == pFont)
        {
            delete pSlot;
            pSlot = nullptr;
            return;
        }
    }
}

void FontManager::CheckSlots() const
{
    for (const CFont* pFont : pFonts)
    {
        if (pFont == nullptr)
        {
            continue;
        }
        BF_ASSERT("source/engine/FontManager",
                  pFont->iCapacity > 0 && pFont->iCapacity <= FONT_MAX_CAPACITY);
        BF_ASSERT("source/engine/FontManager",
                  pFont->pVerts != nullptr && pFont->pIndices != nullptr);
        BF_ASSERT("source/engine/FontManager",
                  pFont->iNumVerts >= 0 && pFont->iNumVerts <= pFont->iCapacity);
        BF_ASSERT("source/engine/FontManager", pFont->iNumFaces * 2 == pFont->iNumVerts);
        BF_ASSERT("source/engine/FontManager", pFont->uiTextureID != 0);
    }
}

void FontManager::ReleaseAll()
{
    for (CFont*& pFont : pFonts)
    {
        delete pFont;
        pFont = nullptr;
    }
}
