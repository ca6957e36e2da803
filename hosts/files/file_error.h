// Errors of loading and saving VB6 files. Each names the file and what was wrong with it; the
// command line reports them and exits with code 2.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>

namespace files {

class FileError : public std::runtime_error {
 public:
  // what() reads "PATH: MESSAGE".
  FileError(const std::filesystem::path& path, const std::string& message)
      : std::runtime_error(path.generic_string() + ": " + message), path_(path), message_(message) {}
  const std::filesystem::path& path() const { return path_; }
  const std::string& message() const { return message_; }

 private:
  std::filesystem::path path_;
  std::string message_;
};

// A file that is missing, unreadable or not a VB6 file of the kind its name says.
class LoadError : public FileError {
 public:
  using FileError::FileError;
};

// A change that cannot be written: the file changed on disk since it was loaded, was removed, is
// read-only or cannot hold the new text; or the write itself failed. The file is then left whole
// (`untouched`), except when an in-place rewrite failed and could not be undone either: its
// journal then keeps the new text for the next run to complete.
class SaveError : public FileError {
 public:
  SaveError(const std::filesystem::path& path, const std::string& message, bool untouched = true)
      : FileError(path, message), untouched_(untouched) {}
  bool untouched() const { return untouched_; }

 private:
  bool untouched_;
};

}  // namespace files
