// PNG files: surfaces written as 8-bit RGB, and PNG images read into 32-bit
// surfaces (transparency is dropped: the colour channels are kept as stored).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/raster/surface.h"

namespace orvane::raster {

// Answers false and describes the failure in *error when the file cannot
// be written.
bool write_png(const Surface& surface, const std::string& path, std::string* error = nullptr);
std::optional<std::vector<std::uint8_t>> encode_png(const Surface& surface);

std::optional<Surface> read_png(const std::string& path, std::string* error = nullptr);

// The pixels with their transparency: 4 bytes a pixel (red, green, blue,
// alpha), rows top to bottom.
struct RgbaImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgba;
};
std::optional<RgbaImage> read_png_rgba(const std::string& path, std::string* error = nullptr);
std::optional<Surface> decode_png(std::span<const std::uint8_t> data, std::string* error = nullptr);

}  // namespace orvane::raster
