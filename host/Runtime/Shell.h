#pragma once
// The shell that the platform's system() runs: this machine's /bin/sh in a sandbox whose "/" is
// the device root. The kernel confines it, so whatever the command line does (redirections,
// expansions, nested shells, links in the device) it reaches only the device: this machine's
// programs and libraries are mounted read-only, each device mount (the bundle) read-only at its
// device path, and there is no network.
#include <string>
#include <string_view>

namespace host {

class Shell {
public:
    // system(): runs `command` with `sh -c` in the sandbox, from "/", and waits for it. Returns
    // the wait status as system() does (a command killed by a signal shows as exit 128 + signal),
    // or -1, with a diagnostic, when the command was refused because no device root is installed
    // or the sandbox could not start; a refused command never runs unconfined.
    static int system(std::string_view command);

    // Tests: the sandbox program to start instead of bubblewrap's; empty for bubblewrap's.
    static void setSandboxProgramForTesting(std::string path);
};

}  // namespace host
