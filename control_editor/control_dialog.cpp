#include "control_editor/control_dialog.h"

#include "framework/connect.h"
#include "framework/runtime.h"

namespace ravlen {

namespace {

constexpr int kKeySpace = 32;
constexpr int kKeyPeriod = 46;

// "txtCaption" -> "lblCaption": the label that names a text box.
Text LabelNameFor(TextView textBoxName) {
  if (vb::StartsWith(textBoxName, u"txt")) return u"lbl" + Text(textBoxName.substr(3));
  return u"lbl" + Text(textBoxName);
}

const FieldDef* FindDefinition(const std::vector<FieldDef>& fields, TextView name) {
  for (const FieldDef& field : fields) {
    if (field.name == name) return &field;
    if (const FieldDef* child = FindDefinition(field.children, name)) return child;
  }
  return nullptr;
}

}  // namespace

template <class T, class... Args>
T* ControlDialog::Add(const char16_t* name, Args&&... args) {
  auto control = std::make_unique<T>(*this, Text(name), std::forward<Args>(args)...);
  T* raw = control.get();
  owned_.push_back(std::move(control));
  return raw;
}

ControlDialog::ControlDialog(const DialogDef& definition)
    : ui::Form(definition.formName, definition.title), definition_(definition) {
  lblName = Add<ui::Label>(u"lblName", Text(definition_.nameLabel));
  txtName = Add<ui::TextBox>(u"txtName", Text(definition_.prefix));
  txtName->SetMaxLength(definition_.nameMaxLength);
  txtName->KeyPress = [this](int& key) { txtName_KeyPress(key); };
  txtName->Change = [this] { txtName_Change(); };

  for (const FieldDef& field : definition_.fields) AddField(field, nullptr);
  AddCommonFields();
}

ControlDialog::~ControlDialog() = default;

void ControlDialog::AddField(const FieldDef& field, ui::Control* container) {
  switch (field.kind) {
    case FieldKind::TextBox: {
      ui::Label* label = Add<ui::Label>(LabelNameFor(field.name).c_str(), Text(field.caption));
      ui::TextBox* box = Add<ui::TextBox>(field.name, Text(field.initial));
      label->SetContainer(container);
      box->SetContainer(container);
      box->SetMaxLength(field.maxLength);
      if (field.digitsOnly) box->KeyPress = [](int& key) { DigitKeyPress(key); };
      if (Text(field.name) == u"txtCaption") txtCaption = box;
      break;
    }
    case FieldKind::CheckBox: {
      ui::CheckBox* box = Add<ui::CheckBox>(field.name, Text(field.caption), field.checked ? 1 : 0);
      box->SetContainer(container);
      break;
    }
    case FieldKind::OptionButton: {
      ui::OptionButton* option =
          Add<ui::OptionButton>(field.name, Text(field.caption), field.checked, field.index);
      option->SetContainer(container);
      if (field.index < 0) option->SetTag(field.initial);
      if (field.onClick) {
        OptionHook hook = field.onClick;
        option->OnClick = [this, hook, index = field.index] { hook(*this, index); };
      }
      break;
    }
    case FieldKind::Group: {
      ui::Frame* frame = Add<ui::Frame>(field.name, Text(field.caption));
      frame->SetContainer(container);
      for (const FieldDef& child : field.children) AddField(child, frame);
      break;
    }
  }
}

void ControlDialog::AddCommonFields() {
  fraOptions = Add<ui::Frame>(u"fraOptions", Text(u"Options"));
  chkEnabled = Add<ui::CheckBox>(u"chkEnabled", Text(u"&Enabled?"), 1);
  chkEnabled->SetContainer(fraOptions);
  if (definition_.hasVisible) {
    chkVisible = Add<ui::CheckBox>(u"chkVisible", Text(u"&Visible?"), 1);
    chkVisible->SetContainer(fraOptions);
  }
  lblIndex = Add<ui::Label>(u"lblIndex", Text(definition_.indexLabel));
  txtIndex = Add<ui::TextBox>(u"txtIndex");
  txtIndex->KeyPress = [this](int& key) { txtIndex_KeyPress(key); };
  lblTag = Add<ui::Label>(u"lblTag", Text(definition_.tagLabel));
  txtTag = Add<ui::TextBox>(u"txtTag");
  for (ui::Control* c : std::initializer_list<ui::Control*>{lblIndex, txtIndex, lblTag, txtTag}) c->SetContainer(fraOptions);

  if (definition_.font != FontMode::None) {
    lblFont = Add<ui::Label>(u"lblFont", Text(u"Font:"));
    txtFont = Add<ui::TextBox>(u"txtFont");
    txtFont->SetLocked(true);
    cmdFont = Add<ui::CommandButton>(u"cmdFont", Text(u"..."));
    cmdFont->OnClick = [this] { cmdFont_Click(); };
  }
  OKButton = Add<ui::CommandButton>(u"OKButton", Text(u"&Save Settings"));
  OKButton->SetDefault(true);
  OKButton->OnClick = [this] { OKButton_Click(); };
  CancelButton = Add<ui::CommandButton>(u"CancelButton", Text(u"&Cancel"));
  CancelButton->SetCancel(true);
  CancelButton->OnClick = [this] { CancelButton_Click(); };
  cdlgFont = Add<ui::CommonDialog>(u"cdlgFont");
}

ui::Control* ControlDialog::FindField(TextView name, int index) const {
  for (ui::Control* control : controls()) {
    if (control->name() != name) continue;
    if (index < 0) return control;
    auto* option = dynamic_cast<ui::OptionButton*>(control);
    if (option && option->index() == index) return control;
  }
  return nullptr;
}

Text ControlDialog::InputRule(const ui::TextBox& box) const {
  const FieldDef* definition = FindDefinition(definition_.fields, box.name());
  Text rule = &box == txtName                                              ? Text(u"a name without spaces or periods")
              : &box == txtIndex || (definition && definition->digitsOnly) ? Text(u"digits 0 to 9 only")
                                                                           : Text(u"any text");
  if (box.maxLength() > 0)
    rule += u", at most " + vb::ToText(box.maxLength()) + (box.maxLength() == 1 ? u" character" : u" characters");
  return rule;
}

std::int16_t ControlDialog::Choice(TextView name) const {
  auto found = choices_.find(Text(name));
  return found == choices_.end() ? std::int16_t{0} : found->second;
}

void ControlDialog::SetChoice(TextView name, std::int16_t value) { choices_[Text(name)] = value; }

void ControlDialog::Form_Activate() {
  if (opened_) return;
  opened_ = true;
  txtName->SetFocus();
  // A selection length of 1 at the end of the text selects nothing: the caret follows the prefix.
  txtName->SetSelStart(static_cast<int>(txtName->text().size()));
  txtName->SetSelLength(1);
  if (definition_.font == FontMode::Always) {
    Font = LoadDefaultFont();
    txtFont->SetText(Font.Name);
  }
  if (definition_.opening) definition_.opening(*this);
}

void ControlDialog::Form_Unload(int& /*cancel*/) {
  opened_ = false;
  FailedField = nullptr;
  choices_.clear();
}

void ControlDialog::txtName_KeyPress(int& KeyAscii) {
  if (KeyAscii != kKeySpace && KeyAscii != kKeyPeriod) return;
  // A name holds no spaces or periods; where the caption follows the name they go to the
  // caption instead, so "OK Now" can still be typed as a caption.
  if (definition_.follows != CaptionFollow::None && txtCaption)
    txtCaption->SetText(txtCaption->text() + static_cast<char16_t>(KeyAscii));
  KeyAscii = 0;
}

void ControlDialog::txtName_Change() {
  if (definition_.follows == CaptionFollow::None || !txtCaption) return;
  Text caption = definition_.follows == CaptionFollow::WithAmpersand ? Text(u"&") : Text();
  caption += vb::Mid(txtName->text(), 4);
  txtCaption->SetText(caption);
  txtCaption->SetSelStart(0);
  txtCaption->SetSelLength(static_cast<int>(txtCaption->text().size()));
}

void ControlDialog::DigitKeyPress(int& KeyAscii) {
  if (KeyAscii < u'0' || KeyAscii > u'9') KeyAscii = 0;
}

void ControlDialog::txtIndex_KeyPress(int& KeyAscii) { DigitKeyPress(KeyAscii); }

void ControlDialog::cmdFont_Click() {
  PresetFontDialog(*cdlgFont, Font);
  cdlgFont->ShowFont();
  // Closing the chooser without a choice leaves the preset values, so the record is unchanged.
  Font = ReadFontDialog(*cdlgFont);
}

bool ControlDialog::SetProperty(TextView PropName, const vb::Variant& Value, ui::Control* Field) {
  try {
    Ref<host::Property> property = vb::Required(vb::Required(objControl)->Properties())->Item(PropName);
    vb::Required(property)->SetValue(Value);
    return true;
  } catch (...) {
    vb::Error error = addin::AsVbError(std::current_exception());
    FailedField = Field;
    vb::MsgBox(u"An error occurred trying to set the property value for " + Text(PropName) + u"." + vb::kCrLf +
                   u"The error was: " + error.description,
               ui::vbOKOnly | ui::vbInformation, u"Invalid Property Value");
    return false;
  }
}

ui::OptionButton* ControlDialog::SelectedOption(TextView groupName) const {
  const ui::Control* group = FindField(groupName);
  for (ui::Control* control : controls()) {
    auto* option = dynamic_cast<ui::OptionButton*>(control);
    if (option && option->container() == group && option->value()) return option;
  }
  return nullptr;
}

void ControlDialog::WriteFont() {
  Ref<host::Property> property = vb::Required(objControl)->Properties()->Item(u"Font");
  Ref<host::StdFont> font = vb::Required(vb::Required(property)->Object());
  font->SetName(Font.Name);
  font->SetBold(Font.Bold);
  font->SetItalic(Font.Italic);
  font->SetSize(static_cast<double>(Font.Size));
  font->SetStrikethrough(Font.StrikeThru);
  font->SetUnderline(Font.Underline);
}

bool ControlDialog::Write(const WriteDef& write) {
  ui::Control* field = write.field && write.source != Source::Choice ? FindField(write.field) : nullptr;
  if (write.skipWhenDisabled && field && !field->enabled()) return true;

  auto textOf = [&]() -> Text {
    return vb::Required(dynamic_cast<ui::TextBox*>(field))->text();
  };
  auto checkOf = [&]() -> int {
    return vb::Required(dynamic_cast<ui::CheckBox*>(field))->value();
  };

  ui::Control* focus = field;
  vb::Variant value;
  switch (write.source) {
    case Source::Name:
    case Source::BoxText:
      value = textOf();
      break;
    case Source::TrimmedText:
      value = vb::Trim(textOf());
      break;
    case Source::Check:
      value = checkOf() != 0;
      break;
    case Source::CheckValue:
      value = static_cast<std::int16_t>(checkOf());
      break;
    case Source::Int16:
      value = vb::CInt(TextView(textOf()));
      break;
    case Source::Int32:
      value = vb::CLng(TextView(textOf()));
      break;
    case Source::OptionTag:
    case Source::OptionIndex: {
      ui::OptionButton* option = SelectedOption(write.field);
      if (!option) return true;  // no option of the group is selected: nothing to write
      value = write.source == Source::OptionTag ? vb::CInt(TextView(option->tag())) : static_cast<std::int16_t>(option->index());
      focus = option;
      break;
    }
    case Source::Choice:
      value = Choice(write.field);
      break;
    case Source::Font:
      WriteFont();
      return true;
    case Source::IndexText:
    case Source::IndexInt16:
    case Source::Tag: {
      Text text = textOf();
      if (vb::Trim(text).empty()) return true;
      value = write.source == Source::IndexInt16 ? vb::Variant(vb::CInt(TextView(text))) : vb::Variant(text);
      break;
    }
  }
  if (write.focus) focus = FindField(write.focus, 0);
  return SetProperty(write.property, value, focus);
}

void ControlDialog::OKButton_Click() {
  bool saved = false;
  try {
    saved = true;
    for (const WriteDef& write : definition_.writes) {
      if (!Write(write)) {
        saved = false;
        break;
      }
    }
  } catch (...) {
    // A failed conversion or font step: no message of its own; the dialog stays open.
    saved = false;
  }
  if (saved) {
    CloseDialog();
    return;
  }
  if (FailedField) {
    try {
      FailedField->SetFocus();
    } catch (...) {
      // A field that cannot take the focus (disabled, hidden) leaves it where it is.
    }
  }
}

void ControlDialog::CancelButton_Click() { CloseDialog(); }

void ControlDialog::CloseDialog() {
  Hide();
  Unload();
}

}  // namespace ravlen
