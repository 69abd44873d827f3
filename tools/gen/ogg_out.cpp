#include "gen/ogg_out.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

// Same title, same serial: keeps the bytes stable between builds.
int SerialFor(const std::string& title) {
  unsigned h = 2166136261u;
  for (unsigned char c : title) h = (h ^ c) * 16777619u;
  return static_cast<int>(h & 0x7FFFFFFF);
}

bool WritePage(std::FILE* f, const ogg_page& page) {
  return std::fwrite(page.header, 1, static_cast<std::size_t>(page.header_len), f) ==
             static_cast<std::size_t>(page.header_len) &&
         std::fwrite(page.body, 1, static_cast<std::size_t>(page.body_len), f) ==
             static_cast<std::size_t>(page.body_len);
}

}  // namespace

bool WriteOgg(const std::string& path, int channels, const std::vector<float>& samples,
              float quality, const std::string& title, const std::string& encoder) {
  if ((channels != 1 && channels != 2) || samples.size() % static_cast<std::size_t>(channels)) {
    std::fprintf(stderr, "bad sample buffer for %s\n", path.c_str());
    return false;
  }
  std::unique_ptr<std::FILE, FileCloser> f(std::fopen(path.c_str(), "wb"));
  if (!f) {
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
    return false;
  }

  vorbis_info vi;
  vorbis_info_init(&vi);
  if (vorbis_encode_init_vbr(&vi, channels, kSampleRate, quality) != 0) {
    vorbis_info_clear(&vi);
    std::fprintf(stderr, "vorbis encoder refused the settings for %s\n", path.c_str());
    return false;
  }
  vorbis_comment vc;
  vorbis_comment_init(&vc);
  vorbis_comment_add_tag(&vc, "TITLE", title.c_str());
  vorbis_comment_add_tag(&vc, "ENCODER", encoder.c_str());

  vorbis_dsp_state vd;
  vorbis_block vb;
  vorbis_analysis_init(&vd, &vi);
  vorbis_block_init(&vd, &vb);
  ogg_stream_state os;
  ogg_stream_init(&os, SerialFor(title));

  bool ok = true;
  ogg_packet header, header_comm, header_code;
  vorbis_analysis_headerout(&vd, &vc, &header, &header_comm, &header_code);
  ogg_stream_packetin(&os, &header);
  ogg_stream_packetin(&os, &header_comm);
  ogg_stream_packetin(&os, &header_code);
  ogg_page page;
  while (ok && ogg_stream_flush(&os, &page) != 0) ok = WritePage(f.get(), page);

  const std::size_t frames = samples.size() / static_cast<std::size_t>(channels);
  constexpr std::size_t kChunk = 4096;
  std::size_t pos = 0;
  bool eos = false;
  while (ok && !eos) {
    const std::size_t n = std::min(kChunk, frames - pos);
    if (n == 0) {
      vorbis_analysis_wrote(&vd, 0);  // marks the end; the last granule trims padding
    } else {
      float** buffer = vorbis_analysis_buffer(&vd, static_cast<int>(n));
      for (std::size_t i = 0; i < n; ++i) {
        for (int c = 0; c < channels; ++c) {
          buffer[c][i] =
              samples[(pos + i) * static_cast<std::size_t>(channels) + static_cast<std::size_t>(c)];
        }
      }
      vorbis_analysis_wrote(&vd, static_cast<int>(n));
      pos += n;
    }
    while (ok && vorbis_analysis_blockout(&vd, &vb) == 1) {
      vorbis_analysis(&vb, nullptr);
      vorbis_bitrate_addblock(&vb);
      ogg_packet packet;
      while (ok && vorbis_bitrate_flushpacket(&vd, &packet) == 1) {
        ogg_stream_packetin(&os, &packet);
        while (ok && ogg_stream_pageout(&os, &page) != 0) {
          ok = WritePage(f.get(), page);
          if (ogg_page_eos(&page)) eos = true;
        }
      }
    }
    if (n == 0 && !eos) {
      // Nothing more will come out: flush whatever is left.
      while (ok && ogg_stream_flush(&os, &page) != 0) ok = WritePage(f.get(), page);
      eos = true;
    }
  }

  ogg_stream_clear(&os);
  vorbis_block_clear(&vb);
  vorbis_dsp_clear(&vd);
  vorbis_comment_clear(&vc);
  vorbis_info_clear(&vi);
  if (!ok || std::fflush(f.get()) != 0) {
    std::fprintf(stderr, "writing %s failed\n", path.c_str());
    return false;
  }
  return true;
}
