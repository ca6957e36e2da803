#include "comment/file_event_log.h"

#include <cstdlib>
#include <fstream>
#include <system_error>

#ifndef _WIN32
#include <pwd.h>
#include <unistd.h>
#endif

namespace comment {

namespace {

// A set, non-empty environment variable, or nullptr.
const char* Env(const char* name) {
  const char* value = std::getenv(name);
  return value && *value ? value : nullptr;
}

std::filesystem::path HomeFolder() {
  if (const char* home = Env("HOME")) return home;
#ifdef _WIN32
  if (const char* profile = Env("USERPROFILE")) return profile;
#else
  if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir && *entry->pw_dir) return entry->pw_dir;
#endif
  return std::filesystem::current_path();
}

}  // namespace

FileEventLog::FileEventLog(std::filesystem::path file) : path_(std::move(file)) {}

void FileEventLog::LogEvent(vb::TextView line) {
  try {
    vb::Text single(line);
    for (char16_t& c : single)
      if (c == vb::kCr || c == vb::kLf) c = u' ';
    std::error_code ignored;
    if (path_.has_parent_path()) std::filesystem::create_directories(path_.parent_path(), ignored);
    std::ofstream out(path_, std::ios::out | std::ios::app | std::ios::binary);
    if (!out) return;
    out << vb::ToUtf8(single) << '\n';
  } catch (...) {
    // The log never stops the command that writes to it.
  }
}

std::filesystem::path FileEventLog::DefaultPath() {
  if (const char* settings = Env("VB6KIT_SETTINGS")) {
    std::filesystem::path folder = std::filesystem::path(settings).parent_path();
    return folder / "comment.log";
  }
  if (const char* config = Env("XDG_CONFIG_HOME")) return std::filesystem::path(config) / "vb6kit" / "comment.log";
  return HomeFolder() / ".config" / "vb6kit" / "comment.log";
}

}  // namespace comment
