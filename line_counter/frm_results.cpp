#include "line_counter/frm_results.h"

#include "framework/failure_report.h"
#include "line_counter/checked_count.h"

namespace tallowick {

frmResults::frmResults() : ui::Form(u"frmResults", u"Code Counting Results") {
  lvResults.SetContainer(&fraCodeResults);
  for (const char16_t* header : {u"Component", u"Code Lines", u"Comment Lines", u"Blank Lines"})
    lvResults.AddColumn(header);
  for (ui::Label* label : {&lblCodeLine, &lblCommentLines, &lblWhiteSpace}) {
    label->SetContainer(&fraTotals);
    label->SetTag(label->caption());
  }
  cmdOk.SetDefault(true);
  cmdOk.OnClick = [this] { cmdOk_Click(); };
}

void frmResults::Form_Activate() {
  try {
    lvResults.ClearItems();
    std::int32_t code = 0, comment = 0, blank = 0;
    if (objColl) {
      for (const clsCollection::Record& record : *objColl) {
        AddToCount(code, record->Code);
        AddToCount(comment, record->Comment);
        AddToCount(blank, record->WhiteSpace);
        int row = lvResults.AddItem(record->CompName);
        lvResults.SetSubItem(row, 1, vb::ToText(record->Code));
        lvResults.SetSubItem(row, 2, vb::ToText(record->Comment));
        lvResults.SetSubItem(row, 3, vb::ToText(record->WhiteSpace));
      }
    }
    lblCodeLine.SetCaption(lblCodeLine.tag() + vb::ToText(code));
    lblCommentLines.SetCaption(lblCommentLines.tag() + vb::ToText(comment));
    lblWhiteSpace.SetCaption(lblWhiteSpace.tag() + vb::ToText(blank));
  } catch (...) {
    addin::ReportFailure(std::current_exception());
  }
}

void frmResults::cmdOk_Click() {
  Hide();
  Unload();
}

}  // namespace tallowick
