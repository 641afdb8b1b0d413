// Opening a window object: its properties, its place in the window tree and
// its desktop window.
#include <algorithm>

#include "core/errors.h"
#include "core/memory.h"
#include "graphics/geometry_values.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/messages.h"
#include "ui/window_layer.h"
#include "ui/window_peer.h"
#include "ui/window_placement.h"
#include "ui/window_properties.h"

namespace orvane::ui {

namespace {

using desktop::Desktop;

// The type a window gets when its configuration gives none: a plain child.
constexpr int kPlainType = 7;

// The parent named by `parent` in the object's context: null for none;
// error 2 with the Value for anything but an opened window.
WindowPeer* parent_of(Value object, const WindowPeer& self) {
  Value parent = value_in_object(object, "parent");
  if (!is_true(parent)) return nullptr;
  WindowPeer* p = window_peer_or_null(parent);
  if (!p || p == &self || (!p->hwnd && !p->is_root())) raise_error(2, parent);
  return p;
}

// Creates the desktop window with its client area at `client` (in the
// desktop parent's client coordinates), whatever its frame came to.
desktop::Hwnd create_at(Desktop& d, desktop::CreateParams params, const raster::IntRect& client) {
  raster::IntRect outer = d.adjust_window_rect(client, params.style, params.ex_style);
  params.x = outer.left;
  params.y = outer.top;
  params.width = outer.width();
  params.height = outer.height();
  desktop::Hwnd h = d.create_window(params);
  if (h) place_client_area(d, h, client, false);
  return h;
}

}  // namespace

std::uint32_t WindowPeer::window_style() const {
  using namespace desktop;
  std::uint32_t style = WS_CHILD | WS_CLIPSIBLINGS;
  const std::uint32_t system_menu = flags.close_box ? WS_SYSMENU : 0;
  switch (type) {
    case 0: return style | WS_CAPTION | WS_THICKFRAME | system_menu;
    case 1: return style | WS_DLGFRAME;
    case 2:
    case 3: return style | WS_BORDER;
    case kPlainType: return style;
    default: return style | WS_CAPTION | system_menu;
  }
}

void WindowPeer::open(Value object) {
  InterfacePeer::open(object);
  WindowLayer& l = layer();
  Desktop& d = window_desktop();
  if (hwnd) return;  // already open
  WindowPeer* parent_peer = parent_of(object, *this);
  // Only one root: it owns the MDI client, which a second window opened
  // without parent would share.
  if (!parent_peer && l.root) raise_error(2, kNil);

  // The properties, converted.
  type = symbolic_type(window_property(*this, "type"), kPlainType);
  flags.close_box = property_flag(*this, "close-box?");
  flags.frame = property_flag(*this, "frame?");
  flags.erase = property_flag(*this, "erase?");
  flags.opaque = property_flag(*this, "opaque?");
  flags.scroll = property_flag(*this, "scroll?");
  flags.grow_icon = property_flag(*this, "grow-icon?");
  flags.hide_on_close = property_flag(*this, "hide-on-close?");
  flags.can_double_click = property_flag(*this, "can-double-click?");
  flags.transparent = is_true(value_in_object(object, "transparent?"));
  flags.closed_zone = is_true(value_in_object(object, "closed-zone?"));
  effect = window_property(*this, "effect");
  if (effect == kNoValue) effect = kNil;
  Value raw_color = window_property(*this, "color");
  record_color_ref(object, "color-ref", raw_color);
  if (auto c = symbolic_color(raw_color)) color = *c;
  Value raw_fore = window_property(*this, "color-fore");
  record_color_ref(object, "color-fore-ref", raw_fore);
  if (auto c = symbolic_color(raw_fore)) color_fore = *c;
  if (auto f = symbolic_font(window_property(*this, "font"))) font = *f;
  Value mode = window_property(*this, "transfer-mode");
  if (is_true(mode)) transfer_mode = integer_of(mode);
  Value virtual_value = window_property(*this, "virtual-rect");
  std::optional<raster::IntRect> virtual_given;
  if (is_true(virtual_value)) virtual_given = rect_of(virtual_value);
  raster::IntPoint size = symbolic_size(window_property(*this, "size")).value_or(raster::IntPoint{0, 0});
  const bool parent_is_page = parent_peer && parent_peer->is_page();
  raster::IntPoint position =
      symbolic_position(window_property(*this, "position"), size, parent_is_page ? type : 2).value_or(raster::IntPoint{});

  // The tree.
  parent = parent_peer;
  if (!parent_peer) {
    l.root = this;
    system = nullptr;
    zoom = 1;
    raster::IntRect area = d.client_rect(l.mdi_client);
    size = {area.width(), area.height()};
  } else if (parent_peer->is_root()) {
    l.page = this;
    system = parent_peer;
    zoom = 1;
  } else if (parent_is_page) {
    system = this;
    flags.floating = property_flag(*this, "floating?");
    if (flags.floating && type == 0) type = 4;
    Value z = window_property(*this, "zoom-factor");
    zoom = is_integer(z) ? std::max(1, integer_of(z)) : 1;
    size = {size.x * zoom, size.y * zoom};
  } else {
    system = parent_peer->system;
    zoom = parent_peer->zoom;
    size = {size.x * zoom, size.y * zoom};
    position = {position.x * zoom, position.y * zoom};
    offscreen_level = parent_peer->offscreen_level;
  }
  if (parent_peer) {
    next_sibling = parent_peer->first_child;
    parent_peer->first_child = this;
  }
  rect = {0, 0, size.x, size.y};
  view_rect = frame_rect = previous_rect = rect;
  virtual_rect = virtual_given.value_or(rect);
  flags.scrolled = false;
  flags.recomposed = true;

  // The desktop window.
  desktop::CreateParams params;
  std::string title_text;
  if (Value t = InterfacePeer::get_title(); is_string(t)) title_text = std::string(string_view_of(t));
  if (!parent_peer) {
    hwnd = l.mdi_client;
  } else if (parent_peer->is_root() || parent_is_page) {
    params.ex_style = desktop::WS_EX_MDICHILD;
    params.class_name = parent_is_page ? std::string(class_name()) : std::string(kPageClass);
    params.text = title_text;
    params.style = window_style();
    params.parent = l.mdi_client;
    // The page's coordinates are the root's for the page itself.
    raster::IntPoint at = position;
    if (parent_is_page && parent_peer->hwnd) at = d.map_point(parent_peer->hwnd, l.mdi_client, position);
    hwnd = create_at(d, params, {at.x, at.y, at.x + size.x, at.y + size.y});
    if (hwnd && parent_is_page && parent_peer->hwnd) d.post_message(parent_peer->hwnd, kActivateMessage);
  } else {
    params.class_name = std::string(class_name());
    params.text = title_text;
    params.style = desktop::WS_CHILD | desktop::WS_CLIPSIBLINGS;
    params.parent = parent_peer->hwnd;
    params.x = position.x;
    params.y = position.y;
    params.width = size.x;
    params.height = size.y;
    hwnd = d.create_window(params);
    if (hwnd) d.bring_window_to_top(hwnd);
  }
  if (!hwnd) {
    // No desktop window: the peer leaves the tree as it was.
    if (parent_peer) {
      parent_peer->first_child = next_sibling;
      next_sibling = nullptr;
    }
    parent = nullptr;
    if (l.root == this) l.root = nullptr;
    if (l.page == this) l.page = nullptr;
    raise_error(9, object);
  }
  d.set_prop(hwnd, kObjectProperty, reinterpret_cast<desktop::LParam>(this));
}

void WindowPeer::show_native(bool show) {
  WindowLayer& l = layer();
  if (!l.desktop || !hwnd || is_root() || !l.desktop->is_window(hwnd)) return;
  l.desktop->show_window(hwnd, show ? desktop::SW_SHOWNA : desktop::SW_HIDE);
}

}  // namespace orvane::ui
