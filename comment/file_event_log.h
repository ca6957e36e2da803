// The application log of the comment add-in on the command line: an append-only UTF-8 text file
// per user, one line per entry. The command line installs it as the runtime's log.
#pragma once

#include <filesystem>

#include "framework/runtime.h"

namespace comment {

class FileEventLog final : public vb::EventLog {
 public:
  explicit FileEventLog(std::filesystem::path file);

  // Appends the line (line breaks inside it become blanks, so one entry stays one line).
  // Creates the folder on first use. A file that cannot be written is skipped silently.
  void LogEvent(vb::TextView line) override;
  const std::filesystem::path& path() const { return path_; }

  // "comment.log" beside the settings database: the folder of VB6KIT_SETTINGS when set,
  // else $XDG_CONFIG_HOME/vb6kit, else ~/.config/vb6kit.
  static std::filesystem::path DefaultPath();

 private:
  std::filesystem::path path_;
};

}  // namespace comment
