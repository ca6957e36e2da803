#include "settings/lock_holders.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

namespace settings {

namespace {

// The byte ranges of SQLite's lock protocol on Unix (os_unix.c): a writer holds the reserved
// byte, a commit holds the pending byte and the whole shared range, readers share that range.
constexpr std::uint64_t kPendingByte = 0x40000000;
constexpr std::uint64_t kReservedByte = kPendingByte + 1;
constexpr std::uint64_t kSharedFirst = kPendingByte + 2;

std::string ProcessName(const std::string& pid) {
  std::ifstream comm("/proc/" + pid + "/comm");
  std::string name;
  std::getline(comm, name);
  return name;
}

}  // namespace

std::string DescribeLockHolders(const std::filesystem::path& file) {
  struct stat st{};
  if (::stat(file.c_str(), &st) != 0) return {};
  char device[64];
  std::snprintf(device, sizeof device, "%02x:%02x:%llu", major(st.st_dev), minor(st.st_dev),
                static_cast<unsigned long long>(st.st_ino));

  // What each process does, strongest first: committing, writing, reading.
  std::map<std::string, std::set<int>> doing;
  std::ifstream locks("/proc/locks");
  for (std::string line; std::getline(locks, line);) {
    // "1: POSIX  ADVISORY  WRITE 3146 fe:00:10986363 1073741825 1073741825"; waiters carry "->".
    if (line.find("->") != std::string::npos) continue;
    std::istringstream fields(line);
    std::string id, kind, mode, access, pid, where, start, end;
    if (!(fields >> id >> kind >> mode >> access >> pid >> where >> start >> end) || where != device) continue;
    const std::uint64_t first = std::stoull(start);
    const std::uint64_t last = end == "EOF" ? UINT64_MAX : std::stoull(end);
    const bool write = access == "WRITE";
    if (pid == "-1") pid = "?";  // an open-file-description lock has no process of its own
    if (first <= kReservedByte && kReservedByte <= last && write) doing[pid].insert(1);
    if (first <= kSharedFirst && kSharedFirst <= last) doing[pid].insert(write ? 0 : 2);
  }
  static const char* const kWhat[] = {"is writing its changes into it", "holds its write lock", "is reading it"};
  std::string text;
  for (const auto& [pid, what] : doing) {
    const std::string name = pid == "?" ? std::string() : ProcessName(pid);
    text += (text.empty() ? "" : ", ") + std::string("process ") + pid + (name.empty() ? "" : " (" + name + ")") +
            " " + kWhat[*what.begin()];
  }
  return text;
}

}  // namespace settings
