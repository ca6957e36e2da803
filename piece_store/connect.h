// The piece store's connection: loads the two name lists, puts its group of entries at the end
// of the code window's context menu ("Code S&torage Admin", "S&tore Code" and the
// "&Retrieve Code" popup with "&Retrieve Code Segment" and up to ten piece entries), inserts
// pieces and asks for the values of their placeholder tags.
#pragma once

#include <array>
#include <memory>

#include "framework/connect.h"
#include "piece_store/piece_storage.h"

namespace pellmoss {

class frmAddCode;
class frmAdmin;
class frmRetrieveCode;
class frmReplace;

class Connect : public addin::ConnectBase {
 public:
  Connect();
  ~Connect() override;

  // The dialogs ignore failures step by step with the same helper.
  using addin::ConnectBase::Attempt;

  // Sets FormDisplayed to False and hides the store dialog.
  void Hide();
  // Opens the store dialog (created on first use) modally.
  void Show();
  // Appends the add-in's group to the "Code Window" bar and returns the "S&tore Code" entry
  // (captioned sCaption), or Nothing when the bar is missing or anything fails.
  host::Ref<host::CommandBarControl> AddToAddInCommandBar(TextView sCaption);
  host::CommandBarEventsMember Item5MenuHandler;
  host::CommandBarEventsMember Item6MenuHandler;
  host::CommandBarEventsMember Item7MenuHandler;
  host::CommandBarEventsMember AdminMenuHandler;
  host::CommandBarEventsMember Item8MenuHandler;
  host::CommandBarEventsMember Item9MenuHandler;
  host::CommandBarEventsMember Item10MenuHandler;
  host::CommandBarEventsMember RetrieveMenuHandler;
  host::CommandBarEventsMember Item1MenuHandler;
  host::CommandBarEventsMember Item2MenuHandler;
  host::CommandBarEventsMember Item3MenuHandler;
  host::CommandBarEventsMember Item4MenuHandler;
  // Replaces the piece entries of the popup with one per name of colMenuItems; never raises.
  void RebuildRetrieveMenu();
  // Appends a piece entry and binds it to the first free piece handler.
  void AddRetrieveMenuItem(TextView name);
  // Inserts the piece `name` above the line where the selection of the active code pane starts,
  // after asking for its tags. Insertion failures are reported here; a failure before the
  // insertion (reading the selection or the piece) raises to the caller.
  void InsertCodePiece(TextView name);
  // Asks for each tag of `text` once and replaces every occurrence of it with the answer.
  void ReplaceCodeTags(Text& text);

  // Every stored piece, and the pieces offered in the menu; shared with the dialogs.
  NameList colCodeNames;
  NameList colMenuItems;

 protected:
  void Connection(int connectMode) override;
  void Disconnection() override;

 private:
  void MenuHandler_Click() { Show(); }
  void AdminMenuHandler_Click();
  void RetrieveMenuHandler_Click();
  // The click of any of the ten piece entries: the entry's caption names the piece.
  void PieceEntry_Click(const host::Ref<host::CommandBarControl>& control);
  std::array<host::CommandBarEventsMember*, kMaxMenuItems> PieceHandlers();

  host::Ref<host::CommandBarControl> mnuStore_;
  host::Ref<host::CommandBarControl> mnuAdmin_;
  host::Ref<host::CommandBarControl> mnuRetrievePopup_;
  host::Ref<host::CommandBarControl> mnuRetrieve_;

  std::shared_ptr<frmAddCode> mfrmAddCode_;  // shared with its display: the IDE may unload the add-in meanwhile
  std::unique_ptr<frmAdmin> mfrmAdmin_;
  std::unique_ptr<frmRetrieveCode> mfrmRetrieveCode_;
  std::unique_ptr<frmReplace> mfrmReplace_;
};

}  // namespace pellmoss
