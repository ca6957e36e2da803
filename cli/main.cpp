#include <unistd.h>

#include <csignal>
#include <iostream>

#include "cli/cli.h"
#include "cli/output.h"

int main(int argc, char** argv) {
  // A reader that goes away (`vb6kit count P.vbp | head`) ends the program as it ends any
  // other, even when the parent process ignored the signal.
  std::signal(SIGPIPE, SIG_DFL);
  cli::FdOutputBuffer buffer(STDOUT_FILENO);
  std::ostream out(&buffer);
  std::vector<std::string> args(argv + 1, argv + argc);
  return cli::run(args, std::cin, out, std::cerr, isatty(STDIN_FILENO) != 0);
}
