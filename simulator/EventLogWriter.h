#pragma once
// Writes host events as JSON lines, one object per event: {"time": seconds, "kind": "...",
// "fields": {...}}. Each line is flushed as it is written, so the log is whole up to a crash.
#include <filesystem>
#include <fstream>
#include <string>

namespace host {
struct Event;
}

namespace sim {

class EventLogWriter {
public:
    // Opens (truncates) the file, creating its folder. Check isOpen().
    explicit EventLogWriter(const std::filesystem::path& path);

    bool isOpen() const { return _out.is_open() && _out.good(); }
    const std::filesystem::path& path() const { return _path; }
    void write(const host::Event& event);

    // One event as its JSON line (no newline).
    static std::string line(const host::Event& event);

private:
    std::filesystem::path _path;
    std::ofstream _out;
};

}  // namespace sim
