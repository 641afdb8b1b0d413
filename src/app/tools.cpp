#include "app/tools.h"

#include "app/build_title.h"
#include "app/db_tool.h"
#include "app/pict2png.h"
#include "app/rsrc_tool.h"

namespace orvane::app {

namespace {

struct Tool {
  const char* name;
  const char* summary;
  int (*main)(int argc, char** argv);
};

constexpr Tool kTools[] = {
    {"rsrc", "inspect and edit resource files", rsrc_main},
    {"db", "inspect record databases", db_main},
    {"pict2png", "draw a picture into a PNG file", pict2png_main},
    {"build-title", "pack a title folder into NAME.RI", build_title_main},
    {"info", "summarise a title (NAME.RI or a folder)", info_main},
};

}  // namespace

int run_tool(const std::string& name, int argc, char** argv) {
  for (const Tool& tool : kTools)
    if (tool.main && name == tool.name) return tool.main(argc, argv);
  return -1;
}

std::string tools_help() {
  std::string text;
  for (const Tool& tool : kTools) {
    if (!tool.main) continue;
    text += "  orvane ";
    text += tool.name;
    text += std::string(13 - std::string(tool.name).size(), ' ');
    text += tool.summary;
    text += "\n";
  }
  return text.empty() ? text : "Tools (each has --help):\n" + text;
}

}  // namespace orvane::app
