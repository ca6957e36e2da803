#include "piece_store/frm_replace.h"

namespace pellmoss {

frmReplace::frmReplace() : ui::Form(u"frmReplace", u"Replace Code Tag") {
  for (ui::Control* c : std::initializer_list<ui::Control*>{&lblCodeTag, &lblReplaceWith, &txtCodeReplace})
    c->SetContainer(&fraReplaceCode);
  lblCodeTag.SetTag(u"The following code tag was found : ");
  txtCodeReplace.SetMultiLine(true);
  txtCodeReplace.SetScrollBars(ui::vbBoth);
  cmdOk.SetDefault(true);
  cmdOk.OnClick = [this] { cmdOk_Click(); };
}

void frmReplace::SetCodeTag(vb::TextView name) {
  // Touching a control loads the form in VB; loading first also keeps the design-time state
  // that an unload restores free of this tag.
  Load();
  codeTag_ = vb::Text(name);
  lblCodeTag.SetCaption(lblCodeTag.tag() + codeTag_);
  txtCodeReplace.SetText(u"");
}

void frmReplace::cmdOk_Click() { Hide(); }

}  // namespace pellmoss
