// How a failure that ends an add-in's command reaches the developer: a message box with
// "The following error occurred : " and the error's description, the information icon and the
// title "Error Occurred".
#pragma once

#include <exception>

#include "framework/vb_error.h"

namespace addin {

void ReportFailure(const vb::Error& error);
// The same for whatever a step threw; call from inside a catch block.
void ReportFailure(std::exception_ptr failure);

}  // namespace addin
