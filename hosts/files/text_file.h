// VB6 text files as lines: each line keeps its own line end (CR LF as VB6 writes them, LF as many
// repositories hold them), the bytes are read and written in the file's code page, and a file
// is replaced atomically.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "framework/vb_text.h"

namespace files {

using vb::Text;
using vb::TextView;

// Code pages a file may be read in: 1252 (Windows western, the default), 28591 (ISO-8859-1),
// 65001 (UTF-8).
bool IsSupportedCodePage(int codePage);
Text Decode(std::string_view bytes, int codePage);
std::string Encode(TextView text, int codePage);
// True when every character of `text` has a byte in the code page (nothing would become '?').
bool Encodable(TextView text, int codePage);

struct Line {
  Text text;
  std::string eol;  // "\r\n", "\n", "\r", or "" for a last line without a break
  bool operator==(const Line&) const = default;
};

struct TextFile {
  std::string bom;          // a UTF-8 byte-order mark kept as it was
  std::vector<Line> lines;
  std::string newline;      // the break new lines get: the file's first one, CR LF when it has none
};

// Splits decoded bytes into lines; joining them back gives the same bytes.
TextFile SplitFile(std::string_view bytes, int codePage);
std::string JoinFile(const TextFile& file, int codePage);

// Reads a whole file; LoadError naming it when it is missing or unreadable.
std::string ReadBytes(const std::filesystem::path& path);

// Called after the temporary file is written and flushed, before it replaces the target; tests
// throw from it to stand for a failure at the worst moment.
using WriteHook = std::function<void(const std::filesystem::path& temporary, const std::filesystem::path& target)>;

// Writes `bytes` to a temporary file in the target's folder, flushes it to disk, then renames it
// over the target, so the target is either the old file or the new one, never half of either.
// The temporary file takes over the target's permissions. SaveError when anything fails, with
// the temporary file removed.
void WriteAtomically(const std::filesystem::path& target, const std::string& bytes, const WriteHook& hook = {});

// A path as a .vbp or .vbg writes it (backslashes, relative to `base`), found on disk even when
// the letter case differs (projects come from Windows, where names ignore case). When nothing is
// found, the path as written.
std::filesystem::path ResolveProjectPath(const std::filesystem::path& base, TextView written);

}  // namespace files
