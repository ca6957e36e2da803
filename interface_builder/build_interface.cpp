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
class StubSet {
 public:
  StubSet(Text prefix, const BuildInterface::AlreadyThere& alreadyThere)
      : prefix_(std::move(prefix)), alreadyThere_(alreadyThere), slots_(64) {}

  bool Has(ProcedureKind kind, TextView memberName) const {
    return slots_[Slot(kind, memberName, Hash(kind, memberName))] != 0 ||
           (alreadyThere_ && alreadyThere_(kind, prefix_ + Text(memberName)));
  }
  // True when the stub is to be written now (and from now on counts as written).
  bool Take(ProcedureKind kind, TextView memberName) {
    if (Has(kind, memberName)) return false;
    if ((written_.size() + 1) * 2 > slots_.size()) Grow();
    const std::uint32_t hash = Hash(kind, memberName);
    written_.push_back({hash, static_cast<std::uint32_t>(names_.size()), static_cast<std::uint32_t>(memberName.size()), kind});
    names_ += memberName;
    slots_[Slot(kind, memberName, hash)] = static_cast<std::uint32_t>(written_.size());
    return true;
  }

 private:
  struct Written {
    std::uint32_t hash, at, length;
    ProcedureKind kind;
  };

  static std::uint32_t Hash(ProcedureKind kind, TextView name) {
    return static_cast<std::uint32_t>(vb::HashNoCase(name) * 31 + static_cast<std::size_t>(kind));
  }
  // The slot that holds the stub, or the free slot where it would go.
  std::size_t Slot(ProcedureKind kind, TextView name, std::uint32_t hash) const {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
      if (slots_[at] == 0) return at;
      const Written& w = written_[slots_[at] - 1];
      if (w.hash == hash && w.kind == kind && vb::EqualsNoCase(TextView(names_).substr(w.at, w.length), name))
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
  Text names_;                        // the member names of the stubs written, one after the other
  std::vector<Written> written_;
  std::vector<std::uint32_t> slots_;  // 1 + an index into written_, 0 when free; at most half used
};

// The stub set's answers, kept in their order as one bit each: the second pass over the stubs
// asks the same things in the same order, so the set need not live on while the text is made.
class RecordedStubs {
 public:
  RecordedStubs(StubSet& stubs, std::vector<bool>& answers) : stubs_(stubs), answers_(answers) {}
  bool Has(ProcedureKind kind, TextView memberName) { return Keep(stubs_.Has(kind, memberName)); }
  bool Take(ProcedureKind kind, TextView memberName) { return Keep(stubs_.Take(kind, memberName)); }

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
  bool Has(ProcedureKind, TextView) { return answers_.at(next_++); }
  bool Take(ProcedureKind, TextView) { return answers_.at(next_++); }

 private:
  const std::vector<bool>& answers_;
  std::size_t next_ = 0;
};

// Where each procedure of the interface is declared, by the hash of its name: its declaration is
// read again when its stub is written, so a large interface is not held as text.
using ProcedureLines = std::vector<std::pair<std::uint32_t, std::uint32_t>>;  // hash, line

// Hands each stub of the interface's public members to `write`, in the order of the members.
// `stubs` tells which are written already, `ask` answers the question about a variable of a type
// that is not built in.
template <class Stubs, class Ask, class Write>
void WriteStubs(host::CodeModule& module, host::Members& members, TextView ClassName,
                const ProcedureLines& procedureLines, Stubs& stubs, const Ask& ask, const Write& write) {
  const long count = members.Count();
  for (long i = 1; i <= count; ++i) {
    host::Ref<host::Member> member = Required(members.Item(i));
    if (member->Scope() != host::vbext_Public) continue;
    const host::MemberType type = member->Type();
    Text name = member->Name();
    if (type == host::vbext_mt_Variable) {
      // Joined onto one line: a list continued over lines names its variables all the same.
      Text declaration = vb::Replace(DeclarationAt(module, member->CodeLocation()), Text(u"_") + vb::kCrLf, u" ");
      Text varType = VariableType(declaration, name);
      if (stubs.Take(ProcedureKind::PropertyGet, name))
        write(VariableStub(ClassName, name, varType, ProcedureKind::PropertyGet));
      std::optional<int> writes = KnownWriteProcedures(varType);
      if (!writes.has_value()) {
        // A write procedure that is there already answers the question.
        if (stubs.Has(ProcedureKind::PropertyLet, name) || stubs.Has(ProcedureKind::PropertySet, name)) {
          writes = 0;
        } else {
          writes = ask(varType);
        }
      }
      if ((*writes & kLetProcedure) && stubs.Take(ProcedureKind::PropertyLet, name))
        write(VariableStub(ClassName, name, varType, ProcedureKind::PropertyLet));
      if ((*writes & kSetProcedure) && stubs.Take(ProcedureKind::PropertySet, name))
        write(VariableStub(ClassName, name, varType, ProcedureKind::PropertySet));
    } else if (type == host::vbext_mt_Method || type == host::vbext_mt_Property) {
      // Every public procedure of that name: a property has its Get, Let and Set each.
      const std::uint32_t hash = static_cast<std::uint32_t>(vb::HashNoCase(name));
      auto candidate = std::lower_bound(procedureLines.begin(), procedureLines.end(), std::make_pair(hash, 0u));
      for (; candidate != procedureLines.end() && candidate->first == hash; ++candidate) {
        const Text declaration = DeclarationAt(module, static_cast<long>(candidate->second));
        const std::optional<vb::ProcedureHeader> header = vb::ReadProcedureHeader(declaration);
        if (!header || !vb::EqualsNoCase(header->name, name) || header->scope != host::vbext_Public ||
            IsMethod(header->kind) != (type == host::vbext_mt_Method) || !stubs.Take(header->kind, name))
          continue;
        write(ProcedureStub(ClassName, name, *header, declaration));
      }
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
  ProcedureLines procedureLines;
  ForEachProcedure(*module, [&](const vb::ProcedureHeader& header, TextView, long line) {
    procedureLines.emplace_back(static_cast<std::uint32_t>(vb::HashNoCase(header.name)), static_cast<std::uint32_t>(line));
  });
  std::sort(procedureLines.begin(), procedureLines.end());  // within a name, in the order of the code

  // Written twice: once to count the characters, once into a text of exactly that size. A text
  // that grows holds its old and its new room together while it moves, which for a large
  // interface is a few times the stubs. The answers of the first time are given again the second
  // time, so each question is asked once.
  std::vector<int> answers;
  std::vector<bool> written;
  std::size_t length = 0;
  {
    StubSet stubSet(Text(ClassName) + u"_", alreadyThere);
    RecordedStubs stubs(stubSet, written);
    WriteStubs(
        *module, *members, ClassName, procedureLines, stubs,
        [&](const Text& varType) { return answers.emplace_back(Required(ask_)(varType)); },
        [&length](const Text& stub) { length += stub.size(); });
  }  // the set is let go before the text is made
  Text result;
  result.reserve(length);
  std::size_t answered = 0;
  ReplayedStubs stubs(written);
  WriteStubs(
      *module, *members, ClassName, procedureLines, stubs,
      [&](const Text&) { return answers.at(answered++); },  // the same code, so the same questions
      [&result](const Text& stub) { result += stub; });
  return result;
}

}  // namespace morrowgate
