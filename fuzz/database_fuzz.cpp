// Record databases from arbitrary bytes: opening must either refuse the
// file with a database error or give a map every later operation can use;
// loading, changing, updating and compacting must stay inside the data and
// leave a file that opens again with the same records.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "storage/database.h"
#include "storage/handle_store.h"
#include "storage/random_access.h"

namespace {

std::uint32_t clock_zero() { return 0; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace orvane;
  MemoryHandleStore store;
  auto owned = std::make_unique<MemoryFile>(std::vector<std::uint8_t>(data, data + size));
  MemoryFile* file = owned.get();
  std::unique_ptr<Database> db;
  try {
    db = std::make_unique<Database>("fuzz", std::move(owned), store, clock_zero);
  } catch (const DatabaseError&) {
    return 0;
  }
  std::size_t records = 0;
  try {
    for (const DbType& t : db->types())
      for (std::size_t i = 0; i < t.entries.size(); ++i) {
        DbEntry* e = db->indexed(t.type, static_cast<int>(i));
        std::uint32_t h = db->load(t.type, *e, false);
        (void)db->name_of(*e);
        if (i % 2 == 0 && !(e->attrs & db::kProtected)) {
          store.resize(h, store.size(h) + 1);
          db->changed(h);
        }
        ++records;
      }
    std::uint32_t h = store.create();
    store.resize(h, 3);
    db->add(h, FourCC::of("FUZZ"), 1, "fuzz");
    ++records;
    db->update(true);
    db->compact();
  } catch (const DatabaseError&) {
    return 0;
  }
  // What was written must open again, with every record.
  std::vector<std::uint8_t> written = file->bytes();
  db.reset();
  MemoryHandleStore again;
  try {
    Database reopened("fuzz", std::make_unique<MemoryFile>(written), again, clock_zero);
    std::size_t count = 0;
    for (const DbType& t : reopened.types()) count += t.entries.size();
    if (count != records) std::abort();
  } catch (const DatabaseError&) {
    std::abort();
  }
  return 0;
}
