// vb6kit, the command line of the add-ins: runs each add-in command through the add-in's own
// code and dialogs on VB6 files loaded into the in-memory IDE, answering the dialogs from the
// options. Callable in-process, so tests run it without starting a process.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace cli {

// Runs one command line (without the program name). Results go to `out`, messages to `err`.
// `interactive` says whether `in` is a terminal a person types into (asked tags are prompted
// for only then). Returns the exit code: 0 success, 1 the add-in ended with an error or
// refusal message, 2 bad usage or unreadable input.
int run(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err,
        bool interactive = false);

}  // namespace cli
