// Reading VB6 files from disk: only regular files, and never more than a VB6 file can hold, so a
// project entry naming a device or a FIFO is refused instead of read forever.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "hosts/files/byte_arena.h"
#include "hosts/memory/shared_bytes.h"

namespace files {

// A module holds at most 65,534 lines of at most 1,023 characters with their CR LF; the file
// header, the designer block and the attributes come on top of that (a megabyte is plenty).
inline constexpr std::uintmax_t kMaxFileBytes = 65'534ull * 1'025 + (1u << 20);

// Which file a path named at one moment, and how it was then.
struct FileStamp {
  std::uint64_t device = 0, inode = 0, size = 0;
  std::int64_t modified = 0;  // nanoseconds
  bool operator==(const FileStamp&) const = default;
};

struct DiskFile {
  std::string bytes;
  FileStamp stamp;
};

// Reads a whole regular file, symbolic links followed. LoadError naming it when it is missing,
// a folder, not a regular file (a device, FIFO or socket), larger than kMaxFileBytes, or
// unreadable.
DiskFile ReadDiskFile(const std::filesystem::path& path);
// Whether the file `path` names holds exactly `bytes`, read a piece at a time so that no copy of it
// is kept; `stamp` gets its stamp. LoadError as ReadDiskFile.
bool HoldsBytes(const std::filesystem::path& path, std::string_view bytes, FileStamp& stamp);
inline std::string ReadBytes(const std::filesystem::path& path) { return ReadDiskFile(path).bytes; }
// The bytes of a file kept while a project is loaded, read into room from `arena`. LoadError as
// ReadDiskFile.
memhost::SharedBytes ReadBytes(const std::filesystem::path& path, ByteArena& arena);

// The stamp of the file a path names now (links followed); all zero when it is gone.
FileStamp StampOf(const std::filesystem::path& path);

}  // namespace files
