#include "host/Preferences/PSListController.h"

#include "host/CoreFoundation/CFNotificationCenter.h"
#include "host/Preferences/PSClassFactories.h"
#include "host/Preferences/PSEditableTableCell.h"
#include "host/Preferences/PSRootController.h"
#include "host/Preferences/PSSegmentTableCell.h"
#include "host/Preferences/PSSliderTableCell.h"
#include "host/Preferences/PSSpinnerTableCell.h"
#include "host/Preferences/PSSwitchTableCell.h"
#include "host/Preferences/SpecifierLoader.h"
#include "host/Runtime/DeviceRoot.h"
#include "host/Runtime/EventLog.h"
#include "host/UIKit/UINavigationController.h"
#include "host/UIKit/UIScreen.h"

namespace {
constexpr std::size_t kKeptBufferBytes = 4u << 20;  // the read buffer kept between page lists
}  // namespace

std::shared_ptr<PSSpecifierArray> PSListController::specifiers() { return _specifiers; }

std::shared_ptr<NSBundle> PSListController::bundle() const {
    auto path = host::ClassRegistry::shared().bundlePathForClass(className());
    return path ? NSBundle::bundleWithPath(*path) : nullptr;
}

std::shared_ptr<PSSpecifierArray> PSListController::loadSpecifiersFromPlistName(const std::string& plistName, const id& target) {
    auto rows = std::make_shared<PSSpecifierArray>();
    auto& log = host::EventLog::shared();
    auto pageBundle = bundle();
    if (!pageBundle) {
        log.diagnostic("page " + className() + ": its bundle cannot be found, so \"" + plistName + "\" has no rows");
        return rows;
    }
    const std::string devicePath = pageBundle->bundlePath() + "/" + plistName + ".plist";
    // One read buffer for every page list: its bytes are needed only while they are parsed, and
    // reusing it spares the allocator a large block per page.
    thread_local std::string bytes;
    if (const int error = host::DeviceRoot::readInto(devicePath, bytes)) {
        log.diagnostic("page list " + devicePath + " is missing or unreadable (" + host::DeviceRoot::describe(error) +
                       "); the page has no rows");
        return rows;
    }
    host::PageListProblems problems;
    *rows = host::SpecifierLoader::specifiersFromBytes(bytes, target, &problems);
    // A very long list's buffer is not kept for the rest of the run.
    if (bytes.capacity() > kKeptBufferBytes) std::string().swap(bytes);
    for (const auto& problem : problems) {
        if (problem.item) log.diagnostic("page list " + devicePath + ", " + problem.describe());
        else log.diagnostic("page list " + devicePath + " is malformed (" + problem.what + "); the page has no rows");
    }
    return rows;
}

void PSListController::loadView() {
    _table = std::make_shared<UITableView>();
    _table->setFrame(UIScreen::mainScreen()->bounds());
    _table->setBackgroundColor(UIColor::colorWithRed(239 / 255.0, 239 / 255.0, 244 / 255.0, 1));
    auto self = sharedAs<PSListController>();
    _table->setDataSource(self);
    _table->setDelegate(self);
    setView(_table);
}

void PSListController::viewDidLoad() {
    UIViewController::viewDidLoad();
    host::EventLog::shared().record("viewDidLoad", {{"controller", className()}});
}

void PSListController::viewWillAppear(bool animated) {
    UIViewController::viewWillAppear(animated);
    reloadSpecifiers();
}

void PSListController::reloadSpecifiers() {
    if (!isViewLoaded()) return;
    _groupedFrom.reset();
    _table->reloadData();
}

const std::vector<PSListController::Group>& PSListController::groups() {
    auto rows = specifiers();
    // Regroup only when the row array changed (another array, or rows added or removed).
    if (rows == _groupedFrom && rows && rows->size() == _groupedCount) return _groups;
    _groups.clear();
    _groupedFrom = rows;
    _groupedCount = rows ? rows->size() : 0;
    if (!rows) return _groups;
    for (const auto& spec : *rows) {
        if (!spec) continue;
        if (spec->cellType() == PSGroupCell) _groups.push_back({spec, {}});
        else {
            if (_groups.empty()) _groups.push_back({nullptr, {}});
            _groups.back().rows.push_back(spec);
        }
    }
    return _groups;
}

std::shared_ptr<PSSpecifier> PSListController::specifierAtIndexPath(NSIndexPath indexPath) {
    const auto& g = groups();
    if (indexPath.section < 0 || indexPath.section >= NSInteger(g.size())) return nullptr;
    const auto& rows = g[indexPath.section].rows;
    if (indexPath.row < 0 || indexPath.row >= NSInteger(rows.size())) return nullptr;
    return rows[indexPath.row];
}

std::optional<NSIndexPath> PSListController::indexPathForSpecifier(const std::shared_ptr<PSSpecifier>& specifier) {
    const auto& g = groups();
    for (std::size_t s = 0; s < g.size(); ++s)
        for (std::size_t r = 0; r < g[s].rows.size(); ++r)
            if (g[s].rows[r] == specifier) return NSIndexPath{NSInteger(s), NSInteger(r)};
    return std::nullopt;
}

PlistValue PSListController::readPreferenceValue(const std::shared_ptr<PSSpecifier>& specifier) {
    return PSRootController::readPreferenceValue(specifier);
}

void PSListController::setPreferenceValue(const PlistValue& value, const std::shared_ptr<PSSpecifier>& specifier) {
    if (!PSRootController::setPreferenceValue(value, specifier)) return;
    if (auto name = specifier->propertyForKey("PostNotification").text())
        CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(), *name, nullptr, nullptr, true);
}

NSInteger PSListController::numberOfSectionsInTableView(const std::shared_ptr<UITableView>&) {
    return NSInteger(groups().size());
}

NSInteger PSListController::numberOfRowsInSection(const std::shared_ptr<UITableView>&, NSInteger section) {
    const auto& g = groups();
    return section >= 0 && section < NSInteger(g.size()) ? NSInteger(g[section].rows.size()) : 0;
}

std::shared_ptr<PSTableCell> PSListController::makeCell(const std::shared_ptr<PSSpecifier>& spec) {
    const std::string reuse = PSSpecifier::cellTypeName(spec->cellType());
    std::shared_ptr<PSTableCell> cell;
    if (!spec->cellClassName().empty()) {
        if (host::hasCell(spec->cellClassName())) cell = host::createCell(spec->cellClassName(), 0, reuse, spec);
        else host::EventLog::shared().diagnostic("unknown cell class " + spec->cellClassName() + "; using the standard cell");
    }
    if (!cell) {
        switch (spec->cellType()) {
            case PSSwitchCell: cell = PSSwitchTableCell::initWithStyle(0, reuse, spec); break;
            case PSSliderCell: cell = PSSliderTableCell::initWithStyle(0, reuse, spec); break;
            case PSSegmentCell: cell = PSSegmentTableCell::initWithStyle(0, reuse, spec); break;
            case PSEditTextCell:
            case PSSecureEditTextCell: cell = PSEditableTableCell::initWithStyle(0, reuse, spec); break;
            case PSSpinnerCell: cell = PSSpinnerTableCell::initWithStyle(0, reuse, spec); break;
            default: cell = PSTableCell::initWithStyle(spec->cellType() == PSLinkListCell ? 1 : 0, reuse, spec); break;
        }
    }
    if (!cell) return nullptr;
    if (!cell->specifier()) cell->setSpecifier(spec);
    return cell;
}

std::shared_ptr<UITableViewCell> PSListController::cellForRowAtIndexPath(const std::shared_ptr<UITableView>&,
    NSIndexPath indexPath) {
    auto spec = specifierAtIndexPath(indexPath);
    if (!spec) return nullptr;
    auto& cell = _cells[spec.get()];
    if (!cell) cell = makeCell(spec);
    if (!cell) return nullptr;
    cell->refreshCellContentsWithSpecifier(spec);
    if (!spec->propertyForKey("key").isNil() || !spec->propertyForKey("default").isNil())
        cell->setValue(readPreferenceValue(spec));
    return cell;
}

std::optional<std::string> PSListController::titleForHeaderInSection(const std::shared_ptr<UITableView>&, NSInteger section) {
    const auto& g = groups();
    if (section < 0 || section >= NSInteger(g.size()) || !g[section].group) return std::nullopt;
    auto name = g[section].group->name();
    if (name && name->empty()) return std::nullopt;
    return name;
}

std::optional<std::string> PSListController::titleForFooterInSection(const std::shared_ptr<UITableView>&, NSInteger section) {
    const auto& g = groups();
    if (section < 0 || section >= NSInteger(g.size()) || !g[section].group) return std::nullopt;
    return g[section].group->propertyForKey("footerText").text();
}

CGFloat PSListController::heightForRowAtIndexPath(const std::shared_ptr<UITableView>&, NSIndexPath indexPath) {
    auto spec = specifierAtIndexPath(indexPath);
    if (!spec) return -1;
    auto h = spec->propertyForKey("height").number();
    if (!h && spec->propertyForKey("height").isString()) h = spec->propertyForKey("height").floatValue();
    return h && *h > 0 ? *h : -1;
}

void PSListController::pushDetailForSpecifier(const std::shared_ptr<PSSpecifier>& spec) {
    const std::string& name = spec->detailControllerClassName();
    auto controller = host::createController(name);
    if (!controller) {
        host::EventLog::shared().diagnostic("row \"" + spec->name().value_or("") + "\" names the page class " + name +
                                            ", which no loaded bundle provides");
        return;
    }
    if (auto page = std::dynamic_pointer_cast<PSListController>(controller)) page->setSpecifier(spec);
    if (auto nav = navigationController()) nav->pushViewController(controller, true);
    else host::EventLog::shared().diagnostic("page " + className() + " has no navigation controller to open " + name);
}

void PSListController::didSelectRowAtIndexPath(const std::shared_ptr<UITableView>& tableView, NSIndexPath indexPath) {
    auto spec = specifierAtIndexPath(indexPath);
    if (!spec) return;
    if (!spec->action().empty()) {
        auto target = spec->target();
        if (!target || !target->performSelector(spec->action(), spec))
            host::EventLog::shared().diagnostic("the target of row \"" + spec->name().value_or("") +
                                                "\" does not respond to " + spec->action());
    } else if (!spec->detailControllerClassName().empty()) {
        pushDetailForSpecifier(spec);
    }
    if (tableView) tableView->deselectRowAtIndexPath(indexPath, true);
}
