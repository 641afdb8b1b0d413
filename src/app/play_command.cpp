// `orvane play`: the title's preferences read first (they size the screen),
// then the backend (SDL2 with a display, headless on request), the desktop
// and the title's shell, which runs the title to its end.
#include <algorithm>
#include <cstdio>
#include <iostream>
#include <memory>

#include "app/build_title.h"
#include "app/commands.h"
#include "app/window_screen.h"
#include "platform/backends/backend_host.h"
#include "platform/backends/headless_screen.h"
#include "platform/backends/sdl_screen.h"
#include "platform/console.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/dialog.h"
#include "platform/desktop/menu_layout.h"
#include "platform/desktop/ui_text.h"
#include "platform/file_io.h"
#include "shell/title_shell.h"

namespace orvane::app {

namespace {

using namespace platform::backends;

constexpr int kMinScreenSide = 64;
constexpr int kMaxScreenSide = 8192;
constexpr raster::IntSize kVirtualDisplay{1024, 768};

// A size within what a framebuffer can be.
raster::IntSize clamped(raster::IntSize size) {
  return {std::clamp(size.width, kMinScreenSide, kMaxScreenSide), std::clamp(size.height, kMinScreenSide, kMaxScreenSide)};
}

// The frame's client area: the title's client size with the menu bar (flag
// 0x01) above it; on a known display, the whole display when the frame is
// shown maximised (flag 0x80, or a client size that does not fit).
raster::IntSize frame_size(const shell::TitlePreferences& preferences, raster::IntSize client,
                           std::optional<raster::IntSize> display) {
  using namespace shell::start_flags;
  if (display) {
    const bool fits = client.width < display->width && client.height < display->height;
    if (!fits || (preferences.flags & maximised)) return *display;
  }
  int bar = 0;
  if (preferences.flags & menu_bar) bar = desktop::layout_bar({desktop::MenuItem{}}, client.width).height;
  return {client.width, std::min(client.height + bar, kMaxScreenSide)};
}

// Alerts as modal dialogs of the desktop, owned by its frame.
shell::AlertPresenter dialog_presenter(desktop::Dialogs& dialogs, desktop::Desktop& desk) {
  return [&dialogs, &desk](const shell::AlertTemplate& alert) {
    desktop::Alert box;
    box.text = alert.text;
    box.caption = alert.caption;
    box.buttons.clear();
    for (const auto& [id, label] : alert.buttons) box.buttons.push_back({id, label});
    box.close_result = 0;
    return dialogs.alert(desk.host_frame(), box);
  };
}

// The title cannot be opened: alert 5200 (in English: no title, no
// language), on standard error and, with a display, as a dialog of its own.
int title_missing(const PlayOptions& options, const std::string& problem, std::optional<EventScript> script) {
  shell::AlertParameters parameters;
  parameters.set(0, options.title);
  auto alert = shell::alert_template(shell::kAlertFileMissing);
  alert->text = parameters.expand(alert->text);
  shell::write_alert_to_errors(*alert);
  std::fprintf(stderr, "orvane play: %s\n", problem.c_str());
  if (options.headless) return 1;
  SdlOptions sdl;
  sdl.size = {640, 480};
  sdl.title = "Orvane";
  sdl.replay = std::move(script);
  sdl.screenshot_directory = options.frames;
  try {
    SdlScreen screen(sdl);
    platform::SystemClock clock;
    BackendHost host(clock, screen, platform::standard_console(), std::cerr, false);
    platform::HostScope scope(host);
    desktop::Desktop desk(screen, clock);
    desktop::FontTextPainter painter;
    desk.set_text_painter(&painter);
    desktop::Dialogs dialogs(desk);
    dialog_presenter(dialogs, desk)(*alert);
  } catch (const std::exception&) {
    // No display: standard error has told.
  }
  return 1;
}

template <class Screen>
int play(Screen& screen, platform::Clock& clock, bool headless, const shell::TitleRunOptions& run) {
  BackendHost host(clock, screen, platform::standard_console(), std::cerr, !headless);
  platform::HostScope scope(host);
  desktop::Desktop desk(screen, clock);
  desktop::FontTextPainter painter;
  desk.set_text_painter(&painter);
  desktop::Dialogs dialogs(desk);
  shell::AlertPresenter present =
      headless ? shell::AlertPresenter(shell::write_alert_to_errors) : dialog_presenter(dialogs, desk);
  host.set_event_pump([] {
    if (shell::TitleShell* s = shell::TitleShell::current()) s->event_pass();
  });
  int status = 1;
  try {
    status = shell::TitleShell::run(desk, screen, run, present);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "orvane play: %s\n", e.what());
    return 1;
  }
  return screen.frames_failed() > 0 && status == 0 ? 1 : status;
}

int play_title(const MemoryOverrides& overrides, const PlayOptions& options) {

  std::optional<EventScript> script;
  if (!options.events.empty()) {
    ScriptParse parse = load_event_script(options.events);
    if (!parse.ok()) {
      for (const std::string& error : parse.errors) std::fprintf(stderr, "orvane play: %s\n", error.c_str());
      return 1;
    }
    script = std::move(parse.script);
  }
  shell::TitleFileRead read = shell::read_title_file(options.title);
  if (read.missing) return title_missing(options, read.problem, std::move(script));
  if (!read.preferences) {
    std::fprintf(stderr, "orvane play: %s: %s\n", options.title.c_str(), read.problem.c_str());
    return 1;
  }
  shell::TitleRunOptions run;
  run.path = options.title;
  run.preferences = *read.preferences;
  run.memory_overrides = overrides;
  run.fullscreen = options.fullscreen;
  const raster::IntSize client = clamped(run.preferences.client);
  if (options.headless) {
    HeadlessClock clock;
    HeadlessOptions headless;
    // The virtual display is 1024 x 768 unless --screen says; the
    // framebuffer is the frame the title asks for on it.
    headless.display = clamped(options.screen.value_or(kVirtualDisplay));
    headless.size = frame_size(run.preferences, client, headless.display);
    headless.frames_directory = options.frames;
    headless.report = [](const std::string& text) { std::fprintf(stderr, "orvane play: %s\n", text.c_str()); };
    HeadlessScreen screen(clock, script ? std::move(*script) : EventScript{}, headless);
    return play(screen, clock, true, run);
  }
  SdlOptions sdl;
  sdl.replay = std::move(script);
  // The host's display is known once the window is open: the frame is shown
  // maximised there when it does not fit.
  sdl.size = frame_size(run.preferences, client, std::nullopt);
  sdl.scale = options.scale;
  sdl.title = run.preferences.caption;
  sdl.flags.fullscreen = options.fullscreen;
  sdl.record_path = options.record;
  sdl.screenshot_directory = options.frames;
  std::unique_ptr<SdlScreen> screen = open_window_screen(std::move(sdl), "play");
  if (!screen) return 1;
  platform::SystemClock clock;
  return play(*screen, clock, false, run);
}

}  // namespace

// A folder is built into a temporary title first, removed afterwards: it
// plays exactly as the packed file would.
int play_command(const MemoryOverrides& overrides, const PlayOptions& options) {
  if (!platform::directory_exists(options.title)) return play_title(overrides, options);
  TemporaryTitle built;
  if (!built.build(options.title, "orvane play")) return 1;
  PlayOptions from_folder = options;
  from_folder.title = built.path();
  return play_title(overrides, from_folder);
}

}  // namespace orvane::app
