#include "control_editor/editor_options.h"

#include "framework/runtime.h"
#include "framework/variant.h"

namespace ravlen {

const std::array<Text, kControlTypeCount>& ControlTypeNames() {
  static const std::array<Text, kControlTypeCount> names = {
      u"CheckBox", u"ComboBox",        u"CommandButton",       u"Frame",      u"Label",      u"ListBox",
      u"ListView", u"OptionButton",    u"TextBox",             u"Timer",      u"TreeView",   u"Masked Edit Box",
      u"RichTextBox", u"SSTab (Tabbed Dialog)", u"VScrollBar", u"HScrollBar", u"Other Controls",
  };
  return names;
}

Text PromptFlagKey(std::size_t typeIndex) { return vb::ToText(static_cast<std::int64_t>(typeIndex)) + u"UseCtl"; }

bool ReadBoolOption(TextView key, TextView defaultValue, UnreadableOptions* unreadable) {
  return ReadOption(key, defaultValue, [](TextView text) { return vb::CBool(text); }, unreadable);
}

void LoadOptions(EditorOptions& options, UnreadableOptions* unreadable) {
  // Read everything first, so a bad stored text leaves the state as it was.
  EditorOptions loaded;
  for (std::size_t n = 0; n < kControlTypeCount; ++n)
    loaded.PromptFlags[n] = ReadBoolOption(PromptFlagKey(n), u"1", unreadable);
  loaded.RemoveCode = ReadBoolOption(u"RemoveCode", u"1", unreadable);
  loaded.RenameCode = ReadBoolOption(u"RenameCode", u"1", unreadable);
  options = loaded;
}

}  // namespace ravlen
