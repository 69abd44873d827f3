#include "audio/test_sounds.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <list>

#include "platform/resources.h"

namespace {

constexpr int kRate = 22050;
constexpr double kPi = 3.14159265358979323846;

void AppendPage(std::vector<unsigned char>& out, const ogg_page& page) {
  out.insert(out.end(), page.header, page.header + page.header_len);
  out.insert(out.end(), page.body, page.body + page.body_len);
}

void PutLE(std::vector<unsigned char>& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

}  // namespace

std::vector<unsigned char> MakeOggTone(double seconds, double frequency) {
  std::vector<unsigned char> out;
  vorbis_info info;
  vorbis_info_init(&info);
  if (vorbis_encode_init_vbr(&info, 1, kRate, 0.1f) != 0) {
    vorbis_info_clear(&info);
    return out;
  }
  vorbis_comment comment;
  vorbis_comment_init(&comment);
  vorbis_dsp_state dsp;
  vorbis_analysis_init(&dsp, &info);
  vorbis_block block;
  vorbis_block_init(&dsp, &block);
  ogg_stream_state stream;
  ogg_stream_init(&stream, 1);

  ogg_packet header, header_comment, header_code;
  vorbis_analysis_headerout(&dsp, &comment, &header, &header_comment, &header_code);
  ogg_stream_packetin(&stream, &header);
  ogg_stream_packetin(&stream, &header_comment);
  ogg_stream_packetin(&stream, &header_code);
  ogg_page page;
  while (ogg_stream_flush(&stream, &page) != 0) AppendPage(out, page);

  const int frames = static_cast<int>(seconds * kRate);
  constexpr int kChunk = 1024;
  for (int done = 0;; done += kChunk) {
    const int count = std::min(kChunk, frames - done);
    if (count > 0) {
      float** buffer = vorbis_analysis_buffer(&dsp, count);
      for (int i = 0; i < count; ++i) {
        buffer[0][i] =
            0.5f * static_cast<float>(std::sin(2.0 * kPi * frequency * (done + i) / kRate));
      }
    }
    vorbis_analysis_wrote(&dsp, std::max(count, 0));  // 0 marks the end of the stream
    while (vorbis_analysis_blockout(&dsp, &block) == 1) {
      vorbis_analysis(&block, nullptr);
      vorbis_bitrate_addblock(&block);
      ogg_packet packet;
      while (vorbis_bitrate_flushpacket(&dsp, &packet) == 1) {
        ogg_stream_packetin(&stream, &packet);
        while (ogg_stream_pageout(&stream, &page) != 0) AppendPage(out, page);
      }
    }
    if (count <= 0) break;
  }
  while (ogg_stream_flush(&stream, &page) != 0) AppendPage(out, page);

  ogg_stream_clear(&stream);
  vorbis_block_clear(&block);
  vorbis_dsp_clear(&dsp);
  vorbis_comment_clear(&comment);
  vorbis_info_clear(&info);
  return out;
}

std::vector<unsigned char> MakeWavTone(double seconds, double frequency) {
  const auto frames = static_cast<std::uint32_t>(seconds * kRate);
  const std::uint32_t data_bytes = frames * 2;
  std::vector<unsigned char> out;
  out.reserve(44 + data_bytes);
  // Byte by byte: a range insert into the empty vector trips a false overflow warning of
  // GCC 12 at -O3.
  auto put_tag = [&out](const char* tag) {
    for (; *tag != '\0'; ++tag) out.push_back(static_cast<unsigned char>(*tag));
  };
  put_tag("RIFF");
  PutLE(out, 36 + data_bytes, 4);
  put_tag("WAVEfmt ");
  PutLE(out, 16, 4);         // fmt chunk size
  PutLE(out, 1, 2);          // PCM
  PutLE(out, 1, 2);          // mono
  PutLE(out, kRate, 4);      // sample rate
  PutLE(out, kRate * 2, 4);  // byte rate
  PutLE(out, 2, 2);          // block align
  PutLE(out, 16, 2);         // bits per sample
  put_tag("data");
  PutLE(out, data_bytes, 4);
  for (std::uint32_t i = 0; i < frames; ++i) {
    const double s = 0.5 * std::sin(2.0 * kPi * frequency * i / kRate);
    PutLE(out, static_cast<std::uint16_t>(static_cast<std::int16_t>(s * 32767.0)), 2);
  }
  return out;
}

void RegisterSoundBytes(std::string_view name, std::vector<unsigned char> bytes) {
  static std::list<std::vector<unsigned char>> kept;
  kept.push_back(std::move(bytes));
  RegisterResource(name, kept.back().data(), kept.back().size());
}

const Sound* FindSound(std::string_view fx) {
  for (const Sound& sound : SoundList()) {
    if (sound.FX == fx) return &sound;
  }
  return nullptr;
}
