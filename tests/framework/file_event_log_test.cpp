// The application log file that the homes install as the runtime's log.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "framework/file_event_log.h"
#include "support/file_bytes.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using testing_support::ReadFile;
using testing_support::TempFolder;

TEST(FileEventLog, AppendsOneLinePerEntryAndCreatesItsFolder) {
  TempFolder temp;
  const fs::path file = temp / "nested" / "comment.log";
  {
    vb::FileEventLog log(file);
    log.LogEvent(u"12/07/2026 09:30:15 first");
    log.LogEvent(u"two\r\nlines in one entry \u00e9");
  }
  vb::FileEventLog again(file);
  again.LogEvent(u"third");
  EXPECT_EQ(ReadFile(file), "12/07/2026 09:30:15 first\ntwo  lines in one entry \xc3\xa9\nthird\n");
}

TEST(FileEventLog, AnUnwritableFileIsSkippedSilently) {
  TempFolder temp;
  std::ofstream(temp / "plain") << "x";
  // The log's folder would have to be a plain file: nothing can be written.
  vb::FileEventLog log(temp / "plain" / "comment.log");
  EXPECT_NO_THROW(log.LogEvent(u"lost"));
  EXPECT_EQ(ReadFile(temp / "plain"), "x");
}

}  // namespace
