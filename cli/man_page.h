// The manual page vb6kit(1) in roff, written from the command table and the help texts.
#pragma once

#include <iosfwd>

namespace cli {

void WriteManPage(std::ostream& out);

}  // namespace cli
