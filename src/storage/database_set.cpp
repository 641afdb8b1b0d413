// The chain of open databases and the unique-id counter.
#include <algorithm>

#include "storage/database.h"

namespace orvane {

std::uint32_t DatabaseSet::open(std::string_view path, DbOpenMode mode) {
  return adopt(open_database_file(path, mode, handles_, now_));
}

std::uint32_t DatabaseSet::adopt(std::unique_ptr<Database> db) {
  db->on_inconsistent_map = [this] {
    if (on_inconsistent_map) on_inconsistent_map();
  };
  // Database ids are a counter, never given twice in a run, so a pointer kept
  // past `close-database` names no later database (docs/files.md, "Ids of
  // open things").
  std::uint32_t id = next_id_++;
  chain_.insert(chain_.begin(), {id, std::move(db)});
  return id;
}

Database* DatabaseSet::get(std::uint32_t id) {
  for (auto& [key, db] : chain_)
    if (key == id) return db.get();
  return nullptr;
}

Database& DatabaseSet::require(std::uint32_t id) {
  Database* db = get(id);
  if (!db) throw DatabaseError(4, false, "database not open");
  return *db;
}

void DatabaseSet::close(std::uint32_t id, bool no_update, bool allow_compaction) {
  auto it = std::find_if(chain_.begin(), chain_.end(), [&](const auto& p) { return p.first == id; });
  if (it == chain_.end()) throw DatabaseError(4, false, "database not open");
  // The database leaves the chain even when its update fails: a failed
  // update is rolled back by the journal and the error still reported.
  std::unique_ptr<Database> db = std::move(it->second);
  chain_.erase(it);
  if (!no_update) db->update(allow_compaction);
}

void DatabaseSet::close_all() {
  while (!chain_.empty()) {
    try {
      close(chain_.front().first, false, true);
    } catch (const DatabaseError&) {
      // Closing at shut-down goes on with the others.
    }
  }
}

std::pair<std::uint32_t, Database*> DatabaseSet::owner(std::uint32_t h) {
  if (h != 0)
    for (auto& [id, db] : chain_)
      if (db->owns(h)) return {id, db.get()};
  throw DatabaseError(5, false, "not a record of an open database");
}

std::int32_t DatabaseSet::unique_id(FourCC type, const std::vector<std::uint32_t>& databases) {
  if (!unique_type_ || !(*unique_type_ == type)) {
    unique_type_ = type;
    unique_counter_ = 0;
  }
  for (std::uint32_t id : databases) {
    Database* db = id == 0 ? nullptr : get(id);
    if (!db) continue;
    while (db->find(type, unique_counter_) != nullptr) ++unique_counter_;
  }
  return unique_counter_++;
}

void DatabaseSet::abandon_all() {
  for (auto& p : chain_) p.second->forget_handles();
  chain_.clear();
}

std::vector<std::uint32_t> DatabaseSet::open_ids() const {
  std::vector<std::uint32_t> out;
  for (const auto& p : chain_) out.push_back(p.first);
  return out;
}

}  // namespace orvane
