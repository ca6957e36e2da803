// Helpers for the VB6 files host tests: a scratch folder, the example project, file bytes.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "support/file_bytes.h"
#include "support/current_folder.h"
#include "support/temp_folder.h"

namespace files_test {

namespace fs = std::filesystem;

// The repository's example project (this file lies in tests/hosts/).
inline fs::path ExampleProject() { return fs::path(__FILE__).parent_path().parent_path().parent_path() / "examples" / "Inventory"; }

using testing_support::ReadFile;
using testing_support::WriteFile;

// CR LF for every LF of a text written in the test with "\n".
inline std::string Crlf(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

inline std::string Lf(const std::string& text) {
  std::string out;
  for (char c : text)
    if (c != '\r') out += c;
  return out;
}

// `text` with its one occurrence of `from` replaced by `to`.
inline std::string ReplaceOnce(std::string text, const std::string& from, const std::string& to) {
  const auto at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  EXPECT_EQ(text.find(from, at + 1), std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

// A temporary folder that can hold a copy of the example project.
class ScratchDir : public testing_support::TempFolder {
 public:
  ScratchDir() : TempFolder("vb6kit-files") {}
  // The example project copied here; `transform` may change each file's bytes on the way.
  template <class Transform>
  fs::path CopyExample(Transform transform) const {
    for (const auto& entry : fs::directory_iterator(ExampleProject()))
      WriteFile(path() / entry.path().filename(), transform(ReadFile(entry.path())));
    return path() / "Inventory.vbp";
  }
  fs::path CopyExample() const {
    return CopyExample([](const std::string& s) { return s; });
  }
  // Names of the files in the folder (temporary files of a failed save would show here).
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(path())) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
};

}  // namespace files_test
