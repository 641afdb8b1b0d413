#include "ui/pictures/faces_image.h"

#include <algorithm>

#include "graphics/packbits.h"
#include "platform/byte_reader.h"

namespace orvane::ui::faces {

using raster::IntRect;

// --- PackBits ----------------------------------------------------------------------

bool unpack_row(std::span<const std::uint8_t> packed, std::span<std::uint8_t> out) {
  std::size_t in = 0, o = 0;
  while (in < packed.size()) {
    const auto n = static_cast<std::int8_t>(packed[in++]);
    if (n >= 0) {
      const std::size_t count = static_cast<std::size_t>(n) + 1;
      if (in + count > packed.size() || o + count > out.size()) return false;
      std::copy_n(packed.begin() + static_cast<std::ptrdiff_t>(in), count, out.begin() + static_cast<std::ptrdiff_t>(o));
      in += count;
      o += count;
    } else {
      const std::size_t count = static_cast<std::size_t>(1 - n);
      if (in >= packed.size() || o + count > out.size()) return false;
      std::fill_n(out.begin() + static_cast<std::ptrdiff_t>(o), count, packed[in++]);
      o += count;
    }
  }
  return o == out.size();
}

// --- Blocks ------------------------------------------------------------------------------

namespace {

void put_word(std::vector<std::uint8_t>& out, int w) {
  out.push_back(static_cast<std::uint8_t>((w >> 8) & 0xff));
  out.push_back(static_cast<std::uint8_t>(w & 0xff));
}

}  // namespace

std::vector<std::uint8_t> encode(const Image& image) {
  std::vector<std::uint8_t> out;
  put_word(out, image.box.top);
  put_word(out, image.box.left);
  put_word(out, image.box.bottom);
  put_word(out, image.box.right);
  const bool wide = image.packed_width() > kMaxByteCountWidth;
  for (int y = 0; y < image.box.height(); ++y) {
    std::vector<std::uint8_t> packed;
    graphics::pack_bits(image.row(y), packed);
    if (wide) put_word(out, static_cast<int>(packed.size()));
    else out.push_back(static_cast<std::uint8_t>(packed.size()));
    out.insert(out.end(), packed.begin(), packed.end());
  }
  return out;
}

std::string_view describe(DecodeError e) {
  switch (e) {
    case DecodeError::none: return "no error";
    case DecodeError::too_short: return "the block is shorter than its box";
    case DecodeError::bad_box: return "the box is empty or inverted";
    case DecodeError::row_count_past_end: return "a row's byte count runs past the end of the block";
    case DecodeError::row_does_not_unpack: return "a row does not unpack to the box's width";
    case DecodeError::trailing_bytes: return "bytes follow the last row";
  }
  return "unknown error";
}

std::optional<IntRect> box_of(std::span<const std::uint8_t> block) {
  ByteReader in(block);
  const int top = in.s16be(), left = in.s16be(), bottom = in.s16be(), right = in.s16be();
  if (!in.ok()) return std::nullopt;
  return IntRect{left, top, right, bottom};
}

Decoded decode(std::span<const std::uint8_t> block) {
  std::optional<IntRect> box = box_of(block);
  if (!box) return {std::nullopt, DecodeError::too_short};
  if (box->width() <= 0 || box->height() <= 0) return {std::nullopt, DecodeError::bad_box};
  Image image{*box, {}};
  const auto width = static_cast<std::size_t>(image.packed_width());
  image.pixels.resize(width * static_cast<std::size_t>(box->height()));
  const bool wide = image.packed_width() > kMaxByteCountWidth;
  std::size_t at = 8;
  for (int y = 0; y < box->height(); ++y) {
    std::size_t count = 0;
    if (wide) {
      if (at + 2 > block.size()) return {std::nullopt, DecodeError::too_short};
      count = (static_cast<std::size_t>(block[at]) << 8) | block[at + 1];
      at += 2;
    } else {
      if (at + 1 > block.size()) return {std::nullopt, DecodeError::too_short};
      count = block[at++];
    }
    if (at + count > block.size()) return {std::nullopt, DecodeError::row_count_past_end};
    std::span<std::uint8_t> out(image.pixels.data() + width * static_cast<std::size_t>(y), width);
    if (!unpack_row(block.subspan(at, count), out)) return {std::nullopt, DecodeError::row_does_not_unpack};
    at += count;
  }
  if (at != block.size()) return {std::nullopt, DecodeError::trailing_bytes};
  return {std::move(image), DecodeError::none};
}

// --- Buffers -------------------------------------------------------------------------------

namespace {

bool blank(std::uint8_t v) { return v >= kFirstBlank; }

bool row_blank(const IndexedPixels& s, int y, int from, int to) {
  const std::uint8_t* row = s.row(y);
  return std::all_of(row + from, row + to, blank);
}

bool column_blank(const IndexedPixels& s, int x, int top, int bottom) {
  for (int y = top; y < bottom; ++y)
    if (!blank(s.row(y)[x])) return false;
  return true;
}

}  // namespace

Image capture(const IndexedPixels& buffer, Half half, std::span<const std::uint8_t> text) {
  const int w = buffer.width(), h = buffer.height();
  int from = 0, to = w;
  if (half == Half::left) to = w / 2;
  if (half == Half::right) from = w / 2;
  if (to <= from) to = std::min(w, from + 1);
  int top = 0, bottom = h;
  while (bottom - top > 1 && row_blank(buffer, top, from, to)) ++top;
  while (bottom - top > 1 && row_blank(buffer, bottom - 1, from, to)) --bottom;
  int left = from, right = to;
  while (right - left > 1 && column_blank(buffer, left, top, bottom)) ++left;
  while (right - left > 1 && column_blank(buffer, right - 1, top, bottom)) --right;

  // The text travels in the low bits of the box's pixels.
  std::size_t bit = 0;
  const std::size_t bits = text.size() * 8;
  for (int y = top; y < bottom && bit < bits; ++y) {
    std::uint8_t* row = buffer.row(y);
    for (int x = left; x < right && bit < bits; ++x, ++bit) {
      const std::uint8_t b = (text[bit / 8] >> (bit % 8)) & 1;
      row[x] = static_cast<std::uint8_t>((row[x] & 0xfe) | b);
    }
  }

  Image image{{left, top, right, bottom}, {}};
  const int width = image.packed_width();
  image.pixels.reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(bottom - top));
  for (int y = top; y < bottom; ++y) {
    const std::uint8_t* row = buffer.row(y);
    image.pixels.insert(image.pixels.end(), row + left, row + right);
    // The pad byte of an odd width: the next pixel, or blank at the edge.
    if (width > right - left) image.pixels.push_back(right < w ? row[right] : 0xff);
  }
  return image;
}

void put(const Image& image, const IndexedPixels& buffer) {
  const int w = buffer.width(), h = buffer.height();
  const int iw = image.box.width(), ih = image.box.height();
  if (iw <= 0 || ih <= 0) return;
  for (int y = 0; y < h; ++y) {
    const int source_row = iw == w && ih == h ? y : static_cast<int>(static_cast<std::int64_t>(y) * ih / h);
    std::span<const std::uint8_t> src = image.row(source_row);
    std::uint8_t* row = buffer.row(y);
    if (iw == w) {
      std::copy_n(src.begin(), w, row);
      continue;
    }
    for (int x = 0; x < w; ++x) row[x] = src[static_cast<std::size_t>(static_cast<std::int64_t>(x) * iw / w)];
  }
}

}  // namespace orvane::ui::faces
