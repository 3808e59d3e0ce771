#include "simulator/ScratchFolder.h"

#include <cerrno>
#include <cstring>
#include <cstdlib>
#include <system_error>

namespace sim {

std::optional<ScratchFolder> ScratchFolder::create(const std::string& prefix, std::string* error) {
    std::error_code ec;
    const auto base = std::filesystem::temp_directory_path(ec);
    if (ec) {
        if (error) *error = "no temporary folder: " + ec.message();
        return std::nullopt;
    }
    std::string pattern = (base / (prefix + "XXXXXX")).string();
    if (!::mkdtemp(pattern.data())) {
        if (error) *error = "cannot create a folder in " + base.string() + ": " + std::strerror(errno);
        return std::nullopt;
    }
    return ScratchFolder(pattern);
}

ScratchFolder::ScratchFolder(ScratchFolder&& other) noexcept : _path(std::move(other._path)), _keep(other._keep) {
    other._path.clear();
}

ScratchFolder::~ScratchFolder() {
    if (_path.empty() || _keep) return;
    std::error_code ec;  // what cannot be removed stays in the temporary folder, which is cleaned anyway
    std::filesystem::remove_all(_path, ec);
}

}  // namespace sim
