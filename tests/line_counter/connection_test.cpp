// The line counter's menu entries.
#include "tallowick_fixture.h"

namespace tallowick_test {
namespace {

using memhost::HostBuilder;

TEST_F(TallowickTest, ConnectionAppendsBothEntriesAndDisconnectionRemovesThem) {
  auto host = HostBuilder().project(u"Project1").build();
  std::vector<Text> before = host->Captions(u"Add-Ins");
  Connect(host);
  std::vector<Text> after = before;
  after.push_back(kCounterEntry);
  after.push_back(kSummaryEntry);
  EXPECT_EQ(vbe->Captions(u"Add-Ins"), after);
  EXPECT_EQ(vbe->ClickSinkCount(), 2);

  Disconnect(0);
  EXPECT_EQ(vbe->Captions(u"Add-Ins"), before);
  EXPECT_EQ(vbe->ClickSinkCount(), 0);
  EXPECT_TRUE(home.toolkit.messages().empty());
}

TEST_F(TallowickTest, ExternalConnectionCreatesNoEntries) {
  auto host = HostBuilder().project(u"Project1").build();
  std::vector<Text> before = host->Captions(u"Add-Ins");
  Connect(host, addin::ext_cm_External);
  EXPECT_EQ(vbe->Captions(u"Add-Ins"), before);
  Disconnect(0);  // nothing to delete, nothing reported
  EXPECT_TRUE(home.toolkit.messages().empty());
}

TEST_F(TallowickTest, WithoutTheAddInsBarTheConnectionReportsAndDisconnectsQuietly) {
  Connect(HostBuilder().project(u"Project1").withoutBar(u"Add-Ins").build());
  ASSERT_EQ(home.toolkit.messages().size(), 1u);
  EXPECT_EQ(home.toolkit.messages()[0].title, u"");
  EXPECT_EQ(vbe->ClickSinkCount(), 0);
  Disconnect(0);
  EXPECT_EQ(home.toolkit.messages().size(), 1u);
}

TEST_F(TallowickTest, DisconnectionWhileTheCounterIsShownClosesIt) {
  auto host = HostBuilder().project(u"Project1").module(u"Module1").build();
  const std::vector<Text> before = host->Captions(u"Add-Ins");
  Connect(host);
  bool closed = false;
  home.toolkit.Once(u"frmAddIn", [&](ui::Form& form) {
    Disconnect(0);  // the IDE unloads the add-in from behind its dialog
    closed = !form.loaded();
  });
  vbe->Click(u"Add-Ins", kCounterEntry);
  EXPECT_TRUE(closed);
  EXPECT_EQ(vbe->Captions(u"Add-Ins"), before);
}

TEST_F(TallowickTest, DisconnectionClosesOpenSummaryWindows) {
  Connect(HostBuilder().project(u"Project1").module(u"Module1").build());
  vbe->Click(u"Add-Ins", kSummaryEntry);
  ui::Form* window = home.toolkit.OpenForm(u"frmSummary");
  ASSERT_NE(window, nullptr);
  Disconnect(0);
  EXPECT_EQ(home.toolkit.OpenForm(u"frmSummary"), nullptr);
}

}  // namespace
}  // namespace tallowick_test
