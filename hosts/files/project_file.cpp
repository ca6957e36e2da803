// Reading .vbp and .vbg files.
#include "hosts/files/project_file.h"

#include <optional>

#include "hosts/files/disk_file.h"
#include "hosts/files/file_error.h"

namespace fs = std::filesystem;

namespace files {
namespace {

struct KeyValue {
  Text key, value;
};

std::optional<KeyValue> SplitKeyValue(TextView line) {
  auto eq = line.find(u'=');
  if (eq == TextView::npos) return std::nullopt;
  return KeyValue{vb::Trim(line.substr(0, eq)), vb::Trim(line.substr(eq + 1))};
}

Text Unquote(TextView value) {
  if (value.size() >= 2 && value.front() == u'"' && value.back() == u'"') return Text(value.substr(1, value.size() - 2));
  return Text(value);
}

std::vector<Line> ReadLines(const fs::path& path, int codePage) {
  std::string bytes = ReadBytes(path);
  if (bytes.find('\0') != std::string::npos) throw LoadError(path, "not a VB6 text file: it holds binary data");
  if (const std::string fault = ByteOrderMarkFault(bytes, codePage); !fault.empty())
    throw LoadError(path, fault);
  return SplitFile(bytes, codePage).lines;
}

}  // namespace

ProjectFile ReadProjectFile(const fs::path& path, int codePage) {
  ProjectFile project;
  project.path = path;
  project.name = vb::FromUtf8(path.stem().string());
  const fs::path base = path.parent_path();
  bool typed = false;
  for (const Line& line : ReadLines(path, codePage)) {
    TextView text = line.text;
    if (!text.empty() && text.front() == u'[') break;  // [MS Transaction Server] and the like
    auto kv = SplitKeyValue(text);
    if (!kv) continue;
    if (vb::EqualsNoCase(kv->key, u"Type")) typed = true;
    if (vb::EqualsNoCase(kv->key, u"Name")) project.name = Unquote(kv->value);
    static const TextView kPlain[] = {u"Form", u"UserControl", u"PropertyPage", u"Designer", u"UserDocument"};
    static const TextView kNamed[] = {u"Module", u"Class"};
    Text written;
    for (TextView key : kPlain)
      if (vb::EqualsNoCase(kv->key, key)) written = kv->value;
    for (TextView key : kNamed) {
      if (!vb::EqualsNoCase(kv->key, key)) continue;
      // Module=modMain; modMain.bas
      auto semicolon = kv->value.find(u';');
      if (semicolon == Text::npos)
        throw LoadError(path, "the line \"" + vb::ToUtf8(text) + "\" has no \"Name; path\"");
      written = vb::Trim(TextView(kv->value).substr(semicolon + 1));
    }
    if (written.empty()) continue;
    written = Unquote(written);
    ProjectModule module{kv->key, written, {}};
    module.path = ResolveProjectPath(base, written, &module.maybeLink);
    project.modules.push_back(std::move(module));
  }
  if (!typed) throw LoadError(path, "not a VB6 project file (.vbp): it has no \"Type=\" line");
  if (project.name.empty()) throw LoadError(path, "the project has an empty Name");
  return project;
}

std::vector<fs::path> ReadGroupFile(const fs::path& path, int codePage) {
  auto lines = ReadLines(path, codePage);
  if (lines.empty() || !vb::StartsWith(vb::Trim(lines.front().text), u"VBGROUP"))
    throw LoadError(path, "not a VB6 project group (.vbg): the first line is not \"VBGROUP 5.0\"");
  std::vector<fs::path> projects;
  for (const Line& line : lines) {
    auto kv = SplitKeyValue(line.text);
    if (!kv || kv->value.empty()) continue;
    if (vb::EqualsNoCase(kv->key, u"Project") || vb::EqualsNoCase(kv->key, u"StartupProject"))
      projects.push_back(ResolveProjectPath(path.parent_path(), Unquote(kv->value)));
  }
  if (projects.empty()) throw LoadError(path, "the project group names no project");
  return projects;
}

}  // namespace files
