// The reader's sources: the terminal, native character sources and Lisp
// streams, and the scope that installs one for the length of a reader call.
#include <cstring>

#include "core/blocks.h"
#include "core/memory.h"
#include "core/symbols.h"
#include "eval/errors.h"
#include "eval/eval.h"
#include "lib/streams.h"
#include "platform/host.h"
#include "reader/reader_state.h"

namespace orvane {

namespace {

// The host's terminal: the process's console, or a title's terminal.
class HostTerminalSource final : public CharSource {
 public:
  int next() override { return platform::host().read_terminal(); }
};

CharSource& terminal() {
  if (g_reader.terminal) return *g_reader.terminal;
  static HostTerminalSource host_terminal;
  return host_terminal;
}

int from_native(int c) { return c < 0 ? kEndOfInput : c & 0xff; }

// One character from a Lisp stream: its routine answers a code 0-255, or -1,
// 65535, nil or no-value at the end.
int stream_char() {
  const SourceState& s = g_reader.source;
  if (s.port_getc) return from_native(s.port_getc(s.state()));
  Value answer = call(s.routine(), {s.state()});
  if (is_false(answer)) return kEndOfInput;
  if (is_fixnum(answer)) {
    std::int32_t c = answer.fixnum();
    if (c >= 0 && c <= 255) return c;
    if (c == -1 || c == kEndOfInput) return kEndOfInput;
  }
  raise_error(2, answer);
}

// The first word of a stream's state: the read offset of the buffer and
// handle streams, whose state is a pointer to a little-endian record.
std::uint32_t stream_offset(Value state) {
  if (!is_pointer(state)) return 0;
  PointerKind kind = pointer_kind(state);
  if (kind != PointerKind::pointer && kind != PointerKind::memory_pointer) return 0;
  const std::uint8_t* p = find_bytes(pointer_address(state), 4, Access::read);
  if (!p) return 0;
  return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
         std::uint32_t{p[3]} << 24;
}

}  // namespace

int next_source_char() {
  const SourceState& s = g_reader.source;
  switch (s.kind) {
    case SourceState::Kind::native:
      return from_native(s.native->next());
    case SourceState::Kind::stream:
      return stream_char();
    case SourceState::Kind::terminal:
      break;
  }
  return from_native(terminal().next());
}

std::uint32_t source_position() {
  const SourceState& s = g_reader.source;
  switch (s.kind) {
    case SourceState::Kind::native:
      return s.native->position();
    case SourceState::Kind::stream:
      return stream_offset(s.state());
    case SourceState::Kind::terminal:
      break;
  }
  return terminal().position();
}

void set_terminal_source(CharSource* source) { g_reader.terminal = source; }

// --- The source scope ---------------------------------------------------------------

SourceScope::SourceScope()
    : Context(Kind::source),
      saved_(g_reader.source),
      saved_current_(g_reader.current),
      saved_advances_(g_reader.advances) {}

SourceScope::~SourceScope() {
  g_reader.source = saved_;
  if (changed_) {
    g_reader.current = saved_current_;
    g_reader.advances = saved_advances_;
  }
}

void SourceScope::set(const SourceState& s) {
  g_reader.source = s;
  changed_ = true;
}

void SourceScope::install(Value argument) {
  if (argument == kNil) argument = lookup_symbol(g_reader.terminal_in);
  if (argument == kNil || argument == kNoValue || argument == g_sym.t) return;
  Value object = kNil;
  Value stream = argument;
  if ((argument.tag() == tag::instance || argument.tag() == tag::klass) && argument != kNoObject) {
    object = argument;
    stream = send(argument, g_sym.read_proc, {});
  }
  if (!is_pair(stream) || car(stream) == kNil) raise_error(2, stream);
  SourceState s;
  s.kind = SourceState::Kind::stream;
  s.values = {car(stream), cdr(stream), object};
  s.port_getc = port_getc_routine(s.routine());
  set(s);
}

void wait_for_terminal_input() {
  if (g_reader.source.port_getc == edit_getc) edit_wait();
}

Value current_source_object() {
  Value object = g_reader.source.object();
  return object == kNil ? kNoObject : object;
}

void SourceScope::install(CharSource& source) {
  SourceState s;
  s.kind = SourceState::Kind::native;
  s.native = &source;
  set(s);
}

}  // namespace orvane
