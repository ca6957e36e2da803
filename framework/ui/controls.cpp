// The base control and the simple controls: labels, frames, buttons, check boxes, option
// buttons, the font dialog control and menus.
#include "framework/ui/controls.h"

#include "framework/runtime.h"
#include "framework/ui/form.h"
#include "framework/vb_error.h"

namespace ui {

namespace {

// A control is on screen when it and every frame around it are visible.
bool ShownWithFrames(const Control& control) {
  for (const Control* c = &control; c; c = c->container())
    if (!c->visible()) return false;
  return true;
}

}  // namespace

Control::Control(Form& owner, Text name) : form_(owner), name_(std::move(name)) { owner.Register(*this); }

void Control::SetEnabled(bool value) {
  if (enabled_ == value) return;
  enabled_ = value;
  if (!value && hasFocus()) form_.Focus(nullptr);
  Changed();
}

void Control::SetVisible(bool value) {
  if (visible_ == value) return;
  visible_ = value;
  if (!value && hasFocus()) form_.Focus(nullptr);
  Changed();
}

void Control::SetTag(TextView value) {
  if (tag_ == value) return;
  tag_ = Text(value);
  Changed();
}

void Control::SetFocus() {
  bool can = TakesFocus() && form_.loaded() && form_.visible() && ShownWithFrames(*this) && Interactive();
  if (!can) vb::Raise(vb::err::kInvalidProcedureCall, u"Invalid procedure call or argument", name_);
  form_.Focus(this);
}

bool Control::hasFocus() const { return form_.ActiveControl() == this; }

void Control::Changed() { form_.NotifyControl(*this); }

bool Control::Interactive() const {
  for (const Control* c = this; c; c = c->container_)
    if (!c->enabled_) return false;
  return true;
}

void Control::FocusByPerson() {
  if (TakesFocus() && form_.loaded() && form_.visible() && ShownWithFrames(*this)) form_.Focus(this);
}

// --- Label, Frame ---------------------------------------------------------------------------

Label::Label(Form& owner, Text name, Text caption) : Control(owner, std::move(name)) { s_.caption = std::move(caption); }

void Label::SetCaption(TextView value) {
  if (s_.caption == value) return;
  s_.caption = Text(value);
  Changed();
}

void Label::CaptureDesign() {
  CaptureCommon();
  design_ = s_;
}

void Label::RestoreDesign() {
  RestoreCommon();
  s_ = design_;
}

Frame::Frame(Form& owner, Text name, Text caption) : Control(owner, std::move(name)) { s_.caption = std::move(caption); }

void Frame::SetCaption(TextView value) {
  if (s_.caption == value) return;
  s_.caption = Text(value);
  Changed();
}

void Frame::CaptureDesign() {
  CaptureCommon();
  design_ = s_;
}

void Frame::RestoreDesign() {
  RestoreCommon();
  s_ = design_;
}

// --- CommandButton --------------------------------------------------------------------------

CommandButton::CommandButton(Form& owner, Text name, Text caption) : Control(owner, std::move(name)) {
  s_.caption = std::move(caption);
}

void CommandButton::SetCaption(TextView value) {
  if (s_.caption == value) return;
  s_.caption = Text(value);
  Changed();
}

void CommandButton::Click() {
  if (!Interactive() || !ShownWithFrames(*this)) return;
  FocusByPerson();
  if (OnClick) OnClick();
}

void CommandButton::CaptureDesign() {
  CaptureCommon();
  design_ = s_;
}

void CommandButton::RestoreDesign() {
  RestoreCommon();
  s_ = design_;
}

// --- CheckBox -------------------------------------------------------------------------------

CheckBox::CheckBox(Form& owner, Text name, Text caption, int value) : Control(owner, std::move(name)) {
  s_.caption = std::move(caption);
  s_.value = value;
}

void CheckBox::SetCaption(TextView value) {
  if (s_.caption == value) return;
  s_.caption = Text(value);
  Changed();
}

void CheckBox::SetValue(int value) {
  if (value < 0 || value > 2) vb::Raise(vb::err::kInvalidPropertyValue, u"Invalid property value", name());
  if (s_.value == value) return;
  s_.value = value;
  Changed();
  if (OnClick) OnClick();
}

void CheckBox::Click() {
  if (!Interactive()) return;
  FocusByPerson();
  SetValue(s_.value == 0 ? 1 : 0);  // a grayed box becomes unchecked
}

void CheckBox::CaptureDesign() {
  CaptureCommon();
  design_ = s_;
}

void CheckBox::RestoreDesign() {
  RestoreCommon();
  s_ = design_;
}

// --- OptionButton ---------------------------------------------------------------------------

OptionButton::OptionButton(Form& owner, Text name, Text caption, bool value, int index)
    : Control(owner, std::move(name)), index_(index) {
  s_.caption = std::move(caption);
  s_.value = value;
}

void OptionButton::SetCaption(TextView value) {
  if (s_.caption == value) return;
  s_.caption = Text(value);
  Changed();
}

void OptionButton::SetValue(bool value) {
  if (s_.value == value) return;
  if (value) {
    for (Control* control : form().controls()) {
      auto* other = dynamic_cast<OptionButton*>(control);
      if (!other || other == this || !other->s_.value) continue;
      if (other->container() != container() || other->group_ != group_) continue;
      other->s_.value = false;
      other->Changed();
    }
  }
  s_.value = value;
  Changed();
  if (value && OnClick) OnClick();
}

void OptionButton::Click() {
  if (!Interactive()) return;
  FocusByPerson();
  SetValue(true);
}

void OptionButton::CaptureDesign() {
  CaptureCommon();
  design_ = s_;
}

void OptionButton::RestoreDesign() {
  RestoreCommon();
  s_ = design_;
}

// --- CommonDialog ---------------------------------------------------------------------------

CommonDialog::CommonDialog(Form& owner, Text name) : Control(owner, std::move(name)) { SetVisible(false); }

void CommonDialog::ShowFont() {
  FontChoice font{FontName, FontSize, FontBold, FontItalic, FontUnderline, FontStrikethru, Flags};
  if (!vb::Toolkit().ChooseFont(font)) {
    if (CancelError) vb::Raise(vb::err::kCancelSelected, u"Cancel was selected.", name());
    return;
  }
  FontName = font.name;
  FontSize = font.size;
  FontBold = font.bold;
  FontItalic = font.italic;
  FontUnderline = font.underline;
  FontStrikethru = font.strikethru;
  Flags = font.flags;
  Changed();
}

// --- Menu -----------------------------------------------------------------------------------

Menu::Menu(Form& owner, Text name, Text caption) : Control(owner, std::move(name)), caption_(std::move(caption)) {}

std::vector<Menu*> Menu::entries() const {
  std::vector<Menu*> entries;
  for (Control* control : form().controls())
    if (auto* menu = dynamic_cast<Menu*>(control); menu && menu->container() == this) entries.push_back(menu);
  return entries;
}

void Menu::Click() {
  if (!Interactive() || !visible()) return;
  if (OnClick) OnClick();
}

}  // namespace ui
