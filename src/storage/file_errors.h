// Turning file-system and resource-manager error codes into Lisp errors.
//
// Resource-manager codes (the classic Macintosh ones): -49 and -47 raise 38,
// -48 raises 33, -46, -44 and -35 raise 45, -43 raises 31, -34 and -33 raise
// 46, any other non-zero code raises 36 with the code as culprit.
// System error numbers: 2 (not found) raises 31, 17 (exists) 33, 24 (too
// many open files) 32, 28 (disk full) 46, any other 36 with the
// number as culprit.
#pragma once

#include "core/value.h"

namespace orvane {

// The Lisp error code for a resource-manager code (0 for 0).
int lisp_error_for_resource_code(int code);
// Raises the Lisp error for a non-zero resource-manager code; `culprit`
// goes with the named errors (the resource primitives give nil, the file
// primitives the file).
void check_resource_code(int code, Value culprit = kNil);
[[noreturn]] void raise_resource_code(int code, Value culprit = kNil);
// Raises the Lisp error for a system error number.
[[noreturn]] void raise_system_file_error(int sys_code, Value culprit);

}  // namespace orvane
