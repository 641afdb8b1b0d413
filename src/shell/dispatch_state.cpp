#include "shell/dispatch_state.h"

#include "core/blocks.h"
#include "core/errors.h"
#include "platform/desktop/desktop.h"
#include "shell/cursors.h"
#include "shell/frame_procedure.h"
#include "shell/object_procedure.h"
#include "storage/resources.h"
#include "ui/window_layer.h"

namespace orvane::shell {

namespace {

DispatchState g_state;  // the documented singleton: the dispatcher of the title playing now
std::unique_ptr<ExtraRoots> g_roots;

std::optional<std::vector<std::uint8_t>> cursor_resource(int number) {
  if (number < -32768 || number > 32767) return std::nullopt;
  ResourceManager& rm = resource_manager();
  std::uint32_t h = rm.get(FourCC::of("CURS"), static_cast<std::int16_t>(number));
  if (h == 0) return std::nullopt;
  std::span<const std::uint8_t> bytes = handle_bytes(h);
  return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

}  // namespace

DispatchState& dispatch_state() { return g_state; }

void attach_dispatch(desktop::Desktop& desktop, desktop::Hwnd frame, desktop::Hwnd client, std::uint8_t start_flags) {
  g_state = DispatchState{};
  g_state.desktop = &desktop;
  g_state.frame = frame;
  g_state.client = client;
  g_state.start_flags = start_flags;
  auto post_restore = [&desktop, frame] { desktop.post_message(frame, ui::kReexamineMessage); };
  g_state.cursors = std::make_unique<ShellCursors>(desktop.screen(), cursor_resource, post_restore);
  g_roots = std::make_unique<ExtraRoots>([](ValueMarker& m) {
    m.mark(g_state.mouse.mouse_window);
    m.mark(g_state.mouse.last_click_window);
  });
  set_cursor_restore_poster(post_restore);
  subclass_mdi_client(desktop, client);
  ui::set_object_procedure(object_procedure);
}

void detach_dispatch() {
  ui::set_object_procedure(nullptr);
  set_cursor_restore_poster({});
  g_roots.reset();
  g_state = DispatchState{};
}

ShellCursors& shell_cursors() {
  if (!g_state.cursors) raise_error(47, kNil);
  return *g_state.cursors;
}

}  // namespace orvane::shell
