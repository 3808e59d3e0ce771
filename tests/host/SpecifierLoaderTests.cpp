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

class SpecifierLoaderTest : public DeviceFixture {};

// A row keeps every key as a property and maps the platform's keys onto the specifier.
TEST_F(SpecifierLoaderTest, BuildsRowsFromItems) {
    const std::string page = xmlPage(
        "<array>"
        "<dict><key>cell</key><string>PSGroupCell</string><key>label</key><string>Look</string>"
        "<key>footerText</key><string>Below</string></dict>"
        "<dict><key>cell</key><string>PSLinkListCell</string><key>label</key><string>Theme</string>"
        "<key>detail</key><string>PSListItemsController</string><key>key</key><string>theme</string>"
        "<key>validTitles</key><array><string>Light</string><string>Dark</string></array>"
        "<key>validValues</key><array><integer>1</integer><integer>2</integer></array>"
        "<key>shortTitles</key><array><string>L</string><string>D</string></array></dict>"
        "<dict><key>cell</key><string>PSButtonCell</string><key>action</key><string>emailKX</string>"
        "<key>cellClass</key><string>MyCell</string><key>height</key><integer>100</integer></dict>"
        "</array>");
    auto target = std::make_shared<NSObject>();
    std::string why;
    auto rows = host::SpecifierLoader::specifiersFromBytes(page, target, &why);
    ASSERT_EQ(rows.size(), 3u) << why;
    EXPECT_EQ(rows[0]->cellType(), PSGroupCell);
    EXPECT_EQ(rows[0]->name(), "Look");
    EXPECT_EQ(rows[0]->propertyForKey("footerText").text(), "Below");
    EXPECT_EQ(rows[1]->cellType(), PSLinkListCell);
    EXPECT_EQ(rows[1]->detailControllerClassName(), "PSListItemsController");
    ASSERT_TRUE(rows[1]->titleDictionary());
    EXPECT_EQ(*rows[1]->titleDictionary(), (PSTitleDictionary{{PlistValue(1), "Light"}, {PlistValue(2), "Dark"}}));
    ASSERT_TRUE(rows[1]->shortTitleDictionary());
    EXPECT_EQ(rows[1]->shortTitleDictionary()->at(1).second, "D");
    EXPECT_EQ(rows[1]->titleForValue(PlistValue(2.0)), "Dark");
    EXPECT_EQ(rows[2]->name(), std::nullopt);
    EXPECT_EQ(rows[2]->action(), "emailKX");
    EXPECT_EQ(rows[2]->cellClassName(), "MyCell");
    EXPECT_EQ(rows[2]->propertyForKey("height").number(), 100.0);
    EXPECT_EQ(rows[2]->target(), target);
}

// Every malformed page gives no rows and says what was wrong.
TEST_F(SpecifierLoaderTest, MalformedPagesGiveNoRowsAndADiagnostic) {
    struct Case { const char* what; std::string bytes; const char* mentions; } cases[] = {
        {"empty file", "", "empty"}, {"not a plist", "hello world", "not a property list"},
        {"truncated XML", "<?xml version=\"1.0\"?><plist><dict><key>items</key><array>", "malformed"},
        {"no items", xmlPage("<string>x</string>").replace(0, 0, ""), "items"},
        {"items not an array", xmlPage("<dict/>"), "not an array"},
        {"item not a dictionary", xmlPage("<array><string>row</string></array>"), "item 0"},
        {"label not text", xmlPage("<array><dict><key>label</key><integer>3</integer></dict></array>"), "label"},
        {"unknown cell", xmlPage("<array><dict><key>cell</key><string>PSNoSuchCell</string></dict></array>"), "PSNoSuchCell"},
        {"titles without values",
            xmlPage("<array><dict><key>validTitles</key><array><string>a</string></array></dict></array>"), "arrays"},
        {"titles and values differ",
            xmlPage("<array><dict><key>validTitles</key><array><string>a</string></array>"
                    "<key>validValues</key><array/></dict></array>"),
            "1 titles for 0 values"},
    };
    for (const auto& c : cases) {
        std::string why;
        auto rows = host::SpecifierLoader::specifiersFromBytes(c.bytes, nullptr, &why);
        EXPECT_TRUE(rows.empty()) << c.what;
        EXPECT_NE(why.find(c.mentions), std::string::npos) << c.what << ": " << why;
    }
}

// A long list reads the same from binary as from XML (binary arrays are walked once, not
// counted out from the front for every item); extreme integers and dates survive a round trip.
TEST_F(SpecifierLoaderTest, BinaryListsReadLikeXMLAndExtremesRoundTrip) {
    PlistValue::Array rows(20000);
    for (std::size_t k = 0; k < rows.size(); ++k) {
        PlistValue::Dictionary row;
        row["cell"] = PlistValue("PSSwitchCell");
        row["key"] = PlistValue("enabled" + std::to_string(k));
        row["default"] = PlistValue(k % 2 == 0);
        rows[k] = PlistValue(std::move(row));
    }
    PlistValue::Dictionary items;
    items["items"] = PlistValue(std::move(rows));
    const PlistValue page(std::move(items));
    PlistValue::Dictionary values;
    values["largest"] = PlistValue(std::numeric_limits<std::int64_t>::max());
    values["smallest"] = PlistValue(std::numeric_limits<std::int64_t>::min());
    values["beyond32Bits"] = PlistValue(PlistValue::Date{1e12});
    const PlistValue extremes(std::move(values));
    for (auto format : {host::PropertyList::Format::XML, host::PropertyList::Format::Binary}) {
        EXPECT_TRUE(host::PropertyList::parse(host::PropertyList::serialize(page, format)) == page);
        const auto read = host::PropertyList::parse(host::PropertyList::serialize(extremes, format));
        ASSERT_TRUE(read);
        EXPECT_EQ((*read)["largest"], extremes["largest"]);
        EXPECT_EQ((*read)["smallest"], extremes["smallest"]);
        ASSERT_TRUE((*read)["beyond32Bits"].date());
        EXPECT_GT((*read)["beyond32Bits"].date()->secondsSinceReference, 2e9) << "the far future stays in the future";
    }
}

class ListControllerLoadingTest : public DeviceFixture {};

// A page list that is missing or unreadable gives an empty row array and a diagnostic naming the
// file, never a crash. (What makes a list unreadable is the loader's table above.) The real root page loads all its rows.
TEST_F(ListControllerLoadingTest, BadPageFilesGiveEmptyRowsAndNameTheFile) {
    const auto bundle = useWritableBundleCopy();
    writeFile(std::string(kBundlePath) + "/Garbage.plist", "\x01\x02 not a list");
    auto page = std::make_shared<PSListController>();
    for (const char* name : {"Missing", "Garbage"}) {
        host::EventLog::shared().clear();
        auto rows = page->loadSpecifiersFromPlistName(name, page);
        ASSERT_TRUE(rows) << name;
        EXPECT_TRUE(rows->empty()) << name;
        ASSERT_EQ(diagnostics().size(), 1u) << name;
        EXPECT_NE(diagnostics()[0].find(std::string(name) + ".plist"), std::string::npos) << diagnostics()[0];
    }
    host::EventLog::shared().clear();
    auto rows = page->loadSpecifiersFromPlistName("Velkaro", page);
    EXPECT_EQ(rows->size(), 14u);
    EXPECT_TRUE(diagnostics().empty());
}

// A plist name that climbs out of the bundle is refused by the device root.
TEST_F(ListControllerLoadingTest, PlistNameClimbingOutOfTheDeviceIsRefused) {
    auto page = std::make_shared<PSListController>();
    auto rows = page->loadSpecifiersFromPlistName("../../../../../../etc/passwd", page);
    EXPECT_TRUE(rows->empty());
    ASSERT_FALSE(diagnostics().empty());
    EXPECT_NE(diagnostics()[0].find("refused"), std::string::npos) << diagnostics()[0];
}

}  // namespace
