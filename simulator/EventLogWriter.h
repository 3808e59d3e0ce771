#pragma once
// Writes host events as JSON lines, one object per event: {"time": seconds, "kind": "...",
// "fields": {...}}. Each line goes to the file as it is written, so the log is whole up to a
// crash. A log that cannot be written is never lost in silence: the first failure is kept and
// the writer stops; the program reports it and ends with a failure.
#include <filesystem>
#include <string>

namespace host {
struct Event;
}

namespace sim {

class EventLogWriter {
public:
    // Opens (truncates) the file, creating its folder. Check isOpen().
    explicit EventLogWriter(const std::filesystem::path& path);
    ~EventLogWriter();
    EventLogWriter(const EventLogWriter&) = delete;
    EventLogWriter& operator=(const EventLogWriter&) = delete;

    // Open, and no write has failed.
    bool isOpen() const { return _fd >= 0 && _error.empty(); }
    const std::filesystem::path& path() const { return _path; }  // absolute
    // False once the file could not be opened or a write failed; error() says why.
    bool write(const host::Event& event);
    // Closes the file; false when closing, or anything before it, failed.
    bool close();
    // "cannot write the event log /abs/path: reason", or empty.
    const std::string& error() const { return _error; }

    // One event as its JSON line (no newline).
    static std::string line(const host::Event& event);

private:
    void fail(const char* what, int error);

    std::filesystem::path _path;
    int _fd = -1;
    std::string _error;
};

}  // namespace sim
