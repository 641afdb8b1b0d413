#include "platform/simulated_disk.h"

#include <algorithm>
#include <random>

namespace orvane::platform {

namespace {

constexpr std::size_t kSector = 512;

std::string parent_of(const std::string& path) {
  auto slash = path.find_last_of('/');
  return slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
}

bool change_touches(const std::vector<std::pair<std::string, std::optional<std::uint64_t>>>& change,
                    const std::string& directory) {
  return std::any_of(change.begin(), change.end(), [&](const auto& e) { return parent_of(e.first) == directory; });
}

// What survives of a file written since its last sync: per sector the synced
// or the latest bytes, and either length; bytes that neither had are zero.
std::vector<std::uint8_t> mixed_contents(const std::vector<std::uint8_t>& durable,
                                         const std::vector<std::uint8_t>& current, std::mt19937& rng) {
  if (durable == current) return current;
  std::vector<std::uint8_t> out(rng() % 2 ? current.size() : durable.size(), 0);
  for (std::size_t at = 0; at < out.size(); at += kSector) {
    const std::vector<std::uint8_t>& from = rng() % 2 ? current : durable;
    std::size_t end = std::min({at + kSector, out.size(), from.size()});
    if (at < end)
      std::copy(from.begin() + static_cast<std::ptrdiff_t>(at), from.begin() + static_cast<std::ptrdiff_t>(end),
                out.begin() + static_cast<std::ptrdiff_t>(at));
  }
  return out;
}

}  // namespace

SimulatedDisk::SimulatedDisk() { directories_.insert("/"); }

SimulatedDisk SimulatedDisk::after_crash(Crash kind, std::uint32_t seed) const {
  std::mt19937 rng(seed);
  SimulatedDisk out;
  out.directories_ = directories_;
  out.next_inode_ = next_inode_;
  std::map<std::string, std::uint64_t> entries = kind == Crash::process_death ? entries_ : durable_entries_;
  if (kind == Crash::partial_power_cut && !pending_.empty()) {
    std::size_t kept = rng() % (pending_.size() + 1);
    for (std::size_t i = 0; i < kept; ++i)
      for (const auto& [path, inode] : pending_[i]) {
        if (inode) entries[path] = *inode;
        else entries.erase(path);
      }
  }
  for (const auto& [path, inode] : entries) {
    if (out.nodes_.count(inode)) continue;
    const Node& n = nodes_.at(inode);
    Node& kept = out.nodes_[inode];
    switch (kind) {
      case Crash::process_death: kept.durable = n.current; break;
      case Crash::power_cut: kept.durable = n.durable; break;
      case Crash::partial_power_cut: kept.durable = mixed_contents(n.durable, n.current, rng); break;
    }
    kept.current = kept.durable;
  }
  out.entries_ = entries;
  out.durable_entries_ = std::move(entries);
  return out;
}

void SimulatedDisk::put_file(const std::string& path, std::span<const std::uint8_t> bytes) {
  std::uint64_t inode = next_inode_++;
  Node& n = nodes_[inode];
  n.current.assign(bytes.begin(), bytes.end());
  n.durable = n.current;
  entries_[path] = inode;
  durable_entries_[path] = inode;
}

std::optional<std::vector<std::uint8_t>> SimulatedDisk::contents(const std::string& path) const {
  auto it = entries_.find(path);
  if (it == entries_.end()) return std::nullopt;
  return nodes_.at(it->second).current;
}

void SimulatedDisk::point() {
  ++points_;
  if (observer_) observer_();
}

void SimulatedDisk::change_entries(EntryChange change) {
  for (const auto& [path, inode] : change) {
    if (inode) entries_[path] = *inode;
    else entries_.erase(path);
  }
  pending_.push_back(std::move(change));
}

SimulatedDisk::Node* SimulatedDisk::node_of(int handle, bool for_write, int& err) {
  auto it = handles_.find(handle);
  if (it == handles_.end()) {
    err = sys_error::invalid;
    return nullptr;
  }
  if (for_write && !it->second.write) {
    err = sys_error::permission;
    return nullptr;
  }
  err = sys_error::none;
  return &nodes_.at(it->second.inode);
}

int SimulatedDisk::open(const std::string& path, OpenRequest how, int& handle) {
  if (directories_.count(path)) return sys_error::is_directory;
  if (!directories_.count(parent_of(path))) return sys_error::not_found;
  auto it = entries_.find(path);
  std::uint64_t inode = 0;
  bool changed = false;
  if (it != entries_.end()) {
    if (how.create && how.exclusive) return sys_error::exists;
    inode = it->second;
    if (how.truncate && how.write && !nodes_.at(inode).current.empty()) {
      nodes_.at(inode).current.clear();
      changed = true;
    }
  } else {
    if (!how.create) return sys_error::not_found;
    inode = next_inode_++;
    nodes_[inode];
    change_entries({{path, inode}});
    changed = true;
  }
  handle = next_handle_++;
  handles_[handle] = {inode, how.write};
  if (changed) point();
  return sys_error::none;
}

void SimulatedDisk::close(int handle) {
  auto it = handles_.find(handle);
  if (it == handles_.end()) return;
  Node& n = nodes_.at(it->second.inode);
  if (n.lock_holder == handle) n.lock_holder = -1;
  handles_.erase(it);
}

int SimulatedDisk::read_at(int handle, std::uint64_t offset, std::span<std::uint8_t> out, std::size_t& count) {
  count = 0;
  int err = 0;
  Node* n = node_of(handle, false, err);
  if (!n) return err;
  if (offset >= n->current.size()) return sys_error::none;
  count = static_cast<std::size_t>(std::min<std::uint64_t>(out.size(), n->current.size() - offset));
  std::copy_n(n->current.begin() + static_cast<std::ptrdiff_t>(offset), count, out.begin());
  return sys_error::none;
}

int SimulatedDisk::write_at(int handle, std::uint64_t offset, std::span<const std::uint8_t> in) {
  int err = 0;
  Node* n = node_of(handle, true, err);
  if (!n) return err;
  if (in.empty()) return sys_error::none;
  if (n->current.size() < offset + in.size()) n->current.resize(static_cast<std::size_t>(offset + in.size()));
  std::copy(in.begin(), in.end(), n->current.begin() + static_cast<std::ptrdiff_t>(offset));
  point();
  return sys_error::none;
}

int SimulatedDisk::size(int handle, std::uint64_t& out) {
  int err = 0;
  Node* n = node_of(handle, false, err);
  if (!n) return err;
  out = n->current.size();
  return sys_error::none;
}

int SimulatedDisk::truncate(int handle, std::uint64_t length) {
  int err = 0;
  Node* n = node_of(handle, true, err);
  if (!n) return err;
  n->current.resize(static_cast<std::size_t>(length));
  point();
  return sys_error::none;
}

int SimulatedDisk::sync(int handle) {
  int err = 0;
  Node* n = node_of(handle, false, err);
  if (!n) return err;
  if (!drop_syncs_) n->durable = n->current;
  point();
  return sys_error::none;
}

int SimulatedDisk::try_lock(int handle) {
  int err = 0;
  Node* n = node_of(handle, false, err);
  if (!n) return err;
  if (n->lock_holder >= 0 && n->lock_holder != handle) return sys_error::busy;
  n->lock_holder = handle;
  return sys_error::none;
}

int SimulatedDisk::identity(int handle, FileIdentity& out) {
  auto it = handles_.find(handle);
  if (it == handles_.end()) return sys_error::invalid;
  out = {1, it->second.inode};
  return sys_error::none;
}

bool SimulatedDisk::file_exists(const std::string& path) { return entries_.count(path) != 0; }

bool SimulatedDisk::directory_exists(const std::string& path) { return directories_.count(path) != 0; }

int SimulatedDisk::create_directory(const std::string& path) {
  if (entries_.count(path)) return sys_error::exists;
  if (!directories_.count(parent_of(path))) return sys_error::not_found;
  directories_.insert(path);
  return sys_error::none;
}

int SimulatedDisk::remove_file(const std::string& path) {
  if (directories_.count(path)) return sys_error::is_directory;
  if (!entries_.count(path)) return sys_error::not_found;
  change_entries({{path, std::nullopt}});
  point();
  return sys_error::none;
}

int SimulatedDisk::rename(const std::string& from, const std::string& to, bool replace) {
  auto it = entries_.find(from);
  if (it == entries_.end()) return sys_error::not_found;
  if (directories_.count(to) || !directories_.count(parent_of(to))) return sys_error::not_found;
  if (!replace && entries_.count(to)) return sys_error::exists;
  if (from == to) return sys_error::none;
  change_entries({{to, it->second}, {from, std::nullopt}});
  point();
  return sys_error::none;
}

int SimulatedDisk::sync_directory(const std::string& path) {
  if (!directories_.count(path)) return sys_error::not_found;
  if (!drop_syncs_) {
    std::vector<EntryChange> rest;
    for (EntryChange& change : pending_) {
      if (!change_touches(change, path)) {
        rest.push_back(std::move(change));
        continue;
      }
      for (const auto& [entry, inode] : change) {
        if (inode) durable_entries_[entry] = *inode;
        else durable_entries_.erase(entry);
      }
    }
    pending_ = std::move(rest);
  }
  point();
  return sys_error::none;
}

}  // namespace orvane::platform
