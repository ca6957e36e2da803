// The tag dialog: shows the name of one placeholder tag and takes the text that replaces it.
// The dialog is shared by all tags of a piece and only hidden between them.
#pragma once

#include "framework/ui/form.h"

namespace pellmoss {

class frmReplace : public ui::Form {
 public:
  frmReplace();

  ui::Frame fraReplaceCode{*this, u"fraReplaceCode", u"&Replace Code"};
  ui::Label lblCodeTag{*this, u"lblCodeTag"};
  ui::Label lblReplaceWith{*this, u"lblReplaceWith", u"Replace With : "};
  ui::TextBox txtCodeReplace{*this, u"txtCodeReplace"};
  ui::CommandButton cmdOk{*this, u"cmdOk", u"&Ok"};

  // Setting the tag's name shows it and empties the answer box.
  const vb::Text& CodeTag() const { return codeTag_; }
  void SetCodeTag(vb::TextView name);
  // The answer as it stands: the empty string when the dialog was closed without OK.
  vb::Text ReplaceTag() const { return txtCodeReplace.text(); }

  void cmdOk_Click();

 private:
  vb::Text codeTag_;
};

}  // namespace pellmoss
