#include "simulator/DisplayProbe.h"

#include <X11/Xauth.h>
#include <arpa/inet.h>
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

// The connection request, little-endian, protocol 11.0, with the user's authorisation cookie for
// the display where there is one: after a refused request the server is slow to take the
// window's own connection.
std::string connectionRequest(const sockaddr* peer, int display) {
    unsigned short family = 256;  // FamilyLocal: this host, by its name
    std::string address;
    if (peer && peer->sa_family == AF_INET) {
        const auto* in = reinterpret_cast<const sockaddr_in*>(peer);
        if (ntohl(in->sin_addr.s_addr) >> 24 != 127) family = 0, address.assign(reinterpret_cast<const char*>(&in->sin_addr), 4);
    } else if (peer && peer->sa_family == AF_INET6) {
        const auto* in6 = reinterpret_cast<const sockaddr_in6*>(peer);
        if (!IN6_IS_ADDR_LOOPBACK(&in6->sin6_addr)) family = 6, address.assign(reinterpret_cast<const char*>(&in6->sin6_addr), 16);
    }
    if (family == 256) {
        char host[256] = {};
        ::gethostname(host, sizeof host - 1);
        address = host;
    }
    const std::string number = std::to_string(display);
    char type[] = "MIT-MAGIC-COOKIE-1";
    char* types[] = {type};
    int typeLengths[] = {static_cast<int>(sizeof type - 1)};
    std::string name, data;
    if (Xauth* auth = ::XauGetBestAuthByAddr(family, static_cast<unsigned short>(address.size()), address.data(),
            static_cast<unsigned short>(number.size()), number.data(), 1, types, typeLengths)) {
        name.assign(auth->name, auth->name_length);
        data.assign(auth->data, auth->data_length);
        ::XauDisposeAuth(auth);
    }
    std::string request{'l', 0, 11, 0, 0, 0};
    for (const std::string* part : {&name, &data}) request += {char(part->size() & 0xff), char(part->size() >> 8)};
    request.append(2, '\0');
    for (const std::string* part : {&name, &data}) request += *part + std::string((4 - part->size() % 4) % 4, '\0');
    return request;
}

// An X server answers a connection request at once, even one it refuses; a socket that takes
// the connection and says nothing is no display.
std::string awaitXReply(const Socket& socket, const sockaddr* peer, int display, Clock::time_point deadline) {
    const std::string request = connectionRequest(peer, display);
    if (::send(socket.fd(), request.data(), request.size(), MSG_NOSIGNAL) != ssize_t(request.size()))
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
    address.display = n;
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

std::string DisplayProbe::probeX(const std::string& display, std::chrono::milliseconds timeout, std::shared_ptr<void>& kept) {
    const auto address = xAddress(display);
    if (!address) return "not a display name";
    const auto deadline = Clock::now() + timeout;
    if (!address->socketPath.empty()) {
        // Like the X library: the abstract socket first, then the file.
        for (bool abstract : {true, false}) {
            auto socket = std::make_shared<Socket>(AF_UNIX);
            const std::string why = connectUnix(*socket, address->socketPath, abstract, deadline);
            if (why.empty()) {
                const std::string reply = awaitXReply(*socket, nullptr, address->display, deadline);
                if (reply.empty()) kept = socket;
                return reply;
            }
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
        auto socket = std::make_shared<Socket>(a->ai_family);
        why = connectBy(*socket, a->ai_addr, a->ai_addrlen, deadline);
        if (why.empty()) why = awaitXReply(*socket, a->ai_addr, address->display, deadline);
        if (why.empty()) {
            kept = socket;
            break;
        }
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
    const auto tryOne = [&](const char* variable, const char* value, const char* driver, const auto& probeOne) {
        if (!value || !*value) return;
        if (const std::string why = probeOne(value, timeout); !why.empty())
            reasons.push_back(std::string(variable) + "=" + value + " (" + why + ")");
        else
            result.drivers.emplace_back(driver);
    };
    tryOne("DISPLAY", x, "x11", [&](const std::string& display, std::chrono::milliseconds limit) {
        return probeX(display, limit, result.xConnection);
    });
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
