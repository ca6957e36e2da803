// Form designers: placing, renaming and deleting controls with their events, the checks of
// property writes, fonts, control arrays and the record of writes.
#include <gtest/gtest.h>

#include "host_test_util.h"
#include "hosts/memory/memory_host.h"

namespace {

using hosts_test::ErrorNumberOf;
using hosts_test::U8;
using memhost::PlacedControl;
using memhost::HostBuilder;
using memhost::PropertyWrite;
using vb::Text;
using vb::Variant;

host::Ref<host::Property> Prop(const host::Ref<host::VBControl>& control, vb::TextView name) {
  return control->Properties()->Item(name);
}

std::string NameOf(const host::Ref<host::VBControl>& control) { return U8(vb::CStr(Prop(control, u"Name")->Value())); }

struct EventLog {
  std::vector<std::string> lines;
  host::ControlsSink Sink() {
    return host::ControlsSink{
        [this](const host::Ref<host::VBControl>& c) { lines.push_back("added " + NameOf(c)); },
        [this](const host::Ref<host::VBControl>& c) { lines.push_back("removed " + NameOf(c)); },
        [this](const host::Ref<host::VBControl>& c, const Text& oldName, int oldIndex) {
          lines.push_back("renamed " + U8(oldName) + "(" + std::to_string(oldIndex) + ") -> " + NameOf(c));
        }};
  }
};

TEST(Designer, PlaceRenameAndDeleteRaiseTheDesignerEventsOfTheProjectOnly) {
  auto vbe = HostBuilder()
                 .project(u"App")
                 .form(u"frmMain")
                 .form(u"frmAbout")
                 .project(u"Other")
                 .form(u"frmOther")
                 .build();
  EventLog log;
  host::VBControlsEventsMember handler;
  handler.Bind(vbe->Events()->VBControlsEvents(vbe->ActiveVBProject(), nullptr), log.Sink());

  auto text1 = vbe->PlaceControl(u"frmMain", u"TextBox");
  EXPECT_EQ(U8(text1->ClassName()), "TextBox");
  vbe->PlaceControl(u"frmAbout", u"TextBox");
  vbe->PlaceControl(u"Other.frmOther", u"CommandButton");  // another project: not reported
  vbe->RenameControl(u"frmMain", u"Text1", u"txtName");
  Prop(text1, u"Name")->SetValue(Variant(u"txtFirst"));
  vbe->DeleteControl(u"frmMain", u"txtFirst");

  EXPECT_EQ(log.lines, (std::vector<std::string>{"added Text1", "added Text1", "renamed Text1(-1) -> txtName",
                                                 "renamed txtName(-1) -> txtFirst", "removed txtFirst"}));
  EXPECT_TRUE(vbe->ControlNames(u"frmMain").empty());
  EXPECT_EQ(U8(vbe->ControlNames(u"frmAbout")), (std::vector<std::string>{"Text1"}));

  // The collection leads back to the form's component and its code.
  auto about = vbe->FindDesignerControl(u"frmAbout", u"Text1");
  auto component = about->Collection()->Parent()->Parent();
  EXPECT_EQ(U8(component->Name()), "frmAbout");
  EXPECT_NE(component->CodeModule(), nullptr);

  handler.Reset();
  vbe->PlaceControl(u"frmMain", u"Label");
  EXPECT_EQ(log.lines.size(), 5u);
}

TEST(Designer, EventsOfOneDesignerAndControlsStillReadableWhenRemoved) {
  auto vbe = HostBuilder().form(u"frmA").form(u"frmB").build();
  std::vector<std::string> seen;
  host::VBControlsEventsMember handler;
  handler.Bind(vbe->Events()->VBControlsEvents(vbe->ActiveVBProject(), vbe->Component(u"frmB")->Designer()),
               host::ControlsSink{nullptr, [&](const host::Ref<host::VBControl>& c) {
                                    // Still on the form while the event runs.
                                    seen.push_back(NameOf(c) + " " + std::to_string(c->Collection()->Count()));
                                  },
                                  nullptr});
  vbe->PlaceControl(u"frmA", u"Timer");
  vbe->PlaceControl(u"frmB", u"Timer");
  vbe->DeleteControl(u"frmA", u"Timer1");
  vbe->DeleteControl(u"frmB", u"Timer1");
  EXPECT_EQ(seen, (std::vector<std::string>{"Timer1 1"}));
  EXPECT_TRUE(vbe->ControlNames(u"frmB").empty());
}

TEST(Designer, AContainerIsDeletedWithWhatItHoldsEachControlRaisingItsEventInDesignerOrder) {
  auto element = [](const char16_t* cls, const char16_t* name, std::int16_t index, const char16_t* container = u"") {
    return PlacedControl{cls, name, {{u"Index", Variant(index)}}, container};
  };
  // Each element of a frame array holds its own controls.
  auto vbe = HostBuilder()
                 .form(u"frmWizard", u"",
                       {element(u"Frame", u"fraStep", 0), element(u"OptionButton", u"optKind", 0, u"fraStep"),
                        PlacedControl{u"PictureBox", u"picLogo", {}, u"fraStep"},
                        PlacedControl{u"Image", u"imgLogo", {}, u"picLogo"}, element(u"Frame", u"fraStep", 1),
                        element(u"OptionButton", u"optKind", 1, u"fraStep"), PlacedControl{u"CommandButton", u"cmdNext"}})
                 .build();
  EXPECT_EQ(U8(vbe->ContainerOf(vbe->FindDesignerControl(u"frmWizard", u"optKind", 1))), "fraStep");
  std::vector<std::string> seen;
  host::VBControlsEventsMember handler;
  handler.Bind(vbe->Events()->VBControlsEvents(vbe->ActiveVBProject(), nullptr),
               host::ControlsSink{nullptr, [&](const host::Ref<host::VBControl>& c) {
                                    seen.push_back(NameOf(c) + " " + std::to_string(c->Collection()->Count()));
                                  },
                                  nullptr});
  vbe->DeleteControl(u"frmWizard", u"fraStep", 0);
  EXPECT_EQ(seen, (std::vector<std::string>{"fraStep 7", "optKind 6", "picLogo 5", "imgLogo 4"}));
  EXPECT_EQ(U8(vbe->ControlNames(u"frmWizard")), (std::vector<std::string>{"fraStep", "optKind", "cmdNext"}));
  EXPECT_EQ(vbe->FindDesignerControl(u"frmWizard", u"optKind", 0), nullptr);
}

TEST(Designer, DefaultNamesTakeTheLowestFreeNumber) {
  auto vbe = HostBuilder().form(u"Form1").build();
  const std::pair<const char16_t*, const char*> classes[] = {
      {u"TextBox", "Text1"},        {u"CommandButton", "Command1"}, {u"CheckBox", "Check1"},
      {u"Label", "Label1"},         {u"ListBox", "List1"},          {u"ComboBox", "Combo1"},
      {u"OptionButton", "Option1"}, {u"Timer", "Timer1"},           {u"Frame", "Frame1"},
      {u"HScrollBar", "HScroll1"},  {u"VScrollBar", "VScroll1"},    {u"PictureBox", "Picture1"},
      {u"Image", "Image1"},         {u"ListView", "ListView1"},     {u"TreeView", "TreeView1"},
      {u"MaskEdBox", "MaskEdBox1"}, {u"RichTextBox", "RichTextBox1"}, {u"SSTab", "SSTab1"},
  };
  for (const auto& [className, name] : classes) EXPECT_EQ(NameOf(vbe->PlaceControl(u"Form1", className)), name);
  EXPECT_EQ(NameOf(vbe->PlaceControl(u"Form1", u"TextBox")), "Text2");
  vbe->DeleteControl(u"Form1", u"Text1");
  EXPECT_EQ(NameOf(vbe->PlaceControl(u"Form1", u"TextBox")), "Text1");
  // A new command button shows its name as its caption.
  EXPECT_EQ(U8(vb::CStr(Prop(vbe->FindDesignerControl(u"Form1", u"Command1"), u"Caption")->Value())), "Command1");
}

TEST(Designer, NamesTheIdeRejects) {
  auto vbe = HostBuilder()
                 .form(u"Form1", u"", {PlacedControl{u"CommandButton", u"cmdOK"}, PlacedControl{u"TextBox", u"Text1"}})
                 .build();
  auto text1 = vbe->FindDesignerControl(u"Form1", u"Text1");
  const Text forty(40, u'a');
  struct Case {
    const char* what;
    Variant value;
    int error;
  };
  const Case cases[] = {
      {"empty", Variant(u""), 380},
      {"starts with a digit", Variant(u"1abc"), 380},
      {"blank inside", Variant(u"txt Name"), 380},
      {"period", Variant(u"txt.Name"), 380},
      {"reserved word", Variant(u"Sub"), 380},
      {"reserved word in other case", Variant(u"wend"), 380},
      {"41 characters", Variant(forty + u"a"), 380},
      {"duplicate", Variant(u"cmdOK"), 380},
      {"duplicate in other case", Variant(u"CMDOK"), 380},
      {"a number", Variant(std::int16_t{12}), 380},
      {"40 characters", Variant(forty), 0},
      {"underscore and digits", Variant(u"txt_Name2"), 0},
  };
  for (const Case& c : cases) {
    Text description;
    EXPECT_EQ(ErrorNumberOf([&] { Prop(text1, u"Name")->SetValue(c.value); }, &description), c.error) << c.what;
    if (c.error == 380) {
      EXPECT_EQ(U8(description), "Invalid property value") << c.what;
    }
  }
  EXPECT_EQ(NameOf(text1), "txt_Name2");
  EXPECT_EQ(U8(vbe->ControlNames(u"Form1")), (std::vector<std::string>{"cmdOK", "txt_Name2"}));
}

TEST(Designer, ValuesOutOfRangeOrOfTheWrongKind) {
  auto vbe = HostBuilder()
                 .form(u"Form1", u"",
                       {PlacedControl{u"HScrollBar", u"hsbZoom"}, PlacedControl{u"Timer", u"tmrPoll"},
                        PlacedControl{u"ListBox", u"lstItems"}, PlacedControl{u"Label", u"lblTitle"},
                        PlacedControl{u"MaskEdBox", u"mskDate"}, PlacedControl{u"SSTab", u"tabPages"}})
                 .build();
  struct Case {
    const char16_t* control;
    const char16_t* property;
    Variant value;
    int error;
    Variant stored;  // read back after an accepted write
  };
  const Case cases[] = {
      {u"hsbZoom", u"Max", Variant(std::int32_t{32767}), 0, Variant(std::int16_t{32767})},
      {u"hsbZoom", u"Max", Variant(std::int32_t{32768}), 380, {}},
      {u"hsbZoom", u"Min", Variant(std::int32_t{-32768}), 0, Variant(std::int16_t{-32768})},
      {u"hsbZoom", u"SmallChange", Variant(std::int32_t{0}), 380, {}},
      {u"hsbZoom", u"LargeChange", Variant(u"10"), 0, Variant(std::int16_t{10})},
      {u"hsbZoom", u"Max", Variant(u"lots"), 13, {}},
      {u"tmrPoll", u"Interval", Variant(std::int16_t{500}), 0, Variant(std::int32_t{500})},
      {u"tmrPoll", u"Interval", Variant(std::int32_t{65536}), 380, {}},
      {u"tmrPoll", u"Enabled", Variant(u"False"), 0, Variant(false)},
      {u"tmrPoll", u"Enabled", Variant(u"maybe"), 13, {}},
      {u"tmrPoll", u"Enabled", Variant(std::int16_t{1}), 0, Variant(true)},
      {u"tmrPoll", u"Visible", Variant(true), 9, {}},  // a timer has no Visible
      {u"lstItems", u"MultiSelect", Variant(std::int16_t{2}), 0, Variant(std::int16_t{2})},
      {u"lstItems", u"MultiSelect", Variant(std::int16_t{3}), 380, {}},
      {u"lblTitle", u"Alignment", Variant(std::int16_t{2}), 0, Variant(std::int16_t{2})},
      {u"lblTitle", u"Caption", Variant(std::int16_t{7}), 0, Variant(u"7")},
      {u"mskDate", u"PromptChar", Variant(u"__"), 380, {}},
      {u"mskDate", u"PromptChar", Variant(u"#"), 0, Variant(u"#")},
      {u"tabPages", u"TabOrientation", Variant(std::int16_t{4}), 380, {}},
      {u"tabPages", u"Tabs", Variant(u"5"), 0, Variant(std::int16_t{5})},
      {u"tabPages", u"Index", Variant(std::int32_t{32768}), 380, {}},
  };
  for (const Case& c : cases) {
    auto control = vbe->FindDesignerControl(u"Form1", c.control);
    std::string what = U8(c.control) + "." + U8(c.property);
    EXPECT_EQ(ErrorNumberOf([&] { Prop(control, c.property)->SetValue(c.value); }), c.error) << what;
    if (c.error == 0) {
      EXPECT_EQ(Prop(control, c.property)->Value(), c.stored) << what;
    }
  }
  // Rejected values leave the old ones.
  EXPECT_EQ(Prop(vbe->FindDesignerControl(u"Form1", u"hsbZoom"), u"Max")->Value(), Variant(std::int16_t{32767}));
}

TEST(Designer, ControlArraysShareANameWithDistinctIndexes) {
  auto vbe = HostBuilder().form(u"Form1", u"", {PlacedControl{u"OptionButton", u"optSize", {{u"Index", Variant(std::int16_t{0})}}}}).build();
  auto second = vbe->PlaceControl(u"Form1", u"OptionButton");
  auto third = vbe->PlaceControl(u"Form1", u"OptionButton");
  EXPECT_EQ(Prop(second, u"Index")->Value(), Variant(std::int16_t{-1}));
  // Without an index a second control of that name is refused.
  EXPECT_EQ(ErrorNumberOf([&] { Prop(second, u"Name")->SetValue(Variant(u"optSize")); }), 380);
  Prop(second, u"Index")->SetValue(Variant(u"1"));
  Prop(second, u"Name")->SetValue(Variant(u"optSize"));
  // The same index twice is refused, by name or by index.
  Prop(third, u"Index")->SetValue(Variant(std::int16_t{1}));
  EXPECT_EQ(ErrorNumberOf([&] { Prop(third, u"Name")->SetValue(Variant(u"optSize")); }), 380);
  Prop(third, u"Index")->SetValue(Variant(std::int16_t{2}));
  Prop(third, u"Name")->SetValue(Variant(u"optSize"));
  EXPECT_EQ(ErrorNumberOf([&] { Prop(third, u"Index")->SetValue(Variant(std::int16_t{0})); }), 380);
  EXPECT_EQ(U8(vbe->ControlNames(u"Form1")), (std::vector<std::string>{"optSize", "optSize", "optSize"}));
  EXPECT_EQ(vbe->FindDesignerControl(u"Form1", u"optSize", 2), third);
  // Elements are found by name (letter case aside) and index after every change.
  EXPECT_EQ(vbe->FindDesignerControl(u"Form1", u"OPTSIZE", 2), third);
  Prop(third, u"Name")->SetValue(Variant(u"optOther"));
  EXPECT_EQ(vbe->FindDesignerControl(u"Form1", u"optSize", 2), nullptr);
  EXPECT_EQ(vbe->FindDesignerControl(u"Form1", u"optOther", 2), third);
  vbe->DeleteControl(u"Form1", u"optSize", 1);
  Prop(third, u"Index")->SetValue(Variant(std::int16_t{1}));
  Prop(third, u"Name")->SetValue(Variant(u"optSize"));
  EXPECT_EQ(vbe->FindDesignerControl(u"Form1", u"optSize", 1), third);
}

TEST(Designer, WritesRecordEveryAttemptIncludingFontMembers) {
  auto vbe = HostBuilder().form(u"Form1").build();
  auto check = vbe->PlaceControl(u"Form1", u"CheckBox");
  vbe->ClearWrites();
  Prop(check, u"Name")->SetValue(Variant(u"chkOK"));
  EXPECT_EQ(ErrorNumberOf([&] { Prop(check, u"Value")->SetValue(Variant(std::int16_t{5})); }), 380);
  auto font = Prop(check, u"Font")->Object();
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(Prop(check, u"Font")->Value(), Variant(font));
  font->SetName(u"Tahoma");
  font->SetBold(true);
  font->SetSize(10);
  EXPECT_EQ(ErrorNumberOf([&] { font->SetSize(0); }), 380);
  vbe->InjectFailure("Property.Value", 1, 5, u"Invalid procedure call or argument");
  EXPECT_EQ(ErrorNumberOf([&] { Prop(check, u"Tag")->SetValue(Variant(u"x")); }), 5);
  Prop(check, u"Tag")->SetValue(Variant(u"y"));

  const std::vector<PropertyWrite> expected = {
      {u"Check1", u"Name", Variant(u"chkOK"), true},
      {u"chkOK", u"Value", Variant(std::int16_t{5}), false},
      {u"chkOK", u"Font.Name", Variant(u"Tahoma"), true},
      {u"chkOK", u"Font.Bold", Variant(true), true},
      {u"chkOK", u"Font.Size", Variant(10.0), true},
      {u"chkOK", u"Font.Size", Variant(0.0), false},
      {u"chkOK", u"Tag", Variant(u"x"), false},
      {u"chkOK", u"Tag", Variant(u"y"), true},
  };
  EXPECT_EQ(vbe->Writes(u"Form1"), expected);
  EXPECT_EQ(U8(font->Name()), "Tahoma");
  EXPECT_TRUE(font->Bold());
  EXPECT_EQ(font->Size(), 10.0);
  // Controls without a font give no font object.
  EXPECT_EQ(Prop(vbe->PlaceControl(u"Form1", u"Timer"), u"Enabled")->Object(), nullptr);
  EXPECT_EQ(ErrorNumberOf([&] { Prop(vbe->FindDesignerControl(u"Form1", u"Timer1"), u"Font"); }), 9);
}

TEST(Designer, UnknownClassesHaveTheCommonProperties) {
  auto vbe = HostBuilder().form(u"Form1").build();
  auto grid = vbe->PlaceControl(u"Form1", u"MSFlexGrid");
  EXPECT_EQ(NameOf(grid), "MSFlexGrid1");
  std::vector<std::string> names;
  for (long i = 1; i <= grid->Properties()->Count(); ++i) names.push_back(U8(grid->Properties()->Item(i)->Name()));
  EXPECT_EQ(names, (std::vector<std::string>{"Name", "Enabled", "Height", "Index", "Left", "Tag", "Top", "Visible",
                                             "Width"}));
  EXPECT_NE(ErrorNumberOf([&] { grid->Properties()->Item(u"Caption"); }), 0);
}

}  // namespace
