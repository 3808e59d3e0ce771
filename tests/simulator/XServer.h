#pragma once
// What the window and display tests need from the machine: environment variables set for one
// scope, an X server to draw on, and display numbers nothing answers at.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>

namespace simtest {

// Sets an environment variable (or unsets it, given no value) for one scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::optional<std::string>& value) : _name(name) {
        if (const char* old = std::getenv(name)) _old = old;
        value ? setenv(name, value->c_str(), 1) : unsetenv(name);
    }
    ~ScopedEnv() { _old ? setenv(_name, _old->c_str(), 1) : unsetenv(_name); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* _name;
    std::optional<std::string> _old;
};

// A display number with no X server, no socket and no lock: ":N".
inline std::string freeDisplay(int from) {
    for (int n = from; n < from + 40; ++n) {
        const std::string number = std::to_string(n);
        if (!std::filesystem::exists("/tmp/.X11-unix/X" + number) && !std::filesystem::exists("/tmp/.X" + number + "-lock"))
            return ":" + number;
    }
    return ":" + std::to_string(from);
}

// The X server to test on: the one DISPLAY names, or an Xvfb started for the test and stopped after it.
class XServer {
public:
    XServer() {
        if (const char* display = std::getenv("DISPLAY"); display && *display) _ok = true;
        for (int n = 140; n < 160 && !_ok && _pid >= 0; ++n) {
            const std::string name = ":" + std::to_string(n), socket = "/tmp/.X11-unix/X" + std::to_string(n);
            if (std::filesystem::exists(socket) || std::filesystem::exists("/tmp/.X" + std::to_string(n) + "-lock")) continue;
            if ((_pid = fork()) == 0) {
                std::freopen("/dev/null", "w", stdout);
                std::freopen("/dev/null", "w", stderr);
                execlp("Xvfb", "Xvfb", name.c_str(), "-screen", "0", "1280x1024x24", "-nolisten", "tcp", nullptr);
                _exit(127);
            }
            for (int waited = 0; _pid > 0 && waited < 100 && !(_ok = std::filesystem::exists(socket)); ++waited) {
                if (waitpid(_pid, nullptr, WNOHANG) == _pid) _pid = 0;  // no Xvfb, or the display was taken
                else std::this_thread::sleep_for(std::chrono::milliseconds(100));
            }
            if (_ok) _display.emplace("DISPLAY", name);
        }
    }
    ~XServer() {
        _display.reset();
        if (_pid > 0) kill(_pid, SIGTERM), waitpid(_pid, nullptr, 0);
    }
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;
    bool ok() const { return _ok; }

private:
    bool _ok = false;
    pid_t _pid = 0;
    std::optional<ScopedEnv> _display;
};

}  // namespace simtest
