#pragma once
// What reached the outside of the bundle (stored preferences, posted notifications, opened
// addresses, presented sheets, written mails) and the host's own diagnostics, in order. The
// simulator writes it as JSON lines; tests read it as their recorder.
#include <cstddef>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace host {

struct Event {
    double time = 0;            // seconds on the main run loop's clock
    std::string kind;           // "preference", "notification", "openURL", "sheet", "mail", "diagnostic", ...
    std::map<std::string, std::string> fields;

    std::string field(const std::string& name) const {
        auto it = fields.find(name);
        return it == fields.end() ? std::string() : it->second;
    }
};

class EventLog {
public:
    using Listener = std::function<void(const Event&)>;

    static EventLog& shared();

    void record(std::string kind, std::map<std::string, std::string> fields);
    void diagnostic(const std::string& message) { record("diagnostic", {{"message", message}}); }

    // Only the newest kCapacity events are kept, so a long session does not grow without bound;
    // the listener sees every one. Events are numbered from 0 since the last clear().
    static constexpr std::size_t kCapacity = 10000;
    const std::deque<Event>& events() const { return _events; }
    std::vector<Event> eventsOfKind(const std::string& kind) const;
    std::size_t recorded() const { return _recorded; }                   // the next event's number
    std::size_t firstKept() const { return _recorded - _events.size(); }  // the number of events().front()
    void clear() {
        _events.clear();
        _recorded = 0;
    }

    // Called for every event as it is recorded (the simulator streams them to its log file).
    void setListener(Listener listener) { _listener = std::move(listener); }

private:
    std::deque<Event> _events;
    std::size_t _recorded = 0;
    Listener _listener;
};

}  // namespace host
