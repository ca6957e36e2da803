// vb6kit implement: the interface implementer's dialog on a project or a group.
#include <ostream>

#include "cli/addin_session.h"
#include "cli/args.h"
#include "cli/command.h"
#include "cli/home.h"
#include "cli/loaded_code.h"
#include "cli/output.h"
#include "interface_builder/connect.h"
#include "interface_builder/frm_add_in.h"
#include "interface_builder/frm_property_determine.h"

namespace cli {

namespace {

int Implement(Context& context, const Args& args) {
  const std::string target = args.required("class");
  const std::vector<std::string> interfaces = args.values("interface");
  if (interfaces.empty()) throw UsageError("missing --interface PROJECT.CLASS");
  const std::string unknown = args.Choice("unknown", "let");
  const int answer = unknown == "let" ? 1 : unknown == "set" ? 2 : 3;

  LoadedCode code(args.positionals()[0], std::nullopt);
  Home home(context, SettingsUse::None);
  Connected<morrowgate::Connect> session(code.vbe());
  std::string refused;
  std::vector<morrowgate::frmAddIn::AlreadyImplemented> alreadyImplemented;
  const vb::Text component = vb::FromUtf8(target);
  memhost::LineStore before;  // the target's code, for what is said at the end
  home.toolkit.On(u"frmAddIn", [&](ui::Form& form) {
    auto& classes = *form.Find<ui::ComboBox>(u"cboClasses");
    auto& list = *form.Find<ui::ListBox>(u"lstClasses");
    if (classes.FindRow(component) < 0) {
      refused = "--class " + target + ": no class, form or user control of that name (give PROJECT.COMPONENT)";
    }
    for (const std::string& entry : interfaces)
      if (refused.empty() && list.FindRow(vb::FromUtf8(entry)) < 0)
        refused = "--interface " + entry + ": no class module of that name (give PROJECT.CLASS)";
    if (!refused.empty()) {
      form.Unload();
      return;
    }
    scripted::Choose(form, u"cboClasses", component);
    before = CodeOf(*code.vbe(), component);
    for (const std::string& entry : interfaces)
      if (!list.Selected(list.FindRow(vb::FromUtf8(entry)))) scripted::Tick(form, u"lstClasses", vb::FromUtf8(entry));
    scripted::Click(form, u"cmdOK");
    alreadyImplemented = dynamic_cast<morrowgate::frmAddIn&>(form).alreadyImplemented;
    if (form.visible()) form.Unload();
  });
  home.toolkit.On(u"frmPropertyDetermine", [&](ui::Form& form) {
    auto& question = dynamic_cast<morrowgate::frmPropertyDetermine&>(form);
    question.optPropertyItem(answer).Click();
    scripted::Click(form, u"cmdOK");
  });
  std::string file = target;
  for (const ComponentFile& loaded : code.Components()) {
    if (!vb::EqualsNoCase(loaded.project + u"." + loaded.component, component)) continue;
    file = loaded.file.string();
    // The class's code window open, as when a person starts the dialog from it: the dialog then
    // preselects the class instead of failing to read a code window that is not there.
    if (loaded.project + u"." + loaded.component == component) session.vbe().SetActivePane(component);
  }
  session.vbe().Click(u"Add-Ins", u"M&orrowgate Builder");
  if (!refused.empty()) throw UsageError(refused);
  // Against the module's own lines: a copy of a module that grew by thousands of lines is large.
  const LineChanges changes = CompareCode(before, code.vbe()->ModuleLines(component));
  before = memhost::LineStore();  // room for the save
  std::string names;
  for (const std::string& entry : interfaces) names += (names.empty() ? "" : ", ") + entry;
  if (home.toolkit.messages().empty()) {
    for (const auto& done : alreadyImplemented)
      context.err << "vb6kit " << context.commandName << ": " << target << " implements " << vb::ToUtf8(done.interfaceEntry)
                  << " already: " << (done.addedMissing ? "added only its missing procedures" : "nothing added")
                  << "\n";
  }
  return FinishEdit(context, home, code, "Morrowgate",
                    file + ": " +
                        (changes.none() ? "nothing changed"
                                        : names + " implemented (" + Plural(changes.added, "line") + " added)"));
}

}  // namespace

std::vector<Command> ImplementCommands() {
  return {
      {"implement", "implement interface classes in a class, form or user control", {{"PROJECT", Complete::CodePath}},
       {{"class", OptionRule::Required, "PROJECT.COMPONENT", "the class, form or user control to write into"},
        {"interface", OptionRule::Repeated, "PROJECT.CLASS", "an interface class to implement (at least one)"},
        {"unknown", OptionRule::Value, "let|set|both",
         "the answer to the question about a public variable of a type that is not built in: a Property Let, a "
         "Property Set, or both (default: let)",
         Complete::Words}},
       "Writes the Implements line and a procedure for every public member of each interface class into the "
       "class, form or user control, as the interface dialog does. An interface the class implements already gets "
       "only the procedures it lacks, and is named on stderr. A member declared in the branches of an #If block gets "
       "a procedure for each branch, under the same directives, so the class compiles in every configuration.",
       Implement},
  };
}

}  // namespace cli
