// The `orvane` command line.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <CLI/CLI.hpp>

#include "app/commands.h"
#include "app/tools.h"
#include "core/memory_config.h"

namespace {

constexpr const char* kDescription =
    "Orvane plays the titles of a Lisp-based multimedia authoring system and\n"
    "offers the tools their keepers and authors need.";

// A copy of the binary renamed NAME plays NAME.RI beside it.
std::string title_beside_executable(const char* argv0) {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::path self = fs::read_symlink("/proc/self/exe", ec);
  if (ec) self = argv0;
  std::string stem = self.stem().string();
  if (stem == "orvane") return {};
  fs::path title = self.parent_path() / (stem + ".RI");
  return fs::exists(title) ? title.string() : std::string();
}

// "WxH" with each side in 64..8192.
std::optional<orvane::raster::IntSize> parse_screen_size(const std::string& text) {
  int width = 0, height = 0;
  char tail = 0;
  if (std::sscanf(text.c_str(), "%dx%d%c", &width, &height, &tail) != 2) return std::nullopt;
  if (width < 64 || width > 8192 || height < 64 || height > 8192) return std::nullopt;
  return orvane::raster::IntSize{width, height};
}


}  // namespace

int main(int argc, char** argv) {
  using namespace orvane;
  // A renamed copy plays the title beside it; options of `play` may follow
  // (`NAME --headless`).
  std::vector<std::string> beside_arguments;
  std::vector<char*> beside_argv;
  if (argc == 1 || (argc > 1 && std::string_view(argv[1]).starts_with("--"))) {
    std::string title = title_beside_executable(argv[0]);
    if (!title.empty()) {
      beside_arguments.assign({argv[0], "play"});
      for (int i = 1; i < argc; ++i) beside_arguments.emplace_back(argv[i]);
      beside_arguments.push_back(title);
      for (std::string& argument : beside_arguments) beside_argv.push_back(argument.data());
      beside_argv.push_back(nullptr);
      argc = static_cast<int>(beside_arguments.size());
      argv = beside_argv.data();
    }
  }
  // Tools with their own command lines take everything after their name.
  if (argc >= 2) {
    if (int status = app::run_tool(argv[1], argc - 1, argv + 1); status >= 0) return status;
  }

  CLI::App cli(kDescription, "orvane");
  cli.require_subcommand(0, 1);
  MemoryOverrides overrides;
  cli.add_option("--symbols", overrides.symbols, "Entries of the symbol table")->check(CLI::Range(1024u, 65536u));
  cli.add_option("--nodes", overrides.nodes, "Initial number of nodes")->check(CLI::Range(5000u, 2097151u));
  cli.add_option("--heap", overrides.heap, "Minimum size of the indirect area in bytes")
      ->check(CLI::Range(65536u, 1u << 30));

  std::string title;
  cli.add_option("title", title, "A title (NAME.RI) to play");

  auto* play = cli.add_subcommand("play", "Play a title");
  play->fallthrough();
  app::PlayOptions play_options;
  std::string play_screen;
  play->add_option("title", play_options.title, "The title's resource file (NAME.RI), or a title folder")->required();
  play->add_flag("--headless", play_options.headless, "No window: input from --events, frames to --frames");
  play->add_option("--events", play_options.events, "The event script to play")->check(CLI::ExistingFile);
  play->add_option("--frames", play_options.frames, "The directory of the script's frames and of screenshots");
  play->add_option("--screen", play_screen, "The screen's size, WxH (default: the display's, or 1024x768)");
  play->add_option("--scale", play_options.scale, "With a window: every pixel shown N x N")->check(CLI::Range(1, 8));
  play->add_flag("--fullscreen", play_options.fullscreen, "With a window: fill the display");
  play->add_option("--record", play_options.record, "With a window: write what you do as an event script");

  auto* run = cli.add_subcommand("run", "Evaluate Lisp files datum by datum");
  run->fallthrough();
  std::vector<std::string> inputs, expressions;
  run->add_option("-e,--eval", expressions, "Evaluate an expression (after the files)");
  run->add_option("files", inputs, "Lisp files; - reads standard input");

  auto* repl = cli.add_subcommand("repl", "Read, evaluate and print Lisp interactively");
  repl->fallthrough();

  auto* demo = cli.add_subcommand("desktop-demo", "Show the desktop: a frame, menus, three windows and an alert");
  app::DesktopDemoOptions demo_options;
  std::string demo_screen = "1024x768";
  demo->add_flag("--headless", demo_options.headless, "No window: input from --events, frames to --frames");
  demo->add_option("--events", demo_options.events,
                   "The event script to play (with a window: in real time, the user's input ignored)")
      ->check(CLI::ExistingFile);
  demo->add_option("--frames", demo_options.frames,
                   "The directory of the script's frames and of screenshots");
  demo->add_option("--screen", demo_screen, "The framebuffer's size, WxH (default 1024x768)");
  demo->add_option("--scale", demo_options.scale, "With a window: every pixel shown N x N")
      ->check(CLI::Range(1, 8));
  demo->add_option("--record", demo_options.record, "With a window: write what you do as an event script");

  cli.footer(app::tools_help());
  try {
    cli.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    int status = cli.exit(e);
    return status == 0 ? 0 : 2;
  }

  MemoryConfig config = apply_overrides(MemoryConfig{}, overrides);
  try {
    if (*run) {
      if (inputs.empty() && expressions.empty()) {
        std::fprintf(stderr, "orvane run: nothing to run (give files, - or -e EXPR)\n");
        return 2;
      }
      return app::run_command(config, inputs, expressions);
    }
    if (*repl) return app::repl_command(config);
  } catch (const std::exception& e) {
    // The start-up memory alert and other failures to build the world.
    std::fprintf(stderr, "orvane: %s\n", e.what());
    return 1;
  }
  if (*demo) {
    auto size = parse_screen_size(demo_screen);
    if (!size) {
      std::fprintf(stderr, "orvane desktop-demo: --screen wants WIDTHxHEIGHT (each 64 to 8192), not '%s'\n",
                   demo_screen.c_str());
      return 2;
    }
    demo_options.screen = *size;
    return app::desktop_demo_command(demo_options);
  }
  if (*play || !title.empty()) {
    if (!*play) play_options.title = title;
    if (!play_screen.empty()) {
      play_options.screen = parse_screen_size(play_screen);
      if (!play_options.screen) {
        std::fprintf(stderr, "orvane play: --screen wants WIDTHxHEIGHT (each 64 to 8192), not '%s'\n",
                     play_screen.c_str());
        return 2;
      }
    }
    return app::play_command(overrides, play_options);
  }
  std::fputs(cli.help().c_str(), stdout);
  return 0;
}
