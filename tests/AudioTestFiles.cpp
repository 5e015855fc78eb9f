#include "AudioTestFiles.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "Mp3Writer.h"
#include "OggWriter.h"

namespace
{

// A plain tone per channel (440 Hz left, 660 Hz right), interleaved.
std::vector<float> Tone(int iChannels, int iRate, int iFrames)
{
    std::vector<float> tSamples(static_cast<size_t>(iFrames) * static_cast<size_t>(iChannels));
    for (int i = 0; i < iFrames; ++i)
    {
        for (int c = 0; c < iChannels; ++c)
        {
            const double dHz = 440.0 + 220.0 * c;
            tSamples[static_cast<size_t>(i) * iChannels + c] =
                static_cast<float>(0.5 * std::sin(2.0 * M_PI * dHz * i / iRate));
        }
    }
    return tSamples;
}

// The tests cannot go on without their files.
std::vector<std::uint8_t> Required(std::vector<std::uint8_t> tBytes)
{
    if (tBytes.empty())
    {
        std::abort();
    }
    return tBytes;
}

}  // namespace

std::vector<std::uint8_t> TEST_EncodeOgg(int iChannels, int iRate, int iFrames)
{
    return Required(OGG_Encode(Tone(iChannels, iRate, iFrames), iChannels, iRate, 1234, "tone"));
}

std::vector<std::uint8_t> TEST_EncodeMp3(int iChannels, int iRate, int iFrames)
{
    return Required(
        MP3_Encode(Tone(iChannels, iRate, iFrames), iChannels, iRate, nullptr, nullptr));
}

std::vector<std::uint8_t> TEST_MakeId3Tag(int iTotalBytes)
{
    const int iBody = iTotalBytes - 10;
    std::vector<std::uint8_t> tTag = {'I', 'D', '3', 3, 0, 0};
    tTag.push_back(static_cast<std::uint8_t>((iBody >> 21) & 0x7F));
    tTag.push_back(static_cast<std::uint8_t>((iBody >> 14) & 0x7F));
    tTag.push_back(static_cast<std::uint8_t>((iBody >> 7) & 0x7F));
    tTag.push_back(static_cast<std::uint8_t>(iBody & 0x7F));
    tTag.resize(static_cast<size_t>(iTotalBytes), 0);
    // MPEG 2 (version bits 2), 22050 Hz (rate index 0), single channel (mode 3).
    const std::uint8_t tFalseSync[] = {0xFF, 0xF3, 0x40, 0xC4};
    std::memcpy(tTag.data() + 100, tFalseSync, sizeof(tFalseSync));
    return tTag;
}
