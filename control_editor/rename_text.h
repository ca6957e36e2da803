// A control's name in its form's code, as text. An identifier belongs to the control with the
// longest name that it equals or starts with followed by "_" (cmd_Save_Click is cmd_Save's, not
// cmd's). A reference is renamed when it names this form's control: bare (Check1), through the
// form (Me.Check1, Form2.Check1 in Form2's code) or as a member of a With block on the form; never
// after another object (frmOther.Check1, udt.Check1) and never inside a longer name (Text10,
// MyText1). Comments and strings follow like code.
#pragma once

#include <unordered_set>
#include <vector>

#include "framework/vb_text.h"

namespace ravlen {

using vb::Text;
using vb::TextView;

// The names of the controls on a form, as written (case-sensitive, like the IDE's event names).
using ControlNames = std::unordered_set<Text>;

// The control among `names` that owns `identifier`: the longest name that it equals or starts
// with followed by "_"; empty when none does.
Text OwnerOf(TextView identifier, const ControlNames& names);

struct RenameScope {
  Text oldName;
  Text newName;
  Text formName;          // the form's own name: Form2.Check1 in Form2's code is its control
  ControlNames controls;  // every control on the form, for the longest-name rule
};

// Renames one line at a time, in the module's order: a With block opened on one line holds on
// the lines that follow until its End With.
class CodeRenamer {
 public:
  explicit CodeRenamer(const RenameScope& scope);
  Text Line(TextView line);

 private:
  void RenameIn(TextView line, std::size_t from, std::size_t to, Text& out);
  bool Refers(TextView line, std::size_t at) const;
  bool IsThisForm(TextView object) const;
  void Follow(TextView statement);

  const RenameScope& scope_;
  ControlNames owners_;  // the form's controls and the old name
  // Open With blocks, innermost last: true when the block's object is this form.
  std::vector<bool> withOnForm_;
};

}  // namespace ravlen
