#pragma once
// The records of two contracts matched by key. Each side's last record with
// a key is the one compared; keys come in the order they first appear in
// the target, then the keys only the source has, in their order. Built with
// one hash map, so matching stays linear in the number of records.

#include <cstddef>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace vorn::compatibility::keyed {

template <class T>
struct KeyedPair {
  std::string_view key;
  const T* source = nullptr;  // nullptr: only the target has the key
  const T* target = nullptr;  // nullptr: only the source has the key
};

// `key_of(record)` gives a key that lives as long as the record does.
template <class Range, class KeyOf>
auto pair_by_key(const Range& source, const Range& target, KeyOf key_of) {
  using T = std::remove_cvref_t<decltype(*std::begin(source))>;
  std::vector<KeyedPair<T>> pairs;
  std::unordered_map<std::string_view, std::size_t> slot;
  pairs.reserve(source.size() + target.size());
  slot.reserve(source.size() + target.size());
  for (const T& record : target) {
    std::string_view key = key_of(record);
    auto [it, fresh] = slot.try_emplace(key, pairs.size());
    if (fresh) pairs.push_back({key, nullptr, &record});
    pairs[it->second].target = &record;
  }
  for (const T& record : source) {
    std::string_view key = key_of(record);
    auto [it, fresh] = slot.try_emplace(key, pairs.size());
    if (fresh) pairs.push_back({key, &record, nullptr});
    pairs[it->second].source = &record;
  }
  return pairs;
}

// Whether two lists hold the same texts, ignoring order and repeats.
template <class Range, class KeyOf>
bool same_key_set(const Range& a, const Range& b, KeyOf key_of) {
  std::unordered_set<std::string_view> in_a, in_b;
  for (const auto& item : a) in_a.insert(key_of(item));
  for (const auto& item : b) {
    std::string_view key = key_of(item);
    if (!in_a.contains(key)) return false;
    in_b.insert(key);
  }
  return in_a.size() == in_b.size();
}

}  // namespace vorn::compatibility::keyed
