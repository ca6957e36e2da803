// Parsing and writing the designer block of VB6 form-like files.
#include "hosts/files/designer_block.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "hosts/files/byte_lines.h"

namespace files {
namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

TextView TrimBlanks(TextView s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

std::vector<Text> Words(TextView s) {
  std::vector<Text> words;
  std::size_t i = 0;
  while (i < s.size()) {
    while (i < s.size() && IsBlank(s[i])) ++i;
    std::size_t start = i;
    while (i < s.size() && !IsBlank(s[i])) ++i;
    if (i > start) words.emplace_back(s.substr(start, i - start));
  }
  return words;
}

// "BeginProperty Font" opens a sub-block; "EndProperty" closes it.
bool StartsWord(TextView trimmed, TextView word) {
  return vb::StartsWith(trimmed, word) && (trimmed.size() == word.size() || IsBlank(trimmed[word.size()]));
}

// The first line of lines kept as bytes, its line end left out.
std::string_view FirstLineBytes(std::string_view bytes) {
  ByteLines reader(bytes, 0);
  ByteLines::Line line;
  return reader.Next(line) ? line.text : std::string_view();
}

// One line as read, its line end included: the line and its end apart.
ByteLines::Line SplitEnd(std::string_view line) {
  std::size_t text = line.size();
  if (text > 0 && line[text - 1] == '\n') --text;
  if (text > 0 && line[text - 1] == '\r') --text;
  return ByteLines::Line{line.substr(0, text), line.substr(text), 0};
}

Line DecodeLine(std::string_view bytes, int codePage) {
  const ByteLines::Line line = SplitEnd(bytes);
  return Line{Decode(line.text, codePage), std::string(line.eol)};
}

}  // namespace

Line DesignerNode::Begin() const { return written ? written->begin : DecodeLine(beginBytes, codePage); }
Line DesignerNode::End() const { return written ? written->end : DecodeLine(endBytes, codePage); }

void DesignerNode::SetEnds(Line begin, Line end) {
  written = std::make_shared<const Ends>(Ends{std::move(begin), std::move(end)});
  beginBytes = endBytes = {};
}

Text DesignerNode::Indent() const {
  const Text begin = Begin().text;
  std::size_t n = 0;
  while (n < begin.size() && IsBlank(begin[n])) ++n;
  return begin.substr(0, n);
}

Text DesignerNode::Library() const {
  const auto words = Words(Begin().text);
  if (words.size() < 2 || words[1].empty() || words[1].front() == u'{') return {};
  const auto dot = words[1].rfind(u'.');
  return dot == Text::npos ? Text() : words[1].substr(0, dot);
}

std::vector<Line> DesignerNode::LinesOf(const DesignerItem& item) const {
  if (item.bytes.empty()) return item.lines;
  std::vector<Line> lines;
  ByteLines reader(item.bytes, 0);
  for (ByteLines::Line line; reader.Next(line);) lines.push_back(Line{Decode(line.text, codePage), std::string(line.eol)});
  return lines;
}

std::vector<Line>& DesignerNode::Edit(DesignerItem& item) const {
  if (!item.bytes.empty()) {
    item.lines = LinesOf(item);
    item.bytes = {};
  }
  return item.lines;
}

Text DesignerNode::NameOf(const DesignerItem& item) const {
  const Text first = item.bytes.empty() ? (item.lines.empty() ? Text() : item.lines.front().text)
                                        : Decode(FirstLineBytes(item.bytes), codePage);
  if (item.kind == DesignerItem::Kind::Property) return PropertyNameOf(first);
  if (item.kind != DesignerItem::Kind::PropertyBlock) return {};
  auto words = Words(first);
  return words.size() > 1 ? words[1] : Text();
}

void DesignerNode::SplitLines() {
  auto isLines = [](const DesignerItem& item) { return item.kind == DesignerItem::Kind::Lines; };
  if (std::none_of(items.begin(), items.end(), isLines)) return;
  std::vector<DesignerItem> split;
  for (DesignerItem& item : items) {
    if (item.kind != DesignerItem::Kind::Lines) {
      split.push_back(std::move(item));
      continue;
    }
    for (DesignerItem& part : ItemsOfLines(item.bytes)) split.push_back(std::move(part));
  }
  items = std::move(split);
}

DesignerItem* DesignerNode::FindProperty(TextView property) {
  SplitLines();
  for (DesignerItem& item : items)
    if ((item.kind == DesignerItem::Kind::Property || item.kind == DesignerItem::Kind::PropertyBlock) &&
        vb::EqualsNoCase(NameOf(item), property))
      return &item;
  return nullptr;
}

bool IsBeginLine(TextView text) {
  TextView trimmed = TrimBlanks(text);
  return StartsWord(trimmed, u"Begin") && Words(trimmed).size() >= 3;
}

std::string_view TrimBlankBytes(std::string_view s) {
  while (!s.empty() && IsBlankByte(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlankByte(s.back())) s.remove_suffix(1);
  return s;
}

std::vector<std::string_view> WordBytes(std::string_view s, std::size_t most) {
  std::vector<std::string_view> words;
  std::size_t i = 0;
  while (i < s.size() && words.size() < most) {
    while (i < s.size() && IsBlankByte(s[i])) ++i;
    const std::size_t begin = i;
    while (i < s.size() && !IsBlankByte(s[i])) ++i;
    if (i > begin) words.push_back(s.substr(begin, i - begin));
  }
  return words;
}

bool StartsWordBytes(std::string_view trimmed, std::string_view word) {
  return trimmed.substr(0, word.size()) == word && (trimmed.size() == word.size() || IsBlankByte(trimmed[word.size()]));
}

bool IsBeginBytes(std::string_view trimmed) { return StartsWordBytes(trimmed, "Begin") && WordBytes(trimmed, 3).size() >= 3; }

std::vector<DesignerItem> ItemsOfLines(std::string_view bytes) {
  std::vector<DesignerItem> items;
  ByteLines reader(bytes, 0);
  for (ByteLines::Line line; reader.Next(line);) {
    DesignerItem item;
    const std::size_t from = line.offset;
    std::string_view trimmed = TrimBlankBytes(line.text);
    if (StartsWordBytes(trimmed, "BeginProperty")) {
      item.kind = DesignerItem::Kind::PropertyBlock;
      // The parser found its end: the EndProperty that brings the depth back to nothing.
      for (int depth = 1; depth > 0 && reader.Next(line);) {
        trimmed = TrimBlankBytes(line.text);
        if (StartsWordBytes(trimmed, "BeginProperty")) ++depth;
        if (StartsWordBytes(trimmed, "EndProperty")) --depth;
      }
    } else if (trimmed.find('=') != std::string_view::npos) {
      item.kind = DesignerItem::Kind::Property;
    }
    item.bytes = bytes.substr(from, reader.position() - from);
    items.push_back(std::move(item));
  }
  return items;
}

namespace {

// The VB6 designer nests containers a handful deep; a file nesting past this is damaged or made
// to harm, and is refused before the parser's recursion could exhaust the stack.
constexpr int kMaxDesignerDepth = 500;

class DesignerParser {
 public:
  DesignerParser(std::string_view bytes, std::size_t begin, int codePage, std::size_t lineNumber)
      : bytes_(bytes), lines_(bytes, begin), codePage_(codePage), number_(lineNumber - 1) {
    Next();
  }

  std::shared_ptr<DesignerNode> Block(int depth) {
    const std::size_t first = number_;
    if (depth > kMaxDesignerDepth)
      throw DesignerSyntaxError(first, "controls nest more than " + std::to_string(kMaxDesignerDepth) +
                                           " deep; a VB6 form never does");
    auto node = std::make_shared<DesignerNode>();
    node->codePage = codePage_;
    node->beginBytes = WithEnd(line_);
    // The words looked for are ASCII, which every supported code page writes as itself.
    const auto words = WordBytes(line_.text, 3);
    if (!more_ || words.size() < 3 || words[0] != "Begin")
      throw DesignerSyntaxError(first, "expected \"Begin Library.Class Name\"");
    const std::string_view qualified = words[1];
    const auto dot = qualified.rfind('.');
    node->className = Decode(dot != std::string_view::npos && qualified.front() != '{' ? qualified.substr(dot + 1)
                                                                                        : qualified, codePage_);
    node->name = Decode(words[2], codePage_);
    Next();
    while (more_) {
      const std::string_view trimmed = TrimBlankBytes(line_.text);
      if (trimmed == "End") {
        node->endBytes = WithEnd(line_);
        Next();
        node->items.shrink_to_fit();
        return node;
      }
      DesignerItem item;
      const std::size_t from = line_.offset;
      if (IsBeginBytes(trimmed)) {
        item.kind = DesignerItem::Kind::Control;
        item.control = Block(depth + 1);
        node->items.push_back(std::move(item));
        continue;
      }
      if (StartsWordBytes(trimmed, "BeginProperty"))
        PropertyBlock();
      else
        Next();
      // Lines one after the other stay one item until a change splits them.
      const std::string_view read = bytes_.substr(from, (more_ ? line_.offset : bytes_.size()) - from);
      if (!node->items.empty() && node->items.back().kind == DesignerItem::Kind::Lines) {
        std::string_view& run = node->items.back().bytes;
        run = std::string_view(run.data(), run.size() + read.size());
        continue;
      }
      item.kind = DesignerItem::Kind::Lines;
      item.bytes = read;
      node->items.push_back(std::move(item));
    }
    throw DesignerSyntaxError(first, "\"Begin\" block of " + vb::ToUtf8(node->name) + " has no \"End\"");
  }

 private:
  void Next() {
    more_ = lines_.Next(line_);
    ++number_;
  }
  // A line as read with its line end, which follows it in the bytes.
  static std::string_view WithEnd(const ByteLines::Line& line) {
    return std::string_view(line.text.data(), line.text.size() + line.eol.size());
  }

  // Leaves the reader after the block's "EndProperty".
  void PropertyBlock() {
    const std::size_t first = number_;
    int depth = 0;
    for (; more_; Next()) {
      const std::string_view trimmed = TrimBlankBytes(line_.text);
      if (StartsWordBytes(trimmed, "BeginProperty")) ++depth;
      if (StartsWordBytes(trimmed, "EndProperty") && --depth == 0) {
        Next();
        return;
      }
    }
    throw DesignerSyntaxError(first, "\"BeginProperty\" has no \"EndProperty\"");
  }

  std::string_view bytes_;
  ByteLines lines_;
  ByteLines::Line line_;
  bool more_ = false;
  int codePage_;
  std::size_t number_;  // of line_ in the file
};

}  // namespace

std::shared_ptr<DesignerNode> ParseDesigner(const memhost::SharedBytes& bytes, std::size_t begin, std::size_t end,
                                            int codePage, std::size_t lineNumber) {
  DesignerParser parser(bytes.view().substr(0, end), begin, codePage, lineNumber);
  // The root owns the bytes the whole tree's lines are in.
  struct Rooted {
    memhost::SharedBytes source;
    std::shared_ptr<DesignerNode> root;
  };
  auto rooted = std::make_shared<Rooted>(Rooted{bytes, parser.Block(1)});
  return std::shared_ptr<DesignerNode>(rooted, rooted->root.get());
}

namespace {

// Hands a block's first or last line to the sink, as read or as written.
void RenderEnd(std::string_view read, const Line* written, const DesignerSink& add) {
  if (written) {
    add.written(written->text, written->eol);
    return;
  }
  const ByteLines::Line line = SplitEnd(read);
  add.asRead(line.text, line.eol);
}

}  // namespace

void RenderDesigner(const DesignerNode& node, const DesignerSink& add) {
  RenderEnd(node.beginBytes, node.written ? &node.written->begin : nullptr, add);
  for (const DesignerItem& item : node.items) {
    if (item.kind == DesignerItem::Kind::Control) {
      RenderDesigner(*item.control, add);
    } else if (!item.bytes.empty()) {
      ByteLines reader(item.bytes, 0);
      for (ByteLines::Line line; reader.Next(line);) add.asRead(line.text, line.eol);
    } else {
      for (const Line& line : item.lines) add.written(line.text, line.eol);
    }
  }
  RenderEnd(node.endBytes, node.written ? &node.written->end : nullptr, add);
}

void FillLineEnds(DesignerNode& node, std::string& previous) {
  auto fill = [&](Line& line) {
    if (line.eol.empty()) line.eol = previous;
    previous = line.eol;
  };
  // Lines as read end where the block goes on: with their own break.
  auto asRead = [&](std::string_view bytes) { previous = std::string(SplitEnd(bytes).eol); };
  std::optional<DesignerNode::Ends> ends;
  if (node.written) {
    ends = *node.written;
    fill(ends->begin);
  } else {
    asRead(node.beginBytes);
  }
  for (DesignerItem& item : node.items) {
    if (item.control) {
      FillLineEnds(*item.control, previous);
    } else if (!item.bytes.empty()) {
      ByteLines reader(item.bytes, 0);
      ByteLines::Line line;
      while (reader.Next(line)) previous = std::string(line.eol);
    } else {
      for (Line& line : item.lines) fill(line);
    }
  }
  if (!ends) {
    asRead(node.endBytes);
    return;
  }
  fill(ends->end);
  if (ends->begin.eol != node.written->begin.eol || ends->end.eol != node.written->end.eol)
    node.SetEnds(std::move(ends->begin), std::move(ends->end));
}

void KeepPristine(DesignerNode& node) {
  if (node.pristine) return;
  auto pristine = std::make_shared<DesignerNode>(node);
  if (const auto before = pristine->itemsBeforeAppending) {
    pristine->items.erase(pristine->items.begin() + static_cast<std::ptrdiff_t>(*before), pristine->items.end());
    pristine->itemsBeforeAppending.reset();
  }
  node.pristine = std::move(pristine);
}

void AppendControl(DesignerNode& node, std::shared_ptr<DesignerNode> control) {
  if (!node.pristine && !node.itemsBeforeAppending) node.itemsBeforeAppending = node.items.size();
  DesignerItem item;
  item.kind = DesignerItem::Kind::Control;
  item.control = std::move(control);
  node.items.push_back(std::move(item));
}

void RestoreDesigner(DesignerNode& node) {
  if (auto pristine = node.pristine) {
    node = *pristine;
    node.pristine = std::move(pristine);
  } else if (const auto before = node.itemsBeforeAppending) {
    node.items.erase(node.items.begin() + static_cast<std::ptrdiff_t>(*before), node.items.end());
    node.itemsBeforeAppending.reset();
  }
  for (DesignerItem& item : node.items)
    if (item.control) RestoreDesigner(*item.control);
}

void CommitDesigner(DesignerNode& node) {
  node.pristine = nullptr;
  node.itemsBeforeAppending.reset();
  for (DesignerItem& item : node.items)
    if (item.control) CommitDesigner(*item.control);
}

void CollectControls(const DesignerNode& node, std::vector<std::shared_ptr<DesignerNode>>& out) {
  for (const DesignerItem& item : node.items) {
    if (!item.control) continue;
    out.push_back(item.control);
    CollectControls(*item.control, out);
  }
}

Text PropertyNameOf(TextView line) {
  auto eq = line.find(u'=');
  return Text(TrimBlanks(line.substr(0, eq == TextView::npos ? line.size() : eq)));
}

Text ValueTextOf(TextView line) {
  auto eq = line.find(u'=');
  if (eq == TextView::npos) return {};
  return Text(TrimBlanks(line.substr(eq + 1)));
}

void ReplaceValue(Line& line, TextView value) {
  auto eq = line.text.find(u'=');
  if (eq == Text::npos) return;
  std::size_t start = eq + 1;
  while (start < line.text.size() && IsBlank(line.text[start])) ++start;
  // A value written right after "=" gets VB's three blanks.
  Text prefix = start == eq + 1 ? line.text.substr(0, eq + 1) + u"   " : line.text.substr(0, start);
  line.text = prefix + Text(value);
}

Text PropertyLine(TextView indent, TextView name, TextView value) {
  Text line = Text(indent) + Text(name);
  while (line.size() < indent.size() + 16) line += u' ';
  return line + u"=   " + Text(value);
}

std::optional<vb::Variant> ParseValue(TextView valueText) {
  TextView v = TrimBlanks(valueText);
  if (v.empty()) return vb::Variant(Text());
  if (v.front() == u'$') return std::nullopt;  // a text kept in the .frx file
  if (v.front() == u'"') {
    Text text;
    std::size_t i = 1;
    for (; i < v.size(); ++i) {
      if (v[i] == u'"') {
        if (i + 1 < v.size() && v[i + 1] == u'"') {
          text += u'"';
          ++i;
          continue;
        }
        break;
      }
      text += v[i];
    }
    TextView rest = TrimBlanks(i + 1 < v.size() ? v.substr(i + 1) : TextView());
    if (!rest.empty() && rest.front() == u':') return std::nullopt;  // a picture in the .frx file
    return vb::Variant(std::move(text));
  }
  // Drop the comment VB adds after enumerated and Boolean values: "-1  'True".
  auto quote = v.find(u'\'');
  if (quote != TextView::npos) v = TrimBlanks(v.substr(0, quote));
  if (v.size() > 2 && v[0] == u'&' && (v[1] == u'H' || v[1] == u'h')) {
    TextView digits = v.substr(2);
    const bool isLong = !digits.empty() && digits.back() == u'&';
    if (isLong) digits.remove_suffix(1);
    if (digits.empty() || digits.size() > 8) return vb::Variant(Text(v));
    std::uint32_t n = 0;
    for (char16_t c : digits) {
      int d = (c >= u'0' && c <= u'9') ? c - u'0' : (c >= u'A' && c <= u'F') ? c - u'A' + 10
                                                  : (c >= u'a' && c <= u'f') ? c - u'a' + 10 : -1;
      if (d < 0) return vb::Variant(Text(v));
      n = n * 16 + static_cast<std::uint32_t>(d);
    }
    // &HFFFF is the Integer -1; &HFFFF& and any longer literal are Longs.
    if (!isLong && digits.size() <= 4) return vb::Variant(static_cast<double>(static_cast<std::int16_t>(n)));
    return vb::Variant(static_cast<double>(static_cast<std::int32_t>(n)));
  }
  if (auto number = vb::ParseNumber(v)) return vb::Variant(*number);
  return vb::Variant(Text(v));
}

Text QuoteText(TextView text) { return u"\"" + vb::Replace(text, u"\"", u"\"\"") + u"\""; }

}  // namespace files
