#include "platform/desktop/caret.h"

#include "platform/desktop/ui_text.h"

namespace orvane::desktop {

namespace {

constexpr std::string_view kCaretClass = "OrvaneCaretTimer";
constexpr std::uintptr_t kBlinkTimer = 1;

}  // namespace

Caret::Caret(Desktop& desktop) : desktop_(desktop) {
  if (!desktop_.find_class(kCaretClass)) {
    WindowClass c;
    c.name = std::string(kCaretClass);
    c.procedure = [](Desktop& d, Hwnd h, std::uint32_t m, WParam w, LParam l) { return d.def_window_proc(h, m, w, l); };
    desktop_.register_class(std::move(c));
  }
  // A hidden window receives the blink timer, so the blinking needs nothing
  // from the windows of the title.
  CreateParams params;
  params.class_name = std::string(kCaretClass);
  params.style = WS_POPUP | WS_DISABLED;
  params.x = 0;
  params.y = 0;
  params.width = 0;
  params.height = 0;
  timer_window_ = desktop_.create_window(params);
  if (timer_window_)
    desktop_.set_window_proc(timer_window_, [this](Desktop& d, Hwnd h, std::uint32_t m, WParam w, LParam l) -> LResult {
      if (m == WM_TIMER && w == kBlinkTimer) {
        blink();
        return 0;
      }
      return d.def_window_proc(h, m, w, l);
    });
}

Caret::~Caret() {
  destroy();
  if (desktop_.is_window(timer_window_)) desktop_.destroy_window(timer_window_);
}

bool Caret::create(Hwnd owner, int width, int height) {
  if (!desktop_.is_window(owner)) return false;
  destroy();
  const fonts::Font* font = system_font();
  owner_ = owner;
  rect_ = {0, 0, width > 0 ? width : 1, height > 0 ? height : (font ? font->metrics().line_height : 13)};
  hide_count_ = 1;
  watch(owner);
  return true;
}

void Caret::watch(Hwnd owner) {
  if (!watched_.insert(owner).second) return;
  std::weak_ptr<Caret*> caret = self_;
  auto previous = std::make_shared<WindowProc>();
  *previous = desktop_.set_window_proc(
      owner, [caret, previous](Desktop& d, Hwnd h, std::uint32_t m, WParam w, LParam l) -> LResult {
        Caret* self = caret.expired() ? nullptr : *caret.lock();
        if (self && m == WM_DESTROY) {
          self->watched_.erase(h);
          if (self->owner_ == h) self->destroy();
        }
        if (!self || self->owner_ != h) return d.call_window_proc(*previous, h, m, w, l);
        if (m != WM_PAINT) return d.call_window_proc(*previous, h, m, w, l);
        const bool shown = self->visible();
        if (shown) self->draw_off();
        const LResult result = d.call_window_proc(*previous, h, m, w, l);
        if (!caret.expired() && shown && self->visible()) self->draw_on();
        return result;
      });
}

bool Caret::destroy() {
  if (!owner_) return false;
  draw_off();
  owner_ = {};
  hide_count_ = 0;
  if (desktop_.is_window(timer_window_)) desktop_.kill_timer(timer_window_, kBlinkTimer);
  return true;
}

void Caret::window_destroyed(Hwnd hwnd) {
  if (owner_ == hwnd) destroy();
}

bool Caret::set_position(raster::IntPoint p) {
  if (!owner_) return false;
  if (p == rect_.top_left()) return true;
  draw_off();
  rect_ = raster::IntRect::from_size(p, rect_.size());
  if (visible()) {
    draw_on();
    restart_timer();
  }
  return true;
}

std::optional<raster::IntPoint> Caret::position() const {
  if (!owner_) return std::nullopt;
  return rect_.top_left();
}

bool Caret::hide(Hwnd hwnd) {
  if (!owner_ || (hwnd && hwnd != owner_)) return false;
  if (hide_count_++ == 0) {
    draw_off();
    desktop_.kill_timer(timer_window_, kBlinkTimer);
  }
  return true;
}

bool Caret::show(Hwnd hwnd) {
  if (!owner_ || (hwnd && hwnd != owner_) || hide_count_ == 0) return false;
  if (--hide_count_ == 0) {
    draw_on();
    restart_timer();
  }
  return true;
}

void Caret::set_blink_time(std::uint32_t ms) {
  blink_time_ = ms == 0 ? 1 : ms;
  if (visible()) restart_timer();
}

void Caret::restart_timer() {
  if (desktop_.is_window(timer_window_)) desktop_.set_timer(timer_window_, kBlinkTimer, blink_time_);
}

void Caret::blink() {
  if (!visible() || !desktop_.is_window(owner_)) return;
  if (drawn_) draw_off();
  else draw_on();
}

void Caret::draw_on() {
  if (drawn_ || !desktop_.is_window(owner_)) return;
  invert();
}

void Caret::draw_off() {
  if (!drawn_) return;
  if (desktop_.is_window(owner_)) invert();
  drawn_ = false;
  drawn_pixels_.clear();
}

void Caret::invert() {
  raster::Surface& fb = desktop_.framebuffer();
  const raster::IntPoint origin = desktop_.client_to_screen(owner_, {0, 0});
  const raster::Region visible = desktop_.visible_region(owner_, true);
  if (!drawn_) {
    // Invert every visible caret pixel, remembering what it became.
    drawn_screen_rect_ = rect_.translated(origin).intersected(desktop_.client_rect(owner_).translated(origin));
    drawn_pixels_.assign(static_cast<std::size_t>(std::max(0, drawn_screen_rect_.width() * drawn_screen_rect_.height())),
                         0xffffffffu);
    const raster::IntRect& r = drawn_screen_rect_;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) {
        if (!fb.bounds().contains({x, y}) || !visible.contains({x, y})) continue;
        const std::uint32_t inverted = ~fb.pixel(x, y) & 0xffffff;
        fb.set_pixel(x, y, inverted);
        drawn_pixels_[static_cast<std::size_t>((y - r.top) * r.width() + (x - r.left))] = inverted;
      }
    drawn_ = true;
  } else {
    // Invert back only the pixels no paint has covered since.
    const raster::IntRect& r = drawn_screen_rect_;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) {
        const std::uint32_t was = drawn_pixels_[static_cast<std::size_t>((y - r.top) * r.width() + (x - r.left))];
        if (was == 0xffffffffu || !fb.bounds().contains({x, y})) continue;
        if (fb.pixel(x, y) == was) fb.set_pixel(x, y, ~was & 0xffffff);
      }
  }
  desktop_.mark_dirty(drawn_screen_rect_);
}

}  // namespace orvane::desktop
