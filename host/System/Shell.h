#pragma once
// The shell that the platform's system() runs: a command line handed to /bin/sh on this machine.
// Programs named in the command are this machine's; files named by redirections are device
// paths, mapped into the device root, so the command's output lands where the bundle looks.
#include <string>
#include <string_view>

namespace host {

class Shell {
public:
    // system(): runs `command` through /bin/sh and waits for it. Returns the wait status as
    // system() does, or -1 when the command was refused (a redirection whose target is not an
    // absolute device path inside the device root, or holds an expansion) or could not start.
    // "/dev/null" is left as it is.
    static int system(std::string_view command);
};

}  // namespace host
