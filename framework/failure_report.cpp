#include "framework/failure_report.h"

#include "framework/connect.h"
#include "framework/runtime.h"

namespace addin {

void ReportFailure(const vb::Error& error) {
  vb::MsgBox(u"The following error occurred : " + error.description, ui::vbInformation, u"Error Occurred");
}

void ReportFailure(std::exception_ptr failure) { ReportFailure(AsVbError(failure)); }

}  // namespace addin
