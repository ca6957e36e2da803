#include "toolkits/scripted/scripted_toolkit.h"

#include <algorithm>

#include "framework/vb_error.h"

namespace scripted {

namespace {

// Form names compare as VB compares them, without regard to letter case.
Text FormKey(TextView name) { return vb::UCase(name); }

}  // namespace

void ScriptedToolkit::On(TextView formName, Answer answer) { standing_[FormKey(formName)] = std::move(answer); }

void ScriptedToolkit::Once(TextView formName, Answer answer) { queued_[FormKey(formName)].push_back(std::move(answer)); }

void ScriptedToolkit::AnswerMsgBox(int result) { msgBoxAnswers_.push_back(result); }

void ScriptedToolkit::OnFont(std::function<bool(ui::FontChoice&)> answer) { fontAnswer_ = std::move(answer); }

void ScriptedToolkit::OnPopup(std::function<ui::Menu*(ui::Form&, ui::Menu&)> answer) {
  popupAnswer_ = std::move(answer);
}

ui::Form* ScriptedToolkit::OpenForm(TextView formName) const {
  for (ui::Form* form : modeless_)
    if (form->visible() && vb::EqualsNoCase(form->name(), formName)) return form;
  return nullptr;
}

ScriptedToolkit::Answer ScriptedToolkit::TakeAnswer(const Text& formName) {
  const Text key = FormKey(formName);
  if (auto q = queued_.find(key); q != queued_.end() && !q->second.empty()) {
    Answer answer = std::move(q->second.front());
    q->second.pop_front();
    return answer;
  }
  if (auto s = standing_.find(key); s != standing_.end()) return s->second;
  return {};
}

void ScriptedToolkit::ShowModal(ui::Form& form) {
  shownForms_.push_back(form.name());
  form.Activate();
  // The answer is taken even when activation closed the form: it belonged to this display.
  Answer answer = TakeAnswer(form.name());
  if (answer && form.visible()) answer(form);
  // A person who is done with a dialog that is still open closes its window.
  if (form.visible()) form.CloseBox();
  if (form.visible())
    vb::Raise(vb::err::kInvalidProcedureCall,
              u"The dialog " + form.name() + u" refused to close after its answer; a modal display would never end",
              u"ScriptedToolkit");
}

void ScriptedToolkit::ShowModeless(ui::Form& form) {
  shownForms_.push_back(form.name());
  if (std::find(modeless_.begin(), modeless_.end(), &form) == modeless_.end()) modeless_.push_back(&form);
  form.Activate();
  Answer answer = TakeAnswer(form.name());
  if (answer && form.visible()) answer(form);
}

void ScriptedToolkit::FormClosed(ui::Form& form) { std::erase(modeless_, &form); }

int ScriptedToolkit::MsgBox(const Text& prompt, int buttons, const Text& title) {
  messages_.push_back({prompt, buttons, title});
  if (msgBoxAnswers_.empty()) return ui::vbOK;
  const int result = msgBoxAnswers_.front();
  msgBoxAnswers_.pop_front();
  return result;
}

bool ScriptedToolkit::ChooseFont(ui::FontChoice& font) {
  fontPresets_.push_back(font);
  if (!fontAnswer_) return false;
  // The person works on a copy: closing without a choice must leave the preset untouched.
  ui::FontChoice chosen = font;
  if (!fontAnswer_(chosen)) return false;
  font = chosen;
  return true;
}

void ScriptedToolkit::PopupMenu(ui::Form& form, ui::Menu& menu) {
  if (!popupAnswer_) return;
  if (ui::Menu* entry = popupAnswer_(form, menu)) entry->Click();
}

void ScriptedToolkit::DoEvents() {
  ++doEvents_;
  if (!onDoEvents_) return;
  const std::function<void()> action = std::move(onDoEvents_);
  onDoEvents_ = nullptr;
  action();
}

void ScriptedToolkit::SetMousePointer(int pointer) {
  pointers_.push_back(pointer);
  pointer_ = pointer;
}

// --- A person's actions by control name -----------------------------------------------------

namespace {

ui::Control& Named(ui::Form& form, TextView control) {
  ui::Control* found = form.FindControl(control);
  if (!found)
    vb::Raise(vb::err::kInvalidProcedureCall, form.name() + u" has no control named " + Text(control), u"ScriptedToolkit");
  return *found;
}

[[noreturn]] void CannotDo(ui::Control& control, const char16_t* action) {
  vb::Raise(vb::err::kInvalidProcedureCall,
            control.form().name() + u"." + control.name() + u" (" + vb::FromUtf8(control.kind()) + u") cannot be " +
                action,
            u"ScriptedToolkit");
}

[[noreturn]] void NoRow(ui::Control& control, TextView item) {
  vb::Raise(vb::err::kInvalidProcedureCall,
            control.form().name() + u"." + control.name() + u" offers no row \"" + Text(item) +
                u"\" that a person can choose",
            u"ScriptedToolkit");
}

}  // namespace

void Type(ui::Form& form, TextView control, TextView text) {
  ui::Control& target = Named(form, control);
  if (auto* box = dynamic_cast<ui::TextBox*>(&target))
    box->Retype(text);
  else if (auto* combo = dynamic_cast<ui::ComboBox*>(&target))
    combo->Type(text);
  else
    CannotDo(target, u"typed into");
}

void Click(ui::Form& form, TextView control) {
  ui::Control& target = Named(form, control);
  if (auto* button = dynamic_cast<ui::CommandButton*>(&target))
    button->Click();
  else if (auto* check = dynamic_cast<ui::CheckBox*>(&target))
    check->Click();
  else if (auto* option = dynamic_cast<ui::OptionButton*>(&target))
    option->Click();
  else if (auto* menu = dynamic_cast<ui::Menu*>(&target))
    menu->Click();
  else
    CannotDo(target, u"clicked");
}

void SetCheck(ui::Form& form, TextView control, int value) {
  ui::Control& target = Named(form, control);
  auto* check = dynamic_cast<ui::CheckBox*>(&target);
  if (!check) CannotDo(target, u"checked");
  // Clicking goes 0 -> 1 -> 0 (grayed -> 0): two clicks reach any value a person can reach.
  for (int clicks = 0; clicks < 2 && check->value() != value; ++clicks) check->Click();
  if (check->value() != value) CannotDo(target, u"set to that value by clicking");
}

void Choose(ui::Form& form, TextView control, TextView item) {
  ui::Control& target = Named(form, control);
  if (auto* combo = dynamic_cast<ui::ComboBox*>(&target)) {
    if (!combo->Choose(item)) NoRow(target, item);
  } else if (auto* list = dynamic_cast<ui::ListBox*>(&target)) {
    const int row = list->FindRow(item);
    if (row < 0) NoRow(target, item);
    list->ClickRow(row);
  } else if (auto* tree = dynamic_cast<ui::TreeView*>(&target)) {
    ui::Node* node = tree->Find(item);
    if (!node) NoRow(target, item);
    tree->ClickNode(node);
  } else {
    CannotDo(target, u"chosen from");
  }
}

void Tick(ui::Form& form, TextView control, TextView item) {
  ui::Control& target = Named(form, control);
  auto* list = dynamic_cast<ui::ListBox*>(&target);
  if (!list || list->style() != ui::ListBox::Checkbox) CannotDo(target, u"ticked");
  const int row = list->FindRow(item);
  if (row < 0) NoRow(target, item);
  list->TickRow(row);
}

}  // namespace scripted
