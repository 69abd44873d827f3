#include "platform/image.h"

// clang-format off
#include <cstdio>  // jpeglib.h needs FILE declared first
#include <jpeglib.h>
// clang-format on
#include <png.h>

#include <csetjmp>
#include <cstring>

namespace {

// Larger images than this are refused before anything is allocated: no asset of
// the game comes near it, and a forged header must not claim gigabytes.
constexpr std::size_t kMaxDimension = 16384;
constexpr std::size_t kMaxPixels = 4096u * 4096u;

bool SizeAcceptable(std::size_t w, std::size_t h) {
  return w > 0 && h > 0 && w <= kMaxDimension && h <= kMaxDimension && w * h <= kMaxPixels;
}

bool IsPng(std::span<const unsigned char> bytes) {
  return bytes.size() >= 8 && png_sig_cmp(bytes.data(), 0, 8) == 0;
}

bool IsJpeg(std::span<const unsigned char> bytes) {
  return bytes.size() >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF;
}

// libpng's simplified reader stops once the pixels are in and never looks at the
// end of the stream, so a file cut short after its image data would pass. Walk the
// chunk chain to make sure the file really ends with IEND.
bool PngChunksComplete(std::span<const unsigned char> bytes) {
  std::size_t pos = 8;
  while (pos + 12 <= bytes.size()) {
    const std::size_t length = (std::size_t{bytes[pos]} << 24) |
                               (std::size_t{bytes[pos + 1]} << 16) |
                               (std::size_t{bytes[pos + 2]} << 8) | std::size_t{bytes[pos + 3]};
    if (length > bytes.size() - pos - 12) return false;
    if (std::memcmp(&bytes[pos + 4], "IEND", 4) == 0) return true;
    pos += 12 + length;
  }
  return false;
}

std::optional<Pixmap> DecodePng(std::span<const unsigned char> bytes) {
  if (!PngChunksComplete(bytes)) return std::nullopt;
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  // The simplified API catches libpng's errors itself (setjmp inside libpng) and
  // reports them through its return value.
  if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) {
    png_image_free(&image);
    return std::nullopt;
  }
  if (!SizeAcceptable(image.width, image.height)) {
    png_image_free(&image);
    return std::nullopt;
  }
  Pixmap out;
  out.width = static_cast<int>(image.width);
  out.height = static_cast<int>(image.height);
  out.has_alpha = (image.format & PNG_FORMAT_FLAG_ALPHA) != 0;
  image.format = PNG_FORMAT_RGBA;
  out.rgba.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, out.rgba.data(), 0, nullptr)) {
    png_image_free(&image);
    return std::nullopt;
  }
  return out;
}

struct JpegError {
  jpeg_error_mgr mgr;
  std::jmp_buf jump;
};

[[noreturn]] void JpegErrorExit(j_common_ptr cinfo) {
  std::longjmp(reinterpret_cast<JpegError*>(cinfo->err)->jump, 1);
}

// libjpeg only warns about damaged or truncated data and fills the gap with grey;
// a damaged image is refused instead, and nothing is printed.
void JpegEmitMessage(j_common_ptr cinfo, int level) {
  if (level < 0) JpegErrorExit(cinfo);
}

// Everything that must survive a longjmp out of libjpeg lives in the caller's frame.
bool ReadJpeg(jpeg_decompress_struct& cinfo, JpegError& err, std::span<const unsigned char> bytes,
              Pixmap& out, std::vector<std::uint8_t>& row) {
  if (setjmp(err.jump)) return false;
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, bytes.data(), static_cast<unsigned long>(bytes.size()));
  if (jpeg_read_header(&cinfo, TRUE) != JPEG_HEADER_OK) return false;
  if (!SizeAcceptable(cinfo.image_width, cinfo.image_height)) return false;
  const bool gray = cinfo.jpeg_color_space == JCS_GRAYSCALE;
  cinfo.out_color_space = gray ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_start_decompress(&cinfo);
  const auto components = static_cast<std::size_t>(cinfo.output_components);
  if (components != (gray ? 1u : 3u)) return false;
  out.width = static_cast<int>(cinfo.output_width);
  out.height = static_cast<int>(cinfo.output_height);
  out.has_alpha = false;
  out.rgba.resize(static_cast<std::size_t>(out.width) * out.height * 4);
  row.resize(static_cast<std::size_t>(out.width) * components);
  while (cinfo.output_scanline < cinfo.output_height) {
    const std::size_t y = cinfo.output_scanline;
    JSAMPROW rows[1] = {row.data()};
    if (jpeg_read_scanlines(&cinfo, rows, 1) != 1) return false;
    std::uint8_t* dst = &out.rgba[y * static_cast<std::size_t>(out.width) * 4];
    for (std::size_t x = 0; x < static_cast<std::size_t>(out.width); ++x) {
      const std::uint8_t* src = &row[x * components];
      dst[4 * x + 0] = src[0];
      dst[4 * x + 1] = gray ? src[0] : src[1];
      dst[4 * x + 2] = gray ? src[0] : src[2];
      dst[4 * x + 3] = 255;
    }
  }
  jpeg_finish_decompress(&cinfo);
  return true;
}

std::optional<Pixmap> DecodeJpeg(std::span<const unsigned char> bytes) {
  jpeg_decompress_struct cinfo{};
  JpegError err{};
  cinfo.err = jpeg_std_error(&err.mgr);
  err.mgr.error_exit = JpegErrorExit;
  err.mgr.emit_message = JpegEmitMessage;
  Pixmap out;
  std::vector<std::uint8_t> row;
  const bool ok = ReadJpeg(cinfo, err, bytes, out, row);
  jpeg_destroy_decompress(&cinfo);
  if (!ok) return std::nullopt;
  return out;
}

}  // namespace

std::optional<Pixmap> DecodeImage(std::span<const unsigned char> bytes) {
  if (IsPng(bytes)) return DecodePng(bytes);
  if (IsJpeg(bytes)) return DecodeJpeg(bytes);
  return std::nullopt;
}
