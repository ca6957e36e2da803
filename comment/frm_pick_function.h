// The member navigator: a tree of the active module's members by kind, rebuilt on every
// activation; choosing a member scrolls it to the top of the code pane and selects its line.
#pragma once

#include <array>

#include "comment/member_classifier.h"
#include "framework/host_model.h"
#include "framework/ui/form.h"

namespace comment {

class frmPickFunction final : public ui::Form {
 public:
  frmPickFunction();

  host::Ref<host::VBE> VBInstance;  // handed over before the dialog is shown

  ui::Frame fraMembers{*this, u"fraMembers", u"&Members"};
  ui::TreeView tvMembers{*this, u"tvMembers"};
  ui::ListBox lstMembers{*this, u"lstMembers"};
  ui::CommandButton cmdGotoCode{*this, u"cmdGotoCode", u"&Goto Code"};
  ui::CommandButton cmdCancel{*this, u"cmdCancel", u"&Cancel"};
  ui::Menu mnuPopup{*this, u"mnuPopup"};
  ui::Menu mnuGotoCode{*this, u"mnuGotoCode", u"&Goto Code Member"};

  void cmdGotoCode_Click();
  void cmdCancel_Click();
  void lstMembers_DblClick();
  void mnuGotoCode_Click();
  void tvMembers_Expand(ui::Node& node);
  void tvMembers_MouseUp(int button, int shift, float x, float y);

 protected:
  void Form_Activate() override;
  void Form_Unload(int& cancel) override;

 private:
  void Rebuild();
  ui::Node* AddMemberNode(const Text& text, long line, ui::Node* parent);
  void Prune();

  host::Ref<host::CodePane> codePane_;
  host::Ref<host::CodeModule> codeModule_;
  ui::Node* root_ = nullptr;
  std::array<ui::Node*, kCategoryCount> categories_{};
};

}  // namespace comment
