#pragma once
// The screen as text: status bar, on a pad the list's column and whether the pane's is empty,
// navigation bar, the visible page's sections and rows with their values, the front alert, a
// presented sheet or composer (a pad's form sheet with its frame), and the note. Script mode prints
// it; tests and people read it in place of a picture.
#include <string>

namespace sim {

class SettingsApp;

class ScreenDump {
public:
    // Everything on screen.
    static std::string describe(const SettingsApp& app);
    // Only the visible page's sections and rows (headers, rows with cell classes, footers).
    static std::string describePage(const SettingsApp& app);
};

}  // namespace sim
