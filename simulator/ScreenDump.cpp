#include "simulator/ScreenDump.h"

#include <cmath>
#include <cstdio>
#include <sstream>

#include "host/Runtime/UTF8.h"
#include "simulator/BackButton.h"
#include "host/MessageUI/MFMailComposeViewController.h"
#include "host/Preferences/PSEditableTableCell.h"
#include "host/Preferences/PSListController.h"
#include "host/Preferences/PSSegmentTableCell.h"
#include "host/Preferences/PSSliderTableCell.h"
#include "host/Preferences/PSSpinnerTableCell.h"
#include "host/Social/SLComposeViewController.h"
#include "host/Runtime/DeviceProfile.h"
#include "host/UIKit/UIAlertView.h"
#include "host/UIKit/UIImageView.h"
#include "host/UIKit/UINavigationController.h"
#include "host/UIKit/UISlider.h"
#include "host/UIKit/UISwitch.h"
#include "host/UIKit/UIToolbar.h"
#include "simulator/ModalLayout.h"
#include "simulator/ScreenColumns.h"
#include "simulator/SettingsApp.h"
#include "simulator/SettingsTopPage.h"

namespace sim {
namespace {

// Text from the device or the bundle, as printed: controls and broken bytes escaped.
std::string shown(const std::string& text) { return host::utf8::printable(text); }

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : shown(text)) {
        if (c == '"') out += "\\\"";
        else out += c;
    }
    return out + "\"";
}

std::string number(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.2f", value);
    std::string s = buffer;
    while (s.size() > 1 && s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
    return s == "-0" ? "0" : s;
}

// The colours the dump names, by their components (0-255), first match wins: the pane's theme
// colours as they appear on screen, then the platform's own.
struct NamedColour {
    const char* name;
    int red, green, blue;
};
constexpr NamedColour kNamedColours[] = {
    {"bar black", 10, 10, 10},
    {"accent green", 64, 210, 114},
    {"switch green", 0, 155, 119},
    {"white", 255, 255, 255},
    {"platform green", 76, 217, 100},
};

// A colour by its name where it has one, else its components.
std::string colourName(const UIColor& c) {
    const auto close = [&](const UIColor& o) {
        return std::fabs(c.red - o.red) < 1e-6 && std::fabs(c.green - o.green) < 1e-6 && std::fabs(c.blue - o.blue) < 1e-6 &&
               std::fabs(c.alpha - o.alpha) < 1e-6;
    };
    for (const auto& named : kNamedColours)
        if (close(UIColor::colorWithRed(named.red / 255.0, named.green / 255.0, named.blue / 255.0, 1))) return named.name;
    return c.description();
}

std::string optionalColour(const std::optional<UIColor>& c, const UIColor& fallback) {
    return c ? colourName(*c) : "default (" + colourName(fallback) + ")";
}

template <class T> std::shared_ptr<T> find(const std::shared_ptr<UIView>& view) {
    if (!view) return nullptr;
    for (const auto& sub : view->subviews()) {
        if (auto hit = std::dynamic_pointer_cast<T>(sub)) return hit;
        if (auto hit = find<T>(sub)) return hit;
    }
    return nullptr;
}

void labels(const std::shared_ptr<UIView>& view, const UILabel* skip, std::vector<std::string>& out) {
    if (!view) return;
    for (const auto& sub : view->subviews()) {
        auto label = std::dynamic_pointer_cast<UILabel>(sub);
        if (label && label.get() != skip && label->text() && !label->text()->empty()) out.push_back(*label->text());
        labels(sub, skip, out);
    }
}

const char* keyboardName(UIKeyboardType type) {
    switch (type) {
        case UIKeyboardTypeNumbersAndPunctuation: return "numbers";
        case UIKeyboardTypeURL: return "url";
        case UIKeyboardTypeNumberPad: return "number pad";
        case UIKeyboardTypePhonePad: return "phone";
        case UIKeyboardTypeEmailAddress: return "email";
        case UIKeyboardTypeDecimalPad: return "decimal pad";
        default: return nullptr;
    }
}

// A row's text field: its text as shown (bullets when secure), else its placeholder.
std::string describeField(const UITextField& field) {
    std::string out = " field=";
    if (!field.text().empty()) out += quoted(field.displayedText());
    else if (!field.placeholder().empty()) out += "placeholder " + quoted(field.placeholder());
    else out += "\"\"";
    if (field.isSecureTextEntry()) out += " (secure)";
    if (const char* keyboard = keyboardName(field.keyboardType())) out += std::string(" keyboard=") + keyboard;
    if (field.isFirstResponder()) out += " (editing)";
    return out;
}

std::string describeRow(PSListController& page, const UITableView::Row& row) {
    std::ostringstream out;
    out << "  [" << row.indexPath.section << "." << row.indexPath.row << "] ";
    const auto& cell = row.cell;
    if (!cell) return out.str() + "(no cell)\n";
    out << shown(cell->className());
    const auto& title = cell->textLabel()->text();
    if (title && !title->empty()) {
        out << " " << quoted(*title);
    } else if (auto spec = page.specifierAtIndexPath(row.indexPath); spec && spec->name() && !spec->name()->empty()) {
        // A row that shows no title (a slider row) by the name scripts reach it by.
        out << " named " << quoted(*spec->name());
        if (auto key = spec->propertyForKey("key").text()) out << " key=" << shown(*key);
    }
    std::vector<std::string> others;
    labels(cell, cell->textLabel().get(), others);
    auto detail = cell->detailTextLabel()->text();
    for (const auto& t : others)
        if (!(detail && t == *detail)) out << " | " << quoted(t);
    if (detail && !detail->empty()) out << " value=" << quoted(*detail);
    if (auto s = std::dynamic_pointer_cast<UISwitch>(cell->accessoryView()); s || (s = find<UISwitch>(cell)))
        out << " switch=" << (s->isOn() ? "on" : "off") << " (" << colourName(s->effectiveOnTintColor()) << ")";
    std::shared_ptr<UISlider> slider;
    if (auto sc = std::dynamic_pointer_cast<PSSliderTableCell>(cell)) slider = sc->control();
    if (slider)
        out << " slider=" << number(slider->value()) << " [" << number(slider->minimumValue()) << ".."
            << number(slider->maximumValue()) << "]";
    if (auto sc = std::dynamic_pointer_cast<PSSegmentTableCell>(cell)) {
        const auto& control = *sc->control();
        out << " segments:";
        for (NSInteger i = 0; i < control.numberOfSegments(); ++i) {
            const auto title = quoted(control.titleForSegmentAtIndex(i));
            out << " " << (i == control.selectedSegmentIndex() ? "[" + title + "]" : title);
        }
    }
    if (auto ec = std::dynamic_pointer_cast<PSEditableTableCell>(cell)) out << describeField(*ec->textField());
    if (auto spinning = std::dynamic_pointer_cast<PSSpinnerTableCell>(cell))
        out << " spinner" << (spinning->spinner()->isAnimating() ? " (spinning)" : " (stopped)");
    if (cell->accessoryType() == UITableViewCellAccessoryDisclosureIndicator) out << " >";
    if (cell->accessoryType() == UITableViewCellAccessoryCheckmark) out << " (checked)";
    if (cell->frame().height() != UITableView::kDefaultRowHeight) out << " height=" << number(cell->frame().height());
    return out.str() + "\n";
}

std::string describeAlert(const UIAlertView& alert) {
    std::ostringstream out;
    out << "alert " << quoted(alert.title().value_or("")) << ": " << quoted(alert.message().value_or("")) << "\n";
    if (auto field = alert.textFieldAtIndex(0)) {
        out << "  field: " << quoted(field->text());
        if (field->keyboardType() == UIKeyboardTypeNumberPad) out << " (number pad)";
        if (field->isFirstResponder()) out << " (keyboard up)";
        out << "\n";
        if (auto toolbar = std::dynamic_pointer_cast<UIToolbar>(field->inputAccessoryView())) {
            out << "  keypad keys:";
            for (const auto& item : toolbar->items()) out << " [" << shown(item ? item->title().value_or("") : "") << "]";
            out << "\n";
        }
    }
    out << "  buttons:";
    for (NSInteger i = 0; i < alert.numberOfButtons(); ++i) out << " [" << shown(alert.buttonTitleAtIndex(i).value_or("")) << "]";
    return out.str() + "\n";
}

// A pad's columns as "<name> column (<from>-<to> pt)".
std::string columnName(const char* name, CGRect frame) {
    return std::string(name) + " column (" + number(frame.minX()) + "-" + number(frame.maxX()) + " pt)";
}

// The list in a pad's left column: its page and its rows by title, the chosen one marked.
std::string describeList(const SettingsApp& app) {
    std::ostringstream out;
    out << columnName("list", ScreenColumns::listFrame(app.screenSize())) << ":";
    auto top = app.topPage();
    if (top) out << " page " << shown(top->className()) << " " << quoted(top->title().value_or("")) << ":";
    auto table = top ? top->table() : nullptr;
    if (table)
        for (const auto& section : table->sections())
            for (const auto& row : section.rows) {
                if (!row.cell) continue;
                out << " " << quoted(row.cell->textLabel()->text().value_or(""));
                if (row.cell->isSelected()) out << " (selected)";
            }
    return out.str() + "\n";
}

}  // namespace

std::string ScreenDump::describePage(const SettingsApp& app) {
    std::ostringstream out;
    auto page = app.visiblePage();
    if (!page) return "no page\n";
    out << "page " << shown(page->className());
    if (const auto& title = page->navigationItem()->title()) out << " " << quoted(*title);
    out << "\n";
    auto table = page->table();
    if (!table) return out.str() + "  (no table)\n";
    const auto& sections = table->sections();
    for (std::size_t s = 0; s < sections.size(); ++s) {
        const auto& section = sections[s];
        out << "section " << s << " header: ";
        if (section.headerView) out << shown(section.headerView->className()) << " (" << number(section.headerRect.height()) << " pt)";
        else if (section.headerTitle) out << quoted(*section.headerTitle);
        else out << "none";
        out << "\n";
        for (const auto& row : section.rows) out << describeRow(*page, row);
        if (section.footerTitle && !section.footerTitle->empty()) out << "  footer: " << quoted(*section.footerTitle) << "\n";
    }
    return out.str();
}

std::string ScreenDump::describe(const SettingsApp& app) {
    std::ostringstream out;
    const auto& profile = host::DeviceProfile::current();
    out << "screen " << number(app.screenSize().width) << "x" << number(app.screenSize().height) << " " << profile.name
        << " (iOS " << profile.productVersion << ") at " << number(app.now()) << " s\n";
    out << "status bar: " << (app.statusBarStyle() == 1 ? "light content" : "default") << "\n";
    // A pad: the list on the left, then the pane's column, described as a phone's screen is.
    const bool split = ScreenColumns::split(), pane = !split || ScreenColumns::paneShown(app);
    if (split) {
        out << describeList(app) << columnName("pane", ScreenColumns::paneFrame(app.screenSize())) << ":"
            << (pane ? "" : " empty") << "\n";
    }
    if (auto bar = pane ? app.visibleBar() : nullptr) {
        out << "bar: tint " << optionalColour(bar->tintColor(), UINavigationBar::defaultTintColor()) << ", bar tint "
            << optionalColour(bar->barTintColor(), UINavigationBar::defaultBarTintColor()) << ", title "
            << colourName(bar->effectiveTitleColor()) << "\n";
    }
    if (auto controller = pane ? app.visibleController() : nullptr) {
        auto item = controller->navigationItem();
        out << "bar items:";
        if (const auto back = BackButton::of(app)) {
            const std::string shownText = back->text.empty() ? "chevron" : quoted(back->text);
            out << " back " << shownText << ";";
        }
        if (auto view = item->titleView()) {
            out << " title view " << shown(view->className()) << " alpha " << number(view->alpha()) << " (drawn "
                << number(view->presentationAlpha()) << ")";
            if (auto image = std::dynamic_pointer_cast<UIImageView>(view); image && image->image() &&
                                                                          image->image()->renderingMode() == UIImageRenderingModeAlwaysTemplate)
                out << " template";
            out << ";";
        } else if (item->title()) {
            out << " title " << quoted(*item->title()) << ";";
        }
        if (auto right = item->rightBarButtonItem()) {
            out << " right ";
            if (right->systemItem() == UIBarButtonSystemItemCompose) out << "compose";
            else out << quoted(right->title().value_or("?"));
        }
        out << "\n";
    }
    if (pane) out << describePage(app);
    for (const auto& alert : UIAlertView::visibleAlerts()) out << describeAlert(*alert);
    if (auto presented = app.presentedController()) {
        out << "presented: " << shown(presented->className());
        if (auto sheet = std::dynamic_pointer_cast<SLComposeViewController>(presented)) out << " text " << quoted(sheet->text());
        if (auto mail = std::dynamic_pointer_cast<MFMailComposeViewController>(presented)) {
            if (ModalLayout::composerIsFormSheet()) {
                const CGRect f = ModalLayout::composerFrame(app.screenSize());
                out << " (form sheet " << number(f.width()) << "x" << number(f.height()) << " at " << number(f.minX()) << ","
                    << number(f.minY()) << ")";
            }
            const auto& m = mail->message();
            out << " subject " << quoted(m.subject) << " to";
            for (const auto& r : m.toRecipients) out << " " << quoted(r);
            out << " attachments";
            for (const auto& a : m.attachments) out << " " << shown(a.fileName) << " (" << shown(a.mimeType) << ", " << a.data.size() << " bytes)";
        }
        out << "\n";
    }
    if (auto note = app.note()) out << "note: " << shown(*note) << "\n";
    return out.str();
}

}  // namespace sim
