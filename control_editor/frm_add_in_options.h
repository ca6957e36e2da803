// frmAddInOptions: which control types get their dialog when placed, whether removal and
// renaming are offered, and the default font of new controls.
#pragma once

#include "control_editor/editor_options.h"
#include "framework/ui/form.h"

namespace ravlen {

class frmAddInOptions : public ui::Form {
 public:
  explicit frmAddInOptions(EditorOptions& options);

  ui::Label lblInstructions{*this, u"lblInstructions", u"Select the controls to prompt for:"};
  ui::ListBox lstControls{*this, u"lstControls", true, ui::ListBox::Checkbox};
  ui::CommandButton cmdPromtAll{*this, u"cmdPromtAll", u"&Promt All"};
  ui::CommandButton cmdPromptNone{*this, u"cmdPromptNone", u"Prompt &None"};
  ui::Frame fraOptions{*this, u"fraOptions", u"Options"};
  ui::CheckBox chkRemove{*this, u"chkRemove", u"&Remove Code"};
  ui::CheckBox chkRename{*this, u"chkRename", u"Rename &Code"};
  ui::Frame Frame1{*this, u"Frame1", u"Default F&ont"};
  ui::Label Label1{*this, u"Label1", u"Font :"};
  ui::TextBox txtFont{*this, u"txtFont"};
  ui::CommandButton cmdFont{*this, u"cmdFont", u"..."};
  ui::CommonDialog cdlgFont{*this, u"cdlgFont"};
  ui::CommandButton cmdOk{*this, u"cmdOk", u"&Ok"};

  void chkRemove_Click();
  void chkRename_Click();
  void cmdPromtAll_Click();
  void cmdPromptNone_Click();
  void cmdFont_Click();
  void cmdOk_Click();

 protected:
  void Form_Load() override;

 private:
  EditorOptions& options_;
};

}  // namespace ravlen
