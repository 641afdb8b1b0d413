// JPEG images decoded with libjpeg(-turbo). Only jpeg_decoder.cpp includes
// the library's header.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "platform/raster/surface.h"

namespace orvane::raster {

struct JpegLimits {
  // Images with more pixels are refused before anything is decoded.
  std::int64_t max_pixels = std::int64_t{1} << 24;
  // Progressive images with more scans are refused (each scan is a pass over
  // the whole image, so a few bytes could otherwise ask for minutes).
  int max_scans = 256;
};

struct JpegResult {
  std::optional<Surface> image;  // 24-bit; absent when nothing could be decoded
  std::string error;             // why the image is absent
  // The data ended early or was corrupt after the image had begun: the
  // missing part is grey, as the library fills it.
  bool damaged = false;
};

// Decodes a baseline or progressive JPEG (greyscale, colour or CMYK).
JpegResult decode_jpeg(std::span<const std::uint8_t> data, const JpegLimits& limits = {});

}  // namespace orvane::raster
