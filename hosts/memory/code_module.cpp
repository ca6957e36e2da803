// Code modules, their members and their code panes.
#include <algorithm>

#include "hosts/memory/memory_objects.h"

namespace memhost::detail {
namespace {

class MemMember : public host::Member {
 public:
  explicit MemMember(MemberInfo info) : info_(std::move(info)) {}
  Text Name() override { return info_.name; }
  host::MemberType Type() override { return static_cast<host::MemberType>(info_.type); }
  host::Scope Scope() override { return static_cast<host::Scope>(info_.scope); }
  long CodeLocation() override { return info_.codeLocation; }

 private:
  MemberInfo info_;
};

// A live view: it follows the module's code as it changes.
class MemMembers : public host::Members {
 public:
  explicit MemMembers(std::shared_ptr<MemCodeModule> module) : module_(std::move(module)) {}
  long Count() override { return static_cast<long>(module_->MemberCount()); }
  Ref<host::Member> Item(long index) override {
    if (index < 1 || index > static_cast<long>(module_->MemberCount())) RaiseSubscript();
    return std::make_shared<MemMember>(module_->MemberAt(static_cast<std::size_t>(index - 1)));
  }
  Ref<host::Member> Item(TextView name) override {
    std::optional<MemberInfo> member = module_->FindMember(name);
    if (!member) RaiseSubscript();
    return std::make_shared<MemMember>(std::move(*member));
  }

 private:
  std::shared_ptr<MemCodeModule> module_;
};

}  // namespace

MemCodeModule::MemCodeModule(std::shared_ptr<HostState> state, std::weak_ptr<MemComponent> component, LineStore lines)
    : state_(std::move(state)), component_(std::move(component)), lines_(std::move(lines)) {}

void MemCodeModule::SetCode(TextView code) {
  lines_.Assign(code);
  outline_.Reset();
  ++edits_;
}

void MemCodeModule::Edit(std::size_t at, std::size_t count, const std::vector<TextView>& lines) {
  lines_.Replace(at, count, lines);
  ++edits_;
  outline_.Edited(static_cast<long>(at + 1), static_cast<long>(count), static_cast<long>(lines.size()));
}

void MemCodeModule::EditByText(std::size_t at, std::size_t count, TextView text) {
  // Even an empty text is one (empty) line.
  if (text.empty()) return Edit(at, count, {TextView()});
  const std::size_t added = lines_.ReplaceByText(at, count, text);
  ++edits_;
  outline_.Edited(static_cast<long>(at + 1), static_cast<long>(count), static_cast<long>(added));
}

void MemCodeModule::CheckEdit(std::string_view operation) {
  state_->Check(operation);
  if (readOnly_) vb::Raise(vb::err::kReadOnlyModule, u"Can't edit module");
}

long MemCodeModule::CountOfLines() {
  state_->Check("CodeModule.CountOfLines");
  return static_cast<long>(lines_.size());
}

long MemCodeModule::CountOfDeclarationLines() {
  state_->Check("CodeModule.CountOfDeclarationLines");
  return outline().declarationLines;
}

Text MemCodeModule::Lines(long startLine, long count) {
  Text text;
  Lines(startLine, count, text);
  return text;
}

void MemCodeModule::Lines(long startLine, long count, Text& into) {
  state_->Check("CodeModule.Lines");
  const long n = static_cast<long>(lines_.size());
  // Every requested line must exist; no lines may be asked for right after the last one.
  if (startLine < 1 || count < 0 || startLine > n + 1 || (count > 0 && startLine + count - 1 > n)) RaiseSubscript();
  lines_.Join(static_cast<std::size_t>(startLine - 1), static_cast<std::size_t>(count), into);
}

void MemCodeModule::InsertLines(long line, TextView text) {
  CheckEdit("CodeModule.InsertLines");
  if (line < 1 || line > static_cast<long>(lines_.size()) + 1) RaiseSubscript();
  EditByText(static_cast<std::size_t>(line - 1), 0, text);
}

void MemCodeModule::ReplaceLine(long line, TextView text) {
  CheckEdit("CodeModule.ReplaceLine");
  if (line < 1 || line > static_cast<long>(lines_.size())) RaiseSubscript();
  EditByText(static_cast<std::size_t>(line - 1), 1, text);
}

void MemCodeModule::DeleteLines(long startLine, long count) {
  CheckEdit("CodeModule.DeleteLines");
  const long n = static_cast<long>(lines_.size());
  if (startLine < 1 || startLine > n || count < 0 || startLine + count - 1 > n) RaiseSubscript();
  Edit(static_cast<std::size_t>(startLine - 1), static_cast<std::size_t>(count), {});
}

void MemCodeModule::AddFromString(TextView text) {
  CheckEdit("CodeModule.AddFromString");
  if (text.empty()) return;
  EditByText(AddFromStringLine(), 0, text);
}

void MemCodeModule::AddFromStringTaking(Text&& text) {
  CheckEdit("CodeModule.AddFromString");
  if (text.empty()) return;
  const std::size_t at = AddFromStringLine();
  const std::size_t added = lines_.InsertTaking(at, std::move(text));
  ++edits_;
  outline_.Edited(static_cast<long>(at + 1), 0, static_cast<long>(added));
}

std::size_t MemCodeModule::AddFromStringLine() {
  // Before the first procedure's block (blank and comment lines above it belong to it), or at
  // the end of a module that has no procedure; never inside an #If block, where one branch would
  // compile it out.
  long before = static_cast<long>(lines_.size()) + 1;
  if (outline().firstProcedureLine > 0) before = outline().declarationLines + 1;
  return static_cast<std::size_t>(OutsideConditionalBlocks(lines_, before) - 1);
}

std::optional<MemberInfo> MemCodeModule::FindMember(TextView name) {
  // One look through the names costs less than an index that the next edit would throw away.
  const auto hash = static_cast<std::uint32_t>(vb::HashNoCase(name));
  const ModuleOutline& current = outline();
  Text scratch;
  for (std::uint32_t index : outline_.Members(lines_)) {
    const Declaration& d = current.declarations[index];
    if (d.nameHash == hash && vb::EqualsNoCase(current.Name(d, scratch), name)) return MemberOf(current, d);
  }
  return std::nullopt;
}

Ref<host::Members> MemCodeModule::Members() {
  state_->Check("CodeModule.Members");
  return std::make_shared<MemMembers>(shared_from_this());
}

Ref<host::CodePane> MemCodeModule::CodePane() {
  state_->Check("CodeModule.CodePane");
  return OpenPane();
}

std::shared_ptr<MemCodePane> MemCodeModule::OpenPane() {
  if (!pane_) {
    pane_ = std::make_shared<MemCodePane>(state_, weak_from_this());
    state_->panes.push_back(pane_);
  }
  return pane_;
}

// ---- code pane -------------------------------------------------------------------------------

long MemCodePane::LastLine() {
  auto module = module_.lock();
  return module ? std::max<long>(1, static_cast<long>(module->lines().size())) : 1;
}

void MemCodePane::GetSelection(long& startLine, long& startColumn, long& endLine, long& endColumn) {
  state_->Check("CodePane.GetSelection");
  startLine = selection_.startLine;
  startColumn = selection_.startColumn;
  endLine = selection_.endLine;
  endColumn = selection_.endColumn;
}

void MemCodePane::SetSelection(long startLine, long startColumn, long endLine, long endColumn) {
  state_->Check("CodePane.SetSelection");
  const long last = LastLine();
  if (startLine < 1 || endLine < 1 || startLine > last || endLine > last) RaiseSubscript();
  if (startColumn < 1 || endColumn < 1) RaiseInvalidCall();
  selection_ = host::Selection{startLine, startColumn, endLine, endColumn};
}

long MemCodePane::TopLine() { return topLine_; }

void MemCodePane::SetTopLine(long line) {
  state_->Check("CodePane.TopLine");
  if (line < 1 || line > LastLine()) RaiseSubscript();
  topLine_ = line;
}

}  // namespace memhost::detail
