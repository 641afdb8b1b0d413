#include "shell/title_shell.h"

#include <cstdio>
#include <filesystem>

#include "core/blocks.h"
#include "core/errors.h"
#include "core/memory.h"
#include "core/runtime.h"
#include "core/symbols.h"
#include "eval/context.h"
#include "eval/eval.h"
#include "eval/processes.h"
#include "eval/toplevel.h"
#include "graphics/picture.h"
#include "platform/clock.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/dialog.h"
#include "platform/desktop/menu.h"
#include "platform/desktop/ui_look.h"
#include "platform/screen.h"
#include "platform/settings.h"
#include "reader/reader.h"
#include "shell/cursors.h"
#include "shell/dispatch_state.h"
#include "shell/event_masks.h"
#include "shell/event_primitives.h"
#include "shell/event_pump.h"
#include "shell/frame_procedure.h"
#include "shell/modules.h"
#include "shell/scratch_files.h"
#include "shell/session.h"
#include "storage/database_module.h"
#include "storage/resources.h"
#include "ui/menu_dispatch.h"
#include "ui/menu_tree.h"
#include "ui/window_layer.h"

namespace orvane::shell {

namespace {

TitleShell* g_current = nullptr;  // the documented singleton: the title playing now

constexpr int kMdiClientId = 30000;

std::optional<std::span<std::uint8_t>> resource_data(const char* type, std::int16_t id) {
  ResourceManager& rm = resource_manager();
  std::uint32_t h = rm.get(FourCC::of(type), id);
  if (h == 0) return std::nullopt;
  return handle_bytes(h);
}

bool resource_exists(const char* type, std::int16_t id) {
  ResourceManager& rm = resource_manager();
  bool saved = rm.load_flag();
  rm.set_load_flag(false);
  std::uint32_t h = rm.get(FourCC::of(type), id);
  rm.set_load_flag(saved);
  return h != 0;
}

// Evaluates a form at the toplevel: errors are reported and end it.
void run_form(std::string_view text) { eval_toplevel(read_from_text(text)); }

void bind_global(std::string_view name, Value value) { set_symbol_global(intern(name), value); }

void bind_start_up_symbols() {
  bind_global("Machine", intern("ibm"));
  bind_global("Development-Stage", intern("release"));
  bind_global("Environment", intern("standalone"));
  intern("select");
  bind_global("Load-File", kNil);
  bind_global("ORVANE", kNoObject);
  bind_global("Compare-Vector", kNil);
  bind_global("Appl", kNil);
  bind_global("InQuit?", kNil);
  intern("init-orvane");
  intern("init-user");
  intern("toplevel-loop");
}

void register_title_modules() {
  register_all_modules();
  register_shell_primitives();
  register_event_primitives();
}

}  // namespace

std::uint64_t ticks_now() { return platform::clock().milliseconds() * 3 / 50; }

TitleShell* TitleShell::current() { return g_current; }

// --- The frame -----------------------------------------------------------------

struct TitleShell::Frame {
  desktop::Hwnd frame, client;
  std::unique_ptr<desktop::Menus> menus;
  std::unique_ptr<desktop::Dialogs> dialogs;
  std::string last_directory;  // "ORVANE.INI" [EG] LastDir: where file dialogs open
};

void TitleShell::create_frame() {
  using namespace desktop;
  frame_ = std::make_unique<Frame>();
  const TitlePreferences& p = options_.preferences;
  flags_ = p.flags;
  language_ = p.language;
  Desktop& d = desktop_;
  frame_->dialogs = std::make_unique<Dialogs>(d);
  frame_->menus = std::make_unique<Menus>(d);

  d.register_class({"FrameWClass", CS_HREDRAW | CS_VREDRAW, frame_procedure, look::face});

  raster::IntSize display = screen_.display_size();
  bool too_big = p.client.width >= display.width || p.client.height >= display.height;
  platform::WindowFlags flags;
  flags.borderless = (flags_ & start_flags::borderless_when_too_big) && too_big;
  flags.resizable = !flags.borderless;
  flags.topmost = (flags_ & start_flags::topmost) != 0;
  flags.maximised = (flags_ & start_flags::maximised) || too_big;
  flags.fullscreen = options_.fullscreen;
  screen_.set_window_flags(flags);
  screen_.set_title(p.caption);

  raster::IntRect fb = d.framebuffer().bounds();
  CreateParams frame;
  frame.class_name = "FrameWClass";
  frame.text = p.caption;
  frame.style = WS_CLIPCHILDREN;
  frame.x = 0;
  frame.y = 0;
  frame.width = fb.width();
  frame.height = fb.height();
  frame_->frame = d.create_window(frame);
  if (!frame_->frame) throw std::runtime_error("cannot create the frame window");
  d.set_host_frame(frame_->frame);
  if (flags_ & start_flags::menu_bar) {
    Hmenu bar = frame_->menus->create_menu();
    frame_->menus->append_menu(bar, MF_STRING, 0, "");
    frame_->menus->set_menu(frame_->frame, bar);
  }

  ClientCreateStruct client_create;
  client_create.first_child_id = kMdiClientId;
  CreateParams client;
  client.class_name = "MDICLIENT";
  client.style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_VISIBLE;
  raster::IntRect area = d.client_rect(frame_->frame);
  client.x = 0;
  client.y = 0;
  client.width = area.width();
  client.height = area.height();
  client.parent = frame_->frame;
  client.id = kMdiClientId;
  client.create_params = lparam_of_pointer(&client_create);
  frame_->client = d.create_window(client);
  if (!frame_->client) throw std::runtime_error("cannot create the frame's client window");
  ui::attach_window_layer(d, frame_->frame, frame_->client);
  attach_dispatch(d, frame_->frame, frame_->client, flags_);
  ui::attach_menus(*frame_->menus, frame_->frame);
  d.show_window(frame_->frame, flags.maximised ? SW_SHOWMAXIMIZED : SW_SHOW);
  d.update_window(frame_->frame);

  frame_->last_directory = platform::load_settings().get_string("EG", "LastDir", "C:\\WINDOWS\\SYSTEM");
}

const std::string& TitleShell::file_dialog_directory() const {
  static const std::string none;
  return frame_ ? frame_->last_directory : none;
}

std::pair<int, int> TitleShell::client_size() const {
  if (!frame_ || !frame_->client || !desktop_.is_window(frame_->client)) return {0, 0};
  raster::IntRect r = desktop_.client_rect(frame_->client);
  return {r.width(), r.height()};
}

int TitleShell::show_alert(int base) {
  std::optional<AlertTemplate> alert = alert_template(base + language_);
  if (!alert) return 0;
  alert->text = parameters_.expand(alert->text);
  return present_(*alert);
}

// --- The event pump ---------------------------------------------------------------

void TitleShell::event_pass(int mask) {
  using namespace desktop;
  process_events(desktop_, dispatch_state().client, mask);
  desktop_.present();
  // The backend takes the frames whose time has come; a script run to its
  // end ends the run in order, even for a loop whose mask leaves the quit
  // message waiting. The deadline is a millisecond on, so that a run past
  // its script's end is told so.
  std::uint64_t soon = platform::clock().milliseconds() + 1;
  if (!screen_.wait_for_input(desktop_.framebuffer(), soon) && !input_ended_) {
    input_ended_ = true;
    desktop_.post_quit_message(0);
  }
  Message quit;
  if (input_ended_ && mask != kAllEvents && desktop_.peek_message(quit, {}, WM_QUIT, WM_QUIT, PM_REMOVE))
    throw QuitRequest{static_cast<int>(quit.wparam)};
}

void TitleShell::quit(int code) { throw QuitRequest{code}; }

// --- The splash --------------------------------------------------------------

struct TitleShell::Splash {
  desktop::Hwnd window;
  std::int16_t picture = 501;      // the picture shown
  std::int16_t next = 0;           // the next picture's id
  std::uint64_t shown_at = 0;      // ticks
  std::uint64_t limit = 0;         // ticks the shown picture stays
  bool sequence = false;           // more to come, or the last picture's time to run out
  bool last = false;               // the shown picture is the last one
};

namespace {

int wait_ticks(std::int16_t id) {
  auto data = resource_data("wait", id);
  if (!data || data->size() < 2) return -1;
  return (*data)[0] << 8 | (*data)[1];
}

}  // namespace

void TitleShell::start_splash() {
  using namespace desktop;
  auto data = resource_data("PICT", 501);
  if (!data || data->size() < 10) return;
  auto word = [&](std::size_t i) {
    return static_cast<std::int16_t>((*data)[i] << 8 | (*data)[i + 1]);
  };
  int height = word(6) - word(2);
  int width = word(8) - word(4);
  if (width <= 0 || height <= 0) return;
  splash_ = std::make_unique<Splash>();
  desktop_.register_class({"Picture", CS_OWNDC,
                           [this](Desktop& d, Hwnd h, std::uint32_t m, WParam w, LParam l) -> LResult {
                             if (m != WM_PAINT) return d.def_window_proc(h, m, w, l);
                             PaintScope scope(d, h);
                             if (auto picture = resource_data("PICT", splash_->picture))
                               graphics::play_picture(scope.dc(), *picture, d.client_rect(h));
                             return 0;
                           },
                           look::face});
  auto [client_width, client_height] = client_size();
  CreateParams window;
  window.class_name = "Picture";
  window.style = WS_CHILD | WS_BORDER | WS_VISIBLE | WS_CLIPSIBLINGS;
  window.x = (client_width - width) / 2 - 1;
  window.y = (client_height - height) / 2 - 1;
  window.width = width + 2;
  window.height = height + 2;
  window.parent = frame_->client;
  splash_->window = desktop_.create_window(window);
  desktop_.update_window(splash_->window);
  desktop_.present();
  splash_->shown_at = ticks_now();
  int wait = wait_ticks(501);
  if (wait >= 0 && resource_exists("PICT", 502)) {
    splash_->sequence = true;
    splash_->next = 502;
    splash_->limit = static_cast<std::uint64_t>(wait);
  }
}

void TitleShell::advance_splash() {
  Splash& s = *splash_;
  if (s.last) {
    s.sequence = false;
    return;
  }
  s.picture = s.next;
  desktop_.invalidate_rect(s.window, nullptr, true);
  desktop_.update_window(s.window);
  desktop_.present();
  s.shown_at = ticks_now();
  int wait = wait_ticks(s.next);
  if (wait < 0) {
    s.sequence = false;
    return;
  }
  s.limit = static_cast<std::uint64_t>(wait);
  s.next = static_cast<std::int16_t>(s.next + 1);
  if (!resource_exists("PICT", s.next)) s.last = true;
}

void TitleShell::test_splash() {
  if (!splash_ || !splash_->sequence) return;
  if (ticks_now() - splash_->shown_at >= splash_->limit) advance_splash();
}

void TitleShell::wait_for_splash() {
  while (splash_ && splash_->sequence) {
    test_splash();
    if (!splash_->sequence) break;
    // The deadline in host milliseconds: the first whose tick count reaches the limit.
    std::uint64_t due_tick = splash_->shown_at + splash_->limit;
    std::uint64_t deadline = (due_tick * 50 + 2) / 3;
    process_events(desktop_, dispatch_state().client, kUpdateMask | kActivateMask);
    desktop_.present();
    if (!screen_.wait_for_input(desktop_.framebuffer(), deadline)) platform::clock().wait_until(deadline);
  }
}

void TitleShell::end_splash() {
  if (!splash_) return;
  desktop_.destroy_window(splash_->window);
  desktop_.unregister_class("Picture");
  splash_.reset();
}

// --- The boot ------------------------------------------------------------------

void TitleShell::load_code_resources() {
  ResourceManager& rm = resource_manager();
  int home = rm.current_file();
  for (std::int16_t n = 0;; ++n) {
    test_splash();
    std::uint32_t h = rm.get(FourCC::of("Load"), n);
    if (h == 0) {
      ResError error = rm.last_error();
      if (error == ResError::none || error == ResError::not_found) return;
      show_alert(kAlertLoadFailed);
      quit(1);  // the title could not be loaded: a failure, not a success
    }
    if (rm.home_file(h) != home) return;
    set_handle_purgeable(h, false);
    std::span<const std::uint8_t> bytes = handle_bytes(h);
    std::string text(bytes.begin(), bytes.end());
    rm.release(h);
    EventFlagRaised held;
    Value load_file = intern("Load-File");
    Value saved_load_file = symbol_global(load_file);
    set_symbol_global(load_file, make_fixnum(n));
    {
      SelfBinding no_object(kNoObject);
      TextSource source(text);
      DatumReader reader(source);
      for (;;) {
        std::optional<Value> form;
        try {
          form = reader.next();
        } catch (const Thrower&) {
          continue;  // reported; the reader goes on after the error
        } catch (const ErrorPrinting&) {
          continue;
        }
        if (!form) break;
        eval_toplevel(*form);
      }
    }
    set_symbol_global(load_file, saved_load_file);
  }
}

void TitleShell::boot(std::uint64_t start) {
  if (auto symbols = resource_data("SYMB", 0)) load_symbol_list(symbols->data(), symbols->size());
  start_splash();
  load_code_resources();
  release_symbol_list();
  set_symbol_global(intern("Load-File"), kNil);
  if (symbol_bound(intern("init-orvane"))) run_form("(init-orvane)");
  boot_ticks_ = static_cast<std::int32_t>(ticks_now() - start);
  if (symbol_bound(intern("init-user"))) run_form("(init-user)");
  end_splash();
}

// --- Running and quitting ----------------------------------------------------

TitleShell::TitleShell(desktop::Desktop& desktop, platform::Screen& screen, const TitleRunOptions& options,
                       const AlertPresenter& present)
    : desktop_(desktop), screen_(screen), options_(options), present_(present) {
  g_current = this;
}

TitleShell::~TitleShell() {
  if (g_current == this) g_current = nullptr;
}

void TitleShell::shut_down() {
  end_splash();  // a quit during the boot leaves it up
  ui::detach_menus();
  detach_dispatch();
  ui::detach_window_layer();
  if (frame_ && frame_->frame && desktop_.is_window(frame_->frame)) desktop_.destroy_window(frame_->frame);
  quit_processes();
  discard_styled_text_scratch();
  close_all_databases();
  close_all_resource_files();
  desktop_.present();
}

int TitleShell::run(desktop::Desktop& desktop, platform::Screen& screen, const TitleRunOptions& options,
                    const AlertPresenter& present) {
  TitleShell shell(desktop, screen, options, present);
  shell.language_ = options.preferences.language;
  MemoryConfig config = apply_overrides(options.preferences.memory, options.memory_overrides);
  if (auto problem = memory_config_problem(config)) {
    std::fprintf(stderr, "orvane play: %s\n", problem->c_str());
    return 1;
  }
  std::uint64_t available = kLispBlockLimit - std::min<std::uint64_t>(config.reserve, kLispBlockLimit);
  MemoryLayout layout = size_memory(config, available);
  if (layout.spare < 0) {
    shell.parameters_.set(0, std::to_string(1 - layout.spare / 1024));
    shell.show_alert(kAlertNoMemory);
    return 1;
  }
  shell.create_frame();
  shell_cursors().show_watch();  // until the boot first reaches the event loop
  std::uint64_t boot_start = ticks_now();  // the boot counts from the memory's set-up on
  std::unique_ptr<LispSession> session;
  try {
    session = std::make_unique<LispSession>(config, register_title_modules);
  } catch (const StartupMemoryError&) {
    shell.parameters_.set(0, std::to_string(layout.block_size / 1024));
    shell.show_alert(kAlertNoMemory);
    return 1;
  }
  if (resource_manager().open(options.path) < 0) {
    shell.parameters_.set(0, options.path);
    shell.show_alert(kAlertFileMissing);
    return 1;
  }
  bind_start_up_symbols();
  int status = 1;
  try {
    {
      EventFlagRaised held;
      shell.boot(boot_start);
    }
    if (symbol_global(intern("Appl")) != kNil) {
      EventFlagRaised held;
      run_form("(send Appl start-appl)");
    }
    {
      EventFlagRaised held;
      run_form("(toplevel-loop)");
    }
  } catch (const QuitRequest& quit) {
    status = quit.code;
  }
  shell.shut_down();
  return status;
}

}  // namespace orvane::shell
