// The keyed container of counted components. It keeps two parallel lists in insertion order:
// the records, each under its key, and the keys, each under itself, so that a key can be read
// back by position. Keys compare without regard to letter case and occur once.
#pragma once

#include <cstddef>
#include <memory>
#include <utility>

#include "framework/keyed_list.h"
#include "line_counter/vb_object.h"

namespace tallowick {

class clsCollection {
 public:
  using Record = std::shared_ptr<VBObject>;

  // A new, empty record under `key`. Raises error 10 (source "Add") for a key that is empty
  // after trimming, and the list's duplicate-key error for a key already present; either way
  // nothing changes.
  Record Add(vb::TextView key);

  // The record at a 1-based position or under a key; an empty reference when there is none.
  Record Item(std::size_t index) const;
  Record Item(vb::TextView key) const;

  std::size_t Count() const { return records_.Count(); }

  // Removes the entry at that position or under that key from both lists.
  void Remove(std::size_t index);
  void Remove(vb::TextView key);

  void Clear();

  // The key of the first entry holding this very record; empty when it is not here.
  vb::Text KeyFromObject(const Record& obj) const;
  // The key at a 1-based position; empty when there is none.
  vb::Text Key(std::size_t index) const;
  const vb::KeyedList<vb::Text>& Keys() const { return keys_; }

  // Iteration over the records in insertion order (NewEnum).
  class Iterator {
   public:
    using Inner = decltype(std::declval<const vb::KeyedList<Record>&>().begin());
    explicit Iterator(Inner at) : at_(at) {}
    const Record& operator*() const { return at_->item; }
    Iterator& operator++() {
      ++at_;
      return *this;
    }
    bool operator==(const Iterator&) const = default;

   private:
    Inner at_;
  };
  Iterator begin() const;
  Iterator end() const;

 private:
  vb::KeyedList<Record> records_;
  vb::KeyedList<vb::Text> keys_;
};

}  // namespace tallowick
