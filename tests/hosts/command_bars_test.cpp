// Command bars: the IDE's own entries, added buttons and popups, deletion, click sinks.
#include <gtest/gtest.h>

#include "host_test_util.h"
#include "hosts/memory/memory_host.h"

namespace {

using hosts_test::ErrorNumberOf;
using hosts_test::U8;
using memhost::HostBuilder;

using Captions = std::vector<std::string>;

TEST(CommandBars, AddInsertDeleteAndPopupsKeepCaptionTagAndOrder) {
  auto vbe = HostBuilder().build();
  auto bars = vbe->CommandBars();
  EXPECT_EQ(U8(vbe->Captions(u"Add-Ins")), (Captions{"&Add-In Manager..."}));
  const Captions ideEntries = U8(vbe->Captions(u"Code Window"));
  ASSERT_FALSE(ideEntries.empty());

  auto controls = bars->Item(u"Code Window")->Controls();
  auto last = controls->Add(host::msoControlButton);
  last->SetCaption(u"Comment Out Selected Area");
  auto first = controls->Add(host::msoControlButton, 1);
  first->SetCaption(u"&Goto Code Member");
  auto popup = controls->Add(host::msoControlPopup);
  popup->SetCaption(u"&Retrieve Code");
  auto inner = popup->Controls()->Add(host::msoControlButton);
  inner->SetCaption(u"&Retrieve Code Segment");
  inner->SetTag(u"NODELETE");
  auto piece = popup->Controls()->Add(host::msoControlButton);
  piece->SetCaption(u"Error Handler");

  Captions expected{"&Goto Code Member"};
  expected.insert(expected.end(), ideEntries.begin(), ideEntries.end());
  expected.push_back("Comment Out Selected Area");
  expected.push_back("&Retrieve Code");
  EXPECT_EQ(U8(vbe->Captions(u"Code Window")), expected);
  EXPECT_EQ(U8(vbe->Captions(u"Code Window/&Retrieve Code")), (Captions{"&Retrieve Code Segment", "Error Handler"}));
  EXPECT_EQ(U8(vbe->FindControl(u"Code Window/&Retrieve Code", u"&Retrieve Code Segment")->Tag()), "NODELETE");
  EXPECT_EQ(controls->Item(1), first);
  EXPECT_EQ(popup->Type(), host::msoControlPopup);
  EXPECT_EQ(ErrorNumberOf([&] { last->Controls(); }), 438);

  // Deleting once removes; a second Delete is refused.
  first->Delete();
  EXPECT_NE(ErrorNumberOf([&] { first->Delete(); }), 0);
  EXPECT_NE(ErrorNumberOf([&] { first->Caption(); }), 0);
  piece->Delete();
  EXPECT_EQ(U8(vbe->Captions(u"Code Window/&Retrieve Code")), (Captions{"&Retrieve Code Segment"}));
  // A popup takes its controls with it.
  popup->Delete();
  EXPECT_NE(ErrorNumberOf([&] { inner->Delete(); }), 0);
  expected.erase(expected.begin());
  expected.pop_back();
  EXPECT_EQ(U8(vbe->Captions(u"Code Window")), expected);

  EXPECT_EQ(ErrorNumberOf([&] { controls->Add(host::msoControlButton, 99); }), vb::err::kInvalidProcedureCall);
  EXPECT_EQ(ErrorNumberOf([&] { bars->Item(u"Standard Toolbar"); }), vb::err::kInvalidProcedureCall);
}

TEST(CommandBars, MissingBarRaises) {
  auto vbe = HostBuilder().withoutBar(u"Add-Ins").build();
  EXPECT_EQ(ErrorNumberOf([&] { vbe->CommandBars()->Item(u"Add-Ins"); }), vb::err::kInvalidProcedureCall);
  EXPECT_NE(vbe->CommandBars()->Item(u"Code Window"), nullptr);
  vbe->RemoveBar(u"Code Window");
  EXPECT_EQ(ErrorNumberOf([&] { vbe->CommandBars()->Item(u"Code Window"); }), vb::err::kInvalidProcedureCall);
}

TEST(CommandBars, ClickSinksReceiveClicksUntilTheirConnectionEnds) {
  auto vbe = HostBuilder().build();
  auto button = vbe->CommandBars()->Item(u"Add-Ins")->Controls()->Add(host::msoControlButton);
  button->SetCaption(u"&Project Summary");
  auto other = vbe->CommandBars()->Item(u"Add-Ins")->Controls()->Add(host::msoControlButton);
  other->SetCaption(u"Other");

  std::vector<std::string> clicks;
  host::CommandBarEventsMember handler;
  handler.Bind(vbe->Events()->CommandBarEvents(button),
               [&](const host::Ref<host::CommandBarControl>& control, bool& handled, bool& cancelDefault) {
                 clicks.push_back(U8(control->Caption()));
                 EXPECT_FALSE(handled);
                 EXPECT_FALSE(cancelDefault);
               });
  EXPECT_EQ(vbe->ClickSinkCount(), 1);
  vbe->Click(u"Add-Ins", u"&Project Summary");
  vbe->Click(u"Add-Ins", u"Other");
  vbe->ClickControl(button);
  EXPECT_EQ(clicks, (std::vector<std::string>{"&Project Summary", "&Project Summary"}));

  // A deleted entry cannot be clicked any more.
  auto stale = vbe->FindControl(u"Add-Ins", u"Other");
  stale->Delete();
  EXPECT_NE(ErrorNumberOf([&] { vbe->ClickControl(stale); }), 0);

  handler.Reset();  // the connection ends with the sink member
  EXPECT_EQ(vbe->ClickSinkCount(), 0);
  vbe->Click(u"Add-Ins", u"&Project Summary");
  EXPECT_EQ(clicks.size(), 2u);

  EXPECT_EQ(ErrorNumberOf([&] { vbe->Events()->CommandBarEvents(nullptr); }), vb::err::kObjectNotSet);
  EXPECT_NE(ErrorNumberOf([&] { vbe->Click(u"Add-Ins", u"Missing"); }), 0);
}

TEST(CommandBars, ASinkMayDisconnectAnotherDuringAClick) {
  auto vbe = HostBuilder().build();
  auto button = vbe->CommandBars()->Item(u"Code Window")->Controls()->Add(host::msoControlButton);
  button->SetCaption(u"Rebuild");
  int secondCalls = 0;
  host::CommandBarEventsMember second;
  host::CommandBarEventsMember first;
  first.Bind(vbe->Events()->CommandBarEvents(button),
             [&](const host::Ref<host::CommandBarControl>&, bool&, bool&) { second.Reset(); });
  second.Bind(vbe->Events()->CommandBarEvents(button),
              [&](const host::Ref<host::CommandBarControl>&, bool&, bool&) { ++secondCalls; });
  EXPECT_EQ(vbe->ClickSinkCount(), 2);
  vbe->Click(u"Code Window", u"Rebuild");
  EXPECT_EQ(secondCalls, 0);
  EXPECT_EQ(vbe->ClickSinkCount(), 1);
}

}  // namespace
