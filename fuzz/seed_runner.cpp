// Runs a fuzz target once over each of its seed inputs (files, or every file in the folders
// given), so the normal test run exercises every target without libFuzzer. A failed check aborts
// the run, right after the name of the seed that made it.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz_support.h"

namespace fs = std::filesystem;

int main(int argc, char** argv) {
  std::vector<fs::path> seeds;
  for (int i = 1; i < argc; ++i) {
    if (!fs::is_directory(argv[i])) {
      seeds.emplace_back(argv[i]);
      continue;
    }
    for (const auto& entry : fs::recursive_directory_iterator(argv[i]))
      if (entry.is_regular_file()) seeds.push_back(entry.path());
  }
  std::sort(seeds.begin(), seeds.end());
  if (seeds.empty()) {
    std::cerr << "usage: " << argv[0] << " SEED_FILE_OR_FOLDER...: no seed inputs found\n";
    return 2;
  }
  for (const fs::path& seed : seeds) {
    std::cout << seed.filename().string() << std::endl;  // flushed: a crash comes right after it
    std::ifstream in(seed, std::ios::binary);
    if (!in) {
      std::cerr << seed << ": cannot be read\n";
      return 2;
    }
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  }
  std::cout << seeds.size() << " seeds passed\n";
  return 0;
}
