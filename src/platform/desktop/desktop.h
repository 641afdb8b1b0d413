// The desktop: windows, the message queue, paint and input of one thread,
// drawn into one framebuffer that a Screen shows. The calls follow Win32's
// USER (CreateWindowEx -> create_window, PeekMessage -> peek_message ...)
// with the same message numbers and the same order of messages, so the
// shell and the window objects read as the originals read on Win32.
//
// Coordinates: "screen" coordinates are framebuffer pixels; a window's
// geometry is kept in its parent's client coordinates.
//
// One thread. Procedures may re-enter the desktop freely (send, destroy,
// run a modal loop); a window destroyed while one of its procedures runs
// stays allocated until the outermost dispatch returns.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/clock.h"
#include "platform/desktop/hooks.h"
#include "platform/desktop/message.h"
#include "platform/desktop/message_queue.h"
#include "platform/desktop/messages.h"
#include "platform/desktop/timers.h"
#include "platform/desktop/window.h"
#include "platform/desktop/window_class.h"
#include "platform/desktop/window_table.h"
#include "platform/raster/device_context.h"
#include "platform/raster/region.h"
#include "platform/raster/surface.h"
#include "platform/screen.h"

namespace orvane::desktop {

// CreateWindowEx's arguments.
struct CreateParams {
  std::uint32_t ex_style = 0;
  std::string class_name;
  std::string text;
  std::uint32_t style = 0;
  int x = CW_USEDEFAULT, y = CW_USEDEFAULT;
  int width = CW_USEDEFAULT, height = CW_USEDEFAULT;
  Hwnd parent;  // a child's parent, or a top-level window's owner
  int id = 0;   // a child's id
  LParam create_params = 0;
};

// BeginPaint's answer: a device context on the framebuffer, its origin the
// client area's top-left, clipped to the visible part of the update region.
struct PaintStruct {
  raster::DeviceContext dc;
  raster::IntRect paint_rect;  // client coordinates
  bool erase = false;          // the background still needs erasing
};

// The MDI client's state: its frame, the active child, the ids of new children.
struct MdiClientState {
  Hwnd frame;
  Hwnd active;
  int first_child_id = 30000;
  int next_child_id = 30000;
};

class Desktop {
 public:
  Desktop(platform::Screen& screen, platform::Clock& clock);
  ~Desktop();
  Desktop(const Desktop&) = delete;
  Desktop& operator=(const Desktop&) = delete;

  platform::Screen& screen() { return screen_; }
  platform::Clock& clock() { return clock_; }
  raster::Surface& framebuffer() { return framebuffer_; }
  // The desktop window: the root of every window, covering the framebuffer.
  Hwnd root() const { return root_; }

  // --- Hooks ---------------------------------------------------------------
  void set_text_painter(const TextPainter* painter);
  const TextPainter& text_painter() const { return *text_painter_; }
  // Makes `frame` the host's frame: it fills the framebuffer, its caption
  // and borders are the host window's, its title goes to the screen, and
  // the screen's close requests reach it as SC_CLOSE.
  void set_host_frame(Hwnd frame);
  Hwnd host_frame() const { return host_frame_; }
  // Gives a frame a menu bar (null: none); recomputes its client area.
  void set_menu_bar(Hwnd frame, MenuBarHook* bar);
  MenuBarHook* menu_bar(Hwnd frame) const;
  // Told around paints and scrolls (null: none).
  void set_paint_hook(PaintHook* hook) { paint_hook_ = hook; }

  // --- Classes -------------------------------------------------------------
  bool register_class(WindowClass window_class);
  // Refused while windows of the class exist.
  bool unregister_class(std::string_view name);
  const WindowClass* find_class(std::string_view name) const;

  // --- Windows -------------------------------------------------------------
  Hwnd create_window(const CreateParams& params);
  bool destroy_window(Hwnd hwnd);
  bool is_window(Hwnd hwnd) const;
  Hwnd parent(Hwnd hwnd) const;
  Hwnd owner(Hwnd hwnd) const;
  // The top-level window holding hwnd (itself when top-level).
  Hwnd top_level(Hwnd hwnd) const;
  bool is_child(Hwnd parent, Hwnd hwnd) const;  // a descendant of parent
  // Children from the top of the z-order down.
  std::vector<Hwnd> children(Hwnd hwnd) const;
  Hwnd get_window(Hwnd hwnd, int relation) const;  // GW_ relations
  std::uint32_t style(Hwnd hwnd) const;
  std::uint32_t ex_style(Hwnd hwnd) const;
  // Changes style bits as SetWindowLong does (no frame recomputation until
  // set_window_pos with SWP_FRAMECHANGED).
  void set_style(Hwnd hwnd, std::uint32_t style);
  void set_ex_style(Hwnd hwnd, std::uint32_t ex_style);
  int id(Hwnd hwnd) const;
  LParam user_data(Hwnd hwnd) const;
  void set_user_data(Hwnd hwnd, LParam value);
  const WindowClass* window_class(Hwnd hwnd) const;
  // Replaces the procedure (subclassing); answers the previous one.
  WindowProc set_window_proc(Hwnd hwnd, WindowProc procedure);
  // Calls a procedure as the window's (CallWindowProc).
  LResult call_window_proc(const WindowProc& procedure, Hwnd hwnd, std::uint32_t message,
                           WParam wparam, LParam lparam);

  std::string window_text(Hwnd hwnd) const;
  // SetWindowText: sends WM_SETTEXT.
  bool set_window_text(Hwnd hwnd, std::string_view text);

  bool set_prop(Hwnd hwnd, std::string_view name, LParam value);
  std::optional<LParam> get_prop(Hwnd hwnd, std::string_view name) const;
  std::optional<LParam> remove_prop(Hwnd hwnd, std::string_view name);

  // SetWindowPos: position and size in the parent's client coordinates; z
  // order by `insert_after` (a sibling, or kTop, kBottom, kTopmost, kNotTopmost).
  static constexpr Hwnd kTop{0};
  static constexpr Hwnd kBottom{1};
  static constexpr Hwnd kTopmost{0xffffffffu};
  static constexpr Hwnd kNotTopmost{0xfffffffeu};
  bool set_window_pos(Hwnd hwnd, Hwnd insert_after, int x, int y, int width, int height,
                      std::uint32_t flags);
  bool move_window(Hwnd hwnd, int x, int y, int width, int height, bool repaint = true);
  bool bring_window_to_top(Hwnd hwnd);
  // ShowWindow: answers whether the window was visible before.
  bool show_window(Hwnd hwnd, int command);
  bool is_visible(Hwnd hwnd) const;  // it and all its ancestors visible
  // EnableWindow: answers whether it was disabled before.
  bool enable_window(Hwnd hwnd, bool enable);
  bool is_enabled(Hwnd hwnd) const;
  bool is_maximised(Hwnd hwnd) const;

  // Window rect in screen coordinates; client rect as (0, 0, width, height).
  raster::IntRect window_rect(Hwnd hwnd) const;
  raster::IntRect client_rect(Hwnd hwnd) const;
  // The window's rect in its parent's client coordinates.
  raster::IntRect window_rect_in_parent(Hwnd hwnd) const;
  raster::IntPoint client_to_screen(Hwnd hwnd, raster::IntPoint p) const;
  raster::IntPoint screen_to_client(Hwnd hwnd, raster::IntPoint p) const;
  // MapWindowPoints between two client areas (none: the screen).
  raster::IntPoint map_point(Hwnd from, Hwnd to, raster::IntPoint p) const;
  // The deepest visible window under a screen point, a disabled child
  // giving way to its parent (the root when no window is there).
  Hwnd window_from_point(raster::IntPoint screen_point) const;
  // The visible child of parent under a point of parent's client area, or parent itself.
  Hwnd child_window_from_point(Hwnd parent, raster::IntPoint client_point) const;

  // --- Messages ------------------------------------------------------------
  LResult send_message(Hwnd hwnd, std::uint32_t message, WParam wparam = 0, LParam lparam = 0);
  bool post_message(Hwnd hwnd, std::uint32_t message, WParam wparam = 0, LParam lparam = 0);
  void post_quit_message(int code);
  // PeekMessage: first posted input and other messages, then WM_QUIT, then
  // WM_PAINT for a window with an update region, then a due WM_TIMER.
  bool peek_message(Message& out, Hwnd hwnd, std::uint32_t first, std::uint32_t last,
                    std::uint32_t remove);
  // GetMessage: waits (presenting the framebuffer first) until a message
  // comes; false for WM_QUIT.
  bool get_message(Message& out, Hwnd hwnd = {}, std::uint32_t first = 0, std::uint32_t last = 0);
  bool translate_message(const Message& message);
  LResult dispatch_message(const Message& message);
  // Turns waiting host input into messages (done by peek and get too).
  // Like Win32, input is routed when it is reached, one event at a time:
  // capture, focus and activation are those in force when the previous
  // input message has been taken.
  void pump_input();
  // Shows what was drawn since the last present.
  void present();
  std::uint64_t message_time() const { return message_time_; }

  bool set_timer(Hwnd hwnd, std::uintptr_t id, std::uint32_t interval_ms);
  bool kill_timer(Hwnd hwnd, std::uintptr_t id);

  // --- Paint ---------------------------------------------------------------
  bool invalidate_rect(Hwnd hwnd, const raster::IntRect* client_rect, bool erase);
  bool invalidate_region(Hwnd hwnd, const raster::Region* client_region, bool erase);
  bool validate_rect(Hwnd hwnd, const raster::IntRect* client_rect);
  bool validate_region(Hwnd hwnd, const raster::Region* client_region);
  // Sends WM_PAINT now when the window's update region is not empty.
  bool update_window(Hwnd hwnd);
  // The update region's box (client coordinates); empty when none.
  raster::IntRect update_rect(Hwnd hwnd) const;
  raster::Region update_region(Hwnd hwnd) const;
  PaintStruct begin_paint(Hwnd hwnd);
  void end_paint(Hwnd hwnd, const PaintStruct& paint);
  // A device context on the client area (GetDC) or the whole window
  // (GetWindowDC), clipped to what of it is visible. What it draws is
  // shown at the next present.
  raster::DeviceContext get_dc(Hwnd hwnd);
  raster::DeviceContext get_window_dc(Hwnd hwnd);
  // The visible part of the window (or its client area), screen
  // coordinates: inside every ancestor's client area, minus the siblings
  // above it and above each ancestor, minus its children when it clips them.
  raster::Region visible_region(Hwnd hwnd, bool client_only) const;
  // ScrollWindowEx: moves the client pixels (of `scroll`, default the whole
  // client area) by dx, dy within `clip`; the uncovered part is answered
  // and, with SW_INVALIDATE, invalidated.
  raster::Region scroll_window(Hwnd hwnd, int dx, int dy, const raster::IntRect* scroll,
                               const raster::IntRect* clip, std::uint32_t flags);
  // Marks screen pixels as drawn, for the next present.
  void mark_dirty(const raster::IntRect& screen_rect);
  // Recomputes and redraws a window's non-client area (DrawMenuBar, and
  // after a menu bar's height changed).
  void redraw_frame(Hwnd hwnd);

  // --- Input state ---------------------------------------------------------
  Hwnd set_capture(Hwnd hwnd);
  bool release_capture();
  Hwnd capture() const { return capture_; }
  Hwnd set_focus(Hwnd hwnd);
  Hwnd focus() const { return focus_; }
  Hwnd set_active_window(Hwnd hwnd);
  Hwnd active_window() const { return active_; }
  raster::IntPoint cursor_position() const { return cursor_; }
  // GetKeyState: bit 0x80 while down, bit 1 toggled (Caps Lock).
  std::uint8_t key_state(std::uint8_t virtual_key) const { return key_state_[virtual_key]; }
  bool key_down(std::uint8_t virtual_key) const { return (key_state_[virtual_key] & 0x80) != 0; }
  // The left button held and no release of it waiting (the pump's "still down").
  bool button_still_down() const;

  // --- Scroll bars -----------------------------------------------------------
  int set_scroll_info(Hwnd hwnd, int bar, const ScrollInfo& info, bool redraw = true);
  std::optional<ScrollInfo> get_scroll_info(Hwnd hwnd, int bar) const;
  int set_scroll_pos(Hwnd hwnd, int bar, int pos, bool redraw = true);
  int get_scroll_pos(Hwnd hwnd, int bar) const;
  bool set_scroll_range(Hwnd hwnd, int bar, int min, int max, bool redraw = true);
  bool show_scroll_bar(Hwnd hwnd, int bar, bool show);

  // --- Default procedures ----------------------------------------------------
  LResult def_window_proc(Hwnd hwnd, std::uint32_t message, WParam wparam, LParam lparam);
  LResult def_frame_proc(Hwnd hwnd, Hwnd mdi_client, std::uint32_t message, WParam wparam,
                         LParam lparam);
  LResult def_mdi_child_proc(Hwnd hwnd, std::uint32_t message, WParam wparam, LParam lparam);
  // TranslateMDISysAccel: Control+F4 closes the active child, Control+F6
  // (or Control+Tab) activates the next one. True when the key was taken.
  bool translate_mdi_sys_accel(Hwnd mdi_client, const Message& message);
  // The MDI client's state (none for other windows).
  const MdiClientState* mdi_client_state(Hwnd client) const;

  // --- Non-client metrics ----------------------------------------------------
  // The whole window's rect for a client rect and a style (AdjustWindowRectEx).
  raster::IntRect adjust_window_rect(const raster::IntRect& client, std::uint32_t style,
                                     std::uint32_t ex_style) const;

 private:
  friend class InputRouter;
  friend class MdiClient;
  friend class CloseBoxTracker;
  friend class ModalTracker;
  friend class ScrollBarTracker;
  friend class SizeMoveTracker;

  Window* find(Hwnd h) { return windows_.find(h); }
  const Window* find(Hwnd h) const { return windows_.find(h); }

  // windows
  void register_system_classes();
  void link_child(Window& parent, Hwnd child, Hwnd insert_after);
  void unlink_child(Window& parent, Hwnd child);
  void destroy_tree(Hwnd hwnd);
  void free_tree(Hwnd hwnd);
  void recompute_client(Hwnd hwnd);
  void move_children_with(Window& w, int dx, int dy);
  void send_size_and_move(Hwnd hwnd, int size_type);
  raster::IntPoint client_origin(const Window& w) const;  // screen
  raster::IntPoint window_origin(const Window& w) const;  // screen
  void fill_min_max(Hwnd hwnd, MinMaxInfo& info);
  void apply_maximised(Hwnd hwnd);

  // paint
  void expose(const raster::Region& screen_area, Hwnd except_tree = {});
  void invalidate_tree(Hwnd hwnd, const raster::Region& screen_area, bool erase);
  std::optional<Hwnd> find_paint_window(Hwnd filter);
  raster::DeviceContext make_dc(const raster::Region& screen_clip, raster::IntPoint origin);
  void paint_root();
  void draw_frame(Hwnd hwnd);

  // messages
  LResult call_procedure(Hwnd hwnd, std::uint32_t message, WParam wparam, LParam lparam);
  bool take_message(Message& out, const MessageFilter& filter, bool remove);
  void discard_dead_windows();
  Message make_message(Hwnd hwnd, std::uint32_t message, WParam wparam, LParam lparam) const;

  // focus and activation
  void activate(Hwnd hwnd, int how);
  void drop_input_state(Hwnd hwnd);
  Hwnd next_window_to_activate(Hwnd leaving) const;

  platform::Screen& screen_;
  platform::Clock& clock_;
  raster::Surface framebuffer_;
  raster::Region dirty_;
  std::unique_ptr<TextPainter> default_text_painter_;
  const TextPainter* text_painter_;

  std::vector<std::unique_ptr<WindowClass>> classes_;
  WindowTable windows_;
  std::vector<std::unique_ptr<Window>> graveyard_;
  int dispatch_depth_ = 0;
  Hwnd root_;
  Hwnd host_frame_;
  std::unordered_map<Hwnd, MenuBarHook*> menu_bars_;
  PaintHook* paint_hook_ = nullptr;
  std::unordered_map<Hwnd, MdiClientState> mdi_clients_;

  std::uint64_t geometry_epoch_ = 1;  // moves on with every change of what covers what

  MessageQueue queue_;
  TimerList timers_;
  std::uint64_t message_time_ = 0;
  bool input_ended_ = false;
  std::optional<platform::InputEvent> lookahead_;  // polled but not yet routed
  std::optional<platform::InputEvent> next_raw_event();

  Hwnd capture_;
  Hwnd focus_;
  Hwnd active_;
  raster::IntPoint cursor_;
  std::array<std::uint8_t, 256> key_state_{};
  // Alt went down and no other key since: its release enters menu mode.
  bool alt_alone_ = false;

  // The key down last taken from the queue and what it typed.
  struct TypedKey {
    Message message;
    std::string text;
  };
  std::optional<TypedKey> last_typed_key_;

  // The last button press, for double clicks.
  struct LastClick {
    Hwnd hwnd;
    std::uint32_t message = 0;  // the button's down message
    std::uint64_t time = 0;
    raster::IntPoint screen;
    bool was_double = false;
  };
  LastClick last_click_;
};

// Ends the paint when it goes out of scope.
class PaintScope {
 public:
  PaintScope(Desktop& desktop, Hwnd hwnd)
      : desktop_(desktop), hwnd_(hwnd), paint_(desktop.begin_paint(hwnd)) {}
  ~PaintScope() { desktop_.end_paint(hwnd_, paint_); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  PaintStruct& paint() { return paint_; }
  raster::DeviceContext& dc() { return paint_.dc; }

 private:
  Desktop& desktop_;
  Hwnd hwnd_;
  PaintStruct paint_;
};

}  // namespace orvane::desktop
