// Rows built from page property lists, and what bad page lists give.
#include <gtest/gtest.h>

#include <limits>

#include "host/Runtime/PropertyList.h"
#include "host/Preferences/PSListController.h"
#include "host/Preferences/SpecifierLoader.h"
#include "tests/support/DeviceFixture.h"

namespace {

std::string xmlPage(const std::string& items) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict><key>items</key>" + items +
           "</dict></plist>";
}

using SpecifierLoaderTest = DeviceFixture;
using Text = std::optional<std::string>;

// A row keeps every key as a property and maps the platform's keys onto the specifier.
TEST_F(SpecifierLoaderTest, BuildsRowsFromItems) {
    const std::string page = xmlPage(
        "<array>"
        "<dict><key>cell</key><string>PSGroupCell</string><key>label</key><string>Look</string><key>footerText</key><string>Below</string></dict>"
        "<dict><key>cell</key><string>PSLinkListCell</string><key>label</key><string>Theme</string>"
        "<key>detail</key><string>PSListItemsController</string><key>key</key><string>theme</string>"
        "<key>validTitles</key><array><string>Light</string><string>Dark</string></array>"
        "<key>validValues</key><array><integer>1</integer><integer>2</integer></array>"
        "<key>shortTitles</key><array><string>L</string><string>D</string></array></dict>"
        "<dict><key>cell</key><string>PSButtonCell</string><key>action</key><string>emailKX</string>"
        "<key>cellClass</key><string>MyCell</string><key>height</key><integer>100</integer></dict></array>");
    auto target = std::make_shared<NSObject>();
    auto rows = host::SpecifierLoader::specifiersFromBytes(page, target, nullptr);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(std::tuple(rows[0]->cellType(), rows[0]->name(), rows[0]->propertyForKey("footerText").text()),
        std::tuple(PSGroupCell, Text("Look"), Text("Below")));
    EXPECT_EQ(std::tuple(rows[1]->cellType(), rows[1]->detailControllerClassName(), rows[1]->titleForValue(PlistValue(2.0))),
        std::tuple(PSLinkListCell, "PSListItemsController", Text("Dark")));
    ASSERT_TRUE(rows[1]->titleDictionary() && rows[1]->shortTitleDictionary());
    EXPECT_EQ(*rows[1]->titleDictionary(), (PSTitleDictionary{{PlistValue(1), "Light"}, {PlistValue(2), "Dark"}}));
    EXPECT_EQ(rows[1]->shortTitleDictionary()->at(1).second, "D");
    EXPECT_EQ(std::tuple(rows[2]->name(), rows[2]->action(), rows[2]->cellClassName(), rows[2]->propertyForKey("height").number(), rows[2]->target()),
        std::tuple(std::nullopt, "emailKX", "MyCell", std::optional(100.0), target));
}

// Only a list that cannot be read, or has no "items" array, gives no rows; it says what was wrong.
TEST_F(SpecifierLoaderTest, UnusableListsGiveNoRowsAndOneProblem) {
    struct Case { const char* what; std::string bytes; const char* mentions; } cases[] = {
        {"empty file", "", "empty"}, {"not a plist", "hello world", "not a property list"},
        {"truncated XML", "<?xml version=\"1.0\"?><plist><dict><key>items</key><array>", "malformed"},
        {"truncated text", "{ items = ( { cell = PSGroupCell; }", "line 1"},
        {"no items", xmlPage("<string>x</string>"), "items"},
        {"items not an array", xmlPage("<dict/>"), "not an array"},
        {"root not a dictionary", "( a, b )", "not a dictionary"},
    };
    for (const auto& c : cases) {
        host::PageListProblems problems;
        EXPECT_TRUE(host::SpecifierLoader::specifiersFromBytes(c.bytes, nullptr, &problems).empty()) << c.what;
        ASSERT_EQ(problems.size(), 1u) << c.what;
        EXPECT_FALSE(problems[0].item) << c.what;
        EXPECT_NE(problems[0].what.find(c.mentions), std::string::npos) << c.what << ": " << problems[0].what;
    }
}

// One odd item costs only itself: unknown or missing cell types become plain rows, items of the
// wrong shape are left out, and each says which item it was and what was wrong.
TEST_F(SpecifierLoaderTest, OddItemsSpareTheirNeighbours) {
    const std::string good = "<dict><key>cell</key><string>PSSwitchCell</string><key>label</key><string>On</string></dict>";
    const struct { const char* what; std::string item; bool keptAsPlainRow; const char* mentions; } cases[] = {
        {"unknown cell", "<dict><key>cell</key><string>PSNoSuchCell</string><key>label</key><string>Odd</string></dict>",
            true, "unknown cell type \"PSNoSuchCell\"; shown as a plain row"},
        {"missing cell", "<dict><key>label</key><string>Odd</string></dict>", true, "no \"cell\""},
        {"not a dictionary", "<string>row</string>", false, "is text, not a dictionary; left out"},
        {"label not text", "<dict><key>label</key><integer>3</integer></dict>", false, "\"label\" is not text"},
        {"titles without values", "<dict><key>validTitles</key><array><string>a</string></array></dict>", false,
            "arrays"},
        {"titles and values differ",
            "<dict><key>validTitles</key><array><string>a</string></array><key>validValues</key><array/></dict>", false,
            "1 titles for 0 values"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        host::PageListProblems problems;
        auto rows = host::SpecifierLoader::specifiersFromBytes(xmlPage("<array>" + good + c.item + good + "</array>"), nullptr, &problems);
        ASSERT_EQ(problems.size(), 1u);
        EXPECT_EQ(problems[0].item, 1u);
        EXPECT_NE(problems[0].describe().find(c.mentions), std::string::npos) << problems[0].describe();
        std::vector<std::pair<PSCellType, Text>> kinds;
        for (const auto& row : rows) kinds.emplace_back(row->cellType(), row->name());
        EXPECT_EQ(kinds, (c.keptAsPlainRow ? decltype(kinds){{PSSwitchCell, "On"}, {PSStaticTextCell, "Odd"}, {PSSwitchCell, "On"}}
                                           : decltype(kinds){{PSSwitchCell, "On"}, {PSSwitchCell, "On"}}));
    }
}

// A long list reads the same from binary as from XML (binary arrays are walked once, not
// counted out from the front for every item); extreme integers and dates survive a round trip.
TEST_F(SpecifierLoaderTest, BinaryListsReadLikeXMLAndExtremesRoundTrip) {
    PlistValue::Array rows(20000);
    for (std::size_t k = 0; k < rows.size(); ++k)
        rows[k] = PlistValue::Dictionary{{"cell", "PSSwitchCell"}, {"key", "enabled" + std::to_string(k)}, {"default", k % 2 == 0}};
    const PlistValue page = PlistValue::Dictionary{{"items", std::move(rows)}};
    const PlistValue extremes = PlistValue::Dictionary{{"largest", std::numeric_limits<std::int64_t>::max()},
        {"smallest", std::numeric_limits<std::int64_t>::min()}, {"beyond32Bits", PlistValue::Date{1e12}}};
    for (auto format : {host::PropertyList::Format::XML, host::PropertyList::Format::Binary}) {
        EXPECT_TRUE(host::PropertyList::parse(host::PropertyList::serialize(page, format)) == page);
        const auto read = host::PropertyList::parse(host::PropertyList::serialize(extremes, format));
        ASSERT_TRUE(read && (*read)["beyond32Bits"].date()) << int(format);
        EXPECT_TRUE((*read)["largest"] == extremes["largest"] && (*read)["smallest"] == extremes["smallest"]) << int(format);
        EXPECT_GT((*read)["beyond32Bits"].date()->secondsSinceReference, 2e9) << "the far future stays in the future";
    }
}

using ListControllerLoadingTest = DeviceFixture;

// A page list that is missing, unreadable or outside the device gives an empty row array and a
// diagnostic naming the file, never a crash. (What makes a list unreadable is the loader's table
// above; the real root page loading all its rows is the root page's own test.)
TEST_F(ListControllerLoadingTest, BadPageFilesGiveEmptyRowsAndNameTheFile) {
    useWritableBundleCopy();
    writeFile(std::string(kBundlePath) + "/Garbage.plist", "\x01\x02 not a list");
    auto page = std::make_shared<PSListController>();
    const struct { const char* name; const char* says; std::size_t diagnostics; } cases[] = {
        {"Missing", "Missing.plist is missing", 1}, {"Garbage", "Garbage.plist is malformed", 1},
        {"../../../../../../etc/passwd", "refused device path", 2},  // then the list's own
    };
    for (const auto& c : cases) {
        host::EventLog::shared().clear();
        auto rows = page->loadSpecifiersFromPlistName(c.name, page);
        ASSERT_TRUE(rows && rows->empty()) << c.name;
        ASSERT_EQ(diagnostics().size(), c.diagnostics) << c.name;
        EXPECT_NE(diagnostics()[0].find(c.says), std::string::npos) << diagnostics()[0];
    }
}

}  // namespace
