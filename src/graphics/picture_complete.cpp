// Complete playback: the opcodes the title player stops at or passes over,
// and every reserved opcode skipped by the length QuickDraw gives it, so
// that the walk reaches the end of any well-formed picture.
#include "graphics/picture_complete.h"

#include "graphics/picture_player.h"

namespace orvane::graphics::detail {

namespace {

// The eight colours of QuickDraw's FgColor and BkColor (old-style colour
// numbers); nothing for any other number.
std::optional<raster::Color> old_style_color(std::uint32_t number) {
  switch (number) {
    case 33: return raster::Color{0, 0, 0};          // blackColor
    case 30: return raster::Color{255, 255, 255};    // whiteColor
    case 205: return raster::Color{221, 8, 6};       // redColor
    case 341: return raster::Color{0, 128, 17};      // greenColor
    case 409: return raster::Color{0, 0, 212};       // blueColor
    case 273: return raster::Color{2, 171, 234};     // cyanColor
    case 137: return raster::Color{242, 8, 132};     // magentaColor
    case 69: return raster::Color{252, 243, 5};      // yellowColor
    default: return std::nullopt;
  }
}

}  // namespace

std::optional<PictPlayer::Step> PictPlayer::act_complete(std::uint16_t op) {
  switch (op) {
    case 0x01:
      return clip_to_whole_region();
    case 0x03: case 0x04: case 0x05: case 0x0d: case 0x10:
      set_text_state(op);
      return Step::next;
    case 0x09: case 0x0a:
      complete_->pixel_pattern.reset();
      return std::nullopt;  // the title player sets the one-bit pattern
    case 0x0e: case 0x0f: {
      std::optional<raster::Color> c = old_style_color(in_.u32be());
      if (c && op == 0x0e) set_foreground(*c);
      else if (c) dc_.set_background_color(*c);
      return Step::next;
    }
    case 0x12: case 0x13: case 0x14:
      return pixel_pattern_op(op);
    case 0x28: case 0x29: case 0x2a: case 0x2b:
      return text_op(op);
    case 0x2c:
      return font_name();
    case 0x43: case 0x44: case 0x4b: case 0x4c:  // invert and fill rounded rectangles
    case 0x72: case 0x73: case 0x74:             // erase, invert and fill polygons
      return shape(op);
    case 0x80: case 0x81: case 0x82: case 0x83: case 0x84:
      return region_op(op & 7);
    case 0x91: case 0x99: case 0x9b:
      return bits_op(op);
    case 0x8200:
      return quicktime_op();
    default:
      return skip_reserved(op);
  }
}

// QuickDraw reserves opcode ranges with fixed lengths or length fields, so
// that old readers can pass over what later versions added.
std::optional<PictPlayer::Step> PictPlayer::skip_reserved(std::uint16_t op) {
  auto in = [op](unsigned from, unsigned to) { return op >= from && op <= to; };
  if (op == 0x11) return skip(1);  // a stray version opcode
  if (in(0x15, 0x16)) return skip(2);  // PnLocHFrac, ChExtra
  if (in(0x17, 0x19) || op == 0x1c) return Step::next;  // HiliteMode
  if (op == 0x1d) return skip(6);  // HiliteColor
  if (in(0x24, 0x27)) return skip_counted(0);
  if (in(0x35, 0x37) || in(0x45, 0x47) || in(0x55, 0x57)) return skip(8);
  if (in(0x3d, 0x3f) || in(0x4d, 0x4f) || in(0x5d, 0x5f) || in(0x78, 0x7f) || in(0x88, 0x8f)) return Step::next;
  if (in(0x65, 0x67)) return skip(12);
  if (in(0x6d, 0x6f)) return skip(4);
  if (in(0x75, 0x77) || in(0x85, 0x87)) {
    // A polygon or region: its size word counts itself.
    std::uint16_t size = in_.u16be();
    if (size < 2) {
      end_ = PlaybackEnd::truncated;
      return Step::end;
    }
    return skip(size - 2u);
  }
  if (in(0x92, 0x97) || in(0x9c, 0x9f) || in(0xa2, 0xaf)) return skip_counted(0);
  if (in(0xb0, 0xcf) || in(0x8000, 0x80ff)) return Step::next;
  if (in(0xd0, 0xfe) || op >= 0x8100) return skip(in_.u32be());
  if (op == 0x02ff) return skip(2);
  if (in(0x0100, 0x7fff) && op != 0x0c00) return skip(static_cast<std::size_t>(op >> 8) * 2);
  return std::nullopt;
}

void PictPlayer::note_undrawn(std::uint16_t op) {
  if (undrawn_++ == 0) first_undrawn_ = op;
}

}  // namespace orvane::graphics::detail
