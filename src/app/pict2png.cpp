#include "app/pict2png.h"

#include <CLI/CLI.hpp>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>

#include "graphics/picture_render.h"
#include "platform/file_io.h"
#include "platform/raster/png_io.h"

namespace orvane::app {

namespace {

constexpr int kOk = 0;
constexpr int kFailed = 1;
constexpr int kBadUsage = 2;

std::optional<raster::IntSize> parse_size(const std::string& text) {
  unsigned w = 0, h = 0;
  char x = 0, extra = 0;
  if (std::sscanf(text.c_str(), "%u%c%u%c", &w, &x, &h, &extra) != 3 || (x != 'x' && x != 'X')) return std::nullopt;
  if (w == 0 || h == 0 || w > 32767 || h > 32767) return std::nullopt;
  return raster::IntSize{static_cast<int>(w), static_cast<int>(h)};
}

std::optional<raster::Color> parse_colour(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  struct Named {
    const char* name;
    raster::Color colour;
  };
  static constexpr Named kNames[] = {{"white", {255, 255, 255}}, {"black", {0, 0, 0}}, {"red", {255, 0, 0}},
                                     {"green", {0, 255, 0}},     {"blue", {0, 0, 255}},  {"gray", {128, 128, 128}},
                                     {"grey", {128, 128, 128}}};
  for (const Named& n : kNames)
    if (text == n.name) return n.colour;
  if (!text.empty() && text[0] == '#') text.erase(0, 1);
  if (text.size() != 6 || text.find_first_not_of("0123456789abcdef") != std::string::npos) return std::nullopt;
  unsigned long v = std::stoul(text, nullptr, 16);
  return raster::Color::from_rgb(static_cast<std::uint32_t>(v));
}

void warn(const std::string& in, const std::string& text) { std::cerr << "pict2png: " << in << ": " << text << "\n"; }

}  // namespace

int pict2png_main(int argc, char** argv) {
  CLI::App app{
      "Draw a QuickDraw picture into a PNG image of its frame size. IN is a picture file (with or "
      "without its 512-byte header), raw picture data, or a packed device-independent bitmap.",
      "orvane pict2png"};
  std::string in, out, size_text, colour_text = "white";
  graphics::PlaybackOptions options;
  app.add_option("IN", in, "Picture file")->required();
  app.add_option("OUT", out, "PNG file to write")->required();
  app.add_option("--size", size_text, "Draw into W x H pixels, scaling the picture (for example 640x480)")
      ->check([](const std::string& s) { return parse_size(s) ? "" : "a size is WxH, 1 to 32767 each"; });
  app.add_option("--background", colour_text,
                 "Colour behind the picture: #RRGGBB, RRGGBB, white, black, red, green, blue or gray (default white)")
      ->check([](const std::string& s) { return parse_colour(s) ? "" : "a colour is #RRGGBB or a name"; });
  app.add_flag("--complete", options.complete,
               "Draw the whole picture: also text, pixel patterns, regions and QuickTime JPEG images, which "
               "titles' playback does not draw");
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return app.exit(e) == 0 ? kOk : kBadUsage;
  }

  std::string bytes;
  if (int error = platform::read_whole_file(in, bytes); error != 0) {
    warn(in, std::string("cannot read: ") + std::strerror(error));
    return kFailed;
  }
  std::span<const std::uint8_t> file(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  std::span<const std::uint8_t> data = graphics::picture_data_of(file);
  std::optional<raster::IntSize> size;
  if (!size_text.empty()) size = parse_size(size_text);
  graphics::RenderedPicture picture = graphics::render_picture(data, size, *parse_colour(colour_text), options);
  if (!picture.surface) {
    warn(in, picture.error);
    return kFailed;
  }
  const graphics::PlaybackResult& r = picture.playback;
  char where[96];
  std::snprintf(where, sizeof where, "opcode 0x%04x at offset %zu", static_cast<unsigned>(r.last_opcode), r.offset);
  switch (r.end) {
    case graphics::PlaybackEnd::bitmap_failed:
      warn(in, std::string("a bitmap of the picture could not be unpacked (") + where + ")");
      return kFailed;
    case graphics::PlaybackEnd::stopped:
      warn(in, std::string("drawing stopped at ") + where + ", which the player does not draw" +
                   (options.complete ? "" : " (--complete draws more)"));
      break;
    case graphics::PlaybackEnd::truncated:
      warn(in, std::string("picture data ends early or is malformed (") + where + "); what was drawn is kept");
      break;
    default:
      break;
  }
  if (r.undrawn > 0) {
    std::snprintf(where, sizeof where, "%zu part(s) of the picture could not be drawn, the first at opcode 0x%04x",
                  r.undrawn, static_cast<unsigned>(r.first_undrawn));
    warn(in, where);
  }
  std::string error;
  if (!raster::write_png(*picture.surface, out, &error)) {
    warn(out, "cannot write: " + error);
    return kFailed;
  }
  return kOk;
}

}  // namespace orvane::app
