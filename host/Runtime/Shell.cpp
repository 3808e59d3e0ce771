#include "host/Runtime/Shell.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>
#include <vector>

#include "host/Runtime/DeviceRoot.h"
#include "host/Runtime/EventLog.h"

namespace host {
namespace {

constexpr const char* kSandboxProgram = "/usr/bin/bwrap";
// This machine's programs and libraries, seen read-only at the same paths (on a merged-/usr
// system the others are links into /usr; a bind follows them).
constexpr const char* kSystemFolders[] = {"/usr", "/bin", "/lib", "/lib64", "/sbin"};
constexpr const char* kPath = "/usr/bin:/bin:/usr/sbin:/sbin";

std::string& sandboxProgramOverride() {
    static std::string path;
    return path;
}

// The first link on the way to the device path `mountPoint`, if any. The sandbox creates its
// mount points from outside the device, so it would follow such a link out of it.
std::optional<std::string> linkBefore(const std::filesystem::path& root, const std::string& mountPoint) {
    std::filesystem::path host = root;
    std::string device;
    for (const auto& part : std::filesystem::path(mountPoint).relative_path()) {
        host /= part;
        device += "/" + part.string();
        std::error_code ec;
        const auto type = std::filesystem::symlink_status(host, ec).type();
        if (type == std::filesystem::file_type::symlink) return device;
        if (type != std::filesystem::file_type::directory) break;  // missing: the sandbox makes a folder
    }
    return std::nullopt;
}

// The sandbox's command line for `command`, reporting on `statusFd`; nothing, with `why` set,
// when the device cannot be mounted safely.
std::optional<std::vector<std::string>> sandboxArguments(std::string_view command, int statusFd, std::string& why) {
    const auto& root = DeviceRoot::directory();
    std::vector<std::string> args = {"bwrap", "--unshare-all", "--die-with-parent", "--new-session",
        "--clearenv", "--setenv", "PATH", kPath, "--setenv", "LANG", "C",
        "--json-status-fd", std::to_string(statusFd), "--bind", root.string(), "/"};
    std::vector<std::string> mountPoints;
    for (const char* folder : kSystemFolders) {
        std::error_code ec;
        if (!std::filesystem::exists(folder, ec)) continue;
        args.insert(args.end(), {"--ro-bind", folder, folder});
        mountPoints.push_back(folder);
    }
    args.insert(args.end(), {"--dev", "/dev", "--proc", "/proc"});
    mountPoints.insert(mountPoints.end(), {"/dev", "/proc"});
    for (const auto& [devicePrefix, hostDirectory] : DeviceRoot::mounts()) {
        args.insert(args.end(), {"--ro-bind", hostDirectory.string(), devicePrefix});
        mountPoints.push_back(devicePrefix);
    }
    for (const auto& mountPoint : mountPoints) {
        if (const auto link = linkBefore(root, mountPoint)) {
            why = "the device's " + *link + " is a link, where the sandbox mounts " + mountPoint;
            return std::nullopt;
        }
    }
    args.insert(args.end(), {"--chdir", "/", "/bin/sh", "-c", std::string(command)});
    return args;
}

// What the sandbox wrote on its status descriptor.
std::string drain(int fd) {
    std::string text;
    char buffer[512];
    for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) != 0;) {
        if (n < 0) {
            if (errno == EINTR) continue;
            break;
        }
        text.append(buffer, std::size_t(n));
    }
    return text;
}

int refuse(std::string_view command, const std::string& why) {
    EventLog::shared().diagnostic("refused shell command, " + why + ": " + std::string(command));
    EventLog::shared().record("shell", {{"command", std::string(command)}, {"status", "refused"}});
    return -1;
}

}  // namespace

void Shell::setSandboxProgramForTesting(std::string path) { sandboxProgramOverride() = std::move(path); }

int Shell::system(std::string_view command) {
    if (!DeviceRoot::isInstalled()) return refuse(command, "no device root is installed");
    const std::string program = sandboxProgramOverride().empty() ? kSandboxProgram : sandboxProgramOverride();

    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) return refuse(command, std::string("no pipe: ") + std::strerror(errno));
    const int statusFd = pipeFds[1] == 3 ? 4 : 3;  // the number the sandbox sees
    std::string why;
    const auto args = sandboxArguments(command, statusFd, why);
    if (!args) {
        close(pipeFds[0]);
        close(pipeFds[1]);
        return refuse(command, why);
    }
    std::vector<char*> argv;
    for (const auto& arg : *args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    std::string path = std::string("PATH=") + kPath, lang = "LANG=C";
    char* envp[] = {path.data(), lang.data(), nullptr};

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], statusFd);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    if (spawned != 0) {
        close(pipeFds[0]);
        return refuse(command, "cannot start the sandbox " + program + ": " + std::strerror(spawned));
    }
    int status = -1;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) {
            status = -1;
            break;
        }
    }
    // The sandbox reports an exit code only for a command that started, which tells a set-up
    // failure from the command's own. Its processes ended with it, so reading cannot block.
    fcntl(pipeFds[0], F_SETFL, O_NONBLOCK);
    const std::string report = drain(pipeFds[0]);
    close(pipeFds[0]);
    if (report.find("\"exit-code\"") == std::string::npos) {
        const std::string how = status == -1 ? std::string("was lost")
                                : WIFEXITED(status) ? "exited with " + std::to_string(WEXITSTATUS(status))
                                                    : "was killed by signal " + std::to_string(WTERMSIG(status));
        return refuse(command, "the sandbox " + program + " could not be set up (it " + how + ")");
    }
    EventLog::shared().record("shell", {{"command", std::string(command)}, {"status", std::to_string(status)}});
    return status;
}

}  // namespace host
