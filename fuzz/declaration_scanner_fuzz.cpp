// The declaration scanner on a module's code lines (Windows-1252, split as the loader splits a
// file): every declaration lies within the module, in the order of the code, and each member the
// IDE would list is one distinct name found by the scan. Adding a declaration to the in-memory
// code module keeps every existing line, in order.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "fuzz_support.h"
#include "hosts/files/text_file.h"
#include "hosts/memory/declaration_scanner.h"
#include "hosts/memory/memory_host.h"

namespace {

using vb::Text;

void CheckOutline(const memhost::ModuleOutline& outline, long lineCount) {
  long previous = 1;
  for (const auto& d : outline.declarations) {
    FUZZ_CHECK(previous <= d.firstLine && d.firstLine <= d.lastLine && d.lastLine <= lineCount);
    FUZZ_CHECK(d.endLine == 0 || (d.lastLine <= d.endLine && d.endLine <= lineCount));
    previous = d.firstLine;
  }
  FUZZ_CHECK(0 <= outline.declarationLines && outline.declarationLines <= lineCount);
  FUZZ_CHECK(outline.firstProcedureLine == 0 ||
             std::any_of(outline.declarations.begin(), outline.declarations.end(), [&](const auto& d) {
               return memhost::IsProcedure(d.kind) && d.firstLine == outline.firstProcedureLine;
             }));

  std::vector<std::uint32_t> memberIndexes;
  memhost::MemberDeclarations(outline, memberIndexes);
  std::vector<memhost::MemberInfo> members;
  for (std::uint32_t index : memberIndexes) members.push_back(memhost::MemberOf(outline, outline.declarations[index]));
  for (std::size_t i = 0; i < members.size(); ++i) {
    FUZZ_CHECK(!members[i].name.empty());
    for (std::size_t j = 0; j < i; ++j) FUZZ_CHECK(!vb::EqualsNoCase(members[i].name, members[j].name));
    FUZZ_CHECK(std::any_of(outline.declarations.begin(), outline.declarations.end(), [&](const auto& d) {
      return outline.Name(d) == members[i].name && d.firstLine == members[i].codeLocation;
    }));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<Text> lines;
  for (auto& line : files::SplitFile(fuzz::Bytes(data, size), 1252).lines) lines.push_back(std::move(line.text));
  CheckOutline(memhost::ScanModule(lines), static_cast<long>(lines.size()));

  auto vbe = memhost::HostBuilder().project(u"Fuzz").module(u"modFuzz").build();
  vbe->SetCode(u"modFuzz", vb::Join(lines, vb::kCrLf));
  const std::vector<Text> before = vbe->CodeLines(u"modFuzz");
  const Text added = u"Dim FuzzAdded As Long";
  vbe->Component(u"modFuzz")->CodeModule()->AddFromString(added);
  const std::vector<Text> after = vbe->CodeLines(u"modFuzz");
  FUZZ_CHECK(after.size() == before.size() + 1);
  const auto at = std::mismatch(before.begin(), before.end(), after.begin()).second;
  FUZZ_CHECK(*at == added && std::equal(at + 1, after.end(), before.begin() + (at - after.begin())));
  return 0;
}
