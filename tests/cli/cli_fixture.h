// A copy of the example project in a temporary folder, its own settings database beside it, and
// vb6kit run in-process on them.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "support/file_bytes.h"
#include "support/temp_folder.h"

namespace cli_test {

namespace fs = std::filesystem;

struct Result {
  int code = -1;
  std::string out;
  std::string err;
};

using testing_support::ReadFile;
using testing_support::WriteFile;

// A word for a shell command line.
inline std::string ShellQuoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// Runs a bash script in `folder` with no standard input; stdout and stderr are kept apart.
inline Result RunShell(const std::string& script, const fs::path& folder) {
  WriteFile(folder / "script.sh", script);
  const fs::path out = folder / "stdout.txt";
  const fs::path err = folder / "stderr.txt";
  const std::string command = "cd " + ShellQuoted(folder.string()) + " && bash script.sh </dev/null >" +
                              ShellQuoted(out.string()) + " 2>" + ShellQuoted(err.string());
  const int status = std::system(command.c_str());
  Result result;
  result.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.out = ReadFile(out);
  result.err = ReadFile(err);
  return result;
}

// Runs the built program in `folder` with these arguments (words for the shell).
inline Result RunProgram(const std::string& arguments, const fs::path& folder) {
  return RunShell(ShellQuoted(VB6KIT_PROGRAM) + " " + arguments + "\n", folder);
}

// The source tree's expected output files (tests/cli/expected).
inline std::string Expected(const std::string& name) {
  return ReadFile(fs::path(VB6KIT_SOURCE_DIR) / "tests" / "cli" / "expected" / name);
}

// Code text as the example files hold it: the lines given, each ended by CR LF.
inline std::string CrLf(std::initializer_list<const char*> lines) {
  std::string text;
  for (const char* line : lines) text += std::string(line) + "\r\n";
  return text;
}

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::copy(fs::path(VB6KIT_SOURCE_DIR) / "examples", root / "examples", fs::copy_options::recursive);
  }

  Result Run(std::vector<std::string> args, const std::string& input = "", bool interactive = false) {
    std::istringstream in(input);
    return RunWith(std::move(args), in, interactive);
  }
  Result RunWith(std::vector<std::string> args, std::istream& in, bool interactive) {
    args.insert(args.begin(), {"--settings", settings.string()});
    std::ostringstream out, err;
    Result result;
    result.code = cli::run(args, in, out, err, interactive);
    result.out = out.str();
    result.err = err.str();
    return result;
  }
  // A file of the copied example project.
  std::string File(const std::string& name) const { return (project / name).string(); }
  std::string Read(const std::string& name) const { return ReadFile(project / name); }
  std::string Original(const std::string& name) const {
    return ReadFile(fs::path(VB6KIT_SOURCE_DIR) / "examples" / "Inventory" / name);
  }
  // Every file of the copy with its bytes, to show that nothing was written.
  std::map<std::string, std::string> Snapshot() const {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root / "examples"))
      if (entry.is_regular_file()) files[entry.path().string()] = ReadFile(entry.path());
    return files;
  }

  testing_support::TempFolder root{"vb6kit-cli"};
  fs::path project = root / "examples" / "Inventory";
  fs::path settings = root / "settings.db";
};

}  // namespace cli_test
