// Who holds SQLite's locks on a database file, for the message that ends a wait for a lock:
// SQLite locks a file with POSIX advisory locks on bytes past the first gigabyte, and Linux lists
// every such lock, with the process holding it, in /proc/locks.
#pragma once

#include <filesystem>
#include <string>

namespace settings {

// "process 4321 (sqlite3) holds its write lock, process 77 (vb6kit) is reading it", or the
// empty string when nobody can be named (another system, or locks of another machine).
std::string DescribeLockHolders(const std::filesystem::path& file);

}  // namespace settings
