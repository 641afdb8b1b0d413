// The native peer of an `obj-window` object: the live state of one window
// object (its desktop window, its place in the window tree, its rectangles,
// flags, colours, font, offscreen buffers) and the default behaviour of the
// class's methods.
//
// The virtual functions are the class's operation table, in the order the
// window classes have always had it, so that the descendant classes (buttons,
// texts, pictures ...) override exactly the operations they change. The Lisp
// methods of `obj-window` call these operations on their receiver's peer; the
// event dispatcher calls them for desktop messages.
//
// Coordinates: every rectangle here is in the window's own (local)
// coordinates, (0 0 width height) being its rect; `position` is the window's
// top-left in its parent's coordinates (for a window in the page: the page's
// coordinates, although its desktop window is a child of the MDI client).
//
// The tree holds non-owning links; the pointer Value in the Lisp object owns
// the peer. A peer unlinks itself (and destroys its desktop window) in its
// destructor, so a collected object leaves no dangling link.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "core/value.h"
#include "graphics/drawing_port.h"
#include "graphics/fonts_record.h"
#include "graphics/offscreen.h"
#include "graphics/port_owner.h"
#include "objects/peers.h"
#include "platform/desktop/handle.h"
#include "platform/desktop/message.h"
#include "platform/raster/device_context.h"
#include "platform/raster/region.h"

namespace orvane::ui {

struct WindowFlags {
  bool visible = false;
  bool was_visible = false;
  bool floating = false;  // a windoid
  bool can_double_click = false;
  bool hide_on_close = false;
  bool close_box = false;
  bool frame = false;
  bool erase = false;
  bool opaque = false;
  bool scroll = false;
  bool grow_icon = false;
  bool transparent = false;  // `transparent?` in the object's context at opening
  bool closed_zone = false;  // `closed-zone?` in the object's context at opening
  bool edit = false;
  bool active = false;
  bool in_close = false;
  // Set while the window's destroy runs: a handler destroying it again
  // (through a child's `destroy`, say) finds it going already.
  bool destroying = false;
  bool pending_paint = false;
  // Of an offscreen owner: set by scrolling, cleared at opening.
  bool scrolled = false;
  // Of an offscreen owner: set at opening and by composition, cleared when
  // the buffer has been copied to the screen.
  bool recomposed = false;
};

// The offscreen buffers a window owns: a chain of levels (graphics::Offscreen
// keeps the next level), each with its image, mask and dirty rectangle (the
// level's port's dirty rect). The chain starts at level n (the count) and
// ends at level 1, the buffer that shows the composed image.
struct OffscreenBuffers {
  std::unique_ptr<graphics::Offscreen> chain;
  int count() const;
  // The buffer of level n (n ... 1 along the chain); null when there is none.
  graphics::Offscreen* level(int n) const;
};

class WindowPeer : public InterfacePeer, public graphics::PortOwner {
 public:
  WindowPeer();
  ~WindowPeer() override;
  WindowPeer(const WindowPeer&) = delete;
  WindowPeer& operator=(const WindowPeer&) = delete;

  // --- The operation table, in order ---------------------------------------
  // Marks the effect, the click zone and the base's Values (the title ...).
  void mark_values(ValueMarker& m) override;
  // Whether the class takes the mouse capture itself on a press (the
  // dispatcher then does not capture for it). One of the constant answers.
  virtual bool handles_capture_itself() const { return false; }
  // (setup-name, open, close, show, hide, enable, disable, enabled?, hilite,
  // dehilite, get-title, set-title, setup-constructor: the Peer's.)
  void open(Value object) override;
  void close() override;
  void show() override;
  void hide() override;
  void enable() override;
  void disable() override;
  bool enabled() const override;
  Value get_title() override;
  void set_title(Value title) override;
  virtual int get_transfer_mode() const { return transfer_mode; }
  // The desktop's paint message for the window's desktop window (the paint
  // handler of a window directly in the page; nothing for the root and the page).
  virtual void paint_message();
  // The scrolling hooks.
  virtual void scroll(int dx, int dy, bool update);
  virtual void pixel_scroll(int dx, int dy, bool update = true);
  virtual int get_scroll_h() const { return scroll_offset.x; }
  virtual int get_scroll_v() const { return scroll_offset.y; }
  virtual void start_scroll() {}
  virtual void end_scroll() {}
  virtual int line_width() { return 20; }
  virtual int line_height() { return 10; }
  virtual int page_width() { return view_rect.width() / 4; }
  virtual int page_height() { return view_rect.height(); }
  virtual std::string_view class_name() const { return "OrvaneWndClass"; }
  // The desktop style for the `type` number (and the close box, floating).
  virtual std::uint32_t window_style() const;
  // The answer to a close request: true when the window is to be destroyed.
  virtual bool appeal();
  // Algorithm of destruction: children first, then this window; frees the
  // peer (the Lisp object's peer becomes nil). `this` is gone afterwards.
  virtual void destroy();
  virtual void after_show();
  virtual void after_hide();
  virtual void activate();
  virtual void deactivate();
  virtual void activate_focus() {}
  virtual void deactivate_focus() {}
  virtual void draw_push_button(const raster::IntRect& r, Value title, bool pressed, bool is_default);
  // Applied to this window and every descendant around a paint.
  virtual void paint_begin();
  virtual void paint_end();
  virtual void paint();
  virtual void after_paint() {}
  // Redraws what native code draws into the window (movies); empty here.
  virtual void native_draw() {}
  virtual void mouse_down(int x, int y);
  virtual void mouse_up(int, int) {}
  virtual void mouse_move(int, int) {}
  virtual void mouse_drag(int, int) {}
  virtual void mouse_select(int, int) {}
  virtual void key_down(int) {}
  virtual void key_focus_transfer() {}
  virtual void cut() {}
  virtual void copy() {}
  virtual void paste() {}
  virtual void clear() {}
  virtual void select_all() {}
  virtual void capture_mouse();
  virtual void release_mouse();
  // Starts the native drag at (x, y); `reposition` sends `mouse-reposition`
  // instead of `drag`.
  virtual void start_drag(int x, int y, bool reposition);
  virtual void release_drag();
  virtual raster::IntPoint get_position() const;
  virtual void set_position(Value position);
  virtual void position_update(raster::IntPoint /*old_position*/) {}
  virtual void view_rect_changed() {}
  virtual raster::IntPoint get_size() const { return {rect.width(), rect.height()}; }
  virtual void set_size(Value size);
  virtual void set_font(Value font);
  virtual void set_click_zone(Value zone) { click_zone = zone; }
  virtual void size_update(int old_width, int old_height);
  virtual void title_update(Value /*old_title*/) {}
  virtual Value get_content() { return kNil; }
  virtual void set_content(Value) {}
  virtual void set_view_rect(const raster::IntRect& r);
  virtual void set_virtual_rect(const raster::IntRect& r);
  virtual Value get_region();
  virtual Value get_selection() { return kNil; }
  virtual void set_selection(Value) {}
  virtual void load_from_pathname(Value path);
  // Shows or hides the desktop window itself.
  virtual void show_native(bool show);

  // --- PortOwner: every window object is a drawing port --------------------
  graphics::DrawingPort& drawing_port() override { return port; }
  raster::IntRect port_rect() const override { return rect; }
  raster::DeviceContext& drawing_context(Value object, bool offscreen) override;
  raster::DeviceContext& system_drawing_context(Value object) override;
  void release_drawing_context() override;
  bool closed_zone() const override { return flags.closed_zone; }
  raster::DeviceContext* image_context() override;
  std::optional<raster::IntPoint> take_stopping_press(const raster::IntRect& image_rect, Value stop) override;
  void invalidate(const raster::IntRect& r) override;

  // --- Questions of the tree -------------------------------------------------
  bool is_root() const;
  bool is_page() const;
  // Directly in the page (the page's children, not the page itself).
  bool in_page() const;
  // The root, the page or a window directly in the page.
  bool page_level() const;
  // Visible, and every ancestor up to the page too; the root never is.
  bool user_visible() const;
  // The nearest offscreen owner at or above this window (null: none).
  WindowPeer* offscreen_owner() const;
  // The buffer of the chain this window draws into (null: the screen).
  graphics::Offscreen* drawing_buffer() const;
  // The Lisp object; nil when none.
  Value lisp_object() const { return object(); }

  // --- State (the window layer's files work on it directly) ----------------
  desktop::Hwnd hwnd;
  WindowPeer* parent = nullptr;
  WindowPeer* system = nullptr;  // the window directly in the page holding this one
  WindowPeer* first_child = nullptr;  // children front to back
  WindowPeer* next_sibling = nullptr;
  WindowPeer* modal = nullptr;  // of the page: its modal window
  raster::IntRect rect{};
  raster::IntRect view_rect{};
  raster::IntRect virtual_rect{};
  raster::IntRect frame_rect{};
  // The rect before the last size change (the size message's old size).
  raster::IntRect previous_rect{};
  Value click_zone = kNil;  // the title is the base's (PersistencePeer)
  Value effect = kNil;
  FontRecord font;
  graphics::Rgb16 color{65535, 65535, 65535};
  graphics::Rgb16 color_fore{0, 0, 0};
  int transfer_mode = 0;
  int zoom = 1;
  int type = 7;
  WindowFlags flags;
  raster::IntPoint scroll_offset{};
  OffscreenBuffers offscreen;  // the buffers this window owns (none: empty chain)
  int offscreen_level = 1;     // the level this window draws into
  graphics::DrawingPort port;
};

// The peer of a window object; error 2 with the object when it has none or
// is no window.
WindowPeer& window_peer(Value object);
// The peer of a window object, or null (nil, closed, not a window).
WindowPeer* window_peer_or_null(Value object);
// The peer behind a desktop window ("OrvaneObjectHI"), or null.
WindowPeer* window_peer_of(desktop::Hwnd hwnd);

}  // namespace orvane::ui
