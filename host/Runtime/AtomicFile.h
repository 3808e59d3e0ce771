#pragma once
// Replacing a file whole, so a reader never sees a half-written file and a crash mid-write loses
// nothing stored before: write a temporary file in the same folder, flush it to disk, rename it
// over the target, then flush the folder. Everything happens inside an open folder, so nothing
// on the way to it is looked up again between the steps.
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace host {

// How the temporary files of a write of `name` begin: ".<name>.velkaro-write-" and then a random
// suffix. A file so named that outlives its write was left by a writer that was killed.
std::string temporaryNamePrefix(std::string_view name);

// Replaces the file `name` (a plain name) in the open folder `folderFd` whole. A symlink at
// `name` is replaced, never followed. The new file keeps the permission bits of the file it
// replaces, always with owner read and write added; a new file gets 0644. True when `bytes` are
// in place: a folder flush that fails after the rename is reported as a diagnostic, not as a
// failure, since the data is already there. On failure the old file is untouched, the temporary
// file is removed and `error` (if given) says why.
bool writeFileAtomicallyAt(int folderFd, std::string_view name, std::string_view bytes, std::string* error = nullptr);

// Writes `bytes` as a new file in the open folder under the first of nameFor(1), nameFor(2), ...
// that is free at the moment of the rename; an existing file is never replaced, so two writers
// never take the same name. The name used, or nothing (and `error`).
std::optional<std::string> writeNewFileAt(int folderFd, const std::function<std::string(int)>& nameFor, std::string_view bytes,
    std::string* error = nullptr);

// Removes the temporary files of `name` in the open folder. Only for a caller that knows no
// other write of `name` is at work (it holds their lock). The number removed.
int removeStaleTemporaryFiles(int folderFd, std::string_view name);

// writeFileAtomicallyAt for a path on this machine (not a device path): opens its folder first.
bool writeFileAtomically(const std::filesystem::path& path, std::string_view bytes, std::string* error = nullptr);

}  // namespace host
