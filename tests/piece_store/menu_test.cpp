// The add-in's entries in the code window's context menu and the piece entries of its popup.
#include "pellmoss_fixture.h"

namespace pellmoss_test {
namespace {

using MenuTest = PellmossTest;

std::vector<Piece> TenPieces() {
  std::vector<Piece> pieces;
  for (int i = 1; i <= 10; ++i) pieces.push_back({u"Piece" + vb::ToText(i), u"' piece " + vb::ToText(i)});
  return pieces;
}

std::vector<Text> NamesOf(const std::vector<Piece>& pieces) {
  std::vector<Text> names;
  for (const Piece& p : pieces) names.push_back(p.name);
  return names;
}

TEST_F(MenuTest, ConnectionAppendsTheGroupAndDisconnectionRemovesAllOfIt) {
  Seed({{u"Alpha", u"A"}, {u"Beta", u"B"}, {u"Gamma", u"G"}}, {u"Gamma", u"Alpha"});
  Connect();
  std::vector<Text> expected = barBefore;
  for (const char16_t* c : {kAdminEntry, kStoreEntry, u"&Retrieve Code"}) expected.push_back(c);
  EXPECT_EQ(vbe->Captions(kBar), expected);
  EXPECT_EQ(vbe->Captions(kPopup), (std::vector<Text>{kRetrieveEntry, u"Gamma", u"Alpha"}));
  EXPECT_EQ(vbe->FindControl(kPopup, kRetrieveEntry)->Tag(), u"NODELETE");
  EXPECT_EQ(vbe->FindControl(kBar, u"&Retrieve Code")->Type(), host::msoControlPopup);
  EXPECT_EQ(vbe->FindControl(kPopup, u"Gamma")->Tag(), u"");
  EXPECT_EQ(vbe->ClickSinkCount(), 5);

  Disconnect();
  EXPECT_EQ(vbe->Captions(kBar), barBefore);
  EXPECT_EQ(vbe->ClickSinkCount(), 0);
  EXPECT_TRUE(home.toolkit.messages().empty());
}

TEST_F(MenuTest, DisconnectionWhileTheStoreDialogIsShownClosesIt) {
  Connect();
  bool closed = false;
  home.toolkit.Once(u"frmAddCode", [&](ui::Form& f) {
    connect->OnDisconnection(0);  // the IDE unloads the add-in from behind its dialog
    closed = !f.loaded();
  });
  vbe->Click(kBar, kStoreEntry);
  EXPECT_TRUE(closed);
  EXPECT_EQ(vbe->Captions(kBar), barBefore);
  EXPECT_TRUE(home.toolkit.messages().empty());
}

TEST_F(MenuTest, DisconnectionGoesOnPastAFailedDeleteAndEmptiesThePopupFirst) {
  // Deletes in order: store entry, admin entry, the popup's three controls, the popup.
  struct Case {
    int failingDelete;
    std::vector<Text> left;  // what stays at the end of the bar
  };
  const Case cases[] = {
      {1, {kStoreEntry}},
      {2, {kAdminEntry}},
      {4, {}},  // the popup takes the control it could not delete with it
      {6, {u"&Retrieve Code"}},  // the popup stays, emptied
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.failingDelete);
    Disconnect();
    Seed({{u"Alpha", u"A"}, {u"Beta", u"B"}}, {u"Alpha", u"Beta"});
    Connect();
    vbe->InjectFailure("CommandBarControl.Delete", c.failingDelete, 5, u"Invalid procedure call or argument");
    Disconnect();
    std::vector<Text> expected = barBefore;
    expected.insert(expected.end(), c.left.begin(), c.left.end());
    EXPECT_EQ(vbe->Captions(kBar), expected);
    if (c.failingDelete == 6) {
      EXPECT_EQ(vbe->Captions(kPopup), std::vector<Text>{});
    }
    EXPECT_EQ(vbe->ClickSinkCount(), 0);
    EXPECT_TRUE(home.toolkit.messages().empty());
  }
}

TEST_F(MenuTest, ExternalModeLoadsTheListsButCreatesNoEntry) {
  Seed({{u"Alpha", u"A"}}, {u"Alpha"});
  Connect(DefaultCode(), {3, 1, 3, 1}, addin::ext_cm_External);
  EXPECT_EQ(vbe->Captions(kBar), barBefore);
  EXPECT_EQ(CodeNames(), std::vector<Text>{u"Alpha"});
  EXPECT_EQ(MenuItems(), std::vector<Text>{u"Alpha"});
  EXPECT_EQ(vbe->ClickSinkCount(), 0);
  EXPECT_TRUE(home.toolkit.messages().empty());
}

TEST_F(MenuTest, MissingCodeWindowBarEndsTheConnectionWithTheError) {
  Seed({{u"Alpha", u"A"}}, {u"Alpha"});
  vbe = memhost::HostBuilder().project(u"Project1").module(u"Module1").withoutBar(kBar).build();
  ConnectTo();
  ASSERT_EQ(home.toolkit.messages().size(), 1u);
  EXPECT_FALSE(home.toolkit.messages()[0].prompt.empty());
  EXPECT_EQ(home.toolkit.messages()[0].title, u"");
  EXPECT_EQ(vbe->ClickSinkCount(), 0);
  Disconnect();
  EXPECT_EQ(home.toolkit.messages().size(), 1u);
}

TEST_F(MenuTest, PopupFollowsEveryChangeOfTheMenuList) {
  Seed({{u"Alpha", u"A"}, {u"Beta", u"B"}});
  Connect();
  EXPECT_EQ(PieceEntries(), std::vector<Text>{});

  Store(u"Gamma", u"G", true);
  EXPECT_EQ(PieceEntries(), std::vector<Text>{u"Gamma"});
  EXPECT_EQ(Setting(u"Options", u"MenuItems"), u"Gamma||");

  Admin([&](ui::Form& admin) {
    scripted::Choose(admin, u"lstCodeItems", u"Beta");
    scripted::Click(admin, u"chkMenu");
    EXPECT_EQ(PieceEntries(), (std::vector<Text>{u"Gamma", u"Beta"}));
    scripted::Choose(admin, u"lstCodeItems", u"Alpha");
    scripted::Click(admin, u"chkMenu");
    EXPECT_EQ(PieceEntries(), (std::vector<Text>{u"Gamma", u"Beta", u"Alpha"}));
    scripted::Choose(admin, u"lstCodeItems", u"Gamma");
    EXPECT_EQ(admin.Find<ui::CheckBox>(u"chkMenu")->value(), 1);
    scripted::Click(admin, u"chkMenu");
    EXPECT_EQ(PieceEntries(), (std::vector<Text>{u"Beta", u"Alpha"}));
    // Only showing a piece's flag changes nothing.
    scripted::Choose(admin, u"lstCodeItems", u"Beta");
    scripted::Choose(admin, u"lstCodeItems", u"Gamma");
    EXPECT_EQ(PieceEntries(), (std::vector<Text>{u"Beta", u"Alpha"}));
    scripted::Choose(admin, u"lstCodeItems", u"Beta");
    scripted::Click(admin, u"cmdDelete");
    EXPECT_EQ(PieceEntries(), std::vector<Text>{u"Alpha"});
  });
  EXPECT_EQ(Setting(u"Options", u"MenuItems"), u"Alpha||");
  EXPECT_EQ(Setting(u"Code", u"CodeName"), u"Alpha||Gamma||");
  EXPECT_EQ(MenuItems(), std::vector<Text>{u"Alpha"});
  // Three fixed sinks and one per piece entry: the sinks of removed entries are gone.
  EXPECT_EQ(vbe->ClickSinkCount(), 4);
}

TEST_F(MenuTest, TenMenuNamesCloseTheMenuToUnlistedPieces) {
  std::vector<Piece> pieces = TenPieces();
  pieces.push_back({u"Extra", u"' extra"});
  Seed(pieces, NamesOf(TenPieces()));
  Connect();
  EXPECT_EQ(PieceEntries(), NamesOf(TenPieces()));
  EXPECT_EQ(vbe->ClickSinkCount(), 13);

  bool storeBoxEnabled = true;
  home.toolkit.Once(u"frmAddCode", [&](ui::Form& f) {
    storeBoxEnabled = f.Find<ui::CheckBox>(u"chkAddToMenu")->enabled();
    scripted::Type(f, u"txtSegName", u"Eleventh");
    scripted::Click(f, u"chkAddToMenu");  // disabled: the click does nothing
    scripted::Click(f, u"cmdAddSegment");
  });
  vbe->Click(kBar, kStoreEntry);
  EXPECT_FALSE(storeBoxEnabled);
  EXPECT_EQ(MenuItems().size(), 10u);
  EXPECT_EQ(CodeNames().size(), 12u);

  Admin([&](ui::Form& admin) {
    auto* menu = admin.Find<ui::CheckBox>(u"chkMenu");
    scripted::Choose(admin, u"lstCodeItems", u"Extra");
    EXPECT_EQ(menu->value(), 0);
    EXPECT_FALSE(menu->enabled());
    scripted::Choose(admin, u"lstCodeItems", u"Piece7");
    EXPECT_EQ(menu->value(), 1);
    EXPECT_TRUE(menu->enabled());
    scripted::Click(admin, u"chkMenu");  // taken off
    scripted::Choose(admin, u"lstCodeItems", u"Extra");
    EXPECT_TRUE(menu->enabled());
    scripted::Click(admin, u"chkMenu");
  });
  std::vector<Text> expected = NamesOf(TenPieces());
  expected.erase(expected.begin() + 6);
  expected.push_back(u"Extra");
  EXPECT_EQ(PieceEntries(), expected);
  EXPECT_EQ(MenuItems(), expected);

  // The store dialog opens with the box enabled again once the menu has room.
  Disconnect();
  Seed(TenPieces(), {u"Piece1"});
  ConnectTo();
  storeBoxEnabled = false;
  home.toolkit.Once(u"frmAddCode", [&](ui::Form& f) { storeBoxEnabled = f.Find<ui::CheckBox>(u"chkAddToMenu")->enabled(); });
  vbe->Click(kBar, kStoreEntry);
  EXPECT_TRUE(storeBoxEnabled);
}

TEST_F(MenuTest, EachPieceEntryInsertsItsOwnPiece) {
  std::vector<Piece> pieces = TenPieces();
  pieces[3].name = u"Save && &Close";
  Seed(pieces, NamesOf(pieces));
  Connect(memhost::Lines({u"Sub Main()", u"End Sub"}), {2, 1, 2, 1});
  ASSERT_EQ(PieceEntries(), NamesOf(pieces));
  for (const Piece& p : pieces) {
    SCOPED_TRACE(vb::ToUtf8(p.name));
    const Text before = vbe->Code(u"Module1");
    vbe->Click(kPopup, p.name);
    EXPECT_EQ(vbe->Code(u"Module1"), memhost::Lines({u"Sub Main()", p.text, u"End Sub"}));
    vbe->SetCode(u"Module1", before);
  }
  EXPECT_TRUE(home.toolkit.messages().empty());
}

TEST_F(MenuTest, RetrievalDialogListsThePiecesSortedAndInsertsTheChosenOne) {
  Seed({{u"Zulu", u"' z"}, {u"alpha", u"' a"}, {u"Mike", u"' m"}});
  Connect();
  std::vector<Text> listed;
  int selected = -2;
  home.toolkit.Once(u"frmRetrieveCode", [&](ui::Form& f) {
    auto* combo = f.Find<ui::ComboBox>(u"cboCodeItems");
    for (int i = 0; i < combo->listCount(); ++i) listed.push_back(combo->List(i));
    selected = combo->listIndex();
    scripted::Choose(f, u"cboCodeItems", u"Mike");
    scripted::Click(f, u"cmdOk");
  });
  vbe->Click(kPopup, kRetrieveEntry);
  EXPECT_EQ(listed, (std::vector<Text>{u"alpha", u"Mike", u"Zulu"}));
  EXPECT_EQ(selected, 0);
  EXPECT_EQ(vbe->Code(u"Module1"), memhost::Lines({u"Option Explicit", u"", u"' m", u"Sub Main()", u"End Sub"}));

  // With no piece stored, OK does nothing and Cancel closes the dialog.
  Disconnect();
  Seed({});
  ConnectTo();
  bool openAfterOk = false;
  home.toolkit.Once(u"frmRetrieveCode", [&](ui::Form& f) {
    scripted::Click(f, u"cmdOk");
    openAfterOk = f.visible();
    scripted::Click(f, u"cmdCancel");
  });
  vbe->Click(kPopup, kRetrieveEntry);
  EXPECT_TRUE(openAfterOk);
  EXPECT_TRUE(home.toolkit.messages().empty());
}

}  // namespace
}  // namespace pellmoss_test
