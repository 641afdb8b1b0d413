#include "platform/backends/sdl_screen.h"

#include <SDL.h>

#include <array>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <optional>

#include "platform/backends/script_recorder.h"
#include "platform/backends/sdl_keys.h"
#include "platform/backends/text_crossing.h"
#include "platform/clock.h"
#include "platform/console.h"
#include "platform/raster/png_io.h"
#include "platform/text.h"

namespace orvane::platform::backends {

namespace {

struct WindowDeleter {
  void operator()(SDL_Window* w) const { SDL_DestroyWindow(w); }
};
struct RendererDeleter {
  void operator()(SDL_Renderer* r) const { SDL_DestroyRenderer(r); }
};
struct TextureDeleter {
  void operator()(SDL_Texture* t) const { SDL_DestroyTexture(t); }
};
struct CursorDeleter {
  void operator()(SDL_Cursor* c) const { SDL_FreeCursor(c); }
};
using CursorPointer = std::unique_ptr<SDL_Cursor, CursorDeleter>;

constexpr int kMaxScale = 8;
// The mouse id of the events inject() puts in SDL's queue, so that a replay
// can tell them from the user's.
constexpr Uint32 kInjectedMouse = 0x4F52;
constexpr Uint8 kInjectedKey = 0x4F;


bool has(Uint16 mod, Uint16 any_of) { return (mod & any_of) != 0; }

Modifiers modifiers_of(Uint16 mod) {
  return {has(mod, KMOD_SHIFT), has(mod, KMOD_CTRL), has(mod, KMOD_ALT)};
}

Uint16 sdl_mod_of(const Modifiers& m) {
  return static_cast<Uint16>((m.shift ? KMOD_LSHIFT : 0) | (m.control ? KMOD_LCTRL : 0) |
                             (m.alt ? KMOD_LALT : 0));
}

std::optional<MouseButton> button_of(Uint8 sdl_button) {
  switch (sdl_button) {
    case SDL_BUTTON_LEFT: return MouseButton::left;
    case SDL_BUTTON_RIGHT: return MouseButton::right;
    case SDL_BUTTON_MIDDLE: return MouseButton::middle;
    default: return std::nullopt;
  }
}

Uint8 sdl_button_of(MouseButton b) {
  switch (b) {
    case MouseButton::left: return SDL_BUTTON_LEFT;
    case MouseButton::right: return SDL_BUTTON_RIGHT;
    case MouseButton::middle: return SDL_BUTTON_MIDDLE;
  }
  return SDL_BUTTON_LEFT;
}

SDL_SystemCursor system_cursor_of(CursorShape shape) {
  switch (shape) {
    case CursorShape::arrow: return SDL_SYSTEM_CURSOR_ARROW;
    case CursorShape::ibeam: return SDL_SYSTEM_CURSOR_IBEAM;
    case CursorShape::cross: return SDL_SYSTEM_CURSOR_CROSSHAIR;
    case CursorShape::wait: return SDL_SYSTEM_CURSOR_WAIT;
    case CursorShape::size_we: return SDL_SYSTEM_CURSOR_SIZEWE;
    case CursorShape::size_ns: return SDL_SYSTEM_CURSOR_SIZENS;
    case CursorShape::size_nwse: return SDL_SYSTEM_CURSOR_SIZENWSE;
    case CursorShape::size_nesw: return SDL_SYSTEM_CURSOR_SIZENESW;
    case CursorShape::hidden: break;
  }
  return SDL_SYSTEM_CURSOR_ARROW;
}

}  // namespace

struct SdlScreen::Impl {
  SdlOptions options;
  std::unique_ptr<SDL_Window, WindowDeleter> window;
  std::unique_ptr<SDL_Renderer, RendererDeleter> renderer;
  std::unique_ptr<SDL_Texture, TextureDeleter> texture;
  raster::IntSize texture_size;
  raster::IntSize size;             // the framebuffer the desktop should keep
  bool full_upload = true;          // the texture holds nothing of the framebuffer yet
  bool presented = false;
  std::array<CursorPointer, 8> system_cursors;
  CursorPointer custom_cursor;
  std::optional<CursorShape> shape = CursorShape::arrow;  // none: the custom cursor
  bool busy = false;
  Modifiers held;                   // as the last key event left them
  Uint32 quit_event = 0;            // our own event type for an injected quit
  bool screenshot_wanted = false;
  bool fullscreen = false;
  SystemClock clock;
  std::ofstream record_file;
  std::optional<ScriptRecorder> recorder;
  std::size_t replay_next = 0;
  std::uint64_t replay_start = 0;
  int frames_failed = 0;

  raster::IntSize size_from_window() const {
    int w = 0, h = 0;
    SDL_GetWindowSize(window.get(), &w, &h);
    return {std::max(1, w / options.scale), std::max(1, h / options.scale)};
  }

  void show_cursor() {
    if (busy || shape) {
      CursorShape s = busy ? CursorShape::wait : *shape;
      if (s == CursorShape::hidden) {
        SDL_ShowCursor(SDL_DISABLE);
        return;
      }
      auto& slot = system_cursors[static_cast<std::size_t>(s)];
      if (!slot) slot.reset(SDL_CreateSystemCursor(system_cursor_of(s)));
      if (slot) SDL_SetCursor(slot.get());
    } else if (custom_cursor) {
      SDL_SetCursor(custom_cursor.get());
    }
    SDL_ShowCursor(SDL_ENABLE);
  }

  void render() {
    SDL_SetRenderDrawColor(renderer.get(), 0, 0, 0, 255);
    SDL_RenderClear(renderer.get());
    if (texture) SDL_RenderCopy(renderer.get(), texture.get(), nullptr, nullptr);
  }

  bool ensure_texture(raster::IntSize fb) {
    if (texture && texture_size == fb) return true;
    texture.reset(SDL_CreateTexture(renderer.get(), SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                                    fb.width, fb.height));
    if (!texture) return false;
    texture_size = fb;
    SDL_RenderSetLogicalSize(renderer.get(), fb.width, fb.height);
    full_upload = true;
    return true;
  }

  void upload(const raster::Surface& fb, raster::IntRect r) {
    r = r.intersected(fb.bounds());
    if (r.empty()) return;
    SDL_Rect rect{r.left, r.top, r.width(), r.height()};
    SDL_UpdateTexture(texture.get(), &rect, fb.row(r.top) + static_cast<std::size_t>(r.left) * 4,
                      static_cast<int>(fb.stride()));
  }

  void take_screenshot(const raster::Surface& fb) {
    screenshot_wanted = false;
    std::error_code ec;
    for (int n = 1; n < 100000; ++n) {
      auto path = options.screenshot_directory / ("orvane-screenshot-" + std::to_string(n) + ".png");
      if (std::filesystem::exists(path, ec)) continue;
      std::string error;
      if (raster::write_png(fb, path.string(), &error))
        std::cerr << "orvane: screenshot written to " << path.string() << '\n';
      else
        std::cerr << "orvane: cannot write the screenshot " << path.string() << ": " << error << '\n';
      return;
    }
  }

  void toggle_fullscreen() {
    fullscreen = !fullscreen;
    SDL_SetWindowFullscreen(window.get(), fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
  }

  bool replaying() const { return options.replay.has_value(); }
  std::uint64_t replay_time() { return clock.milliseconds() - replay_start; }
  // Whether an event is the user's own input rather than one inject() made
  // (ignored while a script replays).
  bool user_input(const SDL_Event& e) {
    switch (e.type) {
      case SDL_MOUSEMOTION: return e.motion.which != kInjectedMouse;
      case SDL_MOUSEBUTTONDOWN:
      case SDL_MOUSEBUTTONUP: return e.button.which != kInjectedMouse;
      case SDL_MOUSEWHEEL: return true;
      case SDL_KEYDOWN:
      case SDL_KEYUP: return e.key.padding2 != kInjectedKey;
      case SDL_TEXTINPUT:
        // Text events carry no mark: those inject() made are counted.
        if (injected_text == 0) return true;
        --injected_text;
        return false;
      default: return false;
    }
  }
  int injected_text = 0;
  std::optional<raster::Surface> read_back();
  void inject(const InputEvent& event);
  void feed_replay();
  void take_replay_frame(const raster::Surface& framebuffer, const ScriptStep& step);
  std::optional<InputEvent> translate(const SDL_Event& e);
  std::optional<InputEvent> key_event(const SDL_KeyboardEvent& key);
};

std::optional<InputEvent> SdlScreen::Impl::key_event(const SDL_KeyboardEvent& key) {
  Uint16 mod = key.keysym.mod;
  const KeyInfo* info = key_of_sdl_scancode(key.keysym.scancode);
  held = modifiers_of(mod);
  bool chord = (has(mod, KMOD_CTRL) && has(mod, KMOD_ALT) && has(mod, KMOD_SHIFT));
  if (chord && (key.keysym.scancode == SDL_SCANCODE_F || key.keysym.scancode == SDL_SCANCODE_S)) {
    if (key.type == SDL_KEYDOWN && !key.repeat) {
      if (key.keysym.scancode == SDL_SCANCODE_F) toggle_fullscreen();
      else screenshot_wanted = true;
    }
    return std::nullopt;
  }
  if (!info) return std::nullopt;
  InputEvent event;
  event.kind = key.type == SDL_KEYDOWN ? InputEvent::Kind::key_down : InputEvent::Kind::key_up;
  event.virtual_key = info->virtual_key;
  event.extended = info->extended;
  event.scan_code = info->scan_code;
  event.modifiers = held;
  return event;
}

std::optional<InputEvent> SdlScreen::Impl::translate(const SDL_Event& e) {
  InputEvent event;
  switch (e.type) {
    case SDL_QUIT:
      event.kind = InputEvent::Kind::close_request;
      return event;
    case SDL_WINDOWEVENT:
      if (e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
        raster::IntSize now = size_from_window();
        if (now == size) return std::nullopt;
        size = now;
        event.kind = InputEvent::Kind::resized;
        return event;
      }
      if (e.window.event == SDL_WINDOWEVENT_EXPOSED && presented) {
        render();
        SDL_RenderPresent(renderer.get());
      }
      if (e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) held = modifiers_of(SDL_GetModState());
      return std::nullopt;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      return key_event(e.key);
    case SDL_TEXTINPUT: {
      // Ctrl or Alt alone make commands, not characters (Ctrl+Alt is AltGr).
      if (held.control != held.alt) return std::nullopt;
      event.kind = InputEvent::Kind::text;
      event.text = utf8_to_windows1252(e.text.text);
      std::erase_if(event.text, [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
      if (event.text.empty()) return std::nullopt;
      event.modifiers = held;
      return event;
    }
    case SDL_MOUSEMOTION:
      event.kind = InputEvent::Kind::mouse_move;
      event.position = {e.motion.x, e.motion.y};
      event.modifiers = held;
      return event;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      auto button = button_of(e.button.button);
      if (!button) return std::nullopt;
      event.kind = e.type == SDL_MOUSEBUTTONDOWN ? InputEvent::Kind::mouse_down : InputEvent::Kind::mouse_up;
      event.position = {e.button.x, e.button.y};
      event.button = *button;
      event.clicks = std::max<int>(1, e.button.clicks);
      event.modifiers = held;
      return event;
    }
    default:
      if (quit_event != 0 && e.type == quit_event) {
        event.kind = InputEvent::Kind::quit;
        return event;
      }
      return std::nullopt;
  }
}

SdlScreen::SdlScreen(const SdlOptions& options) : impl_(std::make_unique<Impl>()) {
  Impl& s = *impl_;
  s.options = options;
  s.options.scale = std::clamp(options.scale, 1, kMaxScale);
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
    throw DisplayUnavailable(std::string("no display can be opened: ") + SDL_GetError());
  // With no display at all SDL falls back to drivers that show nothing;
  // they serve only when asked for by name (SDL_VIDEODRIVER).
  std::string driver = SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "";
  const char* asked = std::getenv("SDL_VIDEODRIVER");
  if ((driver == "offscreen" || driver == "dummy") && !(asked && driver == asked)) {
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    throw DisplayUnavailable("no display can be opened (no X11 or Wayland display is set)");
  }
  Uint32 flags = SDL_WINDOW_ALLOW_HIGHDPI;
  const WindowFlags& f = options.flags;
  if (f.resizable) flags |= SDL_WINDOW_RESIZABLE;
  if (f.borderless) flags |= SDL_WINDOW_BORDERLESS;
  if (f.topmost) flags |= SDL_WINDOW_ALWAYS_ON_TOP;
  if (f.maximised) flags |= SDL_WINDOW_MAXIMIZED;
  if (f.fullscreen) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
  s.fullscreen = f.fullscreen;
  int scale = s.options.scale;
  s.window.reset(SDL_CreateWindow(windows1252_to_utf8(options.title).c_str(), SDL_WINDOWPOS_CENTERED,
                                  SDL_WINDOWPOS_CENTERED, options.size.width * scale,
                                  options.size.height * scale, flags));
  if (!s.window) {
    std::string error = SDL_GetError();
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    throw DisplayUnavailable("cannot open a window: " + error);
  }
  s.renderer.reset(SDL_CreateRenderer(s.window.get(), -1, 0));
  if (!s.renderer) {
    std::string error = SDL_GetError();
    s.window.reset();
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    throw DisplayUnavailable("cannot draw in a window: " + error);
  }
  SDL_RenderSetIntegerScale(s.renderer.get(), SDL_TRUE);
  s.size = (f.maximised || f.fullscreen) ? s.size_from_window() : options.size;
  s.quit_event = SDL_RegisterEvents(1);
  if (s.quit_event == static_cast<Uint32>(-1)) s.quit_event = 0;
  SDL_StartTextInput();
  s.replay_start = s.clock.milliseconds();
  if (!options.record_path.empty()) {
    s.record_file.open(options.record_path, std::ios::binary | std::ios::trunc);
    if (!s.record_file) {
      impl_.reset();
      SDL_QuitSubSystem(SDL_INIT_VIDEO);
      throw std::runtime_error("cannot write the recording " + options.record_path);
    }
    s.recorder.emplace(s.record_file, s.clock.milliseconds());
  }
}

SdlScreen::~SdlScreen() {
  if (!impl_) return;
  SDL_StopTextInput();
  impl_.reset();
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

raster::IntSize SdlScreen::size() const { return impl_->size; }

raster::IntSize SdlScreen::display_size() const {
  SDL_DisplayMode mode;
  int index = SDL_GetWindowDisplayIndex(impl_->window.get());
  if (index < 0 || SDL_GetDesktopDisplayMode(index, &mode) != 0) return impl_->size;
  return {mode.w / impl_->options.scale, mode.h / impl_->options.scale};
}

void SdlScreen::present(const raster::Surface& framebuffer, std::span<const raster::IntRect> dirty) {
  Impl& s = *impl_;
  if (framebuffer.format() != raster::PixelFormat::rgb32) return;
  if (!s.ensure_texture({framebuffer.width(), framebuffer.height()})) return;
  if (s.full_upload) {
    s.upload(framebuffer, framebuffer.bounds());
    s.full_upload = false;
  } else {
    for (const raster::IntRect& r : dirty) s.upload(framebuffer, r);
  }
  s.render();
  SDL_RenderPresent(s.renderer.get());
  s.presented = true;
  if (s.screenshot_wanted) s.take_screenshot(framebuffer);
}

std::optional<InputEvent> SdlScreen::poll_input() {
  Impl& s = *impl_;
  if (s.replaying()) s.feed_replay();
  SDL_Event e;
  while (SDL_PollEvent(&e)) {
    if (s.user_input(e) && s.replaying()) continue;
    if (auto event = s.translate(e)) {
      if (s.recorder) s.recorder->record(*event, s.clock.milliseconds());
      return event;
    }
  }
  return std::nullopt;
}

bool SdlScreen::wait_for_input(const raster::Surface& framebuffer, std::optional<std::uint64_t> deadline) {
  Impl& s = *impl_;
  if (s.screenshot_wanted) s.take_screenshot(framebuffer);
  if (s.replaying()) {
    // Injected input still in SDL's queue is not in the desktop's hands yet:
    // let it be read before any frame is taken or any wait begins.
    SDL_PumpEvents();
    if (SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_KEYDOWN, SDL_MOUSEWHEEL) > 0) return true;
    const auto& steps = s.options.replay->steps;
    // The injected events before a frame are all in the desktop's hands
    // now (it found nothing to do): what the window shows is the frame.
    while (s.replay_next < steps.size() && steps[s.replay_next].kind == ScriptStep::Kind::frame &&
           steps[s.replay_next].time <= s.replay_time()) {
      present(framebuffer, std::span<const raster::IntRect>());
      s.take_replay_frame(framebuffer, steps[s.replay_next]);
      ++s.replay_next;
    }
    std::uint64_t now = s.replay_time();
    std::uint64_t next = s.replay_next < steps.size() ? steps[s.replay_next].time : s.options.replay->end_time;
    if (s.replay_next >= steps.size() && now >= next) return false;
    if (next <= now) return true;
    std::uint64_t until = s.replay_start + next;
    if (deadline) until = std::min(until, *deadline);
    std::uint64_t clock_now = s.clock.milliseconds();
    if (until > clock_now) SDL_WaitEventTimeout(nullptr, static_cast<int>(std::min<std::uint64_t>(until - clock_now, 0x7FFFFFFF)));
    return true;
  }
  if (!deadline) {
    SDL_WaitEvent(nullptr);
    return true;
  }
  std::uint64_t now = s.clock.milliseconds();
  if (*deadline <= now) return true;
  std::uint64_t wait = std::min<std::uint64_t>(*deadline - now, 0x7FFFFFFF);
  SDL_WaitEventTimeout(nullptr, static_cast<int>(wait));
  return true;
}

void SdlScreen::set_title(std::string_view text) {
  SDL_SetWindowTitle(impl_->window.get(), windows1252_to_utf8(text).c_str());
}

void SdlScreen::set_window_flags(const WindowFlags& flags) {
  SDL_Window* w = impl_->window.get();
  SDL_SetWindowResizable(w, flags.resizable ? SDL_TRUE : SDL_FALSE);
  SDL_SetWindowBordered(w, flags.borderless ? SDL_FALSE : SDL_TRUE);
  SDL_SetWindowAlwaysOnTop(w, flags.topmost ? SDL_TRUE : SDL_FALSE);
  if (flags.fullscreen != impl_->fullscreen) impl_->toggle_fullscreen();
  bool maximised = (SDL_GetWindowFlags(w) & SDL_WINDOW_MAXIMIZED) != 0;
  if (flags.maximised && !maximised) SDL_MaximizeWindow(w);
  if (!flags.maximised && maximised) SDL_RestoreWindow(w);
}

void SdlScreen::set_cursor(CursorShape shape) {
  impl_->shape = shape;
  impl_->show_cursor();
}

void SdlScreen::set_cursor(const MonochromeCursor& cursor) {
  // "CURS" planes mean what SDL's data and mask mean: data 1 black, mask 1
  // with data 0 white, both 0 transparent, data 1 without mask inverted.
  impl_->custom_cursor.reset(SDL_CreateCursor(cursor.image, cursor.mask, 16, 16,
                                              std::clamp(cursor.hot_spot.x, 0, 15),
                                              std::clamp(cursor.hot_spot.y, 0, 15)));
  impl_->shape = impl_->custom_cursor ? std::nullopt : std::optional(CursorShape::arrow);
  impl_->show_cursor();
}

std::string SdlScreen::clipboard_text() {
  if (!SDL_HasClipboardText()) return {};
  char* text = SDL_GetClipboardText();
  if (!text) return {};
  std::string result = host_text_to_desktop(text);
  SDL_free(text);
  return result;
}

void SdlScreen::set_clipboard_text(std::string_view text) {
  SDL_SetClipboardText(desktop_text_to_host(text).c_str());
}

void SdlScreen::show_busy_cursor(bool busy) {
  impl_->busy = busy;
  impl_->show_cursor();
}

void SdlScreen::alert(std::string_view text) {
  SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, SDL_GetWindowTitle(impl_->window.get()),
                           windows1252_to_utf8(text).c_str(), impl_->window.get());
}

int SdlScreen::ok_quit_alert(std::string_view text) {
  const SDL_MessageBoxButtonData buttons[] = {
      {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 1, "OK"},
      {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 2, "Quit"},
  };
  std::string message = windows1252_to_utf8(text);
  SDL_MessageBoxData data{SDL_MESSAGEBOX_WARNING, impl_->window.get(), SDL_GetWindowTitle(impl_->window.get()),
                          message.c_str(), 2, buttons, nullptr};
  int answer = 1;
  if (SDL_ShowMessageBox(&data, &answer) != 0 || (answer != 1 && answer != 2)) return 1;
  return answer;
}

std::optional<raster::Surface> SdlScreen::read_back() { return impl_->read_back(); }

void SdlScreen::inject(const InputEvent& event) { impl_->inject(event); }

std::optional<raster::Surface> SdlScreen::Impl::read_back() {
  Impl& s = *this;
  if (!s.presented || !s.texture) return std::nullopt;
  s.render();
  int out_w = 0, out_h = 0;
  if (SDL_GetRendererOutputSize(s.renderer.get(), &out_w, &out_h) != 0) return std::nullopt;
  raster::IntSize fb = s.texture_size;
  int factor = std::max(1, std::min(out_w / fb.width, out_h / fb.height));
  raster::Surface shown(fb.width * factor, fb.height * factor, raster::PixelFormat::rgb32);
  if (SDL_RenderReadPixels(s.renderer.get(), nullptr, SDL_PIXELFORMAT_RGB888, shown.row(0),
                           static_cast<int>(shown.stride())) != 0)
    return std::nullopt;
  SDL_RenderPresent(s.renderer.get());
  if (factor == 1) return shown;
  raster::Surface result(fb.width, fb.height, raster::PixelFormat::rgb32);
  for (int y = 0; y < fb.height; ++y)
    for (int x = 0; x < fb.width; ++x) result.set_pixel(x, y, shown.pixel(x * factor, y * factor));
  return result;
}

void SdlScreen::Impl::inject(const InputEvent& event) {
  Impl& s = *this;
  SDL_Event e{};
  Uint32 window_id = SDL_GetWindowID(s.window.get());
  int scale = s.options.scale;
  auto push = [&] { SDL_PushEvent(&e); };
  switch (event.kind) {
    case InputEvent::Kind::mouse_move:
      e.type = SDL_MOUSEMOTION;
      e.motion.windowID = window_id;
      e.motion.which = kInjectedMouse;
      e.motion.x = event.position.x * scale;
      e.motion.y = event.position.y * scale;
      push();
      break;
    case InputEvent::Kind::mouse_down:
    case InputEvent::Kind::mouse_up:
      e.type = event.kind == InputEvent::Kind::mouse_down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
      e.button.windowID = window_id;
      e.button.which = kInjectedMouse;
      e.button.button = sdl_button_of(event.button);
      e.button.state = event.kind == InputEvent::Kind::mouse_down ? SDL_PRESSED : SDL_RELEASED;
      e.button.clicks = static_cast<Uint8>(std::clamp(event.clicks, 1, 255));
      e.button.x = event.position.x * scale;
      e.button.y = event.position.y * scale;
      push();
      break;
    case InputEvent::Kind::key_down:
    case InputEvent::Kind::key_up: {
      const KeyInfo* key = find_key(event.virtual_key, event.scan_code, event.extended);
      if (!key) break;
      e.type = event.kind == InputEvent::Kind::key_down ? SDL_KEYDOWN : SDL_KEYUP;
      e.key.windowID = window_id;
      e.key.padding2 = kInjectedKey;
      e.key.state = event.kind == InputEvent::Kind::key_down ? SDL_PRESSED : SDL_RELEASED;
      e.key.keysym.scancode = static_cast<SDL_Scancode>(sdl_scancode_of_key(*key));
      e.key.keysym.sym = SDL_GetKeyFromScancode(e.key.keysym.scancode);
      e.key.keysym.mod = sdl_mod_of(event.modifiers);
      push();
      break;
    }
    case InputEvent::Kind::text: {
      e.type = SDL_TEXTINPUT;
      e.text.windowID = window_id;
      std::string utf8 = windows1252_to_utf8(event.text);
      std::size_t n = std::min(utf8.size(), sizeof e.text.text - 1);
      std::copy_n(utf8.data(), n, e.text.text);
      ++injected_text;
      push();
      break;
    }
    case InputEvent::Kind::close_request:
      e.type = SDL_QUIT;
      push();
      break;
    case InputEvent::Kind::quit:
      if (s.quit_event == 0) break;
      e.type = s.quit_event;
      push();
      break;
    case InputEvent::Kind::resized:
      break;
  }
}

void SdlScreen::Impl::feed_replay() {
  const auto& steps = options.replay->steps;
  std::uint64_t now = replay_time();
  while (replay_next < steps.size() && steps[replay_next].kind == ScriptStep::Kind::input &&
         steps[replay_next].time <= now) {
    inject(steps[replay_next].event);
    ++replay_next;
  }
}

void SdlScreen::Impl::take_replay_frame(const raster::Surface& framebuffer, const ScriptStep& step) {
  (void)framebuffer;
  std::filesystem::path path = options.screenshot_directory / std::filesystem::path(step.frame_file);
  std::error_code ec;
  if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), ec);
  std::string error = "the window's pixels cannot be read";
  auto shown = read_back();
  if (!shown || !raster::write_png(*shown, path.string(), &error)) {
    ++frames_failed;
    std::cerr << "orvane: line " << step.line << ": cannot write frame " << path.string() << ": " << error << '\n';
  }
}

int SdlScreen::frames_failed() const { return impl_->frames_failed; }

std::string SdlScreen::renderer_name() const {
  SDL_RendererInfo info;
  if (SDL_GetRendererInfo(impl_->renderer.get(), &info) != 0) return "unknown";
  return info.name;
}

}  // namespace orvane::platform::backends
