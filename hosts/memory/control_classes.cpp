// The design-time property tables of the control classes the in-memory designer knows, and the
// checks a property write goes through. One function per class builds its table; to teach a
// class a new property, add one line to that class's function.
#include "hosts/memory/control_classes.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "framework/vb_error.h"

namespace memhost {
namespace {

// ---- property definition helpers -------------------------------------------------------------

PropertyDef Def(TextView name, PropKind kind, vb::Variant defaultValue, std::int64_t min = 0, std::int64_t max = 0) {
  return PropertyDef{Text(name), kind, std::move(defaultValue), min, max, {}};
}

PropertyDef TextProp(TextView name, TextView defaultValue = {}, std::int64_t maxLength = 0) {
  // For a text property, `min`/`max` bound the length when `max` is set (PromptChar: 1..1).
  PropertyDef d = Def(name, PropKind::Text, vb::Variant(Text(defaultValue)));
  if (maxLength > 0) {
    d.min = 0;
    d.max = maxLength;
  }
  return d;
}
PropertyDef FixedLengthText(TextView name, TextView defaultValue, std::int64_t length) {
  PropertyDef d = TextProp(name, defaultValue, length);
  d.min = length;
  return d;
}
PropertyDef BoolProp(TextView name, bool defaultValue) {
  return Def(name, PropKind::Boolean, vb::Variant(defaultValue));
}
PropertyDef IntProp(TextView name, std::int16_t defaultValue, std::int64_t min = -32768, std::int64_t max = 32767) {
  return Def(name, PropKind::Integer, vb::Variant(defaultValue), min, max);
}
PropertyDef LongProp(TextView name, std::int32_t defaultValue, std::int64_t min = INT32_MIN, std::int64_t max = INT32_MAX) {
  return Def(name, PropKind::Long, vb::Variant(defaultValue), min, max);
}
PropertyDef SingleProp(TextView name, double defaultValue) {
  return Def(name, PropKind::Single, vb::Variant(defaultValue));
}
PropertyDef EnumProp(TextView name, std::int16_t defaultValue, std::initializer_list<std::int32_t> allowed) {
  PropertyDef d = Def(name, PropKind::Enum, vb::Variant(defaultValue));
  d.allowed = allowed;
  return d;
}
PropertyDef EnumRange(TextView name, std::int16_t defaultValue, std::int32_t first, std::int32_t last) {
  PropertyDef d = Def(name, PropKind::Enum, vb::Variant(defaultValue));
  for (std::int32_t v = first; v <= last; ++v) d.allowed.push_back(v);
  return d;
}
PropertyDef FontProp() { return Def(u"Font", PropKind::Font, vb::Variant()); }
PropertyDef NameProp() { return Def(u"Name", PropKind::Name, vb::Variant(Text())); }
// A control that is no array element reads Index as -1; writes must lie in 0..32767.
PropertyDef IndexProp() { return Def(u"Index", PropKind::Index, vb::Variant(std::int16_t{-1}), 0, 32767); }

// System colours as the property sheet stores them (&H80000005& window background, ...).
constexpr std::int32_t kWindowBackground = static_cast<std::int32_t>(0x80000005u);
constexpr std::int32_t kWindowText = static_cast<std::int32_t>(0x80000008u);
constexpr std::int32_t kButtonFace = static_cast<std::int32_t>(0x8000000Fu);
constexpr std::int32_t kButtonText = static_cast<std::int32_t>(0x80000012u);

PropertyDef Appearance() { return EnumProp(u"Appearance", 1, {0, 1}); }
PropertyDef BorderStyle(std::int16_t defaultValue) { return EnumProp(u"BorderStyle", defaultValue, {0, 1}); }
PropertyDef MousePointer() {
  PropertyDef d = EnumRange(u"MousePointer", 0, 0, 15);
  d.allowed.push_back(99);
  return d;
}
PropertyDef TabIndex() { return IntProp(u"TabIndex", 0, 0, 32767); }
PropertyDef Position(TextView name, double defaultValue) { return SingleProp(name, defaultValue); }

using Props = std::vector<PropertyDef>;

// The properties of a visible control, in property-sheet order: Name first, then the class's own
// properties merged alphabetically with the common ones, as the IDE lists them.
Props Visible(std::initializer_list<PropertyDef> own, double width, double height) {
  Props all{NameProp(),
            BoolProp(u"Enabled", true),
            Position(u"Height", height),
            IndexProp(),
            Position(u"Left", 120),
            TextProp(u"Tag"),
            Position(u"Top", 120),
            BoolProp(u"Visible", true),
            Position(u"Width", width)};
  all.insert(all.end(), own.begin(), own.end());
  std::stable_sort(all.begin() + 1, all.end(),
                   [](const PropertyDef& a, const PropertyDef& b) { return vb::LessNoCase(a.name, b.name); });
  return all;
}

// ---- one function per class ------------------------------------------------------------------

ControlClassDef TextBoxClass() {
  return {u"TextBox", u"VB", u"Text",
          Visible({EnumProp(u"Alignment", 0, {0, 1, 2}), Appearance(), LongProp(u"BackColor", kWindowBackground),
                   BorderStyle(1), BoolProp(u"CausesValidation", true), TextProp(u"DataField"), FontProp(),
                   LongProp(u"ForeColor", kWindowText), BoolProp(u"HideSelection", true), BoolProp(u"Locked", false),
                   LongProp(u"MaxLength", 0, 0, INT32_MAX), MousePointer(), BoolProp(u"MultiLine", false),
                   TextProp(u"PasswordChar", u"", 1), BoolProp(u"RightToLeft", false),
                   EnumProp(u"ScrollBars", 0, {0, 1, 2, 3}), TabIndex(), BoolProp(u"TabStop", true), TextProp(u"Text"),
                   TextProp(u"ToolTipText")},
                  1215, 495)};
}

ControlClassDef CommandButtonClass() {
  return {u"CommandButton", u"VB", u"Command",
          Visible({Appearance(), LongProp(u"BackColor", kButtonFace), BoolProp(u"Cancel", false), TextProp(u"Caption"),
                   BoolProp(u"CausesValidation", true), BoolProp(u"Default", false), FontProp(),
                   LongProp(u"MaskColor", 0x00C0C0C0), MousePointer(), BoolProp(u"RightToLeft", false),
                   EnumProp(u"Style", 0, {0, 1}), TabIndex(), BoolProp(u"TabStop", true), TextProp(u"ToolTipText"),
                   BoolProp(u"UseMaskColor", false)},
                  1215, 495)};
}

ControlClassDef CheckBoxClass() {
  return {u"CheckBox", u"VB", u"Check",
          Visible({EnumProp(u"Alignment", 0, {0, 1}), Appearance(), LongProp(u"BackColor", kButtonFace),
                   TextProp(u"Caption"), BoolProp(u"CausesValidation", true), FontProp(),
                   LongProp(u"ForeColor", kButtonText), MousePointer(), BoolProp(u"RightToLeft", false),
                   EnumProp(u"Style", 0, {0, 1}), TabIndex(), BoolProp(u"TabStop", true), TextProp(u"ToolTipText"),
                   EnumProp(u"Value", 0, {0, 1, 2})},
                  1215, 495)};
}

ControlClassDef LabelClass() {
  return {u"Label", u"VB", u"Label",
          Visible({EnumProp(u"Alignment", 0, {0, 1, 2}), Appearance(), BoolProp(u"AutoSize", false),
                   LongProp(u"BackColor", kButtonFace), EnumProp(u"BackStyle", 1, {0, 1}), BorderStyle(0),
                   TextProp(u"Caption"), FontProp(), LongProp(u"ForeColor", kButtonText), MousePointer(),
                   BoolProp(u"RightToLeft", false), TabIndex(), TextProp(u"ToolTipText"),
                   BoolProp(u"UseMnemonic", true), BoolProp(u"WordWrap", false)},
                  1215, 255)};
}

ControlClassDef ListBoxClass() {
  return {u"ListBox", u"VB", u"List",
          Visible({Appearance(), LongProp(u"BackColor", kWindowBackground), BoolProp(u"CausesValidation", true),
                   IntProp(u"Columns", 0, 0, 32767), FontProp(), LongProp(u"ForeColor", kWindowText),
                   BoolProp(u"IntegralHeight", true), MousePointer(), EnumProp(u"MultiSelect", 0, {0, 1, 2}),
                   BoolProp(u"RightToLeft", false), BoolProp(u"Sorted", false), EnumProp(u"Style", 0, {0, 1}),
                   TabIndex(), BoolProp(u"TabStop", true), TextProp(u"ToolTipText")},
                  1215, 1035)};
}

ControlClassDef ComboBoxClass() {
  return {u"ComboBox", u"VB", u"Combo",
          Visible({Appearance(), LongProp(u"BackColor", kWindowBackground), BoolProp(u"CausesValidation", true),
                   FontProp(), LongProp(u"ForeColor", kWindowText), BoolProp(u"IntegralHeight", true),
                   BoolProp(u"Locked", false), MousePointer(), BoolProp(u"RightToLeft", false),
                   BoolProp(u"Sorted", false), EnumProp(u"Style", 0, {0, 1, 2}), TabIndex(), BoolProp(u"TabStop", true),
                   TextProp(u"Text"), TextProp(u"ToolTipText")},
                  1215, 315)};
}

ControlClassDef OptionButtonClass() {
  return {u"OptionButton", u"VB", u"Option",
          Visible({EnumProp(u"Alignment", 0, {0, 1}), Appearance(), LongProp(u"BackColor", kButtonFace),
                   TextProp(u"Caption"), BoolProp(u"CausesValidation", true), FontProp(),
                   LongProp(u"ForeColor", kButtonText), MousePointer(), BoolProp(u"RightToLeft", false),
                   EnumProp(u"Style", 0, {0, 1}), TabIndex(), BoolProp(u"TabStop", true), TextProp(u"ToolTipText"),
                   BoolProp(u"Value", false)},
                  1215, 495)};
}

// A timer has no size, no Visible and no font.
ControlClassDef TimerClass() {
  return {u"Timer", u"VB", u"Timer",
          {NameProp(), BoolProp(u"Enabled", true), IndexProp(), LongProp(u"Interval", 0, 0, 65535),
           Position(u"Left", 120), TextProp(u"Tag"), Position(u"Top", 120)}};
}

ControlClassDef FrameClass() {
  return {u"Frame", u"VB", u"Frame",
          Visible({Appearance(), LongProp(u"BackColor", kButtonFace), BorderStyle(1), TextProp(u"Caption"),
                   BoolProp(u"ClipControls", true), FontProp(), LongProp(u"ForeColor", kButtonText), MousePointer(),
                   BoolProp(u"RightToLeft", false), TabIndex(), TextProp(u"ToolTipText")},
                  1815, 1215)};
}

// Both scroll bars share one table; only the class name, the stem and the default shape differ.
Props ScrollBarProps(double width, double height) {
  return Visible({BoolProp(u"CausesValidation", true), IntProp(u"LargeChange", 1, 1, 32767), IntProp(u"Max", 32767),
                  IntProp(u"Min", 0), MousePointer(), BoolProp(u"RightToLeft", false),
                  IntProp(u"SmallChange", 1, 1, 32767), TabIndex(), BoolProp(u"TabStop", true), IntProp(u"Value", 0)},
                 width, height);
}
ControlClassDef HScrollBarClass() { return {u"HScrollBar", u"VB", u"HScroll", ScrollBarProps(1215, 255)}; }
ControlClassDef VScrollBarClass() { return {u"VScrollBar", u"VB", u"VScroll", ScrollBarProps(255, 1215)}; }

ControlClassDef PictureBoxClass() {
  return {u"PictureBox", u"VB", u"Picture",
          Visible({EnumRange(u"Align", 0, 0, 4), Appearance(), BoolProp(u"AutoRedraw", false),
                   BoolProp(u"AutoSize", false), LongProp(u"BackColor", kButtonFace), BorderStyle(1),
                   BoolProp(u"CausesValidation", true), BoolProp(u"ClipControls", true), FontProp(),
                   LongProp(u"ForeColor", kButtonText), MousePointer(), BoolProp(u"RightToLeft", false),
                   EnumRange(u"ScaleMode", 1, 0, 7), TabIndex(), BoolProp(u"TabStop", true), TextProp(u"ToolTipText")},
                  1215, 1215)};
}

ControlClassDef ImageClass() {
  return {u"Image", u"VB", u"Image",
          Visible({EnumProp(u"Appearance", 1, {0, 1}), BorderStyle(0), MousePointer(), BoolProp(u"Stretch", false),
                   TextProp(u"ToolTipText")},
                  1215, 1215)};
}

ControlClassDef ListViewClass() {
  return {u"ListView", u"MSComctlLib", u"ListView",
          Visible({EnumProp(u"Appearance", 1, {0, 1}), EnumProp(u"Arrange", 0, {0, 1, 2}), BorderStyle(0),
                   BoolProp(u"Checkboxes", false), FontProp(), BoolProp(u"FullRowSelect", false),
                   BoolProp(u"GridLines", false), BoolProp(u"HideColumnHeaders", false),
                   BoolProp(u"HideSelection", true), EnumProp(u"LabelEdit", 0, {0, 1}), BoolProp(u"LabelWrap", true),
                   MousePointer(), BoolProp(u"MultiSelect", false), IntProp(u"SortKey", 0, 0, 32767),
                   EnumProp(u"SortOrder", 0, {0, 1}), BoolProp(u"Sorted", false), TabIndex(),
                   TextProp(u"ToolTipText"), EnumProp(u"View", 0, {0, 1, 2, 3})},
                  2415, 1815)};
}

ControlClassDef TreeViewClass() {
  return {u"TreeView", u"MSComctlLib", u"TreeView",
          Visible({EnumProp(u"Appearance", 1, {0, 1}), BorderStyle(0), BoolProp(u"Checkboxes", false), FontProp(),
                   BoolProp(u"FullRowSelect", false), BoolProp(u"HideSelection", true), SingleProp(u"Indentation", 566),
                   EnumProp(u"LabelEdit", 0, {0, 1}), EnumProp(u"LineStyle", 0, {0, 1}), MousePointer(),
                   TextProp(u"PathSeparator", u"\\"), BoolProp(u"Scroll", true), BoolProp(u"SingleSel", false),
                   BoolProp(u"Sorted", false), EnumRange(u"Style", 7, 0, 7), TabIndex(), TextProp(u"ToolTipText")},
                  2415, 1815)};
}

ControlClassDef MaskEdBoxClass() {
  return {u"MaskEdBox", u"MSMask", u"MaskEdBox",
          Visible({BoolProp(u"AllowPrompt", false), BoolProp(u"AutoTab", false), LongProp(u"BackColor", kWindowBackground),
                   BorderStyle(1), BoolProp(u"CausesValidation", true), EnumProp(u"ClipMode", 0, {0, 1}), FontProp(),
                   LongProp(u"ForeColor", kWindowText), TextProp(u"Format"), BoolProp(u"HideSelection", true),
                   TextProp(u"Mask", u"", 64), IntProp(u"MaxLength", 64, 1, 64), MousePointer(),
                   FixedLengthText(u"PromptChar", u"_", 1), BoolProp(u"PromptInclude", true), TabIndex(),
                   BoolProp(u"TabStop", true), TextProp(u"Text"), TextProp(u"ToolTipText")},
                  1215, 375)};
}

ControlClassDef RichTextBoxClass() {
  return {u"RichTextBox", u"RichTextLib", u"RichTextBox",
          Visible({EnumProp(u"Appearance", 1, {0, 1}), BoolProp(u"AutoVerbMenu", false),
                   LongProp(u"BackColor", kWindowBackground), BorderStyle(1), BoolProp(u"CausesValidation", true),
                   BoolProp(u"DisableNoScroll", false), FontProp(), BoolProp(u"HideSelection", true),
                   BoolProp(u"Locked", false), LongProp(u"MaxLength", 0, 0, INT32_MAX), MousePointer(),
                   BoolProp(u"MultiLine", true), SingleProp(u"RightMargin", 0), EnumProp(u"ScrollBars", 0, {0, 1, 2, 3}),
                   TabIndex(), BoolProp(u"TabStop", true), TextProp(u"Text"), TextProp(u"ToolTipText")},
                  2415, 1215)};
}

ControlClassDef SSTabClass() {
  return {u"SSTab", u"TabDlg", u"SSTab",
          Visible({LongProp(u"BackColor", kButtonFace), TextProp(u"Caption"), FontProp(),
                   LongProp(u"ForeColor", kButtonText), MousePointer(), EnumProp(u"Style", 0, {0, 1}),
                   IntProp(u"Tab", 0, 0, 32767), SingleProp(u"TabHeight", 520), TabIndex(),
                   EnumProp(u"TabOrientation", 0, {0, 1, 2, 3}), IntProp(u"Tabs", 3, 1, 32767),
                   IntProp(u"TabsPerRow", 3, 1, 32767), BoolProp(u"TabStop", true), BoolProp(u"WordWrap", true)},
                  3615, 2415)};
}

// The data control: a caption and a font, but no dialog of its own in the control editor.
ControlClassDef DataClass() {
  return {u"Data", u"VB", u"Data",
          Visible({EnumRange(u"Align", 0, 0, 4), Appearance(), LongProp(u"BackColor", kWindowBackground),
                   EnumProp(u"BOFAction", 0, {0, 1}), TextProp(u"Caption"), TextProp(u"Connect", u"Access"),
                   TextProp(u"DatabaseName"), EnumProp(u"DefaultCursorType", 0, {0, 1, 2}),
                   EnumProp(u"DefaultType", 2, {1, 2}), EnumRange(u"EOFAction", 0, 0, 2), BoolProp(u"Exclusive", false),
                   FontProp(), LongProp(u"ForeColor", kWindowText), MousePointer(), LongProp(u"Options", 0),
                   BoolProp(u"ReadOnly", false), EnumRange(u"RecordsetType", 1, 0, 2), TextProp(u"RecordSource"),
                   BoolProp(u"RightToLeft", false), TextProp(u"ToolTipText")},
                  1140, 345)};
}

// ---- the table -------------------------------------------------------------------------------

const std::vector<ControlClassDef>& ClassTable() {
  static const std::vector<ControlClassDef> table = {
      TextBoxClass(),     CommandButtonClass(), CheckBoxClass(),   LabelClass(),      ListBoxClass(),
      ComboBoxClass(),    OptionButtonClass(),  TimerClass(),      FrameClass(),      HScrollBarClass(),
      VScrollBarClass(),  PictureBoxClass(),    ImageClass(),      ListViewClass(),   TreeViewClass(),
      MaskEdBoxClass(),   RichTextBoxClass(),   SSTabClass(),       DataClass(),
  };
  return table;
}

[[noreturn]] void RaiseInvalidValue() { vb::Raise(vb::err::kInvalidPropertyValue, u"Invalid property value"); }
[[noreturn]] void RaiseTypeMismatch() { vb::Raise(vb::err::kTypeMismatch, u"Type mismatch"); }

bool IsLetter(char16_t c) {
  return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= 0xC0 && c <= 0xFF && c != 0xD7 && c != 0xF7);
}
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// A number from a value the way the property sheet reads one: numbers as they are, booleans as
// -1/0, text that reads as a number; anything else is the wrong kind of value.
double NumberOf(const vb::Variant& value) {
  if (value.IsObject() || value.IsEmpty()) RaiseTypeMismatch();
  if (value.IsText()) {
    auto n = vb::ParseNumber(std::get<Text>(value.value()));
    if (!n) RaiseTypeMismatch();
    return *n;
  }
  if (value.IsBool()) return std::get<bool>(value.value()) ? -1.0 : 0.0;
  return vb::CDbl(value);
}

std::int64_t WholeNumberIn(const vb::Variant& value, std::int64_t min, std::int64_t max) {
  double n = vb::RoundHalfEven(NumberOf(value));
  if (!std::isfinite(n) || n < static_cast<double>(min) || n > static_cast<double>(max)) RaiseInvalidValue();
  return static_cast<std::int64_t>(n);
}

}  // namespace

const ControlClassDef* FindControlClass(TextView className) {
  for (const auto& def : ClassTable())
    if (def.className == className) return &def;
  return nullptr;
}

const std::vector<PropertyDef>& CommonProperties() {
  static const std::vector<PropertyDef> common = Visible({}, 1215, 495);
  return common;
}

vb::Variant CoerceProperty(const PropertyDef& def, const vb::Variant& value) {
  switch (def.kind) {
    case PropKind::Text: {
      if (value.IsObject()) RaiseTypeMismatch();
      Text text = value.IsEmpty() ? Text() : vb::CStr(value);
      if (def.max > 0 && (static_cast<std::int64_t>(text.size()) > def.max ||
                          static_cast<std::int64_t>(text.size()) < def.min))
        RaiseInvalidValue();
      return vb::Variant(std::move(text));
    }
    case PropKind::Boolean: {
      if (value.IsObject() || value.IsEmpty()) RaiseTypeMismatch();
      if (value.IsText()) {
        const Text& t = std::get<Text>(value.value());
        if (vb::EqualsNoCase(vb::Trim(t), u"True")) return vb::Variant(true);
        if (vb::EqualsNoCase(vb::Trim(t), u"False")) return vb::Variant(false);
      }
      return vb::Variant(NumberOf(value) != 0.0);
    }
    case PropKind::Integer:
      return vb::Variant(static_cast<std::int16_t>(WholeNumberIn(value, def.min, def.max)));
    case PropKind::Long:
      return vb::Variant(static_cast<std::int32_t>(WholeNumberIn(value, def.min, def.max)));
    case PropKind::Single: {
      double n = NumberOf(value);
      if (!std::isfinite(n)) RaiseInvalidValue();
      return vb::Variant(n);
    }
    case PropKind::Enum: {
      std::int64_t n = WholeNumberIn(value, -32768, 32767);
      if (std::find(def.allowed.begin(), def.allowed.end(), static_cast<std::int32_t>(n)) == def.allowed.end())
        RaiseInvalidValue();
      return vb::Variant(static_cast<std::int16_t>(n));
    }
    case PropKind::Font:
      if (!value.IsObject() || !std::get<std::shared_ptr<host::StdFont>>(value.value())) RaiseTypeMismatch();
      return value;
    case PropKind::Name: {
      if (value.IsObject()) RaiseTypeMismatch();
      Text name = value.IsEmpty() ? Text() : vb::CStr(value);
      if (!IsValidName(name, 40)) RaiseInvalidValue();
      return vb::Variant(std::move(name));
    }
    case PropKind::Index:
      return vb::Variant(static_cast<std::int16_t>(WholeNumberIn(value, 0, 32767)));
  }
  RaiseInvalidValue();
}

bool IsValidName(TextView name, std::size_t maxLength) {
  if (name.empty() || name.size() > maxLength || !IsLetter(name[0])) return false;
  for (char16_t c : name)
    if (!IsLetter(c) && !IsDigit(c) && c != u'_') return false;
  return !IsReservedWord(name);
}

bool IsReservedWord(TextView word) {
  static const std::vector<TextView> kWords = {
      u"AddressOf", u"And", u"Any", u"As", u"Attribute", u"Boolean", u"ByRef", u"Byte", u"ByVal", u"Call",
      u"Case", u"CBool", u"CByte", u"CCur", u"CDate", u"CDbl", u"CDec", u"CInt", u"CLng", u"Close", u"Const",
      u"CSng", u"CStr", u"Currency", u"CVar", u"Date", u"Debug", u"Decimal", u"Declare", u"Dim", u"Do",
      u"Double", u"Each", u"Else", u"ElseIf", u"Empty", u"End", u"Enum", u"Eqv", u"Erase", u"Error", u"Event",
      u"Exit", u"False", u"For", u"Friend", u"Function", u"Get", u"Global", u"GoSub", u"GoTo", u"If", u"Imp",
      u"Implements", u"In", u"Integer", u"Is", u"Let", u"Like", u"Long", u"Loop", u"LSet", u"Me", u"Mod",
      u"New", u"Next", u"Not", u"Nothing", u"Null", u"Object", u"On", u"Option", u"Optional", u"Or",
      u"ParamArray", u"Preserve", u"Private", u"Property", u"Public", u"RaiseEvent", u"ReDim", u"Rem",
      u"Resume", u"Return", u"RSet", u"Select", u"Set", u"Single", u"Static", u"Step", u"Stop", u"String",
      u"Sub", u"Then", u"To", u"True", u"Type", u"TypeOf", u"Until", u"Variant", u"Wend", u"While", u"With",
      u"WithEvents", u"Xor",
  };
  return std::any_of(kWords.begin(), kWords.end(), [&](TextView w) { return vb::EqualsNoCase(word, w); });
}

}  // namespace memhost
