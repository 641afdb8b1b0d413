// `orvane desktop-demo`: a frame with a menu bar and three MDI children (a
// scrolling grid, a sketch pad that draws under the mouse and shows what is
// typed, a key log), and a modal alert on Help > About (and File > About),
// built on the desktop layer alone. It is what tests drive end to end until titles play.
#include <cstdio>
#include <deque>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/commands.h"
#include "app/window_screen.h"
#include "platform/backends/backend_host.h"
#include "platform/backends/headless_screen.h"
#include "platform/backends/sdl_screen.h"
#include "platform/console.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/dialog.h"
#include "platform/desktop/menu.h"
#include "platform/desktop/ui_look.h"
#include "platform/desktop/ui_text.h"

namespace orvane::app {

namespace {

using namespace orvane::desktop;
using raster::Color;
using raster::DeviceContext;
using raster::IntPoint;
using raster::IntRect;

enum Command : int {
  kAbout = 100,
  kExit = 101,
  kGrid = 200,
  kUnavailable = 201,
  kNextWindow = 300,
};

constexpr int kDocumentSize = 640;  // the scrolling child's document, pixels square
constexpr int kCell = 40;
constexpr int kLine = 10;            // a line of the scroll bars' arrows
constexpr std::size_t kKeyLogLines = 14;

void draw_text(DeviceContext& dc, IntPoint at, std::string_view text, Color color = look::text) {
  if (const fonts::Font* font = dialog_font()) font->draw(dc, at, text, fonts::TextPaint::solid(color));
}

int line_height() {
  const fonts::Font* font = dialog_font();
  return font ? font->metrics().line_height : 13;
}

// Everything the demo's windows share.
struct Demo {
  Desktop& desktop;
  Menus& menus;
  Dialogs& dialogs;
  Hwnd frame;
  Hwnd client;
  Hmenu view_menu;
  bool grid = true;
  IntPoint scroll;                              // the scrolling child's position
  std::vector<std::vector<IntPoint>> strokes;   // the sketch, client coordinates
  std::string typed;                            // what was typed into the sketch
  std::deque<std::string> key_log;
  Hwnd scroll_child, sketch_child, keys_child;
};

// --- The scrolling grid ----------------------------------------------------

void update_scroll_bars(Demo& demo, Hwnd hwnd) {
  IntRect client = demo.desktop.client_rect(hwnd);
  for (int bar : {SB_HORZ, SB_VERT}) {
    int page = bar == SB_HORZ ? client.width() : client.height();
    ScrollInfo info;
    info.mask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.min = 0;
    info.max = kDocumentSize - 1;
    info.page = static_cast<unsigned>(std::max(page, 0));
    int& pos = bar == SB_HORZ ? demo.scroll.x : demo.scroll.y;
    pos = std::clamp(pos, 0, std::max(0, kDocumentSize - page));
    info.pos = pos;
    demo.desktop.set_scroll_info(hwnd, bar, info, true);
  }
}

void scroll_to(Demo& demo, Hwnd hwnd, int bar, int code, int thumb) {
  IntRect client = demo.desktop.client_rect(hwnd);
  int page = bar == SB_HORZ ? client.width() : client.height();
  int& pos = bar == SB_HORZ ? demo.scroll.x : demo.scroll.y;
  int target = pos;
  switch (code) {
    case SB_LINEUP: target -= kLine; break;
    case SB_LINEDOWN: target += kLine; break;
    case SB_PAGEUP: target -= page; break;
    case SB_PAGEDOWN: target += page; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: target = thumb; break;
    case SB_TOP: target = 0; break;
    case SB_BOTTOM: target = kDocumentSize; break;
    default: return;
  }
  target = std::clamp(target, 0, std::max(0, kDocumentSize - page));
  if (target == pos) return;
  int delta = pos - target;
  pos = target;
  demo.desktop.set_scroll_pos(hwnd, bar, pos, true);
  if (bar == SB_HORZ) demo.desktop.scroll_window(hwnd, delta, 0, nullptr, nullptr, SW_INVALIDATE);
  else demo.desktop.scroll_window(hwnd, 0, delta, nullptr, nullptr, SW_INVALIDATE);
  demo.desktop.update_window(hwnd);
}

void paint_grid(Demo& demo, Hwnd hwnd) {
  PaintScope scope(demo.desktop, hwnd);
  DeviceContext& dc = scope.dc();
  IntRect area = scope.paint().paint_rect.translated(demo.scroll);
  for (int row = std::max(0, area.top / kCell); row * kCell < std::min(area.bottom, kDocumentSize); ++row) {
    for (int col = std::max(0, area.left / kCell); col * kCell < std::min(area.right, kDocumentSize); ++col) {
      IntRect cell = IntRect{col * kCell, row * kCell, (col + 1) * kCell, (row + 1) * kCell}.translated(
          -demo.scroll.x, -demo.scroll.y);
      Color shade{static_cast<std::uint8_t>(255 - col * 8), static_cast<std::uint8_t>(255 - row * 8), 224};
      look::fill(dc, cell, shade);
      if (demo.grid) {
        dc.set_pen(raster::Pen{raster::PenStyle::solid, 1, look::shadow});
        dc.move_to({cell.left, cell.bottom - 1});
        dc.line_to({cell.right - 1, cell.bottom - 1});
        dc.line_to({cell.right - 1, cell.top - 1});
      }
      std::string label = std::to_string(col) + "," + std::to_string(row);
      draw_text(dc, {cell.left + 4, cell.top + 4}, label);
    }
  }
  IntRect rest = scope.paint().paint_rect;
  IntRect document = IntRect{0, 0, kDocumentSize, kDocumentSize}.translated(-demo.scroll.x, -demo.scroll.y);
  if (rest.right > document.right) look::fill(dc, {document.right, rest.top, rest.right, rest.bottom}, look::window);
  if (rest.bottom > document.bottom) look::fill(dc, {rest.left, document.bottom, rest.right, rest.bottom}, look::window);
}

LResult grid_procedure(Demo& demo, Desktop& d, Hwnd hwnd, std::uint32_t message, WParam wparam, LParam lparam) {
  switch (message) {
    case WM_SIZE:
      update_scroll_bars(demo, hwnd);
      break;
    case WM_HSCROLL:
    case WM_VSCROLL:
      scroll_to(demo, hwnd, message == WM_HSCROLL ? SB_HORZ : SB_VERT, low_word(wparam), high_word(wparam));
      return 0;
    case WM_KEYDOWN: {
      std::uint8_t vk = static_cast<std::uint8_t>(wparam);
      if (vk == VK_UP || vk == VK_DOWN) scroll_to(demo, hwnd, SB_VERT, vk == VK_UP ? SB_LINEUP : SB_LINEDOWN, 0);
      if (vk == VK_LEFT || vk == VK_RIGHT) scroll_to(demo, hwnd, SB_HORZ, vk == VK_LEFT ? SB_LINEUP : SB_LINEDOWN, 0);
      if (vk == VK_PRIOR || vk == VK_NEXT) scroll_to(demo, hwnd, SB_VERT, vk == VK_PRIOR ? SB_PAGEUP : SB_PAGEDOWN, 0);
      return 0;
    }
    case WM_PAINT:
      paint_grid(demo, hwnd);
      return 0;
    default:
      break;
  }
  return d.def_mdi_child_proc(hwnd, message, wparam, lparam);
}

// --- The sketch pad ----------------------------------------------------------

void draw_stroke(DeviceContext& dc, const std::vector<IntPoint>& stroke) {
  dc.set_pen(raster::Pen{raster::PenStyle::solid, 2, Color{0, 0, 128}});
  if (stroke.size() == 1) {
    dc.fill_rect({stroke[0].x - 1, stroke[0].y - 1, stroke[0].x + 2, stroke[0].y + 2},
                 raster::Brush::solid(Color{0, 0, 128}));
    return;
  }
  dc.polyline(stroke);
}

IntRect typed_band(Demo& demo, Hwnd hwnd) {
  IntRect client = demo.desktop.client_rect(hwnd);
  return {0, client.bottom - line_height() - 6, client.right, client.bottom};
}

LResult sketch_procedure(Demo& demo, Desktop& d, Hwnd hwnd, std::uint32_t message, WParam wparam, LParam lparam) {
  switch (message) {
    case WM_LBUTTONDOWN:
      d.set_capture(hwnd);
      demo.strokes.push_back({point_of(lparam)});
      {
        DeviceContext dc = d.get_dc(hwnd);
        draw_stroke(dc, demo.strokes.back());
      }
      return 0;
    case WM_MOUSEMOVE:
      if (d.capture() == hwnd && !demo.strokes.empty()) {
        auto& stroke = demo.strokes.back();
        stroke.push_back(point_of(lparam));
        DeviceContext dc = d.get_dc(hwnd);
        std::vector<IntPoint> segment{stroke[stroke.size() - 2], stroke.back()};
        draw_stroke(dc, segment);
      }
      return 0;
    case WM_LBUTTONUP:
      if (d.capture() == hwnd) d.release_capture();
      return 0;
    case WM_LBUTTONDBLCLK:
      // A double click clears the pad.
      demo.strokes.clear();
      d.invalidate_rect(hwnd, nullptr, true);
      return 0;
    case WM_CHAR: {
      auto c = static_cast<unsigned char>(wparam);
      if (c == 8) {
        if (!demo.typed.empty()) demo.typed.pop_back();
      } else if (c >= 0x20) {
        demo.typed += static_cast<char>(c);
      }
      IntRect band = typed_band(demo, hwnd);
      d.invalidate_rect(hwnd, &band, true);
      return 0;
    }
    case WM_PAINT: {
      PaintScope scope(d, hwnd);
      for (const auto& stroke : demo.strokes) draw_stroke(scope.dc(), stroke);
      IntRect band = typed_band(demo, hwnd);
      look::fill(scope.dc(), band, look::face);
      draw_text(scope.dc(), {4, band.top + 3}, demo.typed.empty() ? std::string("Type here") : demo.typed,
                demo.typed.empty() ? look::shadow : look::text);
      return 0;
    }
    default:
      break;
  }
  return d.def_mdi_child_proc(hwnd, message, wparam, lparam);
}

// --- The key log ---------------------------------------------------------------

std::string describe_key(std::uint32_t message, WParam wparam, LParam lparam) {
  char buffer[96];
  const char* name = message == WM_KEYDOWN ? "WM_KEYDOWN" : message == WM_KEYUP ? "WM_KEYUP"
                     : message == WM_SYSKEYDOWN ? "WM_SYSKEYDOWN" : "WM_SYSKEYUP";
  bool extended = (static_cast<std::uint32_t>(lparam) >> 24) & 1;
  int scan = (static_cast<std::uint32_t>(lparam) >> 16) & 0xFF;
  std::snprintf(buffer, sizeof buffer, "%s  vk %02X  scan %02X%s", name, static_cast<unsigned>(wparam & 0xFF),
                scan, extended ? "  extended" : "");
  return buffer;
}

LResult keys_procedure(Demo& demo, Desktop& d, Hwnd hwnd, std::uint32_t message, WParam wparam, LParam lparam) {
  std::optional<std::string> line;
  if (message == WM_KEYDOWN || message == WM_KEYUP) line = describe_key(message, wparam, lparam);
  if (message == WM_CHAR) {
    char buffer[32];
    auto c = static_cast<unsigned char>(wparam);
    if (c >= 0x20) std::snprintf(buffer, sizeof buffer, "WM_CHAR  '%c'  %02X", c, c);
    else std::snprintf(buffer, sizeof buffer, "WM_CHAR  %02X", c);
    line = buffer;
  }
  if (line) {
    demo.key_log.push_back(*line);
    while (demo.key_log.size() > kKeyLogLines) demo.key_log.pop_front();
    d.invalidate_rect(hwnd, nullptr, true);
    return 0;
  }
  if (message == WM_PAINT) {
    PaintScope scope(d, hwnd);
    int y = 4;
    for (const std::string& entry : demo.key_log) {
      draw_text(scope.dc(), {4, y}, entry);
      y += line_height();
    }
    if (demo.key_log.empty()) draw_text(scope.dc(), {4, 4}, "Press keys here", look::shadow);
    return 0;
  }
  return d.def_mdi_child_proc(hwnd, message, wparam, lparam);
}

// --- The frame -------------------------------------------------------------------

LResult frame_procedure(Demo& demo, Desktop& d, Hwnd hwnd, std::uint32_t message, WParam wparam, LParam lparam) {
  switch (message) {
    case WM_COMMAND:
      switch (low_word(wparam)) {
        case kAbout: {
          Alert about;
          about.caption = "About";
          about.text = "Orvane Desktop Demo\nWindows, menus, scroll bars and\na modal alert, drawn by Orvane.";
          demo.dialogs.alert(hwnd, about);
          return 0;
        }
        case kExit:
          d.post_message(hwnd, WM_CLOSE);
          return 0;
        case kGrid:
          demo.grid = !demo.grid;
          demo.menus.check_menu_item(demo.view_menu, kGrid, MF_BYCOMMAND | (demo.grid ? MF_CHECKED : MF_UNCHECKED));
          d.invalidate_rect(demo.scroll_child, nullptr, true);
          return 0;
        case kNextWindow:
          d.send_message(demo.client, WM_MDINEXT, 0, 0);
          return 0;
        default:
          return 0;
      }
    case WM_DESTROY:
      d.post_quit_message(0);
      return 0;
    default:
      return d.def_frame_proc(hwnd, demo.client, message, wparam, lparam);
  }
}

Hmenu build_menus(Demo& demo) {
  Menus& m = demo.menus;
  Hmenu bar = m.create_menu();
  Hmenu file = m.create_popup_menu();
  m.append_menu(file, MF_STRING, kAbout, "&About...");
  m.append_menu(file, MF_SEPARATOR, 0, "");
  m.append_menu(file, MF_STRING, kExit, "E&xit\tAlt+F4");
  demo.view_menu = m.create_popup_menu();
  m.append_menu(demo.view_menu, MF_STRING | MF_CHECKED, kGrid, "&Grid lines");
  m.append_menu(demo.view_menu, MF_STRING | MF_GRAYED, kUnavailable, "&Unavailable");
  Hmenu window = m.create_popup_menu();
  m.append_menu(window, MF_STRING, kNextWindow, "&Next\tCtrl+F6");
  Hmenu help = m.create_popup_menu();
  m.append_menu(help, MF_STRING, kAbout, "&About Orvane...");
  m.append_menu(bar, MF_POPUP, file.value, "&File");
  m.append_menu(bar, MF_POPUP, demo.view_menu.value, "&View");
  m.append_menu(bar, MF_POPUP, window.value, "&Window");
  m.append_menu(bar, MF_POPUP, help.value, "&Help");
  return bar;
}

Hwnd create_child(Demo& demo, const char* class_name, const char* title, IntRect place, std::uint32_t style = 0) {
  MdiCreateStruct create;
  create.class_name = class_name;
  create.title = title;
  create.x = place.left;
  create.y = place.top;
  create.width = place.width();
  create.height = place.height();
  create.style = style;
  return Hwnd{static_cast<std::uint32_t>(
      demo.desktop.send_message(demo.client, WM_MDICREATE, 0, lparam_of_pointer(&create)))};
}

// Builds the demo on a desktop and runs its message loop to the end.
int run_demo(Desktop& d) {
  FontTextPainter painter;
  d.set_text_painter(&painter);
  Menus menus(d);
  Dialogs dialogs(d);
  Demo demo{d, menus, dialogs, {}, {}, {}, true, {}, {}, {}, {}, {}, {}, {}};

  auto with_demo = [&demo](LResult (*procedure)(Demo&, Desktop&, Hwnd, std::uint32_t, WParam, LParam)) {
    return [&demo, procedure](Desktop& desk, Hwnd h, std::uint32_t m, WParam w, LParam l) {
      return procedure(demo, desk, h, m, w, l);
    };
  };
  d.register_class({"OrvaneDemoFrame", 0, with_demo(frame_procedure), look::face});
  d.register_class({"OrvaneDemoGrid", CS_HREDRAW | CS_VREDRAW, with_demo(grid_procedure), look::window});
  d.register_class({"OrvaneDemoSketch", CS_DBLCLKS, with_demo(sketch_procedure), look::window});
  d.register_class({"OrvaneDemoKeys", 0, with_demo(keys_procedure), look::window});

  IntRect fb = d.framebuffer().bounds();
  CreateParams frame;
  frame.class_name = "OrvaneDemoFrame";
  frame.text = "Orvane Desktop Demo";
  frame.style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
  frame.x = 0;
  frame.y = 0;
  frame.width = fb.width();
  frame.height = fb.height();
  demo.frame = d.create_window(frame);
  if (!demo.frame) {
    std::fprintf(stderr, "orvane desktop-demo: cannot create the frame\n");
    return 1;
  }
  d.set_host_frame(demo.frame);
  menus.set_menu(demo.frame, build_menus(demo));

  ClientCreateStruct client_create;
  CreateParams client;
  client.class_name = "MDICLIENT";
  client.style = WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE;
  IntRect area = d.client_rect(demo.frame);
  client.x = 0;
  client.y = 0;
  client.width = area.width();
  client.height = area.height();
  client.parent = demo.frame;
  client.create_params = lparam_of_pointer(&client_create);
  demo.client = d.create_window(client);
  d.show_window(demo.frame, SW_SHOW);

  demo.keys_child = create_child(demo, "OrvaneDemoKeys", "Keys", {150, 240, 500, 450});
  demo.sketch_child = create_child(demo, "OrvaneDemoSketch", "Sketch", {270, 10, 600, 230});
  demo.scroll_child = create_child(demo, "OrvaneDemoGrid", "Grid", {10, 10, 250, 250}, WS_HSCROLL | WS_VSCROLL);

  Message m;
  while (d.get_message(m)) {
    d.translate_message(m);
    d.dispatch_message(m);
  }
  return static_cast<int>(m.wparam);
}

}  // namespace

int desktop_demo_command(const DesktopDemoOptions& options) {
  using namespace platform::backends;
  if (options.headless) {
    ScriptParse script;
    if (!options.events.empty()) {
      script = load_event_script(options.events);
      if (!script.ok()) {
        for (const std::string& error : script.errors) std::fprintf(stderr, "orvane desktop-demo: %s\n", error.c_str());
        return 1;
      }
    }
    HeadlessClock clock;
    HeadlessOptions headless;
    headless.size = options.screen;
    headless.frames_directory = options.frames;
    headless.report = [](const std::string& text) { std::fprintf(stderr, "orvane desktop-demo: %s\n", text.c_str()); };
    HeadlessScreen screen(clock, std::move(script.script), headless);
    BackendHost host(clock, screen, platform::standard_console(), std::cerr, false);
    platform::HostScope scope(host);
    Desktop desktop(screen, clock);
    int status = run_demo(desktop);
    return screen.frames_failed() > 0 ? 1 : status;
  }
  SdlOptions sdl;
  if (!options.events.empty()) {
    ScriptParse script = load_event_script(options.events);
    if (!script.ok()) {
      for (const std::string& error : script.errors) std::fprintf(stderr, "orvane desktop-demo: %s\n", error.c_str());
      return 1;
    }
    sdl.replay = std::move(script.script);
  }
  sdl.size = options.screen;
  sdl.scale = options.scale;
  sdl.title = "Orvane Desktop Demo";
  sdl.record_path = options.record;
  sdl.screenshot_directory = options.frames;
  std::unique_ptr<SdlScreen> screen = open_window_screen(std::move(sdl), "desktop-demo");
  if (!screen) return 1;
  platform::SystemClock clock;
  BackendHost host(clock, *screen, platform::standard_console(), std::cerr, true);
  platform::HostScope scope(host);
  Desktop desktop(*screen, clock);
  int status = run_demo(desktop);
  return screen->frames_failed() > 0 ? 1 : status;
}

}  // namespace orvane::app
