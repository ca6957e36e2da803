#include "piece_store/connect.h"

#include <vector>

#include "framework/runtime.h"
#include "piece_store/code_tags.h"
#include "piece_store/frm_add_code.h"
#include "piece_store/frm_admin.h"
#include "piece_store/frm_replace.h"
#include "piece_store/frm_retrieve_code.h"

namespace pellmoss {

using vb::Required;

namespace {

constexpr const char16_t* kBar = u"Code Window";
constexpr const char16_t* kNoDeleteTag = u"NODELETE";

// The controls of a bar or popup as they stand, so that deleting some does not shift the rest.
std::vector<host::Ref<host::CommandBarControl>> Snapshot(const host::Ref<host::CommandBarControls>& controls) {
  std::vector<host::Ref<host::CommandBarControl>> all;
  const long count = Required(controls)->Count();
  for (long i = 1; i <= count; ++i) all.push_back(controls->Item(i));
  return all;
}

void ReportInsertionFailure(const vb::Error& error) {
  if (error.number == vb::err::kReadOnlyModule) {
    vb::MsgBox(u"An error occurred trying to add code to the current module.  The most likely cause is the file is "
               u"read-only, probably due to Source Control.  Please check out the file or make the file writeable.",
               ui::vbInformation, u"Can't Edit File");
  } else {
    vb::MsgBox(error.description, ui::vbInformation, u"Error Occurred : " + vb::ToText(error.number));
  }
}

}  // namespace

Connect::Connect() = default;

Connect::~Connect() {
  for (host::CommandBarEventsMember* handler : PieceHandlers()) handler->Reset();
  MenuHandler.Reset();
  AdminMenuHandler.Reset();
  RetrieveMenuHandler.Reset();
}

std::array<host::CommandBarEventsMember*, kMaxMenuItems> Connect::PieceHandlers() {
  return {&Item1MenuHandler, &Item2MenuHandler, &Item3MenuHandler, &Item4MenuHandler, &Item5MenuHandler,
          &Item6MenuHandler, &Item7MenuHandler, &Item8MenuHandler, &Item9MenuHandler, &Item10MenuHandler};
}

void Connect::Connection(int connectMode) {
  colCodeNames = LoadCodeNames();
  colMenuItems = LoadMenuItems();
  if (connectMode == addin::ext_cm_External) return;
  mnuStore_ = AddToAddInCommandBar(u"S&tore Code");
  BindClick(MenuHandler, mnuStore_, [this] { MenuHandler_Click(); });
  RebuildRetrieveMenu();
}

host::Ref<host::CommandBarControl> Connect::AddToAddInCommandBar(TextView sCaption) {
  try {
    mnuAdmin_ = AddToCommandBar(kBar, u"Code S&torage Admin");
    if (!mnuAdmin_) return nullptr;
    BindClick(AdminMenuHandler, mnuAdmin_, [this] { AdminMenuHandler_Click(); });
    host::Ref<host::CommandBarControl> store = AddToCommandBar(kBar, sCaption);
    if (!store) return nullptr;
    // Kept here too, so that disconnection deletes it even when a later step fails.
    mnuStore_ = store;
    mnuRetrievePopup_ = AddToCommandBar(kBar, u"&Retrieve Code", 0, host::msoControlPopup);
    mnuRetrieve_ = Required(Required(mnuRetrievePopup_)->Controls())->Add(host::msoControlButton);
    mnuRetrieve_->SetCaption(u"&Retrieve Code Segment");
    mnuRetrieve_->SetTag(kNoDeleteTag);
    BindClick(RetrieveMenuHandler, mnuRetrieve_, [this] { RetrieveMenuHandler_Click(); });
    return store;
  } catch (...) {
    return nullptr;
  }
}

void Connect::Disconnection() {
  DeleteEntry(mnuStore_);
  DeleteEntry(mnuAdmin_);
  Attempt([this] {
    for (host::Ref<host::CommandBarControl>& control : Snapshot(Required(mnuRetrievePopup_)->Controls()))
      Attempt([&] { control->Delete(); });
  });
  DeleteEntry(mnuRetrievePopup_);
  mnuRetrieve_.reset();
  CloseDialog(mfrmAddCode_);
  FormDisplayed = false;
  // The sinks of entries that are gone.
  Unbind(MenuHandler);
  Unbind(AdminMenuHandler);
  Unbind(RetrieveMenuHandler);
  for (host::CommandBarEventsMember* handler : PieceHandlers()) Unbind(*handler);
}

void Connect::Show() {
  if (!PrepareDialog(mfrmAddCode_, this)) return;
  const std::shared_ptr<frmAddCode> form = mfrmAddCode_;  // kept until the display ends, whatever disconnection drops
  form->Admin = false;
  FormDisplayed = true;
  Attempt([&] { form->Show(ui::vbModal); });
}

void Connect::Hide() {
  FormDisplayed = false;
  Attempt([this] { Required(mfrmAddCode_)->Hide(); });
}

void Connect::AdminMenuHandler_Click() {
  if (PrepareDialog(mfrmAdmin_, this)) Attempt([this] { mfrmAdmin_->Show(ui::vbModal); });
}

void Connect::RetrieveMenuHandler_Click() {
  if (PrepareDialog(mfrmRetrieveCode_, this)) Attempt([this] { mfrmRetrieveCode_->Show(ui::vbModal); });
}

void Connect::PieceEntry_Click(const host::Ref<host::CommandBarControl>& control) {
  try {
    InsertCodePiece(Required(control)->Caption());
  } catch (...) {
    // Reading the selection or the piece failed: reported as the retrieval dialog reports it.
    const vb::Error error = addin::AsVbError(std::current_exception());
    Attempt([&] {
      vb::MsgBox(u"An error occurred trying to insert the selected code.  The error was : " + error.description,
                 ui::vbInformation, u"Error Inserting Code");
    });
  }
}

void Connect::RebuildRetrieveMenu() {
  Attempt([this] {
    for (host::Ref<host::CommandBarControl>& control : Snapshot(Required(mnuRetrievePopup_)->Controls()))
      Attempt([&] {
        if (control->Tag() != kNoDeleteTag) control->Delete();
      });
  });
  for (host::CommandBarEventsMember* handler : PieceHandlers()) handler->Reset();
  for (const auto& entry : colMenuItems) Attempt([&] { AddRetrieveMenuItem(entry.item); });
}

void Connect::AddRetrieveMenuItem(TextView name) {
  host::Ref<host::CommandBarControl> entry =
      Required(Required(mnuRetrievePopup_)->Controls())->Add(host::msoControlButton);
  Required(entry)->SetCaption(name);
  for (host::CommandBarEventsMember* handler : PieceHandlers()) {
    if (*handler) continue;
    BindClick(*handler, entry, [this](const host::Ref<host::CommandBarControl>& clicked) { PieceEntry_Click(clicked); });
    return;
  }
  // All ten handlers are taken: the entry stays without one.
}

void Connect::InsertCodePiece(TextView name) {
  if (!Required(VBInstance)->ActiveCodePane()) {
    vb::MsgBox(u"You must be in a code window to insert a code segment.", ui::vbInformation, u"No Code Pane Available");
    return;
  }
  const long startLine = Required(VBInstance->ActiveCodePane())->GetSelection().startLine;
  Text text = ReadCodePiece(name);
  ReplaceCodeTags(text);
  try {
    Required(Required(Required(VBInstance)->ActiveCodePane())->CodeModule())->InsertLines(startLine, text);
  } catch (...) {
    ReportInsertionFailure(addin::AsVbError(std::current_exception()));
  }
}

void Connect::ReplaceCodeTags(Text& text) {
  const std::vector<Text> tags = FindCodeTags(text);
  for (const Text& tag : tags) {
    // Once a tag is found, a failing step is skipped and the next one runs.
    Attempt([&] {
      if (!mfrmReplace_) mfrmReplace_ = std::make_unique<frmReplace>();
    });
    if (!mfrmReplace_) continue;
    Attempt([&] { mfrmReplace_->SetCodeTag(TagName(tag)); });
    Attempt([&] { mfrmReplace_->Show(ui::vbModal); });
    Attempt([&] { text = vb::Replace(text, tag, mfrmReplace_->ReplaceTag()); });
  }
}

}  // namespace pellmoss
