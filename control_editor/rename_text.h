// Renaming a control in its form's code, as text: an occurrence of the old name counts only as
// a whole name, so that renaming Text1 leaves Text10 and MyText1 alone while Text1_Change,
// Text1.Text and Text1 in comments and strings follow.
#pragma once

#include "framework/vb_text.h"

namespace ravlen {

using vb::Text;
using vb::TextView;

// True when `name` occurs in `text` as a whole name: the character before it is no letter,
// digit or "_", and the character after it is no letter or digit. Case-sensitive.
bool ContainsWholeName(TextView text, TextView name);

// Every whole-name occurrence of `oldName` replaced by `newName`, left to right.
Text ReplaceWholeName(TextView text, TextView oldName, TextView newName);

}  // namespace ravlen
