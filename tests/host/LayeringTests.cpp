// The source folders include one another only downward. Each layer names the layers it stands on
// directly; a file may include its own layer and anything reachable below it, nothing above or
// beside it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <regex>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// Layer name, the path prefixes that belong to it, and the layers directly beneath it.
struct Layer { std::string name; std::vector<std::string> prefixes, standsOn; };

const std::vector<Layer> kLayers = {
    {"CoreGraphics", {"host/CoreGraphics/"}, {}}, {"Runtime", {"host/Runtime/"}, {"CoreGraphics"}},
    {"System", {"host/System/"}, {"Runtime"}}, {"CoreFoundation", {"host/CoreFoundation/"}, {"System"}},
    {"Foundation", {"host/Foundation/"}, {"CoreFoundation"}}, {"UIKit", {"host/UIKit/"}, {"Foundation"}},
    {"Preferences", {"host/Preferences/"}, {"UIKit"}}, {"Social", {"host/Social/"}, {"Preferences"}},
    {"MessageUI", {"host/MessageUI/"}, {"Preferences"}},
    {"bundle", {"pages/", "cells/", "localization/"}, {"Social", "MessageUI"}},
    {"simulator", {"simulator/"}, {"Social", "MessageUI"}},
    {"test support", {"tests/support/"}, {"Social", "MessageUI"}},
};

// The layer a path (relative to the source folder) belongs to; nothing when it is in none.
std::optional<std::string> layerOf(const std::string& path) {
    for (const auto& layer : kLayers)
        for (const auto& prefix : layer.prefixes)
            if (path.starts_with(prefix)) return layer.name;
    return std::nullopt;
}

// Whether layer `from` stands on `to`, directly or through the layers beneath it (or is it).
bool mayInclude(const std::string& from, const std::string& to) {
    if (from == to) return true;
    for (const auto& layer : kLayers)
        if (layer.name == from)
            for (const auto& below : layer.standsOn)
                if (mayInclude(below, to)) return true;
    return false;
}

// Why `file` may not include `target` (both relative to the source folder); "" when it may.
// Includes of paths outside the tree (system and library headers) are not the layers' business.
std::string breach(const std::string& file, const std::string& target) {
    const auto from = layerOf(file);
    if (!from) return file + " is in no layer";
    const auto to = layerOf(target);
    if (!to) {
        for (const char* root : {"host/", "simulator/", "tests/", "pages/", "cells/", "localization/", "bench/", "fuzz/"})
            if (target.starts_with(root)) return *from + " includes " + target + ", which is in no layer";
        return "";
    }
    return mayInclude(*from, *to) ? "" : *from + " includes " + target + " (" + *to + "), which is above or beside it";
}

TEST(LayeringTest, TheRuleAllowsDownwardIncludesOnly) {
    const struct { const char *file, *target; bool allowed; } cases[] = {
        {"host/UIKit/UIView.cpp", "host/CoreGraphics/CGGeometry.h", true}, {"pages/Page.cpp", "cells/Cell.h", true},
        {"host/Runtime/RunLoop.cpp", "host/Foundation/NSTimer.h", false}, {"simulator/Window.cpp", "pages/Page.h", false},
        {"host/Social/SLComposeViewController.cpp", "host/MessageUI/MFMailComposeViewController.h", false},
        {"cells/Cell.cpp", "tests/support/DeviceFixture.h", false}, {"host/UIKit/UIView.cpp", "cairo.h", true},
        {"simulator/Window.cpp", "tests/simulator/SimulatorFixture.h", false}, {"host/Nowhere/Thing.cpp", "host/Runtime/RunLoop.h", false},
    };
    for (const auto& c : cases) EXPECT_EQ(breach(c.file, c.target).empty(), c.allowed) << c.file << " -> " << c.target;
}

TEST(LayeringTest, NoSourceIncludesUpwardOrSideways) {
    const fs::path source = VELKARO_SOURCE_DIR;
    const std::regex include(R"(^\s*#\s*include\s*[<"]([^>"]+)[>"])");
    std::map<std::string, int> filesPerLayer;
    std::vector<std::string> breaches;
    for (const char* folder : {"host", "simulator", "tests/support", "pages", "cells", "localization"}) {
        ASSERT_TRUE(fs::is_directory(source / folder)) << folder;
        for (const auto& entry : fs::recursive_directory_iterator(source / folder)) {
            const auto extension = entry.path().extension();
            if (!entry.is_regular_file() || (extension != ".h" && extension != ".cpp")) continue;
            const std::string file = entry.path().lexically_relative(source).generic_string();
            const auto layer = layerOf(file);
            if (!layer) breaches.push_back(file + ": is in no layer");
            else ++filesPerLayer[*layer];
            std::ifstream in(entry.path());
            std::string line;
            for (int number = 1; std::getline(in, line); ++number) {
                std::smatch match;
                if (line.find("include") == std::string::npos || !std::regex_search(line, match, include)) continue;
                std::string target = match[1];
                // A quoted include that names a sibling file is resolved against the includer's folder.
                if (const auto sibling = entry.path().parent_path() / target; line.find('"') != std::string::npos
                    && fs::exists(sibling) && !fs::exists(source / target))
                    target = sibling.lexically_relative(source).generic_string();
                if (auto why = breach(file, target); !why.empty())
                    breaches.push_back(file + ":" + std::to_string(number) + ": " + why);
            }
        }
    }
    // Every layer was read: a wrong source folder must not pass as a clean tree.
    for (const auto& layer : kLayers) EXPECT_GT(filesPerLayer[layer.name], 0) << "no files read for " << layer.name;
    for (const auto& why : breaches) ADD_FAILURE() << why;
}

}  // namespace
