#pragma once
// Builds a page's rows from its property list, as the Settings host does: one PSSpecifier per
// entry of the "items" array, with its "cell" type, "label" as name, "detail" and "cellClass"
// class names, "action", "validTitles"/"validValues" and "shortTitles" as title dictionaries,
// and every key kept as a property.
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/Foundation/PlistObject.h"
#include "host/Preferences/PSSpecifier.h"

namespace host {

// One thing wrong with a page list: the whole list, or one of its items.
struct PageListProblem {
    std::optional<std::size_t> item;  // the item's index in "items"; none for the whole list
    std::string what;                 // what was wrong, and what became of the item

    std::string describe() const { return item ? "item " + std::to_string(*item) + ": " + what : what; }
};
using PageListProblems = std::vector<PageListProblem>;

class SpecifierLoader {
public:
    // The rows of a parsed page. One odd item never costs its neighbours their rows: an item with
    // an unknown or missing cell type becomes a plain row showing its label; an item that is not
    // a dictionary, or whose fields have the wrong type (a "label" that is not text, titles and
    // values that do not pair up), is left out. Each such item adds one problem. Only a page that
    // is not a dictionary with an "items" array gives no rows at all, with one whole-list problem.
    static PSSpecifierArray specifiersFromPlist(PlistValue page, const std::shared_ptr<NSObject>& target,
        PageListProblems* problems);

    // The same from a file's bytes (XML, binary or text); unparseable bytes give no rows and a
    // whole-list problem.
    static PSSpecifierArray specifiersFromBytes(const std::string& bytes, const std::shared_ptr<NSObject>& target,
        PageListProblems* problems);
};

}  // namespace host
