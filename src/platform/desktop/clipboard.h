// The clipboard: data in typed formats, as Win32 keeps it. Formats are the
// standard numbers (CF_TEXT ...) and names registered at run time
// (RegisterClipboardFormat: the same name, without regard to case, always
// gives the same number, from 0xC000). Text (CF_TEXT, Windows-1252 ending in
// a zero byte) crosses to the host's clipboard through the screen; text
// another program put there reads as CF_TEXT and replaces whatever the
// clipboard held.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/desktop/handle.h"
#include "platform/screen.h"

namespace orvane::desktop {

class Clipboard {
 public:
  explicit Clipboard(platform::Screen& screen) : screen_(screen) {}

  // 0 for an empty name or when every number is taken.
  std::uint32_t register_format(std::string_view name);
  // The registered name of a number; nothing for standard or unknown ones.
  std::optional<std::string> format_name(std::uint32_t format) const;

  // OpenClipboard / CloseClipboard: data is read and written only while open.
  bool open(Hwnd owner);
  bool close();
  bool is_open() const { return open_; }
  // EmptyClipboard: drops every format; the opener becomes the owner.
  bool empty();
  Hwnd owner() const { return owner_; }

  // SetClipboardData: replaces that format's data (the clipboard must be open).
  bool set_data(std::uint32_t format, std::vector<std::uint8_t> data);
  bool set_text(std::string_view text);
  // GetClipboardData (the clipboard must be open).
  std::optional<std::vector<std::uint8_t>> data(std::uint32_t format);
  std::optional<std::string> text();

  bool is_format_available(std::uint32_t format);
  // The formats held, in the order they were set.
  std::vector<std::uint32_t> formats();

 private:
  // Takes in text another program left on the host's clipboard.
  void sync_from_host();

  platform::Screen& screen_;
  std::map<std::uint32_t, std::string> registered_;  // number -> name
  std::vector<std::pair<std::uint32_t, std::vector<std::uint8_t>>> contents_;
  std::string last_host_text_;
  bool open_ = false;
  Hwnd opener_;
  Hwnd owner_;
};

}  // namespace orvane::desktop
