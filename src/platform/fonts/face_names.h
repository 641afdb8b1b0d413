// Family names: the faces titles name and the installed faces that serve
// them, and the list of installed families.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orvane::fonts {

// The family a face name is served by: the metric-compatible Liberation
// face for the Windows faces titles name (Arial, MS Sans Serif, System,
// Helvetica -> Liberation Sans; Times New Roman, Roman, Times -> Liberation
// Serif; Courier New, Courier -> Liberation Mono; the symbol face Wingdings
// -> DejaVu Sans through a code-point table), the name itself otherwise.
// Names compare without regard to case.
std::string substitute_family(std::string_view family);

// The family that stands in when a requested one is not installed.
inline constexpr std::string_view kFallbackFamily = "Liberation Sans";

// The families of the installed scalable faces, Windows-1252, each once,
// sorted by byte value; the names served by a substitute are included when
// the substitute is installed.
std::vector<std::string> installed_families();

// Whether a family (or its substitute) is installed.
bool family_installed(std::string_view family);

}  // namespace orvane::fonts
