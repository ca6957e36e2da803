// Saves by replacement or through a journal, and what killed saves leave behind.
//
// Our own files beside a module are named ".NAME.vb6kit-HOST-PID-N.tmp" (a temporary file that
// replaces NAME) and ".NAME.vb6kit-HOST-PID-N.journal" (the new text of NAME while NAME is
// rewritten in place): HOST (a hash of the machine's name) and PID tell whether the save that
// made one still runs, so another run on a shared folder never takes a live save's files.
#include "hosts/files/safe_save.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <optional>
#include <sstream>
#include <system_error>

#include "framework/file_mode.h"
#include "hosts/files/file_error.h"

namespace fs = std::filesystem;

namespace files {
namespace {

constexpr std::string_view kMarker = ".vb6kit-";
constexpr std::string_view kTemporary = ".tmp";
constexpr std::string_view kJournal = ".journal";
constexpr std::string_view kJournalHead = "vb6kit journal\n";

std::string SystemMessage(int error) { return std::error_code(error, std::generic_category()).message(); }

std::string Hex(std::uint64_t value, int digits) {
  char buffer[17];
  std::snprintf(buffer, sizeof buffer, "%0*llx", digits, static_cast<unsigned long long>(value));
  return buffer;
}

const std::string& HostTag() {
  static const std::string tag = [] {
    char name[256] = {};
    ::gethostname(name, sizeof name - 1);
    ByteFingerprint print;
    print.Add(name);
    return Hex(print.hash & 0xFFFFFFFFu, 8);
  }();
  return tag;
}

// Creates a new file of our naming beside `target` (never an existing one) and opens it for
// writing (and reading back); -1 with errno set when it cannot.
int CreateOwnFile(const fs::path& target, std::string_view extension, fs::path& name) {
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0;; ++attempt) {
    name = target.parent_path() / ("." + target.filename().string() + std::string(kMarker) + HostTag() + "-" +
                                   std::to_string(::getpid()) + "-" + std::to_string(counter++) + std::string(extension));
    const int fd = ::open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0 || errno != EEXIST || attempt == 100) return fd;
  }
}

struct OwnFile {
  std::string target;  // the file name it belongs to
  pid_t pid = 0;
  bool journal = false;
};

bool AllDigits(std::string_view s) { return !s.empty() && s.find_first_not_of("0123456789") == std::string_view::npos; }

// One of our files named by this machine's runs, or nullopt.
std::optional<OwnFile> ParseOwnName(std::string_view name) {
  OwnFile own;
  std::string_view extension;
  if (name.ends_with(kTemporary)) {
    extension = kTemporary;
  } else if (name.ends_with(kJournal)) {
    extension = kJournal;
    own.journal = true;
  } else {
    return std::nullopt;
  }
  const auto marker = name.rfind(kMarker);
  if (name.size() < 2 || name[0] != '.' || marker == std::string_view::npos || marker < 2) return std::nullopt;
  std::string_view rest = name.substr(marker + kMarker.size());
  rest.remove_suffix(extension.size());
  // HOST-PID-N
  const auto dash1 = rest.find('-'), dash2 = rest.rfind('-');
  if (dash1 == std::string_view::npos || dash1 == dash2 || rest.substr(0, dash1) != HostTag()) return std::nullopt;
  const std::string_view pid = rest.substr(dash1 + 1, dash2 - dash1 - 1);
  if (!AllDigits(pid) || !AllDigits(rest.substr(dash2 + 1)) || pid.size() > 9) return std::nullopt;
  own.pid = static_cast<pid_t>(std::stol(std::string(pid)));
  own.target = std::string(name.substr(1, marker - 1));
  return own;
}

bool Running(pid_t pid) { return pid == ::getpid() || ::kill(pid, 0) == 0 || errno == EPERM; }

// Writes all of `bytes` at `offset`; 0, or the errno of the failure.
int WriteAll(int fd, std::string_view bytes, off_t offset = 0) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::pwrite(fd, bytes.data() + done, bytes.size() - done, offset + static_cast<off_t>(done));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno;
    done += static_cast<std::size_t>(n);
  }
  return 0;
}

int Sys(int result) { return result == 0 ? 0 : errno; }

// Writes a file from its start, piece after piece as a source hands them; the first failure is
// kept and what comes after it dropped.
class PieceWriter {
 public:
  explicit PieceWriter(int fd) : fd_(fd) {}
  void Add(std::string_view piece) {
    if (!error_) error_ = WriteAll(fd_, piece, offset_);
    offset_ += static_cast<off_t>(piece.size());
  }
  // 0, or the errno of the first failure.
  int error() const { return error_; }

 private:
  int fd_;
  off_t offset_ = 0;
  int error_ = 0;
};

// A step's system call, unless the hook makes it fail; 0, or the errno of the failure.
template <class Call>
int Step(const SaveHook& hook, SaveStep step, const fs::path& temporary, const fs::path& target, Call call) {
  if (hook)
    if (int injected = hook(step, temporary, target)) return injected;
  return Sys(call());
}

// The rename or unlink itself is made durable by flushing the folder.
void FlushFolder(const fs::path& folder) {
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

std::string OwnerNote(const struct stat& st) {
  return ::geteuid() == 0 || st.st_uid == ::geteuid() ? "" : ", owner uid " + std::to_string(st.st_uid);
}

// The file as it must still be right before it is replaced.
void CheckUnchanged(const fs::path& path, const fs::path& target, const FileStamp& stamp, std::string_view expected) {
  FileStamp now;
  bool same = false;
  try {
    same = HoldsBytes(target, expected, now);
  } catch (const LoadError& e) {
    throw SaveError(path, "the file changed on disk while it was being saved (it " + e.message() + ")");
  }
  if (now != stamp || !same)
    throw SaveError(path, "the file changed on disk while it was being saved (another program wrote it)");
}

void Replace(const fs::path& path, const fs::path& target, const struct stat& st, const FileStamp& stamp,
             std::string_view expected, const ByteSource& source, const SaveHook& hook) {
  fs::path temporary;
  int fd = CreateOwnFile(target, kTemporary, temporary);
  if (fd < 0) throw SaveError(path, "cannot create a temporary file in its folder: " + SystemMessage(errno));
  auto fail = [&](const std::string& what, int error) {
    throw SaveError(path, what + ": " + SystemMessage(error));
  };
  try {
    PieceWriter out(fd);
    source([&](std::string_view piece) { out.Add(piece); });
    if (int e = out.error()) fail("cannot write the temporary file", e);
    if (int e = Step(hook, SaveStep::Permissions, temporary, target, [&] { return ::fchmod(fd, st.st_mode & 07777); }))
      fail("cannot give the temporary file the file's permissions (mode " + vb::OctalMode(st.st_mode) + ")", e);
    struct stat made{};
    auto giveGroup = [&] { return ::fchown(fd, static_cast<uid_t>(-1), st.st_gid); };
    if (::fstat(fd, &made) == 0 && made.st_gid != st.st_gid)
      if (int e = Step(hook, SaveStep::Group, temporary, target, giveGroup))
        fail("cannot give the temporary file the file's group (" + std::to_string(st.st_gid) + ")", e);
    if (int e = Sys(::fsync(fd))) fail("cannot flush the temporary file to disk", e);
    const int closing = ::close(fd);
    fd = -1;
    if (closing != 0) fail("cannot close the temporary file", errno);
    if (hook) hook(SaveStep::Written, temporary, target);
    CheckUnchanged(path, target, stamp, expected);
    if (int e = Sys(::rename(temporary.c_str(), target.c_str()))) fail("cannot replace the file", e);
  } catch (...) {
    if (fd >= 0) ::close(fd);
    ::unlink(temporary.c_str());
    throw;
  }
  FlushFolder(target.parent_path());
}

std::string JournalHead(const ByteFingerprint& text) {
  return std::string(kJournalHead) + std::to_string(text.size) + " " + Hex(text.hash, 16) + "\n";
}

// The text a journal holds, or nullopt when it was not written to its end.
std::optional<std::string> ReadJournal(const fs::path& journal) {
  std::ifstream in(journal, std::ios::binary);
  std::ostringstream buffer;
  buffer << in.rdbuf();
  const std::string all = std::move(buffer).str();
  if (!all.starts_with(kJournalHead)) return std::nullopt;
  const auto blank = all.find(' ', kJournalHead.size()), end = all.find('\n', kJournalHead.size());
  if (blank == std::string::npos || end == std::string::npos || blank > end) return std::nullopt;
  const std::string size = all.substr(kJournalHead.size(), blank - kJournalHead.size());
  if (!AllDigits(size) || size.size() > 18) return std::nullopt;
  std::string text = all.substr(end + 1);
  ByteFingerprint print;
  print.Add(text);
  if (all.substr(0, end + 1) != JournalHead(print)) return std::nullopt;
  return text;
}

// Makes the open file `size` bytes long and flushes it; 0, or the errno of the failure.
int EndAndFlush(int fd, std::uint64_t size) {
  if (int e = Sys(::ftruncate(fd, static_cast<off_t>(size)))) return e;
  return Sys(::fsync(fd));
}

// Rewrites the open file with `bytes`; 0, or the errno of the failure.
int Rewrite(int fd, std::string_view bytes) {
  if (int e = WriteAll(fd, bytes)) return e;
  return EndAndFlush(fd, bytes.size());
}

// Rewrites the open file with the `size` bytes that start at `offset` in the open file `from`; 0,
// or the errno of the failure.
int RewriteFrom(int fd, int from, off_t offset, std::uint64_t size) {
  std::string piece(std::min<std::uint64_t>(size, 1 << 16), '\0');
  for (std::uint64_t done = 0; done < size;) {
    const ssize_t n = ::pread(from, piece.data(), std::min<std::uint64_t>(piece.size(), size - done),
                              offset + static_cast<off_t>(done));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno;
    if (n == 0) return EIO;  // shorter than it was written
    if (int e = WriteAll(fd, std::string_view(piece.data(), static_cast<std::size_t>(n)), static_cast<off_t>(done)))
      return e;
    done += static_cast<std::uint64_t>(n);
  }
  return EndAndFlush(fd, size);
}

void RewriteInPlace(const fs::path& path, const fs::path& target, const FileStamp& stamp, std::string_view expected,
                    const ByteSource& source, const SaveHook& hook) {
  // The journal starts with the text's length and hash, so a first pass measures them.
  ByteFingerprint print;
  source([&](std::string_view piece) { print.Add(piece); });
  fs::path journal;
  int fd = CreateOwnFile(target, kJournal, journal);
  auto dropJournal = [&] {
    ::close(fd);
    ::unlink(journal.c_str());
    FlushFolder(target.parent_path());
  };
  if (fd < 0) throw SaveError(path, "cannot create the journal for rewriting it in place: " + SystemMessage(errno));
  const std::string head = JournalHead(print);
  std::string fault;
  try {
    PieceWriter out(fd);
    out.Add(head);
    ByteFingerprint again;
    source([&](std::string_view piece) {
      again.Add(piece);
      out.Add(piece);
    });
    if (out.error())
      fault = SystemMessage(out.error());
    else if (again != print)
      fault = "the text to save came out differently the second time";
    else if (int e = Sys(::fsync(fd)))
      fault = SystemMessage(e);
  } catch (...) {
    dropJournal();
    throw;
  }
  if (!fault.empty()) {
    dropJournal();
    throw SaveError(path, "cannot write the journal for rewriting it in place: " + fault);
  }
  FlushFolder(target.parent_path());
  try {
    if (hook) hook(SaveStep::Written, journal, target);
    CheckUnchanged(path, target, stamp, expected);
  } catch (...) {
    dropJournal();
    throw;
  }
  const int file = ::open(target.c_str(), O_WRONLY | O_CLOEXEC);
  if (file < 0) {
    const int e = errno;
    dropJournal();
    throw SaveError(path, "cannot open the file for writing: " + SystemMessage(e));
  }
  // The file gets the journal's text: what is known to be whole on disk.
  const int e = RewriteFrom(file, fd, static_cast<off_t>(head.size()), print.size);
  if (e) {
    // Half written: put the old text back; if even that fails, the journal stays for the next run.
    const int undo = Rewrite(file, expected);
    ::close(file);
    if (undo) {
      ::close(fd);
      throw SaveError(path, "cannot rewrite the file in place: " + SystemMessage(e) + "; it may be half written until "
                            "the next run of vb6kit completes the save from " + journal.filename().string(), false);
    }
    dropJournal();
    throw SaveError(path, "cannot rewrite the file in place: " + SystemMessage(e));
  }
  ::close(file);
  dropJournal();
}

void CompleteJournal(const fs::path& journal, const fs::path& target) {
  if (const auto text = ReadJournal(journal)) {
    // A journal written to its end: the file was being rewritten from it, maybe only in part.
    std::error_code ec;
    if (fs::is_regular_file(target, ec)) {
      std::string now;
      try {
        now = ReadBytes(target);
      } catch (const LoadError&) {
      }
      if (now != *text) {
        const int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC);
        const int e = fd < 0 ? errno : Rewrite(fd, *text);
        if (fd >= 0) ::close(fd);
        if (e)
          throw SaveError(target, "an interrupted save left it half written, and its journal " +
                                      journal.filename().string() + " cannot be applied: " + SystemMessage(e));
      }
    }
  }
  // A journal cut short was never applied: the file is the old one.
  ::unlink(journal.c_str());
}

}  // namespace

void CheckSavable(const fs::path& path) {
  struct stat st{};
  if (::stat(path.c_str(), &st) != 0) throw SaveError(path, "cannot be read: " + SystemMessage(errno));
  if (!S_ISREG(st.st_mode)) throw SaveError(path, "is not a regular file");
  if (!vb::WritableByMode(st))
    throw SaveError(path, "the file is read-only (mode " + vb::OctalMode(st.st_mode) + OwnerNote(st) + ")");
  // The temporary file or the journal goes beside the file (behind a link: beside its target).
  std::error_code ec;
  const fs::path folder = fs::canonical(path, ec).parent_path();
  if (!ec && ::stat(folder.c_str(), &st) == 0 && !vb::WritableByMode(st))
    throw SaveError(path, "its folder " + folder.generic_string() + " is read-only (mode " + vb::OctalMode(st.st_mode) +
                              OwnerNote(st) + ")");
}

void ByteFingerprint::Add(std::string_view bytes) {
  size += bytes.size();
  for (unsigned char c : bytes) hash = (hash ^ c) * 1099511628211ull;
}

FileStamp SaveFile(const fs::path& path, const FileStamp& stamp, std::string_view expected, const ByteSource& source,
                   const SaveHook& hook) {
  std::error_code ec;
  // Through symbolic links: their target is what gets replaced, and the links stay.
  const fs::path target = fs::canonical(path, ec);
  if (ec) throw SaveError(path, "the file is gone since it was loaded");
  CheckSavable(target);
  struct stat st{};
  if (::stat(target.c_str(), &st) != 0) throw SaveError(path, "cannot be read: " + SystemMessage(errno));
  // A new file would split hard links and take the file from its owner: rewrite it in place.
  if (st.st_nlink > 1 || st.st_uid != ::geteuid())
    RewriteInPlace(path, target, stamp, expected, source, hook);
  else
    Replace(path, target, st, stamp, expected, source, hook);
  return StampOf(target);
}

void FinishInterruptedSaves(const fs::path& folder) {
  std::error_code ec;
  bool removed = false;
  for (const auto& entry : fs::directory_iterator(folder.empty() ? fs::path(".") : folder, ec)) {
    const auto own = ParseOwnName(entry.path().filename().string());
    if (!own || Running(own->pid)) continue;
    if (own->journal)
      CompleteJournal(entry.path(), entry.path().parent_path() / own->target);
    else
      ::unlink(entry.path().c_str());
    removed = true;
  }
  if (removed) FlushFolder(folder);
}

}  // namespace files
