#pragma once
// Replacing a file whole, so a reader never sees a half-written file and a crash mid-write loses
// nothing stored before: write a temporary file in the same folder, flush it to disk, rename it
// over the target, then flush the folder.
#include <filesystem>
#include <string>
#include <string_view>

namespace host {

// True when `bytes` are durably in place at `path`. On failure the old file is untouched, the
// temporary file is removed and `error` (if given) says why.
bool writeFileAtomically(const std::filesystem::path& path, std::string_view bytes, std::string* error = nullptr);

}  // namespace host
