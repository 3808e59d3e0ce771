#include "host/System/DeviceRoot.h"

#include <fstream>
#include <map>
#include <sstream>

#include "host/System/EventLog.h"

namespace host {
namespace {

struct State {
    std::filesystem::path root;
    bool installed = false;
    std::map<std::string, std::filesystem::path> mounts;  // normalised device prefix -> host directory
};

State& state() {
    static State s;
    return s;
}

}  // namespace

void DeviceRoot::install(std::filesystem::path rootDirectory) {
    state().root = std::move(rootDirectory);
    state().installed = true;
    state().mounts.clear();
}

void DeviceRoot::uninstall() { state() = State{}; }
bool DeviceRoot::isInstalled() { return state().installed; }
const std::filesystem::path& DeviceRoot::directory() { return state().root; }

void DeviceRoot::mount(std::string devicePrefix, std::filesystem::path hostDirectory) {
    if (auto normal = normalize(devicePrefix)) state().mounts[*normal] = std::move(hostDirectory);
}

std::vector<std::pair<std::string, std::filesystem::path>> DeviceRoot::mounts() {
    return {state().mounts.begin(), state().mounts.end()};
}

std::optional<std::string> DeviceRoot::normalize(std::string_view devicePath) {
    if (devicePath.empty() || devicePath.front() != '/' || devicePath.find('\0') != std::string_view::npos)
        return std::nullopt;
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (start <= devicePath.size()) {
        std::size_t end = devicePath.find('/', start);
        if (end == std::string_view::npos) end = devicePath.size();
        std::string_view part = devicePath.substr(start, end - start);
        if (part == "..") {
            if (parts.empty()) return std::nullopt;  // would climb above the device's "/"
            parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string out;
    for (auto part : parts) out.append("/").append(part);
    return out.empty() ? std::string("/") : out;
}

std::optional<std::filesystem::path> DeviceRoot::resolve(std::string_view devicePath) {
    if (!state().installed) return std::nullopt;
    auto normal = normalize(devicePath);
    if (!normal) {
        EventLog::shared().diagnostic("refused device path outside the device root: " + std::string(devicePath));
        return std::nullopt;
    }
    // The longest mounted prefix that covers the path wins.
    const std::filesystem::path* base = &state().root;
    std::string rest = *normal;
    std::size_t bestLength = 0;
    for (const auto& [prefix, directory] : state().mounts) {
        const bool covers = *normal == prefix || (normal->compare(0, prefix.size(), prefix) == 0 &&
                                                     (prefix == "/" || (*normal)[prefix.size()] == '/'));
        if (covers && prefix.size() >= bestLength) {
            bestLength = prefix.size();
            base = &directory;
            rest = normal->substr(prefix == "/" ? 0 : prefix.size());
        }
    }
    if (rest.empty() || rest == "/") return *base;
    return *base / rest.substr(1);
}

std::optional<std::string> DeviceRoot::readFile(std::string_view devicePath) {
    auto path = resolve(devicePath);
    if (!path) return std::nullopt;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(*path, ec)) return std::nullopt;
    std::ifstream in(*path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

}  // namespace host
