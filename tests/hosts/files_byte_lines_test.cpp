// Splitting a file's bytes into lines 64 bytes at a time, and keeping many files' bytes in shared
// blocks: a line break, a CR LF or a byte above 0x7F on either side of a block's edge, and files
// that fill several blocks, read as they are on disk.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "files_test_util.h"
#include "hosts/files/byte_lines.h"
#include "hosts/files/workspace.h"

namespace {

using files::ByteLines;
using files_test::ScratchDir;

struct Split {
  std::string text, eol;
  bool highBytes;
  std::size_t indent;
  bool operator==(const Split&) const = default;
};

// The lines as a byte-at-a-time reader sees them.
std::vector<Split> SplitOneByOne(const std::string& bytes, std::size_t from) {
  std::vector<Split> lines;
  while (from < bytes.size()) {
    std::size_t end = from;
    bool high = false;
    while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n') high |= (bytes[end++] & 0x80) != 0;
    std::string eol = bytes.substr(end, bytes.compare(end, 2, "\r\n") == 0 ? 2 : end < bytes.size() ? 1 : 0);
    const std::string text = bytes.substr(from, end - from);
    lines.push_back({text, eol, high, std::min(text.find_first_not_of(" \t"), text.size())});
    from = end + eol.size();
  }
  return lines;
}

// The lines as the reader sees them, after checking that the loop over every line sees the same.
std::vector<Split> SplitByBlocks(const std::string& bytes, std::size_t from) {
  auto add = [&bytes](std::vector<Split>& lines, const files::ByteLine& line) {
    EXPECT_EQ(line.offset, static_cast<std::size_t>(line.text.data() - bytes.data()));
    lines.push_back({std::string(line.text), std::string(line.eol), line.highBytes, line.indent});
  };
  std::vector<Split> lines, looped;
  ByteLines reader(bytes, from);
  for (ByteLines::Line line; reader.Next(line);) add(lines, line);
  files::ForEachByteLine(bytes, from, [&](const files::ByteLine& line) { add(looped, line); });
  EXPECT_EQ(looped, lines);
  return lines;
}

TEST(FilesByteLines, LinesAndTheirEndsAreFoundAcrossBlockEdges) {
  // Every place for a break or a high byte around the edges of the first blocks, with every kind
  // of line end, lines longer than a block, and lines that start with blanks up to, across or
  // beyond a block's edge, or hold nothing else.
  for (const std::string eol : {"\r\n", "\n", "\r", "\n\r", "\r\r\n"}) {
    for (std::size_t at = 56; at < 72; ++at) {
      for (const std::size_t high : {std::string::npos, at - 1, at + eol.size(), std::size_t{130}}) {
        for (const std::size_t blanks : {0, 5, 70, 200}) {
          std::string bytes(200, 'x');
          for (std::size_t i = 0; i < blanks && i < 200; ++i) bytes[(at + eol.size() + i) % 200] = i % 3 ? ' ' : '\t';
          bytes.replace(at, eol.size(), eol);
          bytes.replace(at + 64, 1, "\n");
          if (high != std::string::npos) bytes[high] = '\x93';
          for (const std::size_t from : {std::size_t{0}, std::size_t{3}, at}) {
            SCOPED_TRACE(testing::Message() << "break at " << at << ", high byte at " << high << ", " << blanks
                                            << " blanks, from " << from);
            EXPECT_EQ(SplitByBlocks(bytes, from), SplitOneByOne(bytes, from));
            EXPECT_EQ(SplitByBlocks(bytes.substr(0, at + 1), from), SplitOneByOne(bytes.substr(0, at + 1), from));
          }
        }
      }
    }
  }
  EXPECT_TRUE(SplitByBlocks("", 0).empty());
  EXPECT_TRUE(SplitByBlocks("abc\r\n", 5).empty());
}

TEST(FilesByteLines, LineFeedsAreCounted) {
  std::string bytes;
  for (int i = 0; i < 5000; ++i) bytes += std::string(static_cast<std::size_t>(i % 37), 'a') + (i % 3 ? "\r\n" : "\n");
  EXPECT_EQ(files::CountLineFeeds(bytes), 5000u);
  EXPECT_EQ(files::CountLineFeeds(bytes.substr(0, 10)), 3u);  // "\n", "a\r\n", "aa\r\n", "aa"
  EXPECT_EQ(files::CountLineFeeds(""), 0u);
}

// Lines with bytes above 0x7F show their characters in each code page, wherever the bytes stand in
// lines shorter or longer than the sixteen bytes looked at together; in 1252 the bytes 0x80 to
// 0x9F are letters of their own.
TEST(FilesByteLines, HighBytesShowTheirCharactersInEachCodePage) {
  std::vector<std::string> lines;
  for (const std::size_t length : {1, 5, 15, 16, 17, 31, 32, 40, 70})
    for (const std::string high : {"\xE9", "\x80", "\x9F", "\x81", "\xFF"})
      for (const std::size_t at : {std::size_t{0}, length / 2, length - 1}) {
        std::string line(length, 'q');
        line.replace(at, 1, high);
        lines.push_back(line);
      }
  for (const int codePage : {1252, 28591}) {
    SCOPED_TRACE(codePage);
    ScratchDir dir;
    std::string bytes = "Attribute VB_Name = \"modHigh\"\r\n";
    std::vector<vb::Text> expected;
    for (const std::string& line : lines) {
      bytes += line + "\r\n";
      vb::Text text;
      for (const unsigned char c : line) text += codePage == 1252 ? vb::FromCp1252(c) : static_cast<char16_t>(c);
      expected.push_back(text);
    }
    files_test::WriteFile(dir / "modHigh.bas", bytes);
    files::Workspace ws = files::Workspace::Load(dir / "modHigh.bas", {.project = {}, .codePage = codePage});
    EXPECT_EQ(ws.vbe()->CodeLines(u"modHigh"), expected);
  }
}

// A module whose code lines end in different ways keeps each line's end through an edit, however
// the kinds mix (it cannot be written as if every line ended alike).
TEST(FilesByteLines, EachCodeLineKeepsItsOwnEndThroughAnEdit) {
  for (const std::string ends : {"\r\n\r\n\r\n", "\n\n", "\r\r", "\r\n\n\r\n", "\n\r\n", "\r\n\r",
                                 "\r\r\n", "\n\r\r", "\n\r\n\r"}) {
    SCOPED_TRACE(testing::PrintToString(ends));
    ScratchDir dir;
    std::string before = "Attribute VB_Name = \"modEnds\"\r\n", after = before;
    std::size_t i = 0;
    for (std::size_t at = 0; at < ends.size(); ++i) {
      const std::size_t length = ends.compare(at, 2, "\r\n") == 0 ? 2 : 1;
      const std::string eol = ends.substr(at, length), line = "x = " + std::to_string(i);
      before += line + eol;
      after += (i == 1 ? line + " + 1" : line) + eol;
      at += length;
    }
    files_test::WriteFile(dir / "modEnds.bas", before);
    files::Workspace ws = files::Workspace::Load(dir.path());
    ws.vbe()->Component(u"modEnds")->CodeModule()->ReplaceLine(2, u"x = 1 + 1");
    ws.Save();
    EXPECT_EQ(files_test::ReadFile(dir / "modEnds.bas"), after);
  }
}

// Modules whose bytes fill more than one of the blocks the files are read into, one of them larger
// than a block: each shows its own code, and saves to its own bytes.
TEST(FilesByteLines, ModulesBeyondOneBlockKeepTheirBytes) {
  ScratchDir dir;
  const std::size_t lines[] = {30000, 1000, 90000, 5, 40000};
  std::vector<std::string> written;
  for (std::size_t m = 0; m < std::size(lines); ++m) {
    const std::string name = "mod" + std::to_string(m);
    std::string bytes = "Attribute VB_Name = \"" + name + "\"\r\n";
    for (std::size_t i = 0; i < lines[m]; ++i) bytes += name + " = " + std::to_string(i) + " ' caf\xE9\r\n";
    files_test::WriteFile(dir / (name + ".bas"), bytes);
    written.push_back(bytes);
  }
  files::Workspace ws = files::Workspace::Load(dir.path());
  for (std::size_t m = 0; m < std::size(lines); ++m) {
    const std::string name = "mod" + std::to_string(m);
    const std::vector<vb::Text> code = ws.vbe()->CodeLines(vb::FromUtf8(name));
    ASSERT_EQ(code.size(), lines[m]) << name;
    EXPECT_EQ(vb::ToUtf8(code.back()), name + " = " + std::to_string(lines[m] - 1) + " ' caf\xC3\xA9");
  }
  EXPECT_TRUE(ws.PendingChanges().empty());
  EXPECT_TRUE(ws.Save().empty());
  for (std::size_t m = 0; m < std::size(lines); ++m)
    EXPECT_EQ(files_test::ReadFile(dir / ("mod" + std::to_string(m) + ".bas")), written[m]);
}

}  // namespace
