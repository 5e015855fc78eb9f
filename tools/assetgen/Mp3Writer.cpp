#include "Mp3Writer.h"

#include <lame/lame.h>

#include <cstdio>
#include <cstring>

namespace
{
void PutBigEndian32(std::vector<std::uint8_t>& tOut, std::uint32_t uiValue)
{
    for (int iShift = 24; iShift >= 0; iShift -= 8)
    {
        tOut.push_back(std::uint8_t(uiValue >> iShift));
    }
}

void TextFrame(std::vector<std::uint8_t>& tOut, const char* pId, const char* pText)
{
    const std::size_t uiLength = std::strlen(pText);
    tOut.insert(tOut.end(), pId, pId + 4);
    PutBigEndian32(tOut, std::uint32_t(uiLength + 1));
    tOut.push_back(0);  // flags
    tOut.push_back(0);
    tOut.push_back(0);  // ISO-8859-1
    tOut.insert(tOut.end(), pText, pText + uiLength);
}

std::vector<std::uint8_t> Id3Tag(const char* pTitle, const char* pArtist)
{
    std::vector<std::uint8_t> tFrames;
    TextFrame(tFrames, "TIT2", pTitle);
    TextFrame(tFrames, "TPE1", pArtist);
    std::vector<std::uint8_t> tTag = {'I', 'D', '3', 3, 0, 0};
    const std::uint32_t uiSize = std::uint32_t(tFrames.size());
    // The tag size is stored 7 bits a byte.
    for (int iShift = 21; iShift >= 0; iShift -= 7)
    {
        tTag.push_back(std::uint8_t((uiSize >> iShift) & 0x7F));
    }
    tTag.insert(tTag.end(), tFrames.begin(), tFrames.end());
    return tTag;
}
}  // namespace

std::vector<std::uint8_t> MP3_Encode(const std::vector<float>& tInterleaved, int iChannels,
                                     int iRate, const char* pTitle, const char* pArtist)
{
    std::vector<std::uint8_t> tOut;
    if (iChannels != 1 && iChannels != 2)
    {
        std::printf("assetgen: the MP3 encoder takes 1 or 2 channels, not %d\n", iChannels);
        return tOut;
    }
    lame_global_flags* pLame = lame_init();
    if (pLame == nullptr)
    {
        std::printf("assetgen: the MP3 encoder could not start\n");
        return tOut;
    }
    lame_set_in_samplerate(pLame, iRate);
    lame_set_out_samplerate(pLame, iRate);
    lame_set_num_channels(pLame, iChannels);
    lame_set_mode(pLame, iChannels == 1 ? MONO : JOINT_STEREO);
    if (iRate >= 32000)
    {
        lame_set_brate(pLame, 128);
    }
    lame_set_quality(pLame, 5);
    lame_set_bWriteVbrTag(pLame, 0);
    lame_set_write_id3tag_automatic(pLame, 0);
    if (lame_init_params(pLame) < 0)
    {
        std::printf("assetgen: the MP3 encoder refused its settings\n");
        lame_close(pLame);
        return tOut;
    }
    if (pTitle != nullptr)
    {
        tOut = Id3Tag(pTitle, pArtist != nullptr ? pArtist : "");
    }
    const int iFrames = int(tInterleaved.size() / std::size_t(iChannels));
    std::vector<float> tLeft(static_cast<std::size_t>(iFrames));
    std::vector<float> tRight(static_cast<std::size_t>(iFrames));
    for (int i = 0; i < iFrames; ++i)
    {
        tLeft[std::size_t(i)] = tInterleaved[std::size_t(i) * std::size_t(iChannels)];
        tRight[std::size_t(i)] =
            tInterleaved[std::size_t(i) * std::size_t(iChannels) + std::size_t(iChannels - 1)];
    }
    std::vector<unsigned char> tBuffer(std::size_t(1.25 * iFrames + 7200));
    const int iBytes = lame_encode_buffer_ieee_float(pLame, tLeft.data(), tRight.data(), iFrames,
                                                     tBuffer.data(), int(tBuffer.size()));
    if (iBytes < 0)
    {
        std::printf("assetgen: MP3 encoding failed (%d)\n", iBytes);
        lame_close(pLame);
        return {};
    }
    tOut.insert(tOut.end(), tBuffer.begin(), tBuffer.begin() + iBytes);
    const int iTail = lame_encode_flush(pLame, tBuffer.data(), int(tBuffer.size()));
    if (iTail > 0)
    {
        tOut.insert(tOut.end(), tBuffer.begin(), tBuffer.begin() + iTail);
    }
    lame_close(pLame);
    return tOut;
}
