#include "hosts/files/byte_arena.h"

#include <algorithm>
#include <cstdint>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace files {

namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;
// The first block is small, so that a command on one module takes little more than the module;
// each next one twice as large as all before it, up to kLargestBlock.
constexpr std::size_t kFirstBlock = std::size_t{1} << 20, kLargestBlock = std::size_t{32} << 20;

}  // namespace

struct ByteArena::Block {
  Block(std::size_t wanted, bool huge) : size(wanted) {
#if defined(__linux__)
    if (huge) {
      // Huge pages need blocks aligned to their size: map a page more and cut the ends off.
      size = (size + kHugePage - 1) / kHugePage * kHugePage;
      void* mapped = mmap(nullptr, size + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
      if (mapped == MAP_FAILED) throw std::bad_alloc();
      const auto start = reinterpret_cast<std::uintptr_t>(mapped);
      const std::uintptr_t aligned = (start + kHugePage - 1) / kHugePage * kHugePage;
      if (aligned > start) munmap(mapped, aligned - start);
      if (const std::size_t after = start + kHugePage - aligned; after > 0)
        munmap(reinterpret_cast<void*>(aligned + size), after);
      data = reinterpret_cast<char*>(aligned);
      madvise(data, size, MADV_HUGEPAGE);  // a hint: without huge pages the block still works
      mapped_ = true;
      return;
    }
#else
    (void)huge;
#endif
    data = new char[size];  // left uninitialised: the file's bytes are read straight into it
  }
  ~Block() {
#if defined(__linux__)
    if (mapped_) {
      munmap(data, size);
      return;
    }
#endif
    delete[] data;
  }
  Block(const Block&) = delete;
  Block& operator=(const Block&) = delete;

  std::size_t size;
  char* data = nullptr;

 private:
  bool mapped_ = false;
};

char* ByteArena::Room(std::size_t size) {
  if (!block_ || block_->size - used_ < size) {
    // A file larger than the next block gets a block of its own size, as a string of its own would.
    const std::size_t next = std::clamp(2 * total_, kFirstBlock, kLargestBlock);
    block_ = size > next ? std::make_shared<Block>(size, false) : std::make_shared<Block>(next, next >= kHugePage);
    total_ += block_->size;
    used_ = 0;
  }
  room_ = used_;
  return block_->data + room_;
}

memhost::SharedBytes ByteArena::Keep(std::size_t used) {
  used_ = room_ + used;
  return memhost::SharedBytes(block_, std::string_view(block_->data + room_, used));
}

}  // namespace files
