#include "EngineFiles.h"

#include <sys/stat.h>

#include "TestSupport.h"

void TEST_PutLE(TestBytes* pBytes, std::uint32_t uiValue, int iBytes)
{
    for (int i = 0; i < iBytes; ++i)
    {
        pBytes->push_back(static_cast<std::uint8_t>(uiValue >> (8 * i)));
    }
}

TestBytes TEST_PVRFile(std::uint32_t uiHeaderSize, std::uint32_t uiWidth, std::uint32_t uiHeight,
                       std::uint32_t uiFlags, std::uint32_t uiBitCount, const TestBytes& tData,
                       std::uint32_t uiMipMaps, std::uint32_t uiSurfaces, std::uint32_t uiAlphaMask)
{
    const auto uiSize = static_cast<std::uint32_t>(tData.size());
    const std::uint32_t tFields[13] = {uiHeaderSize, uiHeight,   uiWidth,   uiMipMaps, uiFlags,
                                       uiSize,       uiBitCount, 0,         0,         0,
                                       uiAlphaMask,  0x21525650, uiSurfaces};
    TestBytes t;
    for (std::uint32_t i = 0; i < uiHeaderSize / 4 && i < 13; ++i)
    {
        TEST_PutLE(&t, tFields[i], 4);
    }
    t.insert(t.end(), tData.begin(), tData.end());
    return t;
}

TestBytes TEST_TGAFile(int iType, int iDepth, int iWidth, int iHeight, const TestBytes& tPayload,
                       int iColourMap, int iIDLength)
{
    TestBytes t = {static_cast<std::uint8_t>(iIDLength), static_cast<std::uint8_t>(iColourMap),
                   static_cast<std::uint8_t>(iType)};
    t.insert(t.end(), 9, 0);  // colour-map fields, origin
    TEST_PutLE(&t, static_cast<std::uint32_t>(iWidth), 2);
    TEST_PutLE(&t, static_cast<std::uint32_t>(iHeight), 2);
    t.push_back(static_cast<std::uint8_t>(iDepth));
    t.push_back(0);
    t.insert(t.end(), static_cast<size_t>(iIDLength), 'I');
    t.insert(t.end(), tPayload.begin(), tPayload.end());
    return t;
}

void TEST_PutFontBlock(TestBytes* pBytes, int iType, const TestBytes& tBody)
{
    pBytes->push_back(static_cast<std::uint8_t>(iType));
    TEST_PutLE(pBytes, static_cast<std::uint32_t>(tBody.size()), 4);
    pBytes->insert(pBytes->end(), tBody.begin(), tBody.end());
}

TestBytes TEST_FontPagesBody(const std::string& strPage)
{
    TestBytes t(strPage.begin(), strPage.end());
    t.push_back(0);
    return t;
}

TestBytes TEST_FontFile(int iLineHeight, int iPageWidth, int iPageHeight, int iPages,
                        const std::string& strPage, const std::vector<TestGlyph>& tGlyphs)
{
    TestBytes t = {'B', 'M', 'F', 3};
    TEST_PutFontBlock(&t, 1, TestBytes(14, 0));
    TestBytes tCommon;
    for (int iValue : {iLineHeight, 12, iPageWidth, iPageHeight, iPages})
    {
        TEST_PutLE(&tCommon, static_cast<std::uint32_t>(iValue), 2);
    }
    tCommon.insert(tCommon.end(), 5, 0);
    TEST_PutFontBlock(&t, 2, tCommon);
    TEST_PutFontBlock(&t, 3, TEST_FontPagesBody(strPage));
    TestBytes tChars;
    for (const TestGlyph& g : tGlyphs)
    {
        TEST_PutLE(&tChars, g.id, 4);
        for (int iValue : {g.x, g.y, g.width, g.height, g.xoffset, g.yoffset, g.xadvance})
        {
            TEST_PutLE(&tChars, static_cast<std::uint32_t>(iValue), 2);
        }
        tChars.insert(tChars.end(), {0, 15});  // page, channel
    }
    TEST_PutFontBlock(&t, 4, tChars);
    return t;
}

bool TEST_WriteMonoFont(const std::string& strDir, const std::string& strName, int iLineHeight,
                        int iAdvance)
{
    for (const char* pSub : {"/Fonts", "/Textures", "/Textures/Fonts"})
    {
        mkdir((strDir + pSub).c_str(), 0755);
    }
    std::vector<TestGlyph> tGlyphs;
    for (std::uint32_t uiCode = 32; uiCode < 127; ++uiCode)
    {
        tGlyphs.push_back({uiCode, 0, 0, 8, 16, 0, 0, iAdvance});
    }
    const std::string strPage = strName + "_0.tga";
    const TestBytes tPage = TEST_TGAFile(2, 32, 32, 32, TestBytes(32 * 32 * 4, 255));
    return TEST_WriteFile(strDir + "/Textures/Fonts/" + strPage, tPage) &&
           TEST_WriteFile(strDir + "/Fonts/" + strName + ".fnt",
                          TEST_FontFile(iLineHeight, 32, 32, 1, strPage, tGlyphs));
}
