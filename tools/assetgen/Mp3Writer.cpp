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

// The file: the ID3 tag when there is a title, then the frames from first to last.
using ByteIterator = std::vector<std::uint8_t>::const_iterator;
std::vector<std::uint8_t> Tagged(const char* pTitle, const char* pArtist, ByteIterator itFirst,
                                 ByteIterator itLast)
{
    std::vector<std::uint8_t> tOut;
    if (pTitle != nullptr)
    {
        tOut = Id3Tag(pTitle, pArtist != nullptr ? pArtist : "");
    }
    tOut.insert(tOut.end(), itFirst, itLast);
    return tOut;
}

// The encoder for one or two channels at a rate; null, after one line, when it refuses them.
// Without the reservoir every frame carries all its own bits.
lame_global_flags* StartEncoder(int iChannels, int iRate, bool bReservoir)
{
    if (iChannels != 1 && iChannels != 2)
    {
        std::printf("assetgen: the MP3 encoder takes 1 or 2 channels, not %d\n", iChannels);
        return nullptr;
    }
    lame_global_flags* pLame = lame_init();
    if (pLame == nullptr)
    {
        std::printf("assetgen: the MP3 encoder could not start\n");
        return nullptr;
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
    lame_set_disable_reservoir(pLame, bReservoir ? 0 : 1);
    if (lame_init_params(pLame) < 0)
    {
        std::printf("assetgen: the MP3 encoder refused its settings\n");
        lame_close(pLame);
        return nullptr;
    }
    return pLame;
}

// Encodes iFrames sample frames, sample i of channel c taken from fnSample(i, c), and flushes;
// closes the encoder. Empty, after one line, on failure.
template <typename FnSample>
std::vector<std::uint8_t> EncodeAndClose(lame_global_flags* pLame, int iChannels, long lFrames,
                                         FnSample fnSample)
{
    std::vector<float> tLeft(static_cast<std::size_t>(lFrames));
    std::vector<float> tRight(static_cast<std::size_t>(lFrames));
    for (long i = 0; i < lFrames; ++i)
    {
        tLeft[std::size_t(i)] = fnSample(i, 0);
        tRight[std::size_t(i)] = fnSample(i, iChannels - 1);
    }
    std::vector<unsigned char> tBuffer(std::size_t(1.25 * double(lFrames) + 7200));
    const int iBytes = lame_encode_buffer_ieee_float(
        pLame, tLeft.data(), tRight.data(), int(lFrames), tBuffer.data(), int(tBuffer.size()));
    std::vector<std::uint8_t> tOut;
    if (iBytes < 0)
    {
        std::printf("assetgen: MP3 encoding failed (%d)\n", iBytes);
        lame_close(pLame);
        return tOut;
    }
    tOut.assign(tBuffer.begin(), tBuffer.begin() + iBytes);
    const int iTail = lame_encode_flush(pLame, tBuffer.data(), int(tBuffer.size()));
    if (iTail > 0)
    {
        tOut.insert(tOut.end(), tBuffer.begin(), tBuffer.begin() + iTail);
    }
    lame_close(pLame);
    return tOut;
}

// Where each frame of an encoder's output starts, and the end; empty when a frame header is
// not where the one before says.
std::vector<std::size_t> FrameStarts(const std::vector<std::uint8_t>& tStream)
{
    // Kilobits a second by bitrate index: MPEG-1 Layer III, then MPEG-2 and 2.5.
    static const int s_tBitrates[2][16] = {
        {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0},
        {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0}};
    static const int s_tRates[4][3] = {
        {11025, 12000, 8000}, {0, 0, 0}, {22050, 24000, 16000}, {44100, 48000, 32000}};
    std::vector<std::size_t> tStarts;
    std::size_t uiAt = 0;
    while (uiAt + 4 <= tStream.size())
    {
        const unsigned int uiVersion = (tStream[uiAt + 1] >> 3) & 3u;
        const unsigned int uiRateIndex = (tStream[uiAt + 2] >> 2) & 3u;
        if (tStream[uiAt] != 0xFF || (tStream[uiAt + 1] & 0xE0) != 0xE0 || uiVersion == 1 ||
            uiRateIndex == 3)
        {
            return {};
        }
        const bool bMpeg1 = uiVersion == 3;
        const int iKbps = s_tBitrates[bMpeg1 ? 0 : 1][tStream[uiAt + 2] >> 4];
        const int iRate = s_tRates[uiVersion][uiRateIndex];
        if (iKbps == 0)
        {
            return {};
        }
        tStarts.push_back(uiAt);
        uiAt +=
            std::size_t((bMpeg1 ? 144000 : 72000) * iKbps / iRate + ((tStream[uiAt + 2] >> 1) & 1));
    }
    tStarts.push_back(tStream.size());
    return tStarts;
}
}  // namespace

std::vector<std::uint8_t> MP3_Encode(const std::vector<float>& tInterleaved, int iChannels,
                                     int iRate, const char* pTitle, const char* pArtist)
{
    lame_global_flags* pLame = StartEncoder(iChannels, iRate, true);
    if (pLame == nullptr)
    {
        return {};
    }
    const long lFrames = long(tInterleaved.size() / std::size_t(iChannels));
    const std::vector<std::uint8_t> tFrames = EncodeAndClose(
        pLame, iChannels, lFrames,
        [&](long i, int c)
        { return tInterleaved[std::size_t(i) * std::size_t(iChannels) + std::size_t(c)]; });
    if (tFrames.empty())
    {
        return {};
    }
    return Tagged(pTitle, pArtist, tFrames.begin(), tFrames.end());
}

std::vector<std::uint8_t> MP3_EncodeLoop(const std::vector<float>& tInterleaved, int iChannels,
                                         int iRate, int iLeadIn, const char* pTitle,
                                         const char* pArtist)
{
    // The decoder's synthesis filter bank delays everything by 529 samples, whoever decodes.
    constexpr long DECODER_DELAY = 529;
    // Frames of margin after the kept ones, so that the encoder's look-ahead still sees music.
    constexpr long MARGIN_FRAMES = 4;
    const long lFrameSamples = iRate >= 32000 ? 1152 : 576;
    const long lPeriod = iChannels > 0 ? long(tInterleaved.size() / std::size_t(iChannels)) : 0;
    const long lPeriodFrames = lPeriod / lFrameSamples;
    if (lPeriod == 0 || lPeriod % lFrameSamples != 0 || iLeadIn < 0 || iLeadIn >= lPeriod)
    {
        std::printf("assetgen: a loop of %ld samples is not a whole number of MP3 frames\n",
                    lPeriod);
        return {};
    }
    lame_global_flags* pLame = StartEncoder(iChannels, iRate, false);
    if (pLame == nullptr)
    {
        return {};
    }
    // The encoder hears the loop over and over, from a point chosen so that the second pass's
    // frames decode to the loop starting iLeadIn samples before its first sample.
    const long lDelay = lame_get_encoder_delay(pLame) + DECODER_DELAY;
    const long lShift = ((lDelay - iLeadIn) % lPeriod + lPeriod) % lPeriod;
    const std::vector<std::uint8_t> tStream = EncodeAndClose(
        pLame, iChannels, 2 * lPeriod + MARGIN_FRAMES * lFrameSamples,
        [&](long i, int c)
        {
            const long lAt = (i + lShift) % lPeriod;
            return tInterleaved[std::size_t(lAt) * std::size_t(iChannels) + std::size_t(c)];
        });
    const std::vector<std::size_t> tStarts = FrameStarts(tStream);
    if (tStarts.size() < std::size_t(2 * lPeriodFrames + 1))
    {
        std::printf("assetgen: the MP3 encoder's output could not be cut into frames\n");
        return {};
    }
    return Tagged(pTitle, pArtist,
                  tStream.begin() + std::ptrdiff_t(tStarts[std::size_t(lPeriodFrames)]),
                  tStream.begin() + std::ptrdiff_t(tStarts[std::size_t(2 * lPeriodFrames)]));
}
