// Helpers of the storage tests: temporary directories, whole files, and
// resource files built byte by byte as the format describes them.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/byte_writer.h"
#include "storage/resource_format.h"

namespace orvane::testing {

using Bytes = std::vector<std::uint8_t>;

// A fresh directory, removed with everything in it at the end.
class TempDir {
 public:
  TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "orvane-rsrc-XXXXXX").string();
    char* made = ::mkdtemp(pattern.data());
    if (!made) throw std::runtime_error("mkdtemp failed");
    path_ = made;
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  std::string file(const std::string& name) const { return path_ + "/" + name; }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

inline Bytes read_bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void write_bytes(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline Bytes text_bytes(std::string_view s) { return Bytes(s.begin(), s.end()); }

// A resource file from its parts: the header fields are computed from the
// sizes, the map bytes come whole (its header copy is filled in here).
struct FileParts {
  std::string name = "Test.RI";
  std::string type = "rsrc";
  std::string creator = "ORVN";
  Bytes data;  // the data area
  Bytes map;   // the map, from its byte 16 on
};

inline Bytes build_file(const FileParts& p) {
  const auto map_offset = static_cast<std::uint32_t>(256 + p.data.size());
  const auto map_length = static_cast<std::uint32_t>(16 + p.map.size());
  ByteWriter header;
  header.u32be(256);
  header.u32be(map_offset);
  header.u32be(static_cast<std::uint32_t>(p.data.size()));
  header.u32be(map_length);
  Bytes head = header.data();
  Bytes out(256, 0);
  std::copy(head.begin(), head.end(), out.begin());
  out[48] = static_cast<std::uint8_t>(p.name.size());
  std::copy(p.name.begin(), p.name.end(), out.begin() + 49);
  std::copy(p.type.begin(), p.type.end(), out.begin() + 82);
  std::copy(p.creator.begin(), p.creator.end(), out.begin() + 86);
  out.insert(out.end(), p.data.begin(), p.data.end());
  out.insert(out.end(), head.begin(), head.end());
  out.insert(out.end(), p.map.begin(), p.map.end());
  return out;
}

// Map bytes after the header copy: link, reference number, attributes,
// type-list and name-list offsets.
inline void map_head(ByteWriter& w, std::uint16_t attrs, std::uint16_t type_list, std::uint16_t name_list) {
  w.u32be(0);
  w.u16be(0);
  w.u16be(attrs);
  w.u16be(type_list);
  w.u16be(name_list);
}
inline void type_entry(ByteWriter& w, std::string_view type, int count, std::uint16_t list_offset) {
  w.text(type);
  w.u16be(static_cast<std::uint16_t>(count - 1));
  w.u16be(list_offset);
}
inline void ref_entry(ByteWriter& w, std::int16_t id, std::uint16_t name, std::uint8_t attrs, std::uint32_t data) {
  w.u16be(static_cast<std::uint16_t>(id));
  w.u16be(name);
  w.u8(attrs);
  w.u24be(data);
  w.u32be(0);
}
inline void counted(ByteWriter& w, std::string_view s) {
  w.u8(static_cast<std::uint8_t>(s.size()));
  w.text(s);
}
inline void block(ByteWriter& w, std::string_view s) {
  w.u32be(static_cast<std::uint32_t>(s.size()));
  w.text(s);
}

}  // namespace orvane::testing
