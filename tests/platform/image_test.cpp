#include "platform/image.h"

#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

// clang-format off
#include <cstdio>
#include <jpeglib.h>
// clang-format on

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

// format: PNG_FORMAT_RGBA, PNG_FORMAT_RGB or PNG_FORMAT_GRAY.
Bytes EncodePng(int w, int h, png_uint_32 format, const std::vector<std::uint8_t>& pixels) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(w);
  image.height = static_cast<png_uint_32>(h);
  image.format = format;
  png_alloc_size_t size = 0;
  EXPECT_TRUE(png_image_write_get_memory_size(image, size, 0, pixels.data(), 0, nullptr));
  Bytes out(size);
  EXPECT_TRUE(png_image_write_to_memory(&image, out.data(), &size, 0, pixels.data(), 0, nullptr));
  out.resize(size);
  return out;
}

Bytes EncodeJpeg(int w, int h, int components, const std::vector<std::uint8_t>& pixels) {
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr jerr{};
  cinfo.err = jpeg_std_error(&jerr);
  jpeg_create_compress(&cinfo);
  unsigned char* mem = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &mem, &size);
  cinfo.image_width = static_cast<JDIMENSION>(w);
  cinfo.image_height = static_cast<JDIMENSION>(h);
  cinfo.input_components = components;
  cinfo.in_color_space = components == 1 ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 95, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  const std::size_t stride = static_cast<std::size_t>(w) * components;
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(pixels.data() + stride * cinfo.next_scanline);
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  Bytes out(mem, mem + size);
  jpeg_destroy_compress(&cinfo);
  std::free(mem);
  return out;
}

// A 4-quadrant test card: red, green, blue, white, with alpha rising to the right.
std::vector<std::uint8_t> Card(int w, int h, int channels) {
  std::vector<std::uint8_t> px(static_cast<std::size_t>(w) * h * channels);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const int q = (y >= h / 2) * 2 + (x >= w / 2);
      const std::uint8_t rgb[4][3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
      std::uint8_t* p = &px[(static_cast<std::size_t>(y) * w + x) * channels];
      for (int c = 0; c < std::min(channels, 3); ++c) p[c] = rgb[q][c];
      if (channels == 4) p[3] = static_cast<std::uint8_t>(x * 255 / (w - 1));
    }
  }
  return px;
}

TEST(DecodeImage, PngWithAlphaRoundTripsExactly) {
  const auto px = Card(20, 10, 4);
  const auto img = DecodeImage(EncodePng(20, 10, PNG_FORMAT_RGBA, px));
  ASSERT_TRUE(img);
  EXPECT_EQ(img->width, 20);
  EXPECT_EQ(img->height, 10);
  EXPECT_TRUE(img->has_alpha);
  EXPECT_EQ(img->rgba, px);  // straight alpha, rows top to bottom, no gamma change
}

TEST(DecodeImage, PngWithoutAlphaIsOpaque) {
  const auto px = Card(8, 6, 3);
  const auto img = DecodeImage(EncodePng(8, 6, PNG_FORMAT_RGB, px));
  ASSERT_TRUE(img);
  EXPECT_FALSE(img->has_alpha);
  ASSERT_EQ(img->rgba.size(), 8u * 6u * 4u);
  for (std::size_t i = 0; i < 8 * 6; ++i) {
    EXPECT_EQ(img->rgba[i * 4 + 0], px[i * 3 + 0]);
    EXPECT_EQ(img->rgba[i * 4 + 1], px[i * 3 + 1]);
    EXPECT_EQ(img->rgba[i * 4 + 2], px[i * 3 + 2]);
    EXPECT_EQ(img->rgba[i * 4 + 3], 255);
  }
}

TEST(DecodeImage, GrayPngBecomesGrayRgba) {
  std::vector<std::uint8_t> px(16);
  for (int i = 0; i < 16; ++i) px[i] = static_cast<std::uint8_t>(i * 17);
  const auto img = DecodeImage(EncodePng(4, 4, PNG_FORMAT_GRAY, px));
  ASSERT_TRUE(img);
  for (int i = 0; i < 16; ++i) {
    EXPECT_EQ(img->rgba[i * 4 + 0], px[i]);
    EXPECT_EQ(img->rgba[i * 4 + 2], px[i]);
    EXPECT_EQ(img->rgba[i * 4 + 3], 255);
  }
}

TEST(DecodeImage, JpegColoursSurviveWithinLossyTolerance) {
  const auto px = Card(32, 32, 3);
  const auto img = DecodeImage(EncodeJpeg(32, 32, 3, px));
  ASSERT_TRUE(img);
  EXPECT_EQ(img->width, 32);
  EXPECT_EQ(img->height, 32);
  EXPECT_FALSE(img->has_alpha);
  // Sample the middle of each quadrant, away from the edges JPEG blurs.
  for (int q = 0; q < 4; ++q) {
    const int x = (q % 2) * 16 + 8, y = (q / 2) * 16 + 8;
    const std::size_t i = static_cast<std::size_t>(y) * 32 + x;
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(img->rgba[i * 4 + c], px[i * 3 + c], 12) << q << c;
    EXPECT_EQ(img->rgba[i * 4 + 3], 255);
  }
}

TEST(DecodeImage, GrayJpegBecomesGrayRgba) {
  std::vector<std::uint8_t> px(16 * 16, 200);
  const auto img = DecodeImage(EncodeJpeg(16, 16, 1, px));
  ASSERT_TRUE(img);
  EXPECT_NEAR(img->rgba[0], 200, 3);
  EXPECT_EQ(img->rgba[0], img->rgba[1]);
  EXPECT_EQ(img->rgba[0], img->rgba[2]);
  EXPECT_EQ(img->rgba[3], 255);
}

TEST(DecodeImage, RejectsBytesThatAreNoImage) {
  EXPECT_FALSE(DecodeImage({}));
  const Bytes text = {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd'};
  EXPECT_FALSE(DecodeImage(text));
  Bytes noise(4096);
  unsigned state = 12345;
  for (auto& b : noise)
    b = static_cast<unsigned char>((state = state * 1103515245u + 12345u) >> 16);
  EXPECT_FALSE(DecodeImage(noise));
  // The right signatures followed by rubbish.
  Bytes png_sig = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  EXPECT_FALSE(DecodeImage(png_sig));
  png_sig.insert(png_sig.end(), noise.begin(), noise.end());
  EXPECT_FALSE(DecodeImage(png_sig));
  Bytes jpeg_sig = {0xFF, 0xD8, 0xFF};
  EXPECT_FALSE(DecodeImage(jpeg_sig));
  jpeg_sig.insert(jpeg_sig.end(), noise.begin(), noise.end());
  EXPECT_FALSE(DecodeImage(jpeg_sig));
}

TEST(DecodeImage, RejectsEveryTruncatedPng) {
  const Bytes png = EncodePng(24, 24, PNG_FORMAT_RGBA, Card(24, 24, 4));
  ASSERT_TRUE(DecodeImage(png));
  for (std::size_t n = 0; n < png.size(); ++n) {
    EXPECT_FALSE(DecodeImage(std::span(png.data(), n))) << "prefix of " << n << " bytes";
  }
}

TEST(DecodeImage, RejectsEveryTruncatedJpeg) {
  const Bytes jpeg = EncodeJpeg(24, 24, 3, Card(24, 24, 3));
  ASSERT_TRUE(DecodeImage(jpeg));
  for (std::size_t n = 0; n < jpeg.size(); ++n) {
    EXPECT_FALSE(DecodeImage(std::span(jpeg.data(), n))) << "prefix of " << n << " bytes";
  }
}

TEST(DecodeImage, RejectsCorruptedImageData) {
  Bytes png = EncodePng(24, 24, PNG_FORMAT_RGBA, Card(24, 24, 4));
  png[png.size() - 20] ^= 0x5A;  // inside the image data: its checksum no longer matches
  EXPECT_FALSE(DecodeImage(png));

  Bytes jpeg = EncodeJpeg(24, 24, 3, Card(24, 24, 3));
  // Overwrite the middle of the entropy-coded data with marker bytes.
  std::memset(&jpeg[jpeg.size() / 2 + 40], 0xFF, 16);
  EXPECT_FALSE(DecodeImage(jpeg));
}

// Rewrites the IHDR of a valid PNG to claim an enormous size, with a correct CRC,
// so only the size check stands between the header and a huge allocation.
TEST(DecodeImage, RefusesForgedHugeDimensions) {
  Bytes png = EncodePng(4, 4, PNG_FORMAT_RGBA, Card(4, 4, 4));
  const std::uint32_t huge = 100000;
  for (int k = 0; k < 2; ++k) {
    for (int b = 0; b < 4; ++b)
      png[16 + 4 * k + b] = static_cast<unsigned char>(huge >> (24 - 8 * b));
  }
  const uLong crc = crc32(0, &png[12], 17);
  for (int b = 0; b < 4; ++b) png[29 + b] = static_cast<unsigned char>(crc >> (24 - 8 * b));
  EXPECT_FALSE(DecodeImage(png));

  Bytes jpeg = EncodeJpeg(8, 8, 3, Card(8, 8, 3));
  // SOF0: FF C0, length, precision, then height and width (16 bits each).
  for (std::size_t i = 0; i + 9 < jpeg.size(); ++i) {
    if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
      jpeg[i + 5] = jpeg[i + 7] = 0x4E;  // 20000 x 20000
      jpeg[i + 6] = jpeg[i + 8] = 0x20;
      break;
    }
  }
  EXPECT_FALSE(DecodeImage(jpeg));
}

}  // namespace
