#include "interface_builder/build_interface.h"

#include "interface_builder/interface_stubs.h"

namespace morrowgate {

namespace {

template <class T>
const host::Ref<T>& Required(const host::Ref<T>& object) {
  if (!object) vb::RaiseStandard(vb::err::kObjectNotSet);
  return object;
}

// The declaration at `line` with the lines it continues onto (" _"), joined by CR LF.
Text DeclarationAt(host::CodeModule& module, long line) {
  Text declaration = module.Lines(line, 1);
  while (vb::EndsWith(vb::Trim(declaration), u"_")) declaration += vb::kCrLf + module.Lines(++line, 1);
  return declaration;
}

}  // namespace

BuildInterface::BuildInterface(AskPropertyType ask) : ask_(std::move(ask)) {}

vb::Text BuildInterface::operator()(const host::Ref<host::VBE>& VBInst, vb::TextView ProjName,
                                    vb::TextView ClassName) const {
  host::Ref<host::VBProject> project = Required(Required(Required(VBInst)->VBProjects())->Item(ProjName));
  host::Ref<host::VBComponent> component = Required(Required(project->VBComponents())->Item(ClassName));
  host::Ref<host::CodeModule> module = Required(component->CodeModule());
  host::Ref<host::Members> members = Required(module->Members());

  Text result;
  long count = members->Count();
  for (long i = 1; i <= count; ++i) {
    host::Ref<host::Member> member = Required(members->Item(i));
    if (member->Scope() != host::vbext_Public) continue;
    int type = member->Type();
    if (type == host::vbext_mt_Variable) {
      Text name = member->Name();
      Text varType = VariableType(module->Lines(member->CodeLocation(), 1));
      std::optional<int> writes = KnownWriteProcedures(varType);
      if (!writes) {
        if (!ask_) vb::RaiseStandard(vb::err::kObjectNotSet);
        writes = ask_(varType);
      }
      result += PropertyStubs(ClassName, name, varType, *writes);
    } else if (type == host::vbext_mt_Method) {
      Text name = member->Name();
      result += MethodStub(ClassName, name, SplitMethodDeclaration(DeclarationAt(*module, member->CodeLocation()), name));
    }
  }
  return result;
}

}  // namespace morrowgate
