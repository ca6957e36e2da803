// The application log file of the command line.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "comment/file_event_log.h"
#include "support/file_bytes.h"
#include "support/scoped_env.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using testing_support::ReadFile;
using testing_support::ScopedEnv;
using testing_support::TempFolder;

TEST(FileEventLog, AppendsOneLinePerEntryAndCreatesItsFolder) {
  TempFolder temp;
  const fs::path file = temp / "nested" / "comment.log";
  {
    comment::FileEventLog log(file);
    log.LogEvent(u"12/07/2026 09:30:15 first");
    log.LogEvent(u"two\r\nlines in one entry \u00e9");
  }
  comment::FileEventLog again(file);
  again.LogEvent(u"third");
  EXPECT_EQ(ReadFile(file), "12/07/2026 09:30:15 first\ntwo  lines in one entry \xc3\xa9\nthird\n");
}

TEST(FileEventLog, AnUnwritableFileIsSkippedSilently) {
  TempFolder temp;
  std::ofstream(temp / "plain") << "x";
  // The log's folder would have to be a plain file: nothing can be written.
  comment::FileEventLog log(temp / "plain" / "comment.log");
  EXPECT_NO_THROW(log.LogEvent(u"lost"));
  EXPECT_EQ(ReadFile(temp / "plain"), "x");
}

TEST(FileEventLog, DefaultPathLiesBesideTheSettingsDatabase) {
  {
    ScopedEnv settings("VB6KIT_SETTINGS", "/srv/kit/conf/settings.db");
    EXPECT_EQ(comment::FileEventLog::DefaultPath(), fs::path("/srv/kit/conf/comment.log"));
  }
  {
    ScopedEnv settings("VB6KIT_SETTINGS", nullptr);
    ScopedEnv xdg("XDG_CONFIG_HOME", "/cfg");
    EXPECT_EQ(comment::FileEventLog::DefaultPath(), fs::path("/cfg/vb6kit/comment.log"));
  }
  {
    ScopedEnv settings("VB6KIT_SETTINGS", nullptr);
    ScopedEnv xdg("XDG_CONFIG_HOME", nullptr);
    ScopedEnv home("HOME", "/home/ann");
    EXPECT_EQ(comment::FileEventLog::DefaultPath(), fs::path("/home/ann/.config/vb6kit/comment.log"));
  }
}

}  // namespace
