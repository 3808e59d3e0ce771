#include "host/System/Shell.h"

#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>

#include "host/System/DeviceRoot.h"
#include "host/System/EventLog.h"

extern char** environ;

namespace host {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
// Characters that end an unquoted word of /bin/sh.
bool endsWord(char c) { return isBlank(c) || c == '\n' || std::strchr(";&|<>()", c) != nullptr; }

// Reads the redirection target starting at `i` (blanks already skipped), removing its quotes.
// Nothing when the word is empty, unterminated, or would be expanded by the shell: a mapped
// target is passed quoted, so an expansion could not happen as written.
std::optional<std::string> readTarget(std::string_view cmd, std::size_t& i) {
    std::string word;
    bool quoted = false;
    while (i < cmd.size() && !endsWord(cmd[i])) {
        const char c = cmd[i];
        if (c == '$' || c == '`') return std::nullopt;
        if (c == '\\') {
            if (i + 1 >= cmd.size()) return std::nullopt;
            word += cmd[i + 1];
            i += 2;
        } else if (c == '\'') {
            const auto end = cmd.find('\'', i + 1);
            if (end == std::string_view::npos) return std::nullopt;
            word.append(cmd.substr(i + 1, end - i - 1));
            i = end + 1;
            quoted = true;
        } else if (c == '"') {
            ++i;
            while (i < cmd.size() && cmd[i] != '"') {
                if (cmd[i] == '$' || cmd[i] == '`') return std::nullopt;
                if (cmd[i] == '\\' && i + 1 < cmd.size() && std::strchr("\"\\\n", cmd[i + 1])) ++i;
                word += cmd[i++];
            }
            if (i >= cmd.size()) return std::nullopt;
            ++i;
            quoted = true;
        } else {
            word += c;
            ++i;
        }
    }
    if (word.empty() && !quoted) return std::nullopt;
    return word;
}

// Copies a quoted string starting at `i` through to its closing quote; false when unterminated.
bool copyQuoted(std::string_view cmd, std::size_t& i, std::string& out) {
    const char quote = cmd[i];
    std::size_t j = i + 1;
    while (j < cmd.size() && cmd[j] != quote) j += (quote == '"' && cmd[j] == '\\') ? 2 : 1;
    if (j >= cmd.size()) return false;
    out.append(cmd.substr(i, j - i + 1));
    i = j + 1;
    return true;
}

// `text` as one single-quoted word of /bin/sh.
std::string quote(std::string_view text) {
    std::string out = "'";
    for (char c : text) {
        if (c == '\'') out += "'\\''";
        else out += c;
    }
    return out + "'";
}

// The command with every redirection target replaced by its host path, single-quoted ("/dev/null"
// stays itself); nothing when a target is refused.
std::optional<std::string> mapRedirections(std::string_view cmd) {
    std::string out;
    std::size_t i = 0;
    bool wordStart = true;
    while (i < cmd.size()) {
        const char c = cmd[i];
        if (c == '\\') {
            out.append(cmd.substr(i, 2));
            i += 2;
            wordStart = false;
        } else if (c == '\'' || c == '"') {
            if (!copyQuoted(cmd, i, out)) return std::nullopt;
            wordStart = false;
        } else if (c == '#' && wordStart) {  // a comment runs to the end of the line
            const auto end = std::min(cmd.find('\n', i), cmd.size());
            out.append(cmd.substr(i, end - i));
            i = end;
        } else if (c == '<' || c == '>') {
            std::size_t j = i + 1;
            if (c == '<' && j < cmd.size() && cmd[j] == '<') return std::nullopt;  // here-documents are not mapped
            if (j < cmd.size() && ((c == '>' && (cmd[j] == '>' || cmd[j] == '|')) || (c == '<' && cmd[j] == '>'))) ++j;
            if (j < cmd.size() && cmd[j] == '&') {  // ">&2", "<&-": duplicates a descriptor, names no file
                out.append(cmd.substr(i, j + 1 - i));
                i = j + 1;
                wordStart = false;
                continue;
            }
            out.append(cmd.substr(i, j - i));
            while (j < cmd.size() && isBlank(cmd[j])) ++j;
            const auto target = readTarget(cmd, j);
            if (!target || target->empty() || target->front() != '/') {
                EventLog::shared().diagnostic("refused shell redirection to a path that is not an absolute device path: " +
                                              std::string(cmd.substr(i, j - i)));
                return std::nullopt;
            }
            if (DeviceRoot::normalize(*target) == "/dev/null") {  // the same sink on every system
                out += "/dev/null";
            } else {
                const auto hostPath = DeviceRoot::hostPathForDisplay(*target);
                if (!hostPath) return std::nullopt;
                out += quote(hostPath->string());
            }
            i = j;
            wordStart = false;
        } else {
            out += c;
            wordStart = endsWord(c);
            ++i;
        }
    }
    return out;
}

}  // namespace

int Shell::system(std::string_view command) {
    const auto mapped = mapRedirections(command);
    if (!mapped) {
        EventLog::shared().record("shell", {{"command", std::string(command)}, {"status", "refused"}});
        return -1;
    }
    // The platform's processes start in "/", which here is the device root.
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (DeviceRoot::isInstalled()) posix_spawn_file_actions_addchdir_np(&actions, DeviceRoot::directory().c_str());
    const char* argv[] = {"sh", "-c", mapped->c_str(), nullptr};
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, "/bin/sh", &actions, nullptr, const_cast<char* const*>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = -1;
    if (spawned == 0) {
        while (waitpid(pid, &status, 0) < 0) {
            if (errno != EINTR) {
                status = -1;
                break;
            }
        }
    }
    EventLog::shared().record("shell", {{"command", std::string(command)}, {"status", std::to_string(status)}});
    return status;
}

}  // namespace host
