#include "host/Preferences/SpecifierLoader.h"

#include <array>
#include <string_view>

#include "host/Runtime/PropertyList.h"

namespace host {
namespace {

// The keys a row reads, in the order their text is checked: the first ten must be text.
enum Field { Cell, Label, Id, CellClass, Detail, Action, FooterText, Key, Defaults, PostNotification, kTextFields,
    ValidTitles = kTextFields, ValidValues, ShortTitles, kFields };
constexpr std::string_view kFieldKeys[kFields] = {"cell", "label", "id", "cellClass", "detail", "action", "footerText",
    "key", "defaults", "PostNotification", "validTitles", "validValues", "shortTitles"};

// The row's values for every field, found in one walk over its dictionary; nullptr for a
// missing key.
std::array<const PlistValue*, kFields> fieldsOf(const PlistValue::Dictionary& item) {
    std::array<const PlistValue*, kFields> fields{};
    for (const auto& [key, value] : item)
        for (int f = 0; f < kFields; ++f)
            if (key == kFieldKeys[f]) {
                fields[f] = &value;
                break;
            }
    return fields;
}

const std::string* textOf(const PlistValue* value) { return value ? value->string() : nullptr; }

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
    const auto fields = fieldsOf(item);
    for (int f = 0; f < kTextFields; ++f) {
        if (fields[f] && !fields[f]->isString()) {
            why = "\"" + std::string(kFieldKeys[f]) + "\" is not text";
            return nullptr;
        }
    }
    auto spec = std::make_shared<PSSpecifier>();
    if (const std::string* cell = textOf(fields[Cell])) {
        const auto type = PSSpecifier::cellTypeFromString(*cell);
        if (!type) {
            why = "unknown cell type \"" + *cell + "\"";
            return nullptr;
        }
        spec->setCellType(*type);
    }
    const std::string* label = textOf(fields[Label]);
    if (label) spec->setName(*label);
    const std::string* id = textOf(fields[Id]);
    spec->setIdentifier(id ? *id : label ? *label : std::string());
    if (const std::string* cellClass = textOf(fields[CellClass])) spec->setCellClassName(*cellClass);
    if (const std::string* detail = textOf(fields[Detail])) spec->setDetailControllerClassName(*detail);
    if (const std::string* action = textOf(fields[Action])) spec->setAction(*action);
    spec->setTarget(target);
    const auto present = [&](Field f) { return fields[f] && !fields[f]->isNil(); };
    if (present(ValidTitles) || present(ValidValues)) {
        static const PlistValue nil;
        const PlistValue& values = present(ValidValues) ? *fields[ValidValues] : nil;
        auto titles = pairTitles(present(ValidTitles) ? *fields[ValidTitles] : nil, values, why);
        if (!titles) return nullptr;
        spec->setTitleDictionary(titles);
        if (present(ShortTitles)) {
            auto shortTitles = pairTitles(*fields[ShortTitles], values, why);
            if (!shortTitles) return nullptr;
            spec->setShortTitleDictionary(shortTitles);
        }
    }
    // Last: the field pointers above point into the dictionary.
    spec->setProperties(std::move(item));
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

PSSpecifierArray SpecifierLoader::specifiersFromBytes(const std::string& bytes, const std::shared_ptr<NSObject>& target,
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
