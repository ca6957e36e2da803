#include "line_counter/cls_collection.h"

namespace tallowick {

clsCollection::Record clsCollection::Add(vb::TextView key) {
  if (vb::Trim(key).empty()) vb::Raise(vb::err::kInvalidKey, u"You must specify a key for the object", u"Add");
  auto record = std::make_shared<VBObject>();
  vb::Text k(key);
  // The records list refuses a duplicate first, so the keys list never gets ahead of it.
  records_.Add(record, k);
  keys_.Add(k, k);
  return record;
}

clsCollection::Record clsCollection::Item(std::size_t index) const {
  if (index < 1 || index > records_.Count()) return nullptr;
  return records_.Item(index);
}

clsCollection::Record clsCollection::Item(vb::TextView key) const {
  const Record* found = records_.Find(key);
  return found ? *found : nullptr;
}

void clsCollection::Remove(std::size_t index) {
  records_.Remove(index);
  keys_.Remove(index);
}

void clsCollection::Remove(vb::TextView key) {
  vb::Text k(key);  // the key may be one of ours, about to go
  records_.Remove(k);
  keys_.Remove(k);
}

void clsCollection::Clear() {
  records_ = {};
  keys_ = {};
}

vb::Text clsCollection::KeyFromObject(const Record& obj) const {
  if (!obj) return {};
  for (const auto& entry : records_)
    if (entry.item == obj) return entry.key.value_or(vb::Text{});
  return {};
}

vb::Text clsCollection::Key(std::size_t index) const {
  if (index < 1 || index > keys_.Count()) return {};
  return keys_.Item(index);
}

clsCollection::Iterator clsCollection::begin() const { return Iterator(records_.begin()); }
clsCollection::Iterator clsCollection::end() const { return Iterator(records_.end()); }

}  // namespace tallowick
