// Settings kept in memory: lookups go through the upper-cased address, the values keep the
// spelling of the address as it was first written (as the registry keeps a value's name).
#include "settings/memory_store.h"

#include "framework/vb_error.h"

namespace settings {

namespace {

std::tuple<Text, Text, Text> Folded(TextView app, TextView section, TextView key) {
  return {vb::UCase(app), vb::UCase(section), vb::UCase(key)};
}

}  // namespace

Text MemorySettingsStore::GetSetting(TextView app, TextView section, TextView key, TextView defaultValue) {
  auto spelling = spelled_.find(Folded(app, section, key));
  if (spelling == spelled_.end()) return Text(defaultValue);
  return values_.at(spelling->second);
}

void MemorySettingsStore::SaveSetting(TextView app, TextView section, TextView key, TextView value) {
  if (app.empty() || section.empty()) vb::RaiseStandard(vb::err::kInvalidProcedureCall);
  auto folded = Folded(app, section, key);
  auto spelling = spelled_.find(folded);
  if (spelling != spelled_.end()) {
    values_.at(spelling->second) = Text(value);
    return;
  }
  std::tuple<Text, Text, Text> written{Text(app), Text(section), Text(key)};
  values_.emplace(written, Text(value));
  spelled_.emplace(std::move(folded), std::move(written));
}

}  // namespace settings
