#include "comment/frm_pick_function.h"

#include <optional>

#include "framework/connect.h"
#include "framework/failure_report.h"
#include "framework/runtime.h"
#include "framework/variant.h"

namespace comment {

frmPickFunction::frmPickFunction() : ui::Form(u"frmPickFunction", u"Goto Function") {
  SetFontName(u"Tahoma");
  tvMembers.SetContainer(&fraMembers);
  lstMembers.SetVisible(false);
  mnuPopup.SetVisible(false);
  mnuGotoCode.SetContainer(&mnuPopup);
  cmdCancel.SetCancel(true);

  cmdGotoCode.OnClick = [this] { cmdGotoCode_Click(); };
  cmdCancel.OnClick = [this] { cmdCancel_Click(); };
  lstMembers.DblClick = [this] { lstMembers_DblClick(); };
  mnuGotoCode.OnClick = [this] { mnuGotoCode_Click(); };
  tvMembers.Expand = [this](ui::Node& node) { tvMembers_Expand(node); };
  tvMembers.MouseUp = [this](int button, int shift, float x, float y) { tvMembers_MouseUp(button, shift, x, y); };
}

void frmPickFunction::Form_Activate() { Rebuild(); }

void frmPickFunction::Rebuild() {
  // Nothing of an earlier module may survive, whatever this module turns out to be.
  lstMembers.Clear();
  tvMembers.Clear();
  root_ = nullptr;
  categories_.fill(nullptr);
  codeModule_.reset();
  codePane_ = VBInstance ? VBInstance->ActiveCodePane() : nullptr;
  if (!codePane_) return;
  codeModule_ = codePane_->CodeModule();
  if (!codeModule_) return;

  root_ = tvMembers.Add(nullptr, ui::tvwLast, u"", codeModule_->Parent()->Name() + u" Members");
  root_->SetExpanded(true);
  for (int i = 0; i < kCategoryCount; ++i) categories_[i] = tvMembers.Add(root_, ui::tvwChild, u"", kCategoryCaptions[i]);

  std::vector<Text> lines;
  const long count = codeModule_->CountOfLines();
  lines.reserve(static_cast<std::size_t>(count > 0 ? count : 0));
  for (long i = 1; i <= count; ++i) lines.push_back(codeModule_->Lines(i, 1));

  const std::vector<MemberEntry> entries = ClassifyMembers(lines);
  std::vector<ui::Node*> nodes;
  nodes.reserve(entries.size());
  for (const MemberEntry& entry : entries) {
    ui::Node* parent = entry.parentEntry >= 0 ? nodes[static_cast<std::size_t>(entry.parentEntry)]
                                              : categories_[static_cast<std::size_t>(entry.category)];
    nodes.push_back(AddMemberNode(entry.text, entry.line, parent));
  }

  Prune();
  root_->EnsureVisible();
}

ui::Node* frmPickFunction::AddMemberNode(const Text& text, long line, ui::Node* parent) {
  lstMembers.AddItem(text);
  lstMembers.SetItemData(lstMembers.newIndex(), static_cast<std::int32_t>(line));
  ui::Node* node = tvMembers.Add(parent, ui::tvwChild, u"", text);
  node->SetTag(vb::ToText(line));
  return node;
}

void frmPickFunction::Prune() {
  // From the last node to the first, so that removing one leaves the indexes still to visit.
  for (int index = tvMembers.Count(); index >= 1; --index) {
    ui::Node* node = tvMembers.Item(index);
    if (node->parent() != root_) continue;
    if (node->children().empty())
      tvMembers.Remove(index);
    else
      node->SetExpanded(true);
  }
}

void frmPickFunction::cmdGotoCode_Click() {
  ui::Node* node = tvMembers.selectedItem();
  if (!node) {
    Unload();
    return;
  }
  if (node->tag().empty()) return;  // the root or a category: nothing to go to

  // Each step is tried on its own; the last failure is the one reported.
  std::optional<vb::Error> failure;
  auto step = [&failure](const auto& action) {
    try {
      action();
    } catch (...) {
      failure = addin::AsVbError(std::current_exception());
    }
  };
  long line = 0;
  Text text;
  step([&] { line = vb::CLng(vb::Variant(node->tag())); });
  step([&] { vb::Required(codePane_)->SetTopLine(line); });
  step([&] { text = vb::Required(codeModule_)->Lines(line, 1); });
  step([&] { vb::Required(codePane_)->SetSelection(line, 1, line, static_cast<long>(text.size()) + 1); });
  if (failure) addin::ReportFailure(*failure);
  Unload();
}

void frmPickFunction::cmdCancel_Click() { Unload(); }

void frmPickFunction::lstMembers_DblClick() { cmdGotoCode_Click(); }

void frmPickFunction::mnuGotoCode_Click() {
  if (tvMembers.selectedItem()) cmdGotoCode_Click();
}

void frmPickFunction::tvMembers_Expand(ui::Node& node) { tvMembers.SetSelectedItem(&node); }

void frmPickFunction::tvMembers_MouseUp(int button, int /*shift*/, float x, float y) {
  if (button != ui::vbRightButton) return;
  ui::Node* node = tvMembers.HitTest(x, y);
  if (!node) return;
  tvMembers.SetSelectedItem(node);
  PopupMenu(mnuPopup);
}

void frmPickFunction::Form_Unload(int& /*cancel*/) {
  // The tree and the list go back to their design state with the other controls.
  root_ = nullptr;
  categories_.fill(nullptr);
  codePane_.reset();
  codeModule_.reset();
  VBInstance.reset();
}

}  // namespace comment
