#include "control_editor/control_types.h"

#include "control_editor/control_dialog.h"
#include "framework/connect.h"
#include "framework/runtime.h"

namespace ravlen {

namespace {

// ---- field builders --------------------------------------------------------------------------

FieldDef TextField(const char16_t* name, const char16_t* label, const char16_t* initial = u"", int maxLength = 0,
                   bool digitsOnly = false) {
  FieldDef f;
  f.kind = FieldKind::TextBox;
  f.name = name;
  f.caption = label;
  f.initial = initial;
  f.maxLength = maxLength;
  f.digitsOnly = digitsOnly;
  return f;
}
FieldDef DigitField(const char16_t* name, const char16_t* label, const char16_t* initial, int maxLength = 0) {
  return TextField(name, label, initial, maxLength, true);
}
FieldDef Check(const char16_t* name, const char16_t* caption, bool checked = false) {
  FieldDef f;
  f.kind = FieldKind::CheckBox;
  f.name = name;
  f.caption = caption;
  f.checked = checked;
  return f;
}
// An option button that carries its value as its tag.
FieldDef Option(const char16_t* name, const char16_t* caption, const char16_t* value, bool selected = false,
                OptionHook onClick = nullptr) {
  FieldDef f;
  f.kind = FieldKind::OptionButton;
  f.name = name;
  f.caption = caption;
  f.initial = value;
  f.checked = selected;
  f.onClick = onClick;
  return f;
}
// An element of an indexed set of option buttons; its value is its index.
FieldDef OptionAt(const char16_t* name, int index, const char16_t* caption, bool selected = false,
                  OptionHook onClick = nullptr) {
  FieldDef f = Option(name, caption, u"", selected, onClick);
  f.index = index;
  return f;
}
FieldDef Group(const char16_t* name, const char16_t* caption, std::vector<FieldDef> children) {
  FieldDef f;
  f.kind = FieldKind::Group;
  f.name = name;
  f.caption = caption;
  f.children = std::move(children);
  return f;
}

// ---- write builders --------------------------------------------------------------------------

constexpr WriteDef W(const char16_t* property, Source source, const char16_t* field = nullptr,
                     const char16_t* focus = nullptr) {
  return WriteDef{property, source, field, focus, false};
}
constexpr WriteDef kName = W(u"Name", Source::Name, u"txtName");
constexpr WriteDef kEnabled = W(u"Enabled", Source::Check, u"chkEnabled");
constexpr WriteDef kVisible = W(u"Visible", Source::Check, u"chkVisible");
constexpr WriteDef kFont = W(u"Font", Source::Font);
constexpr WriteDef kIndex = W(u"Index", Source::IndexText, u"txtIndex");
constexpr WriteDef kIndex16 = W(u"Index", Source::IndexInt16, u"txtIndex");
constexpr WriteDef kTag = W(u"Tag", Source::Tag, u"txtTag");
// frmOtherControl writes only what its opening found on the control.
constexpr WriteDef IfFound(WriteDef write) {
  write.skipWhenDisabled = true;
  return write;
}

// ---- type-specific handlers ------------------------------------------------------------------

void EnableComboText(ControlDialog& dialog, bool enabled) {
  if (auto* label = dialog.FindField(u"lblText")) label->SetEnabled(enabled);
  if (auto* box = dialog.FindField(u"txtText")) box->SetEnabled(enabled);
}
// A drop-down list has no text of its own to set.
void optDDCombo_Click(ControlDialog& dialog, int) { EnableComboText(dialog, true); }
void optSimple_Click(ControlDialog& dialog, int) { EnableComboText(dialog, true); }
void optDDList_Click(ControlDialog& dialog, int) { EnableComboText(dialog, false); }

constexpr const char16_t* kScrollBarsChoice = u"ScrollBars";
constexpr const char16_t* kStyleChoice = u"Style";
constexpr const char16_t* kOrientationChoice = u"TabOrientation";

void optSB_Click(ControlDialog& dialog, int Index) { dialog.SetChoice(kScrollBarsChoice, static_cast<std::int16_t>(Index)); }
void optStyle_Click(ControlDialog& dialog, int Index) { dialog.SetChoice(kStyleChoice, static_cast<std::int16_t>(Index)); }
void optTO_Click(ControlDialog& dialog, int Index) {
  dialog.SetChoice(kOrientationChoice, static_cast<std::int16_t>(Index));
}

void frmRichTextBox_Open(ControlDialog& dialog) { dialog.SetChoice(kScrollBarsChoice, 3); }
void frmSSTab_Open(ControlDialog& dialog) {
  dialog.SetChoice(kStyleChoice, 0);
  dialog.SetChoice(kOrientationChoice, 0);
}

// frmOtherControl knows nothing of the control's class: it offers only the properties the
// control turns out to have.
void frmOtherControl_Open(ControlDialog& dialog) {
  try {
    CheckProperty(dialog, u"Name", {u"lblName", u"txtName"});
    CheckProperty(dialog, u"Caption", {u"lblControlCaption", u"txtControlCaption"});
    CheckProperty(dialog, u"Text", {u"lblControlText", u"txtControlText"});
    CheckProperty(dialog, u"Enabled", {u"chkEnabled"});
    CheckProperty(dialog, u"Visible", {u"chkVisible"});
    CheckProperty(dialog, u"Index", {u"lblIndex", u"txtIndex"});
    CheckProperty(dialog, u"Tag", {u"lblTag", u"txtTag"});

    Ref<host::StdFont> font;
    try {
      Ref<host::Property> property = dialog.objControl->Properties()->Item(u"Font");
      if (property) font = property->Object();
    } catch (...) {
      font = nullptr;
    }
    if (font) {
      dialog.Font = LoadDefaultFont();
      dialog.txtFont->SetText(dialog.Font.Name);
    } else {
      dialog.txtFont->SetEnabled(false);
      dialog.cmdFont->SetEnabled(false);
    }
  } catch (...) {
    vb::Error error = addin::AsVbError(std::current_exception());
    vb::MsgBox(u"The following error occurred : " + error.description);
    dialog.Hide();
    dialog.Unload();
  }
}

std::vector<FieldDef> ScrollBarFields(const char16_t* smallLabel, const char16_t* largeLabel) {
  return {Group(u"fraScrollBarInfo", u"Scroll Bar Info:",
                {DigitField(u"txtMin", u"Minim&um:", u"0"), DigitField(u"txtMax", u"Ma&ximum:", u"32767"),
                 DigitField(u"txtSmall", smallLabel, u"1"), DigitField(u"txtLarge", largeLabel, u"1")})};
}

// ---- the seventeen dialogs -------------------------------------------------------------------

// Built on first use: a command that places no control does not build them at start-up.
struct Dialogs {
  const DialogDef frmCheckBox{
      u"frmCheckBox", u"New CheckBox Control", u"Check &Box Name:", u"chk", 0, CaptionFollow::WithAmpersand,
      FontMode::Always, true, u"&Index:", u"&Tag:",
      {TextField(u"txtCaption", u"Chec&k Box Caption:"), Check(u"chkChecked", u"C&hecked?")},
      {kName, kEnabled, kVisible, W(u"Caption", Source::BoxText, u"txtCaption"),
       W(u"Value", Source::CheckValue, u"chkChecked"), kFont, kIndex, kTag},
      nullptr};

  const DialogDef frmCommandButton{
      u"frmCommandButton", u"New CommandButton Control", u"Command Button &Name:", u"cmd", 0,
      CaptionFollow::WithAmpersand, FontMode::Always, true, u"&Index:", u"&Tag:",
      {TextField(u"txtCaption", u"Command &Button Caption: "), Check(u"chkDefault", u"&Default?"),
       Check(u"chkCancel", u"C&ancel?")},
      {kName, kEnabled, kVisible, W(u"Caption", Source::BoxText, u"txtCaption"), W(u"Default", Source::Check, u"chkDefault"),
       W(u"Cancel", Source::Check, u"chkCancel"), kFont, kIndex, kTag},
      nullptr};

  const DialogDef frmFrame{
      u"frmFrame", u"New Frame Control", u"Frame &Name:", u"fra", 0, CaptionFollow::WithAmpersand, FontMode::Always,
      true, u"&Index:", u"&Tag:",
      {TextField(u"txtCaption", u"Fra&me Caption:")},
      {kName, kEnabled, kVisible, W(u"Caption", Source::BoxText, u"txtCaption"), kFont, kIndex, kTag},
      nullptr};

  const DialogDef frmLabel{
      u"frmLabel", u"New Label Control", u"Label &Name:", u"lbl", 0, CaptionFollow::Plain, FontMode::Always, true,
      u"Index:", u"Tag:",
      {TextField(u"txtCaption", u"Label Capti&on:"), Check(u"chkAutoSize", u"&Auto Size?"),
       Check(u"chkWordWrap", u"&Word Wrap?"),
       Group(u"fraAlignment", u"Alignment",
             {Option(u"optLeft", u"&Left", u"0", true), Option(u"optRight", u"&Right", u"1"),
              Option(u"optCenter", u"Cen&ter", u"2")})},
      {kName, kEnabled, kVisible, W(u"Caption", Source::BoxText, u"txtCaption"),
       W(u"AutoSize", Source::Check, u"chkAutoSize"), W(u"WordWrap", Source::Check, u"chkWordWrap"), kFont,
       W(u"Alignment", Source::OptionTag, u"fraAlignment"), kIndex, kTag},
      nullptr};

  const DialogDef frmListBox{
      u"frmListBox", u"New ListBox Control", u"List Box &Name:", u"lst", 0, CaptionFollow::None, FontMode::Always, true,
      u"&Index:", u"&Tag:",
      {Check(u"chkSorted", u"So&rted?", true),
       Group(u"fraStyle", u"Style",
             {Option(u"optStandard", u"Stan&dard", u"0", true), Option(u"optCheckBox", u"Check&Box", u"1")}),
       Group(u"fraMultiSelect", u"Multi-Select",
             {Option(u"optNone", u"N&one", u"0", true), Option(u"optSimple", u"Si&mple", u"1"),
              Option(u"optExtended", u"E&xtended", u"2")})},
      {kName, kEnabled, kVisible, W(u"Sorted", Source::Check, u"chkSorted"), kFont,
       W(u"MultiSelect", Source::OptionTag, u"fraMultiSelect"), W(u"Style", Source::OptionTag, u"fraStyle"), kIndex,
       kTag},
      nullptr};

  const DialogDef frmListView{
      u"frmListView", u"New ListView Control", u"List View &Name:", u"lv", 0, CaptionFollow::None, FontMode::Always,
      true, u"&Index:", u"&Tag:",
      {Check(u"chkSorted", u"So&rted?", true), Check(u"chkMulti", u"M&ultiSelect?"),
       Check(u"chkHideHdrs", u"&Hide Column Headers?"),
       Group(u"fraView", u"View",
             {Option(u"optIcon", u"Ic&on", u"0"), Option(u"optSmallIcon", u"S&mall Icon", u"1"),
              Option(u"optList", u"&List", u"2"), Option(u"optReport", u"Re&port", u"3", true)})},
      {kName, kEnabled, kVisible, W(u"Sorted", Source::Check, u"chkSorted"), W(u"MultiSelect", Source::Check, u"chkMulti"),
       W(u"HideColumnHeaders", Source::Check, u"chkHideHdrs"), kFont, W(u"View", Source::OptionTag, u"fraView"), kIndex,
       kTag},
      nullptr};

  const DialogDef frmOption{
      u"frmOption", u"New OptionButton Control", u"Option Button &Name:", u"opt", 0, CaptionFollow::WithAmpersand,
      FontMode::Always, true, u"&Index:", u"&Tag:",
      {TextField(u"txtCaption", u"Option Button Capti&on:"), Check(u"chkChecked", u"Selecte&d?")},
      {kName, kEnabled, kVisible, W(u"Caption", Source::BoxText, u"txtCaption"), W(u"Value", Source::Check, u"chkChecked"),
       kFont, kIndex, kTag},
      nullptr};

  // The text and multi-line flag go first, so a rejected name still leaves them in place.
  const DialogDef frmTextBox{
      u"frmTextBox", u"New TextBox Control", u"Text Box &Name:", u"txt", 0, CaptionFollow::None, FontMode::Always, true,
      u"&Index:", u"&Tag:",
      {TextField(u"txtText", u"Text Box Te&xt:"), Check(u"chkMulti", u"&Multi-Line?")},
      {W(u"Text", Source::BoxText, u"txtText"), W(u"MultiLine", Source::Check, u"chkMulti"), kName, kEnabled, kVisible, kFont,
       kIndex, kTag},
      nullptr};

  const DialogDef frmTimer{
      u"frmTimer", u"New Timer Control", u"Timer &Name:", u"tmr", 0, CaptionFollow::None, FontMode::None, false,
      u"&Index:", u"&Tag:",
      {DigitField(u"txtInterval", u"Inter&val:", u"500")},
      {kName, kEnabled, W(u"Interval", Source::Int16, u"txtInterval"), kIndex, kTag},
      nullptr};

  const DialogDef frmTreeView{
      u"frmTreeView", u"New TreeView Control", u"Tree View &Name:", u"tv", 0, CaptionFollow::None, FontMode::Always,
      true, u"&Index:", u"T&ag:",
      {Check(u"chkSorted", u"S&orted?"), Check(u"chkHideSel", u"&Hide Selection?", true),
       Check(u"chkFullRowSelect", u"&Full Row Select?"),
       Group(u"fraLineStyle", u"Line Style",
             {OptionAt(u"optLineStyle", 0, u"&Tree Lines", true), OptionAt(u"optLineStyle", 1, u"&Root Lines")})},
      {kName, kEnabled, kVisible, W(u"Sorted", Source::Check, u"chkSorted"),
       W(u"FullRowSelect", Source::Check, u"chkFullRowSelect"), W(u"HideSelection", Source::Check, u"chkHideSel"), kFont,
       W(u"LineStyle", Source::OptionIndex, u"fraLineStyle"), kIndex, kTag},
      nullptr};

  const DialogDef frmComboBox{
      u"frmComboBox", u"New ComboBox Control", u"Combo &Box Name:", u"cbo", 0, CaptionFollow::None, FontMode::Always,
      true, u"&Index:", u"&Tag:",
      {TextField(u"txtText", u"Combo Box Te&xt:"), Check(u"chkSorted", u"So&rted?", true),
       Group(u"fraStyle", u"Style",
             {Option(u"optDDCombo", u"&Dropdown Combo", u"0", true, optDDCombo_Click),
              Option(u"optSimple", u"Si&mple Combo", u"1", false, optSimple_Click),
              Option(u"optDDList", u"Dro&pdown List", u"2", false, optDDList_Click)})},
      {kName, IfFound(W(u"Text", Source::BoxText, u"txtText")), kVisible, kEnabled,
       W(u"Sorted", Source::Check, u"chkSorted"), kFont, W(u"Style", Source::OptionTag, u"fraStyle"), kIndex, kTag},
      nullptr};

  const DialogDef frmMaskedEdit{
      u"frmMaskedEdit", u"New Masked Edit Control", u"Masked Edit &Name:", u"msk", 0, CaptionFollow::None,
      FontMode::Always, true, u"&Index:", u"&Tag:",
      {TextField(u"txtMask", u"&Mask:"), TextField(u"txtPrompt", u"&Prompt Character:", u"_", 1),
       Check(u"chkAllowPrompt", u"&Allow Prompt?"), Check(u"chkCausesValidate", u"Ca&uses Validation?", true)},
      {kName, kEnabled, kVisible, W(u"AllowPrompt", Source::Check, u"chkAllowPrompt"),
       W(u"CausesValidation", Source::Check, u"chkCausesValidate"), W(u"Mask", Source::BoxText, u"txtMask"),
       W(u"PromptChar", Source::BoxText, u"txtPrompt"), kFont, kIndex, kTag},
      nullptr};

  const DialogDef frmRichTextBox{
      u"frmRichTextBox", u"New Rich Text Box Control", u"Rich Text Box &Name:", u"rtf", 40, CaptionFollow::None,
      FontMode::Always, true, u"&Index:", u"&Tag:",
      {Check(u"chkMultiLine", u"&MultiLine?", true),
       Group(u"fraScrollBars", u"Scroll Bars",
             {OptionAt(u"optSB", 0, u"N&one", false, optSB_Click), OptionAt(u"optSB", 1, u"&Horizontal", false, optSB_Click),
              OptionAt(u"optSB", 2, u"&Vertical", false, optSB_Click),
              OptionAt(u"optSB", 3, u"&Both", true, optSB_Click)})},
      {kName, kEnabled, kVisible, W(u"MultiLine", Source::Check, u"chkMultiLine"),
       W(u"ScrollBars", Source::Choice, kScrollBarsChoice, u"optSB"), kFont, kIndex16, kTag},
      frmRichTextBox_Open};

  const DialogDef frmSSTab{
      u"frmSSTab", u"New Tabbed Dialog Control", u"Tabbed Dialog &Name:", u"tab", 40, CaptionFollow::None,
      FontMode::Always, true, u"&Index:", u"&Tag:",
      {DigitField(u"txtTabs", u"T&abs:", u"3", 2), DigitField(u"txtTabsPerRow", u"Tabs P&er Row:", u"3", 2),
       Group(u"fraStyle", u"Style:",
             {OptionAt(u"optStyle", 0, u"Ta&bbed Dialog", true, optStyle_Click),
              OptionAt(u"optStyle", 1, u"Propert&y Page", false, optStyle_Click)}),
       Group(u"fraTabOrientation", u"Tab Orientation:",
             {OptionAt(u"optTO", 0, u"To&p", true, optTO_Click), OptionAt(u"optTO", 1, u"Botto&m", false, optTO_Click),
              OptionAt(u"optTO", 2, u"Le&ft", false, optTO_Click), OptionAt(u"optTO", 3, u"Rig&ht", false, optTO_Click)})},
      {kName, kEnabled, kVisible, W(u"Tabs", Source::BoxText, u"txtTabs"), W(u"TabsPerRow", Source::BoxText, u"txtTabsPerRow"),
       W(u"Style", Source::Choice, kStyleChoice, u"optStyle"),
       W(u"TabOrientation", Source::Choice, kOrientationChoice, u"optTO"), kFont, kIndex16, kTag},
      frmSSTab_Open};

  const std::vector<WriteDef> kScrollBarWrites = {
      kName, kEnabled, kVisible, W(u"Min", Source::Int32, u"txtMin"), W(u"Max", Source::Int32, u"txtMax"),
      W(u"SmallChange", Source::Int32, u"txtSmall"), W(u"LargeChange", Source::Int32, u"txtLarge"), kIndex16, kTag};

  const DialogDef frmHScrollBar{
      u"frmHScrollBar", u"New Horizontal Scroll Bar", u"Horizontal Scroll Bar &Name:", u"hsb", 40, CaptionFollow::None,
      FontMode::None, true, u"&Index:", u"&Tag:", ScrollBarFields(u"Small Chan&ge:", u"La&rge Change:"),
      kScrollBarWrites, nullptr};

  const DialogDef frmVScrollBar{
      u"frmVScrollBar", u"New Vertical Scroll Bar", u"Vertical Scroll Bar &Name:", u"vsb", 40, CaptionFollow::None,
      FontMode::None, true, u"&Index:", u"&Tag:", ScrollBarFields(u"Sm&all Change:", u"Large C&hange:"),
      kScrollBarWrites, nullptr};

  const DialogDef frmOtherControl{
      u"frmOtherControl", u"New Misc Control", u"Control &Name:", u"", 40, CaptionFollow::None,
      FontMode::WhenControlHasFont, true, u"&Index:", u"&Tag:",
      {TextField(u"txtControlCaption", u"Control Ca&ption:"), TextField(u"txtControlText", u"Control Te&xt:")},
      {IfFound(kName), IfFound(kEnabled), IfFound(kVisible), IfFound(W(u"Font", Source::Font, u"cmdFont")),
       IfFound(W(u"Caption", Source::TrimmedText, u"txtControlCaption")),
       IfFound(W(u"Text", Source::TrimmedText, u"txtControlText")), IfFound(kIndex16), IfFound(kTag)},
      frmOtherControl_Open};
};

const Dialogs& AllDialogs() {
  static const Dialogs dialogs;
  return dialogs;
}

}  // namespace

void CheckProperty(ControlDialog& dialog, TextView PropName, std::initializer_list<const char16_t*> fields) {
  bool found = false;
  try {
    Ref<host::Properties> properties = dialog.objControl->Properties();
    found = properties && properties->Item(PropName) != nullptr;
  } catch (...) {
    found = false;
  }
  if (found) return;
  for (const char16_t* name : fields)
    if (ui::Control* field = dialog.FindField(name)) field->SetEnabled(false);
}

const std::vector<ControlTypeRow>& ControlTypeTable() {
  const Dialogs& d = AllDialogs();
  static const std::vector<ControlTypeRow> table = {
      {u"TextBox", 8, &d.frmTextBox},         {u"CommandButton", 2, &d.frmCommandButton},
      {u"CheckBox", 0, &d.frmCheckBox},       {u"Label", 4, &d.frmLabel},
      {u"ListBox", 5, &d.frmListBox},         {u"ComboBox", 1, &d.frmComboBox},
      {u"ListView", 6, &d.frmListView},       {u"OptionButton", 7, &d.frmOption},
      {u"Timer", 9, &d.frmTimer},             {u"Frame", 3, &d.frmFrame},
      {u"TreeView", 10, &d.frmTreeView},      {u"MaskEdBox", 11, &d.frmMaskedEdit},
      {u"RichTextBox", 12, &d.frmRichTextBox}, {u"SSTab", 13, &d.frmSSTab},
      {u"HScrollBar", 15, &d.frmHScrollBar},  {u"VScrollBar", 14, &d.frmVScrollBar},
      {nullptr, 16, &d.frmOtherControl},
  };
  return table;
}

const ControlTypeRow& FindControlType(TextView className) {
  const auto& table = ControlTypeTable();
  for (const ControlTypeRow& row : table)
    if (row.className && className == row.className) return row;
  return table.back();
}

}  // namespace ravlen
