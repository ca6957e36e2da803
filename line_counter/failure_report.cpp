#include "line_counter/failure_report.h"

#include "framework/connect.h"
#include "framework/runtime.h"

namespace tallowick {

void ReportFailure(std::exception_ptr failure) {
  vb::Error error = addin::AsVbError(failure);
  vb::MsgBox(u"The following error occurred : " + error.description, ui::vbInformation, u"Error Occurred");
}

}  // namespace tallowick
