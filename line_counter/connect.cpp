#include "line_counter/connect.h"

#include <algorithm>

namespace tallowick {

Connect::Connect() = default;

Connect::~Connect() {
  // A window must not outlive the add-in that owns it.
  CloseSummaryWindows();
  CloseDialog(mfrmAddIn_);
}

void Connect::Connection(int connectMode) {
  if (connectMode == addin::ext_cm_External) return;
  counterEntry_ = AddToAddInCommandBar(u"&Component Line Counter");
  BindClick(MenuHandler, counterEntry_, [this] { MenuHandler_Click(); });
  summaryEntry_ = AddToAddInCommandBar(u"&Project Summary");
  BindClick(SummaryMenuHandler, summaryEntry_, [this] { SummaryMenuHandler_Click(); });
}

void Connect::Disconnection() {
  DeleteEntry(counterEntry_);
  DeleteEntry(summaryEntry_);
  Unbind(MenuHandler);
  Unbind(SummaryMenuHandler);
  CloseDialog(mfrmAddIn_);
  CloseSummaryWindows();
}

void Connect::Show() {
  if (!PrepareDialog(mfrmAddIn_, this)) return;
  const std::shared_ptr<frmAddIn> form = mfrmAddIn_;  // kept until the display ends, whatever disconnection drops
  FormDisplayed = true;
  Attempt([&] { form->Show(ui::vbModal); });
  CloseDialog(mfrmAddIn_);
}

void Connect::MenuHandler_Click() { Show(); }

void Connect::SummaryMenuHandler_Click() {
  // Windows closed since the last click are dropped here.
  std::erase_if(summaries_, [](const std::unique_ptr<frmSummary>& window) { return !window->loaded(); });
  auto window = std::make_unique<frmSummary>();
  window->VBInstance = VBInstance;
  Attempt([&] { window->Load(); });
  if (window->failed() || !window->loaded()) {
    Attempt([&] { window->Unload(); });
    return;
  }
  frmSummary& shown = *window;
  summaries_.push_back(std::move(window));
  Attempt([&] { shown.Show(ui::vbModeless); });
}

std::size_t Connect::summaryWindowCount() const {
  return static_cast<std::size_t>(std::count_if(summaries_.begin(), summaries_.end(),
                                                [](const auto& window) { return window->loaded(); }));
}

void Connect::CloseSummaryWindows() {
  for (auto& window : summaries_) Attempt([&] { ui::UnloadIfLoaded(window.get()); });
  summaries_.clear();
}

}  // namespace tallowick
