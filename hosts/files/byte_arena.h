// Room for the bytes of many files read one after the other. A project's files are read once and
// kept while it is loaded, so they go one after the other into large blocks instead of a heap
// allocation each: a block is given back when no file in it is referred to any more, and a large
// block is backed by huge pages where the system offers them, so that a project of many megabytes
// costs the system a few page faults instead of one per 4 KB.
#pragma once

#include <cstddef>
#include <memory>

#include "hosts/memory/shared_bytes.h"

namespace files {

class ByteArena {
 public:
  // Room for up to `size` bytes; the next call gives the same room again unless Keep kept some.
  char* Room(std::size_t size);
  // The first `used` bytes of the last room, which live while the result (or a copy) does.
  memhost::SharedBytes Keep(std::size_t used);

 private:
  struct Block;
  std::shared_ptr<Block> block_;
  std::size_t used_ = 0;   // of block_
  std::size_t room_ = 0;   // where the last room starts in block_
  std::size_t total_ = 0;  // bytes of every block made so far
};

}  // namespace files
