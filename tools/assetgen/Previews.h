#pragma once

// PNG previews for people to judge the art: every atlas as it is, a contact sheet of the
// pommo frames on a checkerboard and at play size, and a mock play-field screenshot put
// together from the level atlas the way the game places its sprites.

#include <string>
#include <vector>

#include "ImageFile.h"

bool PREVIEW_WritePNG(const std::string& strPath, const CImageRGBA& tImage);
bool PREVIEW_WritePommoSheet(const std::string& strPath, const CImageRGBA& tLevelAtlas);
bool PREVIEW_WriteMockLevel(const std::string& strPath, const CImageRGBA& tLevelAtlas);
// The title screen with the pieces slid in, the menu words and the logo.
bool PREVIEW_WriteMockTitle(const std::string& strPath, const CImageRGBA& tFrontAtlas);

// One row per sound: its name, waveform and spectrogram (0 to 8 kHz), to judge the effects
// by eye.
bool PREVIEW_WriteSoundSheet(const std::string& strPath,
                             const std::vector<std::vector<float>>& tSounds,
                             const std::vector<std::string>& tNames, int iRate);
