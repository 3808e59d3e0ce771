#include "simulator/PreviewListController.h"

#include <cctype>

#include "host/Foundation/NSBundle.h"
#include "host/Preferences/PSClassFactories.h"
#include "host/Preferences/SpecifierLoader.h"
#include "host/Runtime/ClassRegistry.h"
#include "host/Runtime/DeviceRoot.h"
#include "host/Runtime/EventLog.h"
#include "host/Runtime/PropertyList.h"
#include "host/UIKit/UINavigationController.h"

namespace sim {
namespace {

// A device path as this machine knows it, for messages a page's author can act on.
std::string shownPath(const std::string& devicePath) {
    const auto host = host::DeviceRoot::hostPathForDisplay(devicePath);
    return host ? host->string() : devicePath;
}

// "KXVelkaro..." -> "Velkaro...": a run of capitals before a capitalized word is a maker prefix.
std::optional<std::string> withoutMakerPrefix(const std::string& name) {
    std::size_t capitals = 0;
    while (capitals < name.size() && std::isupper(static_cast<unsigned char>(name[capitals]))) ++capitals;
    if (capitals < 3 || capitals >= name.size() || !std::islower(static_cast<unsigned char>(name[capitals]))) return std::nullopt;
    return name.substr(capitals - 1);
}

std::optional<std::string> withoutControllerSuffix(const std::string& name) {
    for (const std::string suffix : {"ListController", "Controller"}) {
        if (name.size() <= suffix.size() || !name.ends_with(suffix)) continue;
        std::string rest = name.substr(0, name.size() - suffix.size());
        // "PSListController" is no list named "PS".
        bool lower = false;
        for (char c : rest) lower |= std::islower(static_cast<unsigned char>(c)) != 0;
        return lower ? std::optional(rest) : std::nullopt;
    }
    return std::nullopt;
}

}  // namespace

std::shared_ptr<PreviewListController> PreviewListController::create(std::string folder, std::string fileName, Notifier notify) {
    auto page = std::make_shared<PreviewListController>();
    page->_folder = std::move(folder);
    page->_tableName = fileName.substr(0, fileName.rfind('.'));
    page->_fileName = std::move(fileName);
    page->_notify = std::move(notify);
    return page;
}

std::string PreviewListController::listPath() const { return _folder + "/" + _fileName; }

bool PreviewListController::load(std::string* error) {
    if (!_loaded) {
        _loaded = true;
        _specifiers = std::make_shared<PSSpecifierArray>();
        const std::string path = listPath();
        const auto file = host::DeviceRoot::read(path);
        std::string why;
        std::optional<PlistValue> page;
        if (!file.bytes) why = "cannot read the page list " + shownPath(path) + ": " + file.reason();
        else if (page = host::PropertyList::parse(*file.bytes, &why); !page)
            why = shownPath(path) + " is not a page list: " + why;
        if (page) {
            const auto title = (*page)["title"].text();
            host::PageListProblems problems;
            *_specifiers = host::SpecifierLoader::specifiersFromPlist(std::move(*page), sharedAs<NSObject>(), &problems);
            auto& log = host::EventLog::shared();
            for (const auto& problem : problems) {
                if (problem.item) log.diagnostic("page list " + shownPath(path) + ", " + problem.describe());
                else why = shownPath(path) + " is not a page list: " + problem.what;
            }
            // No module: a cell class only a module could provide leaves the host's cell for the row's type.
            for (const auto& row : *_specifiers) {
                const std::string cellClass = row->cellClassName();
                if (cellClass.empty() || isHostCell(cellClass)) continue;
                log.diagnostic("page list " + shownPath(path) + ", row \"" + row->name().value_or("") + "\": cell class " +
                               cellClass + " is not the host's; drawn as the default cell");
                row->setCellClassName("");
            }
            if (why.empty()) {
                _listTitle = title;
                localize(*_specifiers);
                if (_listTitle) setTitle(_listTitle);
            }
        }
        if (!why.empty()) {
            _specifiers->clear();
            _loadError = why;
        }
    }
    if (_loadError && error) *error = *_loadError;
    return !_loadError;
}

std::shared_ptr<PSSpecifierArray> PreviewListController::specifiers() {
    load();
    return _specifiers;
}

bool PreviewListController::isHostController(const std::string& className) {
    return host::hasController(className) && !host::ClassRegistry::shared().bundlePathForClass(className);
}

bool PreviewListController::isHostCell(const std::string& className) {
    return host::hasCell(className) && !host::ClassRegistry::shared().bundlePathForClass(className);
}

void PreviewListController::localize(PSSpecifierArray& rows) {
    // Only a folder with a language folder is localized; most previewed lists have none.
    auto bundle = NSBundle::bundleWithPath(_folder);
    if (!bundle || bundle->preferredLocalization().empty()) return;
    const auto text = [&](const std::string& key) { return bundle->localizedStringForKey(key, std::string(), _tableName); };
    const auto titles = [&](const std::shared_ptr<PSTitleDictionary>& dict) -> std::shared_ptr<PSTitleDictionary> {
        if (!dict) return nullptr;
        auto out = std::make_shared<PSTitleDictionary>(*dict);
        for (auto& [value, title] : *out) title = text(title);
        return out;
    };
    if (_listTitle) _listTitle = text(*_listTitle);
    for (const auto& row : rows) {
        if (row->name()) row->setName(text(*row->name()));
        if (auto footer = row->propertyForKey("footerText").text()) row->setProperty(PlistValue(text(*footer)), "footerText");
        row->setTitleDictionary(titles(row->titleDictionary()));
        row->setShortTitleDictionary(titles(row->shortTitleDictionary()));
    }
}

std::vector<std::string> PreviewListController::listNamesForClass(const std::string& className) {
    std::vector<std::string> names;
    const auto add = [&](const std::optional<std::string>& name) {
        if (name && !name->empty() && std::find(names.begin(), names.end(), *name) == names.end()) names.push_back(*name);
    };
    add(className);
    add(withoutControllerSuffix(className));
    if (auto bare = withoutMakerPrefix(className)) {
        add(bare);
        add(withoutControllerSuffix(*bare));
    }
    return names;
}

void PreviewListController::openSubPage(const std::shared_ptr<PSSpecifier>& row) {
    const std::string& className = row->detailControllerClassName();
    const auto say = [&](const std::string& what) {
        host::EventLog::shared().diagnostic(what);
        if (_notify) _notify(what);
    };
    std::string tried;
    for (const auto& name : listNamesForClass(className)) {
        auto page = create(_folder, name + ".plist", _notify);
        if (!host::DeviceRoot::exists(page->listPath())) {
            tried += (tried.empty() ? "" : ", ") + name + ".plist";
            continue;
        }
        if (std::string why; !page->load(&why)) return say(why);
        if (!page->listTitle()) page->setTitle(row->name().value_or(name));
        page->setSpecifier(row);
        if (auto nav = navigationController()) nav->pushViewController(page, true);
        return;
    }
    say("row \"" + row->name().value_or("") + "\" opens " + className + ": no page list for it in " + shownPath(_folder) +
        " (tried " + tried + ")");
}

void PreviewListController::didSelectRowAtIndexPath(const std::shared_ptr<UITableView>& tableView, NSIndexPath indexPath) {
    auto row = specifierAtIndexPath(indexPath);
    if (row && row->action().empty() && !row->detailControllerClassName().empty() &&
        !isHostController(row->detailControllerClassName())) {
        openSubPage(row);
        if (tableView) tableView->deselectRowAtIndexPath(indexPath, true);
        return;
    }
    PSListController::didSelectRowAtIndexPath(tableView, indexPath);
}

}  // namespace sim
