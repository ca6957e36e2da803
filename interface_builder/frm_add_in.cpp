#include "interface_builder/frm_add_in.h"

#include <utility>

#include "framework/failure_report.h"
#include "interface_builder/build_interface.h"
#include "interface_builder/connect.h"
#include "interface_builder/declared_procedures.h"
#include "interface_builder/implements_line.h"

namespace morrowgate {

using vb::Required;

namespace {

// "Project.Component" split at its first ".".
std::pair<vb::Text, vb::Text> SplitEntry(vb::TextView entry) {
  std::int64_t dot = vb::InStr(entry, u".");
  return {vb::Left(entry, dot - 1), vb::Mid(entry, dot + 1)};
}

bool HasItem(const ui::ComboBox& combo, vb::TextView text) {
  for (int i = 0; i < combo.listCount(); ++i)
    if (combo.List(i) == text) return true;
  return false;
}

}  // namespace

frmAddIn::frmAddIn() : ui::Form(u"frmAddIn", u"Add Interface(s) to Component") {
  cmdOK.SetDefault(true);
  cmdOK.OnClick = [this] { cmdOK_Click(); };
}

void frmAddIn::Form_Activate() {
  try {
    FillLists();
  } catch (...) {
    addin::ReportFailure(std::current_exception());
  }
  PreselectImplementingClass();
}

void frmAddIn::FillLists() {
  // A later activation of the open dialog adds only what is new, so no row appears twice and
  // the ticks already made stay.
  host::Ref<host::VBProjects> projects = Required(Required(VBInstance)->VBProjects());
  long projectCount = projects->Count();
  for (long p = 1; p <= projectCount; ++p) {
    host::Ref<host::VBProject> project = Required(projects->Item(p));
    vb::Text projectName = project->Name();
    host::Ref<host::VBComponents> components = Required(project->VBComponents());
    long componentCount = components->Count();
    for (long c = 1; c <= componentCount; ++c) {
      host::Ref<host::VBComponent> component = Required(components->Item(c));
      const host::ComponentType type = component->Type();
      vb::Text entry = projectName + u"." + component->Name();
      if (type == host::vbext_ct_ClassModule && lstClasses.FindRow(entry) < 0) lstClasses.AddItem(entry);
      if ((type == host::vbext_ct_VBForm || type == host::vbext_ct_UserControl || type == host::vbext_ct_ClassModule) &&
          !HasItem(cboClasses, entry))
        cboClasses.AddItem(entry);
    }
  }
}

void frmAddIn::PreselectImplementingClass() {
  vb::Text entry;
  try {
    host::Ref<host::CodeModule> module = Required(Required(Required(VBInstance)->ActiveCodePane())->CodeModule());
    host::Ref<host::VBComponent> component = Required(module->Parent());
    vb::Text name = component->Name();
    if (name.empty()) return;
    // The pane's component is found among the open projects by identity; a host that hands
    // out a new object per call is matched by name, the active project first.
    host::Ref<host::VBProjects> projects = Required(VBInstance->VBProjects());
    vb::Text byName;
    vb::Text activeProject;
    if (host::Ref<host::VBProject> active = VBInstance->ActiveVBProject()) activeProject = active->Name();
    long projectCount = projects->Count();
    for (long p = 1; p <= projectCount && entry.empty(); ++p) {
      host::Ref<host::VBProject> project = Required(projects->Item(p));
      vb::Text projectName = project->Name();
      host::Ref<host::VBComponents> components = Required(project->VBComponents());
      long componentCount = components->Count();
      for (long c = 1; c <= componentCount; ++c) {
        host::Ref<host::VBComponent> candidate = components->Item(c);
        if (!candidate) continue;
        if (candidate == component) {
          entry = projectName + u"." + name;
          break;
        }
        if (candidate->Name() == name && (byName.empty() || projectName == activeProject))
          byName = projectName + u"." + name;
      }
    }
    if (entry.empty()) entry = byName;
  } catch (...) {
    // No active code pane (or it cannot be read): offer the first entry.
    if (cboClasses.listCount() > 0) cboClasses.SetListIndex(0);
    return;
  }
  // A component that is no class, form or user control has no entry: nothing is preselected.
  if (!entry.empty() && HasItem(cboClasses, entry)) cboClasses.SetText(entry);
}

int frmAddIn::ChosenRow() const {
  for (int i = 0; i < cboClasses.listCount(); ++i)
    if (cboClasses.List(i) == cboClasses.text()) return i;
  return -1;
}

void frmAddIn::cmdOK_Click() {
  try {
    AddInterfaces();
  } catch (...) {
    // What was written for earlier interfaces stays; the dialog stays open with the choice.
    addin::ReportFailure(std::current_exception());
    return;
  }
  Hide();
  Unload();
}

void frmAddIn::AddInterfaces() {
  alreadyImplemented.clear();
  // Typed text that names no entry chooses nothing, as no selection does.
  if (ChosenRow() < 0) return;
  vb::Text target = cboClasses.text();
  auto [projectName, componentName] = SplitEntry(target);
  host::Ref<host::VBProject> project = Required(Required(Required(VBInstance)->VBProjects())->Item(projectName));
  host::Ref<host::VBComponent> component = Required(Required(project->VBComponents())->Item(componentName));
  host::Ref<host::CodeModule> module = Required(component->CodeModule());
  morrowgate::Connect& connect = *Required(Connect);
  BuildInterface builder([&connect](const vb::Text& varType) { return connect.PropertyDetermine().Ask(varType); });

  // The list is sorted, so interfaces are processed in alphabetical order.
  for (int i = 0; i < lstClasses.listCount(); ++i) {
    if (!lstClasses.Selected(i)) continue;
    vb::Text entry = lstClasses.List(i);
    if (entry == target) continue;  // a class never implements itself
    auto [interfaceProject, interfaceClass] = SplitEntry(entry);
    // Implementing an interface again adds only what is missing: a second Implements line or a
    // second copy of a procedure would not compile.
    bool wroteStubs = false;
    {
      const DeclaredProcedures existing(*module);
      vb::Text stubs = builder(VBInstance, interfaceProject, interfaceClass,
                               [&existing](vb::ProcedureKind kind, vb::TextView name,
                                           const vb::BranchConditions& conditions) {
                                 return existing.Declares(kind, name, conditions);
                               });
      // The stubs go in before the Implements line, so a failure between the two leaves private
      // procedures that compile rather than an interface that is not implemented.
      wroteStubs = !stubs.empty();
      if (wroteStubs) module->AddFromString(std::move(stubs));  // handed over: the host may keep its room
    }  // the text of the stubs goes before the module is read again
    if (HasImplementsLine(*module, interfaceProject, interfaceClass))
      alreadyImplemented.push_back({entry, wroteStubs});
    else
      AddImplementsLine(*module, interfaceProject + u"." + interfaceClass);
  }
}

}  // namespace morrowgate
