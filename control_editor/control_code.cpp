#include "control_editor/control_code.h"

#include "framework/vb_statements.h"

namespace ravlen {

namespace {

// The words of a line up to the first blank, after leading blanks and tabs.
std::vector<Text> LeadingWords(TextView line, std::size_t count) {
  std::vector<Text> words;
  std::size_t i = 0;
  while (words.size() < count) {
    while (i < line.size() && (line[i] == u' ' || line[i] == u'\t')) ++i;
    if (i >= line.size()) break;
    std::size_t start = i;
    while (i < line.size() && line[i] != u' ' && line[i] != u'\t' && line[i] != u'(') ++i;
    words.emplace_back(line.substr(start, i - start));
    if (i < line.size() && line[i] == u'(') break;
  }
  return words;
}

bool IsModifier(TextView word) {
  return word == u"Public" || word == u"Private" || word == u"Friend" || word == u"Static";
}

struct EndStatement {
  const char16_t* text;
  ProcedureKind kind;
};
constexpr EndStatement kEnds[] = {
    {u"End Sub", ProcedureKind::Sub},
    {u"End Function", ProcedureKind::Function},
    {u"End Property", ProcedureKind::Property},
};

}  // namespace

Ref<host::CodeModule> FormCodeModule(const Ref<host::VBControl>& control) {
  Ref<host::VBControls> controls = vb::Required(control)->Collection();
  if (!controls) return nullptr;
  Ref<host::VBForm> designer = controls->Parent();
  if (!designer) return nullptr;
  Ref<host::VBComponent> component = designer->Parent();
  if (!component) return nullptr;
  return component->CodeModule();
}

Text ControlName(const Ref<host::VBControl>& control) {
  Ref<host::Property> name = vb::Required(vb::Required(control)->Properties())->Item(u"Name");
  return vb::CStr(vb::Required(name)->Value());
}

int ControlIndex(const Ref<host::VBControl>& control) {
  // A control without an Index is no array element.
  try {
    Ref<host::Properties> properties = control->Properties();
    Ref<host::Property> index = properties ? properties->Item(u"Index") : nullptr;
    return index ? vb::CInt(index->Value()) : -1;
  } catch (const vb::Error&) {
    return -1;
  }
}

ControlNames NamesOnForm(const Ref<host::VBControls>& controls) {
  ControlNames names;
  const long count = controls ? controls->Count() : 0;
  for (long i = 1; i <= count; ++i) names.insert(ControlName(controls->Item(i)));
  return names;
}

bool AnotherElementCarries(const Ref<host::VBControl>& control, TextView name) {
  Ref<host::VBControls> controls = control ? control->Collection() : nullptr;
  if (!controls) return false;
  // The Index is read only for controls of that name: most forms hold no array.
  std::optional<int> index;
  const long count = controls->Count();
  for (long i = 1; i <= count; ++i) {
    Ref<host::VBControl> other = controls->Item(i);
    if (!vb::EqualsNoCase(ControlName(other), name)) continue;
    if (!index) index = ControlIndex(control);
    if (ControlIndex(other) != *index) return true;
  }
  return false;
}

RenameScope ScopeOfRename(host::CodeModule& module, const Text& oldName, const Text& newName) {
  RenameScope scope{oldName, newName, {}, {}};
  if (Ref<host::VBComponent> component = module.Parent()) {
    scope.formName = component->Name();
    Ref<host::VBForm> designer = component->Designer();
    scope.controls = NamesOnForm(designer ? designer->VBControls() : nullptr);
  }
  return scope;
}

ProcedureKind DeclarationKind(TextView line) {
  std::vector<Text> words = LeadingWords(line, 4);
  std::size_t i = 0;
  while (i < words.size() && IsModifier(words[i])) ++i;
  if (i >= words.size()) return ProcedureKind::None;
  if (words[i] == u"Sub") return ProcedureKind::Sub;
  if (words[i] == u"Function") return ProcedureKind::Function;
  if (words[i] == u"Property" && i + 1 < words.size() &&
      (words[i + 1] == u"Get" || words[i + 1] == u"Let" || words[i + 1] == u"Set"))
    return ProcedureKind::Property;
  return ProcedureKind::None;
}

std::optional<long> FindProcedureEnd(host::CodeModule& module, long start, ProcedureKind kind) {
  if (kind == ProcedureKind::None) return std::nullopt;
  // A procedure written on one line ("Private Sub Text1_GotFocus(): End Sub") ends on it.
  const std::vector<Text> statements = vb::StatementsOfLine(module.Lines(start, 1));
  if (statements.size() > 1) {
    const TextView end = vb::ProcedureEnd(statements.back());
    for (const EndStatement& e : kEnds)
      if (e.kind == kind && !end.empty() && TextView(e.text).ends_with(end)) return start;
  }
  const long last = module.CountOfLines();
  for (long line = start + 1; line <= last; ++line) {
    // A line number or label may stand before the End statement ("20  End Sub", "Done: End Sub").
    const Text code = module.Lines(line, 1);
    const Text text = vb::Trim(vb::AfterLineLabel(code));
    for (const EndStatement& end : kEnds) {
      // Only the statement's own characters count, so "End Sub ' done" ends a Sub.
      if (vb::StartsWith(text, end.text)) {
        if (end.kind == kind) return line;
        return std::nullopt;
      }
    }
    // A new procedure before the End line: this one has no end of its own.
    if (DeclarationKind(text) != ProcedureKind::None) return std::nullopt;
  }
  return std::nullopt;
}

std::vector<Text> RemovableMembers(host::CodeModule& module, const Text& controlName, ControlNames onForm) {
  std::vector<Text> names;
  Ref<host::Members> members = module.Members();
  if (!members) return names;
  onForm.insert(controlName);
  const Text prefix = controlName + u"_";
  const long count = members->Count();
  for (long i = 1; i <= count; ++i) {
    Ref<host::Member> member = members->Item(i);
    if (!member) continue;
    Text name = member->Name();
    if (!vb::LikePrefix(name, prefix) || OwnerOf(name, onForm) != controlName) continue;
    if (member->Type() != host::vbext_mt_Method && member->Type() != host::vbext_mt_Property) continue;
    if (DeclarationKind(module.Lines(member->CodeLocation(), 1)) == ProcedureKind::None) continue;
    names.push_back(std::move(name));
  }
  return names;
}

Ref<host::Member> FindMember(host::CodeModule& module, TextView name) {
  Ref<host::Members> members = module.Members();
  if (!members) return nullptr;
  Ref<host::Member> member;
  try {
    member = members->Item(name);
  } catch (const vb::Error& error) {
    if (error.number != vb::err::kSubscriptOutOfRange) throw;
    return nullptr;  // no member of that name (any more)
  }
  // The collection ignores letter case; the row names the member exactly.
  return member && member->Name() == name ? member : nullptr;
}

int DeleteMemberProcedures(host::CodeModule& module, TextView name) {
  int deleted = 0;
  // A property has at most three procedures (Get, Let, Set); every other member has one.
  for (int pass = 0; pass < 3; ++pass) {
    Ref<host::Member> member = FindMember(module, name);
    if (!member) break;
    const long start = member->CodeLocation();
    const ProcedureKind kind = DeclarationKind(module.Lines(start, 1));
    std::optional<long> end = FindProcedureEnd(module, start, kind);
    if (!end) break;
    module.DeleteLines(start, *end - start + 1);
    ++deleted;
    if (kind != ProcedureKind::Property) break;
  }
  return deleted;
}

}  // namespace ravlen
