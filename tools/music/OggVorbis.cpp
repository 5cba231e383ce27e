#include "OggVorbis.h"

#include <vorbis/codec.h>
#include <vorbis/vorbisenc.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cstring>

namespace music {

namespace {

// Any fixed number: Ogg asks for a random one only to tell chained streams apart.
constexpr int kSerial = 0x5a454c31;
constexpr int kEncodeFrames = 1024;

void Append(std::vector<std::uint8_t>& out, const ogg_page& page) {
    out.insert(out.end(), page.header, page.header + page.header_len);
    out.insert(out.end(), page.body, page.body + page.body_len);
}

} // namespace

std::vector<std::uint8_t> EncodeOggVorbis(const TStereo& audio, int rate, float quality,
                                          const std::string& title) {
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, 2, rate, quality) != 0) {
        vorbis_info_clear(&info);
        return {};
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_comment_add_tag(&comment, "TITLE", title.c_str());
    vorbis_comment_add_tag(&comment, "ARTIST", "Chess Zel");
    vorbis_dsp_state dsp;
    vorbis_block block;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, kSerial);

    std::vector<std::uint8_t> out;
    ogg_page page;
    ogg_packet packet;
    {
        ogg_packet header, headerComment, headerCode;
        vorbis_analysis_headerout(&dsp, &comment, &header, &headerComment, &headerCode);
        ogg_stream_packetin(&stream, &header);
        ogg_stream_packetin(&stream, &headerComment);
        ogg_stream_packetin(&stream, &headerCode);
        // The audio starts on a page of its own.
        while (ogg_stream_flush(&stream, &page) != 0)
            Append(out, page);
    }
    std::size_t at = 0;
    bool ended = false;
    while (!ended) {
        const std::size_t count = std::min<std::size_t>(kEncodeFrames, audio.Frames() - at);
        if (count == 0) {
            vorbis_analysis_wrote(&dsp, 0); // the end of the stream
        } else {
            float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(count));
            std::memcpy(buffer[0], audio.Left.data() + at, count * sizeof(float));
            std::memcpy(buffer[1], audio.Right.data() + at, count * sizeof(float));
            vorbis_analysis_wrote(&dsp, static_cast<int>(count));
            at += count;
        }
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            while (vorbis_bitrate_flushpacket(&dsp, &packet) != 0) {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page) != 0) {
                    Append(out, page);
                    if (ogg_page_eos(&page) != 0) ended = true;
                }
            }
        }
        if (count == 0) ended = true;
    }
    while (ogg_stream_flush(&stream, &page) != 0)
        Append(out, page);
    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return out;
}

TStereo DecodeOggVorbis(const std::string& path, int* rate) {
    OggVorbis_File file;
    if (ov_fopen(path.c_str(), &file) != 0) return {};
    const vorbis_info* info = ov_info(&file, -1);
    TStereo audio;
    if (info == nullptr || info->channels != 2) {
        ov_clear(&file);
        return {};
    }
    if (rate != nullptr) *rate = static_cast<int>(info->rate);
    for (;;) {
        float** pcm = nullptr;
        int section = 0;
        const long frames = ov_read_float(&file, &pcm, kEncodeFrames, &section);
        if (frames <= 0) break;
        audio.Left.insert(audio.Left.end(), pcm[0], pcm[0] + frames);
        audio.Right.insert(audio.Right.end(), pcm[1], pcm[1] + frames);
    }
    ov_clear(&file);
    return audio;
}

} // namespace music
