#include "cli/settings_text.h"

#include "cli/command.h"

namespace cli {

namespace {

std::string Escape(vb::TextView text) {
  std::string out;
  for (char c : vb::ToUtf8(text)) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\t': out += "\\t"; break;
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      default: out.push_back(c);
    }
  }
  return out;
}

vb::Text Unescape(const std::string& field, std::size_t lineNumber) {
  std::string out;
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] != '\\') {
      out.push_back(field[i]);
      continue;
    }
    if (i + 1 >= field.size())
      throw UsageError("line " + std::to_string(lineNumber) + ": a backslash ends a field");
    switch (field[++i]) {
      case '\\': out.push_back('\\'); break;
      case 't': out.push_back('\t'); break;
      case 'r': out.push_back('\r'); break;
      case 'n': out.push_back('\n'); break;
      default:
        throw UsageError("line " + std::to_string(lineNumber) + ": unknown escape \\" + std::string(1, field[i]));
    }
  }
  return vb::FromUtf8(out);
}

}  // namespace

std::string FormatSettings(const std::vector<settings::StoredValue>& values) {
  std::string text = std::string(kSettingsHeader) + "\n";
  for (const settings::StoredValue& v : values)
    text += Escape(v.app) + "\t" + Escape(v.section) + "\t" + Escape(v.key) + "\t" + Escape(v.value) + "\n";
  return text + kSettingsEnd + "\n";
}

std::vector<settings::StoredValue> ParseSettings(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();  // a file that went through Windows
    lines.push_back(line);
    start = end + 1;
  }
  if (lines.empty() || lines.front() != kSettingsHeader)
    throw UsageError(std::string("not a settings export: the first line must read \"") + kSettingsHeader + "\"");
  std::vector<settings::StoredValue> values;
  std::size_t n = 1;
  for (; n < lines.size() && lines[n] != kSettingsEnd; ++n) {
    const std::string& line = lines[n];
    if (line.empty()) continue;
    std::vector<std::string> fields;
    std::size_t from = 0;
    for (;;) {
      std::size_t tab = line.find('\t', from);
      fields.push_back(line.substr(from, tab == std::string::npos ? std::string::npos : tab - from));
      if (tab == std::string::npos) break;
      from = tab + 1;
    }
    if (fields.size() != 4)
      throw UsageError("line " + std::to_string(n + 1) + ": expected application, section, key and value separated by tabs, found " +
                       std::to_string(fields.size()) + " field(s)");
    values.push_back({Unescape(fields[0], n + 1), Unescape(fields[1], n + 1), Unescape(fields[2], n + 1),
                      Unescape(fields[3], n + 1)});
  }
  if (n == lines.size())
    throw UsageError(std::string("the file is cut short: its last line must read \"") + kSettingsEnd + "\"");
  for (++n; n < lines.size(); ++n)
    if (!lines[n].empty()) throw UsageError("line " + std::to_string(n + 1) + ": text after the end line");
  return values;
}

}  // namespace cli
