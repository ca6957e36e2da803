// Completion scripts for bash and zsh, written from the command table, so the shells offer
// exactly the commands, options and values that the parser takes.
#pragma once

#include <iosfwd>

namespace cli {

void WriteBashCompletion(std::ostream& out);
void WriteZshCompletion(std::ostream& out);

}  // namespace cli
