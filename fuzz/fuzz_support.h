// What the fuzz targets share: the libFuzzer entry point each defines, a check that stops the run
// when a property of the code under test does not hold, and a scratch folder for the targets whose
// entry points read files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "support/temp_folder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace fuzz {

[[noreturn]] inline void Fail(const char* condition, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, condition);
  std::abort();  // libFuzzer keeps the input as a crash; the seed runner's test fails
}

#define FUZZ_CHECK(condition) ((condition) ? static_cast<void>(0) : ::fuzz::Fail(#condition, __FILE__, __LINE__))

inline std::string_view Bytes(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// A folder of this process's own in the temporary folder, removed when the program ends.
class ScratchFolder {
 public:
  const std::filesystem::path& path() const { return folder_.path(); }

  // Writes a file in the folder (subfolders made as needed) and returns its path.
  std::filesystem::path Write(const std::filesystem::path& relative, std::string_view bytes) const {
    const std::filesystem::path file = folder_ / relative;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) {
      std::fprintf(stderr, "cannot write %s\n", file.c_str());
      std::abort();
    }
    return file;
  }

  // True when `file` names something inside the folder (".." and letter case taken as written).
  bool Holds(const std::filesystem::path& file) const {
    const std::filesystem::path relative = file.lexically_normal().lexically_relative(folder_.path());
    return !relative.empty() && *relative.begin() != "..";
  }

 private:
  testing_support::TempFolder folder_{"vb6kit-fuzz"};
};

}  // namespace fuzz
