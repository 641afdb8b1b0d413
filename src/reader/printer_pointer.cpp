// The printed forms of pointer Values.
#include <array>
#include <cstdio>

#include "core/blocks.h"
#include "core/memory.h"
#include "reader/printer.h"
#include "reader/printer_internal.h"

namespace orvane {

namespace {

constexpr std::array<std::string_view, 16> kKindNames = {
    "pointer", "memory pointer", "handle", "resource", "cpp object", "frame pointer",
    "file",    "text",           "port",   "offscreen", "picture",   "region",
    "database", "record",        "process", "drag-info"};

// Describers outlive run-times: they are plain functions of the modules.
std::array<PointerDescriber, kKindNames.size()>& describers() {
  static std::array<PointerDescriber, kKindNames.size()> table{};
  return table;
}

std::string format_text(const char* format, std::string_view name, std::uint32_t address) {
  char text[128];
  std::snprintf(text, sizeof text, format, static_cast<int>(name.size()), name.data(), address);
  return text;
}

std::string with_size(std::string_view name, std::uint32_t address, std::uint32_t size) {
  char text[128];
  std::snprintf(text, sizeof text, "<%.*s %x of size %u>", static_cast<int>(name.size()), name.data(),
                address, size);
  return text;
}

}  // namespace

std::string_view pointer_kind_name(PointerKind kind) {
  auto k = static_cast<std::uint32_t>(kind);
  return k < kKindNames.size() ? kKindNames[k] : kKindNames[0];
}

void set_pointer_describer(PointerKind kind, PointerDescriber describer) {
  auto k = static_cast<std::uint32_t>(kind);
  if (k < describers().size()) describers()[k] = describer;
}

std::string pointer_printed_form(Value pointer) {
  PointerKind kind = pointer_kind(pointer);
  std::string_view name = pointer_kind_name(kind);
  std::uint32_t address = pointer_address(pointer);
  if (address == 0) return format_text("<null %.*s>", name, 0);

  auto k = static_cast<std::uint32_t>(kind);
  if (k < describers().size() && describers()[k]) return describers()[k](pointer);
  switch (kind) {
    case PointerKind::memory_pointer:
      if (is_pointer_block(address)) return with_size(name, address, pointer_block_size(address));
      break;
    case PointerKind::handle:
      if (handle_is_live(address)) return with_size(name, address, handle_size(address));
      break;
    default:
      break;
  }
  return format_text("<%.*s %x>", name, address);
}

}  // namespace orvane
