#include "shell/frame_procedure.h"

#include "core/collector.h"
#include "core/symbols.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/menu.h"
#include "shell/cursors.h"
#include "shell/dispatch_state.h"
#include "shell/guarded_calls.h"
#include "shell/object_procedure.h"
#include "ui/menu_dispatch.h"
#include "ui/window_layer.h"
#include "ui/window_peer.h"

namespace orvane::shell {

namespace {

using namespace desktop;

// Refused while the title is quitting; the page's modal window is told to
// close first; the frame closes unless `do-quit` answers no-value.
void close_frame(Desktop& d, Hwnd frame) {
  if (symbol_global(intern("InQuit?")) != kNil) return;
  if (ui::WindowPeer* page = ui::layer().page; page && page->modal)
    guarded_send(page->modal->lisp_object(), "close");
  if (guarded_call("do-quit") != kNoValue && d.is_window(frame)) d.destroy_window(frame);
}

// Every MDI child without an owner is asked; any no makes the answer no.
LResult query_end_session(Desktop& d) {
  Hwnd client = dispatch_state().client;
  if (!client) return 1;
  for (Hwnd child : d.children(client))
    if (!d.owner(child) && d.send_message(child, WM_QUERYENDSESSION) == 0) return 0;
  return 1;
}

bool menu_command(WParam wparam) {
  auto command = static_cast<std::uint32_t>(wparam & 0xffff);
  if (ui::is_item_command(command)) shell_cursors().show_watch();
  return ui::dispatch_menu_command(command);
}

}  // namespace

LResult frame_procedure(Desktop& d, Hwnd frame, std::uint32_t message, WParam wparam, LParam lparam) {
  DispatchState& state = dispatch_state();
  switch (message) {
    case WM_CLOSE:
      return at_dispatch_boundary([&]() -> LResult {
        close_frame(d, frame);
        return 0;
      });
    case WM_QUERYENDSESSION:
      return query_end_session(d);
    case WM_COMMAND:
      if (lparam == 0 && at_dispatch_boundary([&]() -> LResult { return menu_command(wparam); })) return 0;
      break;
    case WM_INITMENUPOPUP:
      if ((lparam >> 16) == 0)
        at_dispatch_boundary([&]() -> LResult {
          ui::menu_popup_opening(Hmenu{static_cast<std::uint32_t>(wparam)});
          return 0;
        });
      break;
    case WM_GETMINMAXINFO: {
      LResult r = d.def_frame_proc(frame, state.client, message, wparam, lparam);
      if (ui::WindowPeer* page = ui::layer().page)
        if (auto* info = pointer_of<MinMaxInfo>(lparam))
          at_dispatch_boundary([&]() -> LResult {
            apply_grow_limits(*page, d.style(frame), *info);
            return 0;
          });
      return r;
    }
    case ui::kReexamineMessage:
      if (state.cursors) state.cursors->restore();
      cursor_restore_done();
      return 0;
    case WM_DESTROY:
      state.client = {};
      d.post_quit_message(0);
      return 0;
    default:
      break;
  }
  return d.def_frame_proc(frame, state.client, message, wparam, lparam);
}

void subclass_mdi_client(Desktop& desktop, Hwnd client) {
  auto previous = std::make_shared<WindowProc>();
  *previous = desktop.set_window_proc(
      client, [previous](Desktop& d, Hwnd h, std::uint32_t message, WParam wparam, LParam lparam) -> LResult {
        ui::WindowLayer& layer = ui::layer();
        switch (message) {
          case WM_ERASEBKGND: {
            auto* dc = reinterpret_cast<raster::DeviceContext*>(wparam);
            // Black until the first window object takes the start-up flag over.
            if (dc && (dispatch_state().start_flags & 0x20) && !layer.root) {
              dc->fill_rect(d.client_rect(h), raster::Brush::solid(raster::Color{0, 0, 0}));
              return 1;
            }
            if (dc && layer.page && layer.page->flags.visible) {
              dc->fill_rect(d.client_rect(h), raster::Brush::solid(layer.page->color.to_color()));
              return 1;
            }
            break;
          }
          case WM_SIZE: {
            LResult r = d.call_window_proc(*previous, h, message, wparam, lparam);
            if (wparam != SIZE_MINIMIZED && layer.page)
              at_dispatch_boundary([&]() -> LResult {
                window_resized(*layer.page, x_of(lparam) & 0xffff, y_of(lparam) & 0xffff);
                return 0;
              });
            return r;
          }
          case WM_MOUSEMOVE:
          case WM_LBUTTONDOWN:
          case WM_LBUTTONUP:
          case WM_LBUTTONDBLCLK:
            if (layer.root && root_mouse_message(h, message, lparam)) return 0;
            break;
          case ui::kReexamineMessage:
            if (layer.root) root_mouse_message(h, message, lparam_of(d.screen_to_client(h, d.cursor_position())));
            return 0;
          default:
            break;
        }
        return d.call_window_proc(*previous, h, message, wparam, lparam);
      });
}

}  // namespace orvane::shell
