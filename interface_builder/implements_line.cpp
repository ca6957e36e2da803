#include "interface_builder/implements_line.h"

#include "framework/vb_statements.h"
#include "interface_builder/declared_procedures.h"

namespace morrowgate {

void AddImplementsLine(host::CodeModule& module, vb::TextView interfaceName) {
  vb::Text statement = vb::Text(vb::kCrLf) + u"Implements " + vb::Text(interfaceName) + vb::kCrLf;
  long count = module.CountOfLines();
  for (long line = 1; line <= count; ++line) {
    if (vb::Left(module.Lines(line, 1), 6) != u"Option") {
      module.InsertLines(line, statement);
      return;
    }
  }
  // Only Option lines, or none: an interface without its Implements line implements nothing.
  module.InsertLines(count + 1, statement);
}

bool HasImplementsLine(host::CodeModule& module, vb::TextView project, vb::TextView className) {
  const vb::Text qualified = vb::Text(project) + u"." + vb::Text(className);
  bool found = false;
  ForEachLine(module, [&](vb::TextView line) {
    if (found) return;
    vb::Text statement = vb::Trim(vb::StatementsOfLine(line).front());
    if (!vb::StartsWith(statement, u"Implements ")) return;
    vb::Text name = vb::Trim(statement.substr(11));
    found = vb::EqualsNoCase(name, qualified) || vb::EqualsNoCase(name, className);
  });
  return found;
}

}  // namespace morrowgate
