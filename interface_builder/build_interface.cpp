#include "interface_builder/build_interface.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "interface_builder/declared_procedures.h"
#include "interface_builder/interface_stubs.h"

namespace morrowgate {

using vb::Required;

namespace {

bool IsMethod(ProcedureKind kind) { return kind == ProcedureKind::Sub || kind == ProcedureKind::Function; }

// The stubs written so far and those the module has: each procedure is written once. The names
// written are kept in one text and found by their hashes: an interface of thousands of members
// would otherwise take a string and a node of a set per stub.
// A stub is one procedure of the interface in one branch of its #If blocks: the branches of a
// block each have theirs.
class StubSet {
 public:
  StubSet(Text prefix, const BuildInterface::AlreadyThere& alreadyThere, const vb::ConditionalBranches& branches)
      : prefix_(std::move(prefix)), alreadyThere_(alreadyThere), branches_(branches), slots_(64) {}

  bool Has(ProcedureKind kind, TextView memberName, std::uint32_t branch) const {
    const std::uint32_t key = Key(kind, branch);
    return slots_[Slot(key, memberName, Hash(key, memberName))] != 0 ||
           (alreadyThere_ && alreadyThere_(kind, prefix_ + Text(memberName), branches_.Conditions(branch)));
  }
  // True when the stub is to be written now (and from now on counts as written).
  bool Take(ProcedureKind kind, TextView memberName, std::uint32_t branch) {
    if (Has(kind, memberName, branch)) return false;
    if ((written_.size() + 1) * 2 > slots_.size()) Grow();
    const std::uint32_t key = Key(kind, branch);
    const std::uint32_t hash = Hash(key, memberName);
    written_.push_back({hash, static_cast<std::uint32_t>(names_.size()), static_cast<std::uint32_t>(memberName.size()), key});
    names_ += memberName;
    slots_[Slot(key, memberName, hash)] = static_cast<std::uint32_t>(written_.size());
    return true;
  }

 private:
  struct Written {
    std::uint32_t hash, at, length;
    std::uint32_t key;  // kind and branch
  };

  static std::uint32_t Key(ProcedureKind kind, std::uint32_t branch) {
    return branch * 8 + static_cast<std::uint32_t>(kind);
  }
  static std::uint32_t Hash(std::uint32_t key, TextView name) {
    return static_cast<std::uint32_t>(vb::HashNoCase(name) * 31 + key);
  }
  // The slot that holds the stub, or the free slot where it would go.
  std::size_t Slot(std::uint32_t key, TextView name, std::uint32_t hash) const {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
      if (slots_[at] == 0) return at;
      const Written& w = written_[slots_[at] - 1];
      if (w.hash == hash && w.key == key && vb::EqualsNoCase(TextView(names_).substr(w.at, w.length), name))
        return at;
    }
  }
  void Grow() {
    slots_.assign(slots_.size() * 2, 0);
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = 0; i < written_.size(); ++i) {
      std::size_t at = written_[i].hash & mask;
      while (slots_[at] != 0) at = (at + 1) & mask;
      slots_[at] = static_cast<std::uint32_t>(i + 1);
    }
  }

  Text prefix_;
  const BuildInterface::AlreadyThere& alreadyThere_;
  const vb::ConditionalBranches& branches_;
  Text names_;                        // the member names of the stubs written, one after the other
  std::vector<Written> written_;
  std::vector<std::uint32_t> slots_;  // 1 + an index into written_, 0 when free; at most half used
};

// The stub set's answers, kept in their order as one bit each: the second pass over the stubs
// asks the same things in the same order, so the set need not live on while the text is made.
class RecordedStubs {
 public:
  RecordedStubs(StubSet& stubs, std::vector<bool>& answers) : stubs_(stubs), answers_(answers) {}
  bool Has(ProcedureKind kind, TextView memberName, std::uint32_t branch) {
    return Keep(stubs_.Has(kind, memberName, branch));
  }
  bool Take(ProcedureKind kind, TextView memberName, std::uint32_t branch) {
    return Keep(stubs_.Take(kind, memberName, branch));
  }

 private:
  bool Keep(bool answer) {
    answers_.push_back(answer);
    return answer;
  }
  StubSet& stubs_;
  std::vector<bool>& answers_;
};

class ReplayedStubs {
 public:
  explicit ReplayedStubs(const std::vector<bool>& answers) : answers_(answers) {}
  bool Has(ProcedureKind, TextView, std::uint32_t) { return answers_.at(next_++); }
  bool Take(ProcedureKind, TextView, std::uint32_t) { return answers_.at(next_++); }

 private:
  const std::vector<bool>& answers_;
  std::size_t next_ = 0;
};

// Where each procedure of the interface is declared, by the hash of its name: its declaration is
// read again when its stub is written, so a large interface is not held as text. The same for
// the public variables declared inside #If blocks, which may be declared once per branch.
using DeclarationLines = std::vector<std::pair<std::uint32_t, std::uint32_t>>;  // hash, line

// The lines of the declarations of `name`, in the order of the code.
template <class Visit>
void ForEachDeclarationOf(const DeclarationLines& lines, TextView name, const Visit& visit) {
  const std::uint32_t hash = static_cast<std::uint32_t>(vb::HashNoCase(name));
  for (auto at = std::lower_bound(lines.begin(), lines.end(), std::make_pair(hash, 0u));
       at != lines.end() && at->first == hash; ++at)
    visit(static_cast<long>(at->second));
}

// Writes each stub under the directives of the branch of the interface it was made for: the
// interface's #If blocks are opened down to that branch (with the directives of the branches
// before it, so that an #Else keeps its meaning) and closed before a stub outside them. A later
// branch of an open block follows on in the same block.
template <class Sink>
class BranchWriter {
 public:
  BranchWriter(const vb::ConditionalBranches& branches, const Sink& sink) : branches_(branches), sink_(sink) {}

  void operator()(std::uint32_t branch, const Text& stub) {
    if (branch != branch_) MoveTo(branch);
    sink_(stub);
  }
  void Close() { MoveTo(vb::ConditionalBranches::kOutside); }

 private:
  using Level = vb::ConditionalBranches::Level;

  void MoveTo(std::uint32_t branch) {
    const std::vector<Level> path = branches_.Path(branch);
    std::size_t kept = 0;
    while (kept < open_.size() && kept < path.size() && open_[kept].block == path[kept].block &&
           open_[kept].index == path[kept].index)
      ++kept;
    const bool followsOn = kept < open_.size() && kept < path.size() && open_[kept].block == path[kept].block &&
                           open_[kept].index < path[kept].index;
    for (std::size_t level = open_.size(); level > kept + (followsOn ? 1 : 0); --level) {
      const TextView opening = branches_.DirectiveLine({open_[level - 1].block, 0});
      sink_(Text(opening.substr(0, opening.find(u'#'))) + u"#End If" + vb::kCrLf);
    }
    for (std::size_t level = kept; level < path.size(); ++level) {
      const std::uint32_t from = level == kept && followsOn ? open_[kept].index + 1 : 0;
      for (std::uint32_t index = from; index <= path[level].index; ++index)
        sink_(Text(branches_.DirectiveLine({path[level].block, index})) + vb::kCrLf);
    }
    open_ = path;
    branch_ = branch;
  }

  const vb::ConditionalBranches& branches_;
  const Sink& sink_;
  std::vector<Level> open_;
  std::uint32_t branch_ = vb::ConditionalBranches::kOutside;
};

// What WriteStubs reads of the interface besides its members.
struct InterfaceCode {
  host::CodeModule& module;
  TextView className;
  const vb::ConditionalBranches& branches;
  const DeclarationLines& procedureLines;
  const DeclarationLines& variableLines;  // only those inside #If blocks
};

// The property procedures of variable `name` of type `varType` declared in `branch`.
template <class Stubs, class Ask, class Write>
void WriteVariableStubs(TextView className, const Text& name, const Text& varType, std::uint32_t branch, Stubs& stubs,
                        const Ask& ask, Write& write) {
  if (stubs.Take(ProcedureKind::PropertyGet, name, branch))
    write(branch, VariableStub(className, name, varType, ProcedureKind::PropertyGet));
  std::optional<int> writes = KnownWriteProcedures(varType);
  if (!writes.has_value()) {
    // A write procedure that is there already answers the question.
    if (stubs.Has(ProcedureKind::PropertyLet, name, branch) || stubs.Has(ProcedureKind::PropertySet, name, branch)) {
      writes = 0;
    } else {
      writes = ask(varType);
    }
  }
  if ((*writes & kLetProcedure) && stubs.Take(ProcedureKind::PropertyLet, name, branch))
    write(branch, VariableStub(className, name, varType, ProcedureKind::PropertyLet));
  if ((*writes & kSetProcedure) && stubs.Take(ProcedureKind::PropertySet, name, branch))
    write(branch, VariableStub(className, name, varType, ProcedureKind::PropertySet));
}

// Hands each stub of the interface's public members to `write` with the branch it belongs in, in
// the order of the members. `stubs` tells which are written already, `ask` answers the question
// about a variable of a type that is not built in.
template <class Stubs, class Ask, class Write>
void WriteStubs(const InterfaceCode& code, host::Members& members, Stubs& stubs, const Ask& ask, Write& write) {
  using vb::ConditionalBranches;
  const long count = members.Count();
  for (long i = 1; i <= count; ++i) {
    host::Ref<host::Member> member = Required(members.Item(i));
    if (member->Scope() != host::vbext_Public) continue;
    const host::MemberType type = member->Type();
    Text name = member->Name();
    const bool isVariable = type == host::vbext_mt_Variable;
    if (!isVariable && type != host::vbext_mt_Method && type != host::vbext_mt_Property) continue;
    if (isVariable && code.branches.BranchAt(member->CodeLocation()) == ConditionalBranches::kOutside) {
      Text declaration = JoinedLines(DeclarationAt(code.module, member->CodeLocation()));
      WriteVariableStubs(code.className, name, VariableType(declaration, name), ConditionalBranches::kOutside,
                         stubs, ask, write);
      continue;
    }
    // Declared in branches of #If blocks, the name may be a variable in one branch and a procedure
    // in another, of either kind: each declaration has the stubs of its own.
    const auto variables = [&] {
      ForEachDeclarationOf(code.variableLines, name, [&](long at) {
        Text declaration = JoinedLines(DeclarationAt(code.module, at));
        if (std::optional<Text> varType = PublicVariableType(declaration, name))
          WriteVariableStubs(code.className, name, *varType, code.branches.BranchAt(at), stubs, ask, write);
      });
    };
    // Every public procedure of that name: a property has its Get, Let and Set each.
    const auto procedures = [&] {
      ForEachDeclarationOf(code.procedureLines, name, [&](long at) {
        const Text declaration = DeclarationAt(code.module, at);
        const std::optional<vb::ProcedureHeader> header = vb::ReadProcedureHeader(declaration);
        const std::uint32_t branch = code.branches.BranchAt(at);
        if (!header || !vb::EqualsNoCase(header->name, name) || header->scope != host::vbext_Public) return;
        const bool ofMembersKind = !isVariable && IsMethod(header->kind) == (type == host::vbext_mt_Method);
        if ((!ofMembersKind && branch == ConditionalBranches::kOutside) || !stubs.Take(header->kind, name, branch))
          return;
        write(branch, ProcedureStub(code.className, name, *header, declaration));
      });
    };
    if (isVariable) {
      variables();
      procedures();
    } else {
      procedures();
      variables();
    }
  }
}

}  // namespace

BuildInterface::BuildInterface(AskPropertyType ask) : ask_(std::move(ask)) {}

vb::Text BuildInterface::operator()(const host::Ref<host::VBE>& VBInst, vb::TextView ProjName, vb::TextView ClassName,
                                    const AlreadyThere& alreadyThere) const {
  host::Ref<host::VBProject> project = Required(Required(Required(VBInst)->VBProjects())->Item(ProjName));
  host::Ref<host::VBComponent> component = Required(Required(project->VBComponents())->Item(ClassName));
  host::Ref<host::CodeModule> module = Required(component->CodeModule());
  host::Ref<host::Members> members = Required(module->Members());
  vb::ConditionalBranches branches;
  DeclarationLines procedureLines, variableLines;
  ForEachStatement(*module, branches, [&](TextView statement, long line) {
    const auto at = static_cast<std::uint32_t>(line);
    if (std::optional<vb::ProcedureHeader> header = vb::ReadProcedureHeader(statement)) {
      procedureLines.emplace_back(static_cast<std::uint32_t>(vb::HashNoCase(header->name)), at);
    } else if (branches.Current() != vb::ConditionalBranches::kOutside) {
      for (const Text& name : PublicVariableNames(JoinedLines(statement)))
        variableLines.emplace_back(static_cast<std::uint32_t>(vb::HashNoCase(name)), at);
    }
  });
  std::sort(procedureLines.begin(), procedureLines.end());  // within a name, in the order of the code
  std::sort(variableLines.begin(), variableLines.end());
  const InterfaceCode code{*module, ClassName, branches, procedureLines, variableLines};

  // Written twice: once to count the characters, once into a text of exactly that size. A text
  // that grows holds its old and its new room together while it moves, which for a large
  // interface is a few times the stubs. The answers of the first time are given again the second
  // time, so each question is asked once.
  std::vector<int> answers;
  std::vector<bool> written;
  std::size_t length = 0;
  {
    StubSet stubSet(Text(ClassName) + u"_", alreadyThere, branches);
    RecordedStubs stubs(stubSet, written);
    const auto count = [&length](const Text& text) { length += text.size(); };
    BranchWriter counter(branches, count);
    WriteStubs(
        code, *members, stubs, [&](const Text& varType) { return answers.emplace_back(Required(ask_)(varType)); },
        counter);
    counter.Close();
  }  // the set is let go before the text is made
  Text result;
  result.reserve(length);
  std::size_t answered = 0;
  ReplayedStubs stubs(written);
  const auto append = [&result](const Text& text) { result += text; };
  BranchWriter writer(branches, append);
  WriteStubs(
      code, *members, stubs, [&](const Text&) { return answers.at(answered++); },  // the same code, so the same questions
      writer);
  writer.Close();
  return result;
}

}  // namespace morrowgate
