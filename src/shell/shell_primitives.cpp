// The shell's primitives: quitting, the alerts' language, the screen and
// the frame's sizes, the splash sequence, starting another program.
#include <string>

#include "core/errors.h"
#include "core/primitives.h"
#include "core/symbols.h"
#include "graphics/dialog_desktop.h"
#include "platform/desktop/desktop.h"
#include "platform/launch.h"
#include "platform/screen.h"
#include "shell/title_shell.h"
#include "storage/pathnames.h"

namespace orvane::shell {

namespace {

TitleShell& shell() {
  TitleShell* s = TitleShell::current();
  // Outside a play there is no frame, splash or screen to speak of.
  if (!s) raise_error(47, kNil);
  return *s;
}

Value p_boot_time() { return make_fixnum(shell().boot_ticks()); }
Value p_get_menubar_p() { return kNil; }
Value p_test_wait_dlg() {
  shell().test_splash();
  return kNoValue;
}
Value p_wait_boot_time() {
  shell().wait_for_splash();
  return kNoValue;
}
Value p_quit() { shell().quit(0); }
Value p_get_appl_creator() { raise_error(47, kNil); }
// No system debugger is attached to a title; the argument comes back.
Value p_debugger(Value v) { return v; }
Value p_set_language(Value language) {
  int n = is_fixnum(language) ? language.fixnum() : 0;
  shell().set_language(n == 0 || n == 1 ? n : 0);
  return kNoValue;
}
Value p_screen_width() { return make_fixnum(shell().screen().display_size().width); }
Value p_screen_height() { return make_fixnum(shell().screen().display_size().height); }
Value p_desktop_frame_width() { return make_fixnum(shell().client_size().first); }
Value p_desktop_frame_height() { return make_fixnum(shell().client_size().second); }
Value p_launch_application(Value path, Value then_quit) {
  TitleShell& s = shell();
  bool started = platform::launch_command_line(host_path_of(path));
  if (then_quit != kNil && then_quit != kNoValue) s.quit(0);
  return make_fixnum(started ? 0 : -1);
}

}  // namespace

void register_shell_primitives() {
  defprim("boot-time", p_boot_time);
  defprim("get-menubar?", p_get_menubar_p);
  defprim("test-wait-dlg", p_test_wait_dlg);
  defprim("wait-boot-time", p_wait_boot_time);
  defprim("quit", p_quit);
  defprim("do-quit", p_quit);
  defprim("get-appl-creator", p_get_appl_creator);
  defprim("debugger", p_debugger);
  defprim("debug", p_debugger);
  defprim("set-language", p_set_language);
  defprim("screen-width", p_screen_width);
  defprim("screen-height", p_screen_height);
  defprim("desktop-frame-width", p_desktop_frame_width);
  defprim("desktop-frame-height", p_desktop_frame_height);
  defprim("launch-application", p_launch_application);
  // The colour and font dialogs open on the desktop of the title playing.
  graphics::set_dialog_desktop_source([]() -> desktop::Desktop* {
    TitleShell* s = TitleShell::current();
    return s ? &s->desktop() : nullptr;
  });
}

}  // namespace orvane::shell
