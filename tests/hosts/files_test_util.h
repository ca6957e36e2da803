// Helpers for the VB6 files host tests: a scratch folder, the example project, file bytes.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <random>
#include <vector>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace files_test {

namespace fs = std::filesystem;

// The repository's example project (this file lies in tests/hosts/).
inline fs::path ExampleProject() { return fs::path(__FILE__).parent_path().parent_path().parent_path() / "examples" / "Inventory"; }

inline std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

inline void WriteFile(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

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

// A fresh folder under the system's temporary folder, removed with everything in it.
class ScratchDir {
 public:
  ScratchDir() {
    static std::atomic<int> counter{0};
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    path_ = fs::temp_directory_path() /
            ("vb6kit-files-" + std::string(info ? info->name() : "test") + "-" + std::to_string(std::random_device{}() % 1000000) + "-" +
             std::to_string(counter++));
    fs::remove_all(path_);
    fs::create_directories(path_);
  }
  ~ScratchDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  const fs::path& path() const { return path_; }
  fs::path operator/(const std::string& name) const { return path_ / name; }
  // The example project copied here; `transform` may change each file's bytes on the way.
  template <class Transform>
  fs::path CopyExample(Transform transform) const {
    for (const auto& entry : fs::directory_iterator(ExampleProject()))
      WriteFile(path_ / entry.path().filename(), transform(ReadFile(entry.path())));
    return path_ / "Inventory.vbp";
  }
  fs::path CopyExample() const {
    return CopyExample([](const std::string& s) { return s; });
  }
  // Names of the files in the folder (temporary files of a failed save would show here).
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(path_)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

 private:
  fs::path path_;
};

// Makes `folder` the current one for the life of the object.
class CurrentFolder {
 public:
  explicit CurrentFolder(const fs::path& folder) : previous_(fs::current_path()) { fs::current_path(folder); }
  ~CurrentFolder() {
    std::error_code ec;
    fs::current_path(previous_, ec);
  }

 private:
  fs::path previous_;
};

}  // namespace files_test
