#include "host/Preferences/SpecifierLoader.h"

#include "host/Runtime/PropertyList.h"

namespace host {
namespace {

// Keys whose value, when present, must be text.
constexpr const char* kTextKeys[] = {"cell", "label", "id", "cellClass", "detail", "action", "footerText", "key",
    "defaults", "PostNotification"};

std::shared_ptr<PSTitleDictionary> pairTitles(const PlistValue& titles, const PlistValue& values, std::string& why) {
    const auto* t = titles.array();
    const auto* v = values.array();
    if (!t || !v) {
        why = "\"validTitles\"/\"validValues\" (or \"shortTitles\") must both be arrays";
        return nullptr;
    }
    if (t->size() != v->size()) {
        why = "has " + std::to_string(t->size()) + " titles for " + std::to_string(v->size()) + " values";
        return nullptr;
    }
    auto dict = std::make_shared<PSTitleDictionary>();
    for (std::size_t k = 0; k < t->size(); ++k) {
        const auto title = (*t)[k].text();
        if (!title) {
            why = "title " + std::to_string(k) + " is not text";
            return nullptr;
        }
        dict->emplace_back((*v)[k], *title);
    }
    return dict;
}

std::shared_ptr<PSSpecifier> makeSpecifier(PlistValue::Dictionary item, const std::shared_ptr<NSObject>& target,
    std::string& why) {
    for (const char* key : kTextKeys) {
        auto it = item.find(key);
        if (it != item.end() && !it->second.isString()) {
            why = "\"" + std::string(key) + "\" is not text";
            return nullptr;
        }
    }
    auto spec = std::make_shared<PSSpecifier>();
    spec->setProperties(std::move(item));
    const PlistValue& cell = spec->propertyForKey("cell");
    if (auto type = cell.isString() ? PSSpecifier::cellTypeFromString(*cell.string()) : std::optional<PSCellType>())
        spec->setCellType(*type);
    else if (cell.isString()) {
        why = "unknown cell type \"" + *cell.string() + "\"";
        return nullptr;
    }
    if (auto label = spec->propertyForKey("label").text()) spec->setName(*label);
    spec->setIdentifier(spec->propertyForKey("id").text().value_or(spec->name().value_or("")));
    spec->setCellClassName(spec->propertyForKey("cellClass").text().value_or(""));
    spec->setDetailControllerClassName(spec->propertyForKey("detail").text().value_or(""));
    spec->setAction(spec->propertyForKey("action").text().value_or(""));
    spec->setTarget(target);
    if (!spec->propertyForKey("validTitles").isNil() || !spec->propertyForKey("validValues").isNil()) {
        auto titles = pairTitles(spec->propertyForKey("validTitles"), spec->propertyForKey("validValues"), why);
        if (!titles) return nullptr;
        spec->setTitleDictionary(titles);
        if (!spec->propertyForKey("shortTitles").isNil()) {
            auto shortTitles = pairTitles(spec->propertyForKey("shortTitles"), spec->propertyForKey("validValues"), why);
            if (!shortTitles) return nullptr;
            spec->setShortTitleDictionary(shortTitles);
        }
    }
    return spec;
}

}  // namespace

PSSpecifierArray SpecifierLoader::specifiersFromPlist(PlistValue page, const std::shared_ptr<NSObject>& target,
    std::string* diagnostic) {
    auto fail = [&](const std::string& why) {
        if (diagnostic) *diagnostic = why;
        return PSSpecifierArray{};
    };
    auto* dict = page.dictionary();
    if (!dict) return fail("the page is not a dictionary");
    auto found = dict->find("items");
    if (found == dict->end()) return fail("the page has no \"items\" array");
    auto* items = found->second.array();
    if (!items) return fail("\"items\" is not an array");
    PSSpecifierArray rows;
    rows.reserve(items->size());
    for (std::size_t k = 0; k < items->size(); ++k) {
        auto* item = (*items)[k].dictionary();
        if (!item) return fail("item " + std::to_string(k) + " is not a dictionary");
        std::string why;
        auto spec = makeSpecifier(std::move(*item), target, why);
        if (!spec) return fail("item " + std::to_string(k) + ": " + why);
        rows.push_back(std::move(spec));
    }
    return rows;
}

PSSpecifierArray SpecifierLoader::specifiersFromBytes(std::string_view bytes, const std::shared_ptr<NSObject>& target,
    std::string* diagnostic) {
    std::string error;
    auto page = host::PropertyList::parse(bytes, &error);
    if (!page) {
        if (diagnostic) *diagnostic = error;
        return {};
    }
    return specifiersFromPlist(std::move(*page), target, diagnostic);
}

}  // namespace host
