#pragma once
// One picture of the whole tour for a reviewer or translator: for every profile and language, a
// row of the tour's stops (every page and pop-up), each scaled down to a tile with
// "profile · language · stop" under it.
#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

#include "simulator/SettingsApp.h"

namespace sim {

class SnapshotContactSheet {
public:
    // Tiles are this many pixels tall, whatever the screen.
    static constexpr int kTileHeight = 300;

    // `base` gives the bundle and accounts; each row runs on a fresh throwaway device. A language
    // may be a preference list ("fr,en"); an empty one is the profile's own. Failing tour steps are reported to `err` and the sheet is
    // still written; false, with the reason, when a row cannot start or the file cannot be written.
    static bool write(const SettingsApp::Options& base, const std::vector<std::string>& profiles,
        const std::vector<std::string>& languages, const std::filesystem::path& file, std::ostream& err, std::string* error);
};

}  // namespace sim
