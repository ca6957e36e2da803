#include <gtest/gtest.h>

#include "framework/connect.h"
#include "hosts/memory/memory_host.h"
#include "property_generator/connect.h"
#include "support/test_home.h"

namespace {

using memhost::HostBuilder;
using vb::Text;

constexpr const char16_t* kEntry = u"Add New &Property";

std::vector<Text> Without(std::vector<Text> captions, const std::vector<Text>& before) {
  captions.erase(captions.begin(), captions.begin() + static_cast<std::ptrdiff_t>(before.size()));
  return captions;
}

TEST(QuenbyConnection, EntriesAreAppendedToBothBarsAndRemovedAtDisconnection) {
  testing_support::TestHome home;
  auto vbe = HostBuilder().project(u"Project1").module(u"Module1").build();
  const auto addInsBefore = vbe->Captions(u"Add-Ins");
  const auto codeWindowBefore = vbe->Captions(u"Code Window");
  quenby::Connect connect;

  connect.OnConnection(vbe, addin::ext_cm_AfterStartup);
  EXPECT_EQ(Without(vbe->Captions(u"Add-Ins"), addInsBefore), std::vector<Text>{kEntry});
  EXPECT_EQ(Without(vbe->Captions(u"Code Window"), codeWindowBefore), std::vector<Text>{kEntry});
  EXPECT_EQ(vbe->ClickSinkCount(), 2);

  connect.OnDisconnection(1);
  EXPECT_EQ(vbe->Captions(u"Add-Ins"), addInsBefore);
  EXPECT_EQ(vbe->Captions(u"Code Window"), codeWindowBefore);
  EXPECT_EQ(vbe->ClickSinkCount(), 0);
  EXPECT_TRUE(home.toolkit.messages().empty());
}

TEST(QuenbyConnection, ConnectModeDecidesWhetherEntriesAreCreated) {
  struct Case {
    int mode;
    bool entries;
  };
  for (Case c : {Case{0, true}, Case{1, true}, Case{2, false}, Case{3, true}}) {
    SCOPED_TRACE(c.mode);
    testing_support::TestHome home;
    auto vbe = HostBuilder().project(u"Project1").build();
    const auto before = vbe->Captions(u"Add-Ins").size();
    quenby::Connect connect;
    connect.OnConnection(vbe, c.mode);
    EXPECT_EQ(vbe->Captions(u"Add-Ins").size(), before + (c.entries ? 1 : 0));
    EXPECT_EQ(connect.VBInstance, vbe);
    connect.OnDisconnection(0);
  }
}

TEST(QuenbyConnection, MissingAddInsBarShowsTheErrorAndKeepsTheAddInLoaded) {
  testing_support::TestHome home;
  auto vbe = HostBuilder().project(u"Project1").module(u"Module1").activePane(u"Module1").withoutBar(u"Add-Ins").build();
  const auto codeWindowBefore = vbe->Captions(u"Code Window");
  quenby::Connect connect;

  connect.OnConnection(vbe, addin::ext_cm_AfterStartup);

  ASSERT_EQ(home.toolkit.messages().size(), 1u);
  const scripted::MessageBox& box = home.toolkit.messages()[0];
  EXPECT_FALSE(box.prompt.empty());
  EXPECT_EQ(box.buttons, ui::vbOKOnly);
  EXPECT_EQ(box.title, u"");
  EXPECT_EQ(vbe->Captions(u"Code Window"), codeWindowBefore);  // the sequence ended before this entry
  EXPECT_EQ(connect.VBInstance, vbe);

  // Disconnecting after the failed connection raises nothing and reports nothing.
  connect.OnDisconnection(1);
  EXPECT_EQ(home.toolkit.messages().size(), 1u);
  EXPECT_EQ(vbe->Captions(u"Code Window"), codeWindowBefore);
}

TEST(QuenbyConnection, DisconnectionUnloadsAnOpenDialog) {
  testing_support::TestHome home;
  auto vbe = HostBuilder().project(u"Project1").module(u"Module1").activePane(u"Module1").build();
  quenby::Connect connect;
  connect.OnConnection(vbe, addin::ext_cm_AfterStartup);
  vbe->Click(u"Add-Ins", kEntry);
  ASSERT_NE(home.toolkit.OpenForm(u"frmAddIn"), nullptr);

  connect.OnDisconnection(0);

  EXPECT_EQ(home.toolkit.OpenForm(u"frmAddIn"), nullptr);
  EXPECT_EQ(connect.dialog(), nullptr);
}

TEST(Registrations, SixAddInsWithTheirDisplayNames) {
  std::vector<std::pair<Text, Text>> got;
  for (const addin::Registration& r : addin::Registrations()) got.emplace_back(r.progId, r.displayName);
  const std::vector<std::pair<Text, Text>> expected{
      {u"Ravlen.Connect", u"Ravlen Editor"},        {u"Comment.Connect", u"Annotar"},
      {u"Pellmoss.Connect", u"Pellmoss Librarian"}, {u"Tallowick.Connect", u"Tallowick Tally"},
      {u"Morrowgate.Connect", u"Morrowgate Builder"}, {u"Quenby.Connect", u"Quenby Tool"}};
  EXPECT_EQ(got, expected);
  ASSERT_NE(addin::FindRegistration(u"quenby.connect"), nullptr);
  EXPECT_EQ(Text(addin::FindRegistration(u"quenby.connect")->description),
            u"This Add-In simplies the process of adding a new property to a form, class, etc.");
  EXPECT_EQ(addin::FindRegistration(u"Nobody.Connect"), nullptr);
}

}  // namespace
