// The frame of the seventeen control dialogs: the name box with the type's prefix typed in, the
// type's own fields, the common fields Enabled, Visible, Index, Tag and Font, "&Save Settings"
// that writes the values into the designer control in the type's order, and "&Cancel". One
// class; each dialog is an instance built from its row of the type table and keeps the
// dialog's name (frmCheckBox, ...) as the form's name.
#pragma once

#include <map>
#include <memory>
#include <vector>

#include "control_editor/font_settings.h"
#include "control_editor/control_types.h"
#include "framework/host_model.h"
#include "framework/ui/form.h"
#include "framework/variant.h"

namespace ravlen {

using host::Ref;

class ControlDialog : public ui::Form {
 public:
  explicit ControlDialog(const DialogDef& definition);
  ~ControlDialog() override;

  // Set before the dialog is shown.
  Ref<host::VBControl> objControl;
  Ref<host::VBE> VBInstance;

  // The field of the property whose write was rejected last; null until a write fails.
  ui::Control* FailedField = nullptr;
  // The dialog's font record, written by the font step.
  FontSettings Font;

  // Common fields; null where the dialog has none (chkVisible in frmTimer, the font box and
  // button in the dialogs without a font).
  ui::Label* lblName = nullptr;
  ui::TextBox* txtName = nullptr;
  ui::TextBox* txtCaption = nullptr;  // the caption box of the dialogs whose caption follows the name
  ui::Frame* fraOptions = nullptr;
  ui::CheckBox* chkEnabled = nullptr;
  ui::CheckBox* chkVisible = nullptr;
  ui::Label* lblIndex = nullptr;
  ui::TextBox* txtIndex = nullptr;
  ui::Label* lblTag = nullptr;
  ui::TextBox* txtTag = nullptr;
  ui::Label* lblFont = nullptr;
  ui::TextBox* txtFont = nullptr;
  ui::CommandButton* cmdFont = nullptr;
  ui::CommandButton* OKButton = nullptr;
  ui::CommandButton* CancelButton = nullptr;
  ui::CommonDialog* cdlgFont = nullptr;

  const DialogDef& definition() const { return definition_; }

  // A field by name; `index` picks an element of an indexed set of option buttons.
  ui::Control* FindField(TextView name, int index = -1) const;
  template <class T>
  T* FieldAs(TextView name, int index = -1) const {
    return dynamic_cast<T*>(FindField(name, index));
  }

  // What a person can type into one of the dialog's text boxes, in words ("digits 0 to 9 only, at
  // most 2 characters"): what its key filter and length limit let through.
  Text InputRule(const ui::TextBox& box) const;

  // The type's choice variables (the rich text box's scroll bars, the tabbed dialog's style
  // and orientation).
  std::int16_t Choice(TextView name) const;
  void SetChoice(TextView name, std::int16_t value);

  // Writes one design-time property of objControl; on rejection records `Field` as
  // FailedField, shows the message and returns false.
  bool SetProperty(TextView PropName, const vb::Variant& Value, ui::Control* Field);

  // Handlers.
  void OKButton_Click();
  void CancelButton_Click();
  void cmdFont_Click();
  void txtName_Change();
  void txtName_KeyPress(int& KeyAscii);
  void txtIndex_KeyPress(int& KeyAscii);
  // The digit filter of the numeric boxes: only "0" to "9" pass (Backspace does not).
  static void DigitKeyPress(int& KeyAscii);

 protected:
  void Form_Activate() override;
  void Form_Unload(int& cancel) override;

 private:
  template <class T, class... Args>
  T* Add(const char16_t* name, Args&&... args);
  void AddField(const FieldDef& field, ui::Control* container);
  void AddCommonFields();

  // One step of the save; false when it failed (a rejected write, a failed conversion).
  bool Write(const WriteDef& write);
  void WriteFont();
  ui::OptionButton* SelectedOption(TextView groupName) const;
  void CloseDialog();

  const DialogDef& definition_;
  std::vector<std::unique_ptr<ui::Control>> owned_;
  std::map<Text, std::int16_t> choices_;
  // The opening steps run once per display, not again when the dialog is reactivated after a
  // dialog shown on top of it (the rename dialog) closes.
  bool opened_ = false;
};

}  // namespace ravlen
