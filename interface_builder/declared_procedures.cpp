#include "interface_builder/declared_procedures.h"

namespace morrowgate {

std::vector<DeclaredProcedure> DeclaredProcedures(host::CodeModule& module) {
  std::vector<DeclaredProcedure> procedures;
  const long count = module.CountOfLines();
  if (count == 0) return procedures;
  // One read of the whole module: a host call per line costs far more on a long module.
  const std::vector<vb::Text> lines = vb::SplitLines(module.Lines(1, count));
  for (std::size_t i = 0; i < lines.size(); ++i) {
    vb::Text declaration = lines[i];
    while (vb::ContinuesOnNextLine(declaration) && i + 1 < lines.size()) {
      declaration += vb::kCrLf;
      declaration += lines[++i];
    }
    if (std::optional<vb::ProcedureHeader> header = vb::ReadProcedureHeader(declaration))
      procedures.push_back({std::move(*header), std::move(declaration)});
  }
  return procedures;
}

bool Declares(const std::vector<DeclaredProcedure>& procedures, vb::ProcedureKind kind, vb::TextView name) {
  const auto isProperty = [](vb::ProcedureKind k) { return k != vb::ProcedureKind::Sub && k != vb::ProcedureKind::Function; };
  for (const DeclaredProcedure& procedure : procedures) {
    if (!vb::EqualsNoCase(procedure.header.name, name)) continue;
    if (procedure.header.kind == kind || !isProperty(kind) || !isProperty(procedure.header.kind)) return true;
  }
  return false;
}

vb::Text DeclarationAt(host::CodeModule& module, long line) {
  vb::Text declaration = module.Lines(line, 1);
  while (vb::ContinuesOnNextLine(declaration) && line < module.CountOfLines()) {
    declaration += vb::kCrLf;
    declaration += module.Lines(++line, 1);
  }
  return declaration;
}

vb::Text ProcedureKey(vb::ProcedureKind kind, vb::TextView name) {
  return vb::UCase(name) + u'|' + static_cast<char16_t>(u'0' + static_cast<int>(kind));
}

}  // namespace morrowgate
