#pragma once
// Runs test code in a child process, for what must not share the test's process: blocking calls,
// concurrent writers, lowered limits, dropped privileges.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include <csignal>

#include <linux/capability.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace test {

struct Child {
    pid_t pid;
    int out;
};

// Starts `body` in a child; the child sends back the text `body` returns.
inline Child spawn(const std::function<std::string()>& body) {
    int fds[2];
    if (::pipe(fds) != 0) return {-1, -1};
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        const std::string text = body();
        ::_exit(::write(fds[1], text.data(), text.size()) == ssize_t(text.size()) ? 0 : 1);
    }
    ::close(fds[1]);
    return {pid, fds[0]};
}

// The child's text once it has ended; a child that died or could not send it fails the test.
inline std::string finish(const Child& child) {
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = ::read(child.out, buffer, sizeof buffer)) > 0;) text.append(buffer, size_t(n));
    ::close(child.out);
    int status = 0;
    EXPECT_EQ(::waitpid(child.pid, &status, 0), child.pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the child failed with status " << status;
    return text;
}

// Lowers the file size limit for the rest of a child: writes past it fail with EFBIG, root's too.
inline bool limitFileSize(rlim_t bytes) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{bytes, bytes};
    return ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
}

// Drops, for the rest of a child, the capabilities that let root read and write past permission
// bits, so that it meets them as any user does.
inline bool dropPermissionOverrides() {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2]{};
    if (::syscall(SYS_capget, &header, data) != 0) return false;
    for (int cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH}) data[cap / 32].effective &= ~(1u << (cap % 32));
    return ::syscall(SYS_capset, &header, data) == 0;
}

}  // namespace test
