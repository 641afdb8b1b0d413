#include "storage/file_refs.h"

namespace orvane {

int FileRefTable::allocate() {
  for (int step = 1; step <= kSlots; ++step) {
    int candidate = (last_ + step - 1) % kSlots + 1;
    if (!used_[candidate - 1]) {
      used_[candidate - 1] = true;
      last_ = candidate;
      return candidate;
    }
  }
  return 0;
}

void FileRefTable::release(int refnum) {
  if (refnum >= 1 && refnum <= kSlots) used_[refnum - 1] = false;
}

FileRefTable& run_time_file_refs() {
  static FileRefTable table;
  return table;
}

}  // namespace orvane
