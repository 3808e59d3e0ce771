#include "simulator/EventLogWriter.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstring>

#include <nlohmann/json.hpp>

#include "host/Runtime/EventLog.h"

namespace sim {

EventLogWriter::EventLogWriter(const std::filesystem::path& path) {
    std::error_code ec;
    _path = std::filesystem::absolute(path, ec);
    if (ec) _path = path;
    if (_path.has_parent_path()) std::filesystem::create_directories(_path.parent_path(), ec);
    _fd = ::open(_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (_fd < 0) fail("cannot write", errno);
}

EventLogWriter::~EventLogWriter() { close(); }

void EventLogWriter::fail(const char* what, int error) {
    if (_error.empty()) _error = std::string(what) + " the event log " + _path.string() + ": " + std::strerror(error);
}

bool EventLogWriter::write(const host::Event& event) {
    if (!isOpen()) return false;
    // One write per line, unbuffered: what a crash leaves is whole lines.
    const std::string text = line(event) + '\n';
    for (std::size_t done = 0; done < text.size();) {
        const ssize_t n = ::write(_fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            fail("cannot write", n < 0 ? errno : ENOSPC);
            return false;
        }
        done += std::size_t(n);
    }
    return true;
}

bool EventLogWriter::close() {
    if (_fd >= 0) {
        // Some file systems report a lost write only here.
        if (::close(_fd) != 0 && errno != EINTR) fail("cannot finish", errno);
        _fd = -1;
    }
    return _error.empty();
}

std::string EventLogWriter::line(const host::Event& event) {
    nlohmann::ordered_json fields = nlohmann::ordered_json::object();
    for (const auto& [name, value] : event.fields) fields[name] = value;
    // Times to the microsecond: the manual clock's sums (0.1 + 0.2) read as written. Times too
    // large to scale are written as they are; a time that is not a number at all is written as 0
    // rather than as JSON's null.
    const double scaled = std::round(event.time * 1e6) / 1e6;
    const double time = std::isfinite(scaled) ? scaled : std::isfinite(event.time) ? event.time : 0;
    nlohmann::ordered_json object = {{"time", time}, {"kind", event.kind}, {"fields", std::move(fields)}};
    // Invalid UTF-8 from a broken resource is replaced rather than thrown on.
    return object.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

}  // namespace sim
