// `orvane play --headless` on titles the tests write: the start-up order,
// the global symbols, the splash on the virtual clock, the alerts in three
// languages, quitting, and bad resources that must never crash the player.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "app/commands.h"
#include "platform/raster/png_io.h"
#include "play/title_writer.h"
#include "shell/scratch_files.h"
#include "storage/storage_support.h"
#include "support/xvfb_server.h"

namespace orvane::testing {
namespace {

namespace fs = std::filesystem;

class PlayTest : public ::testing::Test {
 protected:
  std::string title_path() const { return dir.file("TITLE.RI"); }
  RunResult play(const TitleWriter& title, const std::string& arguments = "") {
    EXPECT_TRUE(title.write(title_path()));
    return play_path(title_path(), arguments);
  }
  RunResult play_path(const std::string& path, const std::string& arguments = "") {
    return run_command_line(std::string(ORVANE_BINARY) + " play --headless " + arguments + " " + path, dir.path());
  }
  std::string script(const std::string& text) {
    std::string path = dir.file("events.txt");
    std::ofstream(path) << text;
    return path;
  }
  TempDir dir;
};

// A Load resource that defines the hooks; each prints its name.
constexpr const char* kHooks =
    "(define (init-orvane) (prin \"init-orvane \"))\n"
    "(define (init-user) (prin \"init-user \"))\n"
    "(define (toplevel-loop) (prin \"toplevel-loop\") (quit))\n";

TEST_F(PlayTest, HooksAndLoadsRunInOrderAndAMissingLoadEndsTheLoop) {
  TitleWriter title;
  title.load(0, std::string(kHooks) + "(prin \"load-0 \")")
      .load(1,
            "(define obj-appl (new-class 'obj-appl))\n"
            "(obj-appl (define (start-appl) (prin \"start-appl \")))\n"
            "(define (init-user) (prin \"init-user \") (set! Appl (make-instance obj-appl)))\n"
            "(prin \"load-1 \")")
      .load(3, "(prin \"load-3 \")");
  RunResult r = play(title);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "load-0 load-1 init-orvane init-user start-appl toplevel-loop");
  EXPECT_EQ(r.err, "");
}

TEST_F(PlayTest, TheGlobalSymbolsAreSetBeforeAnyCodeRuns) {
  TitleWriter title;
  title.load(0,
             "(prin (list Machine Development-Stage Environment Compare-Vector Appl InQuit? (get-menubar?) "
             "(bound? 'select) Load-File))\n"
             "(define (init-user) (prin Load-File))\n"
             "(define (toplevel-loop) (prin (list (desktop-frame-width) (desktop-frame-height) "
             "(screen-width) (screen-height))) (do-quit))")
      .load(1, "(prin Load-File)");
  RunResult r = play(title);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "(ibm release standalone () () () () () 0)1()(640 480 1024 768)")
      << "the MDI client has the title's size; the screen is the virtual display";
}

TEST_F(PlayTest, TheTerminalIsStandardOutputAndErrorsGoToStandardError) {
  TitleWriter title;
  title.load(0,
             "(car 5)\n(prin \"after\")\n(terpri-is-not-defined)\n"
             "(define (toplevel-loop) (prin \"line\") (new-line) (quit))");
  RunResult r = play(title);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "afterline\n");
  EXPECT_NE(r.err.find("Error: 2, 5"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("Error: 6, terpri-is-not-defined"), std::string::npos) << r.err;
}

TEST_F(PlayTest, AReaderErrorInALoadIsReportedAndTheBootGoesOn) {
  TitleWriter title;
  title.load(0, std::string(kHooks) + "(prin \"a \")\n#<bad>\n(prin \"b \")")
      .load(1, "(prin \"load-1 \")")
      .load(2, "(prin \"cut short")
      .load(3, "(prin \"load-3 \")");
  RunResult r = play(title);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "a b load-1 load-3 init-orvane init-user toplevel-loop");
  EXPECT_FALSE(r.err.empty());
}

TEST_F(PlayTest, ATitleThatCannotBeOpenedShowsAlert5200) {
  RunResult r = play_path(dir.file("MISSING.RI"));
  EXPECT_NE(r.status, 0);
  EXPECT_NE(r.err.find("alert 5200: The file " + dir.file("MISSING.RI") + " was not found!"), std::string::npos)
      << r.err;
  std::ofstream(dir.file("JUNK.RI")) << "not a resource file";
  r = play_path(dir.file("JUNK.RI"));
  EXPECT_NE(r.status, 0);
  EXPECT_NE(r.err.find("alert 5200"), std::string::npos) << r.err;
}

// "PREF" 257: two unread bytes, the flags, the language, the client size.
std::string preferences(int flags, int language, int width = 640, int height = 480) {
  return be16(0) + std::string{static_cast<char>(flags), static_cast<char>(language)} + be16(width) + be16(height);
}

TEST_F(PlayTest, ASizeTooSmallShowsAlert5000InTheTitlesLanguage) {
  struct Case {
    int language;
    std::string start;
    std::string end;
  };
  const Case cases[] = {
      {0, "alert 5000: There is not enougth RAM memory : ", " K"},
      {1, "alert 5001: Il n'y a pas assez de m\xC3\xA9moire RAM : ", " K"},
      {2, "alert 5002: La memoria viva para la aplicaci\xC3\xB3n es insuficiente: se necesitan ", " K m\xC3\xA1s."},
  };
  for (const Case& c : cases) {
    TitleWriter title;
    title.add("PREF", 257, preferences(0, c.language)).add("SIZE", -1, be16(0) + be32(1u << 20)).load(0, kHooks);
    RunResult r = play(title);
    EXPECT_NE(r.status, 0);
    EXPECT_EQ(r.out, "") << "nothing of the title runs";
    std::size_t at = r.err.find(c.start);
    ASSERT_NE(at, std::string::npos) << r.err;
    // ^0 is a number of kilobytes.
    std::size_t digits = at + c.start.size();
    EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(r.err[digits]))) << r.err;
    EXPECT_NE(r.err.find(c.end, digits), std::string::npos) << r.err;
  }
}

TEST_F(PlayTest, TheMenuBarFlagGivesTheFrameAnEmptyMenuBar) {
  TitleWriter title;
  title.add("PREF", 257, preferences(0x01, 0))
      .add("PREF", 258, "\x05Hello")
      .load(0, "(define (toplevel-loop) (prin (list (get-menubar?) (desktop-frame-width) (desktop-frame-height))) (quit))");
  RunResult r = play(title);
  EXPECT_EQ(r.status, 0) << r.err;
  int width = 0, height = 0;
  ASSERT_EQ(std::sscanf(r.out.c_str(), "(() %d %d)", &width, &height), 2) << r.out;
  EXPECT_EQ(width, 640);
  EXPECT_EQ(height, 480) << "the menu bar sits above the client area the title asked for";
}

TEST_F(PlayTest, TheScreenIsTheVirtualDisplayAndTheFrameTheTitlesSize) {
  const char* report =
      "(define (toplevel-loop) (prin (list (desktop-frame-width) (desktop-frame-height) (screen-width) "
      "(screen-height))) (quit))";
  TitleWriter title;
  title.add("PREF", 257, preferences(0, 0, 320, 200)).load(0, report);
  RunResult r = play(title);
  EXPECT_EQ(r.out, "(320 200 1024 768)") << r.err;
  r = play_path(title_path(), "--screen 800x600");
  EXPECT_EQ(r.out, "(320 200 800 600)") << "--screen sizes the display, not the frame; " << r.err;
  r = play_path(title_path(), "--screen 320x600");
  EXPECT_EQ(r.out, "(320 600 320 600)") << "a width equal to the display's does not fit: maximised; " << r.err;

  TitleWriter maximised;
  maximised.add("PREF", 257, preferences(0x80, 0, 320, 200)).load(0, report);
  r = play(maximised, "--screen 800x600");
  EXPECT_EQ(r.out, "(800 600 800 600)") << r.err;

  TitleWriter huge;
  huge.add("PREF", 257, preferences(0, 0, 0xFFFF, 0xFFFF)).load(0, report);
  r = play(huge);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "(1024 768 1024 768)") << "a frame larger than the display fills it";
}

TEST_F(PlayTest, TheColourDialogIsDrivenByTheScriptAndCancelledAtItsEnd) {
  TitleWriter title;
  title.load(0,
             "(define (toplevel-loop)\n"
             "  (prin (orvane-choose-color 0 0 '(0 0 65535)))\n"
             "  (prin (orvane-choose-color 0 0 '(1 2 3)))\n"
             "  (prin (orvane-choose-color 0 0 ()))\n"
             "  (quit))");
  // The red field has the focus: "0" becomes "18"; green "0" becomes "052".
  std::string events = script(
      "wait 100\nkey backspace\ntype 18\nkey tab\ntype 52\nkey enter\n"
      "wait 100\nkey escape\nwait 100\n");
  RunResult r = play(title, "--events " + events);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "(4608 13312 65280)(1 2 3)(0 0 0)")
      << "a choice comes back shifted left by 8; cancelled, or with no input left, the initial colour";
}

TEST_F(PlayTest, TheFontDialogUpdatesTheBlockOnlyWhenConfirmed) {
  TitleWriter title;
  title.load(0,
             "(define Font (new-ptr 60))\n"
             "(mset 4 -16 Font 0)\n(mset 4 400 Font 16)\n(mset 1 65 Font 28)\n(mset 1 114 Font 29)\n"
             "(mset 1 105 Font 30)\n(mset 1 97 Font 31)\n(mset 1 108 Font 32)\n"
             "(define (show) (list (mref 4 Font 0) (mref 4 Font 16) (mref 1 Font 20) (mref 1 Font 28)))\n"
             "(define (toplevel-loop)\n"
             "  (prin (list (choose-font Font) (show)))\n"
             "  (prin (list (choose-font Font) (show)))\n"
             "  (quit))");
  std::string events = script("wait 100\nkey alt+b\nkey alt+i\nkey enter\nwait 100\nkey alt+i\nkey escape\nwait 100\n");
  RunResult r = play(title, "--events " + events);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "(t (-16 700 1 65))(() (-16 700 1 65))") << "bold and italic chosen; then cancelled: the block unchanged";
}

TEST_F(PlayTest, TheShellsPrimitives) {
  TitleWriter title;
  title.load(0,
             "(define (toplevel-loop)\n"
             "  (prin (list (debugger 5) (debug 'x) (launch-application \"/bin/true\" ())\n"
             "              (launch-application \"/nonexistent/program\" ())\n"
             "              (launch-application \"touch launched.txt\" ())))\n"
             "  (get-appl-creator)\n"
             "  (prin \"not reached\"))\n"
             "(define (init-user) (prin (boot-time)))");
  RunResult r = play(title);
  EXPECT_EQ(r.status, 1) << "toplevel-loop returned";
  EXPECT_EQ(r.out, "0(5 x 0 -1 0)");
  EXPECT_NE(r.err.find("Error: 47, ()"), std::string::npos) << r.err;
  for (int i = 0; i < 100 && !fs::exists(dir.file("launched.txt")); ++i) ::usleep(20000);
  EXPECT_TRUE(fs::exists(dir.file("launched.txt"))) << "the program ran in the current directory";
}

TEST_F(PlayTest, LaunchingWithQuitEndsTheRun) {
  TitleWriter title;
  title.add("PREF", 257, preferences(0, 1))
      .load(0, "(define (toplevel-loop) (set-language 2) (launch-application \"/bin/true\" t) (prin \"not reached\"))");
  RunResult r = play(title);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "");
}

TEST_F(PlayTest, BadResourcesChangeOnlyTheDefaults) {
  const std::pair<std::string, std::string> bad[] = {
      {"PREF", "\x01"},                 // 257 truncated
      {"SYMB", "\x7F\xFF" "abc"},       // more names counted than present
      {"wait", "\x01"},                 // a tick count cut short
      {"PICT", "\x00\x10\x00"},         // a picture header cut short
  };
  for (const auto& [type, bytes] : bad) {
    TitleWriter title;
    std::int16_t id = type == "PREF" ? 257 : type == "SYMB" ? 0 : 501;
    title.add(type, id, bytes).load(0, kHooks);
    if (type == "wait") title.add("PICT", 501, std::string(20, '\0')).add("PICT", 502, std::string(20, '\0'));
    RunResult r = play(title);
    EXPECT_EQ(r.status, 0) << type << ": " << r.err;
    EXPECT_EQ(r.out, "init-orvane init-user toplevel-loop") << type;
  }
  TitleWriter empty;
  RunResult r = play(empty);
  EXPECT_NE(r.status, 0) << "no toplevel-loop: the run does not succeed";
  EXPECT_NE(r.err.find("toplevel-loop"), std::string::npos) << r.err;
}

TEST_F(PlayTest, TheCompactSymbolTableServesTheBootOnly) {
  // "SYMB" 0 names entry 8; bytes 15 and 0 read it.
  std::string symbols = be16(1) + std::string("Hello") + '\0';
  TitleWriter title;
  title.add("SYMB", 0, symbols)
      .load(0, std::string("(prin '") + std::string("\x0F\0", 2) + ")(prin \" \")\n" + kHooks);
  RunResult r = play(title);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "Hello init-orvane init-user toplevel-loop");
}

// A QuickDraw picture of 40 x 40 pixels painting one black rectangle.
std::string picture(int right) {
  std::string p = be16(0) + be16(0) + be16(0) + be16(40) + be16(40);
  p += std::string("\x11\x01", 2);
  p += '\x31' + be16(0) + be16(0) + be16(40) + be16(right);
  p += '\xFF';
  return p;
}

TEST_F(PlayTest, TheSplashShowsEachPictureForItsTicks) {
  TitleWriter title;
  title.add("PICT", 501, picture(40))
      .add("PICT", 502, picture(20))
      .add("wait", 501, be16(120))
      .load(0,
            "(define (init-user) (wait-boot-time) (wait-key 300) (prin \"splash done\"))\n"
            "(define (toplevel-loop) (quit))");
  // The splash is gone once init-user has returned.
  std::string events = script("wait 1900\nframe early.png\nwait 200\nframe late.png\nwait 1000\n");
  RunResult r = play(title, "--events " + events + " --frames " + dir.path());
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "splash done");
  auto early = raster::read_png(dir.file("early.png"));
  auto late = raster::read_png(dir.file("late.png"));
  ASSERT_TRUE(early && late) << r.err;
  // The splash window is centred in 640 x 480 with a one-pixel border: its
  // client area starts at (300, 220).
  const raster::Color black{0, 0, 0};
  EXPECT_EQ(early->color_at(305, 230), black);
  EXPECT_EQ(early->color_at(330, 230), black) << "picture 501 stays 2 s";
  EXPECT_EQ(late->color_at(305, 230), black);
  EXPECT_NE(late->color_at(330, 230), black) << "then picture 502";
}

TEST_F(PlayTest, QuittingWhileTheSplashIsUpEndsInOrder) {
  TitleWriter title;
  title.add("PICT", 501, picture(40))
      .add("PICT", 502, picture(20))
      .add("wait", 501, be16(600))
      .load(0, "(prin \"booting \")\n(quit)\n(prin \"not reached\")");
  RunResult r = play(title);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "booting ");
}

TEST_F(PlayTest, UnderXvfbTheSdlBackendShowsTheSameSplashAndDialogAsHeadless) {
  if (!XvfbServer::installed()) GTEST_SKIP() << "Xvfb is not installed (Debian package xvfb)";
  TitleWriter title;
  title.add("PICT", 501, picture(40))
      .add("PICT", 502, picture(20))
      .add("wait", 501, be16(30))
      .load(0,
            "(define (init-user) (wait-boot-time) (wait-key 2000))\n"
            "(define (toplevel-loop) (prin (orvane-choose-color 0 0 '(0 0 65535))) (quit))");
  ASSERT_TRUE(title.write(title_path()));
  // After the splash, the colour dialog: the red basic swatch clicked, then OK.
  std::string events = script(
      "wait 300\nframe early.png\nwait 900\nframe late.png\nwait 2500\nframe dialog.png\n"
      "click 137 175\nwait 300\nframe chosen.png\nkey enter\nwait 500\n");
  fs::create_directories(dir.file("headless"));
  fs::create_directories(dir.file("sdl"));
  RunResult headless = play_path(title_path(), "--events " + events + " --frames " + dir.file("headless"));
  EXPECT_EQ(headless.status, 0) << headless.err;
  EXPECT_EQ(headless.out, "(65280 0 0)");
  RunResult sdl;
  {
    XvfbServer server;
    ASSERT_TRUE(server.ready()) << "Xvfb did not start";
    sdl = run_command_line(std::string(ORVANE_BINARY) + " play --events " + events + " --frames " +
                               dir.file("sdl") + " " + title_path(),
                           dir.path());
  }
  EXPECT_EQ(sdl.status, 0) << sdl.err;
  EXPECT_EQ(sdl.out, "(65280 0 0)");
  for (const char* name : {"early.png", "late.png", "dialog.png", "chosen.png"}) {
    auto a = raster::read_png(dir.file("headless") + "/" + name);
    auto b = raster::read_png(dir.file("sdl") + "/" + name);
    ASSERT_TRUE(a && b) << name << sdl.err;
    ASSERT_EQ(a->width(), b->width());
    ASSERT_EQ(a->height(), b->height());
    int differing = 0;
    for (int y = 0; y < a->height(); ++y)
      for (int x = 0; x < a->width(); ++x) differing += a->pixel(x, y) != b->pixel(x, y);
    EXPECT_EQ(differing, 0) << name;
  }
}

TEST_F(PlayTest, TheFramesCloseBoxReachesDoQuit) {
  TitleWriter title;
  title.load(0,
             "(define (toplevel-loop) (prin \"waiting \") (wait-forever))\n"
             "(define (wait-forever) (wait-key 1000) (wait-forever))");
  std::string events = script("wait 100\nclose\nwait 100\n");
  RunResult r = play(title, "--events " + events);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "waiting ");
}

TEST_F(PlayTest, TheCloseBoxAsksTheTitlesDoQuitUnlessItIsQuitting) {
  // A do-quit answering a value lets the frame close, which ends the run.
  TitleWriter title;
  title.load(0,
             "(define (do-quit) (prin \"asked \") ())\n"
             "(define (toplevel-loop) (wait-key 1000) (prin \"late \") (toplevel-loop))");
  std::string events = script("wait 100\nclose\nwait 3000\n");
  RunResult r = play(title, "--events " + events);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "asked ");
  // While InQuit? is set the close is refused; the script's end ends the run.
  TitleWriter quitting;
  quitting.load(0,
                "(define (do-quit) (prin \"asked \") ())\n"
                "(define (toplevel-loop) (set! InQuit? t) (wait-key 1000) (prin \"late \") (wait-for-ever))\n"
                "(define (wait-for-ever) (wait-key 1000) (wait-for-ever))");
  events = script("wait 100\nclose\nwait 1500\n");
  r = play(quitting, "--events " + events);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "late ");
}

TEST_F(PlayTest, QuittingClosesTheTitlesFilesWritingTheirChanges) {
  TitleWriter other;
  other.add("STR ", 128, "\x02hi");
  ASSERT_TRUE(other.write(dir.file("OTHER.RI")));
  ASSERT_NE(slurp(dir.file("OTHER.RI")).find("STR "), std::string::npos);
  TitleWriter title;
  title.load(0, "(define (toplevel-loop) (openresfile \"" + dir.file("OTHER.RI") +
                    "\") (rmveresource (getresource \"STR \" 128)) (prin (reserror)) (quit))");
  RunResult r = play(title);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "0");
  EXPECT_EQ(slurp(dir.file("OTHER.RI")).find("STR "), std::string::npos) << "the removal was written at quit";
}

TEST_F(PlayTest, QuittingDeletesTheStyledTextScratchFile) {
  TitleWriter title;
  title.load(0, "(define (toplevel-loop) (quit))");
  ASSERT_TRUE(title.write(title_path()));
  const std::string scratch = dir.file("Styles.tmp");
  std::ofstream(scratch) << "pictures of the styled texts";
  // The text objects register the file they opened; this run plays in-process.
  shell::register_styled_text_scratch(0, scratch);
  app::PlayOptions options;
  options.title = title_path();
  options.headless = true;
  EXPECT_EQ(app::play_command({}, options), 0);
  EXPECT_FALSE(fs::exists(scratch)) << "the shutdown deletes it";
  EXPECT_TRUE(shell::styled_text_scratch_path().empty());
}

TEST_F(PlayTest, ARenamedBinaryPlaysTheTitleBesideIt) {
  fs::copy_file(ORVANE_BINARY, dir.file("MYTITLE"));
  TitleWriter title;
  title.load(0, "(define (toplevel-loop) (prin \"beside\") (quit))");
  ASSERT_TRUE(title.write(dir.file("MYTITLE.RI")));
  // With no display the SDL2 backend is refused with a hint at --headless;
  // the title was still found (it is the one file named).
  RunResult r = run_command_line("env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=offscreen_none " +
                                     dir.file("MYTITLE"),
                                 dir.path());
  EXPECT_EQ(r.err.find("not found"), std::string::npos) << r.err;
  if (r.status != 0) EXPECT_NE(r.err.find("--headless"), std::string::npos) << r.err;
  else EXPECT_EQ(r.out, "beside");
  // Options of play may follow the renamed binary's name.
  r = run_command_line(dir.file("MYTITLE") + " --headless", dir.path());
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "beside");
  fs::copy_file(ORVANE_BINARY, dir.file("OTHER.EXE"));
  TitleWriter other;
  other.load(0, "(define (toplevel-loop) (prin \"other\") (quit))");
  ASSERT_TRUE(other.write(dir.file("OTHER.RI")));
  r = run_command_line(dir.file("OTHER.EXE") + " --headless", dir.path());
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "other") << "NAME.EXE plays NAME.RI";
}

TEST(RunCommand, MemoryOptionsFollowTheSubCommandAndExhaustionFails) {
  TempDir dir;
  RunResult r = run_command_line(std::string(ORVANE_BINARY) + " run --nodes 200000 -e \"(prin 1)\"", dir.path());
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "1");
  r = run_command_line(std::string(ORVANE_BINARY) +
                           " run --nodes 5000 -e \"(define (grow l) (grow (cons l l))) (grow nil)\"",
                       dir.path());
  EXPECT_EQ(r.status, 1) << r.out << r.err;
}

}  // namespace
}  // namespace orvane::testing
