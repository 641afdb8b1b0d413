// Byte streams over memory blocks, used as the state of the reader's and
// the printer's ports: handle stream records (writing into, or reading
// from, a growing handle), buffer stream records (reading a fixed block),
// the edit input buffer fed by `set-lecture`, and the edit output line.
//
// A handle stream record is a 16-byte pointer block: position, capacity,
// address of the bytes, handle number. A buffer stream record is a 12-byte
// pointer block: position, size, address of the bytes. Words are
// little-endian. Lisp can read and write the records, so every routine
// re-checks what a record claims before it touches any byte.
#pragma once

#include <cstdint>

#include "core/value.h"

namespace orvane {

namespace handle_record {
inline constexpr std::uint32_t position = 0, capacity = 4, address = 8, handle = 12, size = 16;
}
namespace buffer_record {
inline constexpr std::uint32_t position = 0, size_field = 4, address = 8, size = 12;
}

// The port routines. `record` is the pointer Value that a stream carries as
// its state (the record's address is its word 1). Characters are 0-255; the
// input routines answer -1 at the end.
void handle_putc(int c, Value record);
int handle_getc(Value record);
int buffer_getc(Value record);
int edit_getc(Value record);  // the record is not used
void edit_putc(int c, Value record);
void edit_wait();

// Sends what the edit output line holds to the current output port object.
void flush_edit_output();

using PortPutc = void (*)(int c, Value record);
using PortGetc = int (*)(Value record);

// The routines behind a port-routine descriptor: the values of the symbols
// `handle-putc`, `handle-getc`, `buffer-getc`, `editgetc`, `editputc` and
// `edit-wait`. Null for any other Value.
PortPutc port_putc_routine(Value descriptor);
PortGetc port_getc_routine(Value descriptor);

// Port routines of other modules (the file streams `file-read-ch` and
// `file-write-ch`): a descriptor whose native function is `fn` reads or
// writes through these routines (either may be null). The functions of the
// modules stay valid from one run-time to the next, so this is idempotent.
void add_port_routines(void (*fn)(), PortGetc getc, PortPutc putc);

// The current output and input port objects (`self` for `general-putc`,
// `general-getc` and the edit output line) are the printer's destination
// object and the reader's source object, asked directly: the ports are the
// reader's and the printer's own wiring, not something a host provides.

void register_streams();

}  // namespace orvane
