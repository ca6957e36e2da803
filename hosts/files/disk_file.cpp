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

// Reads the open file into `buffer` from `done` on, growing it up to the limit when `grow`, else
// until it is full; the bytes it then holds.
std::size_t ReadInto(int fd, const fs::path& path, std::string& buffer, std::size_t done, bool grow) {
  for (;;) {
    if (done == buffer.size()) {
      if (!grow) return done;
      if (done > kMaxFileBytes) TooLarge(path, done);
      buffer.resize(std::min<std::size_t>(done * 2, kMaxFileBytes + 1));
    }
    const ssize_t n = ::read(fd, buffer.data() + done, buffer.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw LoadError(path, "cannot be read: " + SystemMessage(errno));
    if (n == 0) return done;
    done += static_cast<std::size_t>(n);
  }
}

}  // namespace

DiskFile ReadDiskFile(const fs::path& path) {
  DiskFile file;
  const OpenFile open{OpenRegular(path, file.stamp)};
  file.bytes.resize(static_cast<std::size_t>(std::min<std::uintmax_t>(file.stamp.size, kMaxFileBytes)) + 1);
  file.bytes.resize(ReadInto(open.fd, path, file.bytes, 0, true));
  return file;
}

bool HoldsBytes(const fs::path& path, std::string_view bytes, FileStamp& stamp) {
  const OpenFile open{OpenRegular(path, stamp)};
  std::string piece(std::min<std::size_t>(bytes.size() + 1, 1 << 16), '\0');
  for (std::size_t compared = 0;;) {
    const std::size_t n = ReadInto(open.fd, path, piece, 0, false);
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
