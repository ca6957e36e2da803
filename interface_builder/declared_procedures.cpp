#include "interface_builder/declared_procedures.h"

#include <algorithm>

namespace morrowgate {

void ForEachLine(host::CodeModule& module, const std::function<void(vb::TextView line)>& visit) {
  // A host call per line costs far more than the lines on a long module; a copy of the whole
  // module takes twice its size.
  constexpr long kBlock = 1024;
  const long count = module.CountOfLines();
  for (long first = 1; first <= count; first += kBlock) {
    const vb::Text block = module.Lines(first, std::min(kBlock, count - first + 1));
    if (block.empty()) visit(block);  // one empty line
    for (vb::TextView line : vb::SplitLineViews(block)) visit(line);
  }
}

void ForEachStatement(host::CodeModule& module, vb::ConditionalBranches& branches, const StatementVisitor& visit) {
  vb::Text statement;
  long line = 0, first = 0;
  bool continued = false;  // the statement goes on onto the next line
  auto finish = [&] {
    branches.Read(statement, line);
    visit(statement, first);
  };
  ForEachLine(module, [&](vb::TextView text) {
    ++line;
    if (continued) {
      statement += vb::kCrLf;
      statement += text;
    } else {
      statement.assign(text);
      first = line;
    }
    continued = vb::ContinuesOnNextLine(statement);
    if (!continued) finish();
  });
  if (continued) finish();  // the last line ends with a continuation mark
}

DeclaredProcedures::DeclaredProcedures(host::CodeModule& module) {
  vb::ConditionalBranches branches;
  ForEachStatement(module, branches, [&](vb::TextView statement, long) {
    if (std::optional<vb::ProcedureHeader> header = vb::ReadProcedureHeader(statement)) {
      const std::size_t hash = vb::HashNoCase(header->name);
      byHash_.push_back({hash, {header->kind, std::move(header->name), branches.Conditions(branches.Current())}});
    }
  });
  std::stable_sort(byHash_.begin(), byHash_.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
}

bool DeclaredProcedures::Declares(vb::ProcedureKind kind, vb::TextView name,
                                  const vb::BranchConditions& conditions) const {
  const auto isProperty = [](vb::ProcedureKind k) { return k != vb::ProcedureKind::Sub && k != vb::ProcedureKind::Function; };
  const std::size_t hash = vb::HashNoCase(name);
  auto at = std::lower_bound(byHash_.begin(), byHash_.end(), hash,
                             [](const auto& entry, std::size_t h) { return entry.first < h; });
  for (; at != byHash_.end() && at->first == hash; ++at) {
    const DeclaredProcedure& procedure = at->second;
    if (!vb::EqualsNoCase(procedure.name, name) || !vb::MayCompileTogether(procedure.conditions, conditions)) continue;
    if (procedure.kind == kind || !isProperty(kind) || !isProperty(procedure.kind)) return true;
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

vb::Text JoinedLines(vb::TextView statement) { return vb::Replace(statement, vb::Text(u"_") + vb::kCrLf, u" "); }

}  // namespace morrowgate
