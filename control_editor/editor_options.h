// The editor's option state (basGlobal): which control types get a dialog when they are placed,
// whether deleted controls' event procedures are offered for removal, whether renamed controls
// are followed in code. Loaded from the per-user settings at connection.
#pragma once

#include <array>
#include <cstddef>
#include <vector>

#include "framework/runtime.h"
#include "framework/vb_error.h"
#include "framework/vb_text.h"

namespace ravlen {

using vb::Text;
using vb::TextView;

inline constexpr std::size_t kControlTypeCount = 17;

// Settings address of the editor: application "Ravlen", section "Options".
inline constexpr const char16_t* kSettingsApp = u"Ravlen";
inline constexpr const char16_t* kSettingsSection = u"Options";

struct EditorOptions {
  // Indexed by type index (see ControlTypeNames); true: the type's dialog opens for new controls.
  std::array<bool, kControlTypeCount> PromptFlags{};
  bool RemoveCode = true;
  bool RenameCode = true;
};

// Display names by type index.
const std::array<Text, kControlTypeCount>& ControlTypeNames();

// The settings key of a type's prompt flag: "0UseCtl" ... "16UseCtl".
Text PromptFlagKey(std::size_t typeIndex);

// A stored text that its conversion refuses (a font style stored as "perhaps" by hand).
struct UnreadableOption {
  Text key;
  Text stored;
};
using UnreadableOptions = std::vector<UnreadableOption>;

// Reads a key of the editor's section and converts it with `convert` (CBool, CInt, CDbl), which
// raises for a text it cannot read. Given `unreadable`, such a text is listed there and the
// default's value stands for it instead, so that the stored value can be shown and rewritten.
template <class Convert>
auto ReadOption(TextView key, TextView defaultValue, Convert convert, UnreadableOptions* unreadable = nullptr) {
  const Text stored = vb::GetSetting(kSettingsApp, kSettingsSection, key, defaultValue);
  if (!unreadable) return convert(TextView(stored));
  try {
    return convert(TextView(stored));
  } catch (const vb::Error&) {
    unreadable->push_back({Text(key), stored});
    return convert(defaultValue);
  }
}

// Reads a key of the editor's section and converts it as CBool does; raises error 13 for a
// text that is neither True/False nor a number (or lists it, see ReadOption).
bool ReadBoolOption(TextView key, TextView defaultValue, UnreadableOptions* unreadable = nullptr);

// LoadOptions: every prompt flag, RemoveCode and RenameCode from the settings (all on when
// nothing is stored). Raises on a stored text that cannot be read as a boolean (or lists it,
// see ReadOption).
void LoadOptions(EditorOptions& options, UnreadableOptions* unreadable = nullptr);

}  // namespace ravlen
