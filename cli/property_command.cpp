// vb6kit property: the property generator's dialog on one module file.
#include <ostream>

#include "cli/addin_session.h"
#include "cli/args.h"
#include "cli/command.h"
#include "cli/home.h"
#include "cli/loaded_code.h"
#include "cli/output.h"
#include "control_editor/control_code.h"
#include "framework/vb_statements.h"
#include "hosts/memory/control_classes.h"
#include "property_generator/connect.h"
#include "property_generator/frm_add_in.h"

namespace cli {

namespace {

// Whether VB takes `type` after "As" in a property: a built-in type (Decimal lives only inside a
// Variant), a class or Type name, or Library.Class, whose class part may be a reserved word
// (ADODB.Property, ADODB.Error).
bool IsPropertyType(vb::TextView type) {
  for (vb::TextView builtIn : vb::kBuiltInTypes)
    if (vb::EqualsNoCase(type, builtIn)) return true;
  const std::size_t dot = type.find(u'.');
  if (dot == vb::TextView::npos) return memhost::IsValidName(type, 255);
  const vb::TextView member = type.substr(dot + 1);
  return memhost::IsValidName(type.substr(0, dot), 255) &&
         (memhost::IsValidName(member, 255) || memhost::IsReservedWord(member));
}

// The control of the designer of `component` (none without one) whose name is `name`, letter
// case aside, as the designer writes it; empty when there is none.
vb::Text ControlNamed(memhost::MemoryVBE& vbe, vb::TextView component, vb::TextView name) {
  host::Ref<host::VBForm> designer = vbe.Component(component)->Designer();
  for (const vb::Text& control : ravlen::NamesOnForm(designer ? designer->VBControls() : nullptr))
    if (vb::EqualsNoCase(control, name)) return control;
  return {};
}

int Property(Context& context, const Args& args) {
  const std::string name = args.required("name");
  // The dialog writes any name as it stands, into code that would not compile; "prop" + NAME
  // names the member variable, within VB's 255 characters.
  if (!memhost::IsValidName(vb::FromUtf8(name), 251))
    throw UsageError("--name " + name + ": not a VB name (a letter, then letters, digits or _, at most 251 "
                     "characters, no keyword)");
  const std::string scope = args.Choice("scope", "public");
  const long line = args.value("line") ? ParseLineNumber("--line", *args.value("line")) : 1;
  const std::optional<std::string> type = args.value("type");
  // The dialog writes the type as it stands after "As"; blanks only become Variant there.
  if (type) {
    const vb::Text trimmed = vb::Trim(vb::FromUtf8(*type));
    if (!trimmed.empty() && !IsPropertyType(trimmed))
      throw UsageError("--type " + *type + ": not a type for a property (a built-in type such as Long or String, "
                       "a class name, or Library.Class such as ADODB.Recordset)");
  }
  const std::string& file = args.positionals()[0];
  LoadedFile loaded = LoadModuleFile(file, args.value("project"));
  CheckLineInModule("--line", line, loaded.lineCount, file, true);
  const vb::Text property = vb::FromUtf8(name), variable = u"prop" + property;
  vb::Text declared = DeclaredMember(*loaded.code->vbe(), loaded.component, {property, variable});
  if (declared.empty()) declared = ControlNamed(*loaded.code->vbe(), loaded.component, property);
  if (!declared.empty())
    throw UsageError("--name " + name + ": the module declares " + vb::ToUtf8(declared) +
                     " already; a second declaration would not compile");

  Home home(context, SettingsUse::None);
  Connected<quenby::Connect> session(loaded.code->vbe());
  session.vbe().SetActivePane(loaded.component, {line, 1, line, 1});
  home.toolkit.On(u"frmAddIn", [&](ui::Form& form) {
    scripted::Type(form, u"txtPropName", vb::FromUtf8(name));
    if (type) scripted::Type(form, u"cmbType", vb::FromUtf8(*type));
    if (scope == "none") {
      // No scope option chosen: the dialog's own default is taken away, as no click can do.
      dynamic_cast<quenby::frmAddIn&>(form).optPublic.SetValue(false);
    } else {
      scripted::Click(form, scope == "public"    ? u"optPublic"
                            : scope == "private" ? u"optPrivate"
                            : scope == "friend"  ? u"optFriend"
                                                 : u"optPublicRead");
    }
    if (args.flag("use-set")) scripted::SetCheck(form, u"chkUseSet", 1);
    scripted::Click(form, u"OKButton");
    if (form.visible()) scripted::Click(form, u"CancelButton");
  });
  session.vbe().Click(u"Add-Ins", u"Add New &Property");
  return FinishEdit(context, home, *loaded.code, "Quenby", WhatChanged(loaded, [&](const LineChanges& changes) {
                      return "property " + name + " added (" + Plural(changes.added, "line") + ")";
                    }));
}

}  // namespace

std::vector<Command> PropertyCommands() {
  return {
      {"property", "add a property (member variable and Get/Let or Set)", {{"FILE", Complete::ModuleFile}},
       {{"name", OptionRule::Required, "NAME", "the property's name: a VB name, refused otherwise (exit 2)"},
        {"type", OptionRule::Value, "TYPE",
         "its type: a built-in type, a class name or Library.Class (default: Variant); refused otherwise (exit 2)"},
        {"scope", OptionRule::Value, "public|private|friend|public-read|none",
         "the scope of the procedures (default: public); public-read makes the Let or Set private; none writes "
         "no scope word",
         Complete::Words},
        {"use-set", OptionRule::Flag, "", "write a Property Set instead of a Property Let"},
        {"line", OptionRule::Value, "N", "the caret line (default: 1)"},
        kProjectOption},
       "Adds a member variable and its property procedures to a module, as \"Add New &Property\" does with the "
       "code window of FILE in front.",
       Property},
  };
}

}  // namespace cli
