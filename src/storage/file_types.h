// File type and creator codes on a host that has none.
//
// Resource files and record databases keep them in their headers (82/86
// and 20/16). Every other file has a type after its extension ("PICT" for
// ".pi...", "MooV" for ".mv..." and ".mov", else "TEXT") and the creator
// "????", and setting them changes nothing.
#pragma once

#include <optional>
#include <string_view>

#include "platform/file_io.h"
#include "storage/resource_format.h"

namespace orvane {

enum class FileFormat { resource_file, database, other };

// What the header of an open file says it is.
FileFormat format_of(const platform::File& file);

// The type of a file that keeps none, from its name (the last component of
// a Windows-style or host path).
FourCC type_from_name(std::string_view path);

struct TypeAndCreator {
  FourCC type;
  FourCC creator;
};

// The codes of the file at a host path; `windows_name` gives the extension
// of a file that keeps none. A system error code when it cannot be opened.
int read_type_and_creator(std::string_view host_path, std::string_view windows_name, TypeAndCreator& out);
// Stores the codes given into a resource file or database; other files are
// left alone (0). A system error code when the file cannot be written.
int write_type_and_creator(std::string_view host_path, std::optional<FourCC> type, std::optional<FourCC> creator);

}  // namespace orvane
