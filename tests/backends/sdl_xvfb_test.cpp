#include <gtest/gtest.h>

#include <memory>

#include "../platform/platform_support.h"
#include "app/commands.h"
#include "platform/backends/headless_screen.h"
#include "platform/backends/sdl_screen.h"
#include "platform/raster/png_io.h"
#include "support/xvfb_server.h"
#include "toy_scene.h"

namespace orvane::platform::backends {
namespace {

using orvane::testing::TempTree;
using orvane::testing::ToyScene;
using orvane::testing::XvfbServer;

constexpr raster::IntSize kSize{160, 120};

constexpr const char* kScript =
    "move 20 20\n"
    "click 20 20\n"
    "frame one.png\n"
    "drag 30 40 120 90 12\n"
    "click 140 10 right\n"
    "frame two.png\n"
    "key shift+h\n"
    "key i\n"
    "type \xC3\xA9!\n"
    "key keypad-enter\n"
    "key enter\n"
    "key ctrl+right\n"
    "frame three.png\n"
    "double-click 80 60\n"
    "frame four.png\n";

// One Xvfb for the whole suite: starting it is the slow part.
class SdlUnderXvfb : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!XvfbServer::installed()) return;
    server_ = std::make_unique<XvfbServer>();
  }
  static void TearDownTestSuite() { server_.reset(); }

  void SetUp() override {
    if (!XvfbServer::installed()) GTEST_SKIP() << "Xvfb is not installed (Debian package xvfb): SDL2 tests skipped";
    ASSERT_TRUE(server_ && server_->ready()) << "Xvfb did not start";
  }

  static std::unique_ptr<XvfbServer> server_;
};

std::unique_ptr<XvfbServer> SdlUnderXvfb::server_;

EventScript script() {
  ScriptParse parsed = parse_event_script(kScript, "scene.txt");
  EXPECT_TRUE(parsed.ok());
  return parsed.script;
}

// The frames of the headless run, by file name.
std::vector<raster::Surface> headless_frames(const TempTree& frames) {
  HeadlessClock clock;
  HeadlessScreen screen(clock, script(), HeadlessOptions{kSize, frames.root(), {}});
  ToyScene scene(kSize);
  EXPECT_EQ(scene.run(screen), "end");
  std::vector<raster::Surface> out;
  for (const char* name : {"one.png", "two.png", "three.png", "four.png"}) {
    auto png = raster::read_png(frames.path(name));
    EXPECT_TRUE(png) << name;
    if (png) out.push_back(std::move(*png));
  }
  return out;
}

// The same script fed to a real window as SDL events; at each frame the
// window's pixels are read back from the renderer.
std::vector<raster::Surface> sdl_frames(SdlScreen& screen, ToyScene& scene) {
  std::vector<raster::Surface> out;
  auto pump = [&] {
    while (auto e = screen.poll_input()) scene.handle(*e);
    scene.present(screen);
  };
  pump();
  for (const ScriptStep& step : script().steps) {
    if (step.kind == ScriptStep::Kind::input) {
      screen.inject(step.event);
      continue;
    }
    pump();
    auto shown = screen.read_back();
    EXPECT_TRUE(shown) << step.frame_file;
    if (shown) out.push_back(std::move(*shown));
  }
  return out;
}

}  // namespace

int differing_pixels(const raster::Surface& a, const raster::Surface& b) {
  if (a.width() != b.width() || a.height() != b.height()) return -1;
  int count = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) count += (a.pixel(x, y) & 0xFFFFFF) != (b.pixel(x, y) & 0xFFFFFF);
  return count;
}

namespace {

void expect_same_frames(int scale) {
  TempTree frames;
  std::vector<raster::Surface> expected = headless_frames(frames);
  SdlOptions options;
  options.size = kSize;
  options.scale = scale;
  options.title = "Sc\xE8ne";
  SdlScreen screen(options);
  EXPECT_EQ(screen.size(), kSize);
  ToyScene scene(kSize);
  std::vector<raster::Surface> shown = sdl_frames(screen, scene);
  ASSERT_EQ(shown.size(), expected.size());
  for (std::size_t i = 0; i < shown.size(); ++i)
    EXPECT_EQ(differing_pixels(shown[i], expected[i]), 0) << "frame " << i << " at scale " << scale
                                                          << " (renderer " << screen.renderer_name() << ")";
}

TEST_F(SdlUnderXvfb, FramesMatchTheHeadlessRunOfTheSameScript) { expect_same_frames(1); }

TEST_F(SdlUnderXvfb, AtScaleTwoTheMouseIsInFramebufferPixelsAndFramesStillMatch) { expect_same_frames(2); }

TEST_F(SdlUnderXvfb, KeysArriveWithTheirVirtualKeysExtendedBitsAndText) {
  SdlOptions options;
  options.size = kSize;
  SdlScreen screen(options);
  ToyScene scene(kSize);
  sdl_frames(screen, scene);
  std::vector<InputEvent> keys;
  std::string text;
  for (const InputEvent& e : scene.seen()) {
    if (e.kind == InputEvent::Kind::key_down) keys.push_back(e);
    if (e.kind == InputEvent::Kind::text) text += e.text;
  }
  EXPECT_EQ(text, "Hi\xE9!");
  // shift, h, i, keypad enter, enter, ctrl, right
  ASSERT_EQ(keys.size(), 7u);
  EXPECT_EQ(keys[0].virtual_key, 0x10);
  EXPECT_TRUE(keys[1].modifiers.shift);
  EXPECT_EQ(keys[1].virtual_key, 'H');
  EXPECT_EQ(keys[3].virtual_key, 0x0D);
  EXPECT_TRUE(keys[3].extended);
  EXPECT_FALSE(keys[4].extended);
  EXPECT_EQ(keys[6].virtual_key, 0x27);
  EXPECT_TRUE(keys[6].extended);
  EXPECT_TRUE(keys[6].modifiers.control);
}

TEST_F(SdlUnderXvfb, TheRecordingOfASessionReplaysHeadlessToTheSameFrames) {
  TempTree files;
  std::string recording = files.path("recorded.txt");
  SdlOptions options;
  options.size = kSize;
  options.record_path = recording;
  std::vector<raster::Surface> shown;
  {
    SdlScreen screen(options);
    ToyScene scene(kSize);
    shown = sdl_frames(screen, scene);
  }
  ScriptParse replay = load_event_script(recording);
  ASSERT_TRUE(replay.ok()) << replay.errors.front();
  HeadlessClock clock;
  HeadlessScreen headless(clock, replay.script, HeadlessOptions{kSize, files.root(), {}});
  ToyScene scene(kSize);
  EXPECT_EQ(scene.run(headless), "end");
  // The session ended on its last frame: the replay ends on the same pixels.
  EXPECT_EQ(differing_pixels(scene.framebuffer(), shown.back()), 0);
}

TEST_F(SdlUnderXvfb, AFramebufferOfAnotherSizeIsShownWhole) {
  SdlOptions options;
  options.size = kSize;
  SdlScreen screen(options);
  EXPECT_FALSE(screen.read_back()) << "nothing was presented yet";
  // Until the window catches up with a new size, the desktop's framebuffer
  // is shown whole, centred; only the rectangle it says is dirty changed,
  // but a new texture takes it all.
  raster::Surface framebuffer(120, 90, raster::PixelFormat::rgb32);
  for (int y = 0; y < 90; ++y)
    for (int x = 0; x < 120; ++x) framebuffer.set_pixel(x, y, static_cast<std::uint32_t>(x * 1000 + y));
  raster::IntRect small{0, 0, 1, 1};
  screen.present(framebuffer, std::span<const raster::IntRect>(&small, 1));
  auto shown = screen.read_back();
  ASSERT_TRUE(shown);
  EXPECT_EQ(differing_pixels(*shown, framebuffer), 0);
  // Dirty rectangles reaching past the framebuffer are cut to it.
  framebuffer.set_pixel(119, 89, 0x123456);
  raster::IntRect past{100, 50, 400, 300};
  screen.present(framebuffer, std::span<const raster::IntRect>(&past, 1));
  shown = screen.read_back();
  ASSERT_TRUE(shown);
  EXPECT_EQ(shown->pixel(119, 89), 0x123456u);
}

TEST_F(SdlUnderXvfb, ClipboardTextCrossesAsWindows1252WithCarriageReturns) {
  SdlOptions options;
  options.size = kSize;
  SdlScreen screen(options);
  screen.set_clipboard_text("caf\xE9\rsecond \x80");
  EXPECT_EQ(screen.clipboard_text(), "caf\xE9\rsecond \x80");
}

TEST(SdlScreenWithoutDisplay, SaysNoDisplayCanBeOpened) {
  orvane::testing::ScopedEnv display("DISPLAY", ":31999");
  orvane::testing::ScopedEnv wayland("WAYLAND_DISPLAY", std::nullopt);
  orvane::testing::ScopedEnv driver("SDL_VIDEODRIVER", "x11");
  SdlOptions options;
  options.size = kSize;
  try {
    SdlScreen screen(options);
    FAIL() << "a window opened without a display";
  } catch (const DisplayUnavailable& e) {
    EXPECT_NE(std::string(e.what()).find("display"), std::string::npos) << e.what();
  }
}

TEST(SdlScreenWithoutDisplay, NeverFallsBackToAnInvisibleWindow) {
  orvane::testing::ScopedEnv display("DISPLAY", std::nullopt);
  orvane::testing::ScopedEnv wayland("WAYLAND_DISPLAY", std::nullopt);
  orvane::testing::ScopedEnv driver("SDL_VIDEODRIVER", std::nullopt);
  SdlOptions options;
  options.size = kSize;
  EXPECT_THROW(SdlScreen screen(options), DisplayUnavailable);
}

}  // namespace
}  // namespace orvane::platform::backends

namespace orvane::app {
namespace {

// The desktop demo's script played through a real window under Xvfb: the
// window's pixels at each frame are the headless golden frames.
TEST(DesktopDemoUnderXvfb, ShowsTheGoldenFramesOfTheHeadlessRun) {
  if (!orvane::testing::XvfbServer::installed()) GTEST_SKIP() << "Xvfb is not installed (Debian package xvfb)";
  orvane::testing::XvfbServer server;
  ASSERT_TRUE(server.ready()) << "Xvfb did not start";
  namespace fs = std::filesystem;
  const fs::path demo = fs::path(ORVANE_TESTS_DIR) / "backends" / "demo";
  orvane::testing::TempTree frames;
  DesktopDemoOptions options;
  options.events = (demo / "desktop_demo.events").string();
  options.frames = frames.root();
  options.screen = {640, 480};
  ASSERT_EQ(desktop_demo_command(options), 0);
  int compared = 0;
  for (const auto& entry : fs::directory_iterator(demo / "golden")) {
    SCOPED_TRACE(entry.path().filename().string());
    auto golden = raster::read_png(entry.path().string());
    auto shown = raster::read_png(frames.path(entry.path().filename().string()));
    ASSERT_TRUE(golden && shown);
    EXPECT_EQ(platform::backends::differing_pixels(*shown, *golden), 0);
    ++compared;
  }
  EXPECT_EQ(compared, 10);
}

}  // namespace
}  // namespace orvane::app
