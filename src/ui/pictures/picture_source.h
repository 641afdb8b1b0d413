// Where the picture objects and the picture methods take picture data
// from: handles, "PICT" resources, database records and picture files.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "core/value.h"

namespace orvane::ui {

// The bytes of a picture Value: a handle, a resource (loaded first when it
// was not) or a database record (likewise). Error 2 with the Value for
// anything else, or for a handle that is no longer live.
std::vector<std::uint8_t> picture_bytes(Value picture);

// The picture in a picture file: the file's bytes after its 512-byte header
// (or the bytes themselves when they already are a picture). The file
// errors of reading are raised with the pathname.
std::vector<std::uint8_t> picture_file_bytes(Value pathname);

// A new handle Value holding a copy of the bytes (error 9 when it cannot be had).
Value make_picture_handle(std::span<const std::uint8_t> bytes);

}  // namespace orvane::ui
