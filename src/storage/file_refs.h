// The file reference numbers of open resource files: 256 slots, numbers
// 1..256, handed out round-robin (the next search starts after the last
// number given). Files of the file primitives and databases have ids of
// their own (docs/files.md, "Ids of open things").
#pragma once

#include <array>

namespace orvane {

class FileRefTable {
 public:
  static constexpr int kSlots = 256;

  // A free number, or 0 when all are taken.
  int allocate();
  void release(int refnum);
  bool in_use(int refnum) const { return refnum >= 1 && refnum <= kSlots && used_[refnum - 1]; }

 private:
  std::array<bool, kSlots> used_{};
  int last_ = 0;  // the last number given
};

// The run-time's table (a documented singleton), emptied when the storage
// module registers.
FileRefTable& run_time_file_refs();

}  // namespace orvane
