#pragma once

#include <cstddef>
#include <unordered_map>
#include <utility>
#include <vector>

namespace bgexport {

// A hash map that is walked in insertion order. The export walks its element
// maps to write relations and boundaries; walking them in the order the
// elements were written makes two exports of one proposal the same file.
template <class Key, class Value>
class OrderedMap {
public:
    using Entry = std::pair<Key, Value>;

    // The value under key; a missing key is appended with value.
    Value& insert(const Key& key, Value value)
    {
        auto found = index.find(key);
        if (found != index.end())
            return entries[found->second].second;
        index.emplace(key, entries.size());
        entries.emplace_back(key, std::move(value));
        return entries.back().second;
    }
    // The value under key, appended default-made when missing.
    Value& operator[](const Key& key) { return insert(key, Value()); }
    Value* find(const Key& key)
    {
        auto found = index.find(key);
        return found == index.end() ? nullptr : &entries[found->second].second;
    }
    bool contains(const Key& key) const { return index.count(key) != 0; }
    std::size_t size() const { return entries.size(); }
    bool empty() const { return entries.empty(); }

    typename std::vector<Entry>::iterator begin() { return entries.begin(); }
    typename std::vector<Entry>::iterator end() { return entries.end(); }
    typename std::vector<Entry>::const_iterator begin() const { return entries.begin(); }
    typename std::vector<Entry>::const_iterator end() const { return entries.end(); }

private:
    std::vector<Entry> entries;
    std::unordered_map<Key, std::size_t> index;
};

} // namespace bgexport
