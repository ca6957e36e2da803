#include "interface_builder/implements_line.h"

namespace morrowgate {

void AddImplementsLine(host::CodeModule& module, vb::TextView interfaceName) {
  vb::Text statement = vb::kCrLf + u"Implements " + vb::Text(interfaceName) + vb::kCrLf;
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

}  // namespace morrowgate
