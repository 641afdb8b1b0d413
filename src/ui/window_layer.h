// The window layer: the state shared by every window object of the title
// playing now (a documented singleton), the desktop it lives on, the window
// classes of window objects, coordinate mapping through the window tree, and
// the calls from native code into the loaded world.
#pragma once

#include <functional>
#include <initializer_list>
#include <string_view>

#include "core/value.h"
#include "platform/desktop/handle.h"
#include "platform/desktop/message.h"
#include "platform/raster/device_context.h"

namespace orvane::desktop {
class Desktop;
}

namespace orvane::ui {

class WindowPeer;

// The window property of every desktop window of a window object: its peer.
inline constexpr std::string_view kObjectProperty = "OrvaneObjectHI";
inline constexpr std::string_view kPageClass = "OrvaneFrameClass";
inline constexpr std::string_view kWindowClass = "OrvaneWndClass";
// Posted to a window in the page after its creation, and by the activation
// path (the private activate message).
inline constexpr std::uint32_t kActivateMessage = 0x0400;  // WM_USER
// The re-examine message: the mouse position is looked at again.
inline constexpr std::uint32_t kReexamineMessage = 0x0402;  // WM_USER + 2 = 1026

struct WindowLayer {
  desktop::Desktop* desktop = nullptr;
  desktop::Hwnd frame;       // the frame window
  desktop::Hwnd mdi_client;  // the frame's MDI client: the root's desktop window
  WindowPeer* root = nullptr;
  WindowPeer* page = nullptr;
  WindowPeer* key_focus = nullptr;
  WindowPeer* capture = nullptr;  // the mouse capture window
  WindowPeer* drag = nullptr;     // the drag window
  bool tracking_drag = false;
  // The page's front window (its first visible non-windoid child), kept by
  // the activation path.
  WindowPeer* front = nullptr;
  raster::IntRect update_rect{};  // the rectangle being repainted
  // Whether an alert of the run-time is up (activation is then left alone).
  bool alert_up = false;
};

// The layer's state. Outside a play, its desktop is null.
WindowLayer& layer();

// The shell attaches the layer once its frame and MDI client exist (this
// registers the window classes of window objects on the desktop) and
// detaches it before destroying them (every window object's desktop window
// is destroyed then; the peers stay, their windows gone).
void attach_window_layer(desktop::Desktop& desktop, desktop::Hwnd frame, desktop::Hwnd mdi_client);
void detach_window_layer();

// The desktop; error 47 (operation not available) with nil outside a play.
desktop::Desktop& window_desktop();

// How desktop messages of window objects' desktop windows are handled. The
// window layer's own procedure finds the peer through kObjectProperty and
// hands the message to the procedure installed here (the shell's event
// dispatcher); without one it runs the paint handler for paint messages,
// answers erase-background as done, and leaves the rest to the default
// handling (the MDI child default for windows whose desktop parent is the
// MDI client, the plain default otherwise).
using ObjectProcedure = std::function<desktop::LResult(WindowPeer& peer, desktop::Hwnd hwnd, std::uint32_t message,
                                                       desktop::WParam wparam, desktop::LParam lparam)>;
void set_object_procedure(ObjectProcedure procedure);
// The default handling of a window object's desktop window.
desktop::LResult default_window_procedure(WindowPeer& peer, desktop::Hwnd hwnd, std::uint32_t message,
                                          desktop::WParam wparam, desktop::LParam lparam);

// --- Coordinates ---------------------------------------------------------------
// A window's local coordinates are its desktop window's client coordinates
// (its rect is the client area), so mapping between two windows is the
// desktop's mapping between their client areas. Error 2 with the Lisp
// object of a window that has no desktop window.
raster::IntPoint map_point(const WindowPeer& from, const WindowPeer& to, raster::IntPoint p);
raster::IntRect map_rect(const WindowPeer& from, const WindowPeer& to, const raster::IntRect& r);

// --- Calls into the world ---------------------------------------------------
// Sends a message to the window's Lisp object (nothing, answering
// no-value, when it has none). Throws and errors travel as usual: the event
// dispatcher, not the window layer, stops them at a dispatch.
Value send_to(const WindowPeer& w, std::string_view selector, std::initializer_list<Value> args = {});
// Calls a global function of the world by name (`symbolic-size` ...);
// no-value when the name is unbound (the conversion is then skipped).
Value call_world(std::string_view name, std::initializer_list<Value> args = {});
// A symbol's value in the object's context (`parent`, `handles-keys?`,
// `thickness` ...); no-value when unbound there.
Value value_in_object(Value object, std::string_view name);

}  // namespace orvane::ui
