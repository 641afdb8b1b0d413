// The `orvane` command line.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
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

int play_title(const std::string& path) {
  std::fprintf(stderr, "orvane: cannot play %s: playing titles is not available in this build yet\n",
               path.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace orvane;
  if (argc == 1) {
    std::string title = title_beside_executable(argv[0]);
    if (!title.empty()) return play_title(title);
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
  std::string play_path;
  play->add_option("title", play_path, "The title's resource file (NAME.RI)")->required();

  auto* run = cli.add_subcommand("run", "Evaluate Lisp files datum by datum");
  std::vector<std::string> inputs, expressions;
  run->add_option("-e,--eval", expressions, "Evaluate an expression (after the files)");
  run->add_option("files", inputs, "Lisp files; - reads standard input");

  auto* repl = cli.add_subcommand("repl", "Read, evaluate and print Lisp interactively");

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
  if (*play) return play_title(play_path);
  if (!title.empty()) return play_title(title);
  std::fputs(cli.help().c_str(), stdout);
  return 0;
}
