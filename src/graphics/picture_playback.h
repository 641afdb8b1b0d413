// The picture player as the Lisp side uses it: a failed bitmap raises
// error 9 after the player has restored the drawing context.
#pragma once

#include <cstdint>
#include <span>

#include "core/value.h"
#include "graphics/picture.h"

namespace orvane {

// Plays picture data on dc into destination; error 9 (with nil) when a
// bitmap's memory cannot be had or one of its rows unpacks to the wrong
// length. Data that is not a picture draws nothing.
graphics::PlaybackResult draw_picture(raster::DeviceContext& dc, std::span<const std::uint8_t> data,
                                      const raster::IntRect& destination);

// The frame of picture data as a rectangle Value (left top right bottom);
// (0 0 0 0) when the data is not a picture.
Value picture_frame(std::span<const std::uint8_t> data);

}  // namespace orvane
