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

void FontManager::ReleaseAll()
{
    for (CFont*& pFont : pFonts)
    {
        delete pFont;
        pFont = nullptr;
    }
}
