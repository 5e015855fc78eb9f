// Images and quad buffers: corner and texture-coordinate set-up, the three ways of adding a
// quad, the buffer's capacity, texture references, and what reaches the screen.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "FileSystem.h"
#include "PngFile.h"
#include "QuadRenderBuffer.h"
#include "TestSupport.h"
#include "Textures.h"

namespace
{

constexpr int WINDOW = 128;

void Set2D()
{
    glViewport(0, 0, WINDOW, WINDOW);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, WINDOW, 0, WINDOW, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
}

// A 2 x 2 texture outside the table: first row red, green; second row blue, white.
GLuint MakeQuadrantTexture()
{
    const std::uint8_t tPixels[] = {255, 0, 0,   255, 0,   255, 0,   255,
                                    0,   0, 255, 255, 255, 255, 255, 255};
    GLuint uiTexture = 0;
    glGenTextures(1, &uiTexture);
    glBindTexture(GL_TEXTURE_2D, uiTexture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 2, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE, tPixels);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    return uiTexture;
}

AtlasRect Rect(int iTop, int iBottom, int iLeft, int iRight)
{
    AtlasRect t;
    t.Set(iTop, iBottom, iLeft, iRight);
    return t;
}

void SavePNG(const char* pName)
{
    const std::vector<std::uint8_t> tPixels = TEST_ReadPixels(0, 0, WINDOW, WINDOW);
    PNG_WriteRGBA((TEST_OutputDir() + "/" + pName).c_str(), WINDOW, WINDOW, tPixels.data(), true);
}

}  // namespace

// (That adding quads allocates nothing is test_level's, over 600 frames of play.)
TEST(QuadBuffer, AFullBufferDropsQuads)
{
    const CImage tImage(1, Rect(0, 4, 0, 4), 4, 4, 4, 4, false);
    QuadRenderBuffer tBuffer;
    EXPECT_EQ(TEST_OutputOf(
                  [&]
                  {
                      for (int i = 0; i < QRB_MAX_QUADS + 3; ++i)
                      {
                          tBuffer.AddQuad(tImage.tVerts, static_cast<float>(i), 0.0f, 0.0f, 255);
                      }
                  }),
              "QuadRenderBuffer: QRB_MAX_QUADS (512) hit, further quads dropped\n");
    EXPECT_EQ(tBuffer.iNumVerts, QRB_MAX_VERTS);
    EXPECT_EQ(tBuffer.iNumFaces, 2 * QRB_MAX_QUADS);
    EXPECT_EQ(tBuffer.iNumDropped, 3);
    EXPECT_FLOAT_EQ(tBuffer.pVertices[QRB_MAX_VERTS - 1].x, 511.0f + 4.0f);
}

TEST(QuadBuffer, ImagesAndBuffersHoldTextureReferences)
{
    ASSERT_TRUE(TEST_OpenGLWindow(WINDOW, WINDOW));
    const std::string strDir = TEST_MakeTempDir("quads");
    ASSERT_EQ(mkdir((strDir + "/Textures").c_str(), 0755), 0);
    const std::vector<std::uint8_t> tTGA = {0, 0, 2, 0, 0, 0,  0, 0, 0, 0, 0,
                                            0, 1, 0, 1, 0, 24, 0, 9, 9, 9};
    ASSERT_TRUE(TEST_WriteFile(strDir + "/Textures/dot.tga", tTGA));
    FS_SetResourceDirectory(strDir.c_str());
    TEX_ResetTextures();

    GLuint uiTexture = 0;
    {
        testing::internal::CaptureStdout();
        CImage tImage("dot", Rect(0, 1, 0, 1), 1, 1, 1, 1, false);
        testing::internal::GetCapturedStdout();  // no PVR and no default: the TGA is taken
        ASSERT_NE(tImage.iTextureID, 0u);
        uiTexture = tImage.iTextureID;
        const int iIndex = TEX_FindTexture("dot");
        EXPECT_EQ(TEX_GetEntry(iIndex)->iRefCount, 1);
        {
            QuadRenderBuffer tBuffer(tImage.iTextureID);
            TEX_RetainTexture(tImage.iTextureID);  // the buffer takes over this reference
            CImage tCopy(tImage.iTextureID, Rect(0, 1, 0, 1), 1, 1, 1, 1, false);
            EXPECT_EQ(TEX_GetEntry(iIndex)->iRefCount, 3);
        }
        EXPECT_EQ(TEX_GetEntry(iIndex)->iRefCount, 1);
    }
    EXPECT_EQ(TEX_FindTexture("dot"), -1);
    EXPECT_FALSE(glIsTexture(uiTexture));

    // Neither a PVR nor the default nor a TGA: the image stays without texture and draws nothing.
    testing::internal::CaptureStdout();
    CImage tNone("void", Rect(0, 1, 0, 1), 1, 1, 1, 1, false);
    const std::string strOut = testing::internal::GetCapturedStdout();
    EXPECT_NE(strOut.find("Failed to load image: void\n"), std::string::npos);
    EXPECT_EQ(tNone.iTextureID, 0u);
    tNone.Draw(true, 1.0f);
    TEX_ResetTextures();
}

TEST(QuadBuffer, DrawnImagesAndBuffersReachTheScreen)
{
    ASSERT_TRUE(TEST_OpenGLWindow(WINDOW, WINDOW));
    Set2D();
    const GLuint uiTexture = MakeQuadrantTexture();

    // The whole texture on 32 x 32 at (8, 8): its first row at the bottom.
    CImage tImage(uiTexture, Rect(0, 2, 0, 2), 2, 2, 32, 32, false);
    glTranslatef(8, 8, 0);
    tImage.Draw(false, 1.0f);
    glLoadIdentity();
    EXPECT_EQ(TEST_ReadPixel(12, 12), 0xFF0000FFu);  // bottom left: red
    EXPECT_EQ(TEST_ReadPixel(36, 12), 0x00FF00FFu);  // bottom right: green
    EXPECT_EQ(TEST_ReadPixel(12, 36), 0x0000FFFFu);  // top left: blue
    EXPECT_EQ(TEST_ReadPixel(36, 36), 0xFFFFFFFFu);
    EXPECT_EQ(TEST_ReadPixel(44, 44) >> 8, 0u);  // outside: black

    // Blended at alpha 0.5 over black: half intensity; the alpha stays in the corners.
    glTranslatef(56, 8, 0);
    tImage.Draw(true, 0.5f);
    glLoadIdentity();
    EXPECT_EQ(tImage.tVerts[0].tColour[3], 127);
    EXPECT_NEAR(static_cast<int>(TEST_ReadPixel(60, 12) >> 24), 127, 2);
    glTranslatef(200, 200, 0);  // off the window: only the stored alphas matter here
    tImage.Draw(true, 1.5f);
    EXPECT_EQ(tImage.tVerts[2].tColour[3], 255);
    tImage.Draw(true, -0.2f);
    EXPECT_EQ(tImage.tVerts[2].tColour[3], 0);
    glLoadIdentity();

    // A buffer of two quads, one through a matrix, one offset; rendered once.
    QuadRenderBuffer tBuffer(uiTexture);
    // The picture's upper left pixel, which is the texture's second row: blue.
    CImage tSmall(uiTexture, Rect(0, 1, 0, 1), 2, 2, 16, 16, false);
    const float tMove[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 8, 72, 0, 1};
    tBuffer.AddQuad(tSmall.tVerts, tMove, 255);
    tBuffer.AddQuad(tSmall.tVerts, 40.0f, 72.0f, 0.0f, 128);
    tBuffer.Render();
    EXPECT_EQ(tBuffer.iNumVerts, 0);
    EXPECT_EQ(TEST_ReadPixel(16, 80), 0x0000FFFFu);
    EXPECT_NEAR(static_cast<int>((TEST_ReadPixel(48, 80) >> 8) & 0xFF), 128, 2);
    SavePNG("quadbuffer.png");

    // A second render in the same frame draws nothing.
    glClear(GL_COLOR_BUFFER_BIT);
    tBuffer.Render();
    EXPECT_EQ(TEST_ReadPixel(16, 80) >> 8, 0u);
    TEX_ResetTextures();
    glDeleteTextures(1, &uiTexture);
    tBuffer.iTextureID = 0;
}
