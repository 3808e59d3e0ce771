#include "simulator/DisplayProbe.h"

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace sim {
namespace {

using Clock = std::chrono::steady_clock;

class Socket {
public:
    explicit Socket(int domain) : _fd(::socket(domain, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0)) {}
    ~Socket() {
        if (_fd >= 0) ::close(_fd);
    }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    int fd() const { return _fd; }

private:
    int _fd;
};

int millisecondsLeft(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

// Waits for `events` on the socket until the deadline; empty when they came, else why not.
std::string await(int fd, short events, Clock::time_point deadline) {
    pollfd p{fd, events, 0};
    for (;;) {
        const int ready = ::poll(&p, 1, millisecondsLeft(deadline));
        if (ready > 0) return {};
        if (ready == 0) return "no answer in time";
        if (errno != EINTR) return std::strerror(errno);
    }
}

// Connects without waiting past the deadline; empty on success, else why not.
std::string connectBy(const Socket& socket, const sockaddr* address, socklen_t length, Clock::time_point deadline) {
    if (socket.fd() < 0) return std::strerror(errno);
    if (::connect(socket.fd(), address, length) == 0) return {};
    if (errno != EINPROGRESS && errno != EINTR) return std::strerror(errno);
    if (auto why = await(socket.fd(), POLLOUT, deadline); !why.empty()) return why;
    int error = 0;
    socklen_t size = sizeof error;
    if (::getsockopt(socket.fd(), SOL_SOCKET, SO_ERROR, &error, &size) != 0) return std::strerror(errno);
    return error ? std::strerror(error) : std::string();
}

std::string connectUnix(const Socket& socket, const std::string& path, bool abstract, Clock::time_point deadline) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const size_t offset = abstract ? 1 : 0;  // an abstract name starts with a zero byte
    if (path.size() + offset >= sizeof address.sun_path) return "the socket path is too long";
    std::memcpy(address.sun_path + offset, path.data(), path.size());
    const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + offset + path.size() + (abstract ? 0 : 1));
    return connectBy(socket, reinterpret_cast<const sockaddr*>(&address), length, deadline);
}

// An X server answers a connection request at once, even one it refuses for want of
// authorisation; a socket that takes the connection and says nothing is no display.
std::string awaitXReply(const Socket& socket, Clock::time_point deadline) {
    // Little-endian byte order, protocol 11.0, no authorisation.
    const unsigned char request[12] = {'l', 0, 11, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    if (::send(socket.fd(), request, sizeof request, MSG_NOSIGNAL) != ssize_t(sizeof request))
        return std::string("cannot send to it: ") + std::strerror(errno);
    if (auto why = await(socket.fd(), POLLIN, deadline); !why.empty()) return "it took the connection but gave " + why;
    unsigned char status = 0xff;
    const ssize_t got = ::recv(socket.fd(), &status, 1, 0);
    if (got == 0) return "it closed the connection without a word";
    if (got < 0) return std::strerror(errno);
    return status <= 2 ? std::string() : "what answers is not an X server";
}

}  // namespace

std::optional<DisplayProbe::XAddress> DisplayProbe::xAddress(const std::string& display) {
    // [protocol/][host]:number[.screen]
    std::string rest = display;
    std::string protocol;
    if (const auto slash = rest.find('/'); slash != std::string::npos && slash < rest.rfind(':')) {
        protocol = rest.substr(0, slash);
        rest = rest.substr(slash + 1);
    }
    const auto colon = rest.rfind(':');
    if (colon == std::string::npos) return std::nullopt;
    const std::string host = rest.substr(0, colon);
    std::string number = rest.substr(colon + 1);
    if (const auto dot = number.find('.'); dot != std::string::npos) number.resize(dot);
    if (number.empty() || number.size() > 5 || number.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    if (!host.empty() && host.back() == ':') return std::nullopt;  // "node::0" is DECnet
    const int n = std::atoi(number.c_str());
    XAddress address;
    if ((host.empty() && protocol != "tcp") || host == "unix" || protocol == "unix") {
        address.socketPath = "/tmp/.X11-unix/X" + std::to_string(n);
        return address;
    }
    address.host = host.empty() ? "localhost" : host;
    if (address.host.front() == '[' && address.host.back() == ']') address.host = address.host.substr(1, address.host.size() - 2);
    address.port = 6000 + n;
    if (address.port > 65535) return std::nullopt;
    return address;
}

std::string DisplayProbe::probeX(const std::string& display, std::chrono::milliseconds timeout) {
    const auto address = xAddress(display);
    if (!address) return "not a display name";
    const auto deadline = Clock::now() + timeout;
    if (!address->socketPath.empty()) {
        // Like the X library: the abstract socket first, then the file.
        for (bool abstract : {true, false}) {
            Socket socket(AF_UNIX);
            const std::string why = connectUnix(socket, address->socketPath, abstract, deadline);
            if (why.empty()) return awaitXReply(socket, deadline);
            if (!abstract) return "nothing listens at " + address->socketPath + ": " + why;
        }
    }
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const std::string port = std::to_string(address->port);
    if (const int rc = ::getaddrinfo(address->host.c_str(), port.c_str(), &hints, &found); rc != 0)
        return "cannot find the host " + address->host + ": " + ::gai_strerror(rc);
    std::string why = "no address";
    for (const addrinfo* a = found; a; a = a->ai_next) {
        Socket socket(a->ai_family);
        why = connectBy(socket, a->ai_addr, a->ai_addrlen, deadline);
        if (why.empty()) why = awaitXReply(socket, deadline);
        if (why.empty()) break;
    }
    ::freeaddrinfo(found);
    return why.empty() ? why : "nothing answers at " + address->host + ":" + port + ": " + why;
}

std::string DisplayProbe::probeWayland(const std::string& name, std::chrono::milliseconds timeout) {
    std::string path = name;
    if (path.front() != '/') {
        const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        if (!runtime || !*runtime) return "XDG_RUNTIME_DIR is not set";
        path = std::string(runtime) + "/" + name;
    }
    Socket socket(AF_UNIX);
    const std::string why = connectUnix(socket, path, false, Clock::now() + timeout);
    return why.empty() ? why : "nothing listens at " + path + ": " + why;
}

DisplayProbe::Result DisplayProbe::probe(std::chrono::milliseconds timeout) {
    const char* x = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    std::vector<std::string> reasons;
    Result result;
    const auto tryOne = [&](const char* variable, const char* value, const char* driver, auto probeOne) {
        if (!value || !*value) return;
        if (const std::string why = probeOne(value, timeout); !why.empty())
            reasons.push_back(std::string(variable) + "=" + value + " (" + why + ")");
        else
            result.drivers.emplace_back(driver);
    };
    tryOne("DISPLAY", x, "x11", &DisplayProbe::probeX);
    tryOne("WAYLAND_DISPLAY", wayland, "wayland", &DisplayProbe::probeWayland);
    if (!result.drivers.empty()) return result;
    if (reasons.empty()) result.why = "no display: DISPLAY and WAYLAND_DISPLAY are unset";
    for (const auto& reason : reasons) result.why += (result.why.empty() ? "no display answers at " : " or ") + reason;
    return result;
}

bool DisplayProbe::isVisibleDriver(const std::string& name) {
    // SDL's stand-ins for a missing display: they draw into memory, or nowhere.
    return !name.empty() && name != "offscreen" && name != "dummy" && name != "evdev";
}

}  // namespace sim
