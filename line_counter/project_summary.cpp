#include "line_counter/project_summary.h"

#include <cstdint>

#include "framework/runtime.h"
#include "line_counter/checked_count.h"

namespace tallowick {

using vb::Required;

namespace {

struct KindCounts {
  std::int32_t constants = 0, events = 0, methods = 0, properties = 0, variables = 0;
};

// The member's counter and its label, or nullptr for a kind that is neither listed nor counted.
std::int32_t* CounterFor(KindCounts& counts, host::MemberType memberType, const char16_t*& label) {
  switch (memberType) {
    case host::vbext_mt_Const: label = u" - Constant"; return &counts.constants;
    case host::vbext_mt_Event: label = u" - Event"; return &counts.events;
    case host::vbext_mt_Method: label = u" - Method"; return &counts.methods;
    case host::vbext_mt_Property: label = u" - Property"; return &counts.properties;
    case host::vbext_mt_Variable: label = u" - Variable"; return &counts.variables;
    default: return nullptr;
  }
}

void AppendCounts(vb::Text& out, const KindCounts& counts, const char16_t* propertiesLabel) {
  using vb::kCrLf;
  out += u"Total Constants: " + vb::ToText(counts.constants) + kCrLf;
  out += u"Total Events: " + vb::ToText(counts.events) + kCrLf;
  out += u"Total Methods: " + vb::ToText(counts.methods) + kCrLf;
  out += propertiesLabel + vb::ToText(counts.properties) + kCrLf;
  out += u"Total Variables: " + vb::ToText(counts.variables) + kCrLf;
}

host::Ref<host::Members> MembersOf(const host::Ref<host::VBComponent>& component) {
  host::Ref<host::CodeModule> module = component->CodeModule();
  return module ? module->Members() : nullptr;
}

}  // namespace

vb::Text BuildProjectSummary(const host::Ref<host::VBProject>& project) {
  using vb::kCrLf;
  vb::Text out = u"Project Summary for : " + Required(project)->Name() + kCrLf + kCrLf;
  KindCounts projectCounts;
  host::Ref<host::VBComponents> components = project->VBComponents();
  long componentCount = Required(components)->Count();
  for (long c = 1; c <= componentCount; ++c) {
    vb::DoEvents();
    host::Ref<host::VBComponent> component = components->Item(c);
    out += u"Summary for Component: " + Required(component)->Name() + kCrLf;
    KindCounts componentCounts;
    if (host::Ref<host::Members> members = MembersOf(component)) {
      long memberCount = members->Count();
      for (long m = 1; m <= memberCount; ++m) {
        vb::DoEvents();
        host::Ref<host::Member> member = members->Item(m);
        const host::MemberType type = Required(member)->Type();
        const char16_t* label = nullptr;
        std::int32_t* componentCounter = CounterFor(componentCounts, type, label);
        if (!componentCounter) continue;
        std::int32_t* projectCounter = CounterFor(projectCounts, type, label);
        out += member->Name() + label + kCrLf;
        AddToCount(*componentCounter, 1);
        AddToCount(*projectCounter, 1);
      }
    }
    out += vb::Text(kCrLf) + u"Component Counts:" + kCrLf;
    AppendCounts(out, componentCounts, u"Total Properties: ");
    out += kCrLf;
  }
  out += vb::Text(u"Total Counts for Project") + kCrLf;
  // The project line has always read "Propertys"; kept as users and scripts know it.
  AppendCounts(out, projectCounts, u"Total Propertys: ");
  return out;
}

}  // namespace tallowick
