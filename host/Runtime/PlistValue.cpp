#include "host/Runtime/PlistValue.h"

#include <sstream>

#include <cmath>
#include <cstdio>

#include "host/Runtime/TextNumber.h"

namespace host {

std::optional<double> PlistValue::number() const {
    if (auto b = std::get_if<bool>(&_v)) return *b ? 1.0 : 0.0;
    if (auto i = std::get_if<std::int64_t>(&_v)) return static_cast<double>(*i);
    if (auto d = std::get_if<double>(&_v)) return *d;
    return std::nullopt;
}

std::optional<std::string> PlistValue::text() const {
    if (auto s = string()) return *s;
    return std::nullopt;
}

float PlistValue::floatValue() const {
    if (auto n = number()) return static_cast<float>(*n);
    if (auto s = string()) return readFloat(*s);
    return 0.0f;
}

bool PlistValue::boolValue() const {
    if (auto n = number()) return *n != 0;
    if (auto s = string()) {
        // The platform's rule: leading white space, then Y/y/T/t or a non-zero digit.
        for (char c : *s) {
            if (c == ' ' || c == '\t' || c == '\n' || c == '+' || c == '-' || c == '0') continue;
            return c == 'Y' || c == 'y' || c == 'T' || c == 't' || (c >= '1' && c <= '9');
        }
    }
    return false;
}

const PlistValue& PlistValue::operator[](const std::string& key) const {
    static const PlistValue nil;
    if (auto dict = dictionary()) {
        auto it = dict->find(key);
        if (it != dict->end()) return it->second;
    }
    return nil;
}

bool PlistValue::operator==(const PlistValue& other) const { return _v == other._v; }
bool PlistValue::operator<(const PlistValue& other) const { return _v < other._v; }

std::string PlistValue::description() const {
    std::ostringstream out;
    if (isNil()) out << "nil";
    else if (auto b = std::get_if<bool>(&_v)) out << (*b ? "true" : "false");
    else if (auto i = std::get_if<std::int64_t>(&_v)) out << *i;
    else if (auto d = std::get_if<double>(&_v)) {
        char text[32];
        std::snprintf(text, sizeof text, "%g", std::isnan(*d) ? std::fabs(*d) : *d);  // "nan", never "-nan"
        out << text;
    }
    else if (auto s = string()) out << *s;
    else if (auto data = this->data()) out << "<" << data->size() << " bytes>";
    else if (auto date = this->date()) out << "<date " << date->secondsSinceReference << ">";
    else if (auto a = array()) {
        out << "(";
        for (std::size_t k = 0; k < a->size(); ++k) out << (k ? ", " : "") << (*a)[k].description();
        out << ")";
    } else if (auto dict = dictionary()) {
        out << "{";
        bool first = true;
        for (const auto& [key, value] : *dict) {
            out << (first ? "" : "; ") << key << " = " << value.description();
            first = false;
        }
        out << "}";
    }
    return out.str();
}

}  // namespace host
