// Bundle string lookup: the table rules, the language choice, and the three table formats.
#include "host/Foundation/NSBundle.h"
#include "host/Runtime/DeviceProfile.h"
#include "tests/support/DeviceFixture.h"

namespace {

class NSBundleTest : public DeviceFixture {
protected:
    std::shared_ptr<NSBundle> bundle() { return NSBundle::bundleWithPath(kBundlePath); }
    void prefer(std::vector<std::string> languages) {
        host::DeviceProfile::mutableCurrent().preferredLanguages = std::move(languages);
        NSBundle::flushCaches();
    }
};

TEST_F(NSBundleTest, LookupRules) {
    auto b = bundle();
    ASSERT_TRUE(b);
    struct Case { std::string key; std::optional<std::string> value, table; std::string expected; } cases[] = {
        {"MAKERS", std::nullopt, std::nullopt, "Makers"},
        {"MAKERS", "", "", "Makers"},                         // empty table means Localizable
        {"MAKERS", "ignored", "Localizable", "Makers"},
        {"No such key", std::nullopt, std::nullopt, "No such key"},  // nil value: the key
        {"No such key", "", std::nullopt, "No such key"},            // empty value: the key
        {"No such key", "Fallback", std::nullopt, "Fallback"},
        {"MAKERS", "", "OtherTable", "MAKERS"},               // a table that does not exist
    };
    for (const auto& c : cases)
        EXPECT_EQ(b->localizedStringForKey(c.key, c.value, c.table), c.expected) << c.key << " / " << c.table.value_or("nil");
}

// The German table is UTF-16 old-style text and the French one an XML plist: both are read.
TEST_F(NSBundleTest, PreferredLanguageChoosesTheTable) {
    struct Case { std::vector<std::string> preferred; std::string localization, makers; } cases[] = {
        {{"de"}, "de", "Mitwirkende"}, {{"de-AT", "en"}, "de", "Mitwirkende"}, {{"fr_FR"}, "fr", "Créateurs"},
        {{"ja", "fr"}, "fr", "Créateurs"}, {{"ja"}, "en", "Makers"},  // no match: the development region
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.preferred.front());
        prefer(c.preferred);
        EXPECT_EQ(bundle()->preferredLocalization(), c.localization);
        EXPECT_EQ(bundle()->localizedStringForKey("MAKERS", "", std::nullopt), c.makers);
    }
}

// Only the best language's table is consulted: a key missing there does not fall back to English.
TEST_F(NSBundleTest, MissingKeyDoesNotFallBackToAnotherLanguage) {
    const auto copy = useWritableBundleCopy();
    writeFile(std::string(kBundlePath) + "/de.lproj/Localizable.strings", "\"Enabled\" = \"Aktiviert\";\n");
    prefer({"de"});
    EXPECT_EQ(bundle()->localizedStringForKey("Enabled", "", std::nullopt), "Aktiviert");
    EXPECT_EQ(bundle()->localizedStringForKey("MAKERS", "", std::nullopt), "MAKERS");
}

// A syntax error empties the whole table: every lookup gives its key, and the log says why.
TEST_F(NSBundleTest, SyntaxErrorEmptiesTheTable) {
    useWritableBundleCopy();
    writeFile(std::string(kBundlePath) + "/en.lproj/Localizable.strings",
        "\"MAKERS\" = \"Makers\";\n\"Enabled\" = \"On\"\n\"Theme\" = \"Look\";\n");
    EXPECT_EQ(bundle()->localizedStringForKey("MAKERS", "", std::nullopt), "MAKERS");
    ASSERT_EQ(diagnostics().size(), 1u);
    EXPECT_NE(diagnostics()[0].find("en.lproj/Localizable.strings"), std::string::npos) << diagnostics()[0];
}

// With no preferred match and no development region, "en" then the first localization is used.
TEST_F(NSBundleTest, FallbackOrderWithoutDevelopmentRegion) {
    const auto copy = useWritableBundleCopy();
    writeFile(std::string(kBundlePath) + "/Info.plist",
        "<?xml version=\"1.0\"?><plist><dict><key>NSPrincipalClass</key><string>X</string></dict></plist>");
    prefer({"ja"});
    EXPECT_EQ(bundle()->preferredLocalization(), "en");
    std::filesystem::remove_all(copy / "en.lproj");
    NSBundle::flushCaches();
    EXPECT_EQ(bundle()->preferredLocalization(), "de");  // the first, in name order
}

TEST_F(NSBundleTest, BundleAndInfo) {
    auto b = bundle();
    ASSERT_TRUE(b);
    EXPECT_EQ(b, bundle()) << "bundles are cached by path";
    EXPECT_EQ(b->principalClassName(), "VelkaroListController");
    EXPECT_EQ(b->localizations(), (std::vector<std::string>{"de", "en", "fr"}));
    EXPECT_EQ(b->pathForResource("Velkaro", "plist"), std::string(kBundlePath) + "/Velkaro.plist");
    EXPECT_EQ(b->pathForResource("Nothing", "plist"), std::nullopt);
    EXPECT_EQ(NSBundle::bundleWithPath("/Library/PreferenceBundles/Missing.bundle"), nullptr);
    EXPECT_EQ(NSBundle::bundleWithPath("/../etc"), nullptr);
}

}  // namespace
