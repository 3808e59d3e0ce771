// Feeds arbitrary bytes to the script-line reader. Checks: words written back in quotes (with \"
// and \\) read as the same words, both for the words the reader found in the input and for the
// input taken as a list of words, one per line; quoting that drops a word or splits one fails.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/FuzzCheck.h"
#include "simulator/ScriptLine.h"

namespace {

std::string quoted(const std::vector<std::string>& words) {
    std::string line;
    for (const auto& word : words) {
        line += line.empty() ? "\"" : " \"";
        for (char c : word) {
            if (c == '"' || c == '\\') line += '\\';
            line += c;
        }
        line += '"';
    }
    return line;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);

    const auto words = sim::ScriptLine::split(input);
    FUZZ_CHECK(sim::ScriptLine::split(quoted(words)) == words, "the words read, quoted, read the same");

    std::vector<std::string> given;
    for (std::size_t start = 0; start <= input.size();) {
        const std::size_t end = std::min(input.find('\n', start), input.size());
        given.emplace_back(input.substr(start, end - start));
        start = end + 1;
    }
    FUZZ_CHECK(sim::ScriptLine::split(quoted(given)) == given, "any words, quoted, read as themselves");
    return 0;
}
