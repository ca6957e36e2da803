#include "piece_store/settings_changes.h"

#include "framework/failure_report.h"
#include "piece_store/connect.h"

namespace pellmoss {

SettingsChanges::SettingsChanges(pellmoss::Connect* connect) : connect_(connect) {
  if (!connect_) return;
  codeNames_ = connect_->colCodeNames;
  menuItems_ = connect_->colMenuItems;
}

bool SettingsChanges::Save(const std::function<void()>& writes) {
  try {
    writes();
    return true;
  } catch (...) {
    const std::exception_ptr failure = std::current_exception();
    if (connect_) {
      connect_->colCodeNames = codeNames_;
      connect_->colMenuItems = menuItems_;
    }
    pellmoss::Connect::Attempt([&] { addin::ReportFailure(failure); });
    return false;
  }
}

}  // namespace pellmoss
