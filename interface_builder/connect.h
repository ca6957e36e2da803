// The interface implementer's connection to the IDE: one entry in the Add-Ins menu that opens
// the interface dialog modelessly. The dialog object is kept between uses.
#pragma once

#include <memory>

#include "framework/connect.h"
#include "interface_builder/frm_add_in.h"
#include "interface_builder/frm_property_determine.h"

namespace morrowgate {

class Connect : public addin::ConnectBase {
 public:
  Connect();
  ~Connect() override;

  // Sets FormDisplayed to False and hides the interface dialog.
  void Hide();
  // Creates the interface dialog if needed and shows it modelessly.
  void Show();

  void MenuHandler_Click();

  // The question about unknown property types: one instance for the add-in's life, created on
  // first use.
  frmPropertyDetermine& PropertyDetermine();

  frmAddIn* mainDialog() const { return mfrmAddIn_.get(); }

 protected:
  void Connection(int connectMode) override;
  void Disconnection() override;

 private:
  host::Ref<host::CommandBarControl> entry_;
  std::unique_ptr<frmAddIn> mfrmAddIn_;
  std::unique_ptr<frmPropertyDetermine> propertyDetermine_;
};

}  // namespace morrowgate
