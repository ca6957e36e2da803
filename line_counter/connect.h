// The line counter's connection to the IDE: two entries in the Add-Ins menu, the component
// line counter (modal) and the project summary (a new modeless window per click).
#pragma once

#include <memory>
#include <vector>

#include "framework/connect.h"
#include "line_counter/frm_add_in.h"
#include "line_counter/frm_summary.h"

namespace tallowick {

class Connect : public addin::ConnectBase {
 public:
  Connect();
  ~Connect() override;

  host::CommandBarEventsMember SummaryMenuHandler;

  // Opens the component selection dialog modally and drops it when it closes.
  void Show();

  void MenuHandler_Click();
  void SummaryMenuHandler_Click();

  // The open dialogs, for whoever needs to look at them (tests, the command line).
  frmAddIn* mainDialog() const { return mfrmAddIn_.get(); }
  std::size_t summaryWindowCount() const;

 protected:
  void Connection(int connectMode) override;
  void Disconnection() override;

 private:
  void CloseSummaryWindows();

  host::Ref<host::CommandBarControl> counterEntry_;
  host::Ref<host::CommandBarControl> summaryEntry_;
  std::shared_ptr<frmAddIn> mfrmAddIn_;  // shared with its display: the IDE may unload the add-in meanwhile
  std::vector<std::unique_ptr<frmSummary>> summaries_;
};

}  // namespace tallowick
