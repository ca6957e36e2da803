// The seventeen control dialogs: what "&Save Settings" writes, the rejected write, the caption
// that follows the name, the key filters and the font.
#include <cstdint>

#include <functional>

#include "control_editor/control_dialog.h"
#include "ravlen_fixture.h"

namespace ravlen_test {
namespace {

using I16 = std::int16_t;
using I32 = std::int32_t;

std::vector<PropertyWrite> Join(std::vector<std::vector<PropertyWrite>> parts) {
  std::vector<PropertyWrite> all;
  for (auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

// Name, Enabled and Visible of a control first called `before`, now `after`.
std::vector<PropertyWrite> Opening(TextView before, TextView after, bool visible = true) {
  std::vector<PropertyWrite> w{Wrote(before, u"Name", Text(after)), Wrote(after, u"Enabled", true)};
  if (visible) w.push_back(Wrote(after, u"Visible", true));
  return w;
}

struct TypeCase {
  const char16_t* className;
  const char16_t* dialog;
  const char16_t* title;
  std::vector<PropertyWrite> writes;
};

TEST_F(RavlenTest, SavingEachDialogAtOnceWritesItsPropertiesInOrder) {
  Start();
  const std::vector<TypeCase> cases = {
      {u"CheckBox", u"frmCheckBox", u"New CheckBox Control",
       Join({Opening(u"Check1", u"chk"), {Wrote(u"chk", u"Caption", Text()), Wrote(u"chk", u"Value", I16{0})},
             FontWrites(u"chk")})},
      {u"CommandButton", u"frmCommandButton", u"New CommandButton Control",
       Join({Opening(u"Command1", u"cmd"),
             {Wrote(u"cmd", u"Caption", Text()), Wrote(u"cmd", u"Default", false), Wrote(u"cmd", u"Cancel", false)},
             FontWrites(u"cmd")})},
      {u"Frame", u"frmFrame", u"New Frame Control",
       Join({Opening(u"Frame1", u"fra"), {Wrote(u"fra", u"Caption", Text())}, FontWrites(u"fra")})},
      {u"Label", u"frmLabel", u"New Label Control",
       Join({Opening(u"Label1", u"lbl"),
             {Wrote(u"lbl", u"Caption", Text()), Wrote(u"lbl", u"AutoSize", false), Wrote(u"lbl", u"WordWrap", false)},
             FontWrites(u"lbl"), {Wrote(u"lbl", u"Alignment", I16{0})}})},
      {u"ListBox", u"frmListBox", u"New ListBox Control",
       Join({Opening(u"List1", u"lst"), {Wrote(u"lst", u"Sorted", true)}, FontWrites(u"lst"),
             {Wrote(u"lst", u"MultiSelect", I16{0}), Wrote(u"lst", u"Style", I16{0})}})},
      {u"ListView", u"frmListView", u"New ListView Control",
       Join({Opening(u"ListView1", u"lv"),
             {Wrote(u"lv", u"Sorted", true), Wrote(u"lv", u"MultiSelect", false),
              Wrote(u"lv", u"HideColumnHeaders", false)},
             FontWrites(u"lv"), {Wrote(u"lv", u"View", I16{3})}})},
      {u"OptionButton", u"frmOption", u"New OptionButton Control",
       Join({Opening(u"Option1", u"opt"), {Wrote(u"opt", u"Caption", Text()), Wrote(u"opt", u"Value", false)},
             FontWrites(u"opt")})},
      {u"TextBox", u"frmTextBox", u"New TextBox Control",
       Join({{Wrote(u"Text1", u"Text", Text()), Wrote(u"Text1", u"MultiLine", false)}, Opening(u"Text1", u"txt"),
             FontWrites(u"txt")})},
      {u"Timer", u"frmTimer", u"New Timer Control",
       Join({Opening(u"Timer1", u"tmr", false), {Wrote(u"tmr", u"Interval", I16{500})}})},
      {u"TreeView", u"frmTreeView", u"New TreeView Control",
       Join({Opening(u"TreeView1", u"tv"),
             {Wrote(u"tv", u"Sorted", false), Wrote(u"tv", u"FullRowSelect", false),
              Wrote(u"tv", u"HideSelection", true)},
             FontWrites(u"tv"), {Wrote(u"tv", u"LineStyle", I16{0})}})},
      {u"ComboBox", u"frmComboBox", u"New ComboBox Control",
       Join({{Wrote(u"Combo1", u"Name", Text(u"cbo")), Wrote(u"cbo", u"Text", Text()), Wrote(u"cbo", u"Visible", true),
              Wrote(u"cbo", u"Enabled", true), Wrote(u"cbo", u"Sorted", true)},
             FontWrites(u"cbo"), {Wrote(u"cbo", u"Style", I16{0})}})},
      {u"MaskEdBox", u"frmMaskedEdit", u"New Masked Edit Control",
       Join({Opening(u"MaskEdBox1", u"msk"),
             {Wrote(u"msk", u"AllowPrompt", false), Wrote(u"msk", u"CausesValidation", true),
              Wrote(u"msk", u"Mask", Text()), Wrote(u"msk", u"PromptChar", Text(u"_"))},
             FontWrites(u"msk")})},
      {u"RichTextBox", u"frmRichTextBox", u"New Rich Text Box Control",
       Join({Opening(u"RichTextBox1", u"rtf"),
             {Wrote(u"rtf", u"MultiLine", true), Wrote(u"rtf", u"ScrollBars", I16{3})}, FontWrites(u"rtf")})},
      {u"SSTab", u"frmSSTab", u"New Tabbed Dialog Control",
       Join({Opening(u"SSTab1", u"tab"),
             {Wrote(u"tab", u"Tabs", Text(u"3")), Wrote(u"tab", u"TabsPerRow", Text(u"3")),
              Wrote(u"tab", u"Style", I16{0}), Wrote(u"tab", u"TabOrientation", I16{0})},
             FontWrites(u"tab")})},
      {u"HScrollBar", u"frmHScrollBar", u"New Horizontal Scroll Bar",
       Join({Opening(u"HScroll1", u"hsb"),
             {Wrote(u"hsb", u"Min", I32{0}), Wrote(u"hsb", u"Max", I32{32767}), Wrote(u"hsb", u"SmallChange", I32{1}),
              Wrote(u"hsb", u"LargeChange", I32{1})}})},
      {u"VScrollBar", u"frmVScrollBar", u"New Vertical Scroll Bar",
       Join({Opening(u"VScroll1", u"vsb"),
             {Wrote(u"vsb", u"Min", I32{0}), Wrote(u"vsb", u"Max", I32{32767}), Wrote(u"vsb", u"SmallChange", I32{1}),
              Wrote(u"vsb", u"LargeChange", I32{1})}})},
      // The misc dialog starts without a name: the person types one. A picture box has no
      // Caption or Text, so neither is written.
      {u"PictureBox", u"frmOtherControl", u"New Misc Control",
       Join({Opening(u"Picture1", u"picLogo"), FontWrites(u"picLogo")})},
  };

  for (const TypeCase& c : cases) {
    SCOPED_TRACE(vb::ToUtf8(c.className));
    vbe->ClearWrites();
    Text title;
    home.toolkit.Once(c.dialog, [&](ui::Form& form) {
      title = form.caption();
      if (Text(c.dialog) == u"frmOtherControl") TypeOn(form, u"txtName", u"picLogo");
      scripted::Click(form, u"OKButton");
      EXPECT_FALSE(form.loaded());  // every write succeeded: the dialog closed itself
    });
    vbe->PlaceControl(kForm, c.className);
    ASSERT_FALSE(Shown().empty());
    EXPECT_EQ(Shown().back(), Text(c.dialog));
    EXPECT_EQ(title, Text(c.title));
    EXPECT_EQ(Describe(Writes()), Describe(c.writes));
    EXPECT_EQ(Writes(), c.writes);
  }
  EXPECT_TRUE(home.toolkit.messages().empty());
  EXPECT_EQ(Shown().size(), cases.size());
}

TEST_F(RavlenTest, DialogOpensWithThePrefixTheCaretAfterItAndTheDefaultFont) {
  Start();
  home.toolkit.Once(u"frmCommandButton", [&](ui::Form& form) {
    auto& name = Field<ui::TextBox>(form, u"txtName");
    EXPECT_EQ(name.text(), u"cmd");
    EXPECT_TRUE(name.hasFocus());
    EXPECT_EQ(name.selStart(), 3);
    EXPECT_EQ(name.selLength(), 0);
    EXPECT_EQ(Field<ui::TextBox>(form, u"txtFont").text(), u"Times New Roman");
    EXPECT_EQ(Field<ui::Label>(form, u"lblName").caption(), u"Command Button &Name:");
    EXPECT_EQ(Field<ui::CommandButton>(form, u"OKButton").caption(), u"&Save Settings");
    EXPECT_TRUE(Field<ui::CommandButton>(form, u"OKButton").isDefault());
    EXPECT_TRUE(Field<ui::CommandButton>(form, u"CancelButton").isCancel());
    EXPECT_EQ(Field<ui::CheckBox>(form, u"chkEnabled").value(), 1);
    EXPECT_EQ(Field<ui::CheckBox>(form, u"chkVisible").value(), 1);
    scripted::Click(form, u"CancelButton");
    EXPECT_FALSE(form.loaded());
  });
  vbe->PlaceControl(kForm, u"CommandButton");
  EXPECT_TRUE(Writes().empty());  // cancel writes nothing
  EXPECT_EQ(vbe->ControlNames(kForm), std::vector<Text>{u"Command1"});

  // The timer and the scroll bars have no font box; the timer no Visible box either.
  home.toolkit.Once(u"frmTimer", [&](ui::Form& form) {
    EXPECT_EQ(form.FindControl(u"txtFont"), nullptr);
    EXPECT_EQ(form.FindControl(u"cmdFont"), nullptr);
    EXPECT_EQ(form.FindControl(u"chkVisible"), nullptr);
  });
  vbe->PlaceControl(kForm, u"Timer");
}

TEST_F(RavlenTest, RejectedNameStopsTheSaveWithItsMessageAndFocus) {
  Start();
  home.toolkit.Once(u"frmCheckBox", [&](ui::Form& form) {
    scripted::Type(form, u"txtName", u"9lives");
    Field<ui::CheckBox>(form, u"chkChecked").SetFocus();
    scripted::Click(form, u"OKButton");
    EXPECT_TRUE(form.visible());
    EXPECT_TRUE(Field<ui::TextBox>(form, u"txtName").hasFocus());
    EXPECT_EQ(Field<ui::TextBox>(form, u"txtName").text(), u"9lives");  // what was typed stays
  });
  vbe->PlaceControl(kForm, u"CheckBox");

  ASSERT_EQ(home.toolkit.messages().size(), 1u);
  const scripted::MessageBox& box = home.toolkit.messages()[0];
  EXPECT_EQ(box.prompt,
            u"An error occurred trying to set the property value for Name.\r\nThe error was: Invalid property value");
  EXPECT_EQ(box.buttons, ui::vbOKOnly | ui::vbInformation);
  EXPECT_EQ(box.title, u"Invalid Property Value");
  EXPECT_EQ(Writes(), (std::vector<PropertyWrite>{Wrote(u"Check1", u"Name", Text(u"9lives"), false)}));
}

TEST_F(RavlenTest, TextBoxKeepsTextAndMultiLineWhenItsNameIsRejectedAndASecondSaveWritesAll) {
  Start({}, {PlacedControl{u"TextBox", u"txtDup"}});
  home.toolkit.Once(u"frmTextBox", [&](ui::Form& form) {
    scripted::Type(form, u"txtText", u"hello");
    scripted::Click(form, u"chkMulti");
    TypeOn(form, u"txtName", u"Dup");
    scripted::Click(form, u"OKButton");
    ASSERT_TRUE(form.visible());
    auto text1 = vbe->FindDesignerControl(kForm, u"Text1");
    ASSERT_TRUE(text1);
    EXPECT_EQ(text1->Properties()->Item(u"Text")->Value(), vb::Variant(Text(u"hello")));
    EXPECT_EQ(text1->Properties()->Item(u"MultiLine")->Value(), vb::Variant(true));

    scripted::Type(form, u"txtName", u"txtGreeting");
    scripted::Click(form, u"OKButton");
    EXPECT_FALSE(form.loaded());
  });
  vbe->PlaceControl(kForm, u"TextBox");

  const std::vector<PropertyWrite> expected = Join({
      {Wrote(u"Text1", u"Text", Text(u"hello")), Wrote(u"Text1", u"MultiLine", true),
       Wrote(u"Text1", u"Name", Text(u"txtDup"), false)},
      {Wrote(u"Text1", u"Text", Text(u"hello")), Wrote(u"Text1", u"MultiLine", true)},
      Opening(u"Text1", u"txtGreeting"),
      FontWrites(u"txtGreeting"),
  });
  EXPECT_EQ(Describe(Writes()), Describe(expected));
  ASSERT_EQ(home.toolkit.messages().size(), 1u);
  EXPECT_EQ(home.toolkit.messages()[0].prompt,
            u"An error occurred trying to set the property value for Name.\r\nThe error was: Invalid property value");
}

TEST_F(RavlenTest, RejectedValueAfterTheNameNamesItsPropertyAndFocusesItsField) {
  Start();
  home.toolkit.Once(u"frmHScrollBar", [&](ui::Form& form) {
    scripted::Type(form, u"txtMax", u"40000");  // converts, but the scroll bar refuses it
    scripted::Click(form, u"OKButton");
    EXPECT_TRUE(form.visible());
    EXPECT_TRUE(Field<ui::TextBox>(form, u"txtMax").hasFocus());
    // A Min box emptied fails its conversion: no message, the focus stays on the last rejected field.
    scripted::Type(form, u"txtMax", u"100");
    auto& min = Field<ui::TextBox>(form, u"txtMin");
    min.SetFocus();
    min.SetSelStart(0);
    min.SetSelLength(static_cast<int>(min.text().size()));
    min.PressDelete();
    EXPECT_EQ(min.text(), u"");
    scripted::Click(form, u"OKButton");
    EXPECT_TRUE(form.visible());
    EXPECT_TRUE(Field<ui::TextBox>(form, u"txtMax").hasFocus());
  });
  vbe->PlaceControl(kForm, u"HScrollBar");
  ASSERT_EQ(home.toolkit.messages().size(), 1u);
  EXPECT_EQ(home.toolkit.messages()[0].prompt,
            u"An error occurred trying to set the property value for Max.\r\nThe error was: Invalid property value");
  const auto writes = Writes();
  ASSERT_EQ(writes.size(), 5u + 3u);
  EXPECT_EQ(writes[4], Wrote(u"hsb", u"Max", std::int32_t{40000}, false));
  EXPECT_EQ(writes.back(), Wrote(u"hsb", u"Visible", true));  // the second save stopped at Min
}

TEST_F(RavlenTest, CaptionFollowsTheNameAndTakesTheDiscardedSpace) {
  Start();
  std::vector<Text> captions;
  home.toolkit.Once(u"frmCheckBox", [&](ui::Form& form) {
    auto& caption = Field<ui::TextBox>(form, u"txtCaption");
    for (const char16_t* key : {u"O", u"K", u" ", u"N", u"o", u"w"}) {
      TypeOn(form, u"txtName", key);
      captions.push_back(caption.text());
    }
    EXPECT_EQ(Field<ui::TextBox>(form, u"txtName").text(), u"chkOKNow");
    EXPECT_EQ(caption.selStart(), 0);
    EXPECT_EQ(caption.selLength(), 6);
    TypeOn(form, u"txtName", u".");
    EXPECT_EQ(caption.text(), u"&OKNow.");
    EXPECT_EQ(Field<ui::TextBox>(form, u"txtName").text(), u"chkOKNow");
    scripted::Click(form, u"OKButton");
  });
  vbe->PlaceControl(kForm, u"CheckBox");
  EXPECT_EQ(captions, (std::vector<Text>{u"&O", u"&OK", u"&OK ", u"&OKN", u"&OKNo", u"&OKNow"}));
  EXPECT_EQ(vbe->FindDesignerControl(kForm, u"chkOKNow")->Properties()->Item(u"Caption")->Value(),
            vb::Variant(Text(u"&OKNow.")));

  // The label's caption has no "&"; a name of three characters gives an empty caption.
  home.toolkit.Once(u"frmLabel", [&](ui::Form& form) {
    auto& caption = Field<ui::TextBox>(form, u"txtCaption");
    TypeOn(form, u"txtName", u"Title");
    EXPECT_EQ(caption.text(), u"Title");
    scripted::Type(form, u"txtName", u"lbl");
    EXPECT_EQ(caption.text(), u"");
    EXPECT_EQ(Field<ui::Label>(form, u"lblIndex").caption(), u"Index:");
    EXPECT_EQ(Field<ui::Label>(form, u"lblTag").caption(), u"Tag:");
  });
  vbe->PlaceControl(kForm, u"Label");

  // Where the caption does not follow, a space is simply discarded.
  home.toolkit.Once(u"frmListBox", [&](ui::Form& form) {
    TypeOn(form, u"txtName", u"My Items.");
    EXPECT_EQ(Field<ui::TextBox>(form, u"txtName").text(), u"lstMyItems");
    EXPECT_EQ(form.FindControl(u"txtCaption"), nullptr);
  });
  vbe->PlaceControl(kForm, u"ListBox");
}

TEST_F(RavlenTest, DigitBoxesTakeDigitsOnlyAndNameBoxesTheirLimit) {
  Start();
  struct DigitCase {
    const char16_t* className;
    const char16_t* dialog;
    const char16_t* box;
    const char16_t* expected;
  };
  const DigitCase digits[] = {
      {u"CheckBox", u"frmCheckBox", u"txtIndex", u"123"},  {u"Timer", u"frmTimer", u"txtInterval", u"123"},
      {u"SSTab", u"frmSSTab", u"txtTabs", u"12"},          {u"SSTab", u"frmSSTab", u"txtTabsPerRow", u"12"},
      {u"HScrollBar", u"frmHScrollBar", u"txtMin", u"123"}, {u"VScrollBar", u"frmVScrollBar", u"txtLarge", u"123"},
      {u"VScrollBar", u"frmVScrollBar", u"txtIndex", u"123"},
  };
  for (const DigitCase& c : digits) {
    SCOPED_TRACE(vb::ToUtf8(c.box));
    home.toolkit.Once(c.dialog, [&](ui::Form& form) {
      auto& box = Field<ui::TextBox>(form, c.box);
      box.SetFocus();
      box.Retype(u"-1a2. 3\b");
      EXPECT_EQ(box.text(), Text(c.expected));
      // Delete is no key press: it removes a character.
      box.SetSelStart(0);
      box.PressDelete();
      EXPECT_EQ(box.text(), Text(c.expected).substr(1));
    });
    vbe->PlaceControl(kForm, c.className);
  }

  struct LimitCase {
    const char16_t* className;
    const char16_t* dialog;
    std::size_t length;
  };
  const Text longName(45, u'x');
  for (LimitCase c : {LimitCase{u"RichTextBox", u"frmRichTextBox", 40}, LimitCase{u"SSTab", u"frmSSTab", 40},
                      LimitCase{u"HScrollBar", u"frmHScrollBar", 40}, LimitCase{u"VScrollBar", u"frmVScrollBar", 40},
                      LimitCase{u"PictureBox", u"frmOtherControl", 40}, LimitCase{u"CheckBox", u"frmCheckBox", 45},
                      LimitCase{u"TextBox", u"frmTextBox", 45}}) {
    SCOPED_TRACE(vb::ToUtf8(c.dialog));
    home.toolkit.Once(c.dialog, [&](ui::Form& form) {
      scripted::Type(form, u"txtName", longName);
      EXPECT_EQ(Field<ui::TextBox>(form, u"txtName").text().size(), c.length);
    });
    vbe->PlaceControl(kForm, c.className);
  }
  EXPECT_TRUE(Writes().empty());
}

TEST_F(RavlenTest, IndexAndTagAreWrittenLastAndOnlyWhenNotBlank) {
  Start();
  home.toolkit.Once(u"frmCommandButton", [&](ui::Form& form) {
    TypeOn(form, u"txtName", u"Go");
    scripted::Type(form, u"txtIndex", u"3");
    scripted::Type(form, u"txtTag", u"  ");  // only spaces: not written
    scripted::Click(form, u"OKButton");
  });
  vbe->PlaceControl(kForm, u"CommandButton");
  auto writes = Writes();
  ASSERT_FALSE(writes.empty());
  EXPECT_EQ(writes.back(), Wrote(u"cmdGo", u"Index", Text(u"3")));
  EXPECT_TRUE(home.toolkit.messages().empty());
  EXPECT_TRUE(vbe->FindDesignerControl(kForm, u"cmdGo", 3));  // an element of the array

  // The rich text box converts its Index; a Tag is written as typed.
  vbe->ClearWrites();
  home.toolkit.Once(u"frmRichTextBox", [&](ui::Form& form) {
    scripted::Type(form, u"txtTag", u" note ");
    scripted::Click(form, u"OKButton");
  });
  vbe->PlaceControl(kForm, u"RichTextBox");
  writes = Writes();
  ASSERT_FALSE(writes.empty());
  EXPECT_EQ(writes.back(), Wrote(u"rtf", u"Tag", Text(u" note ")));
}

TEST_F(RavlenTest, TypeSpecificChoicesReachTheirProperties) {
  Start();
  struct ChoiceCase {
    const char16_t* className;
    const char16_t* dialog;
    std::function<void(ravlen::ControlDialog&)> act;
    const char16_t* property;
    vb::Variant value;
  };
  auto clickOption = [](const char16_t* name, int index) {
    return [=](ravlen::ControlDialog& d) { d.FieldAs<ui::OptionButton>(name, index)->Click(); };
  };
  auto click = [](const char16_t* name) { return [=](ravlen::ControlDialog& d) { scripted::Click(d, name); }; };
  const ChoiceCase cases[] = {
      {u"Label", u"frmLabel", click(u"optCenter"), u"Alignment", std::int16_t{2}},
      {u"Label", u"frmLabel", click(u"optRight"), u"Alignment", std::int16_t{1}},
      {u"ListBox", u"frmListBox", click(u"optExtended"), u"MultiSelect", std::int16_t{2}},
      {u"ListBox", u"frmListBox", click(u"optCheckBox"), u"Style", std::int16_t{1}},
      {u"ListView", u"frmListView", click(u"optSmallIcon"), u"View", std::int16_t{1}},
      {u"TreeView", u"frmTreeView", clickOption(u"optLineStyle", 1), u"LineStyle", std::int16_t{1}},
      {u"RichTextBox", u"frmRichTextBox", clickOption(u"optSB", 2), u"ScrollBars", std::int16_t{2}},
      {u"SSTab", u"frmSSTab", clickOption(u"optStyle", 1), u"Style", std::int16_t{1}},
      {u"SSTab", u"frmSSTab", clickOption(u"optTO", 3), u"TabOrientation", std::int16_t{3}},
      {u"ComboBox", u"frmComboBox", click(u"optSimple"), u"Style", std::int16_t{1}},
      {u"CheckBox", u"frmCheckBox", click(u"chkChecked"), u"Value", std::int16_t{1}},
      {u"OptionButton", u"frmOption", click(u"chkChecked"), u"Value", true},
      {u"CommandButton", u"frmCommandButton", click(u"chkCancel"), u"Cancel", true},
  };
  int n = 0;
  for (const ChoiceCase& c : cases) {
    SCOPED_TRACE(vb::ToUtf8(c.dialog) + " " + vb::ToUtf8(c.property));
    vbe->ClearWrites();
    const Text name = u"ctl" + vb::ToText(++n);
    home.toolkit.Once(c.dialog, [&](ui::Form& form) {
      scripted::Type(form, u"txtName", name);
      c.act(dynamic_cast<ravlen::ControlDialog&>(form));
      scripted::Click(form, u"OKButton");
    });
    vbe->PlaceControl(kForm, c.className);
    bool found = false;
    for (const PropertyWrite& w : Writes())
      if (w.property == c.property) {
        EXPECT_EQ(w, Wrote(name, c.property, c.value));
        found = true;
      }
    EXPECT_TRUE(found);
  }
  EXPECT_TRUE(home.toolkit.messages().empty());
}

TEST_F(RavlenTest, ComboBoxDropdownListWritesNoText) {
  Start();
  home.toolkit.Once(u"frmComboBox", [&](ui::Form& form) {
    scripted::Type(form, u"txtText", u"pick one");
    scripted::Click(form, u"optDDList");
    EXPECT_FALSE(form.FindControl(u"txtText")->enabled());
    EXPECT_FALSE(form.FindControl(u"lblText")->enabled());
    scripted::Click(form, u"OKButton");
  });
  vbe->PlaceControl(kForm, u"ComboBox");
  for (const PropertyWrite& w : Writes()) EXPECT_NE(w.property, u"Text");
  EXPECT_EQ(Writes().back(), Wrote(u"cbo", u"Style", std::int16_t{2}));

  vbe->ClearWrites();
  home.toolkit.Once(u"frmComboBox", [&](ui::Form& form) {
    TypeOn(form, u"txtName", u"Two");
    scripted::Click(form, u"optDDList");
    scripted::Click(form, u"optDDCombo");
    EXPECT_TRUE(form.FindControl(u"txtText")->enabled());
    scripted::Click(form, u"OKButton");
  });
  vbe->PlaceControl(kForm, u"ComboBox");
  ASSERT_GE(Writes().size(), 2u);
  EXPECT_EQ(Writes()[1], Wrote(u"cboTwo", u"Text", Text()));
}

TEST_F(RavlenTest, TimerIntervalThatDoesNotConvertStopsTheSaveSilently) {
  Start();
  home.toolkit.Once(u"frmTimer", [&](ui::Form& form) {
    scripted::Type(form, u"txtInterval", u"40000");
    scripted::Click(form, u"OKButton");
    EXPECT_TRUE(form.visible());
  });
  vbe->PlaceControl(kForm, u"Timer");
  EXPECT_TRUE(home.toolkit.messages().empty());
  EXPECT_EQ(Writes(), Opening(u"Timer1", u"tmr", false));
}

TEST_F(RavlenTest, OtherControlOffersOnlyWhatTheControlHas) {
  Start();
  // A class the editor does not know by name, with no font: only Name, Enabled and Visible.
  home.toolkit.Once(u"frmOtherControl", [&](ui::Form& form) {
    EXPECT_EQ(Field<ui::TextBox>(form, u"txtName").text(), u"");
    EXPECT_FALSE(form.FindControl(u"txtControlCaption")->enabled());
    EXPECT_FALSE(form.FindControl(u"lblControlText")->enabled());
    EXPECT_FALSE(form.FindControl(u"cmdFont")->enabled());
    EXPECT_FALSE(form.FindControl(u"txtFont")->enabled());
    EXPECT_TRUE(form.FindControl(u"txtIndex")->enabled());
    scripted::Type(form, u"txtName", u"grdOrders");
    scripted::Type(form, u"txtIndex", u"2");
    scripted::Click(form, u"OKButton");
  });
  // "textbox" differs from "TextBox" only in case: it is no text box for the editor.
  vbe->PlaceControl(kForm, u"textbox");
  EXPECT_EQ(Shown(), std::vector<Text>{u"frmOtherControl"});
  EXPECT_EQ(Writes(), Join({Opening(u"textbox1", u"grdOrders"), {Wrote(u"grdOrders", u"Index", std::int16_t{2})}}));
}

TEST_F(RavlenTest, OtherControlWritesATrimmedCaptionEvenWhenBlank) {
  Start();
  for (const char16_t* typed : {u"  Orders  ", u"   "}) {
    vbe->ClearWrites();
    home.toolkit.Once(u"frmOtherControl", [&](ui::Form& form) {
      EXPECT_TRUE(form.FindControl(u"txtControlCaption")->enabled());
      EXPECT_FALSE(form.FindControl(u"txtControlText")->enabled());
      EXPECT_EQ(Field<ui::TextBox>(form, u"txtFont").text(), u"Times New Roman");
      scripted::Type(form, u"txtName", Text(u"dat") + (typed[2] == u'O' ? u"Orders" : u"Blank"));
      scripted::Type(form, u"txtControlCaption", typed);
      scripted::Click(form, u"OKButton");
    });
    vbe->PlaceControl(kForm, u"Data");
    const auto writes = Writes();
    ASSERT_EQ(writes.size(), 3u + 6u + 1u);
    EXPECT_EQ(writes.back().property, u"Caption");
    EXPECT_EQ(writes.back().value, vb::Variant(vb::Trim(typed)));
  }
}

TEST_F(RavlenTest, FontFromSettingsIsAppliedInWholePoints) {
  Setting(u"FontSize", u"8.25");
  Setting(u"FontName", u"Arial");
  Setting(u"FontBold", u"True");
  Setting(u"FontUnderline", u"-1");
  Start();
  home.toolkit.Once(u"frmFrame", [&](ui::Form& form) { scripted::Click(form, u"OKButton"); });
  vbe->PlaceControl(kForm, u"Frame");
  const auto writes = Writes();
  ASSERT_EQ(writes.size(), 4u + 6u);
  EXPECT_EQ(std::vector<PropertyWrite>(writes.begin() + 4, writes.end()),
            FontWrites(u"fra", u"Arial", 8, true, false, false, true));
}

TEST_F(RavlenTest, ChosenFontIsWrittenOnSaveAndNothingOnCancel) {
  Start();
  home.toolkit.OnFont([](ui::FontChoice& font) {
    font.name = u"Courier New";
    font.size = 11.5;
    font.italic = true;
    return true;
  });
  home.toolkit.Once(u"frmOption", [&](ui::Form& form) {
    scripted::Click(form, u"cmdFont");
    scripted::Click(form, u"CancelButton");
  });
  vbe->PlaceControl(kForm, u"OptionButton");
  EXPECT_TRUE(Writes().empty());

  home.toolkit.Once(u"frmOption", [&](ui::Form& form) {
    scripted::Click(form, u"cmdFont");
    EXPECT_EQ(Field<ui::TextBox>(form, u"txtFont").text(), u"Times New Roman");
    scripted::Click(form, u"OKButton");
  });
  vbe->PlaceControl(kForm, u"OptionButton");
  const auto writes = Writes();
  ASSERT_EQ(writes.size(), 5u + 6u);
  EXPECT_EQ(std::vector<PropertyWrite>(writes.begin() + 5, writes.end()),
            FontWrites(u"opt", u"Courier New", 12, false, true));
  ASSERT_EQ(home.toolkit.fontPresets().size(), 2u);
  ui::FontChoice preset{u"Times New Roman", 10, false, false, false, false, 1};
  EXPECT_EQ(home.toolkit.fontPresets()[0], preset);

  // Closing the chooser without a choice keeps the record.
  home.toolkit.OnFont([](ui::FontChoice& font) {
    font.name = u"Wingdings";
    return false;
  });
  vbe->ClearWrites();
  home.toolkit.Once(u"frmFrame", [&](ui::Form& form) {
    scripted::Click(form, u"cmdFont");
    scripted::Click(form, u"OKButton");
  });
  vbe->PlaceControl(kForm, u"Frame");
  EXPECT_EQ(Writes()[4], Wrote(u"fra", u"Font.Name", Text(u"Times New Roman")));
}

}  // namespace
}  // namespace ravlen_test
