// The shared localizer: lookups and in-place localization of loaded rows.
#include <gtest/gtest.h>

#include <thread>

#include "host/Foundation/NSBundle.h"
#include "host/Runtime/DeviceProfile.h"
#include "host/Runtime/DeviceRoot.h"
#include "localization/KXVelkaroLocalizer.h"
#include "tests/support/DeviceFixture.h"

namespace {

// Runs first in its process (ctest runs each test alone), so the two threads really race.
TEST(KXVelkaroLocalizerShared, OneInstanceEvenWhenTwoThreadsAskFirst) {
    std::shared_ptr<KXVelkaroLocalizer> a, b;
    std::atomic<bool> go{false};
    std::thread first([&] { while (!go) {} a = KXVelkaroLocalizer::sharedLocalizer(); });
    std::thread second([&] { while (!go) {} b = KXVelkaroLocalizer::sharedLocalizer(); });
    go = true;
    first.join();
    second.join();
    ASSERT_TRUE(a);
    EXPECT_EQ(a, b);
    EXPECT_EQ(a, KXVelkaroLocalizer::sharedLocalizer());
}

class KXVelkaroLocalizerTest : public DeviceFixture {
protected:
    void SetUp() override {
        DeviceFixture::SetUp();
        host::DeviceProfile::mutableCurrent().preferredLanguages = {"de"};
        NSBundle::flushCaches();
    }
    std::shared_ptr<KXVelkaroLocalizer> localizer() { return KXVelkaroLocalizer::sharedLocalizer(); }
};

std::shared_ptr<PSSpecifier> row(std::optional<std::string> name) {
    auto s = std::make_shared<PSSpecifier>();
    s->setName(std::move(name));
    return s;
}

TEST_F(KXVelkaroLocalizerTest, LocalizesRowsInPlaceAndReturnsTheSameArray) {
    auto titled = row("Theme");
    titled->setProperty(PlistValue("Choose \"Automatic\" to follow the system appearance."), "footerText");
    titled->setProperty(PlistValue("theme"), "key");
    // The keys are texts with entries of their own: they must stay as they are.
    titled->setTitleDictionary(std::make_shared<PSTitleDictionary>(
        PSTitleDictionary{{PlistValue("Dark"), "Dark"}, {PlistValue(1), "Light"}}));
    titled->setShortTitleDictionary(std::make_shared<PSTitleDictionary>(PSTitleDictionary{{PlistValue(1), "Light"}}));
    auto bare = row(std::nullopt);
    auto unknown = row("Not in any table");
    auto empty = row("");
    auto rows = std::make_shared<PSSpecifierArray>(PSSpecifierArray{titled, bare, unknown, empty});

    EXPECT_EQ(localizer()->localizedSpecifiersForSpecifiers(rows), rows) << "the very array passed in";
    EXPECT_EQ(titled->name(), "Design");
    EXPECT_EQ(titled->propertyForKey("footerText").text(), "Wähle „Automatisch“, um dem Erscheinungsbild des Systems zu folgen.");
    EXPECT_EQ(titled->propertyForKey("key").text(), "theme") << "other properties untouched";
    ASSERT_TRUE(titled->titleDictionary() && titled->shortTitleDictionary());
    EXPECT_EQ(*titled->titleDictionary(), (PSTitleDictionary{{PlistValue("Dark"), "Dunkel"}, {PlistValue(1), "Hell"}}));
    EXPECT_EQ(*titled->shortTitleDictionary(), (PSTitleDictionary{{PlistValue(1), "Hell"}}));

    EXPECT_TRUE(!bare->name() && bare->properties().empty() && !bare->titleDictionary() && !bare->shortTitleDictionary());
    EXPECT_EQ(std::tuple(unknown->name(), empty->name()), std::tuple(std::optional<std::string>("Not in any table"), std::optional<std::string>("")));

    // The loading form puts the same array where it is told.
    rows = std::make_shared<PSSpecifierArray>(PSSpecifierArray{row("Enabled")});
    std::shared_ptr<PSSpecifierArray> target;
    localizer()->loadLocalizedSpecifiersForSpecifiers(rows, &target);
    EXPECT_EQ(target, rows);
    EXPECT_EQ((*rows)[0]->name(), "Aktiviert");
}

// A named table is read instead of Localizable, for single keys and for rows. With no bundle at
// the fixed path every lookup still gives a text: its key.
TEST_F(KXVelkaroLocalizerTest, SingleKeyLookups) {
    useWritableBundleCopy();
    writeFile(std::string(kBundlePath) + "/de.lproj/Localizable.strings", "\"MAKERS\" = \"Leute\";\n");
    writeFile(std::string(kBundlePath) + "/de.lproj/Other.strings", "\"MAKERS\" = \"Andere\"; \"Dark\" = \"Finster\";\n");
    EXPECT_EQ(localizer()->localizedStringForKey("MAKERS"), "Leute");
    EXPECT_EQ(localizer()->localizedStringForKey("MAKERS", "Other"), "Andere");
    auto titled = row("MAKERS");
    titled->setTitleDictionary(std::make_shared<PSTitleDictionary>(PSTitleDictionary{{PlistValue(0), "Dark"}}));
    localizer()->localizedSpecifiersForSpecifiers(std::make_shared<PSSpecifierArray>(PSSpecifierArray{titled}), "Other");
    EXPECT_EQ(titled->name(), "Andere");
    EXPECT_EQ(titled->titleDictionary()->at(0).second, "Finster");

    host::DeviceRoot::mount(kBundlePath, root / "nowhere");
    NSBundle::flushCaches();
    EXPECT_EQ(localizer()->localizationBundle(), nullptr);
    EXPECT_EQ(localizer()->localizedStringForKey("MAKERS"), "MAKERS");
}

}  // namespace
