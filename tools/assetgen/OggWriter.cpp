#include "OggWriter.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cstdio>

namespace
{
void AppendPage(std::vector<std::uint8_t>& tOut, const ogg_page& tPage)
{
    tOut.insert(tOut.end(), tPage.header, tPage.header + tPage.header_len);
    tOut.insert(tOut.end(), tPage.body, tPage.body + tPage.body_len);
}
}  // namespace

std::vector<std::uint8_t> OGG_Encode(const std::vector<float>& tInterleaved, int iChannels,
                                     int iRate, int iSerial, const char* pTitle)
{
    std::vector<std::uint8_t> tOut;
    vorbis_info tInfo;
    vorbis_info_init(&tInfo);
    if (iChannels < 1 || vorbis_encode_init_vbr(&tInfo, iChannels, iRate, 0.4f) != 0)
    {
        std::printf("assetgen: the Vorbis encoder refused %d channels at %d Hz\n", iChannels,
                    iRate);
        vorbis_info_clear(&tInfo);
        return tOut;
    }
    vorbis_comment tComment;
    vorbis_comment_init(&tComment);
    vorbis_comment_add_tag(&tComment, "TITLE", pTitle);
    vorbis_comment_add_tag(&tComment, "ARTIST", "Kettle Games");
    vorbis_dsp_state tDsp;
    vorbis_block tBlock;
    vorbis_analysis_init(&tDsp, &tInfo);
    vorbis_block_init(&tDsp, &tBlock);
    ogg_stream_state tStream;
    ogg_stream_init(&tStream, iSerial);

    ogg_packet tHeader, tHeaderComment, tHeaderCode;
    vorbis_analysis_headerout(&tDsp, &tComment, &tHeader, &tHeaderComment, &tHeaderCode);
    ogg_stream_packetin(&tStream, &tHeader);
    ogg_stream_packetin(&tStream, &tHeaderComment);
    ogg_stream_packetin(&tStream, &tHeaderCode);
    ogg_page tPage;
    while (ogg_stream_flush(&tStream, &tPage) != 0)
    {
        AppendPage(tOut, tPage);
    }

    constexpr int CHUNK = 1024;
    const std::size_t uiFrames = tInterleaved.size() / std::size_t(iChannels);
    std::size_t uiDone = 0;
    bool bEnd = false;
    bool bWroteEnd = false;
    while (!bEnd)
    {
        const int iCount = int(std::min<std::size_t>(CHUNK, uiFrames - uiDone));
        if (iCount > 0)
        {
            float** pBuffer = vorbis_analysis_buffer(&tDsp, iCount);
            for (int i = 0; i < iCount; ++i)
            {
                for (int c = 0; c < iChannels; ++c)
                {
                    pBuffer[c][i] = std::clamp(
                        tInterleaved[(uiDone + std::size_t(i)) * std::size_t(iChannels) + c], -1.0f,
                        1.0f);
                }
            }
            vorbis_analysis_wrote(&tDsp, iCount);
            uiDone += std::size_t(iCount);
        }
        else if (!bWroteEnd)
        {
            // Without this the last samples are lost and the stream has no end mark.
            vorbis_analysis_wrote(&tDsp, 0);
            bWroteEnd = true;
        }
        else
        {
            break;  // everything is out; the end page has been written
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
                    if (ogg_page_eos(&tPage) != 0)
                    {
                        bEnd = true;
                    }
                }
            }
        }
    }
    ogg_stream_clear(&tStream);
    vorbis_block_clear(&tBlock);
    vorbis_dsp_clear(&tDsp);
    vorbis_comment_clear(&tComment);
    vorbis_info_clear(&tInfo);
    return tOut;
}
