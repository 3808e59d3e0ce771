#pragma once
// Finds texts a translation does not fit: labels cut short (an ellipsis, or wrapped lines past
// their label's height), labels that reach past their row, header or the screen, and labels whose
// texts lie over each other. Texts are measured with the same Pango metrics the drawing uses.
#include <iosfwd>
#include <string>
#include <vector>

#include "host/CoreGraphics/CGGeometry.h"

class UIView;

namespace sim {

class Canvas;
class SettingsApp;

class LayoutCheck {
public:
    struct Finding {
        std::string page;     // "root", "configuration", ...
        std::string place;    // "navigation bar", "section 1 row 0", "section 2 footer"
        std::string problem;  // "truncated", "clipped", "overlaps \"...\""
        std::string text;     // the text concerned
        double lacks = 0;     // points missing (width, or height for wrapped text)
    };

    // The labels on screen now, named `page`.
    static std::vector<Finding> checkScreen(const SettingsApp& app, const std::string& page);
    // Visits the pane's pages (root, its list, configuration, its list, makers) from the top
    // page and checks each. A page that cannot be reached is reported in `unreached`.
    static std::vector<Finding> checkPane(SettingsApp& app, std::vector<std::string>* unreached = nullptr);

    static std::string describe(const Finding& finding);
    // Prints the findings, or that there are none; returns the exit status (1 with findings).
    static int report(const std::vector<Finding>& findings, const std::vector<std::string>& unreached, std::ostream& out);

    // Below this many points nothing is missing: Pango's units are 1/1024 point.
    static constexpr double kTolerance = 0.01;
};

}  // namespace sim
