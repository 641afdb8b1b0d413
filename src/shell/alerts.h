// The run-time's own alerts (5000-5900, plus the language): their texts in
// English, French and Spanish, the four parameters ^0..^3 written into them,
// and the one presenter that shows them (a modal dialog of the desktop, or
// a line of standard error when no one can answer).
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane::shell {

inline constexpr int kAlertNoMemory = 5000;
inline constexpr int kAlertProtectedMode = 5100;
inline constexpr int kAlertFileMissing = 5200;
inline constexpr int kAlertBadFileType = 5300;
inline constexpr int kAlertMovieLibraryMissing = 5400;
inline constexpr int kAlertInternalError = 5500;
inline constexpr int kAlertOutOfMemory = 5600;
inline constexpr int kAlertLoadFailed = 5700;
inline constexpr int kAlertMovieLibraryOld = 5900;

struct AlertTemplate {
  int id = 0;
  std::string caption;                  // empty: none
  std::string text;                     // Windows-1252, line feeds break lines
  std::vector<std::pair<int, std::string>> buttons;  // id and label, left to right
};

// The template of an alert id (base + language); none when that language
// has no such alert (5402, 5902), which shows nothing.
std::optional<AlertTemplate> alert_template(int id);

// The four parameter strings; each keeps at most 255 characters.
class AlertParameters {
 public:
  void set(int index, std::string_view text);
  const std::string& get(int index) const { return values_.at(static_cast<std::size_t>(index)); }
  void clear() { values_ = {}; }
  // Every ^0..^3 of the text replaced, as long as the result stays below
  // 1026 characters (a replacement that would pass it is left out).
  std::string expand(std::string_view text) const;

 private:
  std::array<std::string, 4> values_;
};

// Shows a template (parameters expanded); answers the id of the button.
using AlertPresenter = std::function<int(const AlertTemplate&)>;

// Headless: "alert ID: TEXT" on standard error, answered with the first button.
int write_alert_to_errors(const AlertTemplate& alert);

}  // namespace orvane::shell
