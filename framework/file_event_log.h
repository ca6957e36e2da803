// An application log in a text file: append-only UTF-8, one line per entry. The homes install
// it as the runtime's log (the command line beside its settings database, the Windows add-ins
// in the user's local application data).
#pragma once

#include <filesystem>

#include "framework/runtime.h"

namespace vb {

class FileEventLog final : public EventLog {
 public:
  explicit FileEventLog(std::filesystem::path file);

  // Appends the line (line breaks inside it become blanks, so one entry stays one line).
  // Creates the folder on first use. A file that cannot be written is skipped silently.
  void LogEvent(TextView line) override;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace vb
