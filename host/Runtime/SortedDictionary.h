#pragma once
// A dictionary from text keys to values, held sorted by key in one contiguous block.
//
// Property lists hold many small dictionaries (a page row's handful of properties): one block per
// dictionary, rather than a node per entry, keeps loading a long page cheap, and a lookup reads
// memory in order. It offers the part of std::map's interface the host uses, in std::map's order
// (by key, byte by byte), and looks keys up from any text without a copy. Unlike std::map, adding
// or removing an entry moves the entries after it: references and iterators into the dictionary
// do not survive a change to it.
#include <algorithm>
#include <initializer_list>
#include <iterator>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

namespace host {

template <class Value>
class SortedDictionary {
public:
    using key_type = std::string;
    using mapped_type = Value;
    using value_type = std::pair<std::string, Value>;
    using iterator = typename std::vector<value_type>::iterator;
    using const_iterator = typename std::vector<value_type>::const_iterator;
    using size_type = std::size_t;

    SortedDictionary() = default;
    // As with std::map, a key listed twice keeps its first value.
    SortedDictionary(std::initializer_list<value_type> entries) {
        _entries.reserve(entries.size());
        for (const auto& [key, value] : entries) try_emplace(key, value);
    }

    // Entries in any order; a key given more than once keeps its last value, as a property list
    // reader takes a later duplicate key.
    static SortedDictionary fromEntries(std::vector<value_type> entries) {
        sortStably(entries);
        auto kept = entries.begin();
        for (auto it = entries.begin(); it != entries.end(); ++it) {
            if (kept != entries.begin() && std::prev(kept)->first == it->first) {
                std::prev(kept)->second = std::move(it->second);
            } else {
                if (kept != it) *kept = std::move(*it);
                ++kept;
            }
        }
        entries.erase(kept, entries.end());
        SortedDictionary dictionary;
        dictionary._entries = std::move(entries);
        return dictionary;
    }

    iterator begin() { return _entries.begin(); }
    iterator end() { return _entries.end(); }
    const_iterator begin() const { return _entries.begin(); }
    const_iterator end() const { return _entries.end(); }
    size_type size() const { return _entries.size(); }
    bool empty() const { return _entries.empty(); }

    iterator find(std::string_view key) { return findIn(_entries, key); }
    const_iterator find(std::string_view key) const { return findIn(_entries, key); }
    bool contains(std::string_view key) const { return find(key) != end(); }

    // Adds the key with a value made from `args` unless it is present; says where it is and
    // whether it was added.
    template <class Key, class... Args>
    std::pair<iterator, bool> try_emplace(Key&& key, Args&&... args) {
        const std::string_view text(key);
        const auto it = lowerBound(text);
        if (it != end() && it->first == text) return {it, false};
        return {_entries.emplace(it, std::piecewise_construct, std::forward_as_tuple(std::forward<Key>(key)),
                    std::forward_as_tuple(std::forward<Args>(args)...)),
            true};
    }
    template <class Key>
    std::pair<iterator, bool> insert_or_assign(Key&& key, Value value) {
        auto [it, added] = try_emplace(std::forward<Key>(key));
        it->second = std::move(value);
        return {it, added};
    }
    template <class Key>
    Value& operator[](Key&& key) {
        return try_emplace(std::forward<Key>(key)).first->second;
    }

    size_type erase(std::string_view key) {
        const auto it = find(key);
        if (it == end()) return 0;
        _entries.erase(it);
        return 1;
    }

    friend bool operator==(const SortedDictionary& a, const SortedDictionary& b) { return a._entries == b._entries; }
    friend bool operator<(const SortedDictionary& a, const SortedDictionary& b) {
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end());
    }

private:
    static bool keyBefore(const value_type& a, const value_type& b) { return a.first < b.first; }

    // The first entry whose key is not before `key`, in `entries` as given (const or not).
    template <class Entries>
    static auto lowerBoundIn(Entries& entries, std::string_view key) {
        return std::lower_bound(entries.begin(), entries.end(), key,
            [](const value_type& entry, std::string_view k) { return std::string_view(entry.first) < k; });
    }
    template <class Entries>
    static auto findIn(Entries& entries, std::string_view key) {
        const auto it = lowerBoundIn(entries, key);
        return it != entries.end() && it->first == key ? it : entries.end();
    }
    iterator lowerBound(std::string_view key) { return lowerBoundIn(_entries, key); }

    // A stable sort by key. A dictionary of a few entries (the common case) is sorted by insertion,
    // which needs no buffer; std::stable_sort would allocate one for every dictionary.
    static void sortStably(std::vector<value_type>& entries) {
        constexpr std::size_t kInsertionLimit = 16;
        if (entries.size() > kInsertionLimit) {
            std::stable_sort(entries.begin(), entries.end(), keyBefore);
            return;
        }
        for (auto it = entries.begin(); it != entries.end(); ++it) {
            if (it == entries.begin() || !keyBefore(*it, *std::prev(it))) continue;  // in place already
            value_type moving = std::move(*it);
            auto hole = it;
            do {
                *hole = std::move(*std::prev(hole));
                --hole;
            } while (hole != entries.begin() && keyBefore(moving, *std::prev(hole)));
            *hole = std::move(moving);
        }
    }

    std::vector<value_type> _entries;
};

}  // namespace host
