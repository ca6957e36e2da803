// .vbp project files and .vbg project groups: which module files a project holds. Both are
// only read; every line of them stays as it is on disk.
#pragma once

#include <filesystem>
#include <vector>

#include "hosts/files/text_file.h"

namespace files {

struct ProjectModule {
  Text key;                     // "Form", "Module", "Class", "UserControl", ...
  Text written;                 // the path as the project file writes it
  std::filesystem::path path;   // found on disk (letter case forgiven)
  bool maybeLink = true;        // false when `path` is known to name no symbolic link
};

struct ProjectFile {
  std::filesystem::path path;
  Text name;  // Name="Project1"; the file's stem when the line is missing
  std::vector<ProjectModule> modules;
};

// LoadError naming the file when it is missing or no .vbp.
ProjectFile ReadProjectFile(const std::filesystem::path& path, int codePage);
// The .vbp files of a .vbg, in its order; LoadError when it is missing or no .vbg.
std::vector<std::filesystem::path> ReadGroupFile(const std::filesystem::path& path, int codePage);

}  // namespace files
