#include <unistd.h>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include <csignal>
#include <iostream>

#include "cli/cli.h"
#include "cli/output.h"

int main(int argc, char** argv) {
  // A reader that goes away (`vb6kit count P.vbp | head`) ends the program as it ends any
  // other, even when the parent process ignored the signal.
  std::signal(SIGPIPE, SIG_DFL);
#if defined(__GLIBC__)
  // A module's large buffers (its file, a copy of its text, a diff) are given back to the system
  // when freed: by default the allocator raises this bound after the first such buffer is freed
  // and keeps the next ones in its heap, where freed room stays counted against the program.
  // Smaller buffers, which commands allocate again and again, stay in the heap and are reused.
  mallopt(M_MMAP_THRESHOLD, 1024 * 1024);
  // Room freed at the top of the heap goes back to the system beyond a small pad, instead of up to
  // 128 KB of it staying with the program: an add-in's working set let go before it builds a large
  // text would otherwise stay counted while the text is built. (The project reading of count and
  // summary sets a pad of its own.)
  mallopt(M_TRIM_THRESHOLD, 64 * 1024);
  mallopt(M_TOP_PAD, 16 * 1024);
#endif
  cli::FdOutputBuffer buffer(STDOUT_FILENO);
  std::ostream out(&buffer);
  std::vector<std::string> args(argv + 1, argv + argc);
  return cli::run(args, std::cin, out, std::cerr, isatty(STDIN_FILENO) != 0);
}
