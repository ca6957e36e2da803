#include "cli/project_heap.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>  // first: it says whether the C library is glibc

#if defined(__GLIBC__) && defined(__linux__)
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace cli {

void GrowHeapForProjects() {
#if defined(__GLIBC__) && defined(__linux__)
  constexpr std::size_t kHeapStep = std::size_t{64} << 20, kHugePage = std::size_t{2} << 20;
  mallopt(M_TOP_PAD, static_cast<int>(kHeapStep));
  // Grows the heap by a step now, so that the new room can be marked (volatile: a malloc and
  // free in a row may otherwise be left out). Room never touched costs no memory.
  const auto top = reinterpret_cast<std::uintptr_t>(sbrk(0));
  void* volatile grown = std::malloc(kHugePage / 4);
  std::free(grown);
  const auto end = reinterpret_cast<std::uintptr_t>(sbrk(0));
  const std::uintptr_t start = (top + kHugePage - 1) / kHugePage * kHugePage;
  if (end > start) madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);  // a hint only
#endif
}

}  // namespace cli
