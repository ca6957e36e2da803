// The add-in's connection: its entry, its designer events and disconnection.
#include "ravlen_fixture.h"

namespace ravlen_test {
namespace {

constexpr const char16_t* kEntry = u"&Ravlen Editor Options";

TEST(RavlenConnect, EntryAndDesignerEventsInEveryConnectMode) {
  for (int mode : {0, 1, 2, 3}) {
    SCOPED_TRACE(mode);
    testing_support::TestHome home;
    auto vbe = HostBuilder().project(u"Project1").form(kForm).build();
    const auto before = vbe->Captions(u"Add-Ins");
    ravlen::Connect connect;
    connect.OnConnection(vbe, mode);
    auto after = vbe->Captions(u"Add-Ins");
    ASSERT_EQ(after.size(), before.size() + 1);
    EXPECT_EQ(after.back(), kEntry);
    EXPECT_EQ(vbe->ClickSinkCount(), 1);

    home.toolkit.Once(u"frmAddInOptions", [](ui::Form& form) { scripted::Click(form, u"cmdOk"); });
    vbe->Click(u"Add-Ins", kEntry);
    vbe->PlaceControl(kForm, u"Label");
    EXPECT_EQ(home.toolkit.shownForms(), (std::vector<vb::Text>{u"frmAddInOptions", u"frmLabel"}));

    connect.OnDisconnection(1);
    EXPECT_EQ(vbe->Captions(u"Add-Ins"), before);
    EXPECT_EQ(vbe->ClickSinkCount(), 0);
    // A disconnected add-in hears no designer events.
    vbe->PlaceControl(kForm, u"Label");
    EXPECT_EQ(home.toolkit.shownForms().size(), 2u);
    EXPECT_TRUE(home.toolkit.messages().empty());
  }
}

TEST(RavlenConnect, MissingAddInsBarReportsAndLeavesTheEventsUnbound) {
  testing_support::TestHome home;
  auto vbe = HostBuilder().project(u"Project1").form(kForm).withoutBar(u"Add-Ins").build();
  ravlen::Connect connect;
  connect.OnConnection(vbe, addin::ext_cm_AfterStartup);
  ASSERT_EQ(home.toolkit.messages().size(), 1u);
  EXPECT_EQ(home.toolkit.messages()[0].title, u"");
  EXPECT_FALSE(home.toolkit.messages()[0].prompt.empty());
  vbe->PlaceControl(kForm, u"Label");
  EXPECT_TRUE(home.toolkit.shownForms().empty());
  connect.OnDisconnection(1);  // nothing to delete: silent
  EXPECT_EQ(home.toolkit.messages().size(), 1u);
}

TEST(RavlenConnect, OnlyTheProjectActiveAtConnectionIsHeard) {
  testing_support::TestHome home;
  auto vbe = HostBuilder().project(u"Project1").form(kForm).project(u"Project2").form(u"Form2").build();
  ravlen::Connect connect;
  connect.OnConnection(vbe, addin::ext_cm_AfterStartup);
  vbe->SetActiveProject(u"Project2");
  vbe->PlaceControl(u"Project2.Form2", u"Label");
  EXPECT_TRUE(home.toolkit.shownForms().empty());
  vbe->PlaceControl(u"Project1.Form1", u"Label");
  EXPECT_EQ(home.toolkit.shownForms(), std::vector<vb::Text>{u"frmLabel"});
  connect.OnDisconnection(0);
}

TEST(RavlenConnect, DisconnectionUnloadsAnOpenOptionsDialog) {
  testing_support::TestHome home;
  auto vbe = HostBuilder().project(u"Project1").form(kForm).build();
  auto connect = std::make_unique<ravlen::Connect>();
  connect->OnConnection(vbe, addin::ext_cm_AfterStartup);
  ui::Form* seen = nullptr;
  home.toolkit.Once(u"frmAddInOptions", [&](ui::Form& form) {
    seen = &form;
    connect->OnDisconnection(0);  // the IDE shuts down while the dialog is open
    EXPECT_FALSE(form.loaded());
  });
  vbe->Click(u"Add-Ins", kEntry);
  EXPECT_NE(seen, nullptr);
}

}  // namespace
}  // namespace ravlen_test
