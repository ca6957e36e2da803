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

}  // namespace

DiskFile ReadDiskFile(const fs::path& path) {
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
  DiskFile file;
  try {
    if (::fstat(fd, &st) != 0) throw LoadError(path, "cannot be read: " + SystemMessage(errno));
    if (auto why = NotRegular(st.st_mode); !why.empty()) throw LoadError(path, why);
    file.stamp = StampFrom(st);
    file.bytes.resize(static_cast<std::size_t>(std::min<std::uintmax_t>(st.st_size, kMaxFileBytes)) + 1);
    std::size_t done = 0;
    for (;;) {
      if (done == file.bytes.size()) {
        if (done > kMaxFileBytes) TooLarge(path, done);
        file.bytes.resize(std::min<std::size_t>(done * 2, kMaxFileBytes + 1));
      }
      const ssize_t n = ::read(fd, file.bytes.data() + done, file.bytes.size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) throw LoadError(path, "cannot be read: " + SystemMessage(errno));
      if (n == 0) break;
      done += static_cast<std::size_t>(n);
    }
    file.bytes.resize(done);
  } catch (...) {
    ::close(fd);
    throw;
  }
  ::close(fd);
  return file;
}

FileStamp StampOf(const fs::path& path) {
  struct stat st{};
  if (::stat(path.c_str(), &st) != 0) return {};
  return StampFrom(st);
}

}  // namespace files
