#include "framework/ui/form.h"

#include "framework/runtime.h"
#include "framework/vb_error.h"

namespace ui {

Form::Form(Text name, Text caption) : name_(std::move(name)), caption_(std::move(caption)) {}

Form::~Form() {
  // A form destroyed while on screen must not stay in the toolkit's list of windows.
  if (!shown_) return;
  try {
    if (Toolkit* toolkit = vb::CurrentRuntime().toolkit) toolkit->FormClosed(*this);
  } catch (...) {
  }
}

void Form::SetCaption(TextView value) {
  if (caption_ == value) return;
  caption_ = Text(value);
  NotifyForm();
}

void Form::Load() {
  if (loaded_) return;
  if (!designCaptured_) {
    // The constructor has set the design-time state; everything after this is run time.
    for (Control* control : controls_) control->CaptureDesign();
    designCaptured_ = true;
  }
  loaded_ = true;
  Form_Load();
}

void Form::Show(ShowMode mode) {
  if (visible_ && mode == vbModal)
    vb::Raise(vb::err::kFormAlreadyDisplayed, u"Form already displayed; can't show modally", name_);
  Toolkit& toolkit = vb::Toolkit();
  Load();
  if (!loaded_) return;  // Form_Load unloaded it again
  visible_ = true;
  shown_ = true;
  if (mode == vbModal) modal_ = true;
  NotifyForm();
  if (mode == vbModal)
    toolkit.ShowModal(*this);
  else
    toolkit.ShowModeless(*this);
}

void Form::Hide() {
  if (!visible_) return;
  visible_ = false;
  modal_ = false;
  NotifyForm();
  vb::Toolkit().FormClosed(*this);
}

void Form::Unload(UnloadMode mode) {
  if (!loaded_ || unloading_) return;
  unloading_ = true;
  int cancel = 0;
  try {
    Form_QueryUnload(cancel, mode);
    if (cancel == 0) Form_Unload(cancel);
  } catch (...) {
    unloading_ = false;
    throw;
  }
  unloading_ = false;
  if (cancel != 0) return;

  const bool tellToolkit = shown_;
  visible_ = false;
  modal_ = false;
  shown_ = false;
  activeControl_ = nullptr;
  loaded_ = false;
  for (Control* control : controls_) {
    control->RestoreDesign();
    NotifyControl(*control);
  }
  NotifyForm();
  if (tellToolkit) vb::Toolkit().FormClosed(*this);
}

void Form::Activate() {
  if (!loaded_) return;
  Form_Activate();
}

Control* Form::FindControl(TextView name) const {
  for (Control* control : controls_)
    if (vb::EqualsNoCase(control->name(), name)) return control;
  return nullptr;
}

void Form::PressEnter() {
  for (Control* control : controls_)
    if (auto* button = dynamic_cast<CommandButton*>(control); button && button->isDefault()) {
      button->Click();
      return;
    }
}

void Form::PressEscape() {
  for (Control* control : controls_)
    if (auto* button = dynamic_cast<CommandButton*>(control); button && button->isCancel()) {
      button->Click();
      return;
    }
}

void Form::CloseBox() { Unload(vbFormControlMenu); }

void Form::PopupMenu(Menu& menu) {
  if (&menu.form() != this) vb::Raise(vb::err::kInvalidProcedureCall, u"The menu " + menu.name() + u" is not on " + name_);
  vb::Toolkit().PopupMenu(*this, menu);
}

void Form::Register(Control& control) { controls_.push_back(&control); }

void Form::Focus(Control* control) {
  if (activeControl_ == control) return;
  activeControl_ = control;
  NotifyForm();
}

void Form::NotifyControl(Control& control) {
  if (observer_) observer_->ControlChanged(*this, control);
}

void Form::NotifyForm() {
  if (observer_) observer_->FormChanged(*this);
}

}  // namespace ui
