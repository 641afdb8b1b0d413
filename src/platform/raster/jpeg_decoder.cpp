#include "platform/raster/jpeg_decoder.h"

#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

namespace orvane::raster {

namespace {

// The library reports fatal errors through error_exit, which must not
// return: it jumps back to decode_jpeg. Messages go to `message` instead of
// standard error.
struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX] = {};
  int warnings = 0;
};

ErrorManager& manager_of(j_common_ptr info) { return *reinterpret_cast<ErrorManager*>(info->err); }

[[noreturn]] void on_error(j_common_ptr info) {
  ErrorManager& m = manager_of(info);
  m.base.format_message(info, m.message);
  std::longjmp(m.jump, 1);
}

void on_message(j_common_ptr info, int level) {
  if (level < 0) ++manager_of(info).warnings;  // corrupt data the library works around
}

struct ProgressGuard {
  jpeg_progress_mgr base;
  int max_scans = 0;
};

void on_progress(j_common_ptr info) {
  auto* d = reinterpret_cast<j_decompress_ptr>(info);
  auto* guard = reinterpret_cast<ProgressGuard*>(info->progress);
  if (d->is_decompressor && d->input_scan_number > guard->max_scans) {
    std::snprintf(manager_of(info).message, JMSG_LENGTH_MAX, "more than %d scans", guard->max_scans);
    std::longjmp(manager_of(info).jump, 1);
  }
}

// Everything decoding touches lives here, outside the function that calls
// setjmp, so that a jump back skips no destructor.
struct Decoder {
  jpeg_decompress_struct info{};
  ErrorManager errors{};
  ProgressGuard progress{};
  bool created = false;
  std::vector<std::uint8_t> cmyk_row;
  JpegResult result;

  ~Decoder() {
    if (created) jpeg_destroy_decompress(&info);
  }
};

std::uint8_t cmyk_channel(unsigned ink, unsigned black, bool inverted) {
  // Adobe writes CMYK inverted (0 is full ink).
  if (!inverted) {
    ink = 255 - ink;
    black = 255 - black;
  }
  return static_cast<std::uint8_t>(ink * black / 255);
}

// Answers false after an error (the message is in d.errors.message).
bool run(Decoder& d, std::span<const std::uint8_t> data, const JpegLimits& limits) {
  d.info.err = jpeg_std_error(&d.errors.base);
  d.errors.base.error_exit = on_error;
  d.errors.base.emit_message = on_message;
  if (setjmp(d.errors.jump)) return false;
  jpeg_create_decompress(&d.info);
  d.created = true;
  d.info.mem->max_memory_to_use = 512L << 20;
  d.progress.base.progress_monitor = on_progress;
  d.progress.max_scans = limits.max_scans;
  d.info.progress = &d.progress.base;
  jpeg_mem_src(&d.info, data.data(), static_cast<unsigned long>(data.size()));
  jpeg_read_header(&d.info, TRUE);
  const std::int64_t pixels = std::int64_t{d.info.image_width} * d.info.image_height;
  if (pixels > limits.max_pixels) {
    std::snprintf(d.errors.message, JMSG_LENGTH_MAX, "image of %u x %u pixels is too large", d.info.image_width,
                  d.info.image_height);
    return false;
  }
  const bool cmyk = d.info.jpeg_color_space == JCS_CMYK || d.info.jpeg_color_space == JCS_YCCK;
  d.info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGR;
  jpeg_start_decompress(&d.info);
  const int width = static_cast<int>(d.info.output_width), height = static_cast<int>(d.info.output_height);
  d.result.image = Surface::try_create(width, height, PixelFormat::rgb24);
  if (!d.result.image) {
    std::snprintf(d.errors.message, JMSG_LENGTH_MAX, "not enough memory for %d x %d pixels", width, height);
    return false;
  }
  if (cmyk) d.cmyk_row.resize(4 * static_cast<std::size_t>(width));
  const bool inverted = d.info.saw_Adobe_marker;
  while (d.info.output_scanline < d.info.output_height) {
    const int y = static_cast<int>(d.info.output_scanline);
    std::uint8_t* out = d.result.image->row(y);
    JSAMPROW row = cmyk ? d.cmyk_row.data() : out;
    if (jpeg_read_scanlines(&d.info, &row, 1) != 1) break;
    if (!cmyk) continue;
    for (int x = 0; x < width; ++x) {
      const std::uint8_t* p = &d.cmyk_row[4 * static_cast<std::size_t>(x)];
      out[3 * x] = cmyk_channel(p[2], p[3], inverted);
      out[3 * x + 1] = cmyk_channel(p[1], p[3], inverted);
      out[3 * x + 2] = cmyk_channel(p[0], p[3], inverted);
    }
  }
  jpeg_finish_decompress(&d.info);
  return true;
}

}  // namespace

JpegResult decode_jpeg(std::span<const std::uint8_t> data, const JpegLimits& limits) {
  Decoder d;
  if (data.empty()) {
    d.result.error = "no JPEG data";
    return std::move(d.result);
  }
  if (!run(d, data, limits)) {
    // A failure once rows were decoded keeps them: the picture shows what
    // could be read.
    d.result.error = d.errors.message;
    if (d.result.image && d.info.output_scanline > 0) {
      d.result.damaged = true;
      d.result.error.clear();
    } else {
      d.result.image.reset();
    }
  }
  if (d.errors.warnings > 0 && d.result.image) d.result.damaged = true;
  return std::move(d.result);
}

}  // namespace orvane::raster
