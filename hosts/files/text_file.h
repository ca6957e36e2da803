// VB6 text files as lines: each line keeps its own line end (CR LF as VB6 writes them, LF as many
// repositories hold them), and the bytes are read and written in the file's code page.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/vb_text.h"

namespace files {

using vb::Text;
using vb::TextView;

// Code pages a file may be read in: 1252 (Windows western, the default), 28591 (ISO-8859-1),
// 65001 (UTF-8).
bool IsSupportedCodePage(int codePage);
Text Decode(std::string_view bytes, int codePage);
// Appends the decoded bytes to `text`.
void DecodeInto(Text& text, std::string_view bytes, int codePage);
// Writes the characters of Windows-1252 bytes to `out`, one for each byte.
void DecodeCp1252(std::string_view bytes, char16_t* out);
// True when each byte decodes to the character of its own number (U+0000 to U+00FF), as every
// byte does in 28591, ASCII does in 65001, and all but 0x80 to 0x9F do in 1252.
bool DecodesByteForByte(std::string_view bytes, int codePage);
std::string Encode(TextView text, int codePage);
// True when every character of `text` has a byte in the code page (nothing would become '?').
bool Encodable(TextView text, int codePage);
// Appends `text` in the code page; false, with part of it appended, when a character has no byte there.
bool EncodeInto(std::string& bytes, TextView text, int codePage);

// Where a file's bytes go, a piece at a time, as they are made: a file is written without ever
// being held whole.
using ByteSink = std::function<void(std::string_view bytes)>;

// The lines of a file's bytes as diff and patch read them, each up to and with its LF (a CR alone
// ends no line there), known by where they start: four bytes a line where views of them would take
// sixteen. Files of 4 GiB or more are refused (length_error).
class IndexedLines {
 public:
  using value_type = std::string_view;
  explicit IndexedLines(std::string_view bytes);
  std::size_t size() const { return starts_.size() - 1; }
  std::string_view operator[](std::size_t i) const { return bytes_.substr(starts_[i], starts_[i + 1] - starts_[i]); }

 private:
  std::string_view bytes_;
  std::vector<std::uint32_t> starts_;  // of each line, then the end of the bytes
};

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

// Why a file read in `codePage` is refused when it starts with a UTF-8 byte-order mark (as files
// converted by other editors do; the mark would hide the first line's key or attribute); empty
// when it does not, or when it is read as UTF-8, which keeps the mark.
std::string ByteOrderMarkFault(std::string_view bytes, int codePage);

// Splits decoded bytes into lines; joining them back gives the same bytes.
TextFile SplitFile(std::string_view bytes, int codePage);
std::string JoinFile(const TextFile& file, int codePage);

// A path as a .vbp or .vbg writes it (backslashes, relative to `base`), found on disk even when
// the letter case differs (projects come from Windows, where names ignore case). When nothing is
// found, the path as written. `link`, when given, is set to false when the path is known to name
// no symbolic link (it was looked at without following one: whoever needs to know asks no more).
std::filesystem::path ResolveProjectPath(const std::filesystem::path& base, TextView written, bool* link = nullptr);

}  // namespace files
