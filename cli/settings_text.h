// The text form of the settings store that `settings export` writes and `settings import`
// reads: a header line, then one line per value, "app TAB section TAB key TAB value", with
// backslash, tab, carriage return and line feed escaped as \\ \t \r \n, so that every value
// (line breaks included) comes back exactly, and an end line, without which a file cut short
// would pass for a smaller export.
#pragma once

#include <string>
#include <vector>

#include "settings/sqlite_store.h"

namespace cli {

inline constexpr const char* kSettingsHeader = "vb6kit settings 1";
inline constexpr const char* kSettingsEnd = "end of vb6kit settings";

std::string FormatSettings(const std::vector<settings::StoredValue>& values);
// Raises UsageError naming the line that cannot be read, or saying that the end line is missing.
std::vector<settings::StoredValue> ParseSettings(const std::string& text);

}  // namespace cli
