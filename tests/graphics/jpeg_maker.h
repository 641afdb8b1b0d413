// JPEG images made with libjpeg-turbo for the tests, from rows of colours.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

#include "platform/raster/color.h"

namespace orvane::graphics::testing {

// Encodes the colours at the quality given (100 keeps flat areas exact to a
// unit or two); grey when `grey`.
inline std::vector<std::uint8_t> make_jpeg(const std::vector<std::vector<raster::Color>>& pixels, int quality = 100,
                                           bool grey = false, bool progressive = false) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(pixels[0].size());
  info.image_height = static_cast<JDIMENSION>(pixels.size());
  info.input_components = grey ? 1 : 3;
  info.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  if (progressive) jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  std::vector<std::uint8_t> row;
  for (const auto& line : pixels) {
    row.clear();
    for (raster::Color c : line) {
      if (grey) row.push_back(c.g);
      else row.insert(row.end(), {c.r, c.g, c.b});
    }
    JSAMPROW r = row.data();
    jpeg_write_scanlines(&info, &r, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::vector<std::uint8_t> out(buffer, buffer + size);
  std::free(buffer);
  return out;
}

// A w x h image whose left half is red and right half blue.
inline std::vector<std::vector<raster::Color>> red_blue_halves(int w, int h) {
  std::vector<std::vector<raster::Color>> pixels(h, std::vector<raster::Color>(w));
  for (auto& line : pixels)
    for (int x = 0; x < w; ++x) line[x] = x < w / 2 ? raster::Color{255, 0, 0} : raster::Color{0, 0, 255};
  return pixels;
}

}  // namespace orvane::graphics::testing
