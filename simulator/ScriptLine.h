#pragma once
// The words of one script line: blanks separate, double quotes group (with \" and \\ inside),
// '#' starts a comment where a word would start. Kept apart from the runner so that the reader
// can be fuzzed without the application.
#include <string>
#include <string_view>
#include <vector>

namespace sim::ScriptLine {

std::vector<std::string> split(std::string_view line);

}  // namespace sim::ScriptLine
