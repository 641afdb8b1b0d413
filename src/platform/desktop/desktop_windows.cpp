// The desktop's windows: classes, creation and destruction, the tree,
// geometry, z-order, showing and enabling, text and properties.
#include <algorithm>
#include <cctype>

#include "platform/desktop/desktop.h"
#include "platform/desktop/mdi_client.h"
#include "platform/desktop/non_client.h"

namespace orvane::desktop {

using raster::IntPoint;
using raster::IntRect;
using raster::IntSize;
using raster::Region;

namespace {

bool same_name(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

constexpr std::string_view kRootClass = "#32769";

// Coordinates travel in 16-bit message fields: positions and sizes beyond
// them are clamped, which also keeps every sum of them far from overflow.
constexpr int kCoordinateLimit = 32767;
int clamp_position(int v) { return std::clamp(v, -kCoordinateLimit, kCoordinateLimit); }
int clamp_size(int v) { return std::clamp(v, 0, kCoordinateLimit); }

}  // namespace

// --- Construction --------------------------------------------------------------

Desktop::Desktop(platform::Screen& screen, platform::Clock& clock)
    : screen_(screen),
      clock_(clock),
      framebuffer_(std::max(1, screen.size().width), std::max(1, screen.size().height),
                   raster::PixelFormat::rgb32),
      default_text_painter_(std::make_unique<TextPainter>()),
      text_painter_(default_text_painter_.get()) {
  register_system_classes();
  Window* root = windows_.create();
  root->window_class = find_class(kRootClass);
  root->procedure = root->window_class->procedure;
  root->style = WS_VISIBLE | WS_CLIPCHILDREN;
  root->rect = root->client = framebuffer_.bounds();
  root->created = true;
  root_ = root->handle;
  root->update = Region(root->client);
  root->erase_pending = true;
}

Desktop::~Desktop() = default;

void Desktop::register_system_classes() {
  register_class({std::string(kRootClass), 0,
                  [](Desktop& d, Hwnd h, std::uint32_t m, WParam w, LParam l) {
                    return d.def_window_proc(h, m, w, l);
                  },
                  classic::desktop});
  register_class({"MDICLIENT", 0, &MdiClient::procedure, classic::app_workspace});
}

void Desktop::set_text_painter(const TextPainter* painter) {
  text_painter_ = painter ? painter : default_text_painter_.get();
}

// --- Classes -------------------------------------------------------------------

bool Desktop::register_class(WindowClass window_class) {
  if (window_class.name.empty() || !window_class.procedure || find_class(window_class.name)) return false;
  classes_.push_back(std::make_unique<WindowClass>(std::move(window_class)));
  return true;
}

const WindowClass* Desktop::find_class(std::string_view name) const {
  for (const auto& c : classes_)
    if (same_name(c->name, name)) return c.get();
  return nullptr;
}

bool Desktop::unregister_class(std::string_view name) {
  const WindowClass* c = find_class(name);
  if (!c || same_name(name, kRootClass)) return false;
  // A class in use stays: its windows point at it.
  std::vector<Hwnd> stack{root_};
  while (!stack.empty()) {
    const Window* w = find(stack.back());
    stack.pop_back();
    if (!w) continue;
    if (w->window_class == c) return false;
    stack.insert(stack.end(), w->children.begin(), w->children.end());
  }
  std::erase_if(classes_, [c](const auto& p) { return p.get() == c; });
  return true;
}

// --- Creation --------------------------------------------------------------------

Hwnd Desktop::create_window(const CreateParams& params) {
  const WindowClass* cls = find_class(params.class_name);
  if (!cls) return {};
  const bool child = (params.style & WS_CHILD) != 0;
  Hwnd parent = root_;
  Hwnd owner;
  if (child) {
    if (!find(params.parent)) return {};
    parent = params.parent;
  } else if (params.parent) {
    if (!find(params.parent)) return {};
    owner = top_level(params.parent);
  }
  Window* w = windows_.create();
  if (!w) return {};
  const Hwnd hwnd = w->handle;
  w->window_class = cls;
  w->procedure = cls->procedure;
  w->style = params.style & ~(WS_VISIBLE | WS_MAXIMIZE);
  if (!child) w->style |= WS_CLIPSIBLINGS;
  w->ex_style = params.ex_style;
  w->id = child ? params.id : 0;
  w->parent = parent;
  w->owner = owner;
  w->text = params.text;

  // Position and size, CW_USEDEFAULT resolved.
  const IntRect area = client_rect(parent);
  const int index = static_cast<int>(find(parent)->children.size() % 8);
  int x = params.x, y = params.y, width = params.width, height = params.height;
  if (x == CW_USEDEFAULT) {
    x = child && !(params.ex_style & WS_EX_MDICHILD) ? 0 : index * kCaptionBand;
    y = child && !(params.ex_style & WS_EX_MDICHILD) ? 0 : index * kCaptionBand;
  }
  if (width == CW_USEDEFAULT) {
    const bool sized = !child || (params.ex_style & WS_EX_MDICHILD);
    width = sized ? area.width() * 3 / 4 : 0;
    height = sized ? area.height() * 3 / 4 : 0;
  }
  x = clamp_position(x), y = clamp_position(y), width = clamp_size(width), height = clamp_size(height);
  w->rect = IntRect{x, y, x + width, y + height};
  w->restored_rect = w->rect;
  link_child(*find(parent), hwnd, w->topmost() ? kTopmost : kTop);
  ++geometry_epoch_;

  // WM_GETMINMAXINFO for windows the user can size, then the creation messages.
  if ((params.style & WS_THICKFRAME) || !child) {
    MinMaxInfo info;
    fill_min_max(hwnd, info);
    if (Window* again = find(hwnd)) {
      IntRect& r = again->rect;
      const int cw = std::clamp(r.width(), 0, std::max(0, info.max_track_size.width));
      const int ch = std::clamp(r.height(), 0, std::max(0, info.max_track_size.height));
      r.right = r.left + cw;
      r.bottom = r.top + ch;
    }
  }
  CreateStruct cs{params.create_params, params.id, params.parent, x, y, width, height,
                  params.style, params.ex_style, params.text, cls->name};
  if (!send_message(hwnd, WM_NCCREATE, 0, lparam_of_pointer(&cs)) && find(hwnd)) {
    destroy_window(hwnd);
    return {};
  }
  if (!find(hwnd)) return {};
  find(hwnd)->created = true;
  recompute_client(hwnd);
  if (!find(hwnd)) return {};
  if (send_message(hwnd, WM_CREATE, 0, lparam_of_pointer(&cs)) == -1) {
    destroy_window(hwnd);
    return {};
  }
  if (!find(hwnd)) return {};
  send_size_and_move(hwnd, SIZE_RESTORED);
  if (child && !(params.ex_style & WS_EX_NOPARENTNOTIFY) && find(hwnd))
    send_message(parent, WM_PARENTNOTIFY, make_wparam(WM_CREATE, params.id), static_cast<LParam>(hwnd.value));
  if (!find(hwnd)) return {};
  if (params.ex_style & WS_EX_MDICHILD) {
    MdiClient(*this, parent).child_created(hwnd, params.style);
  } else if (params.style & WS_MAXIMIZE) {
    if (params.style & WS_VISIBLE) show_window(hwnd, SW_SHOWMAXIMIZED);
    else apply_maximised(hwnd);
  } else if (params.style & WS_VISIBLE) {
    show_window(hwnd, SW_SHOW);
  }
  return find(hwnd) ? hwnd : Hwnd{};
}

void Desktop::send_size_and_move(Hwnd hwnd, int size_type) {
  const Window* w = find(hwnd);
  if (!w) return;
  const IntSize size = w->client.size();
  const IntPoint at = w->client.top_left();
  send_message(hwnd, WM_SIZE, static_cast<WParam>(size_type), make_lparam(size.width, size.height));
  if (find(hwnd)) send_message(hwnd, WM_MOVE, 0, make_lparam(at.x, at.y));
}

void Desktop::fill_min_max(Hwnd hwnd, MinMaxInfo& info) {
  const Window* w = find(hwnd);
  if (!w) return;
  const IntRect area = client_rect(w->parent);
  // The host frame's frame is the host's: maximised, it is the framebuffer.
  const IntRect whole = hwnd == host_frame_ ? area : adjust_window_rect(area, w->style, w->ex_style);
  info.max_size = whole.size();
  info.max_position = whole.top_left();
  const int f = NonClient::frame_thickness(w->style, w->ex_style);
  info.min_track_size = {2 * f + (NonClient::has_caption(w->style) ? 3 * kCaptionHeight : 8),
                         2 * f + (NonClient::has_caption(w->style) ? kCaptionBand : 0)};
  info.max_track_size = {std::max(whole.width(), 32767), std::max(whole.height(), 32767)};
  send_message(hwnd, WM_GETMINMAXINFO, 0, lparam_of_pointer(&info));
}

void Desktop::recompute_client(Hwnd hwnd) {
  Window* w = find(hwnd);
  if (!w) return;
  NcCalcSizeParams params{w->rect};
  send_message(hwnd, WM_NCCALCSIZE, 0, lparam_of_pointer(&params));
  if ((w = find(hwnd)) == nullptr) return;
  IntRect c = params.rect.intersected(w->rect);
  if (c.empty()) c = {w->rect.left, w->rect.top, w->rect.left, w->rect.top};
  w->client = c;
  ++geometry_epoch_;
}

IntRect Desktop::adjust_window_rect(const IntRect& client, std::uint32_t style, std::uint32_t ex_style) const {
  const int f = NonClient::frame_thickness(style, ex_style);
  IntRect r = client.inflated(f, f);
  if (NonClient::has_caption(style)) r.top -= kCaptionBand;
  if (style & WS_VSCROLL) r.right += kScrollBarSize;
  if (style & WS_HSCROLL) r.bottom += kScrollBarSize;
  return r;
}

// --- Destruction -----------------------------------------------------------------

bool Desktop::destroy_window(Hwnd hwnd) {
  Window* w = find(hwnd);
  if (!w || hwnd == root_) return false;
  if (w->destroying) return true;
  // Owned windows go first.
  for (Hwnd owned : children(root_))
    if (const Window* o = find(owned); o && o->owner == hwnd) destroy_window(owned);
  if (!(w = find(hwnd)) || w->destroying) return true;
  if (w->visible())
    set_window_pos(hwnd, {}, 0, 0, 0, 0,
                   SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (!(w = find(hwnd)) || w->destroying) return true;
  const Hwnd parent = w->parent;
  if (mdi_clients_.contains(parent)) MdiClient(*this, parent).child_leaving(hwnd);
  if (active_ == hwnd || (active_ && is_child(hwnd, active_))) set_active_window(next_window_to_activate(hwnd));
  if (!(w = find(hwnd)) || w->destroying) return true;
  if (w->is_child() && !(w->ex_style & WS_EX_NOPARENTNOTIFY))
    send_message(parent, WM_PARENTNOTIFY, make_wparam(WM_DESTROY, w->id), static_cast<LParam>(hwnd.value));
  if (!find(hwnd)) return true;
  destroy_tree(hwnd);
  free_tree(hwnd);
  ++geometry_epoch_;
  return true;
}

// WM_DESTROY goes to the window, then to its children.
void Desktop::destroy_tree(Hwnd hwnd) {
  Window* w = find(hwnd);
  if (!w || w->destroying) return;
  w->destroying = true;
  drop_input_state(hwnd);
  send_message(hwnd, WM_DESTROY);
  if (!(w = find(hwnd))) return;
  for (Hwnd c : std::vector<Hwnd>(w->children)) destroy_tree(c);
}

// WM_NCDESTROY goes to the children first, then the window is freed.
void Desktop::free_tree(Hwnd hwnd) {
  Window* w = find(hwnd);
  if (!w) return;
  for (Hwnd c : std::vector<Hwnd>(w->children)) free_tree(c);
  send_message(hwnd, WM_NCDESTROY);
  if (!(w = find(hwnd))) return;
  if (Window* p = find(w->parent)) unlink_child(*p, hwnd);
  for (Hwnd c : std::vector<Hwnd>(w->children)) free_tree(c);
  queue_.forget_window(hwnd);
  timers_.forget_window(hwnd);
  mdi_clients_.erase(hwnd);
  menu_bars_.erase(hwnd);
  drop_input_state(hwnd);
  if (host_frame_ == hwnd) host_frame_ = {};
  for (auto& [client, state] : mdi_clients_)
    if (state.active == hwnd) state.active = {};
  auto freed = windows_.release(hwnd);
  if (dispatch_depth_ > 0) graveyard_.push_back(std::move(freed));
}

void Desktop::drop_input_state(Hwnd hwnd) {
  if (capture_ == hwnd) capture_ = {};
  if (focus_ == hwnd) focus_ = {};
  if (active_ == hwnd) active_ = {};
  if (last_click_.hwnd == hwnd) last_click_ = {};
}

Hwnd Desktop::next_window_to_activate(Hwnd leaving) const {
  for (Hwnd h : children(root_)) {
    const Window* w = find(h);
    if (h != leaving && w && w->visible() && w->enabled() && !w->destroying && !is_child(leaving, h)) return h;
  }
  return {};
}

// --- The tree --------------------------------------------------------------------

void Desktop::link_child(Window& parent, Hwnd child, Hwnd insert_after) {
  auto& list = parent.children;
  std::erase(list, child);
  const Window* c = find(child);
  const bool topmost = c && c->topmost();
  // Topmost windows stay above the others.
  auto first_plain = std::find_if(list.begin(), list.end(), [&](Hwnd h) {
    const Window* s = find(h);
    return !s || !s->topmost();
  });
  if (insert_after == kTop || insert_after == kTopmost || insert_after == kNotTopmost) {
    list.insert(topmost ? list.begin() : first_plain, child);
  } else if (insert_after == kBottom) {
    list.insert(topmost ? first_plain : list.end(), child);
  } else {
    auto it = std::find(list.begin(), list.end(), insert_after);
    if (it == list.end()) list.insert(topmost ? list.begin() : first_plain, child);
    else list.insert(it + 1, child);
  }
}

void Desktop::unlink_child(Window& parent, Hwnd child) { std::erase(parent.children, child); }

bool Desktop::is_window(Hwnd hwnd) const { return find(hwnd) != nullptr; }

Hwnd Desktop::parent(Hwnd hwnd) const {
  const Window* w = find(hwnd);
  return w && w->is_child() ? w->parent : Hwnd{};
}

Hwnd Desktop::owner(Hwnd hwnd) const {
  const Window* w = find(hwnd);
  return w ? w->owner : Hwnd{};
}

Hwnd Desktop::top_level(Hwnd hwnd) const {
  const Window* w = find(hwnd);
  while (w && w->is_child()) {
    const Window* p = find(w->parent);
    if (!p || p->handle == root_) break;
    w = p;
  }
  return w && w->handle != root_ ? w->handle : Hwnd{};
}

bool Desktop::is_child(Hwnd parent, Hwnd hwnd) const {
  const Window* w = find(hwnd);
  while (w && w->handle != root_) {
    if (w->parent == parent) return true;
    w = find(w->parent);
  }
  return false;
}

std::vector<Hwnd> Desktop::children(Hwnd hwnd) const {
  const Window* w = find(hwnd ? hwnd : root_);
  return w ? w->children : std::vector<Hwnd>{};
}

Hwnd Desktop::get_window(Hwnd hwnd, int relation) const {
  const Window* w = find(hwnd);
  if (!w) return {};
  if (relation == GW_CHILD) return w->children.empty() ? Hwnd{} : w->children.front();
  if (relation == GW_OWNER) return w->owner;
  const Window* p = find(w->parent);
  if (!p) return {};
  const auto& list = p->children;
  auto it = std::find(list.begin(), list.end(), hwnd);
  switch (relation) {
    case GW_HWNDFIRST: return list.front();
    case GW_HWNDLAST: return list.back();
    case GW_HWNDNEXT: return it + 1 < list.end() ? *(it + 1) : Hwnd{};
    case GW_HWNDPREV: return it != list.begin() ? *(it - 1) : Hwnd{};
    default: return {};
  }
}

std::uint32_t Desktop::style(Hwnd hwnd) const {
  const Window* w = find(hwnd);
  return w ? w->style : 0;
}
std::uint32_t Desktop::ex_style(Hwnd hwnd) const {
  const Window* w = find(hwnd);
  return w ? w->ex_style : 0;
}
void Desktop::set_style(Hwnd hwnd, std::uint32_t style) {
  if (Window* w = find(hwnd)) {
    w->style = style;
    ++geometry_epoch_;
  }
}
void Desktop::set_ex_style(Hwnd hwnd, std::uint32_t ex_style) {
  if (Window* w = find(hwnd)) w->ex_style = ex_style;
}
int Desktop::id(Hwnd hwnd) const {
  const Window* w = find(hwnd);
  return w ? w->id : 0;
}
LParam Desktop::user_data(Hwnd hwnd) const {
  const Window* w = find(hwnd);
  return w ? w->user_data : 0;
}
void Desktop::set_user_data(Hwnd hwnd, LParam value) {
  if (Window* w = find(hwnd)) w->user_data = value;
}
const WindowClass* Desktop::window_class(Hwnd hwnd) const {
  const Window* w = find(hwnd);
  return w ? w->window_class : nullptr;
}

WindowProc Desktop::set_window_proc(Hwnd hwnd, WindowProc procedure) {
  Window* w = find(hwnd);
  if (!w || !procedure) return {};
  return std::exchange(w->procedure, std::move(procedure));
}

LResult Desktop::call_window_proc(const WindowProc& procedure, Hwnd hwnd, std::uint32_t message,
                                  WParam wparam, LParam lparam) {
  if (!procedure || !find(hwnd)) return 0;
  ++dispatch_depth_;
  struct Leave {
    Desktop& d;
    ~Leave() {
      if (--d.dispatch_depth_ == 0) d.graveyard_.clear();
    }
  } leave{*this};
  return procedure(*this, hwnd, message, wparam, lparam);
}

// --- Text and properties ---------------------------------------------------------

std::string Desktop::window_text(Hwnd hwnd) const {
  const Window* w = find(hwnd);
  return w ? w->text : std::string{};
}

bool Desktop::set_window_text(Hwnd hwnd, std::string_view text) {
  if (!find(hwnd)) return false;
  const std::string copy(text);
  return send_message(hwnd, WM_SETTEXT, 0, lparam_of_pointer(copy.c_str())) != 0;
}

bool Desktop::set_prop(Hwnd hwnd, std::string_view name, LParam value) {
  Window* w = find(hwnd);
  if (!w) return false;
  for (auto& [key, v] : w->properties)
    if (same_name(key, name)) {
      v = value;
      return true;
    }
  w->properties.emplace_back(std::string(name), value);
  return true;
}

std::optional<LParam> Desktop::get_prop(Hwnd hwnd, std::string_view name) const {
  const Window* w = find(hwnd);
  if (!w) return std::nullopt;
  for (const auto& [key, v] : w->properties)
    if (same_name(key, name)) return v;
  return std::nullopt;
}

std::optional<LParam> Desktop::remove_prop(Hwnd hwnd, std::string_view name) {
  Window* w = find(hwnd);
  if (!w) return std::nullopt;
  for (auto it = w->properties.begin(); it != w->properties.end(); ++it)
    if (same_name(it->first, name)) {
      LParam v = it->second;
      w->properties.erase(it);
      return v;
    }
  return std::nullopt;
}

// --- Geometry ----------------------------------------------------------------------

IntPoint Desktop::client_origin(const Window& w) const {
  if (w.handle == root_) return {};
  const Window* p = find(w.parent);
  const IntPoint base = p ? client_origin(*p) : IntPoint{};
  return base + w.client.top_left();
}

IntPoint Desktop::window_origin(const Window& w) const {
  if (w.handle == root_) return {};
  const Window* p = find(w.parent);
  const IntPoint base = p ? client_origin(*p) : IntPoint{};
  return base + w.rect.top_left();
}

IntRect Desktop::window_rect(Hwnd hwnd) const {
  const Window* w = find(hwnd);
  if (!w) return {};
  return IntRect::from_size(window_origin(*w), w->rect.size());
}

IntRect Desktop::client_rect(Hwnd hwnd) const {
  const Window* w = find(hwnd);
  if (!w) return {};
  return {0, 0, w->client.width(), w->client.height()};
}

IntRect Desktop::window_rect_in_parent(Hwnd hwnd) const {
  const Window* w = find(hwnd);
  return w ? w->rect : IntRect{};
}

IntPoint Desktop::client_to_screen(Hwnd hwnd, IntPoint p) const {
  const Window* w = find(hwnd);
  return w ? p + client_origin(*w) : p;
}

IntPoint Desktop::screen_to_client(Hwnd hwnd, IntPoint p) const {
  const Window* w = find(hwnd);
  return w ? p - client_origin(*w) : p;
}

IntPoint Desktop::map_point(Hwnd from, Hwnd to, IntPoint p) const {
  const IntPoint screen = from ? client_to_screen(from, p) : p;
  return to ? screen_to_client(to, screen) : screen;
}

Hwnd Desktop::child_window_from_point(Hwnd parent, IntPoint client_point) const {
  const Window* p = find(parent);
  if (!p) return {};
  for (Hwnd h : p->children) {
    const Window* c = find(h);
    if (c && c->visible() && c->rect.contains(client_point)) return h;
  }
  return parent;
}

Hwnd Desktop::window_from_point(IntPoint screen_point) const {
  Hwnd current = root_;
  for (;;) {
    const Window* w = find(current);
    const IntPoint local = screen_point - client_origin(*w);
    if (!IntRect{0, 0, w->client.width(), w->client.height()}.contains(local)) return current;
    const Hwnd next = child_window_from_point(current, local);
    if (next == current) return current;
    const Window* c = find(next);
    // A disabled child takes no input; its enabled parent does.
    if (c->is_child() && !c->enabled()) return current;
    current = next;
  }
}

// --- Position, size, z-order --------------------------------------------------------

namespace {
// The screen area a window shows, with what its visible children show in it
// (a window that clips its children leaves them out of its own region, but
// moving or hiding it uncovers theirs too).
raster::Region shown_area(const Desktop& desktop, Hwnd hwnd) {
  raster::Region area = desktop.visible_region(hwnd, false);
  if (desktop.style(hwnd) & WS_CLIPCHILDREN)
    for (Hwnd child : desktop.children(hwnd))
      if (desktop.is_visible(child)) area.unite(shown_area(desktop, child));
  return area;
}
}  // namespace

bool Desktop::set_window_pos(Hwnd hwnd, Hwnd insert_after, int x, int y, int width, int height,
                             std::uint32_t flags) {
  Window* w = find(hwnd);
  if (!w || hwnd == root_) return false;
  WindowPos pos{hwnd, insert_after, x, y, width, height, flags};
  if (flags & SWP_NOMOVE) pos.x = w->rect.left, pos.y = w->rect.top;
  if (flags & SWP_NOSIZE) pos.width = w->rect.width(), pos.height = w->rect.height();
  if (!(flags & SWP_NOMOVE) || !(flags & SWP_NOSIZE) || !(flags & SWP_NOZORDER) ||
      (flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW | SWP_FRAMECHANGED))) {
    send_message(hwnd, WM_WINDOWPOSCHANGING, 0, lparam_of_pointer(&pos));
    if (!(w = find(hwnd))) return false;
  }
  const Region old_visible = w->visible() ? shown_area(*this, hwnd) : Region();
  pos.x = clamp_position(pos.x), pos.y = clamp_position(pos.y);
  pos.width = clamp_size(pos.width), pos.height = clamp_size(pos.height);
  const IntRect new_rect{pos.x, pos.y, pos.x + pos.width, pos.y + pos.height};
  const bool moved = new_rect.top_left() != w->rect.top_left();
  const bool sized = new_rect.size() != w->rect.size();
  const bool was_visible = w->visible();
  if (moved || sized) {
    const IntPoint delta = new_rect.top_left() - w->rect.top_left();
    w->rect = new_rect;
    w->client = w->client.translated(delta);
  }
  if (!(pos.flags & SWP_NOZORDER)) {
    if (pos.insert_after == kTopmost) w->ex_style |= WS_EX_TOPMOST;
    if (pos.insert_after == kNotTopmost) w->ex_style &= ~WS_EX_TOPMOST;
    if (Window* p = find(w->parent)) link_child(*p, hwnd, pos.insert_after);
  }
  if (pos.flags & SWP_SHOWWINDOW) w->style |= WS_VISIBLE;
  if (pos.flags & SWP_HIDEWINDOW) w->style &= ~WS_VISIBLE;
  ++geometry_epoch_;
  if (sized || (pos.flags & SWP_FRAMECHANGED)) {
    recompute_client(hwnd);
    if (!(w = find(hwnd))) return false;
  }
  const bool now_visible = w->visible();
  if (!(pos.flags & SWP_NOREDRAW)) {
    const Region new_visible = now_visible ? shown_area(*this, hwnd) : Region();
    // What the window no longer covers shows what lies beneath it.
    expose(old_visible.subtracted(new_visible), hwnd);
    if (moved || sized || (pos.flags & SWP_FRAMECHANGED) || (now_visible && !was_visible)) {
      invalidate_tree(hwnd, Region(window_rect(hwnd)), true);
    } else {
      invalidate_tree(hwnd, new_visible.subtracted(old_visible), true);
    }
  }
  if (now_visible && !(pos.flags & SWP_NOACTIVATE)) {
    if (w->is_child()) send_message(hwnd, WM_CHILDACTIVATE);
    else if (!(pos.flags & SWP_NOZORDER) || (pos.flags & SWP_SHOWWINDOW)) set_active_window(hwnd);
  }
  if (!find(hwnd)) return true;
  WindowPos changed = pos;
  changed.x = w->rect.left;
  changed.y = w->rect.top;
  changed.width = w->rect.width();
  changed.height = w->rect.height();
  if (!moved) changed.flags |= SWP_NOMOVE;
  if (!sized) changed.flags |= SWP_NOSIZE;
  send_message(hwnd, WM_WINDOWPOSCHANGED, 0, lparam_of_pointer(&changed));
  return true;
}

bool Desktop::move_window(Hwnd hwnd, int x, int y, int width, int height, bool repaint) {
  return set_window_pos(hwnd, {}, x, y, width, height,
                        SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

bool Desktop::bring_window_to_top(Hwnd hwnd) {
  return set_window_pos(hwnd, kTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void Desktop::apply_maximised(Hwnd hwnd) {
  Window* w = find(hwnd);
  if (!w) return;
  if (!w->maximised()) w->restored_rect = w->rect;
  MinMaxInfo info;
  fill_min_max(hwnd, info);
  if (!(w = find(hwnd))) return;
  w->style |= WS_MAXIMIZE;
  set_window_pos(hwnd, {}, info.max_position.x, info.max_position.y, info.max_size.width,
                 info.max_size.height, SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

bool Desktop::show_window(Hwnd hwnd, int command) {
  Window* w = find(hwnd);
  if (!w || hwnd == root_) return false;
  const bool was_visible = w->visible();
  const bool activate = command != SW_SHOWNA && command != SW_SHOWNOACTIVATE && command != SW_HIDE &&
                        command != SW_MINIMIZE && command != SW_SHOWMINIMIZED;
  if (command == SW_HIDE) {
    if (!was_visible) return false;
    send_message(hwnd, WM_SHOWWINDOW, 0, 0);
    if (!find(hwnd)) return true;
    set_window_pos(hwnd, {}, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (focus_ && (focus_ == hwnd || is_child(hwnd, focus_))) set_focus(parent(hwnd));
    if (active_ == hwnd) set_active_window(next_window_to_activate(hwnd));
    return true;
  }
  if (command == SW_MINIMIZE || command == SW_SHOWMINIMIZED) return was_visible;  // no icons here
  if (!was_visible) {
    send_message(hwnd, WM_SHOWWINDOW, 1, 0);
    if (!(w = find(hwnd))) return false;
  }
  if (command == SW_SHOWMAXIMIZED) {
    w->style |= WS_VISIBLE;  // shown together with the new size
    ++geometry_epoch_;
    apply_maximised(hwnd);
  } else if ((command == SW_RESTORE || command == SW_SHOWNORMAL) && w->maximised()) {
    w->style &= ~WS_MAXIMIZE;
    const IntRect r = w->restored_rect;
    set_window_pos(hwnd, {}, r.left, r.top, r.width(), r.height(),
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED | SWP_SHOWWINDOW);
  }
  if (!(w = find(hwnd))) return was_visible;
  const bool child = w->is_child();
  // A top-level window activates while it is shown, before WM_WINDOWPOSCHANGED.
  const bool activated_on_show = activate && !child && !w->visible();
  if (!was_visible || !w->visible())
    set_window_pos(hwnd, {}, 0, 0, 0, 0,
                   SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER |
                       (activated_on_show ? 0 : SWP_NOACTIVATE));
  if (!find(hwnd) || !activate || activated_on_show) return was_visible;
  if (child) send_message(hwnd, WM_CHILDACTIVATE);
  else set_active_window(hwnd);
  return was_visible;
}

bool Desktop::is_visible(Hwnd hwnd) const {
  const Window* w = find(hwnd);
  while (w) {
    if (!w->visible()) return false;
    if (w->handle == root_) return true;
    w = find(w->parent);
  }
  return false;
}

bool Desktop::enable_window(Hwnd hwnd, bool enable) {
  Window* w = find(hwnd);
  if (!w) return false;
  const bool was_disabled = !w->enabled();
  if (was_disabled == !enable) return was_disabled;
  if (enable) {
    w->style &= ~WS_DISABLED;
  } else {
    w->style |= WS_DISABLED;
    if (focus_ && (focus_ == hwnd || is_child(hwnd, focus_))) set_focus({});
    if (capture_ && (capture_ == hwnd || is_child(hwnd, capture_))) release_capture();
  }
  if (find(hwnd)) send_message(hwnd, WM_ENABLE, enable ? 1 : 0, 0);
  return was_disabled;
}

bool Desktop::is_enabled(Hwnd hwnd) const {
  const Window* w = find(hwnd);
  return w && w->enabled();
}

bool Desktop::is_maximised(Hwnd hwnd) const {
  const Window* w = find(hwnd);
  return w && w->maximised();
}

// --- Hooks -------------------------------------------------------------------

void Desktop::set_host_frame(Hwnd frame) {
  if (!find(frame) || find(frame)->is_child()) return;
  host_frame_ = frame;
  screen_.set_title(find(frame)->text);
  set_window_pos(frame, {}, 0, 0, framebuffer_.width(), framebuffer_.height(),
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void Desktop::set_menu_bar(Hwnd frame, MenuBarHook* bar) {
  if (!find(frame)) return;
  if (bar) menu_bars_[frame] = bar;
  else menu_bars_.erase(frame);
  set_window_pos(frame, {}, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

MenuBarHook* Desktop::menu_bar(Hwnd frame) const {
  auto it = menu_bars_.find(frame);
  return it == menu_bars_.end() ? nullptr : it->second;
}

}  // namespace orvane::desktop
