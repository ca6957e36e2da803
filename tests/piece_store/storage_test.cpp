// Storing pieces through the store dialog and the admin dialog, and the stored layout.
#include "pellmoss_fixture.h"

namespace pellmoss_test {
namespace {

constexpr const char16_t* kNotUnique =
    u"The entered code segment name has already been used.  Please use a unique name for each code segment.";

using StorageTest = PellmossTest;

TEST_F(StorageTest, NameIsTrimmedAndTheSameNameInAnotherCaseIsRefused) {
  Connect();
  Store(u"  Alpha ", u"Debug.Print 1");
  EXPECT_EQ(Setting(u"Code", u"CodeName"), u"Alpha||");
  EXPECT_EQ(Setting(u"Code", u"Alpha"), u"Debug.Print 1");
  EXPECT_TRUE(home.toolkit.messages().empty());

  bool stayedOpen = false;
  Text focused;
  home.toolkit.Once(u"frmAddCode", [&](ui::Form& f) {
    scripted::Type(f, u"txtSegName", u"alpha");
    scripted::Type(f, u"txtCode", u"Debug.Print 2");
    f.Find<ui::TextBox>(u"txtCode")->SetFocus();
    scripted::Click(f, u"cmdAddSegment");
    stayedOpen = f.visible();
    focused = f.ActiveControl() ? f.ActiveControl()->name() : Text();
  });
  vbe->Click(kBar, kStoreEntry);

  EXPECT_EQ(home.toolkit.messages(), std::vector{Info(kNotUnique, u"Code Segment Name not Unique")});
  EXPECT_TRUE(stayedOpen);
  EXPECT_EQ(focused, u"txtSegName");
  EXPECT_EQ(Setting(u"Code", u"CodeName"), u"Alpha||");
  EXPECT_EQ(Setting(u"Code", u"Alpha"), u"Debug.Print 1");
  EXPECT_EQ(CodeNames(), std::vector<Text>{u"Alpha"});
}

TEST_F(StorageTest, RefusedNamesWriteNothingAndSayWhy) {
  const char16_t* kBars = u"A code segment name cannot contain \"||\" nor begin or end with \"|\".";
  struct Case {
    const char16_t* name;
    scripted::MessageBox message;
  };
  const Case cases[] = {
      {u"   ", Info(u"You must provide a name for the code segment before continuing.", u"No Segment Name.")},
      {u"", Info(u"You must provide a name for the code segment before continuing.", u"No Segment Name.")},
      {u"Open||Close", Info(kBars, u"Invalid Segment Name")},
      {u" ||", Info(kBars, u"Invalid Segment Name")},
      // Stored as "Ping|||" it would read back as "Ping" and "|".
      {u"Ping|", Info(kBars, u"Invalid Segment Name")},
      {u"Tax|", Info(kBars, u"Invalid Segment Name")},
      {u"  Ping|  ", Info(kBars, u"Invalid Segment Name")},
      {u"|Ping", Info(kBars, u"Invalid Segment Name")},
      {u"CodeName", Info(u"A code segment cannot be named CodeName.", u"Invalid Segment Name")},
      {u" codename ", Info(u"A code segment cannot be named CodeName.", u"Invalid Segment Name")},
  };
  Seed({{u"Alpha", u"A"}});
  Connect();
  for (const Case& c : cases) {
    SCOPED_TRACE(vb::ToUtf8(c.name));
    home.toolkit.ClearMessages();
    Text focused;
    home.toolkit.Once(u"frmAddCode", [&](ui::Form& f) {
      scripted::Type(f, u"txtSegName", c.name);
      f.Find<ui::TextBox>(u"txtCode")->SetFocus();
      scripted::Click(f, u"cmdAddSegment");
      focused = f.ActiveControl() ? f.ActiveControl()->name() : Text();
    });
    vbe->Click(kBar, kStoreEntry);
    EXPECT_EQ(home.toolkit.messages(), std::vector{c.message});
    EXPECT_EQ(focused, u"txtSegName");
    EXPECT_EQ(Setting(u"Code", u"CodeName"), u"Alpha||");
    EXPECT_EQ(CodeNames(), std::vector<Text>{u"Alpha"});
  }
  EXPECT_EQ(store().All(u"Pellmoss").size(), 3u);  // Alpha, CodeName, MenuItems
}

TEST_F(StorageTest, StoreDialogTakesTheWholeSelectedLinesAndKeepsTheTextExactly) {
  const Text code = memhost::Lines({u"Option Explicit", u"", u"Sub Main()", u"  Dim i As Long  ", u"End Sub"});
  Connect(code, {3, 5, 4, 3});
  Text shown;
  home.toolkit.Once(u"frmAddCode", [&](ui::Form& f) {
    shown = f.Find<ui::TextBox>(u"txtCode")->text();
    scripted::Type(f, u"txtSegName", u"Main");
    scripted::Click(f, u"cmdAddSegment");
  });
  vbe->Click(kBar, kStoreEntry);
  EXPECT_EQ(shown, u"Sub Main()\r\n  Dim i As Long  ");
  EXPECT_EQ(Setting(u"Code", u"Main"), u"Sub Main()\r\n  Dim i As Long  ");
}

TEST_F(StorageTest, StoreDialogWithoutACodePaneStartsWithAnEmptyCodeBox) {
  vbe = memhost::HostBuilder().project(u"Project1").module(u"Module1", DefaultCode()).build();
  ConnectTo();
  Text shown = u"<not shown>";
  home.toolkit.Once(u"frmAddCode", [&](ui::Form& f) {
    shown = f.Find<ui::TextBox>(u"txtCode")->text();
    scripted::Type(f, u"txtSegName", u"Empty");
    scripted::Click(f, u"cmdAddSegment");
  });
  vbe->Click(kBar, kStoreEntry);
  EXPECT_EQ(shown, u"");
  EXPECT_EQ(Setting(u"Code", u"Empty"), u"");
  EXPECT_EQ(Setting(u"Code", u"CodeName"), u"Empty||");
  EXPECT_TRUE(home.toolkit.messages().empty());
}

TEST_F(StorageTest, EmptyPieceFromTheAdminDialogIsStoredAsTheEmptyString) {
  Connect();
  Text shown = u"<not shown>";
  Admin([&](ui::Form& admin) {
    home.toolkit.Once(u"frmAddCode", [&](ui::Form& f) {
      shown = f.Find<ui::TextBox>(u"txtCode")->text();
      scripted::Type(f, u"txtSegName", u"Nothing");
      scripted::Click(f, u"cmdAddSegment");
    });
    scripted::Click(admin, u"cmdAdd");
    auto* list = admin.Find<ui::ListBox>(u"lstCodeItems");
    ASSERT_EQ(list->listCount(), 1);
    EXPECT_EQ(list->List(0), u"Nothing");
  });
  EXPECT_EQ(shown, u"");
  const std::vector<settings::StoredValue> all = store().All(u"Pellmoss");
  const auto piece = std::find_if(all.begin(), all.end(), [](const auto& v) { return v.key == u"Nothing"; });
  ASSERT_NE(piece, all.end());
  EXPECT_EQ(piece->section, u"Code");
  EXPECT_EQ(piece->value, u"");
  EXPECT_EQ(Setting(u"Code", u"CodeName"), u"Nothing||");
}

TEST_F(StorageTest, StoredListValuesLoadAsNames) {
  // A fresh store has neither key: both lists are empty.
  Connect();
  EXPECT_EQ(Setting(u"Code", u"CodeName"), u"<absent>");
  EXPECT_EQ(Setting(u"Options", u"MenuItems"), u"<absent>");
  EXPECT_EQ(CodeNames(), std::vector<Text>{});
  EXPECT_EQ(PieceEntries(), std::vector<Text>{});

  struct Case {
    Text value;
    std::vector<Text> names;
  };
  const Case cases[] = {
      {u"Alpha||Beta||", {u"Alpha", u"Beta"}},
      {u"", {}},
      // A remainder after the last separator is kept as one more name.
      {u"Alpha||Beta", {u"Alpha", u"Beta"}},
      {u"Alpha||Beta||Gamma Delta", {u"Alpha", u"Beta", u"Gamma Delta"}},
      // ... less a last "|", a separator cut short: "Beta|" would be written back as "Beta|||".
      {u"Alpha||Beta|", {u"Alpha", u"Beta"}},
      {u"Alpha|||", {u"Alpha"}},
      {u"|a|b|", {u"|a|b"}},
      {u"Alpha||   ", {u"Alpha"}},
      {u"Solo", {u"Solo"}},
      // The list cannot hold a name twice; the first spelling stays.
      {u"Alpha||ALPHA||Beta||", {u"Alpha", u"Beta"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(vb::ToUtf8(c.value));
    Disconnect();
    store().SaveSetting(u"Pellmoss", u"Code", u"CodeName", c.value);
    store().SaveSetting(u"Pellmoss", u"Options", u"MenuItems", c.value);
    ConnectTo();
    EXPECT_EQ(CodeNames(), c.names);
    EXPECT_EQ(MenuItems(), c.names);
    EXPECT_EQ(PieceEntries(), c.names);
    EXPECT_EQ(vbe->ClickSinkCount(), 3 + static_cast<int>(c.names.size()));
  }
  EXPECT_TRUE(home.toolkit.messages().empty());
}

TEST_F(StorageTest, DeletedPieceKeepsItsKeyEmptyUntilStoredAgain) {
  Seed({{u"Alpha", u"A1"}, {u"Beta", u"B1"}}, {u"Beta"});
  Connect();
  Admin([&](ui::Form& admin) {
    scripted::Choose(admin, u"lstCodeItems", u"Beta");
    scripted::Click(admin, u"cmdDelete");
    auto* list = admin.Find<ui::ListBox>(u"lstCodeItems");
    ASSERT_EQ(list->listCount(), 1);
    EXPECT_EQ(admin.Find<ui::TextBox>(u"txtCode")->text(), u"A1");
  });
  EXPECT_EQ(Setting(u"Code", u"Beta"), u"");
  EXPECT_EQ(Setting(u"Code", u"CodeName"), u"Alpha||");
  EXPECT_EQ(Setting(u"Options", u"MenuItems"), u"");
  EXPECT_EQ(PieceEntries(), std::vector<Text>{});

  Store(u"beta", u"B2");
  EXPECT_EQ(Setting(u"Code", u"Beta"), u"B2");
  EXPECT_EQ(Setting(u"Code", u"CodeName"), u"Alpha||beta||");
  EXPECT_TRUE(home.toolkit.messages().empty());
}

TEST_F(StorageTest, AdminShowsEditsAndDeletesToTheLastPiece) {
  Seed({{u"Zulu", u"Z"}, {u"alpha", u"a"}, {u"Mike", u"M"}}, {u"Mike"});
  Connect();
  Admin([&](ui::Form& admin) {
    auto* list = admin.Find<ui::ListBox>(u"lstCodeItems");
    auto* code = admin.Find<ui::TextBox>(u"txtCode");
    auto* menu = admin.Find<ui::CheckBox>(u"chkMenu");
    ASSERT_EQ(list->listCount(), 3);
    EXPECT_EQ((std::vector<Text>{list->List(0), list->List(1), list->List(2)}),
              (std::vector<Text>{u"alpha", u"Mike", u"Zulu"}));
    EXPECT_EQ(list->listIndex(), 0);
    EXPECT_EQ(code->text(), u"a");
    EXPECT_EQ(menu->value(), 0);
    EXPECT_EQ(admin.ActiveControl(), code);

    scripted::Choose(admin, u"lstCodeItems", u"Mike");
    EXPECT_EQ(code->text(), u"M");
    EXPECT_EQ(menu->value(), 1);
    scripted::Choose(admin, u"lstCodeItems", u"Zulu");
    EXPECT_EQ(code->text(), u"Z");
    EXPECT_EQ(menu->value(), 0);

    scripted::Type(admin, u"txtCode", u"Z2\r\nZ3");
    scripted::Click(admin, u"cmdEdit");
    EXPECT_EQ(Setting(u"Code", u"Zulu"), u"Z2\r\nZ3");

    for (int i = 0; i < 3; ++i) scripted::Click(admin, u"cmdDelete");
    EXPECT_EQ(list->listCount(), 0);
    EXPECT_EQ(code->text(), u"");
    EXPECT_EQ(menu->value(), 0);
    scripted::Click(admin, u"cmdDelete");  // nothing selected: nothing happens
    scripted::Click(admin, u"cmdClose");
    EXPECT_FALSE(admin.loaded());
  });
  EXPECT_EQ(Setting(u"Code", u"CodeName"), u"");
  EXPECT_EQ(Setting(u"Options", u"MenuItems"), u"");
  EXPECT_EQ(Setting(u"Code", u"Zulu"), u"");
  EXPECT_EQ(PieceEntries(), std::vector<Text>{});
  EXPECT_TRUE(home.toolkit.messages().empty());
}

TEST_F(StorageTest, EverythingIsStillThereAfterTheStoreIsReopened) {
  Connect();
  Store(u"Alpha", u"If <@cond@> Then", true);
  Store(u"Beta", u"Beta line 1\r\nBeta line 2");
  Store(u"Gamma", u"Gamma", true);
  Disconnect();

  OpenStore();
  Connect();
  EXPECT_EQ(CodeNames(), (std::vector<Text>{u"Alpha", u"Beta", u"Gamma"}));
  EXPECT_EQ(MenuItems(), (std::vector<Text>{u"Alpha", u"Gamma"}));
  EXPECT_EQ(PieceEntries(), (std::vector<Text>{u"Alpha", u"Gamma"}));
  EXPECT_EQ(Setting(u"Code", u"Beta"), u"Beta line 1\r\nBeta line 2");

  home.toolkit.Once(u"frmRetrieveCode", [](ui::Form& f) {
    scripted::Choose(f, u"cboCodeItems", u"Beta");
    scripted::Click(f, u"cmdOk");
  });
  vbe->Click(kPopup, kRetrieveEntry);
  EXPECT_EQ(vbe->Code(u"Module1"),
            memhost::Lines({u"Option Explicit", u"", u"Beta line 1", u"Beta line 2", u"Sub Main()", u"End Sub"}));
}


// The fixture's store, refusing writes from a given one on, as a registry the user may not write.
class RefusingStore : public vb::SettingsStore {
 public:
  RefusingStore(vb::SettingsStore& store, int refuseFrom) : store_(store), refuseFrom_(refuseFrom) {}
  Text GetSetting(TextView app, TextView section, TextView key, TextView defaultValue) override {
    return store_.GetSetting(app, section, key, defaultValue);
  }
  void SaveSetting(TextView app, TextView section, TextView key, TextView value) override {
    if (++writes_ >= refuseFrom_) vb::Raise(vb::err::kPathFileAccess, u"Cannot save the setting " + Text(key));
    store_.SaveSetting(app, section, key, value);
  }

 private:
  vb::SettingsStore& store_;
  int refuseFrom_;
  int writes_ = 0;
};

// A settings write that fails ends the command with the failure report, whichever write it is;
// the lists, the menu and the dialogs show the pieces as they were before the command.
TEST_F(StorageTest, AFailingSettingsWriteEndsTheCommandWithTheFailureReport) {
  struct Case {
    const char* what;
    std::vector<Text> keys;  // the command's settings writes when none fails, in order
    std::function<void()> command;
  };
  const std::vector<Case> cases = {
      {"store with the menu flag", {u"Delta", u"CodeName", u"MenuItems"},
       [this] {
         home.toolkit.Once(u"frmAddCode", [](ui::Form& f) {
           scripted::Type(f, u"txtSegName", u"Delta");
           scripted::SetCheck(f, u"chkAddToMenu", 1);
           scripted::Click(f, u"cmdAddSegment");
           // What was typed is still there to store again.
           EXPECT_TRUE(f.visible());
           EXPECT_EQ(f.Find<ui::TextBox>(u"txtSegName")->text(), u"Delta");
           scripted::Click(f, u"cmdCancel");
         });
         vbe->Click(kBar, kStoreEntry);
       }},
      {"edit", {u"Alpha"},
       [this] {
         Admin([](ui::Form& admin) {
           scripted::Choose(admin, u"lstCodeItems", u"Alpha");
           scripted::Type(admin, u"txtCode", u"A2");
           scripted::Click(admin, u"cmdEdit");
           scripted::Click(admin, u"cmdClose");
         });
       }},
      {"delete", {u"Beta", u"CodeName", u"MenuItems"},
       [this] {
         Admin([](ui::Form& admin) {
           scripted::Choose(admin, u"lstCodeItems", u"Beta");
           scripted::Click(admin, u"cmdDelete");
           EXPECT_EQ(admin.Find<ui::ListBox>(u"lstCodeItems")->listCount(), 2);
           scripted::Click(admin, u"cmdClose");
         });
       }},
      {"menu flag", {u"MenuItems"},
       [this] {
         Admin([](ui::Form& admin) {
           scripted::Choose(admin, u"lstCodeItems", u"Alpha");
           admin.Find<ui::CheckBox>(u"chkMenu")->Click();
           EXPECT_EQ(admin.Find<ui::CheckBox>(u"chkMenu")->value(), 0);
           scripted::Click(admin, u"cmdClose");
         });
       }},
  };
  for (const Case& c : cases) {
    for (int refuseFrom = 1; refuseFrom <= static_cast<int>(c.keys.size()); ++refuseFrom) {
      SCOPED_TRACE(std::string(c.what) + ", refused from write " + std::to_string(refuseFrom));
      Seed({{u"Alpha", u"A"}, {u"Beta", u"B"}}, {u"Beta"});
      Connect();
      home.toolkit.ClearMessages();
      {
        RefusingStore refusing(store(), refuseFrom);
        vb::RuntimeScope scope(vb::Runtime{&home.toolkit, &refusing, &home.clock, &home.log, u"/", u":"});
        c.command();
      }
      EXPECT_EQ(home.toolkit.messages(),
                std::vector{Info(u"The following error occurred : Cannot save the setting " + c.keys[refuseFrom - 1],
                                 u"Error Occurred")});
      EXPECT_EQ(CodeNames(), (std::vector<Text>{u"Alpha", u"Beta"}));
      EXPECT_EQ(MenuItems(), std::vector<Text>{u"Beta"});
      EXPECT_EQ(PieceEntries(), std::vector<Text>{u"Beta"});
      Disconnect();
    }
  }
}

}  // namespace
}  // namespace pellmoss_test
