#include "line_counter/frm_summary.h"

#include "framework/failure_report.h"
#include "line_counter/project_summary.h"

namespace tallowick {

frmSummary::frmSummary() : ui::Form(u"frmSummary", u"Project Summary") {
  txtSummary.SetMultiLine(true);
  txtSummary.SetScrollBars(ui::vbBoth);
  SetBorderStyle(ui::vbSizable);  // a large project's summary runs to thousands of lines
  cmdClose.SetDefault(true);
  cmdClose.SetCancel(true);
  cmdClose.OnClick = [this] { cmdClose_Click(); };
}

void frmSummary::Form_Load() {
  failed_ = false;
  try {
    txtSummary.SetText(BuildProjectSummary(vb::Required(VBInstance)->ActiveVBProject()));
  } catch (...) {
    failed_ = true;
    addin::ReportFailure(std::current_exception());
  }
}

void frmSummary::cmdClose_Click() {
  Hide();
  Unload();
}

}  // namespace tallowick
