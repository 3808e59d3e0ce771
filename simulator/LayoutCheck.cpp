#include "simulator/LayoutCheck.h"

#include <glib.h>

#include <algorithm>
#include <cmath>
#include <iomanip>
#include <ostream>
#include <sstream>

#include "host/Preferences/PSListController.h"
#include "host/Runtime/CHandle.h"
#include "host/UIKit/UILabel.h"
#include "host/UIKit/UINavigationItem.h"
#include "host/UIKit/UITableView.h"
#include "host/UIKit/UITableViewCell.h"
#include "host/UIKit/UIViewController.h"
#include "simulator/Canvas.h"
#include "simulator/ScreenLayout.h"
#include "simulator/ScriptRunner.h"
#include "simulator/SettingsApp.h"

namespace sim {
namespace {

constexpr CGFloat kSectionFontSize = 13;
constexpr CGFloat kSectionInset = 15;

std::string uppercase(const std::string& text) {
    const host::CHandle<gchar, g_free> upper(g_utf8_strup(text.c_str(), static_cast<gssize>(text.size())));
    return upper.get();
}

// Where a text's glyphs lie, for the overlap test.
struct Placed {
    std::string text;
    CGRect ink;
};

class Checker {
public:
    Checker(std::string page, CGFloat screenWidth)
        : _surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1)), _cr(cairo_create(_surface.get())),
          _page(std::move(page)), _screenWidth(screenWidth) {
        // The drawing's own scale, so the layout is the one the screen gets.
        cairo_scale(_cr.get(), 2, 2);
        _canvas.emplace(_cr.get(), 2);
    }

    std::vector<LayoutCheck::Finding> findings;

    void navigationTitle(const std::string& title) {
        const CGFloat room = _screenWidth - 2 * ScreenLayout::kBackButtonWidth;
        const CGFloat width = _canvas->measureText(title, UIFont::boldSystemFontOfSize(17)).width;
        if (width - room > LayoutCheck::kTolerance) add("navigation bar", "truncated", title, width - room);
    }

    void section(const UITableView::Section& section, std::size_t index) {
        const std::string where = "section " + std::to_string(index);
        if (section.headerTitle && !section.headerTitle->empty()) {
            const std::string text = uppercase(*section.headerTitle);
            const CGFloat room = section.headerRect.width() - 2 * kSectionInset;
            const CGFloat width = _canvas->measureText(text, UIFont::systemFontOfSize(kSectionFontSize)).width;
            if (width - room > LayoutCheck::kTolerance) add(where + " header", "truncated", *section.headerTitle, width - room);
        }
        if (section.headerView) {
            std::vector<Placed> placed;
            views(*section.headerView, section.headerView->frame().origin, section.headerView->frame(), where + " header", placed);
            overlaps(placed, where + " header");
        }
        for (const auto& row : section.rows) {
            if (!row.cell) continue;
            const std::string place = where + " row " + std::to_string(row.indexPath.row);
            std::vector<Placed> placed;
            views(*row.cell, row.rect.origin, row.rect, place, placed);
            overlaps(placed, place);
        }
        if (section.footerTitle && !section.footerTitle->empty()) {
            // Footers wrap; their rect leaves 7 points above the text.
            const CGFloat width = section.footerRect.width() - 2 * kSectionInset;
            const CGFloat needed = _canvas->measureText(*section.footerTitle, UIFont::systemFontOfSize(UITableView::kFooterFontSize), width).height;
            const CGFloat room = section.footerRect.height() - 7;
            if (needed - room > LayoutCheck::kTolerance) add(where + " footer", "truncated", *section.footerTitle, needed - room);
        }
    }

private:
    void add(std::string place, std::string problem, std::string text, double lacks) {
        findings.push_back({_page, std::move(place), std::move(problem), std::move(text), lacks});
    }

    // Each visible label under `view`, whose frame's origin is at `origin` in the table's content.
    void views(const UIView& view, CGPoint origin, CGRect container, const std::string& place, std::vector<Placed>& placed) {
        if (view.isHidden() || view.alpha() <= 0) return;
        const CGRect frame{origin, view.frame().size};
        if (auto* label = dynamic_cast<const UILabel*>(&view)) labelAt(*label, frame, container, place, placed);
        for (const auto& sub : view.subviews())
            if (sub) views(*sub, {origin.x + sub->frame().minX(), origin.y + sub->frame().minY()}, container, place, placed);
    }

    void labelAt(const UILabel& label, CGRect frame, CGRect container, const std::string& place, std::vector<Placed>& placed) {
        if (!label.text() || label.text()->empty()) return;
        const std::string& text = *label.text();
        const bool wraps = label.numberOfLines() != 1;
        const CGSize natural = _canvas->measureText(text, label.font(), wraps ? frame.width() : 0);
        if (!wraps && natural.width - frame.width() > LayoutCheck::kTolerance)
            add(place, "truncated", text, natural.width - frame.width());
        if (wraps && natural.height - frame.height() > LayoutCheck::kTolerance)
            add(place, "truncated", text, natural.height - frame.height());
        // The glyphs as the drawing places them: aligned across, centred down.
        const CGFloat used = std::min(natural.width, frame.width());
        CGFloat x = frame.minX();
        if (label.textAlignment() == NSTextAlignmentCenter) x += (frame.width() - used) / 2;
        else if (label.textAlignment() == NSTextAlignmentRight) x += frame.width() - used;
        const CGRect ink = CGRectMake(x, frame.minY() + (frame.height() - natural.height) / 2, used, natural.height);
        const double past = std::max({container.minX() - ink.minX(), ink.maxX() - container.maxX(), -ink.minX(),
            ink.maxX() - _screenWidth, 0.0});
        if (past > LayoutCheck::kTolerance) add(place, "clipped", text, past);
        placed.push_back({text, ink});
    }

    void overlaps(const std::vector<Placed>& placed, const std::string& place) {
        for (std::size_t i = 0; i < placed.size(); ++i)
            for (std::size_t j = i + 1; j < placed.size(); ++j) {
                const CGRect a = placed[i].ink, b = placed[j].ink;
                const double across = std::min(a.maxX(), b.maxX()) - std::max(a.minX(), b.minX());
                const double down = std::min(a.maxY(), b.maxY()) - std::max(a.minY(), b.minY());
                if (across > LayoutCheck::kTolerance && down > LayoutCheck::kTolerance)
                    add(place, "overlaps \"" + placed[j].text + "\"", placed[i].text, across);
            }
    }

    host::CHandle<cairo_surface_t, cairo_surface_destroy> _surface;
    host::CHandle<cairo_t, cairo_destroy> _cr;
    std::optional<Canvas> _canvas;
    std::string _page;
    CGFloat _screenWidth;
};

// The pages, each reached from the one before by the rows' property list entries, so the walk
// works in every language.
struct Visit {
    const char* page;
    std::vector<const char*> commands;
};

const std::vector<Visit>& visits() {
    static const std::vector<Visit> all{
        {"root", {"open-bundle", "wait 1.2"}},
        {"theme list", {"tap @key=theme", "wait 0.5"}},
        {"configuration", {"back", "wait 0.5", "tap @label=Configuration", "wait 0.5"}},
        {"artwork style list", {"tap @key=artworkStyle", "wait 0.5"}},
        {"makers", {"back", "wait 0.5", "back", "wait 0.5", "tap @label=Makers", "wait 0.5"}},
    };
    return all;
}

}  // namespace

std::vector<LayoutCheck::Finding> LayoutCheck::checkScreen(const SettingsApp& app, const std::string& page) {
    Checker checker(page, app.screenSize().width);
    if (auto controller = app.visibleController()) {
        auto item = controller->navigationItem();
        std::optional<std::string> title = item->titleView() ? std::nullopt : item->title();
        if (!title && !item->titleView()) title = controller->title();
        if (title && !title->empty()) checker.navigationTitle(*title);
    }
    if (auto list = app.visiblePage())
        if (auto table = list->table())
            for (std::size_t i = 0; i < table->sections().size(); ++i) checker.section(table->sections()[i], i);
    return std::move(checker.findings);
}

std::vector<LayoutCheck::Finding> LayoutCheck::checkPane(SettingsApp& app, std::vector<std::string>* unreached) {
    std::ostringstream out, err;
    ScriptRunner runner(app, out, err, {});
    std::vector<Finding> findings;
    int line = 0;
    for (const auto& visit : visits()) {
        bool reached = true;
        for (const char* command : visit.commands) reached = runner.runLine(command, ++line) && reached;
        if (!reached) {
            if (unreached) unreached->push_back(std::string(visit.page) + ": " + err.str());
            err.str("");
            continue;
        }
        auto found = checkScreen(app, visit.page);
        findings.insert(findings.end(), found.begin(), found.end());
    }
    return findings;
}

std::string LayoutCheck::describe(const Finding& f) {
    std::ostringstream out;
    out << f.page << ", " << f.place << ": \"" << f.text << "\" " << f.problem << ", lacks " << std::fixed
        << std::setprecision(1) << f.lacks << " pt";
    return out.str();
}

int LayoutCheck::report(const std::vector<Finding>& findings, const std::vector<std::string>& unreached, std::ostream& out) {
    for (const auto& f : findings) out << describe(f) << "\n";
    for (const auto& page : unreached) out << "not reached: " << page << (page.ends_with("\n") ? "" : "\n");
    if (findings.empty() && unreached.empty()) {
        out << "Layout check: every label fits\n";
        return 0;
    }
    out << "Layout check: " << findings.size() << " label problem(s)"
        << (unreached.empty() ? "" : ", " + std::to_string(unreached.size()) + " page(s) not reached") << "\n";
    return 1;
}

}  // namespace sim
