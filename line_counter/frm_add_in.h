// The component selection dialog of the line counter: the developer ticks components of the
// active project, OK counts their lines and shows the results.
#pragma once

#include <memory>

#include "framework/host_model.h"
#include "framework/ui/form.h"
#include "line_counter/cls_collection.h"
#include "line_counter/frm_results.h"

namespace tallowick {

class Connect;

class frmAddIn : public ui::Form {
 public:
  frmAddIn();
  ~frmAddIn() override;

  ui::Label Label1{*this, u"Label1",
                   u"Select the components that you want to include in the comment and code count.  Click the "
                   u"Select All button to select all components to be included in the count."};
  ui::ListBox lstComponents{*this, u"lstComponents", false, ui::ListBox::Checkbox};
  ui::CommandButton cmdSelectAll{*this, u"cmdSelectAll", u"&Select All Components"};
  ui::CommandButton OKButton{*this, u"OKButton", u"&Ok"};
  ui::CommandButton CancelButton{*this, u"CancelButton", u"&Cancel"};

  host::Ref<host::VBE> VBInstance;
  tallowick::Connect* Connect = nullptr;

  void cmdSelectAll_Click();
  void OKButton_Click();
  void CancelButton_Click();

  // Fills Code, Comment and WhiteSpace of every record from the component named by its
  // CompName in the project kept at activation.
  void CountCodeLines(clsCollection& coll);

 protected:
  void Form_Activate() override;
  void Form_Unload(int& cancel) override;

 private:
  vb::Text projectName_;
  std::shared_ptr<clsCollection> coll_;
  std::unique_ptr<frmResults> results_;
};

}  // namespace tallowick
