#include "piece_store/frm_retrieve_code.h"

#include "framework/runtime.h"
#include "piece_store/connect.h"

namespace pellmoss {

using vb::Required;

frmRetrieveCode::frmRetrieveCode() : ui::Form(u"frmRetrieveCode", u"Retrieve Code Listing") {
  lblCode.SetContainer(&fraSelectCode);
  cboCodeItems.SetContainer(&fraSelectCode);
  cmdOk.SetDefault(true);
  cmdCancel.SetCancel(true);
  cmdOk.OnClick = [this] { cmdOk_Click(); };
  cmdCancel.OnClick = [this] { cmdCancel_Click(); };
}

void frmRetrieveCode::Form_Activate() {
  cboCodeItems.Clear();
  for (const auto& entry : Required(Connect)->colCodeNames) cboCodeItems.AddItem(entry.item);
  if (cboCodeItems.listCount() > 0) cboCodeItems.SetListIndex(0);
}

void frmRetrieveCode::cmdOk_Click() {
  if (cboCodeItems.listIndex() < 0) return;
  try {
    Required(Connect)->InsertCodePiece(cboCodeItems.text());
    cmdCancel_Click();
  } catch (...) {
    const vb::Error error = addin::AsVbError(std::current_exception());
    vb::MsgBox(u"An error occurred trying to insert the selected code.  The error was : " + error.description,
               ui::vbInformation, u"Error Inserting Code");
  }
}

void frmRetrieveCode::cmdCancel_Click() {
  Hide();
  Unload();
}

}  // namespace pellmoss
