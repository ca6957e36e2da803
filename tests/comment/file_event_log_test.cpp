// The application log file of the command line.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "comment/file_event_log.h"

namespace {

namespace fs = std::filesystem;

std::string Read(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  return content.str();
}

#ifndef _WIN32
// Sets an environment variable for the life of the object and puts the old value back.
class EnvVar {
 public:
  EnvVar(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value)
      setenv(name, value, 1);
    else
      unsetenv(name);
  }
  ~EnvVar() {
    if (old_)
      setenv(name_, old_->c_str(), 1);
    else
      unsetenv(name_);
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

#endif

struct TempFolder {
  // One folder per test, so that tests running side by side keep apart.
  TempFolder()
      : path(fs::temp_directory_path() /
             (std::string("comment_log_") + testing::UnitTest::GetInstance()->current_test_info()->name())) {
    fs::remove_all(path);
  }
  ~TempFolder() { fs::remove_all(path); }
  fs::path path;
};

TEST(FileEventLog, AppendsOneLinePerEntryAndCreatesItsFolder) {
  TempFolder temp;
  const fs::path file = temp.path / "nested" / "comment.log";
  {
    comment::FileEventLog log(file);
    log.LogEvent(u"12/07/2026 09:30:15 first");
    log.LogEvent(u"two\r\nlines in one entry \u00e9");
  }
  comment::FileEventLog again(file);
  again.LogEvent(u"third");
  EXPECT_EQ(Read(file), "12/07/2026 09:30:15 first\ntwo  lines in one entry \xc3\xa9\nthird\n");
}

TEST(FileEventLog, AnUnwritableFileIsSkippedSilently) {
  TempFolder temp;
  fs::create_directories(temp.path);
  std::ofstream(temp.path / "plain") << "x";
  // The log's folder would have to be a plain file: nothing can be written.
  comment::FileEventLog log(temp.path / "plain" / "comment.log");
  EXPECT_NO_THROW(log.LogEvent(u"lost"));
  EXPECT_EQ(Read(temp.path / "plain"), "x");
}

#ifndef _WIN32
TEST(FileEventLog, DefaultPathLiesBesideTheSettingsDatabase) {
  {
    EnvVar settings("VB6KIT_SETTINGS", "/srv/kit/conf/settings.db");
    EXPECT_EQ(comment::FileEventLog::DefaultPath(), fs::path("/srv/kit/conf/comment.log"));
  }
  {
    EnvVar settings("VB6KIT_SETTINGS", nullptr);
    EnvVar xdg("XDG_CONFIG_HOME", "/cfg");
    EXPECT_EQ(comment::FileEventLog::DefaultPath(), fs::path("/cfg/vb6kit/comment.log"));
  }
  {
    EnvVar settings("VB6KIT_SETTINGS", nullptr);
    EnvVar xdg("XDG_CONFIG_HOME", nullptr);
    EnvVar home("HOME", "/home/ann");
    EXPECT_EQ(comment::FileEventLog::DefaultPath(), fs::path("/home/ann/.config/vb6kit/comment.log"));
  }
}

#endif

}  // namespace
