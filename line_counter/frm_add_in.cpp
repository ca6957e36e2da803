#include "line_counter/frm_add_in.h"

#include "framework/failure_report.h"
#include "framework/runtime.h"
#include "line_counter/line_count.h"

namespace tallowick {

using vb::Required;

namespace {

// Shows the hourglass for the life of the object and puts the default pointer back even when
// the count fails, so the pointer never stays busy after an error.
class HourglassPointer {
 public:
  HourglassPointer() { vb::SetMousePointer(ui::vbHourglass); }
  ~HourglassPointer() {
    try {
      vb::SetMousePointer(ui::vbDefault);
    } catch (...) {
    }
  }
  HourglassPointer(const HourglassPointer&) = delete;
  HourglassPointer& operator=(const HourglassPointer&) = delete;
};

}  // namespace

frmAddIn::frmAddIn() : ui::Form(u"frmAddIn", u"Component Line Counter") {
  OKButton.SetDefault(true);
  CancelButton.SetCancel(true);
  cmdSelectAll.OnClick = [this] { cmdSelectAll_Click(); };
  OKButton.OnClick = [this] { OKButton_Click(); };
  CancelButton.OnClick = [this] { CancelButton_Click(); };
}

frmAddIn::~frmAddIn() = default;

void frmAddIn::Form_Activate() {
  try {
    host::Ref<host::VBProject> project = Required(Required(VBInstance)->ActiveVBProject());
    projectName_ = project->Name();
    lstComponents.Clear();
    host::Ref<host::VBComponents> components = Required(project->VBComponents());
    long count = components->Count();
    for (long i = 1; i <= count; ++i) lstComponents.AddItem(Required(components->Item(i))->Name());
  } catch (...) {
    addin::ReportFailure(std::current_exception());
  }
}

void frmAddIn::cmdSelectAll_Click() {
  for (int i = 0; i < lstComponents.listCount(); ++i) lstComponents.SetSelected(i, true);
}

void frmAddIn::OKButton_Click() {
  try {
    // The count lets the IDE's messages through (DoEvents), so a person may close or cancel the
    // dialog meanwhile, which releases coll_: the count keeps the collection it fills, and a
    // dialog that is no longer on screen shows no results.
    const std::shared_ptr<clsCollection> coll = std::make_shared<clsCollection>();
    coll_ = coll;
    for (int i = 0; i < lstComponents.listCount(); ++i) {
      if (!lstComponents.Selected(i)) continue;
      vb::Text name = lstComponents.List(i);
      coll->Add(name)->CompName = name;
    }
    CountCodeLines(*coll);
    if (!visible()) return;
    if (!results_) results_ = std::make_unique<frmResults>();
    results_->objColl = coll;
    results_->Show(ui::vbModal);
  } catch (...) {
    // The count did not complete: say why and leave the selection open for another try.
    addin::ReportFailure(std::current_exception());
    return;
  }
  CancelButton_Click();
}

void frmAddIn::CancelButton_Click() { Hide(); }

void frmAddIn::CountCodeLines(clsCollection& coll) {
  HourglassPointer hourglass;
  for (const clsCollection::Record& record : coll) {
    host::Ref<host::VBProject> project = Required(Required(VBInstance->VBProjects())->Item(projectName_));
    host::Ref<host::VBComponent> component = Required(Required(project->VBComponents())->Item(record->CompName));
    LineCounts counts = CountModuleLines(component->CodeModule());
    record->Code = counts.code;
    record->Comment = counts.comment;
    record->WhiteSpace = counts.blank;
  }
}

void frmAddIn::Form_Unload(int& /*cancel*/) {
  ui::UnloadIfLoaded(results_.get());
  results_.reset();
  coll_.reset();
}

}  // namespace tallowick
