#pragma once
// Builds a page's rows from its property list, as the Settings host does: one PSSpecifier per
// entry of the "items" array, with its "cell" type, "label" as name, "detail" and "cellClass"
// class names, "action", "validTitles"/"validValues" and "shortTitles" as title dictionaries,
// and every key kept as a property.
#include <memory>
#include <string>

#include "host/Foundation/PlistObject.h"
#include "host/Preferences/PSSpecifier.h"

namespace host {

class SpecifierLoader {
public:
    // The rows of a parsed page. A page whose "items" is missing or not an array, or any of whose
    // items has a wrong type (an item that is not a dictionary, a "cell" or "label" that is not
    // text, titles and values that do not pair up), gives no rows; `diagnostic` then says what
    // was wrong and where.
    static PSSpecifierArray specifiersFromPlist(PlistValue page, const std::shared_ptr<NSObject>& target,
        std::string* diagnostic);

    // The same from a file's bytes; unparseable bytes give no rows and a diagnostic.
    static PSSpecifierArray specifiersFromBytes(const std::string& bytes, const std::shared_ptr<NSObject>& target,
        std::string* diagnostic);
};

}  // namespace host
