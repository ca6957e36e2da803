// The host's hot operations over growing inputs, each with Google Benchmark's complexity fit: a
// walk that edits every line of a module, the member list after an edit, the declaration scan
// (also of one very long line and of one very long continued statement), line classification,
// the tag scan of a piece, the unified diff, saving a class whose properties were commented out, and
// reaching the modules of a group of projects. Each should fit O(N) or better.
//
//   build/bench/host_benchmarks [--benchmark_filter=Members]
#include <benchmark/benchmark.h>

#include <string>

#include "framework/runtime.h"
#include "hosts/files/module_file.h"
#include "hosts/files/unified_diff.h"
#include "hosts/memory/declaration_scanner.h"
#include "hosts/memory/line_store.h"
#include "hosts/memory/memory_host.h"
#include "line_counter/line_count.h"
#include "piece_store/code_tags.h"
#include "toolkits/scripted/scripted_toolkit.h"

namespace {

using vb::Text;

// A module of about `lines` lines: declarations, then procedures of 20 lines each.
Text ModuleText(long lines) {
  Text code = u"Option Explicit\r\nPrivate mTotal As Long\r\nPublic Const LIMIT As Long = 10\r\n";
  for (long n = 0, written = 3; written < lines; ++n) {
    const Text name = u"Work" + vb::ToText(n);
    code += u"' Adds up the stock of " + name + u"\r\nPublic Function " + name + u"(ByVal a As Long, _\r\n" +
            u"        ByVal b As String) As Long\r\n    Dim i As Long\r\n";
    for (int i = 0; i < 14; ++i) code += u"    mTotal = mTotal + a * " + vb::ToText(i) + u" ' running total\r\n";
    code += u"End Function\r\n\r\n";
    written += 20;
  }
  return code;
}

std::shared_ptr<memhost::MemoryVBE> Ide(const Text& code) {
  return memhost::HostBuilder().project(u"Project1").module(u"Module1", code).build();
}

host::Ref<host::CodeModule> ModuleOf(const std::shared_ptr<memhost::MemoryVBE>& vbe) {
  return vbe->Component(u"Module1")->CodeModule();
}

// The runtime the add-ins' loops yield to once per pass.
class QuietRuntime {
 public:
  QuietRuntime() : scope_(Runtime(toolkit_)) {}

 private:
  static vb::Runtime Runtime(scripted::ScriptedToolkit& toolkit) {
    vb::Runtime runtime;
    runtime.toolkit = &toolkit;
    return runtime;
  }
  scripted::ScriptedToolkit toolkit_;
  vb::RuntimeScope scope_;
};

void Sizes(benchmark::internal::Benchmark* b) { b->RangeMultiplier(4)->Range(1 << 10, 1 << 16)->Complexity(); }

// Times `edit` on a module of state.range(0) lines, loaded afresh (untimed) for each iteration.
template <typename Edit>
void EditFreshModule(benchmark::State& state, Edit edit) {
  const Text code = ModuleText(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    auto vbe = Ide(code);
    auto module = ModuleOf(vbe);
    state.ResumeTiming();
    edit(*module);
  }
  state.SetComplexityN(state.range(0));
}

// Comments out every line, as the comment add-in does: one Lines and one ReplaceLine per line.
void ReplaceLine(benchmark::State& state) {
  EditFreshModule(state, [](auto& module) {
    const long count = module.CountOfLines();
    for (long line = 1; line <= count; ++line) module.ReplaceLine(line, u"'" + module.Lines(line, 1));
  });
}
BENCHMARK(ReplaceLine)->Apply(Sizes);

// A line inserted above every line, walking down.
void InsertLines(benchmark::State& state) {
  EditFreshModule(state, [](auto& module) {
    const long count = module.CountOfLines();
    for (long line = 1; line <= 2 * count; line += 2) module.InsertLines(line, u"' note");
  });
}
BENCHMARK(InsertLines)->Apply(Sizes);

// Every other line deleted, walking down.
void DeleteLines(benchmark::State& state) {
  EditFreshModule(state, [](auto& module) {
    for (long line = 1; line <= module.CountOfLines(); ++line) module.DeleteLines(line, 1);
  });
}
BENCHMARK(DeleteLines)->Apply(Sizes);

// One line edited in the middle, then the member list read again (what the control editor's
// removal does once per procedure).
void MembersAfterAnEdit(benchmark::State& state) {
  auto vbe = Ide(ModuleText(state.range(0)));
  auto module = ModuleOf(vbe);
  const long middle = module->CountOfLines() / 2;
  benchmark::DoNotOptimize(module->Members()->Count());
  for (auto _ : state) {
    module->ReplaceLine(middle, module->Lines(middle, 1));
    benchmark::DoNotOptimize(module->Members()->Item(u"Work0"));
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(MembersAfterAnEdit)->Apply(Sizes);

// A property added three times over, as the property generator adds one.
void AddFromString(benchmark::State& state) {
  EditFreshModule(state, [](auto& module) {
    module.AddFromString(u"Private mPrice As Currency");
    module.AddFromString(u"Public Property Let Price(ByVal value As Currency)\r\n    mPrice = value\r\nEnd Property");
    module.AddFromString(u"Public Property Get Price() As Currency\r\n    Price = mPrice\r\nEnd Property");
  });
}
BENCHMARK(AddFromString)->Apply(Sizes);

void DeclarationScan(benchmark::State& state) {
  const memhost::LineStore lines(ModuleText(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(memhost::ScanModule(lines));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(DeclarationScan)->Apply(Sizes);

// One statement line of N characters.
void DeclarationScanOfALongLine(benchmark::State& state) {
  Text line = u"Private Const LIST As String = \"start\"";
  while (static_cast<long>(line.size()) < state.range(0)) line += u" & \"a:b\" & part";
  const memhost::LineStore lines(line);
  for (auto _ : state) benchmark::DoNotOptimize(memhost::ScanModule(lines));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(DeclarationScanOfALongLine)->Apply(Sizes);

// One statement continued over N lines.
void DeclarationScanOfContinuedLines(benchmark::State& state) {
  Text code = u"Private Const LIST As String = \"start\" & _\r\n";
  for (long n = 1; n < state.range(0); ++n) code += u"    \"item\" & _\r\n";
  code += u"    \"end\"\r\n";
  const memhost::LineStore lines(code);
  for (auto _ : state) benchmark::DoNotOptimize(memhost::ScanModule(lines));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(DeclarationScanOfContinuedLines)->Apply(Sizes);

// The line counter's walk: one yield, one Lines call and one classification per line.
void LineClassification(benchmark::State& state) {
  QuietRuntime runtime;
  auto vbe = Ide(ModuleText(state.range(0)));
  auto module = ModuleOf(vbe);
  for (auto _ : state) benchmark::DoNotOptimize(tallowick::CountModuleLines(module));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(LineClassification)->Apply(Sizes);

// A piece of N characters with a tag every few lines, a tenth of them different.
void TagScan(benchmark::State& state) {
  QuietRuntime runtime;
  Text piece;
  for (long n = 0; static_cast<long>(piece.size()) < state.range(0); ++n)
    piece += u"    <@name" + vb::ToText(n % 10 == 0 ? n : 0) + u"@> = <@value@> + 1\r\n";
  for (auto _ : state) benchmark::DoNotOptimize(pellmoss::FindCodeTags(piece));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(TagScan)->Apply(Sizes);

std::string FileBytes(long lines, bool commented) {
  std::string bytes;
  for (long n = 0; n < lines; ++n)
    bytes += (commented ? "'" : "") + std::string(n % 7 == 0 ? "End Sub" : "    x = x + ") + std::to_string(n % 50) + "\r\n";
  return bytes;
}

// One line changed in the middle of an N-line file: one small hunk.
void UnifiedDiffOfOneLine(benchmark::State& state) {
  const std::string before = FileBytes(state.range(0), false);
  std::string after = before;
  after.insert(after.size() / 2, "' changed\r\n");
  for (auto _ : state) benchmark::DoNotOptimize(files::UnifiedDiffOfBytes("Module1.bas", before, after));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(UnifiedDiffOfOneLine)->Apply(Sizes);

// Every line changed, as commenting out a whole module does.
void UnifiedDiffOfEveryLine(benchmark::State& state) {
  const std::string before = FileBytes(state.range(0), false), after = FileBytes(state.range(0), true);
  for (auto _ : state) benchmark::DoNotOptimize(files::UnifiedDiffOfBytes("Module1.bas", before, after));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(UnifiedDiffOfEveryLine)->Apply(Sizes);

// A class of N properties, each with an attribute line, whose first half was commented out: saving
// drops the attribute line of each, looking among the other half for a procedure to keep it.
void SaveWithPropertiesCommentedOut(benchmark::State& state) {
  files::CodeLines old;
  Text current;
  for (long n = 0; n < state.range(0); ++n) {
    const Text name = u"Item" + vb::ToText(n), mark = 2 * n < state.range(0) ? u"'" : u"";
    for (const Text& line : {u"Public Property Get " + name + u"() As Long", u"    " + name + u" = 1", Text(u"End Property")}) {
      old.Add(line, "\r\n", false);
      current += mark + line + u"\r\n";
      if (line.starts_with(u"Public"))
        old.Add(u"Attribute " + name + u".VB_Description = \"Item\"", "\r\n", true);
    }
  }
  const memhost::LineStore lines(current);
  for (auto _ : state) {
    std::vector<files::DroppedLine> dropped;
    files::RebuildCode(old, lines, "\r\n", [](vb::TextView, std::string_view) {}, &dropped);
    benchmark::DoNotOptimize(dropped.data());
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(SaveWithPropertiesCommentedOut)->Apply(Sizes);

// A group of N projects of one module each: every module reached by its project's name, as
// counting a group does for each of its components.
void ModulesOfAGroup(benchmark::State& state) {
  memhost::HostBuilder builder;
  for (long n = 0; n < state.range(0); ++n) builder.project(u"Project" + vb::ToText(n)).module(u"Module1", u"x = 1\r\n");
  const auto vbe = builder.build();
  for (auto _ : state)
    for (long n = 0; n < state.range(0); ++n)
      benchmark::DoNotOptimize(vbe->CodeEdits(u"Project" + vb::ToText(n) + u".Module1"));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(ModulesOfAGroup)->RangeMultiplier(4)->Range(16, 1024)->Complexity();

}  // namespace

BENCHMARK_MAIN();
