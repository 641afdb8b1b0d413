// The picture player on 640 x 480 pictures: an 8-bit PackBits pixmap and a
// 32-bit DirectBitsRect (packed planes), drawn unscaled and scaled. Goal:
// under 3 ms for the 8-bit picture.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "graphics/picture.h"
#include "graphics/picture_render.h"
#include "platform/raster/device_context.h"

namespace {

using namespace orvane;

constexpr int kWidth = 640;
constexpr int kHeight = 480;

class Bytes {
 public:
  void u8(unsigned v) { data.push_back(static_cast<std::uint8_t>(v)); }
  void u16(unsigned v) {
    u8(v >> 8);
    u8(v);
  }
  void u32(std::uint32_t v) {
    u16(v >> 16);
    u16(v & 0xffff);
  }
  void rect(int top, int left, int bottom, int right) {
    u16(static_cast<unsigned>(top));
    u16(static_cast<unsigned>(left));
    u16(static_cast<unsigned>(bottom));
    u16(static_cast<unsigned>(right));
  }
  void align() {
    if (data.size() % 2) u8(0);
  }
  std::vector<std::uint8_t> data;
};

std::vector<std::uint8_t> pack_bits(const std::vector<std::uint8_t>& row) {
  std::vector<std::uint8_t> out;
  std::size_t i = 0, n = row.size();
  while (i < n) {
    std::size_t run = 1;
    while (i + run < n && run < 128 && row[i + run] == row[i]) ++run;
    if (run >= 3) {
      out.push_back(static_cast<std::uint8_t>(257 - run));
      out.push_back(row[i]);
      i += run;
      continue;
    }
    std::size_t start = i;
    while (i < n && i - start < 128 && !(i + 2 < n && row[i] == row[i + 1] && row[i] == row[i + 2])) ++i;
    out.push_back(static_cast<std::uint8_t>(i - start - 1));
    out.insert(out.end(), row.begin() + static_cast<std::ptrdiff_t>(start), row.begin() + static_cast<std::ptrdiff_t>(i));
  }
  return out;
}

// Artwork-like pixels: flat bands, gradients and a noisy patch.
std::uint8_t sample(int x, int y, int channel) {
  if (y < 160) return static_cast<std::uint8_t>((x / 40) * 16 + channel * 40);
  if (y < 320) return static_cast<std::uint8_t>(x * 255 / kWidth + channel * y);
  std::uint32_t h = static_cast<std::uint32_t>(x * 73856093) ^ static_cast<std::uint32_t>(y * 19349663) ^
                    static_cast<std::uint32_t>(channel * 83492791);
  return static_cast<std::uint8_t>(x % 50 < 25 ? h >> 7 : 200);
}

void picture_header(Bytes& b) {
  b.u16(0);
  b.rect(0, 0, kHeight, kWidth);
  b.u16(0x0011);
  b.u16(0x02ff);
  b.u16(0x0c00);
  b.u16(0xfffe);
  b.u16(0);
  b.u32(0x00480000);
  b.u32(0x00480000);
  b.rect(0, 0, kHeight, kWidth);
  b.u32(0);
  b.u16(0x001e);
  b.u16(0x0001);
  b.u16(10);
  b.rect(0, 0, kHeight, kWidth);
}

void pixmap_record(Bytes& b, unsigned row_bytes, int pack_type, int pixel_size, int components) {
  b.u16(0x8000 | row_bytes);
  b.rect(0, 0, kHeight, kWidth);
  b.u16(0);
  b.u16(static_cast<unsigned>(pack_type));
  b.u32(0);
  b.u32(0x00480000);
  b.u32(0x00480000);
  b.u16(pixel_size == 32 ? 16 : 0);
  b.u16(static_cast<unsigned>(pixel_size));
  b.u16(static_cast<unsigned>(components));
  b.u16(8);
  b.u32(0);
  b.u32(0);
  b.u32(0);
}

std::vector<std::uint8_t> indexed_picture() {
  Bytes b;
  picture_header(b);
  b.u16(0x0098);
  pixmap_record(b, kWidth, 0, 8, 1);
  b.u32(0);
  b.u16(0x8000);
  b.u16(255);
  for (unsigned i = 0; i < 256; ++i) {
    b.u16(0);
    b.u16((i * 37 % 256) * 257);
    b.u16(i * 257);
    b.u16((255 - i) * 257);
  }
  b.rect(0, 0, kHeight, kWidth);
  b.rect(0, 0, kHeight, kWidth);
  b.u16(0);
  for (int y = 0; y < kHeight; ++y) {
    std::vector<std::uint8_t> row(kWidth);
    for (int x = 0; x < kWidth; ++x) row[static_cast<std::size_t>(x)] = sample(x, y, 0);
    auto packed = pack_bits(row);
    b.u16(static_cast<unsigned>(packed.size()));
    b.data.insert(b.data.end(), packed.begin(), packed.end());
  }
  b.align();
  b.u16(0x00ff);
  return b.data;
}

std::vector<std::uint8_t> direct_picture() {
  Bytes b;
  picture_header(b);
  b.u16(0x009a);
  b.u32(0xff);
  pixmap_record(b, 4 * kWidth, 4, 32, 3);
  b.rect(0, 0, kHeight, kWidth);
  b.rect(0, 0, kHeight, kWidth);
  b.u16(0x40);
  for (int y = 0; y < kHeight; ++y) {
    std::vector<std::uint8_t> row;
    for (int c = 0; c < 3; ++c)
      for (int x = 0; x < kWidth; ++x) row.push_back(sample(x, y, c));
    auto packed = pack_bits(row);
    b.u16(static_cast<unsigned>(packed.size()));
    b.data.insert(b.data.end(), packed.begin(), packed.end());
  }
  b.align();
  b.u16(0x00ff);
  return b.data;
}

void play(benchmark::State& state, const std::vector<std::uint8_t>& pict, raster::IntRect destination) {
  raster::Surface surface(kWidth, kHeight, raster::PixelFormat::rgb32);
  raster::DeviceContext dc(surface);
  for (auto _ : state) {
    graphics::PlaybackResult r = graphics::play_picture(dc, pict, destination);
    if (r.end != graphics::PlaybackEnd::finished) state.SkipWithError("picture did not finish");
    benchmark::DoNotOptimize(surface.row(0));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(pict.size()));
}

void BM_Play8BitPackBits(benchmark::State& state) {
  static const auto pict = indexed_picture();
  play(state, pict, {0, 0, kWidth, kHeight});
}
BENCHMARK(BM_Play8BitPackBits)->Unit(benchmark::kMillisecond);

void BM_Play8BitPackBitsScaledDown(benchmark::State& state) {
  static const auto pict = indexed_picture();
  play(state, pict, {0, 0, kWidth / 2, kHeight / 2});
}
BENCHMARK(BM_Play8BitPackBitsScaledDown)->Unit(benchmark::kMillisecond);

void BM_Play32BitPlanes(benchmark::State& state) {
  static const auto pict = direct_picture();
  play(state, pict, {0, 0, kWidth, kHeight});
}
BENCHMARK(BM_Play32BitPlanes)->Unit(benchmark::kMillisecond);

void BM_Render8BitIntoNewSurface(benchmark::State& state) {
  static const auto pict = indexed_picture();
  for (auto _ : state) {
    graphics::RenderedPicture r = graphics::render_picture(pict, std::nullopt);
    benchmark::DoNotOptimize(r.surface->row(0));
  }
}
BENCHMARK(BM_Render8BitIntoNewSurface)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
