#include "host/Preferences/PSSpecifier.h"

#include <array>

namespace {
constexpr std::array<std::pair<const char*, PSCellType>, 16> kCellTypes{{
    {"PSGroupCell", PSGroupCell},
    {"PSLinkCell", PSLinkCell},
    {"PSLinkListCell", PSLinkListCell},
    {"PSListItemCell", PSListItemCell},
    {"PSTitleValueCell", PSTitleValueCell},
    {"PSSliderCell", PSSliderCell},
    {"PSSwitchCell", PSSwitchCell},
    {"PSStaticTextCell", PSStaticTextCell},
    {"PSEditTextCell", PSEditTextCell},
    {"PSSegmentCell", PSSegmentCell},
    {"PSGiantIconCell", PSGiantIconCell},
    {"PSGiantCell", PSGiantCell},
    {"PSSecureEditTextCell", PSSecureEditTextCell},
    {"PSButtonCell", PSButtonCell},
    {"PSEditTextViewCell", PSEditTextViewCell},
    {"PSSpinnerCell", PSSpinnerCell},
}};
}  // namespace

const PlistValue& PSSpecifier::propertyForKey(const std::string& key) const {
    static const PlistValue nil;
    auto it = _properties.find(key);
    return it == _properties.end() ? nil : it->second;
}

void PSSpecifier::setProperty(PlistValue value, const std::string& key) {
    if (value.isNil()) _properties.erase(key);
    else _properties.insert_or_assign(key, std::move(value));
}

std::optional<std::string> PSSpecifier::titleForValue(const PlistValue& value) const {
    if (!_titleDictionary) return std::nullopt;
    for (const auto& [key, title] : *_titleDictionary) {
        if (key == value) return title;
        // Stored numbers may come back as another numeric type (1 vs 1.0).
        if (key.number() && value.number() && *key.number() == *value.number()) return title;
    }
    return std::nullopt;
}

std::optional<PSCellType> PSSpecifier::cellTypeFromString(const std::string& name) {
    for (const auto& [text, type] : kCellTypes)
        if (name == text) return type;
    return std::nullopt;
}

const char* PSSpecifier::cellTypeName(PSCellType type) {
    for (const auto& [text, t] : kCellTypes)
        if (t == type) return text;
    return "PSStaticTextCell";
}
