#include "storage/file_errors.h"

#include "core/memory.h"
#include "eval/errors.h"
#include "platform/file_io.h"

namespace orvane {

namespace {
constexpr int kFileNotFound = 31;
constexpr int kTooManyFiles = 32;
constexpr int kFileExists = 33;
constexpr int kOtherFileError = 36;
constexpr int kFileBusy = 38;
constexpr int kVolumeLocked = 45;
constexpr int kDiskFull = 46;
}  // namespace

int lisp_error_for_resource_code(int code) {
  switch (code) {
    case 0: return 0;
    case -49: case -47: return kFileBusy;
    case -48: return kFileExists;
    case -46: case -44: case -35: return kVolumeLocked;
    case -43: return kFileNotFound;
    case -34: case -33: return kDiskFull;
    default: return kOtherFileError;
  }
}

void raise_resource_code(int code, Value culprit) {
  int lisp = lisp_error_for_resource_code(code);
  raise_error(lisp, lisp == kOtherFileError ? make_integer(code) : culprit);
}

void check_resource_code(int code, Value culprit) {
  if (code != 0) raise_resource_code(code, culprit);
}

void raise_system_file_error(int sys_code, Value culprit) {
  namespace se = platform::sys_error;
  switch (sys_code) {
    case se::not_found: raise_error(kFileNotFound, culprit);
    case se::exists: raise_error(kFileExists, culprit);
    case se::too_many_open: raise_error(kTooManyFiles, culprit);
    case se::disk_full: raise_error(kDiskFull, culprit);
    default: raise_error(kOtherFileError, make_integer(sys_code == 0 ? -1 : sys_code));
  }
}

}  // namespace orvane
