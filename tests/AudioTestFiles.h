#pragma once

// Sound and music files the audio tests make for themselves, each a plain tone, encoded with
// the data generator's own Ogg Vorbis and MP3 writers.

#include <cstdint>
#include <vector>

// A tone of iFrames sample frames encoded as Ogg Vorbis.
std::vector<std::uint8_t> TEST_EncodeOgg(int iChannels, int iRate, int iFrames);

// A tone of iFrames sample frames encoded as MP3 (no VBR header frame, no tags).
std::vector<std::uint8_t> TEST_EncodeMp3(int iChannels, int iRate, int iFrames);

// An ID3v2.3 tag of iTotalBytes bytes (header included) whose body holds a false MPEG frame
// sync saying 22050 Hz mono, so a probe that does not skip the tag reads the wrong format.
std::vector<std::uint8_t> TEST_MakeId3Tag(int iTotalBytes);
