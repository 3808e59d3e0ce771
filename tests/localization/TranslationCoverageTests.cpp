// Every text the pages localize has an entry in every shipped language, read with the host's own
// readers. A missing entry shows in English with no error anywhere, so this makes it loud; so is
// a maker row whose picture was never added.
#include <gtest/gtest.h>

#include <filesystem>

#include "host/Runtime/PropertyList.h"
#include "host/Runtime/StringsTable.h"
#include "tests/support/Files.h"

namespace {

const std::filesystem::path kResources = std::filesystem::path(VELKARO_SOURCE_DIR) / "resources";
const char* const kPages[] = {"Velkaro.plist", "VelkaroConfiguration.plist", "VelkaroMakers.plist"};
// Literals the sub-pages look up in code rather than through their page list.
const char* const kCodeKeys[] = {"CONFIGURATION", "MAKERS"};

// The texts a page list hands to the localizer: its title, and each row's label, footer and titles.
std::vector<std::string> localizedTexts(const host::PlistValue& page) {
    std::vector<std::string> texts;
    if (auto title = page["title"].text()) texts.push_back(*title);
    for (const auto& item : page["items"].array() ? *page["items"].array() : host::PlistValue::Array{}) {
        for (const char* field : {"label", "footerText"})
            if (auto text = item[field].text()) texts.push_back(*text);
        for (const auto& title : item["validTitles"].array() ? *item["validTitles"].array() : host::PlistValue::Array{})
            if (auto text = title.text()) texts.push_back(*text);
    }
    return texts;
}

TEST(TranslationCoverage, EveryLocalizedTextHasAnEntryInEveryLanguage) {
    std::vector<std::string> keys(std::begin(kCodeKeys), std::end(kCodeKeys));
    std::vector<std::string> makerPictures;
    for (const char* name : kPages) {
        std::string error;
        auto page = host::PropertyList::readFile(kResources / name, &error);
        ASSERT_TRUE(page && page->isDictionary()) << name << ": " << error;
        auto texts = localizedTexts(*page);
        keys.insert(keys.end(), texts.begin(), texts.end());
        if (const auto* items = (*page)["items"].array())
            for (const auto& item : *items)
                if (auto picture = item["devImage"].text()) makerPictures.push_back(*picture);
    }
    ASSERT_GT(keys.size(), 20u) << "the page lists were read";

    int languages = 0;
    for (const auto& entry : std::filesystem::directory_iterator(kResources)) {
        if (entry.path().extension() != ".lproj") continue;
        ++languages;
        const auto language = entry.path().stem().string();
        std::string diagnostic;
        const auto table = host::StringsTable::parse(test::readFile(entry.path() / "Localizable.strings"), &diagnostic);
        EXPECT_TRUE(diagnostic.empty()) << language << ": " << diagnostic;
        for (const auto& key : keys) EXPECT_TRUE(table.count(key)) << language << " has no entry for \"" << key << "\"";
    }
    EXPECT_EQ(languages, 3);

    for (const auto& picture : makerPictures)
        EXPECT_TRUE(std::filesystem::is_regular_file(kResources / "images/makers" / (picture + ".png"))) << picture;
}

}  // namespace
