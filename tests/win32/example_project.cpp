#include "example_project.h"

#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <stdexcept>
#include <vector>

namespace wintest {

namespace {

using vb::Text;
using vb::TextView;

std::filesystem::path ExampleFolder() {
  wchar_t program[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, program, MAX_PATH);
  return std::filesystem::path(program).parent_path() / L"examples" / L"Inventory";
}

// The file's lines, Windows-1252 text, without their line ends.
std::vector<Text> ReadLines(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::wstring wide(bytes.size(), L'\0');
  wide.resize(static_cast<size_t>(MultiByteToWideChar(1252, 0, bytes.data(), static_cast<int>(bytes.size()),
                                                      wide.data(), static_cast<int>(wide.size()))));
  std::vector<Text> lines;
  Text line;
  for (wchar_t c : wide) {
    if (c == L'\n') {
      if (!line.empty() && line.back() == u'\r') line.pop_back();
      lines.push_back(std::move(line));
      line.clear();
    } else {
      line += static_cast<char16_t>(c);
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

bool StartsWith(TextView text, TextView prefix) { return text.substr(0, prefix.size()) == prefix; }

TextView Trimmed(TextView line) {
  const size_t first = line.find_first_not_of(u' ');
  if (first == TextView::npos) return TextView();
  return line.substr(first, line.find_last_not_of(u' ') + 1 - first);
}

struct Module {
  Text code;
  std::vector<memhost::PlacedControl> controls;
};

// The code window's lines of a module file, and a form's controls (the first of a control array).
Module ReadModule(const std::filesystem::path& path) {
  const std::vector<Text> lines = ReadLines(path);
  Module module;
  size_t i = 0;
  if (!lines.empty() && StartsWith(lines[0], u"VERSION ")) {
    // A class's BEGIN ... END properties, or a form's designer block of nested Begin ... End.
    std::vector<Text> open;  // the form, then the controls that hold the line being read
    std::set<Text> seen;
    for (++i; i < lines.size(); ++i) {
      const TextView line = Trimmed(lines[i]);
      if (line == u"END") {
        ++i;
        break;
      }
      if (StartsWith(line, u"Begin ")) {
        const TextView declaration = line.substr(6);
        const size_t space = declaration.find(u' ');
        const TextView type = declaration.substr(0, space);
        const Text name(Trimmed(declaration.substr(space + 1)));
        if (!open.empty() && seen.insert(name).second)
          module.controls.push_back({Text(type.substr(type.rfind(u'.') + 1)), name, {}, open.size() > 1 ? open.back() : Text()});
        open.push_back(name);
      } else if (line == u"End" && !open.empty()) {
        open.pop_back();
        if (open.empty()) {
          ++i;
          break;
        }
      }
    }
  }
  for (; i < lines.size(); ++i) {
    if (StartsWith(lines[i], u"Attribute ")) continue;
    if (!module.code.empty()) module.code += u"\r\n";
    module.code += lines[i];
  }
  return module;
}

}  // namespace

std::shared_ptr<memhost::MemoryVBE> ExampleProject(TextView activeModule, TextView caretLine) {
  const std::filesystem::path folder = ExampleFolder();
  const std::vector<Text> entries = ReadLines(folder / L"Inventory.vbp");
  memhost::HostBuilder builder;
  for (const Text& entry : entries)
    if (StartsWith(entry, u"Name=\"")) builder.project(TextView(entry).substr(6, entry.size() - 7));
  long caret = 0;
  for (const Text& entry : entries) {
    const size_t equals = entry.find(u'=');
    const TextView key = TextView(entry).substr(0, equals);
    if (key != u"Form" && key != u"Module" && key != u"Class") continue;
    // "Form=frmMain.frm", "Module=modStock; modStock.bas"
    const TextView value = TextView(entry).substr(equals + 1);
    const size_t semicolon = value.find(u';');
    const TextView file = semicolon == TextView::npos ? value : Trimmed(value.substr(semicolon + 1));
    const Text name(semicolon == TextView::npos ? file.substr(0, file.rfind(u'.')) : value.substr(0, semicolon));
    const Module module = ReadModule(folder / std::wstring(file.begin(), file.end()));
    if (key == u"Form")
      builder.form(name, module.code, module.controls);
    else if (key == u"Module")
      builder.module(name, module.code);
    else
      builder.classModule(name, module.code);
    if (name == activeModule && module.code.find(caretLine) != Text::npos) {
      const TextView before = TextView(module.code).substr(0, module.code.find(caretLine));
      caret = 1 + static_cast<long>(std::count(before.begin(), before.end(), u'\n'));
    }
  }
  if (caret == 0) throw std::runtime_error("the example project has no line " + vb::ToUtf8(caretLine));
  builder.activePane(activeModule, {caret, 1, caret, 1});
  return builder.build();
}

}  // namespace wintest
