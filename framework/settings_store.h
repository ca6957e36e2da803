// The per-user settings store of the VB runtime (GetSetting / SaveSetting): string values
// addressed by application, section and key, compared without regard to letter case.
#pragma once

#include "framework/vb_text.h"

namespace vb {

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  // The stored value, or `defaultValue` when the key is absent.
  virtual Text GetSetting(TextView app, TextView section, TextView key, TextView defaultValue) = 0;
  // Raises vb::Error when the value cannot be stored.
  virtual void SaveSetting(TextView app, TextView section, TextView key, TextView value) = 0;
};

}  // namespace vb
