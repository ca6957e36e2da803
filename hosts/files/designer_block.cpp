// Parsing and writing the designer block of VB6 form-like files.
#include "hosts/files/designer_block.h"

#include <cstdint>

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

DesignerItem ParsePropertyBlock(const std::vector<Line>& lines, std::size_t& pos) {
  DesignerItem item;
  item.kind = DesignerItem::Kind::PropertyBlock;
  auto words = Words(lines[pos].text);
  item.name = words.size() > 1 ? words[1] : Text();
  const std::size_t first = pos;
  int depth = 0;
  for (; pos < lines.size(); ++pos) {
    TextView trimmed = TrimBlanks(lines[pos].text);
    item.lines.push_back(lines[pos]);
    if (StartsWord(trimmed, u"BeginProperty")) ++depth;
    if (StartsWord(trimmed, u"EndProperty") && --depth == 0) {
      ++pos;
      return item;
    }
  }
  throw DesignerSyntaxError(first + 1, "\"BeginProperty\" has no \"EndProperty\"");
}

}  // namespace

Text DesignerNode::Indent() const {
  std::size_t n = 0;
  while (n < begin.text.size() && IsBlank(begin.text[n])) ++n;
  return begin.text.substr(0, n);
}

DesignerItem* DesignerNode::FindProperty(TextView property) {
  for (DesignerItem& item : items)
    if ((item.kind == DesignerItem::Kind::Property || item.kind == DesignerItem::Kind::PropertyBlock) &&
        vb::EqualsNoCase(item.name, property))
      return &item;
  return nullptr;
}

bool IsBeginLine(TextView text) {
  TextView trimmed = TrimBlanks(text);
  return StartsWord(trimmed, u"Begin") && Words(trimmed).size() >= 3;
}

namespace {

// The VB6 designer nests containers a handful deep; a file nesting past this is damaged or made
// to harm, and is refused before the parser's recursion could exhaust the stack.
constexpr int kMaxDesignerDepth = 500;

std::shared_ptr<DesignerNode> ParseBlock(const std::vector<Line>& lines, std::size_t& pos, int depth) {
  const std::size_t first = pos;
  if (depth > kMaxDesignerDepth)
    throw DesignerSyntaxError(first + 1, "controls nest more than " + std::to_string(kMaxDesignerDepth) +
                                             " deep; a VB6 form never does");
  auto words = Words(lines[pos].text);
  if (words.size() < 3 || words[0] != u"Begin")
    throw DesignerSyntaxError(pos + 1, "expected \"Begin Library.Class Name\"");
  auto node = std::make_shared<DesignerNode>();
  node->begin = lines[pos];
  const Text& qualified = words[1];
  auto dot = qualified.rfind(u'.');
  if (dot != Text::npos && qualified.front() != u'{') {
    node->library = qualified.substr(0, dot);
    node->className = qualified.substr(dot + 1);
  } else {
    node->className = qualified;
  }
  node->name = words[2];
  ++pos;
  while (pos < lines.size()) {
    const Line& line = lines[pos];
    TextView trimmed = TrimBlanks(line.text);
    if (trimmed == u"End") {
      node->end = line;
      ++pos;
      return node;
    }
    if (IsBeginLine(line.text)) {
      DesignerItem item;
      item.kind = DesignerItem::Kind::Control;
      item.control = ParseBlock(lines, pos, depth + 1);
      node->items.push_back(std::move(item));
    } else if (StartsWord(trimmed, u"BeginProperty")) {
      node->items.push_back(ParsePropertyBlock(lines, pos));
    } else if (trimmed.find(u'=') != TextView::npos) {
      DesignerItem item;
      item.kind = DesignerItem::Kind::Property;
      item.name = PropertyNameOf(line.text);
      item.lines.push_back(line);
      node->items.push_back(std::move(item));
      ++pos;
    } else {
      DesignerItem item;
      item.lines.push_back(line);
      node->items.push_back(std::move(item));
      ++pos;
    }
  }
  throw DesignerSyntaxError(first + 1, "\"Begin\" block of " + vb::ToUtf8(node->name) + " has no \"End\"");
}

}  // namespace

std::shared_ptr<DesignerNode> ParseDesigner(const std::vector<Line>& lines, std::size_t& pos) {
  return ParseBlock(lines, pos, 1);
}

void RenderDesigner(const DesignerNode& node, const std::function<void(const Line&)>& add) {
  add(node.begin);
  for (const DesignerItem& item : node.items) {
    if (item.kind == DesignerItem::Kind::Control)
      RenderDesigner(*item.control, add);
    else
      for (const Line& line : item.lines) add(line);
  }
  add(node.end);
}

void FillLineEnds(DesignerNode& node, std::string& previous) {
  auto fill = [&](Line& line) {
    if (line.eol.empty()) line.eol = previous;
    previous = line.eol;
  };
  fill(node.begin);
  for (DesignerItem& item : node.items) {
    if (item.control)
      FillLineEnds(*item.control, previous);
    else
      for (Line& line : item.lines) fill(line);
  }
  fill(node.end);
}

void KeepPristine(DesignerNode& node) {
  if (!node.pristine) node.pristine = std::make_shared<const DesignerNode>(node);
}

void RestoreDesigner(DesignerNode& node) {
  if (auto pristine = node.pristine) {
    node = *pristine;
    node.pristine = std::move(pristine);
  }
  for (DesignerItem& item : node.items)
    if (item.control) RestoreDesigner(*item.control);
}

void CommitDesigner(DesignerNode& node) {
  node.pristine = nullptr;
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
