#include "AudioTestFiles.h"

#include <lame/lame.h>
#include <vorbis/vorbisenc.h>

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace
{

float Tone(int iFrame, int iChannel, int iRate)
{
    const double dHz = 440.0 + 220.0 * iChannel;
    return static_cast<float>(0.5 * std::sin(2.0 * M_PI * dHz * iFrame / iRate));
}

void AppendPage(std::vector<std::uint8_t>& tOut, const ogg_page& tPage)
{
    tOut.insert(tOut.end(), tPage.header, tPage.header + tPage.header_len);
    tOut.insert(tOut.end(), tPage.body, tPage.body + tPage.body_len);
}

}  // namespace

std::vector<std::uint8_t> TEST_EncodeOgg(int iChannels, int iRate, int iFrames)
{
    std::vector<std::uint8_t> tOut;
    vorbis_info tInfo;
    vorbis_info_init(&tInfo);
    if (vorbis_encode_init_vbr(&tInfo, iChannels, iRate, 0.4f) != 0)
    {
        std::abort();
    }
    vorbis_comment tComment;
    vorbis_comment_init(&tComment);
    vorbis_dsp_state tDsp;
    vorbis_analysis_init(&tDsp, &tInfo);
    vorbis_block tBlock;
    vorbis_block_init(&tDsp, &tBlock);
    ogg_stream_state tStream;
    ogg_stream_init(&tStream, 1234);

    ogg_packet tHeader, tCommentPacket, tCodebook;
    vorbis_analysis_headerout(&tDsp, &tComment, &tHeader, &tCommentPacket, &tCodebook);
    ogg_stream_packetin(&tStream, &tHeader);
    ogg_stream_packetin(&tStream, &tCommentPacket);
    ogg_stream_packetin(&tStream, &tCodebook);
    ogg_page tPage;
    while (ogg_stream_flush(&tStream, &tPage) != 0)
    {
        AppendPage(tOut, tPage);
    }

    constexpr int BLOCK = 1024;
    for (int iDone = 0; iDone <= iFrames;)
    {
        const int iCount = iFrames - iDone < BLOCK ? iFrames - iDone : BLOCK;
        if (iCount == 0)
        {
            vorbis_analysis_wrote(&tDsp, 0);  // end of stream, or the last samples are lost
        }
        else
        {
            float** pBuffers = vorbis_analysis_buffer(&tDsp, iCount);
            for (int i = 0; i < iCount; ++i)
            {
                for (int c = 0; c < iChannels; ++c)
                {
                    pBuffers[c][i] = Tone(iDone + i, c, iRate);
                }
            }
            vorbis_analysis_wrote(&tDsp, iCount);
        }
        while (vorbis_analysis_blockout(&tDsp, &tBlock) == 1)
        {
            vorbis_analysis(&tBlock, nullptr);
            vorbis_bitrate_addblock(&tBlock);
            ogg_packet tPacket;
            while (vorbis_bitrate_flushpacket(&tDsp, &tPacket) != 0)
            {
                ogg_stream_packetin(&tStream, &tPacket);
                while (ogg_stream_pageout(&tStream, &tPage) != 0)
                {
                    AppendPage(tOut, tPage);
                }
            }
        }
        if (iCount == 0)
        {
            break;
        }
        iDone += iCount;
    }
    while (ogg_stream_flush(&tStream, &tPage) != 0)
    {
        AppendPage(tOut, tPage);
    }
    ogg_stream_clear(&tStream);
    vorbis_block_clear(&tBlock);
    vorbis_dsp_clear(&tDsp);
    vorbis_comment_clear(&tComment);
    vorbis_info_clear(&tInfo);
    return tOut;
}

std::vector<std::uint8_t> TEST_EncodeMp3(int iChannels, int iRate, int iFrames)
{
    lame_global_flags* pLame = lame_init();
    lame_set_in_samplerate(pLame, iRate);
    lame_set_out_samplerate(pLame, iRate);
    lame_set_num_channels(pLame, iChannels);
    lame_set_mode(pLame, iChannels == 1 ? MONO : JOINT_STEREO);
    lame_set_bWriteVbrTag(pLame, 0);
    lame_set_quality(pLame, 7);
    if (lame_init_params(pLame) < 0)
    {
        std::abort();
    }
    std::vector<short> tLeft(static_cast<size_t>(iFrames));
    std::vector<short> tRight(static_cast<size_t>(iFrames));
    for (int i = 0; i < iFrames; ++i)
    {
        tLeft[static_cast<size_t>(i)] = static_cast<short>(Tone(i, 0, iRate) * 32767.0f);
        tRight[static_cast<size_t>(i)] = static_cast<short>(Tone(i, 1, iRate) * 32767.0f);
    }
    std::vector<std::uint8_t> tOut(static_cast<size_t>(iFrames) * 5 / 4 + 7200 + 7200);
    int iBytes = lame_encode_buffer(pLame, tLeft.data(), tRight.data(), iFrames, tOut.data(),
                                    static_cast<int>(tOut.size()));
    if (iBytes < 0)
    {
        std::abort();
    }
    const int iFlushed =
        lame_encode_flush(pLame, tOut.data() + iBytes, static_cast<int>(tOut.size()) - iBytes);
    if (iFlushed < 0)
    {
        std::abort();
    }
    tOut.resize(static_cast<size_t>(iBytes + iFlushed));
    lame_close(pLame);
    return tOut;
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
