// Fuzzing the reader over arbitrary bytes: text and the compact encoding
// alike, under the reader settings a title can choose.
//
// The first byte chooses the settings:
//   bit 0  read datum by datum (as files load) instead of parsing the whole
//   bit 1  `Machine` is mac (characters are translated)
//   bit 2  the decimal mark is the comma
//   bit 3  `Load-File`, `Features` and `Langage` are unbound or nil
//   bit 4  the next two bytes give a character a new type
#include <array>
#include <cstdint>
#include <string_view>

#include "core/symbols.h"
#include "fuzz_runtime.h"
#include "lib/real_text.h"
#include "reader/char_types.h"
#include "reader/reader.h"
#include "reader/reader_state.h"

namespace {

using namespace orvane;

// The terminal answers the end of input: no input may wait on the console.
TextSource& empty_terminal() {
  static TextSource terminal{""};
  return terminal;
}

// A small compact symbol table: the fixed eight and 300 names, the first a
// keyword.
void load_compact_table() {
  std::string list;
  constexpr int kNames = 300;
  list.push_back(static_cast<char>(kNames >> 8));
  list.push_back(static_cast<char>(kNames & 0xff));
  list += ":key";
  list.push_back('\0');
  for (int i = 1; i < kNames; ++i) {
    list += "name" + std::to_string(i);
    list.push_back('\0');
  }
  load_symbol_list(reinterpret_cast<const std::uint8_t*>(list.data()), list.size());
}

void set_global(std::string_view name, Value v) { set_symbol_global(intern(name), v); }

void set_up_title_variables(bool unbound) {
  if (unbound) {
    set_global("Load-File", kNil);
    set_global("Features", kNoValue);
    set_global("Langage", kNoValue);
    return;
  }
  set_global("Load-File", make_fixnum(1));
  set_global("Features", list_of({intern("win"), intern("color")}));
  set_global("Langage", intern("fr"));
}

// Bounds the cost of one input: the reader is linear, but every datum
// allocates.
constexpr std::size_t kMaxInput = 64 * 1024;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0 || size > kMaxInput) return 0;
  fuzz::FuzzRuntime& runtime = fuzz::fuzz_runtime();
  if (runtime.ensure()) {
    load_compact_table();
    set_terminal_source(&empty_terminal());
  }
  std::uint8_t settings = data[0];
  std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

  const CharTypeTable saved_types = g_char_types;
  if ((settings & 0x10) && text.size() >= 2) {
    g_char_types[static_cast<unsigned char>(text[0])] = static_cast<std::uint8_t>(text[1] % 24);
    text.remove_prefix(2);
  }
  set_global("Machine", intern(settings & 0x02 ? "mac" : "ibm"));
  g_decimal_mark = settings & 0x04 ? ',' : '.';
  set_up_title_variables(settings & 0x08);

  if (settings & 0x01) {
    TextSource source(text);
    DatumReader reader(source);
    // Every call takes at least one character, so this ends. An error costs
    // far more than a datum, so a run stops after a few.
    constexpr int kMaxErrors = 32;
    for (int errors = 0; errors < kMaxErrors;) {
      bool more = true;
      bool failed = true;
      runtime.run([&] {
        more = reader.next().has_value();
        failed = false;
      });
      if (failed)
        ++errors;
      else if (!more)
        break;
    }
  } else {
    runtime.run([&] { parse_text(text); });
  }

  // Whatever the input, the reader is back at rest.
  if (g_reader.depth != 0 || g_reader.source.kind != SourceState::Kind::terminal) std::abort();
  g_char_types = saved_types;
  g_decimal_mark = '.';
  return 0;
}
