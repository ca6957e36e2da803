// Settings kept in memory (tests); keys compare without regard to letter case.
#pragma once

#include <map>
#include <tuple>

#include "framework/settings_store.h"

namespace settings {

using vb::Text;
using vb::TextView;

class MemorySettingsStore : public vb::SettingsStore {
 public:
  Text GetSetting(TextView app, TextView section, TextView key, TextView defaultValue) override;
  void SaveSetting(TextView app, TextView section, TextView key, TextView value) override;
  // Every stored value as (app, section, key) -> value, keys in stored letter case.
  const std::map<std::tuple<Text, Text, Text>, Text>& values() const { return values_; }

 private:
  std::map<std::tuple<Text, Text, Text>, Text> values_;  // keys as first written
  // Upper-cased (app, section, key) -> the spelling used as the key of values_.
  std::map<std::tuple<Text, Text, Text>, std::tuple<Text, Text, Text>> spelled_;
};

}  // namespace settings
