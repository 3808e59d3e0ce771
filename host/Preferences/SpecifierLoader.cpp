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

// What a value is, for a problem's text.
const char* kindOf(const PlistValue& value) {
    if (value.isString()) return "text";
    if (value.isBool()) return "a boolean";
    if (value.isNumber()) return "a number";
    if (value.isArray()) return "an array";
    if (value.isData()) return "data";
    if (value.isDate()) return "a date";
    return "nothing";
}

// The row for one item, or nullptr when it must be left out; `why` then says what was wrong.
// A cell type the host does not know (or none) leaves a plain row and a note in `note`.
std::shared_ptr<PSSpecifier> makeSpecifier(PlistValue::Dictionary item, const std::shared_ptr<NSObject>& target,
    std::string& why, std::string& note) {
    const auto fields = fieldsOf(item);
    for (int f = 0; f < kTextFields; ++f) {
        if (fields[f] && !fields[f]->isString()) {
            why = "\"" + std::string(kFieldKeys[f]) + "\" is not text";
            return nullptr;
        }
    }
    auto spec = std::make_shared<PSSpecifier>();
    if (const std::string* cell = textOf(fields[Cell])) {
        if (const auto type = PSSpecifier::cellTypeFromString(*cell)) spec->setCellType(*type);
        else note = "unknown cell type \"" + *cell + "\"";
    } else {
        note = "no \"cell\" type";
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
    PageListProblems* problems) {
    auto report = [&](std::optional<std::size_t> item, std::string what) {
        if (problems) problems->push_back({item, std::move(what)});
    };
    auto fail = [&](std::string why) {
        report(std::nullopt, std::move(why));
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
        if (!item) {
            report(k, std::string("is ") + kindOf((*items)[k]) + ", not a dictionary; left out");
            continue;
        }
        std::string why, note;
        auto spec = makeSpecifier(std::move(*item), target, why, note);
        if (!spec) {
            report(k, why + "; left out");
            continue;
        }
        if (!note.empty()) report(k, note + "; shown as a plain row");
        rows.push_back(std::move(spec));
    }
    return rows;
}

PSSpecifierArray SpecifierLoader::specifiersFromBytes(const std::string& bytes, const std::shared_ptr<NSObject>& target,
    PageListProblems* problems) {
    std::string error;
    auto page = host::PropertyList::parse(bytes, &error);
    if (!page) {
        if (problems) problems->push_back({std::nullopt, error});
        return {};
    }
    return specifiersFromPlist(std::move(*page), target, problems);
}

}  // namespace host
