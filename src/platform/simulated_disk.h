// A disk in memory whose power can fail: what was not made durable is lost,
// as on a machine that loses power.
//
// Every file has two states: the contents and length readers see now, and
// those last made durable by syncing the file. Directory entries likewise:
// creating, renaming or removing a file changes what openers see at once,
// but the change is durable only once its directory is synced. A power cut
// keeps the durable states; in the harsher model, also an arbitrary part of
// the rest: each 512-byte sector of a file written since its last sync holds
// its synced or its latest bytes, its length is either, and of the pending
// directory changes the oldest ones, in order, up to an arbitrary point. The
// death of the writing process alone keeps everything.
//
// Writers run to the end undisturbed; a test takes the disk as it would be
// after a crash at any point (every write, length change, creation,
// rename, removal and sync) and checks what a restart finds on it.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "platform/file_io.h"

namespace orvane::platform {

enum class Crash {
  process_death,      // the writer dies: everything it wrote survives
  power_cut,          // the power fails: nothing that was not synced survives
  partial_power_cut,  // the power fails: an arbitrary part of the unsynced rest survives too
};

class SimulatedDisk final : public FileSystem {
 public:
  SimulatedDisk();  // holds the root directory "/"

  // Called after every change and every sync: the points at which a test
  // cuts the power.
  void set_point_observer(std::function<void()> observer) { observer_ = std::move(observer); }
  std::uint64_t points() const { return points_; }
  // Syncs report success and do nothing: shows that a test notices missing
  // syncs.
  void set_drop_syncs(bool drop) { drop_syncs_ = drop; }

  // The disk as the machine finds it when it starts again after a crash now;
  // `seed` picks what of the unsynced state survives a partial power cut.
  SimulatedDisk after_crash(Crash kind, std::uint32_t seed) const;

  // A whole file, durable at once with its entry (the state a test starts
  // from). The directory must exist.
  void put_file(const std::string& path, std::span<const std::uint8_t> bytes);
  // The file as readers see it now, if there is one.
  std::optional<std::vector<std::uint8_t>> contents(const std::string& path) const;

  int open(const std::string& path, OpenRequest how, int& handle) override;
  void close(int handle) override;
  int read_at(int handle, std::uint64_t offset, std::span<std::uint8_t> out, std::size_t& count) override;
  int write_at(int handle, std::uint64_t offset, std::span<const std::uint8_t> in) override;
  int size(int handle, std::uint64_t& out) override;
  int truncate(int handle, std::uint64_t length) override;
  int sync(int handle) override;
  int try_lock(int handle) override;
  int identity(int handle, FileIdentity& out) override;
  bool file_exists(const std::string& path) override;
  bool directory_exists(const std::string& path) override;
  int create_directory(const std::string& path) override;
  int remove_file(const std::string& path) override;
  int rename(const std::string& from, const std::string& to, bool replace) override;
  int sync_directory(const std::string& path) override;

 private:
  struct Node {
    std::vector<std::uint8_t> durable;
    std::vector<std::uint8_t> current;
    int lock_holder = -1;
  };
  struct OpenNode {
    std::uint64_t inode = 0;
    bool write = false;
  };
  // Entries that one directory operation sets (an inode) or removes
  // (nullopt), made durable together.
  using EntryChange = std::vector<std::pair<std::string, std::optional<std::uint64_t>>>;

  Node* node_of(int handle, bool for_write, int& err);
  void change_entries(EntryChange change);
  void point();

  std::set<std::string> directories_;
  std::map<std::string, std::uint64_t> entries_;          // what openers see
  std::map<std::string, std::uint64_t> durable_entries_;  // what a power cut keeps
  std::vector<EntryChange> pending_;                      // oldest first
  std::map<std::uint64_t, Node> nodes_;
  std::map<int, OpenNode> handles_;
  std::uint64_t next_inode_ = 1;
  int next_handle_ = 3;
  std::uint64_t points_ = 0;
  bool drop_syncs_ = false;
  std::function<void()> observer_;
};

}  // namespace orvane::platform
