// The seventeen control dialogs as data: one row per control type with its title, name prefix,
// fields and the properties that "&Save Settings" writes, in order. ControlDialog builds a
// dialog from a row; the few type-specific behaviours are small hooks named as VB names the
// handlers they stand for.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <vector>

#include "framework/vb_text.h"

namespace ravlen {

using vb::Text;
using vb::TextView;

class ControlDialog;

// Whether the caption box follows the name box, with a leading "&" or without one.
enum class CaptionFollow { None, WithAmpersand, Plain };
// Whether the dialog has the font box and button and writes the font.
enum class FontMode { None, Always, WhenControlHasFont };

enum class FieldKind { TextBox, CheckBox, OptionButton, Group };

// The click handler of an option button: the dialog and the button's index (-1 outside a set).
using OptionHook = void (*)(ControlDialog& dialog, int index);

struct FieldDef {
  FieldKind kind = FieldKind::TextBox;
  const char16_t* name = u"";
  // Caption of a check box, option or group; the label caption of a text box.
  const char16_t* caption = u"";
  // Initial text of a text box; the tag of an option button (its value).
  const char16_t* initial = u"";
  bool checked = false;  // check box checked, option selected
  int index = -1;        // element of an indexed set of option buttons
  int maxLength = 0;     // text box, 0: no limit
  bool digitsOnly = false;
  OptionHook onClick = nullptr;
  std::vector<FieldDef> children = {};  // a group's fields
};

// Where a written value comes from.
enum class Source {
  Name,         // txtName's text as typed
  Check,        // a check box as a boolean
  CheckValue,   // a check box's value as an integer (0 or 1)
  BoxText,      // a text box's text as typed
  TrimmedText,  // a text box's text without leading and trailing spaces
  Int16,        // a text box's text converted to a 16-bit integer
  Int32,        // a text box's text converted to a 32-bit integer
  OptionTag,    // the selected option of a group: its tag as a 16-bit integer
  OptionIndex,  // the selected option of a group: its index in the set
  Choice,       // a choice variable of the dialog
  Font,         // the font step: the dialog's font record into the control's font object
  IndexText,    // txtIndex as typed, only when not blank
  IndexInt16,   // txtIndex as a 16-bit integer, only when not blank
  Tag,          // txtTag as typed, only when not blank
};

struct WriteDef {
  const char16_t* property = u"";
  Source source = Source::BoxText;
  // The field that supplies the value (a group frame for the option sources, the variable's
  // name for Choice).
  const char16_t* field = nullptr;
  // The focus target of a failed write when it is not the supplying field: option 0 of the
  // named indexed set.
  const char16_t* focus = nullptr;
  // Skip the write when the supplying field is disabled.
  bool skipWhenDisabled = false;
};

struct DialogDef {
  const char16_t* formName;  // frmCheckBox
  const char16_t* title;     // window title
  const char16_t* nameLabel;
  const char16_t* prefix;
  int nameMaxLength;  // 0: no limit
  CaptionFollow follows;
  FontMode font;
  bool hasVisible;
  const char16_t* indexLabel;
  const char16_t* tagLabel;
  std::vector<FieldDef> fields;
  std::vector<WriteDef> writes;
  // The type's own opening steps, after the frame's; may be null.
  void (*opening)(ControlDialog& dialog);
};

// One row of the type test: the class name (exact, case-sensitive), the type index, the dialog.
struct ControlTypeRow {
  const char16_t* className;  // nullptr in the last row: every other class
  std::size_t typeIndex;
  const DialogDef* dialog;
};

// The rows in test order; the last one takes every class name that matched none before it.
const std::vector<ControlTypeRow>& ControlTypeTable();
const ControlTypeRow& FindControlType(TextView className);

// frmOtherControl's opening helper: disables `fields` when the control lacks `PropName`.
void CheckProperty(ControlDialog& dialog, TextView PropName, std::initializer_list<const char16_t*> fields);

}  // namespace ravlen
