// How a failure that ends the interface dialog's OK reaches the developer.
#pragma once

#include <exception>

namespace morrowgate {

// Shows "The following error occurred : " and the error's description (information icon,
// title "Error Occurred"). Call from inside a catch block.
void ReportFailure(std::exception_ptr failure);

}  // namespace morrowgate
