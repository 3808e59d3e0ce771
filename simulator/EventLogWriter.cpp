#include "simulator/EventLogWriter.h"

#include <cmath>

#include <nlohmann/json.hpp>

#include "host/System/EventLog.h"

namespace sim {

EventLogWriter::EventLogWriter(const std::filesystem::path& path) : _path(path) {
    std::error_code ec;
    if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), ec);
    _out.open(path, std::ios::out | std::ios::trunc);
}

void EventLogWriter::write(const host::Event& event) {
    if (!_out.is_open()) return;
    _out << line(event) << '\n';
    _out.flush();
}

std::string EventLogWriter::line(const host::Event& event) {
    nlohmann::ordered_json fields = nlohmann::ordered_json::object();
    for (const auto& [name, value] : event.fields) fields[name] = value;
    // Times to the microsecond: the manual clock's sums (0.1 + 0.2) read as written.
    const double time = std::round(event.time * 1e6) / 1e6;
    nlohmann::ordered_json object = {{"time", time}, {"kind", event.kind}, {"fields", std::move(fields)}};
    // Invalid UTF-8 from a broken resource is replaced rather than thrown on.
    return object.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

}  // namespace sim
