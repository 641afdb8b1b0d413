// Test images for the picture player, written as PNG files: palettes of 2,
// 16 and 256 colours (bit depths 1, 4 and 8), 16-bit colour (a 5-5-5 grid),
// 24-bit colour and 32-bit colour with alpha. The pixels are made from a
// seed, so every run makes the same files.
#pragma once

#include <png.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/raster/color.h"

namespace orvane::graphics::testing {

enum class ImageKind { palette2, palette16, palette256, color16, color24, color32 };

struct TestImage {
  std::string name;
  ImageKind kind;
  int width;
  int height;
  std::vector<raster::Color> pixels;   // what the picture must show
  std::vector<std::uint8_t> indices;   // palette images
  std::vector<raster::Color> palette;  // palette images
  std::vector<std::uint8_t> alpha;     // color32
};

class Lcg {
 public:
  explicit Lcg(std::uint32_t seed) : state_(seed) {}
  std::uint32_t next() {
    state_ = state_ * 1664525u + 1013904223u;
    return state_ >> 8;
  }

 private:
  std::uint32_t state_;
};

inline TestImage make_image(std::string name, ImageKind kind, int width, int height, std::uint32_t seed) {
  TestImage img{std::move(name), kind, width, height, {}, {}, {}, {}};
  Lcg rng(seed);
  std::size_t n = static_cast<std::size_t>(width) * height;
  auto random_color = [&] {
    std::uint32_t v = rng.next();
    return raster::Color{static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                         static_cast<std::uint8_t>(v >> 16)};
  };
  int colors = kind == ImageKind::palette2 ? 2 : kind == ImageKind::palette16 ? 16 : 256;
  switch (kind) {
    case ImageKind::palette2:
    case ImageKind::palette16:
    case ImageKind::palette256: {
      for (int i = 0; i < colors; ++i) img.palette.push_back(random_color());
      for (std::size_t i = 0; i < n; ++i) {
        // Runs and noise, so that PackBits meets both.
        int x = static_cast<int>(i % width), y = static_cast<int>(i / width);
        std::uint8_t index = (x / 7 + y) % 3 == 0 ? static_cast<std::uint8_t>(rng.next() % colors)
                                                  : static_cast<std::uint8_t>((y * 5 + x / 11) % colors);
        img.indices.push_back(index);
        img.pixels.push_back(img.palette[index]);
      }
      break;
    }
    case ImageKind::color16:
      for (std::size_t i = 0; i < n; ++i) {
        std::uint32_t v = rng.next();
        auto widen = [](std::uint32_t c) { return static_cast<std::uint8_t>(((c & 31) << 3) | ((c & 31) >> 2)); };
        img.pixels.push_back({widen(v), widen(v >> 5), widen(v >> 10)});
      }
      break;
    case ImageKind::color24:
    case ImageKind::color32:
      for (std::size_t i = 0; i < n; ++i) {
        int x = static_cast<int>(i % width), y = static_cast<int>(i / width);
        raster::Color c = (x / 13 + y / 5) % 2 ? random_color()
                                               : raster::Color{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y),
                                                               static_cast<std::uint8_t>(x + y)};
        img.pixels.push_back(c);
        if (kind == ImageKind::color32) img.alpha.push_back(static_cast<std::uint8_t>(255 - (x * 7 + y) % 200));
      }
      break;
  }
  return img;
}

inline bool write_test_png(const TestImage& img, const std::string& path) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "wb"), &std::fclose);
  if (!file) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, file.get());
  bool palette = !img.palette.empty();
  int depth = img.kind == ImageKind::palette2 ? 1 : img.kind == ImageKind::palette16 ? 4 : 8;
  int type = palette ? PNG_COLOR_TYPE_PALETTE
                     : img.kind == ImageKind::color32 ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB;
  png_set_IHDR(png, info, static_cast<png_uint_32>(img.width), static_cast<png_uint_32>(img.height), depth, type,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  std::vector<png_color> entries;
  for (raster::Color c : img.palette) entries.push_back({c.r, c.g, c.b});
  if (palette) png_set_PLTE(png, info, entries.data(), static_cast<int>(entries.size()));
  png_write_info(png, info);
  if (palette && depth < 8) png_set_packing(png);
  std::vector<std::uint8_t> row;
  for (int y = 0; y < img.height; ++y) {
    row.clear();
    for (int x = 0; x < img.width; ++x) {
      std::size_t i = static_cast<std::size_t>(y) * img.width + x;
      if (palette) {
        row.push_back(img.indices[i]);
        continue;
      }
      row.insert(row.end(), {img.pixels[i].r, img.pixels[i].g, img.pixels[i].b});
      if (img.kind == ImageKind::color32) row.push_back(img.alpha[i]);
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace orvane::graphics::testing
