#include "comment/frm_revision.h"

#include "comment/active_code.h"
#include "comment/app_log.h"
#include "comment/author_setting.h"
#include "comment/procedure_locator.h"
#include "comment/header_text.h"
#include "framework/runtime.h"

namespace comment {

frmRevision::frmRevision() : ui::Form(u"frmRevision", u"Add Comment Revision") {
  SetFontName(u"Tahoma");
  lblMethodName.SetContainer(&Frame1);
  lblMethodNameText.SetContainer(&Frame1);
  txtRevision.SetMultiLine(true);
  txtRevision.SetScrollBars(ui::vbVertical);
  cmdCancel.SetCancel(true);
  cmdAdd.OnClick = [this] { cmdAdd_Click(); };
  cmdCancel.OnClick = [this] { cmdCancel_Click(); };
}

void frmRevision::Form_Load() {
  txtUsername.SetText(LoadAuthorName());  // never raises; the box may stay empty
}

void frmRevision::Form_Activate() {
  const MemberAtLine found = MethodAtCaret(VBInstance);
  member_ = found.member;
  declarationLine_ = found.declarationLine;
  if (member_) {
    lblMethodNameText.SetCaption(member_->Name());
    return;
  }
  vb::MsgBox(u"You must place the cursor in a method before you can add a revision comment.", ui::vbInformation,
             u"Not a method");
  Unload();
}

long frmRevision::FindEndMarker(host::CodeModule& module) const {
  for (long line = declarationLine_ - 1; line >= 1; --line) {
    const Text text = vb::Trim(module.Lines(line, 1));
    if (!vb::StartsWith(text, u"'")) return 0;  // the comment block ends without a marker
    if (vb::InStr(text, kEndRevisionsMarker) > 0) return line;
  }
  return 0;
}

void frmRevision::cmdAdd_Click() {
  SaveAuthorName(txtUsername.text());
  Ref<host::CodeModule> module = ActiveCodeModule(VBInstance);
  const long marker = FindEndMarker(*module);
  if (marker == 0) {
    vb::MsgBox(u"You do not have a method header.  Please add one before adding revisions.", ui::vbInformation,
               u"No Method Header");
    Unload();
    return;
  }
  module->InsertLines(marker, BuildRevisionEntry(txtUsername.text(), NowText(), txtRevision.text()));
  Unload();
}

void frmRevision::cmdCancel_Click() { Unload(); }

void frmRevision::Form_Unload(int& /*cancel*/) {
  member_.reset();
  declarationLine_ = 0;
  VBInstance.reset();
}

}  // namespace comment
