// A connected piece store over an in-memory IDE, with the settings in a SQLite file in a
// temporary folder and the dialogs answered by the scripted toolkit.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "framework/runtime.h"
#include "hosts/memory/memory_host.h"
#include "piece_store/connect.h"
#include "settings/sqlite_store.h"
#include "support/temp_folder.h"
#include "support/test_home.h"
#include "toolkits/scripted/scripted_toolkit.h"

namespace pellmoss_test {

using vb::Text;
using vb::TextView;

inline constexpr const char16_t* kBar = u"Code Window";
inline constexpr const char16_t* kPopup = u"Code Window/&Retrieve Code";
inline constexpr const char16_t* kStoreEntry = u"S&tore Code";
inline constexpr const char16_t* kAdminEntry = u"Code S&torage Admin";
inline constexpr const char16_t* kRetrieveEntry = u"&Retrieve Code Segment";

struct Piece {
  Text name;
  Text text;
};

class PellmossTest : public ::testing::Test {
 protected:
  void SetUp() override { OpenStore(); }

  void TearDown() override {
    Disconnect();
    scope_.reset();
    store_.reset();
  }

  // Opens (again) the settings file and installs it as the runtime's store.
  void OpenStore() {
    scope_.reset();
    store_.reset();
    store_ = std::make_unique<settings::SqliteSettingsStore>(folder_ / "settings.db");
    scope_ = std::make_unique<vb::RuntimeScope>(
        vb::Runtime{&home.toolkit, store_.get(), &home.clock, &home.log, u"/", u":"});
  }

  // Stored values as an earlier session would have left them.
  void Seed(const std::vector<Piece>& pieces, const std::vector<Text>& menu = {}) {
    Text names, items;
    for (const Piece& p : pieces) {
      store_->SaveSetting(u"Pellmoss", u"Code", p.name, p.text);
      names += p.name + u"||";
    }
    for (const Text& m : menu) items += m + u"||";
    store_->SaveSetting(u"Pellmoss", u"Code", u"CodeName", names);
    store_->SaveSetting(u"Pellmoss", u"Options", u"MenuItems", items);
  }

  // A project with Module1 holding `code`, its pane active with `selection`, and the add-in
  // connected to it.
  void Connect(TextView code = DefaultCode(), host::Selection selection = {3, 1, 3, 1},
               int mode = addin::ext_cm_AfterStartup) {
    vbe = memhost::HostBuilder().project(u"Project1").module(u"Module1", code).activePane(u"Module1", selection).build();
    barBefore = vbe->Captions(kBar);
    ConnectTo(mode);
  }

  void ConnectTo(int mode = addin::ext_cm_AfterStartup) {
    connect = std::make_unique<pellmoss::Connect>();
    connect->OnConnection(vbe, mode);
  }

  void Disconnect() {
    if (!connect) return;
    connect->OnDisconnection(1);
    connect.reset();
  }

  static Text DefaultCode() { return memhost::Lines({u"Option Explicit", u"", u"Sub Main()", u"End Sub"}); }

  Text Setting(TextView section, TextView key, TextView fallback = u"<absent>") {
    return store_->GetSetting(u"Pellmoss", section, key, fallback);
  }

  // "S&tore Code": types the name and the text (when given), ticks the menu box when asked
  // and clicks "&Add Segment".
  void StoreThroughMenu(TextView name, const Text* text, bool onMenu = false) {
    Text n(name);
    std::optional<Text> t = text ? std::optional<Text>(*text) : std::nullopt;
    home.toolkit.Once(u"frmAddCode", [n, t, onMenu](ui::Form& f) {
      scripted::Type(f, u"txtSegName", n);
      if (t) scripted::Type(f, u"txtCode", *t);
      if (onMenu) scripted::SetCheck(f, u"chkAddToMenu", 1);
      scripted::Click(f, u"cmdAddSegment");
    });
    vbe->Click(kBar, kStoreEntry);
  }
  void Store(TextView name, const Text& text, bool onMenu = false) { StoreThroughMenu(name, &text, onMenu); }

  // Opens the admin dialog and hands it to `steps`.
  void Admin(std::function<void(ui::Form&)> steps) {
    home.toolkit.Once(u"frmAdmin", std::move(steps));
    vbe->Click(kBar, kAdminEntry);
  }

  // The piece entries of the popup, after "&Retrieve Code Segment".
  std::vector<Text> PieceEntries() {
    std::vector<Text> captions = vbe->Captions(kPopup);
    EXPECT_FALSE(captions.empty());
    EXPECT_EQ(captions.front(), kRetrieveEntry);
    if (!captions.empty()) captions.erase(captions.begin());
    return captions;
  }

  std::vector<Text> CodeNames() {
    std::vector<Text> names;
    for (const auto& e : connect->colCodeNames) names.push_back(e.item);
    return names;
  }
  std::vector<Text> MenuItems() {
    std::vector<Text> names;
    for (const auto& e : connect->colMenuItems) names.push_back(e.item);
    return names;
  }

  testing_support::TestHome home;
  std::shared_ptr<memhost::MemoryVBE> vbe;
  std::vector<Text> barBefore;
  std::unique_ptr<pellmoss::Connect> connect;

 private:
  testing_support::TempFolder folder_{"pellmoss"};
  std::unique_ptr<settings::SqliteSettingsStore> store_;
  std::unique_ptr<vb::RuntimeScope> scope_;

 protected:
  settings::SqliteSettingsStore& store() { return *store_; }
};

inline scripted::MessageBox Info(TextView prompt, TextView title) {
  return scripted::MessageBox{Text(prompt), ui::vbInformation, Text(title)};
}

}  // namespace pellmoss_test
