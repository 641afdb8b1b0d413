#include "platform/desktop/clipboard.h"

#include <algorithm>
#include <strings.h>

#include "platform/desktop/messages.h"

namespace orvane::desktop {

namespace {

bool same_name(std::string_view a, std::string_view b) {
  return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

std::string text_of(const std::vector<std::uint8_t>& data) {
  std::string text(data.begin(), data.end());
  const auto nul = text.find('\0');
  if (nul != std::string::npos) text.resize(nul);
  return text;
}

}  // namespace

std::uint32_t Clipboard::register_format(std::string_view name) {
  if (name.empty()) return 0;
  for (const auto& [number, known] : registered_)
    if (same_name(known, name)) return number;
  const std::uint32_t number = kFirstRegisteredFormat + static_cast<std::uint32_t>(registered_.size());
  if (number > kLastRegisteredFormat) return 0;
  registered_[number] = std::string(name);
  return number;
}

std::optional<std::string> Clipboard::format_name(std::uint32_t format) const {
  auto it = registered_.find(format);
  if (it == registered_.end()) return std::nullopt;
  return it->second;
}

bool Clipboard::open(Hwnd owner) {
  if (open_) return false;
  open_ = true;
  opener_ = owner;
  sync_from_host();
  return true;
}

bool Clipboard::close() {
  if (!open_) return false;
  open_ = false;
  opener_ = {};
  return true;
}

bool Clipboard::empty() {
  if (!open_) return false;
  contents_.clear();
  owner_ = opener_;
  return true;
}

bool Clipboard::set_data(std::uint32_t format, std::vector<std::uint8_t> data) {
  if (!open_ || format == 0) return false;
  if (format >= kFirstRegisteredFormat && !registered_.count(format)) return false;
  if (format == CF_TEXT) {
    last_host_text_ = text_of(data);
    screen_.set_clipboard_text(last_host_text_);
    data.assign(last_host_text_.begin(), last_host_text_.end());
    data.push_back(0);
  }
  auto it = std::find_if(contents_.begin(), contents_.end(), [&](const auto& e) { return e.first == format; });
  if (it != contents_.end())
    it->second = std::move(data);
  else
    contents_.emplace_back(format, std::move(data));
  return true;
}

bool Clipboard::set_text(std::string_view text) {
  std::vector<std::uint8_t> data(text.begin(), text.end());
  data.push_back(0);
  return set_data(CF_TEXT, std::move(data));
}

std::optional<std::vector<std::uint8_t>> Clipboard::data(std::uint32_t format) {
  if (!open_) return std::nullopt;
  auto it = std::find_if(contents_.begin(), contents_.end(), [&](const auto& e) { return e.first == format; });
  if (it == contents_.end()) return std::nullopt;
  return it->second;
}

std::optional<std::string> Clipboard::text() {
  std::optional<std::vector<std::uint8_t>> bytes = data(CF_TEXT);
  if (!bytes) return std::nullopt;
  return text_of(*bytes);
}

bool Clipboard::is_format_available(std::uint32_t format) {
  sync_from_host();
  return std::any_of(contents_.begin(), contents_.end(), [&](const auto& e) { return e.first == format; });
}

std::vector<std::uint32_t> Clipboard::formats() {
  sync_from_host();
  std::vector<std::uint32_t> out;
  for (const auto& entry : contents_) out.push_back(entry.first);
  return out;
}

void Clipboard::sync_from_host() {
  std::string host = screen_.clipboard_text();
  if (host == last_host_text_) return;
  // Another program changed the host's clipboard: what we held is gone.
  last_host_text_ = std::move(host);
  contents_.clear();
  owner_ = {};
  if (!last_host_text_.empty()) {
    std::vector<std::uint8_t> data(last_host_text_.begin(), last_host_text_.end());
    data.push_back(0);
    contents_.emplace_back(CF_TEXT, std::move(data));
  }
}

}  // namespace orvane::desktop
