#include "host/Runtime/SortedDictionary.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

#include "host/Runtime/PropertyList.h"

namespace {

using Dictionary = host::SortedDictionary<int>;
using Model = std::map<std::string, int>;

// Keys from a small alphabet, so that duplicates are common; the high byte checks that the order
// is byte by byte, as std::map's.
std::string randomKey(std::mt19937& random) {
    static const std::string letters[] = {"a", "b", "ab", "ba", "\xC3\xA9", "B", "", "a\xFF", "longer than sixteen bytes"};
    std::string key;
    for (int n = random() % 3; n >= 0; --n) key += letters[random() % std::size(letters)];
    return key;
}

void expectSame(const Dictionary& dictionary, const Model& model, const std::string& where) {
    ASSERT_EQ(dictionary.size(), model.size()) << where;
    auto it = dictionary.begin();
    for (const auto& [key, value] : model) {
        EXPECT_EQ(it->first, key) << where;
        EXPECT_EQ(it->second, value) << where;
        EXPECT_TRUE(dictionary.find(key) == it) << where;
        ++it;
    }
}

// Entries given in any order are kept in std::map's order, a key given twice keeping its last
// value: both on the short path (sorted in place) and the long one (over sixteen entries).
TEST(SortedDictionaryTest, FromEntriesSortsAndKeepsTheLastOfDuplicates) {
    std::mt19937 random(7);
    for (int round = 0; round < 400; ++round) {
        std::vector<Dictionary::value_type> entries;
        Model model;
        const int count = round % 40;
        for (int k = 0; k < count; ++k) {
            const std::string key = randomKey(random);
            entries.emplace_back(key, k);
            model.insert_or_assign(key, k);
        }
        expectSame(Dictionary::fromEntries(entries), model, "round " + std::to_string(round));
    }
}

// Every change the host makes reaches the same state as std::map's; a missing key is not found.
TEST(SortedDictionaryTest, ChangesMatchStdMap) {
    std::mt19937 random(11);
    Dictionary dictionary{{"b", 1}, {"a", 2}, {"b", 3}};  // as std::map's list: the first "b" stays
    Model model{{"b", 1}, {"a", 2}, {"b", 3}};
    expectSame(dictionary, model, "initializer list");
    for (int step = 0; step < 3000; ++step) {
        const std::string key = randomKey(random);
        const std::string where = "step " + std::to_string(step) + " key \"" + key + "\"";
        switch (random() % 5) {
            case 0: EXPECT_EQ(dictionary.try_emplace(key, step).second, model.try_emplace(key, step).second) << where; break;
            case 1: EXPECT_EQ(dictionary.insert_or_assign(key, step).second, model.insert_or_assign(key, step).second) << where; break;
            case 2: dictionary[key] += step, model[key] += step; break;
            case 3: EXPECT_EQ(dictionary.erase(key), model.erase(key)) << where; break;
            case 4: EXPECT_EQ(dictionary.contains(key), model.count(key) == 1) << where; break;
        }
        expectSame(dictionary, model, where);
    }
    EXPECT_TRUE(dictionary.find("not a key") == dictionary.end());
}

// Dictionaries compare as std::map's do: entry by entry, keys before values.
TEST(SortedDictionaryTest, ComparesEntryByEntry) {
    EXPECT_TRUE((Dictionary{{"a", 1}, {"b", 2}} == Dictionary{{"b", 2}, {"a", 1}}));
    EXPECT_FALSE((Dictionary{{"a", 1}} == Dictionary{{"a", 2}}));
    EXPECT_TRUE((Dictionary{{"a", 9}} < Dictionary{{"b", 0}}));
    EXPECT_TRUE((Dictionary{{"a", 1}} < Dictionary{{"a", 1}, {"b", 0}}));
    EXPECT_FALSE((Dictionary{{"b", 0}} < Dictionary{{"a", 9}}));
}

// A property list file naming a key twice keeps the later value, as the platform reads it, in
// every format.
TEST(SortedDictionaryTest, PropertyListFilesKeepTheLaterOfTwoKeys) {
    const char* texts[] = {
        "<plist><dict><key>k</key><string>first</string><key>j</key><true/><key>k</key><string>second</string></dict></plist>",
        "{ k = first; j = 1; k = second; }",
    };
    for (const char* text : texts) {
        const auto value = host::PropertyList::parse(std::string(text));
        ASSERT_TRUE(value && value->dictionary()) << text;
        EXPECT_EQ(value->dictionary()->size(), 2u) << text;
        EXPECT_EQ((*value)["k"], host::PlistValue("second")) << text;
    }
}

}  // namespace
