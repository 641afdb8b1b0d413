// Drawing a picture into a new surface of its own: what the picture tools
// (pict2png, the fuzzer, the tests) do with picture files.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "graphics/picture.h"
#include "platform/raster/surface.h"

namespace orvane::graphics {

inline constexpr std::size_t kPictFileHeaderSize = 512;

// The picture data in the bytes of a file: the bytes themselves when they
// are a picture (raw PICT data or a packed bitmap), else the bytes after a
// 512-byte picture-file header when those are one.
std::span<const std::uint8_t> picture_data_of(std::span<const std::uint8_t> file_bytes);

// Whether a surface of that size may be made for a picture of data_size
// bytes: up to 16 megapixels always; beyond, only as far as the data could
// fill (512 pixels per byte, the most a packed 1-bit row expands to), and
// never past 128 megapixels. A frame of 30000 x 30000 in a 100-byte picture
// is refused.
bool frame_size_acceptable(raster::IntSize size, std::size_t data_size);

struct RenderedPicture {
  std::optional<raster::Surface> surface;  // absent when nothing could be drawn
  PlaybackResult playback;
  std::string error;  // why surface is absent
};

// Draws the picture into a new 32-bit surface of the frame's size, or of
// `size` with the picture scaled into it, first filled with the background
// colour, which is also the background colour of the drawing.
RenderedPicture render_picture(std::span<const std::uint8_t> data, std::optional<raster::IntSize> size,
                               raster::Color background = raster::colors::white,
                               const PlaybackOptions& options = {});

}  // namespace orvane::graphics
