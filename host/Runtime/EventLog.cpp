#include "host/Runtime/EventLog.h"

#include "host/Runtime/RunLoop.h"

namespace host {

EventLog& EventLog::shared() {
    static EventLog log;
    return log;
}

void EventLog::record(std::string kind, std::map<std::string, std::string> fields) {
    Event event{RunLoop::main().now(), std::move(kind), std::move(fields)};
    _events.push_back(std::move(event));
    ++_recorded;
    if (_events.size() > kCapacity) _events.pop_front();
    if (_listener) _listener(_events.back());
}

std::vector<Event> EventLog::eventsOfKind(const std::string& kind) const {
    std::vector<Event> out;
    for (const auto& e : _events)
        if (e.kind == kind) out.push_back(e);
    return out;
}

}  // namespace host
