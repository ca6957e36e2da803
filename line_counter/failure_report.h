// How a failure that ends one of the line counter's commands reaches the developer.
#pragma once

#include <exception>

namespace tallowick {

// Shows "The following error occurred : " and the error's description (information icon,
// title "Error Occurred"). Call from inside a catch block.
void ReportFailure(std::exception_ptr failure);

}  // namespace tallowick
