#include "simulator/SnapshotContactSheet.h"

#include <algorithm>
#include <cmath>
#include <ostream>
#include <sstream>

#include "host/Runtime/CHandle.h"
#include "simulator/Canvas.h"
#include "simulator/Renderer.h"
#include "simulator/ScratchFolder.h"
#include "simulator/ScriptRunner.h"
#include "simulator/SnapshotImage.h"
#include "simulator/Tour.h"

namespace sim {
namespace {

using Surface = host::CHandle<cairo_surface_t, cairo_surface_destroy>;
constexpr int kGap = 16, kLabelHeight = 34;

struct Tile {
    Surface picture;
    std::string label;
};

// The tour on one profile and language, each stop drawn at tile size.
bool tourTiles(SettingsApp::Options options, const std::string& language, std::vector<Tile>& tiles, std::ostream& err,
    std::string* error) {
    auto device = ScratchFolder::create("velkaro-sheet-", error);
    if (!device) return false;
    options.deviceRoot = device->path();
    options.languages.clear();
    std::stringstream list(language);  // "fr,en": French, falling back to English
    for (std::string item; std::getline(list, item, ',');)
        if (!item.empty()) options.languages.push_back(item);
    options.manualClock = true;
    SettingsApp app(options);
    if (!app.start(error)) return false;
    const double scale = double(SnapshotContactSheet::kTileHeight) / app.screenSize().height;
    const std::string prefix = options.profile + " · " + (language.empty() ? "default" : language) + " · ";
    std::ostringstream out, said;
    ScriptRunner runner(app, out, said, {false, false, {}});
    int line = 0;
    for (const auto& stop : Tour::stops()) {
        for (const auto& command : stop.commands) {
            said.str("");
            if (!runner.runLine(command, ++line)) err << "contact sheet, " << prefix << stop.name << ": " << command << ": " << said.str();
        }
        tiles.push_back({Surface(Renderer::renderImage(app, scale)), prefix + stop.name});
    }
    return true;
}

}  // namespace

bool SnapshotContactSheet::write(const SettingsApp::Options& base, const std::vector<std::string>& profiles,
    const std::vector<std::string>& languages, const std::filesystem::path& file, std::ostream& err, std::string* error) {
    std::vector<std::vector<Tile>> rows;
    for (const auto& profile : profiles)
        for (const auto& language : languages.empty() ? std::vector<std::string>{""} : languages) {
            auto options = base;
            options.profile = profile;
            rows.emplace_back();
            if (!tourTiles(options, language, rows.back(), err, error)) {
                if (error) *error = profile + " · " + (language.empty() ? "default" : language) + ": " + *error;
                return false;
            }
        }
    int column = 0;
    std::size_t columns = 0;
    for (const auto& row : rows) {
        columns = std::max(columns, row.size());
        for (const auto& tile : row) column = std::max(column, cairo_image_surface_get_width(tile.picture.get()));
    }
    const int cellWidth = column + kGap, cellHeight = kTileHeight + kLabelHeight + kGap;
    const Surface sheet(cairo_image_surface_create(CAIRO_FORMAT_RGB24, kGap + int(columns) * cellWidth,
        kGap + int(rows.size()) * cellHeight));
    const host::CHandle<cairo_t, cairo_destroy> cr(cairo_create(sheet.get()));
    Canvas canvas(cr.get(), 1);
    canvas.fillRect(CGRectMake(0, 0, cairo_image_surface_get_width(sheet.get()), cairo_image_surface_get_height(sheet.get())),
        UIColor::colorWithRed(0.93, 0.93, 0.94, 1));
    Canvas::TextStyle style;
    style.font = UIFont::systemFontOfSize(11);
    style.color = UIColor::colorWithWhite(0.2, 1);
    style.alignment = NSTextAlignmentCenter;
    style.wrap = true;
    style.centreVertically = false;
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (std::size_t c = 0; c < rows[r].size(); ++c) {
            const auto& tile = rows[r][c];
            const int width = cairo_image_surface_get_width(tile.picture.get());
            const double x = kGap + double(c) * cellWidth + (column - width) / 2.0, y = kGap + double(r) * cellHeight;
            cairo_set_source_surface(cr.get(), tile.picture.get(), x, y);
            cairo_paint(cr.get());
            canvas.drawText(tile.label, CGRectMake(kGap + double(c) * cellWidth, y + kTileHeight + 4, column, kLabelHeight - 4), style);
        }
    return SnapshotImage::fromSurface(sheet.get()).write(file, error);
}

}  // namespace sim
