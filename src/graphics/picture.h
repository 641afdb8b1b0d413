// The picture player: QuickDraw pictures (PICT versions 1 and 2) and packed
// device-independent bitmaps drawn on a device context of the raster engine,
// scaled into a destination rectangle, in one pass over the data.
//
// No Lisp types here: pict2png and the fuzzer call it directly; the Lisp
// side wraps it (picture_playback.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "platform/raster/device_context.h"
#include "platform/raster/geometry.h"

namespace orvane::graphics {

enum class PictureKind { unknown, packed_bitmap, pict1, pict2 };

struct PictureInfo {
  PictureKind kind = PictureKind::unknown;
  // (left top right bottom): the picture frame, or the source rectangle of a
  // version-2 extended header; (0 0 width height) for a packed bitmap.
  raster::IntRect frame;
};

// Decides the kind from the first bytes and reads the frame.
PictureInfo inspect_picture(std::span<const std::uint8_t> data);

enum class PlaybackEnd {
  finished,       // the end opcode, or the packed bitmap drawn
  stopped,        // an opcode outside the table
  truncated,      // the data ended inside an opcode, or an operand was malformed
  not_a_picture,  // neither a packed bitmap nor a PICT of version 1 or 2
  bitmap_failed,  // a bitmap's memory could not be had or a row unpacked to the wrong length
};

std::string_view describe(PlaybackEnd end);

struct PlaybackResult {
  PlaybackEnd end = PlaybackEnd::not_a_picture;
  std::uint16_t last_opcode = 0;  // the opcode the walk ended on
  std::size_t offset = 0;         // where that opcode starts
  std::size_t opcodes = 0;        // opcodes acted on
  // Complete playback: opcodes passed over without drawing what they hold
  // (a QuickTime picture of another compression, a JPEG that cannot be
  // decoded), and the first of them.
  std::size_t undrawn = 0;
  std::uint16_t first_undrawn = 0;
};

struct PlaybackOptions {
  // Go on where the title player stops (the tools' playback; titles never
  // set it): text in the fonts of the font layer, pixel patterns, regions,
  // bitmaps masked by a region, JPEG pictures compressed by QuickTime, the
  // shape verbs the title player lacks, and every other opcode skipped by
  // its documented length. Clips keep their whole region.
  bool complete = false;
};

// Plays the picture on dc, its frame mapped onto destination (logical
// coordinates of dc). The clip region, mix and stretch mode of dc are as
// before afterwards; the pen and brush the picture selected stay selected.
PlaybackResult play_picture(raster::DeviceContext& dc, std::span<const std::uint8_t> data,
                            const raster::IntRect& destination, const PlaybackOptions& options = {});

}  // namespace orvane::graphics
