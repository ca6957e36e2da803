// The module loader with its designer parser: one module file (.bas, .cls, .frm, .ctl, .pag, .dob,
// .dsr) loaded into the in-memory IDE as the command line loads it. A file loads or is refused
// with a LoadError (its designer block when its controls are first asked for); one that loads
// saves back to its own bytes when nothing changed, and after a change to its code and to a
// control's name, to bytes that load again with both changes.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "framework/vb_error.h"
#include "fuzz_support.h"
#include "hosts/files/module_file.h"
#include "hosts/files/workspace.h"

namespace {

using vb::Text;

// The extension the input's first lines ask for, so that seeds are plain module files.
std::string ExtensionOf(std::string_view bytes) {
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  if (bytes.substr(0, 8) != "VERSION ") return ".bas";
  if (bytes.substr(0, bytes.find_first_of("\r\n")).find("CLASS") != std::string_view::npos) return ".cls";
  static const std::pair<std::string_view, std::string> kDesigners[] = {
      {"Begin VB.UserControl ", ".ctl"},  {"Begin VB.PropertyPage ", ".pag"},
      {"Begin VB.UserDocument ", ".dob"}, {"Begin {", ".dsr"}};
  for (const auto& [begin, extension] : kDesigners)
    if (bytes.find(begin) != std::string_view::npos) return extension;
  return ".frm";
}

bool Renamed(const files::DesignerNode& root, const Text& name) {
  std::vector<std::shared_ptr<files::DesignerNode>> controls;
  files::CollectControls(root, controls);
  for (const auto& control : controls)
    if (control->name == name) return true;
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const fuzz::ScratchFolder folder;
  const std::string_view bytes = fuzz::Bytes(data, size);
  const auto path = folder.Write("Fuzz" + ExtensionOf(bytes), bytes);
  files::LoadOptions options;
  options.codePage = bytes.substr(0, 3) == "\xEF\xBB\xBF" ? 65001 : 1252;
  std::optional<files::Workspace> loaded;
  try {
    loaded.emplace(files::Workspace::Load(path, options));
  } catch (const files::LoadError&) {
    return 0;
  }
  files::Workspace& workspace = *loaded;
  FUZZ_CHECK(workspace.PendingChanges().empty());

  const Text component = *workspace.focus();
  auto& vbe = *workspace.vbe();
  std::vector<Text> code = vbe.CodeLines(component);
  code.insert(code.begin() + static_cast<std::ptrdiff_t>(code.size() / 2), u"Private Sub FuzzAdded()");
  code.push_back(u"' fuzz");
  vbe.SetCode(component, vb::Join(code, vb::kCrLf) + Text(vb::kCrLf));
  code = vbe.CodeLines(component);
  Text renamed;
  // The designer block is read at the first question about its controls: a block the IDE
  // refuses is refused then, with a LoadError as at load.
  std::vector<Text> names;
  try {
    if (vbe.Component(component)->Designer()) names = vbe.ControlNames(component);
  } catch (const files::LoadError&) {
    return 0;
  }
  if (!names.empty()) {
    try {
      vbe.RenameControl(component, names.front(), u"FuzzRenamed");
      renamed = u"FuzzRenamed";
    } catch (const vb::Error&) {
      // a name the designer refuses (the form's own, an element of a control array)
    }
  }

  auto changes = workspace.PendingChanges();
  FUZZ_CHECK(changes.size() == 1);
  files::ModuleFile saved =
      files::ParseModuleFile(path, memhost::SharedBytes(changes.front().newBytes), options.codePage);
  const memhost::LineStore savedCode = saved.VisibleCode();
  FUZZ_CHECK(savedCode.size() == code.size());
  Text scratch;
  for (std::size_t i = 0; i < code.size(); ++i) FUZZ_CHECK(savedCode.Line(i, scratch) == code[i]);
  FUZZ_CHECK(renamed.empty() || Renamed(*saved.Designer(), renamed));
  return 0;
}
