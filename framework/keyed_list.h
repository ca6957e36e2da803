// An ordered list of items with optional keys, as VB's Collection keeps them: keys compare
// without regard to letter case and occur once, positions are 1-based, iteration follows
// insertion order. Adding a duplicate key fails and changes nothing. Keys are found through a hash
// index, so a list of many keys is built in linear time.
#pragma once

#include <cstddef>
#include <optional>
#include <unordered_map>
#include <vector>

#include "framework/vb_error.h"
#include "framework/vb_text.h"

namespace vb {

template <class T>
class KeyedList {
 public:
  struct Entry {
    std::optional<Text> key;
    T item;
  };

  std::size_t Count() const { return entries_.size(); }
  bool Empty() const { return entries_.empty(); }

  // Appends; raises error 457 when the key is already used (the list is left unchanged).
  void Add(T item, std::optional<Text> key = std::nullopt) {
    if (!TryAdd(std::move(item), std::move(key))) RaiseStandard(err::kDuplicateKey);
  }
  // Returns false instead of raising when the key is taken.
  bool TryAdd(T item, std::optional<Text> key = std::nullopt) {
    if (key) {
      if (PositionOf(*key)) return false;
      index_.emplace(HashNoCase(*key), entries_.size());
    }
    entries_.push_back(Entry{std::move(key), std::move(item)});
    return true;
  }

  bool Contains(TextView key) const { return Find(key) != nullptr; }

  // 1-based; error 9 when out of range.
  T& Item(std::size_t position) { return entries_.at(Index(position)).item; }
  const T& Item(std::size_t position) const { return entries_.at(Index(position)).item; }
  const std::optional<Text>& KeyAt(std::size_t position) const { return entries_.at(Index(position)).key; }
  // By key; error 5 when absent.
  T& Item(TextView key) { return Require(key)->item; }
  const T& Item(TextView key) const { return Require(key)->item; }
  T* Find(TextView key) {
    const std::size_t position = PositionOf(key);
    return position ? &entries_[position - 1].item : nullptr;
  }
  const T* Find(TextView key) const { return const_cast<KeyedList*>(this)->Find(key); }
  // 1-based position of the key, 0 when absent.
  std::size_t PositionOf(TextView key) const {
    auto [first, last] = index_.equal_range(HashNoCase(key));
    for (auto it = first; it != last; ++it)
      if (EqualsNoCase(*entries_[it->second].key, key)) return it->second + 1;
    return 0;
  }

  void Remove(std::size_t position) {
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(Index(position)));
    // Later entries moved up by one: index them anew.
    index_.clear();
    for (std::size_t i = 0; i < entries_.size(); ++i)
      if (entries_[i].key) index_.emplace(HashNoCase(*entries_[i].key), i);
  }
  void Remove(TextView key) {
    std::size_t p = PositionOf(key);
    if (p == 0) RaiseStandard(err::kInvalidProcedureCall);
    Remove(p);
  }
  void Clear() {
    entries_.clear();
    index_.clear();
  }

  auto begin() { return entries_.begin(); }
  auto end() { return entries_.end(); }
  auto begin() const { return entries_.begin(); }
  auto end() const { return entries_.end(); }

 private:
  std::size_t Index(std::size_t position) const {
    if (position < 1 || position > entries_.size()) RaiseStandard(err::kSubscriptOutOfRange);
    return position - 1;
  }
  Entry* Require(TextView key) {
    const std::size_t position = PositionOf(key);
    if (!position) RaiseStandard(err::kInvalidProcedureCall);
    return &entries_[position - 1];
  }
  const Entry* Require(TextView key) const { return const_cast<KeyedList*>(this)->Require(key); }

  std::vector<Entry> entries_;
  std::unordered_multimap<std::size_t, std::size_t> index_;  // hash of a key -> its 0-based position
};

}  // namespace vb
