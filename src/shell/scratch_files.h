// The styled-text module's scratch resource file: the text objects keep
// their embedded pictures in one temporary resource file, which they open
// and register here. The orderly shutdown closes it and deletes its file, so
// that a run leaves nothing behind. Process-wide, like the rest of the shell
// state (one title plays at a time).
#pragma once

#include <filesystem>

namespace orvane::shell {

// Registers the open scratch file (its resource-file reference number and
// its path); a file registered before is discarded first.
void register_styled_text_scratch(int refnum, std::filesystem::path path);

// The registered scratch file's path; empty when there is none.
const std::filesystem::path& styled_text_scratch_path();

// Closes the scratch file and deletes it; nothing when none is registered.
// A file already gone is no error. Answers whether a file was deleted.
bool discard_styled_text_scratch();

}  // namespace orvane::shell
