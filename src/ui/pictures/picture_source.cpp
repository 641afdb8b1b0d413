#include "ui/pictures/picture_source.h"

#include <string>

#include "core/blocks.h"
#include "core/errors.h"
#include "core/memory.h"
#include "graphics/picture_render.h"
#include "platform/file_io.h"
#include "storage/file_errors.h"
#include "storage/pathnames.h"
#include "ui/window_layer.h"

namespace orvane::ui {

namespace {

// Resources and records may have been left unloaded: their handle has no
// storage until the world's loader fills it.
void load_if_needed(Value picture, HandleId h, std::string_view loader) {
  if (handle_size(h) > 0) return;
  call_world(loader, {picture});
}

}  // namespace

std::vector<std::uint8_t> picture_bytes(Value picture) {
  if (!is_pointer(picture)) raise_error(2, picture);
  const PointerKind kind = pointer_kind(picture);
  HandleId h = 0;
  switch (kind) {
    case PointerKind::handle:
      h = handle_of(picture);
      break;
    case PointerKind::resource:
      h = handle_of(picture);
      load_if_needed(picture, h, "loadresource");
      break;
    case PointerKind::record:
      h = pointer_address(picture);
      if (!handle_is_live(h) || !handle_is_plain(h)) raise_error(2, picture);
      load_if_needed(picture, h, "load-record");
      break;
    default:
      raise_error(2, picture);
  }
  if (!handle_is_live(h)) raise_error(2, picture);
  std::span<const std::uint8_t> bytes = handle_bytes(h);
  return {bytes.begin(), bytes.end()};
}

std::vector<std::uint8_t> picture_file_bytes(Value pathname) {
  const std::string path = host_path_of(pathname);
  std::string content;
  if (int error = platform::read_whole_file(path, content); error != 0) raise_system_file_error(error, pathname);
  std::span<const std::uint8_t> all(reinterpret_cast<const std::uint8_t*>(content.data()), content.size());
  std::span<const std::uint8_t> data = graphics::picture_data_of(all);
  return {data.begin(), data.end()};
}

Value make_picture_handle(std::span<const std::uint8_t> bytes) {
  return make_handle_value(new_handle_with(bytes));
}

}  // namespace orvane::ui
