// Connection and disconnection of the comment add-in in the memory IDE.
#include "comment_fixture.h"

namespace comment_test {
namespace {

TEST(Connect, FiveEntriesGotoFirstTheOthersAtTheEndThenRemoved) {
  testing_support::TestHome home;
  auto vbe = HostBuilder().project(u"Project1").module(u"Module1", u"x = 1").build();
  const std::vector<Text> ideOwn = vbe->Captions(kBar);
  {
    comment::Connect connect;
    connect.OnConnection(vbe, addin::ext_cm_AfterStartup);
    std::vector<Text> expected{kGoto};
    expected.insert(expected.end(), ideOwn.begin(), ideOwn.end());
    for (const char16_t* c : {kCommentOut, kUncomment, kHeader, kRevision}) expected.push_back(c);
    EXPECT_EQ(vbe->Captions(kBar), expected);
    EXPECT_EQ(vbe->ClickSinkCount(), 5);

    connect.OnDisconnection(1);
    EXPECT_EQ(vbe->Captions(kBar), ideOwn);
    EXPECT_EQ(vbe->ClickSinkCount(), 0);
  }
  EXPECT_TRUE(home.toolkit.messages().empty());
  EXPECT_TRUE(home.log.lines.empty());
}

TEST(Connect, ExternalModeCreatesNoEntries) {
  testing_support::TestHome home;
  auto vbe = HostBuilder().project(u"Project1").build();
  const std::vector<Text> ideOwn = vbe->Captions(kBar);
  Connected ide(vbe, addin::ext_cm_External);
  EXPECT_EQ(vbe->Captions(kBar), ideOwn);
  EXPECT_EQ(vbe->ClickSinkCount(), 0);
}

TEST(Connect, MissingCodeWindowBarIsReportedAndLogged) {
  testing_support::TestHome home;
  auto vbe = HostBuilder().project(u"Project1").withoutBar(kBar).build();
  comment::Connect connect;
  connect.OnConnection(vbe, addin::ext_cm_Startup);
  ASSERT_EQ(home.toolkit.messages().size(), 1u);
  const scripted::MessageBox box = home.toolkit.messages()[0];
  const Text prefix = u"The following error occurred trying to load the Comment Add-In: ";
  ASSERT_TRUE(vb::StartsWith(box.prompt, prefix)) << vb::ToUtf8(box.prompt);
  const Text description = box.prompt.substr(prefix.size());
  EXPECT_FALSE(description.empty());
  EXPECT_EQ(box.buttons, ui::vbOKOnly);
  EXPECT_EQ(box.title, u"");
  EXPECT_EQ(home.log.lines, std::vector<Text>{Logged(u"The following error occurred in OnConnection: " + description)});
  // Disconnecting after the failure deletes nothing and reports nothing.
  connect.OnDisconnection(1);
  EXPECT_EQ(home.toolkit.messages().size(), 1u);
  EXPECT_EQ(home.log.lines.size(), 1u);
}

TEST(Connect, DisconnectionClosesAnOpenDialogAndRemovesEntries) {
  testing_support::TestHome home;
  auto vbe = HostBuilder().project(u"Project1").module(u"Module1", Lines({u"Sub Go()", u"End Sub"}))
                 .activePane(u"Module1", {1, 1, 1, 1}).build();
  const std::vector<Text> ideOwn = vbe->Captions(kBar);
  comment::Connect connect;
  connect.OnConnection(vbe, addin::ext_cm_AfterStartup);
  bool disconnected = false;
  home.toolkit.Once(u"frmPickFunction", [&](ui::Form& form) {
    // The IDE unloads the add-in while its navigator is open.
    connect.OnDisconnection(0);
    disconnected = !form.loaded();
  });
  vbe->Click(kBar, kGoto);
  EXPECT_TRUE(disconnected);
  EXPECT_EQ(vbe->Captions(kBar), ideOwn);
}

}  // namespace
}  // namespace comment_test
