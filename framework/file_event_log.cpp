#include "framework/file_event_log.h"

#include <fstream>
#include <system_error>

namespace vb {

FileEventLog::FileEventLog(std::filesystem::path file) : path_(std::move(file)) {}

void FileEventLog::LogEvent(TextView line) {
  try {
    Text single(line);
    for (char16_t& c : single)
      if (c == kCr || c == kLf) c = u' ';
    std::error_code ignored;
    if (path_.has_parent_path()) std::filesystem::create_directories(path_.parent_path(), ignored);
    std::ofstream out(path_, std::ios::out | std::ios::app | std::ios::binary);
    if (!out) return;
    out << ToUtf8(single) << '\n';
  } catch (...) {
    // The log never stops the command that writes to it.
  }
}

}  // namespace vb
