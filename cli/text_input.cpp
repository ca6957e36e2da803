#include "cli/text_input.h"

#include <filesystem>
#include <fstream>

#include "cli/command.h"
#include "cli/output.h"

namespace cli {

namespace {

bool ValidUtf8(const std::string& bytes) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    std::size_t extra = 0;
    if (c >= 0x80) {
      if ((c >> 5) == 0x6)
        extra = 1;
      else if ((c >> 4) == 0xE)
        extra = 2;
      else if ((c >> 3) == 0x1E)
        extra = 3;
      else
        return false;
    }
    if (i + extra >= bytes.size() && extra > 0) return false;  // cut off at the end
    for (std::size_t k = 1; k <= extra; ++k)
      if ((static_cast<unsigned char>(bytes[i + k]) >> 6) != 0x2) return false;
    i += extra + 1;
  }
  return true;
}

}  // namespace

vb::Text BlockText(const std::string& bytes) {
  vb::Text text = ValidUtf8(bytes) ? CodeText(bytes) : CodeText(vb::ToUtf8(vb::FromCp1252(bytes)));
  if (text.size() >= 2 && text.compare(text.size() - 2, 2, vb::kCrLf) == 0) text.resize(text.size() - 2);
  return text;
}

std::string ReadFileBytes(const std::string& path) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) throw UsageError(path + ": is a folder, not a file");
  std::ifstream stream(path, std::ios::binary);
  if (!stream) throw UsageError(path + ": cannot read the file");
  return ReadAll(stream);
}

vb::Text ReadTextFile(const std::string& path) { return BlockText(ReadFileBytes(path)); }

}  // namespace cli
