#pragma once
// A property-list value: what a row's properties, a defaults domain and a strings table hold.
// A plain value type; "nil" is the default-constructed value.
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "host/Runtime/SortedDictionary.h"

namespace host {

class PlistValue {
public:
    using Array = std::vector<PlistValue>;
    using Dictionary = SortedDictionary<PlistValue>;
    using Data = std::vector<std::uint8_t>;
    struct Date {
        double secondsSinceReference = 0;  // since 2001-01-01 00:00:00 UTC, as the platform counts
        bool operator==(const Date&) const = default;
        bool operator<(const Date& o) const { return secondsSinceReference < o.secondsSinceReference; }
    };

    PlistValue() = default;
    PlistValue(bool b) : _v(b) {}
    PlistValue(int i) : _v(std::int64_t{i}) {}
    PlistValue(std::int64_t i) : _v(i) {}
    PlistValue(double d) : _v(d) {}
    PlistValue(float f) : _v(double{f}) {}
    PlistValue(const char* s) : _v(std::string(s)) {}
    PlistValue(std::string s) : _v(std::move(s)) {}
    PlistValue(Data d) : _v(std::move(d)) {}
    PlistValue(Date d) : _v(d) {}
    PlistValue(Array a) : _v(std::move(a)) {}
    PlistValue(Dictionary d) : _v(std::move(d)) {}

    bool isNil() const { return std::holds_alternative<std::monostate>(_v); }
    bool isBool() const { return std::holds_alternative<bool>(_v); }
    bool isInteger() const { return std::holds_alternative<std::int64_t>(_v); }
    bool isReal() const { return std::holds_alternative<double>(_v); }
    bool isNumber() const { return isBool() || isInteger() || isReal(); }
    bool isString() const { return std::holds_alternative<std::string>(_v); }
    bool isData() const { return std::holds_alternative<Data>(_v); }
    bool isDate() const { return std::holds_alternative<Date>(_v); }
    bool isArray() const { return std::holds_alternative<Array>(_v); }
    bool isDictionary() const { return std::holds_alternative<Dictionary>(_v); }

    // Typed access: nullptr when the value is of another type.
    const std::string* string() const { return std::get_if<std::string>(&_v); }
    std::string* string() { return std::get_if<std::string>(&_v); }
    const Array* array() const { return std::get_if<Array>(&_v); }
    Array* array() { return std::get_if<Array>(&_v); }
    const Dictionary* dictionary() const { return std::get_if<Dictionary>(&_v); }
    Dictionary* dictionary() { return std::get_if<Dictionary>(&_v); }
    const Data* data() const { return std::get_if<Data>(&_v); }
    const Date* date() const { return std::get_if<Date>(&_v); }
    const std::int64_t* integer() const { return std::get_if<std::int64_t>(&_v); }

    // A number's value (booleans count as 0 and 1); nothing for other types.
    std::optional<double> number() const;
    // A string's text; nothing for other types.
    std::optional<std::string> text() const;

    // The platform's floatValue: a number narrowed to single precision, or a string read as
    // text (see floatValueOfString); anything else, nil included, reads as 0.
    float floatValue() const;
    // The platform's boolValue for numbers and strings ("YES", "true", non-zero numbers).
    bool boolValue() const;

    // The entry of a dictionary; nil for a missing key or a non-dictionary.
    const PlistValue& operator[](const std::string& key) const;

    // A short readable form, for diagnostics, dumps and the event log.
    std::string description() const;

    bool operator==(const PlistValue& other) const;
    bool operator<(const PlistValue& other) const;

private:
    std::variant<std::monostate, bool, std::int64_t, double, std::string, Data, Date, Array, Dictionary> _v;
};

}  // namespace host
