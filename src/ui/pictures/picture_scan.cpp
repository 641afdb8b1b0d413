#include "ui/pictures/picture_scan.h"

#include "platform/byte_reader.h"

namespace orvane::ui {

using graphics::PictureKind;
using raster::IntRect;

namespace {

constexpr std::uint16_t kEndOfPicture = 0x00ff;
constexpr std::uint16_t kHeaderOp = 0x0c00;

IntRect read_rect(ByteReader& in) {
  const int top = in.s16be(), left = in.s16be(), bottom = in.s16be(), right = in.s16be();
  return {left, top, right, bottom};
}

// Skips a region or polygon operand (its size word counts itself).
bool skip_sized(ByteReader& in) {
  const std::uint16_t size = in.u16be();
  return in.ok() && size >= 2 && in.skip(size - 2u);
}

class Scanner {
 public:
  // The walk starts after the version opcode: byte 12 in version 1, the
  // header opcode at byte 14 in version 2.
  Scanner(std::span<const std::uint8_t> data, bool version2) : in_(data, version2 ? 14 : 12), version2_(version2) {}

  void run(PictureScan& out) {
    out_ = &out;
    for (;;) {
      if (version2_) in_.align_even();
      const std::uint16_t op = version2_ ? in_.u16be() : in_.u8();
      if (!in_.ok() || op == kEndOfPicture || !step(op)) return;
    }
  }

 private:
  // Skips one opcode's operands; false where the player stops.
  bool step(std::uint16_t op) {
    if (op == kHeaderOp) return in_.skip(24);
    if (op > 0xa1) return false;
    switch (op) {
      case 0x00: case 0x1e: return true;
      case 0x01: return skip_sized(in_);
      case 0x02: case 0x09: case 0x0a: case 0x10: return in_.skip(8);
      case 0x03: case 0x05: case 0x08: case 0x0d: return in_.skip(2);
      case 0x04: return in_.skip(version2_ ? 2 : 1);
      case 0x06: case 0x07: case 0x0b: case 0x0c: case 0x0e: case 0x0f: return in_.skip(4);
      case 0x11: return in_.skip(version2_ ? 2 : 1);
      case 0x1a: case 0x1b: case 0x1f: return in_.skip(6);
      case 0x20: return drawn(8);
      case 0x21: return drawn(4);
      case 0x22: return drawn(6);
      case 0x23: return drawn(2);
      case 0x2c: case 0x2d: case 0x2e: case 0x2f: {
        const std::uint16_t n = in_.u16be();
        return in_.ok() && in_.skip(n);
      }
      case 0x70: case 0x71:
        ++out_->drawings;
        return skip_sized(in_);
      case 0x80: case 0x81: case 0x82: case 0x83: case 0x84: return skip_sized(in_);
      case 0x90: case 0x98: case 0x9a: return pixel_copy(op);
      case 0xa0: return in_.skip(2);
      case 0xa1: {
        in_.skip(2);
        const std::uint16_t n = in_.u16be();
        return in_.ok() && in_.skip(n);
      }
      default: break;
    }
    if (op >= 0x30 && op <= 0x6c) return shape(op);
    return false;
  }

  bool drawn(std::size_t operands) {
    ++out_->drawings;
    return in_.skip(operands);
  }

  // Rectangles, rounded rectangles, ovals (a rectangle, or none for the
  // "same" forms) and arcs (plus two angles).
  bool shape(std::uint16_t op) {
    const int family = op & 0xf0, verb = op & 0x0f;
    if (verb > 0x0c || (verb > 4 && verb < 8)) return false;
    if (family != 0x30 && family != 0x40 && family != 0x50 && family != 0x60) return false;
    ++out_->drawings;
    std::size_t operands = verb < 8 ? 8 : 0;
    if (family == 0x60) operands += 4;
    return in_.skip(operands);
  }

  bool pixel_copy(std::uint16_t op) {
    if (op == 0x9a && !in_.skip(4)) return false;
    const std::uint16_t row_word = in_.u16be();
    const bool pixmap = op == 0x9a || (row_word & 0x8000);
    const int row_bytes = row_word & 0x3fff;
    const IntRect bounds = read_rect(in_);
    int pack_type = 0;
    if (pixmap) {
      in_.skip(2);  // version
      pack_type = in_.u16be();
      in_.skip(4 + 4 + 4 + 2 + 2 + 2 + 2 + 4 + 4 + 4);
      if (op != 0x9a) {
        in_.skip(4 + 2);
        const std::uint16_t entries = in_.u16be();
        in_.skip((static_cast<std::size_t>(entries) + 1) * 8);
      }
    }
    in_.skip(16);  // source and destination rectangles
    const int mode = in_.u16be();
    if (!in_.ok()) return false;
    const int height = bounds.height();
    if (height < 0) return false;
    const bool raw = op == 0x90 || row_bytes < 8 || pack_type == 1;
    for (int y = 0; y < height; ++y) {
      std::size_t n = 0;
      if (raw) n = static_cast<std::size_t>(row_bytes);
      else if (pack_type == 2) n = static_cast<std::size_t>(bounds.width()) * 3;
      else n = row_bytes > 250 ? in_.u16be() : in_.u8();
      if (!in_.ok() || !in_.skip(n)) return false;
    }
    ++out_->pixel_copies;
    out_->transfer_mode = mode;
    if (!out_->bitmap_bounds) out_->bitmap_bounds = bounds;
    return true;
  }

  ByteReader in_;
  bool version2_;
  PictureScan* out_ = nullptr;
};

}  // namespace

PictureScan scan_picture(std::span<const std::uint8_t> data) {
  PictureScan out;
  const graphics::PictureInfo info = graphics::inspect_picture(data);
  out.kind = info.kind;
  if (info.kind == PictureKind::packed_bitmap) {
    out.pixel_copies = 1;
    out.bitmap_bounds = info.frame;
    return out;
  }
  if (info.kind != PictureKind::pict1 && info.kind != PictureKind::pict2) return out;
  Scanner(data, info.kind == PictureKind::pict2).run(out);
  return out;
}

}  // namespace orvane::ui
