// Code panes: the active pane, selections and carets, TopLine.
#include <gtest/gtest.h>

#include "host_test_util.h"
#include "hosts/memory/memory_host.h"

namespace {

using hosts_test::ErrorNumberOf;
using memhost::HostBuilder;
using memhost::Lines;

TEST(CodePane, ActivePaneWithCaretSelectionAndTopLine) {
  const auto code = Lines({u"Option Explicit", u"Sub A()", u"    Beep", u"End Sub"});
  auto vbe = HostBuilder()
                 .module(u"modOther", u"' other")
                 .classModule(u"Class1", code)
                 .activePane(u"Class1", {3, 5, 3, 5})
                 .build();
  auto pane = vbe->ActiveCodePane();
  ASSERT_NE(pane, nullptr);
  EXPECT_EQ(pane->CodeModule(), vbe->Component(u"Class1")->CodeModule());
  EXPECT_EQ(pane, vbe->Component(u"Class1")->CodeModule()->CodePane());
  // A caret reads back as a selection of zero length.
  EXPECT_EQ(pane->GetSelection(), (host::Selection{3, 5, 3, 5}));

  pane->SetSelection(2, 1, 4, 8);
  EXPECT_EQ(pane->GetSelection(), (host::Selection{2, 1, 4, 8}));
  EXPECT_EQ(pane->TopLine(), 1);
  pane->SetTopLine(4);
  EXPECT_EQ(pane->TopLine(), 4);

  EXPECT_EQ(ErrorNumberOf([&] { pane->SetSelection(5, 1, 5, 1); }), vb::err::kSubscriptOutOfRange);
  EXPECT_EQ(ErrorNumberOf([&] { pane->SetSelection(0, 1, 1, 1); }), vb::err::kSubscriptOutOfRange);
  EXPECT_EQ(ErrorNumberOf([&] { pane->SetSelection(1, 0, 1, 1); }), vb::err::kInvalidProcedureCall);
  EXPECT_EQ(ErrorNumberOf([&] { pane->SetTopLine(5); }), vb::err::kSubscriptOutOfRange);
  EXPECT_EQ(pane->GetSelection(), (host::Selection{2, 1, 4, 8}));

  vbe->InjectFailure("CodePane.SetSelection", 1, 5, u"Invalid procedure call or argument");
  EXPECT_EQ(ErrorNumberOf([&] { pane->SetSelection(1, 1, 1, 1); }), 5);
  vbe->InjectFailure("CodePane.TopLine", 1, 5, u"Invalid procedure call or argument");
  EXPECT_EQ(ErrorNumberOf([&] { pane->SetTopLine(1); }), 5);
  EXPECT_EQ(pane->TopLine(), 4);

  vbe->SetActivePane(u"modOther");
  EXPECT_EQ(vbe->ActiveCodePane()->CodeModule(), vbe->Component(u"modOther")->CodeModule());
  EXPECT_EQ(vbe->ActiveCodePane()->GetSelection(), (host::Selection{1, 1, 1, 1}));
  vbe->ClearActivePane();
  EXPECT_EQ(vbe->ActiveCodePane(), nullptr);
}

TEST(CodePane, ActivatingAPaneOfAnotherProjectMakesThatProjectActive) {
  auto vbe = HostBuilder().project(u"First").module(u"modA").project(u"Second").module(u"modB").build();
  EXPECT_EQ(hosts_test::U8(vbe->ActiveVBProject()->Name()), "First");
  vbe->SetActivePane(u"Second.modB", {1, 1, 1, 1});
  EXPECT_EQ(hosts_test::U8(vbe->ActiveVBProject()->Name()), "Second");
  EXPECT_EQ(vbe->CodePanes()->Count(), 2);
  auto added = vbe->AddComponent(u"clsNew", host::vbext_ct_ClassModule, vb::Text(u"Option Explicit"));
  EXPECT_EQ(hosts_test::U8(vbe->Code(u"Second.clsNew")), "Option Explicit");
  EXPECT_EQ(vbe->CodePanes()->Count(), 3);
  EXPECT_EQ(vbe->AddComponent(u"Bitmaps", host::vbext_ct_ResFile, std::nullopt)->CodeModule(), nullptr);
  EXPECT_NE(hosts_test::ErrorNumberOf([&] { vbe->AddComponent(u"CLSNEW", host::vbext_ct_StdModule, vb::Text()); }), 0);
}

}  // namespace
