#include "comment/frm_function.h"

#include "comment/active_code.h"
#include "comment/app_log.h"
#include "comment/author_setting.h"
#include "comment/procedure_locator.h"
#include "comment/header_text.h"
#include "framework/runtime.h"

namespace comment {

frmFunction::frmFunction() : ui::Form(u"frmFunction", u"Add Function Declaration") {
  SetFontName(u"Tahoma");
  txtDescr.SetContainer(&Frame1);
  txtDescr.SetMultiLine(true);
  txtDescr.SetScrollBars(ui::vbVertical);
  cmdCancel.SetCancel(true);
  cmdAdd.OnClick = [this] { cmdAdd_Click(); };
  cmdCancel.OnClick = [this] { cmdCancel_Click(); };
}

void frmFunction::Form_Load() {
  txtUsername.SetText(LoadAuthorName());  // never raises; the box may stay empty
}

void frmFunction::Form_Activate() {
  const MemberAtLine found = MethodAtCaret(VBInstance);
  member_ = found.member;
  declarationLine_ = found.declarationLine;
  if (member_) {
    txtFuncname.SetText(member_->Name());
    return;
  }
  vb::MsgBox(u"You must place the cursor in a method before you can add a function header.", ui::vbInformation,
             u"Not a method");
  Unload();
}

void frmFunction::cmdAdd_Click() {
  const Text description = txtDescr.text();
  Ref<host::CodeModule> module = ActiveCodeModule(VBInstance);
  const long insertAt = declarationLine_;

  FunctionHeader header;
  header.declaration = ParseDeclaration(module, insertAt);
  SaveAuthorName(txtUsername.text());
  header.methodName = txtFuncname.text();
  header.scope = member_ ? ScopeText(member_->Scope()) : Text();
  header.author = txtUsername.text();
  header.timestamp = NowText();
  header.description = description;

  module->InsertLines(insertAt, BuildFunctionHeader(header));
  Unload();
}

void frmFunction::cmdCancel_Click() { Unload(); }

void frmFunction::Form_Unload(int& /*cancel*/) {
  member_.reset();
  declarationLine_ = 0;
  VBInstance.reset();
}

}  // namespace comment
