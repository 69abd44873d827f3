#include "gen/image_out.h"

#include <jpeglib.h>
#include <png.h>

#include <cstdio>
#include <memory>

namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

File OpenForWrite(const std::string& path) {
  File f(std::fopen(path.c_str(), "wb"));
  if (!f) std::fprintf(stderr, "cannot write %s\n", path.c_str());
  return f;
}

// Everything libpng touches after setjmp lives in the caller's frame or on the heap.
bool WritePngRows(png_structp png, png_infop info, std::FILE* f, int width, int height,
                  int channels, const std::vector<std::uint8_t>& pixels,
                  const std::string& software) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_init_io(png, f);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
               channels == 4 ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_compression_level(png, 9);
  png_text text{};
  text.compression = PNG_TEXT_COMPRESSION_NONE;
  text.key = const_cast<char*>("Software");
  text.text = const_cast<char*>(software.c_str());
  png_set_text(png, info, &text, 1);
  png_write_info(png, info);
  const std::size_t stride = static_cast<std::size_t>(width) * static_cast<std::size_t>(channels);
  for (int y = 0; y < height; ++y) {
    png_write_row(png, pixels.data() + stride * static_cast<std::size_t>(y));
  }
  png_write_end(png, info);
  return true;
}

}  // namespace

bool WritePng(const std::string& path, int width, int height, int channels,
              const std::vector<std::uint8_t>& pixels, const std::string& software) {
  if ((channels != 3 && channels != 4) ||
      pixels.size() != static_cast<std::size_t>(width) * height * channels) {
    std::fprintf(stderr, "bad pixel buffer for %s\n", path.c_str());
    return false;
  }
  File f = OpenForWrite(path);
  if (!f) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  bool ok =
      png && info && WritePngRows(png, info, f.get(), width, height, channels, pixels, software);
  png_destroy_write_struct(&png, &info);
  if (!ok) std::fprintf(stderr, "PNG encoding failed for %s\n", path.c_str());
  return ok && std::fflush(f.get()) == 0;
}

bool WriteJpeg(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgb,
               int quality, const std::string& software) {
  if (rgb.size() != static_cast<std::size_t>(width) * height * 3) return false;
  File f = OpenForWrite(path);
  if (!f) return false;
  // Our own pixels and parameters cannot make libjpeg fail, so its default error
  // handler (which exits) is acceptable in a build tool.
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr jerr{};
  cinfo.err = jpeg_std_error(&jerr);
  jpeg_create_compress(&cinfo);
  jpeg_stdio_dest(&cinfo, f.get());
  cinfo.image_width = static_cast<JDIMENSION>(width);
  cinfo.image_height = static_cast<JDIMENSION>(height);
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  cinfo.optimize_coding = TRUE;
  jpeg_start_compress(&cinfo, TRUE);
  jpeg_write_marker(&cinfo, JPEG_COM, reinterpret_cast<const JOCTET*>(software.data()),
                    static_cast<unsigned>(software.size()));
  const std::size_t stride = static_cast<std::size_t>(width) * 3;
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(rgb.data() + stride * cinfo.next_scanline);
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  return std::fflush(f.get()) == 0;
}
