// Reading regular files within the size limit.
#include "hosts/files/disk_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "hosts/files/file_error.h"

namespace fs = std::filesystem;

namespace files {
namespace {

std::string SystemMessage(int error) { return std::error_code(error, std::generic_category()).message(); }

FileStamp StampFrom(const struct stat& st) {
  return FileStamp{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino),
                   static_cast<std::uint64_t>(st.st_size),
                   static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec};
}

// Why a file of this mode is not read, or "" for a regular file.
std::string NotRegular(mode_t mode) {
  if (S_ISREG(mode)) return {};
  if (S_ISDIR(mode)) return "is a folder, not a file";
  const char* kind = S_ISFIFO(mode) ? "a FIFO" : S_ISSOCK(mode) ? "a socket" : S_ISCHR(mode) ? "a character device"
                     : S_ISBLK(mode) ? "a block device" : "not a file";
  return std::string("is not a regular file (") + kind + "); only regular files are read";
}

[[noreturn]] void TooLarge(const fs::path& path, std::uintmax_t size) {
  throw LoadError(path, "is " + std::to_string(size) + " bytes, more than a VB6 file can hold (" +
                            std::to_string(kMaxFileBytes) + " bytes: 65,534 lines of 1,023 characters); it was not read");
}


// Opens a regular file within the size limit for reading; its stamp. LoadError as ReadDiskFile.
int OpenRegular(const fs::path& path, FileStamp& stamp) {
  struct stat st{};
  if (::stat(path.c_str(), &st) != 0) {
    if (errno == ENOENT || errno == ENOTDIR) throw LoadError(path, "file not found");
    throw LoadError(path, "cannot be read: " + SystemMessage(errno));
  }
  if (auto why = NotRegular(st.st_mode); !why.empty()) throw LoadError(path, why);
  if (static_cast<std::uintmax_t>(st.st_size) > kMaxFileBytes) TooLarge(path, static_cast<std::uintmax_t>(st.st_size));
  // Opened without blocking and checked again: the name may have been given to a FIFO meanwhile.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) throw LoadError(path, "cannot be opened for reading: " + SystemMessage(errno));
  std::string why;
  if (::fstat(fd, &st) != 0) why = "cannot be read: " + SystemMessage(errno);
  if (why.empty()) why = NotRegular(st.st_mode);
  if (!why.empty()) {
    ::close(fd);
    throw LoadError(path, why);
  }
  stamp = StampFrom(st);
  return fd;
}

// Closes a file when it goes out of scope.
struct OpenFile {
  int fd;
  ~OpenFile() { ::close(fd); }
};

// Reads the open file into [at, at + size) until it is full or the file ends; the bytes read.
std::size_t ReadUpTo(int fd, const fs::path& path, char* at, std::size_t size) {
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = ::read(fd, at + done, size - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw LoadError(path, "cannot be read: " + SystemMessage(errno));
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  return done;
}

// Reads the rest of the open file into `buffer` from `done` on, growing it up to the limit; the
// bytes it then holds.
std::size_t ReadRest(int fd, const fs::path& path, std::string& buffer, std::size_t done) {
  for (;;) {
    if (done == buffer.size()) {
      if (done > kMaxFileBytes) TooLarge(path, done);
      buffer.resize(std::min<std::size_t>(done * 2, kMaxFileBytes + 1));
    }
    const std::size_t n = ReadUpTo(fd, path, buffer.data() + done, buffer.size() - done);
    done += n;
    if (done < buffer.size()) return done;
  }
}

}  // namespace

DiskFile ReadDiskFile(const fs::path& path) {
  DiskFile file;
  const OpenFile open{OpenRegular(path, file.stamp)};
  file.bytes.resize(static_cast<std::size_t>(std::min<std::uintmax_t>(file.stamp.size, kMaxFileBytes)) + 1);
  file.bytes.resize(ReadRest(open.fd, path, file.bytes, 0));
  return file;
}

memhost::SharedBytes ReadBytes(const fs::path& path, ByteArena& arena) {
  FileStamp stamp;
  const OpenFile open{OpenRegular(path, stamp)};
  // A byte more than the file held when it was looked at, to see whether it grew since.
  const auto expected = static_cast<std::size_t>(std::min<std::uintmax_t>(stamp.size, kMaxFileBytes));
  char* room = arena.Room(expected + 1);
  const std::size_t done = ReadUpTo(open.fd, path, room, expected + 1);
  if (done <= expected) return arena.Keep(done);
  std::string grown(room, done);  // the room is given again to the next file
  grown.resize(ReadRest(open.fd, path, grown, done));
  return memhost::SharedBytes(std::move(grown));
}

bool HoldsBytes(const fs::path& path, std::string_view bytes, FileStamp& stamp) {
  const OpenFile open{OpenRegular(path, stamp)};
  std::string piece(std::min<std::size_t>(bytes.size() + 1, 1 << 16), '\0');
  for (std::size_t compared = 0;;) {
    const std::size_t n = ReadUpTo(open.fd, path, piece.data(), piece.size());
    if (n == 0) return compared == bytes.size();
    if (n > bytes.size() - compared || std::string_view(piece).substr(0, n) != bytes.substr(compared, n)) return false;
    compared += n;
  }
}

FileStamp StampOf(const fs::path& path) {
  struct stat st{};
  if (::stat(path.c_str(), &st) != 0) return {};
  return StampFrom(st);
}

}  // namespace files
