#pragma once
// Finds out, before SDL is asked, whether a display server really answers where DISPLAY and
// WAYLAND_DISPLAY point. SDL's own start can block on a dead address or quietly fall back to a
// driver that shows nothing; a short probe with a time limit says which drivers to try, or why
// no window can be opened.
#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace sim {

class DisplayProbe {
public:
    // Where an X display name (as in DISPLAY) is served: a local socket or a TCP port.
    struct XAddress {
        std::string socketPath;  // "/tmp/.X11-unix/X0"; empty for TCP
        std::string host;
        int port = 0;
        int display = 0;  // its number
    };
    static std::optional<XAddress> xAddress(const std::string& display);

    struct Result {
        std::vector<std::string> drivers;  // SDL's video drivers to try, in order; empty when none answers
        std::string why;                   // when `drivers` is empty: where it looked and what it found
        // The connection that found the X server, to be let go once SDL has its own: a server
        // whose last client leaves resets itself, and would drop a connection made meanwhile.
        std::shared_ptr<void> xConnection;
    };
    // Probes the X server named by DISPLAY (it must answer a connection request) and the Wayland
    // socket named by WAYLAND_DISPLAY, each within `timeout`.
    static Result probe(std::chrono::milliseconds timeout = std::chrono::milliseconds(1500));

    // Whether SDL's video driver of this name shows anything to a person.
    static bool isVisibleDriver(const std::string& name);

private:
    static std::string probeX(const std::string& display, std::chrono::milliseconds timeout, std::shared_ptr<void>& kept);
    static std::string probeWayland(const std::string& name, std::chrono::milliseconds timeout);
};

}  // namespace sim
