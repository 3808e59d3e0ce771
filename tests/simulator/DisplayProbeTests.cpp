// The display probe: display names read as the X library reads them, and a display counts only
// when a server answers there in time: a live Xvfb does, a dead number and a port that takes the
// connection but never replies do not, each within the time limit.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <tuple>

#include "simulator/DisplayProbe.h"
#include "tests/simulator/XServer.h"

namespace {

using sim::DisplayProbe;
using simtest::ScopedEnv;

TEST(DisplayProbeTest, ReadsDisplayNames) {
    using Address = DisplayProbe::XAddress;
    const std::pair<const char*, std::optional<Address>> cases[] = {
        {":0", Address{"/tmp/.X11-unix/X0", "", 0}}, {":97.1", Address{"/tmp/.X11-unix/X97", "", 0}},
        {"unix:3", Address{"/tmp/.X11-unix/X3", "", 0}}, {"localhost:10.0", Address{"", "localhost", 6010}},
        {"tcp/:2", Address{"", "localhost", 6002}}, {"[::1]:1", Address{"", "::1", 6001}},
        {"", std::nullopt}, {"0", std::nullopt}, {":x", std::nullopt}, {":", std::nullopt}, {"node::0", std::nullopt},
        {"localhost:99999", std::nullopt},
    };
    const auto fields = [](const std::optional<DisplayProbe::XAddress>& a) {
        return a ? std::optional(std::tuple(a->socketPath, a->host, a->port)) : std::nullopt;
    };
    for (const auto& [display, expected] : cases) EXPECT_EQ(fields(DisplayProbe::xAddress(display)), fields(expected)) << display;
}

// A TCP display port on this machine that takes connections and never says a word.
class SilentPort {
public:
    SilentPort() {
        for (int n = 70; n < 100 && _display.empty(); ++n) {
            const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
            sockaddr_in address{};
            address.sin_family = AF_INET;
            address.sin_port = htons(static_cast<uint16_t>(6000 + n));
            address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 && ::listen(fd, 4) == 0) {
                _fd = fd;
                _display = "127.0.0.1:" + std::to_string(n);
            } else {
                ::close(fd);
            }
        }
    }
    ~SilentPort() { if (_fd >= 0) ::close(_fd); }
    const std::string& display() const { return _display; }

private:
    int _fd = -1;
    std::string _display;
};

TEST(DisplayProbeTest, CountsOnlyAServerThatAnswersInTime) {
    using namespace std::chrono;
    const ScopedEnv noWayland("WAYLAND_DISPLAY", std::nullopt);
    const SilentPort silent;
    ASSERT_FALSE(silent.display().empty());
    const std::string dead = simtest::freeDisplay(180);
    const std::pair<std::string, std::string> cases[] = {
        {dead, "no display answers at DISPLAY=" + dead + " (nothing listens at /tmp/.X11-unix/X" + dead.substr(1)},
        {silent.display(), "it took the connection but gave no answer in time"},
    };
    for (const auto& [display, why] : cases) {
        const ScopedEnv env("DISPLAY", display);
        const auto start = steady_clock::now();
        const auto result = DisplayProbe::probe(milliseconds(300));
        EXPECT_LT(steady_clock::now() - start, seconds(2)) << display;
        EXPECT_TRUE(result.drivers.empty()) << display;
        EXPECT_NE(result.why.find(why), std::string::npos) << display << ": " << result.why;
    }

    const simtest::XServer server;
    if (!server.ok()) GTEST_SKIP() << "no X server could be started";
    const auto live = DisplayProbe::probe();
    EXPECT_EQ(live.drivers, std::vector<std::string>{"x11"}) << live.why;
}

}  // namespace
