#include "storage/file_types.h"

#include <array>

#include "platform/byte_reader.h"
#include "platform/text.h"

namespace orvane {

namespace {

constexpr std::uint32_t kHeaderSize = 256;
constexpr std::uint32_t kFormatMarkOffset = 128;
constexpr std::uint8_t kResourceMark = 0;
constexpr std::uint8_t kDatabaseMark = 2;
constexpr std::uint32_t kDatabaseCreatorOffset = 16;
constexpr std::uint32_t kDatabaseTypeOffset = 20;

struct CodeOffsets {
  std::uint32_t type, creator;
};

std::optional<CodeOffsets> offsets_of(FileFormat format) {
  switch (format) {
    case FileFormat::resource_file: return CodeOffsets{rsrc::kFileTypeOffset, rsrc::kFileCreatorOffset};
    case FileFormat::database: return CodeOffsets{kDatabaseTypeOffset, kDatabaseCreatorOffset};
    case FileFormat::other: break;
  }
  return std::nullopt;
}

bool lower_equal(char c, char lower) { return platform::kLowerCase[static_cast<unsigned char>(c)] == lower; }

}  // namespace

FileFormat format_of(const platform::File& file) {
  std::uint64_t size = 0;
  std::array<std::uint8_t, kHeaderSize> header{};
  if (file.size(size) || size < kHeaderSize || file.read_exact(0, header)) return FileFormat::other;
  ByteReader r(header);
  std::uint64_t data_offset = r.u32be(), map_offset = r.u32be(), data_length = r.u32be(), map_length = r.u32be();
  // Both formats share the first 16 bytes: data area at 256, the map after
  // it and ending the file.
  bool laid_out = data_offset == kHeaderSize && map_offset >= kHeaderSize && data_length <= 0x7fffffff &&
                  map_length <= 0x7fffffff && data_offset + data_length <= map_offset &&
                  map_offset + map_length == size;
  if (!laid_out) return FileFormat::other;
  switch (header[kFormatMarkOffset]) {
    case kResourceMark: return FileFormat::resource_file;
    case kDatabaseMark: return FileFormat::database;
    default: return FileFormat::other;
  }
}

FourCC type_from_name(std::string_view path) {
  std::size_t cut = path.find_last_of("\\/:");
  std::string_view name = cut == std::string_view::npos ? path : path.substr(cut + 1);
  std::size_t dot = name.rfind('.');
  std::string_view ext = dot == std::string_view::npos ? std::string_view{} : name.substr(dot + 1);
  if (ext.size() >= 2 && lower_equal(ext[0], 'p') && lower_equal(ext[1], 'i')) return FourCC::of("PICT");
  if (ext.size() >= 2 && lower_equal(ext[0], 'm') && lower_equal(ext[1], 'v')) return FourCC::of("MooV");
  if (ext.size() == 3 && lower_equal(ext[0], 'm') && lower_equal(ext[1], 'o') && lower_equal(ext[2], 'v'))
    return FourCC::of("MooV");
  return FourCC::of("TEXT");
}

int read_type_and_creator(std::string_view host_path, std::string_view windows_name, TypeAndCreator& out) {
  platform::File file;
  if (int err = platform::File::open(host_path, platform::OpenMode::read_only, file)) return err;
  if (auto offsets = offsets_of(format_of(file))) {
    std::array<std::uint8_t, 4> type{}, creator{};
    if (int err = file.read_exact(offsets->type, type)) return err;
    if (int err = file.read_exact(offsets->creator, creator)) return err;
    out = {FourCC::from_bytes(type.data()), FourCC::from_bytes(creator.data())};
    return 0;
  }
  out = {type_from_name(windows_name), FourCC::of("????")};
  return 0;
}

int write_type_and_creator(std::string_view host_path, std::optional<FourCC> type, std::optional<FourCC> creator) {
  platform::File file;
  if (int err = platform::File::open(host_path, platform::OpenMode::read_only, file)) return err;
  auto offsets = offsets_of(format_of(file));
  if (!offsets) return 0;
  if (int err = platform::File::open(host_path, platform::OpenMode::read_write, file)) return err;
  auto put = [&](std::uint32_t at, const FourCC& code) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(code.chars.data());
    return file.write_at(at, std::span<const std::uint8_t>(bytes, 4));
  };
  if (type)
    if (int err = put(offsets->type, *type)) return err;
  if (creator)
    if (int err = put(offsets->creator, *creator)) return err;
  return file.sync();
}

}  // namespace orvane
