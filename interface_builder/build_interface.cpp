#include "interface_builder/build_interface.h"

#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "interface_builder/declared_procedures.h"
#include "interface_builder/interface_stubs.h"

namespace morrowgate {

using vb::Required;

namespace {

bool IsMethod(ProcedureKind kind) { return kind == ProcedureKind::Sub || kind == ProcedureKind::Function; }

// The stubs written so far and those the module has: each procedure is written once.
class StubSet {
 public:
  StubSet(Text prefix, const BuildInterface::AlreadyThere& alreadyThere)
      : prefix_(std::move(prefix)), alreadyThere_(alreadyThere) {}

  bool Has(ProcedureKind kind, TextView memberName) const {
    Text name = prefix_ + Text(memberName);
    return written_.count(ProcedureKey(kind, name)) > 0 || (alreadyThere_ && alreadyThere_(kind, name));
  }
  // True when the stub is to be written now (and from now on counts as written).
  bool Take(ProcedureKind kind, TextView memberName) {
    if (Has(kind, memberName)) return false;
    written_.insert(ProcedureKey(kind, prefix_ + Text(memberName)));
    return true;
  }

 private:
  Text prefix_;
  const BuildInterface::AlreadyThere& alreadyThere_;
  std::unordered_set<Text> written_;  // ProcedureKey
};

}  // namespace

BuildInterface::BuildInterface(AskPropertyType ask) : ask_(std::move(ask)) {}

vb::Text BuildInterface::operator()(const host::Ref<host::VBE>& VBInst, vb::TextView ProjName, vb::TextView ClassName,
                                    const AlreadyThere& alreadyThere) const {
  host::Ref<host::VBProject> project = Required(Required(Required(VBInst)->VBProjects())->Item(ProjName));
  host::Ref<host::VBComponent> component = Required(Required(project->VBComponents())->Item(ClassName));
  host::Ref<host::CodeModule> module = Required(component->CodeModule());
  host::Ref<host::Members> members = Required(module->Members());
  const std::vector<DeclaredProcedure> procedures = DeclaredProcedures(*module);
  // The procedures of each name (in upper case), in the order of the code.
  std::unordered_map<Text, std::vector<const DeclaredProcedure*>> procedureNamed;
  for (const DeclaredProcedure& procedure : procedures) procedureNamed[vb::UCase(procedure.header.name)].push_back(&procedure);
  StubSet stubs(Text(ClassName) + u"_", alreadyThere);

  Text result;
  long count = members->Count();
  for (long i = 1; i <= count; ++i) {
    host::Ref<host::Member> member = Required(members->Item(i));
    if (member->Scope() != host::vbext_Public) continue;
    const host::MemberType type = member->Type();
    Text name = member->Name();
    if (type == host::vbext_mt_Variable) {
      // Joined onto one line: a list continued over lines names its variables all the same.
      Text declaration = vb::Replace(DeclarationAt(*module, member->CodeLocation()), u"_" + vb::kCrLf, u" ");
      Text varType = VariableType(declaration, name);
      if (stubs.Take(ProcedureKind::PropertyGet, name))
        result += VariableStub(ClassName, name, varType, ProcedureKind::PropertyGet);
      std::optional<int> writes = KnownWriteProcedures(varType);
      if (!writes.has_value()) {
        // A write procedure that is there already answers the question.
        if (stubs.Has(ProcedureKind::PropertyLet, name) || stubs.Has(ProcedureKind::PropertySet, name)) {
          writes = 0;
        } else {
          writes = Required(ask_)(varType);
        }
      }
      if ((*writes & kLetProcedure) && stubs.Take(ProcedureKind::PropertyLet, name))
        result += VariableStub(ClassName, name, varType, ProcedureKind::PropertyLet);
      if ((*writes & kSetProcedure) && stubs.Take(ProcedureKind::PropertySet, name))
        result += VariableStub(ClassName, name, varType, ProcedureKind::PropertySet);
    } else if (type == host::vbext_mt_Method || type == host::vbext_mt_Property) {
      // Every public procedure of that name: a property has its Get, Let and Set each.
      const auto named = procedureNamed.find(vb::UCase(name));
      if (named == procedureNamed.end()) continue;
      for (const DeclaredProcedure* procedure : named->second) {
        const vb::ProcedureHeader& header = procedure->header;
        if (header.scope != host::vbext_Public || IsMethod(header.kind) != (type == host::vbext_mt_Method) ||
            !stubs.Take(header.kind, name))
          continue;
        result += ProcedureStub(ClassName, name, header, procedure->declaration);
      }
    }
  }
  return result;
}

}  // namespace morrowgate
