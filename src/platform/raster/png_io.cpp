#include "platform/raster/png_io.h"

#include <png.h>

#include <cstring>

namespace orvane::raster {

namespace {

std::vector<std::uint8_t> rgb_rows(const Surface& surface) {
  std::vector<std::uint8_t> rgb(static_cast<std::size_t>(surface.width()) * surface.height() * 3);
  std::size_t i = 0;
  for (int y = 0; y < surface.height(); ++y)
    for (int x = 0; x < surface.width(); ++x) {
      Color c = surface.color_at(x, y);
      rgb[i++] = c.r;
      rgb[i++] = c.g;
      rgb[i++] = c.b;
    }
  return rgb;
}

png_image image_for(const Surface& surface) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(surface.width());
  image.height = static_cast<png_uint_32>(surface.height());
  image.format = PNG_FORMAT_RGB;
  return image;
}

// Reads the rest of the image as RGBA bytes; frees the image either way.
std::optional<std::vector<std::uint8_t>> finish_rgba(png_image& image, std::string* error) {
  image.format = PNG_FORMAT_RGBA;
  std::vector<std::uint8_t> rgba(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr)) {
    if (error) *error = image.message;
    png_image_free(&image);
    return std::nullopt;
  }
  return rgba;
}

std::optional<Surface> finish_read(png_image& image, std::string* error) {
  auto surface = Surface::try_create(static_cast<int>(image.width), static_cast<int>(image.height),
                                     PixelFormat::rgb32);
  if (!surface) {
    png_image_free(&image);
    if (error) *error = "image too large";
    return std::nullopt;
  }
  auto rgba = finish_rgba(image, error);
  if (!rgba) return std::nullopt;
  std::size_t i = 0;
  for (int y = 0; y < surface->height(); ++y)
    for (int x = 0; x < surface->width(); ++x, i += 4)
      surface->set_pixel(x, y, Color{(*rgba)[i], (*rgba)[i + 1], (*rgba)[i + 2]}.rgb());
  return surface;
}

bool begin_file_read(png_image& image, const std::string& path, std::string* error) {
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (png_image_begin_read_from_file(&image, path.c_str())) return true;
  if (error) *error = image.message;
  return false;
}

}  // namespace

bool write_png(const Surface& surface, const std::string& path, std::string* error) {
  if (surface.width() == 0 || surface.height() == 0) {
    if (error) *error = "empty image";
    return false;
  }
  png_image image = image_for(surface);
  if (surface.format() == PixelFormat::indexed8) {
    // Indexed surfaces become palette images of the smallest bit depth.
    std::vector<std::uint8_t> indices(static_cast<std::size_t>(surface.width()) * surface.height());
    std::size_t i = 0;
    for (int y = 0; y < surface.height(); ++y)
      for (int x = 0; x < surface.width(); ++x) indices[i++] = surface.row(y)[x];
    std::vector<std::uint8_t> palette;
    for (Color c : surface.color_table()) palette.insert(palette.end(), {c.r, c.g, c.b});
    image.format = PNG_FORMAT_RGB_COLORMAP;
    image.colormap_entries = static_cast<png_uint_32>(surface.color_table().size());
    if (png_image_write_to_file(&image, path.c_str(), 0, indices.data(), 0, palette.data())) return true;
    if (error) *error = image.message;
    return false;
  }
  std::vector<std::uint8_t> rgb = rgb_rows(surface);
  if (!png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), 0, nullptr)) {
    if (error) *error = image.message;
    return false;
  }
  return true;
}

std::optional<std::vector<std::uint8_t>> encode_png(const Surface& surface) {
  if (surface.width() == 0 || surface.height() == 0) return std::nullopt;
  png_image image = image_for(surface);
  std::vector<std::uint8_t> rgb = rgb_rows(surface);
  png_alloc_size_t size = 0;
  if (!png_image_write_to_memory(&image, nullptr, &size, 0, rgb.data(), 0, nullptr)) return std::nullopt;
  std::vector<std::uint8_t> out(size);
  if (!png_image_write_to_memory(&image, out.data(), &size, 0, rgb.data(), 0, nullptr)) return std::nullopt;
  out.resize(size);
  return out;
}

std::optional<Surface> read_png(const std::string& path, std::string* error) {
  png_image image;
  if (!begin_file_read(image, path, error)) return std::nullopt;
  return finish_read(image, error);
}

std::optional<Surface> decode_png(std::span<const std::uint8_t> data, std::string* error) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, data.data(), data.size())) {
    if (error) *error = image.message;
    return std::nullopt;
  }
  return finish_read(image, error);
}

std::optional<RgbaImage> read_png_rgba(const std::string& path, std::string* error) {
  png_image image;
  if (!begin_file_read(image, path, error)) return std::nullopt;
  RgbaImage result{static_cast<int>(image.width), static_cast<int>(image.height), {}};
  auto rgba = finish_rgba(image, error);
  if (!rgba) return std::nullopt;
  result.rgba = std::move(*rgba);
  return result;
}

}  // namespace orvane::raster
