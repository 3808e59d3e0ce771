// Pseudo-languages: each transform keeps format specifiers whole and once, leaves empty texts
// empty and other scripts intact; read through a bundle they replace the pane's and the host's
// texts, keeping the clock's pattern.
#include "host/Foundation/NSBundle.h"
#include "host/Preferences/HostStrings.h"
#include "host/Runtime/DeviceProfile.h"
#include "host/Runtime/PseudoLanguage.h"
#include "host/Runtime/SimulatedDevice.h"
#include "tests/support/DeviceFixture.h"

using host::PseudoLanguage;
using Kind = PseudoLanguage::Kind;

TEST(PseudoLanguageTest, TransformsKeepSpecifiersAndEmptiness) {
    const std::string rlo(PseudoLanguage::kRightToLeftOverride), pdf(PseudoLanguage::kPopDirectional);
    struct Case { Kind kind; std::string in, out; } cases[] = {
        {Kind::Double, "Enabled", "Enabled Enabled"}, {Kind::Double, "%d items", "%d items items"},
        {Kind::Double, "Blur %1$@ at %.2f%%", "Blur %1$@ at %.2f%% Blur  at"},
        {Kind::Double, "%@", "%@"},  // nothing but an argument: nothing to repeat
        {Kind::Double, "", ""}, {Kind::Double, "Réglages", "Réglages Réglages"}, {Kind::Accented, "Enabled", "Éñåbļéð"},
        {Kind::Accented, "%d sec, %@ left", "%d šéç, %@ ļéfţ"},  // %d and %@ untouched
        {Kind::Accented, "%lld%%", "%lld%%"}, {Kind::Accented, "Save 5%.", "Šåvé 5%."},  // a lone % is text
        {Kind::Accented, "© 2026 Ünï", "© 2026 Üñï"},  // other letters pass through
        {Kind::Accented, "", ""}, {Kind::Bounded, "Theme", "[# Theme #]"}, {Kind::Bounded, "%@", "[# %@ #]"}, {Kind::Bounded, "", ""},
        {Kind::RightToLeft, "Light", rlo + "Light" + pdf},
        {Kind::RightToLeft, "one\ntwo", rlo + "one" + pdf + "\n" + rlo + "two" + pdf},  // each line its own
        {Kind::RightToLeft, "a\n\nb", rlo + "a" + pdf + "\n\n" + rlo + "b" + pdf}, {Kind::RightToLeft, "", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(PseudoLanguage::transform(c.kind, c.in), c.out) << c.in;
    const std::pair<const char*, std::optional<Kind>> names[] = {
        {"pseudo-double", Kind::Double}, {"pseudo-rtl", Kind::RightToLeft}, {"pseudo-x", std::nullopt}, {"de", std::nullopt}};
    for (const auto& [name, kind] : names) EXPECT_EQ(PseudoLanguage::named(name), kind) << name;
}

using PseudoBundleTest = DeviceFixture;

TEST_F(PseudoBundleTest, PaneAndHostTextsAreTransformedFromTheDevelopmentLanguage) {
    struct Case { std::string language, makers, back; } cases[] = {
        {"pseudo-double", "Makers Makers", "Back Back"},
        {"pseudo-accented", "Måķéŕš", "Båçķ"},
        {"pseudo-bounded", "[# Makers #]", "[# Back #]"},
        {"pseudo-rtl", "\u202EMakers\u202C", "\u202EBack\u202C"},
        {"de", "Mitwirkende", "Zurück"},  // a real language is read as it is
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.language);
        host::DeviceProfile::mutableCurrent().preferredLanguages = {c.language, "de"};
        NSBundle::flushCaches();
        auto bundle = NSBundle::bundleWithPath(kBundlePath);
        ASSERT_TRUE(bundle);
        EXPECT_EQ(bundle->localizedStringForKey("MAKERS", "", std::nullopt), c.makers);
        EXPECT_EQ(host::HostStrings::localized("Back"), c.back);
        // The clock's pattern is read by the program, so it still gives a time.
        EXPECT_EQ(host::HostStrings::statusBarTime(9, 41), c.language == "de" ? "09:41" : "9:41 AM");
    }
}
