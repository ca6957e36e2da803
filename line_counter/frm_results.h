// The results of a count: one row per counted component and the three totals.
#pragma once

#include <memory>

#include "framework/ui/form.h"
#include "line_counter/cls_collection.h"

namespace tallowick {

class frmResults : public ui::Form {
 public:
  frmResults();

  ui::Frame fraCodeResults{*this, u"fraCodeResults", u"Code Results:"};
  ui::ListView lvResults{*this, u"lvResults"};
  ui::Frame fraTotals{*this, u"fraTotals", u"Totals:"};
  ui::Label lblCodeLine{*this, u"lblCodeLine", u"Code Lines : "};
  ui::Label lblCommentLines{*this, u"lblCommentLines", u"Comment Lines : "};
  ui::Label lblWhiteSpace{*this, u"lblWhiteSpace", u"Blank Lines : "};
  ui::CommandButton cmdOk{*this, u"cmdOk", u"&Ok"};

  // The counted records, set before the dialog is shown.
  std::shared_ptr<clsCollection> objColl;

  void cmdOk_Click();

 protected:
  void Form_Activate() override;
};

}  // namespace tallowick
