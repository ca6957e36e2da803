#include "comment/connect.h"

#include "comment/app_log.h"
#include "comment/comment_marks.h"
#include "comment/frm_function.h"
#include "comment/frm_pick_function.h"
#include "comment/frm_revision.h"
#include "framework/runtime.h"

namespace comment {

namespace {

constexpr long kAppend = -1;
constexpr long kFirst = 1;

// A command failed: its log line, then its message box.
void Report(const vb::Error& error, TextView logSentence, TextView messageSentence) {
  WriteLog(Text(logSentence) + error.description);
  try {
    vb::MsgBox(Text(messageSentence) + error.description, ui::vbInformation, u"Error Occurred");
  } catch (...) {
    // Nothing may escape to the IDE, not even a failed report.
  }
}

}  // namespace

Connect::Connect() = default;
Connect::~Connect() = default;

Ref<host::CommandBarControl> Connect::AddToAddInCommandBar(TextView sCaption, long Pos) {
  return AddToCommandBar(u"Code Window", sCaption, Pos == kAppend ? 0 : 1);
}

void Connect::Connection(int connectMode) {
  // The application log is the runtime's own, installed by the home before any add-in
  // connects; from here on every caught error of the add-in is written there.
  if (connectMode == addin::ext_cm_External) return;

  commentEntry_ = AddToAddInCommandBar(u"Comment Out Selected Area", kAppend);
  BindClick(MenuHandler, commentEntry_, [this] { MenuHandler_Click(); });
  uncommentEntry_ = AddToAddInCommandBar(u"Un-Comment Selected Area", kAppend);
  BindClick(RemoveMenuHandler, uncommentEntry_, [this] { RemoveMenuHandler_Click(); });
  functionEntry_ = AddToAddInCommandBar(u"Add Function Comment Header", kAppend);
  BindClick(FunctionMenuHandler, functionEntry_, [this] { FunctionMenuHandler_Click(); });
  revisionEntry_ = AddToAddInCommandBar(u"Add Revision to Comment", kAppend);
  BindClick(RevisionHandler, revisionEntry_, [this] { RevisionHandler_Click(); });
  pickCodeEntry_ = AddToAddInCommandBar(u"&Goto Code Member", kFirst);
  BindClick(PickCode, pickCodeEntry_, [this] { PickCode_Click(); });
}

void Connect::ConnectionFailed(const vb::Error& error) {
  WriteLog(u"The following error occurred in OnConnection: " + error.description);
  vb::MsgBox(u"The following error occurred trying to load the Comment Add-In: " + error.description);
}

void Connect::Disconnection() {
  DeleteEntry(commentEntry_);
  DeleteEntry(uncommentEntry_);
  DeleteEntry(functionEntry_);
  DeleteEntry(revisionEntry_);
  DeleteEntry(pickCodeEntry_);
  for (host::CommandBarEventsMember* sink : {&MenuHandler, &RemoveMenuHandler, &FunctionMenuHandler, &RevisionHandler, &PickCode})
    Unbind(*sink);
  CloseDialog(revisionForm_);
  CloseDialog(pickFunctionForm_);
}

void Connect::MenuHandler_Click() {
  try {
    CommentOutSelection(VBInstance);
  } catch (...) {
    Report(addin::AsVbError(std::current_exception()), u"The following error occurred trying to comment out code: ",
           u"The following error occurred trying to comment out the current selection : ");
  }
}

void Connect::RemoveMenuHandler_Click() {
  try {
    UncommentSelection(VBInstance);
  } catch (...) {
    Report(addin::AsVbError(std::current_exception()),
           u"The following error occurred trying to uncomment out a selection of code : ",
           u"An error occurred trying to uncomment out the current selection : ");
  }
}

void Connect::FunctionMenuHandler_Click() {
  // A new dialog for every click.
  auto form = std::make_unique<frmFunction>();
  try {
    form->VBInstance = VBInstance;
    form->Show(ui::vbModal);
  } catch (...) {
    const vb::Error error = addin::AsVbError(std::current_exception());
    // A dialog left open by the failure is closed, so that the next click starts afresh.
    Attempt([&] { ui::UnloadIfLoaded(form.get()); });
    Report(error, u"The following error occurred in the FunctionMenuHandler callback event: ",
           u"An error occurred trying to display the Function Header form: ");
  }
}

void Connect::RevisionHandler_Click() {
  std::shared_ptr<frmRevision> form;  // kept until the display ends, whatever disconnection drops
  try {
    if (!revisionForm_) revisionForm_ = std::make_shared<frmRevision>();
    form = revisionForm_;
    form->VBInstance = VBInstance;
    form->Show(ui::vbModal);
  } catch (...) {
    const vb::Error error = addin::AsVbError(std::current_exception());
    Attempt([&] { ui::UnloadIfLoaded(form.get()); });
    Report(error, u"The following error occurred trying to display the Revision Form : ",
           u"An error occurred trying to display the Revision Editor dialog : ");
  }
}

void Connect::PickCode_Click() {
  std::shared_ptr<frmPickFunction> form;  // kept until the display ends, whatever disconnection drops
  try {
    if (!pickFunctionForm_) pickFunctionForm_ = std::make_shared<frmPickFunction>();
    form = pickFunctionForm_;
    form->VBInstance = VBInstance;
    form->Show(ui::vbModal);
  } catch (...) {
    const vb::Error error = addin::AsVbError(std::current_exception());
    Attempt([&] { ui::UnloadIfLoaded(form.get()); });
    Report(error, u"The following error occurred trying to display the Goto Function Form : ",
           u"An error occurred trying to display the Goto Function dialog : ");
  }
}

}  // namespace comment
