// vb6kit control add|rename|remove and vb6kit options: the control editor, driven by the
// designer events of a form file's project and by its options dialog.
#include <algorithm>
#include <ostream>
#include <sstream>

#include "cli/addin_session.h"
#include "cli/args.h"
#include "cli/command.h"
#include "cli/home.h"
#include "cli/loaded_code.h"
#include "cli/output.h"
#include "control_editor/control_code.h"
#include "control_editor/font_settings.h"
#include "control_editor/editor_options.h"
#include "control_editor/connect.h"
#include "control_editor/control_dialog.h"
#include "control_editor/control_types.h"
#include "hosts/memory/control_classes.h"

namespace cli {

namespace {

const std::string kAddin = "Ravlen";

// --font NAME,SIZE[,bold][,italic][,underline][,strikethru]
ui::FontChoice ParseFont(const std::string& text) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = text.find(',', start);
    parts.push_back(text.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  const std::string usage = "--font " + text + ": give NAME,SIZE[,bold][,italic][,underline][,strikethru]";
  if (parts.size() < 2 || parts[0].empty()) throw UsageError(usage);
  ui::FontChoice font;
  font.name = vb::FromUtf8(parts[0]);
  try {
    std::size_t used = 0;
    font.size = std::stod(parts[1], &used);
    if (used != parts[1].size() || !(font.size > 0 && font.size <= 2048)) throw UsageError(usage);
  } catch (const std::logic_error&) {
    throw UsageError(usage);
  }
  for (std::size_t i = 2; i < parts.size(); ++i) {
    if (parts[i] == "bold")
      font.bold = true;
    else if (parts[i] == "italic")
      font.italic = true;
    else if (parts[i] == "underline")
      font.underline = true;
    else if (parts[i] == "strikethru")
      font.strikethru = true;
    else
      throw UsageError("--font: unknown style '" + parts[i] + "' (bold, italic, underline, strikethru)");
  }
  return font;
}

void AnswerFont(scripted::ScriptedToolkit& toolkit, const ui::FontChoice& font) {
  toolkit.OnFont([font](ui::FontChoice& choice) {
    const int flags = choice.flags;
    choice = font;
    choice.flags = flags;
    return true;
  });
}

struct FieldValue {
  vb::Text name;
  int index = -1;  // optX(2)=1 picks an element of an indexed set
  vb::Text value;
};

FieldValue ParseField(const std::string& text) {
  const auto eq = text.find('=');
  if (eq == std::string::npos || eq == 0) throw UsageError("--field " + text + ": give FIELD=VALUE");
  FieldValue field{vb::FromUtf8(text.substr(0, eq)), -1, vb::FromUtf8(text.substr(eq + 1))};
  if (const auto open = field.name.find(u'('); open != vb::Text::npos && field.name.back() == u')') {
    const std::string index = vb::ToUtf8(field.name.substr(open + 1, field.name.size() - open - 2));
    if (index.empty() || index.find_first_not_of("0123456789") != std::string::npos)
      throw UsageError("--field " + text + ": the index in FIELD(INDEX) must be a number");
    field.index = std::stoi(index);
    field.name.resize(open);
  }
  return field;
}

// Why a control dialog was not answered: a --field or --font that names nothing the dialog has
// (bad usage), or one the dialog will not take as given.
struct Refusal {
  std::string reason;  // empty when answered
  bool badUsage = false;
};

// Sets one field of a control dialog as a person would; why when it cannot be.
Refusal SetField(ravlen::ControlDialog& dialog, const FieldValue& field) {
  const std::string label = "--field " + vb::ToUtf8(field.name) + (field.index >= 0 ? "(" + std::to_string(field.index) + ")" : "");
  ui::Control* control = dialog.FindField(field.name, field.index);
  if (!control) {
    std::vector<std::string> names;
    for (const ui::Control* c : dialog.controls()) {
      const bool takesValue = dynamic_cast<const ui::TextBox*>(c) || dynamic_cast<const ui::CheckBox*>(c) ||
                         dynamic_cast<const ui::OptionButton*>(c);
      const std::string cname = vb::ToUtf8(c->name());
      if (takesValue && std::find(names.begin(), names.end(), cname) == names.end()) names.push_back(cname);
    }
    std::string list;
    for (const std::string& n : names) list += (list.empty() ? "" : ", ") + n;
    return {label + ": " + vb::ToUtf8(dialog.name()) + " has no such field (fields: " + list + ")", true};
  }
  if (!control->enabled()) return {label + ": the field is disabled for this control"};
  if (auto* box = dynamic_cast<ui::TextBox*>(control)) {
    box->Retype(field.value);
    // The value is taken as given or not at all: what the key filter or the length limit dropped
    // would silently change it.
    if (box->text() != field.value)
      return {label + "=" + vb::ToUtf8(field.value) + ": " + vb::ToUtf8(field.name) + " takes " +
              vb::ToUtf8(dialog.InputRule(*box)) + "; typed there the value reads \"" + vb::ToUtf8(box->text()) +
              "\""};
  } else if (auto* check = dynamic_cast<ui::CheckBox*>(control)) {
    if (field.value != u"0" && field.value != u"1") return {label + ": a check box takes 0 or 1"};
    for (int clicks = 0; clicks < 2 && check->value() != (field.value == u"1" ? 1 : 0); ++clicks) check->Click();
  } else if (auto* option = dynamic_cast<ui::OptionButton*>(control)) {
    if (field.value != u"1") return {label + ": an option is chosen with 1 (choosing another clears it)"};
    option->Click();
  } else {
    return {label + ": not a field that takes a value", true};
  }
  return {};
}

// The stored options as the options dialog shows them, the rows sorted as its list sorts them.
// A stored text that cannot be read is shown as the default that stands for it and listed
// after, so that it can be found and rewritten.
std::string StoredOptions(bool json) {
  ravlen::UnreadableOptions unreadable;
  ravlen::EditorOptions options;
  ravlen::LoadOptions(options, &unreadable);
  const ravlen::FontSettings font = ravlen::LoadDefaultFont(&unreadable);
  std::vector<std::pair<vb::Text, bool>> rows;
  for (std::size_t k = 0; k < ravlen::kControlTypeCount; ++k)
    rows.emplace_back(ravlen::ControlTypeNames()[k], options.PromptFlags[k]);
  std::stable_sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) { return vb::LessNoCase(a.first, b.first); });
  std::ostringstream text;
  if (json) {
    auto flag = [](bool on) { return on ? "true" : "false"; };
    text << "{\"prompt\": {";
    for (std::size_t i = 0; i < rows.size(); ++i)
      text << (i ? ", " : "") << JsonString(rows[i].first) << ": " << flag(rows[i].second);
    text << "}, \"removeCode\": " << flag(options.RemoveCode) << ", \"renameCode\": " << flag(options.RenameCode)
         << ", \"font\": {\"name\": " << JsonString(font.Name) << ", \"size\": " << font.Size
         << ", \"bold\": " << flag(font.Bold) << ", \"italic\": " << flag(font.Italic)
         << ", \"underline\": " << flag(font.Underline) << ", \"strikethru\": " << flag(font.StrikeThru)
         << "}, \"unreadable\": {";
    for (std::size_t i = 0; i < unreadable.size(); ++i)
      text << (i ? ", " : "") << JsonString(unreadable[i].key) << ": " << JsonString(unreadable[i].stored);
    text << "}}\n";
    return text.str();
  }
  text << "Prompt for:\n";
  for (const auto& [name, on] : rows) text << "  [" << (on ? "x" : " ") << "] " << vb::ToUtf8(name) << "\n";
  text << "Remove code: " << (options.RemoveCode ? "on" : "off") << "\n";
  text << "Rename code: " << (options.RenameCode ? "on" : "off") << "\n";
  text << "Font: " << vb::ToUtf8(font.Name) << ", " << font.Size << (font.Bold ? ", bold" : "")
       << (font.Italic ? ", italic" : "") << (font.Underline ? ", underline" : "")
       << (font.StrikeThru ? ", strikethru" : "") << "\n";
  if (!unreadable.empty()) {
    text << "Unreadable (the default stands for it above; --font rewrites the font's):\n";
    for (const ravlen::UnreadableOption& option : unreadable)
      text << "  " << vb::ToUtf8(option.key) << " = " << JsonString(option.stored) << "\n";
  }
  return text.str();
}

// Loads FORM and connects the control editor to its project, as the IDE does when the project
// is the active one at start-up.
struct FormSession {
  LoadedFile loaded;
  Home home;
  Connected<ravlen::Connect> session;
  FormSession(Context& context, const std::string& form, const std::optional<std::string>& project,
              CodeBefore before = CodeBefore::Kept)
      : loaded(LoadModuleFile(form, project, before)), home(context, SettingsUse::Read), session(loaded.code->vbe()) {
    host::Ref<host::VBComponent> component = loaded.code->vbe()->Component(loaded.component);
    const host::ComponentType type = component->Type();
    if (type != host::vbext_ct_VBForm && type != host::vbext_ct_VBMDIForm && type != host::vbext_ct_UserControl)
      throw UsageError(form + ": not a form or user control");
  }
};

// The controls a rename or removal acts on, as array indexes (-1 for a control that is no array
// element) in designer order: every control called NAME (a whole control array), or the one
// element --index names.
std::vector<int> Targets(FormSession& form, const Args& args, const std::string& name) {
  std::vector<int> elements;
  host::Ref<host::VBControls> controls = form.session.vbe().Component(form.loaded.component)->Designer()->VBControls();
  for (long i = 1; i <= controls->Count(); ++i) {
    host::Ref<host::VBControl> control = controls->Item(i);
    if (vb::EqualsNoCase(ravlen::ControlName(control), vb::FromUtf8(name)))
      elements.push_back(ravlen::ControlIndex(control));
  }
  if (elements.empty()) throw UsageError("no control '" + name + "' on " + args.positionals()[0]);
  const std::optional<std::string> index = args.value("index");
  if (!index) return elements;
  const std::string label = "--index " + *index + ": ";
  if (elements.front() < 0) throw UsageError(label + name + " is no control array");
  std::string list;
  for (int element : elements) {
    if (std::to_string(element) == *index) return {element};
    list += (list.empty() ? "" : ", ") + std::to_string(element);
  }
  throw UsageError(label + name + " has no element of that index (its elements: " + list + ")");
}

// "optKind" or, with --index, "optKind(2)": the control a command works on, for what it says.
std::string ControlLabel(const Args& args) {
  const std::optional<std::string> index = args.value("index");
  return args.positionals()[1] + (index ? "(" + *index + ")" : "");
}

// --code yes asks for an offer to rename code that the control editor makes only with its
// option "rename code" on; with it off, the answer asked for cannot be given.
void CheckCodeOffered(const Args& args) {
  const std::optional<std::string> code = args.value("code");
  ravlen::EditorOptions options;
  ravlen::LoadOptions(options);
  if (code && ParseOnOff("--code", *code) && !options.RenameCode)
    throw UsageError("--code " + *code + ": the control editor's option \"rename code\" is off, so it offers no "
                     "code to rename (see: vb6kit options --rename-code on)");
}

// A control named like a member of the form's code does not compile; the designer checks only
// the other controls.
void CheckNotDeclared(FormSession& form, const vb::Text& name) {
  const vb::Text declared = DeclaredMember(form.session.vbe(), form.loaded.component, {name});
  if (!declared.empty())
    throw UsageError("the name '" + vb::ToUtf8(name) + "' is refused: the form's code declares " +
                     vb::ToUtf8(declared) + " already; a control of that name would not compile");
}

// Whether the IDE places a control of the class on an MDI form: only one that aligns to the
// form's edges (an Align property) or has no window (no Height, as a Timer).
bool FitsOnMdiForm(const memhost::ControlClassDef& definition) {
  return std::any_of(definition.properties.begin(), definition.properties.end(),
                     [](const memhost::PropertyDef& p) { return p.name == u"Align"; }) ||
         std::none_of(definition.properties.begin(), definition.properties.end(),
                      [](const memhost::PropertyDef& p) { return p.name == u"Height"; });
}

int Add(Context& context, const Args& args) {
  const bool code = ParseOnOff("--code", args.value("code").value_or("no"));
  const vb::Text className = vb::FromUtf8(args.positionals()[1]);
  const memhost::ControlClassDef* definition = memhost::FindControlClass(className);
  if (!definition) throw UsageError("unknown control class '" + args.positionals()[1] + "'");
  std::vector<FieldValue> fields;
  for (const std::string& field : args.values("field")) fields.push_back(ParseField(field));
  std::optional<ui::FontChoice> font;
  if (std::optional<std::string> text = args.value("font")) font = ParseFont(*text);

  FormSession form(context, args.positionals()[0], args.value("project"), CodeBefore::NotKept);
  CheckCodeOffered(args);
  memhost::MemoryVBE& vbe = form.session.vbe();
  if (vbe.Component(form.loaded.component)->Type() == host::vbext_ct_VBMDIForm && !FitsOnMdiForm(*definition))
    throw UsageError(form.loaded.file + ": an MDI form holds only controls that align to its edges (an Align "
                     "property) and controls without a window, not a " + args.positionals()[1]);
  scripted::ScriptedToolkit& toolkit = form.home.toolkit;
  if (font) AnswerFont(toolkit, *font);
  Refusal refused;
  bool prompted = false;
  bool rejected = false;
  for (const ravlen::ControlTypeRow& row : ravlen::ControlTypeTable()) {
    toolkit.On(row.dialog->formName, [&](ui::Form& shown) {
      prompted = true;
      auto& dialog = dynamic_cast<ravlen::ControlDialog&>(shown);
      for (const FieldValue& field : fields)
        if (refused.reason.empty()) refused = SetField(dialog, field);
      if (refused.reason.empty() && font) {
        if (!dialog.cmdFont)
          refused = {"--font: this control's dialog has no font", true};
        else if (!dialog.cmdFont->enabled())
          refused = {"--font: the font is disabled for this control"};
        else
          dialog.cmdFont->Click();
      }
      if (!refused.reason.empty()) {
        scripted::Click(shown, u"CancelButton");
        return;
      }
      scripted::Click(shown, u"OKButton");
      if (shown.visible()) {
        rejected = true;
        scripted::Click(shown, u"CancelButton");
      }
    });
  }
  // Writing the name may offer to rename the default name in the form's code.
  toolkit.On(u"frmRenameCode",
             [code](ui::Form& shown) { scripted::Click(shown, code ? u"cmdReplace" : u"cmdCancel"); });
  // A placed control goes after those already there: a count says which are new, where a copy
  // of every name on a form of thousands would stay in memory while the control editor works.
  const std::size_t before = vbe.Component(form.loaded.component)->Designer()->VBControls()->Count();
  vbe.PlaceControl(form.loaded.component, className);
  if (refused.badUsage) throw UsageError(refused.reason);
  if (!refused.reason.empty()) throw DialogRefusal(refused.reason);
  if (!prompted && (!fields.empty() || font))
    throw UsageError("the control editor does not prompt for " + args.positionals()[1] +
                     " controls, so --field and --font have nothing to answer (see: vb6kit options --prompt)");
  if (ReportMessages(context, toolkit.messages(), kAddin)) return kExitAddinMessage;
  if (rejected) throw DialogRefusal("the dialog did not accept the values; nothing was saved");
  std::vector<vb::Text> added = vbe.ControlNames(form.loaded.component);
  added.erase(added.begin(), added.begin() + static_cast<std::ptrdiff_t>(std::min(before, added.size())));
  for (const vb::Text& name : added) CheckNotDeclared(form, name);
  std::string done = form.loaded.file + ": control";
  for (const vb::Text& name : added) done += " " + vb::ToUtf8(name);
  done += " (" + args.positionals()[1] + ") added";
  const int result = FinishEdit(context, form.home, *form.loaded.code, kAddin, done);
  if (result == kExitOk && !context.dryRun)
    for (const vb::Text& name : added) context.out << vb::ToUtf8(name) << "\n";
  return result;
}

int Rename(Context& context, const Args& args) {
  const bool code = ParseOnOff("--code", args.value("code").value_or("yes"));
  FormSession form(context, args.positionals()[0], args.value("project"));
  memhost::MemoryVBE& vbe = form.session.vbe();
  const vb::Text oldName = vb::FromUtf8(args.positionals()[1]);
  const vb::Text newName = vb::FromUtf8(args.positionals()[2]);
  const std::vector<int> targets = Targets(form, args, args.positionals()[1]);
  CheckCodeOffered(args);
  CheckNotDeclared(form, newName);
  form.home.toolkit.On(u"frmRenameCode",
                       [code](ui::Form& shown) { scripted::Click(shown, code ? u"cmdReplace" : u"cmdCancel"); });
  try {
    // From the last element: at each rename the control editor looks for an element that still
    // has the old name, and so finds the first at once.
    for (auto index = targets.rbegin(); index != targets.rend(); ++index)
      vbe.RenameControl(form.loaded.component, oldName, newName, *index);
  } catch (const vb::Error& error) {
    throw UsageError("the name '" + args.positionals()[2] + "' is refused: " + vb::ToUtf8(error.description));
  }
  return FinishEdit(context, form.home, *form.loaded.code, kAddin,
                    form.loaded.file + ": control " + ControlLabel(args) + " renamed to " + args.positionals()[2] +
                        ", " + Plural(form.loaded.TakeChanges().changed, "code line") + " changed");
}

int Remove(Context& context, const Args& args) {
  FormSession form(context, args.positionals()[0], args.value("project"));
  memhost::MemoryVBE& vbe = form.session.vbe();
  const vb::Text name = vb::FromUtf8(args.positionals()[1]);
  const std::vector<int> targets = Targets(form, args, args.positionals()[1]);
  const std::vector<std::string> keep = args.values("keep");
  std::vector<bool> kept(keep.size(), false);
  std::vector<vb::Text> ticked;  // the event procedures the dialog was told to remove
  form.home.toolkit.On(u"frmRemoveControl", [&](ui::Form& shown) {
    auto& list = *shown.Find<ui::ListBox>(u"lstMembers");
    for (std::size_t i = 0; i < keep.size(); ++i) {
      for (int row = 0; row < list.listCount(); ++row) {
        if (!vb::EqualsNoCase(list.List(row), vb::FromUtf8(keep[i]))) continue;
        kept[i] = true;
        if (list.Selected(row)) list.TickRow(row);
      }
    }
    for (int row = 0; row < list.listCount(); ++row)
      if (list.Selected(row)) ticked.push_back(list.List(row));
    scripted::Click(shown, u"cmdOK");
  });
  for (int index : targets) {
    // An element inside an element deleted before it is gone already.
    if (vbe.FindDesignerControl(form.loaded.component, name, index)) vbe.DeleteControl(form.loaded.component, name, index);
  }
  for (std::size_t i = 0; i < keep.size(); ++i)
    if (!kept[i]) throw UsageError("--keep " + keep[i] + ": no event procedure of that name was offered for removal");
  // The editor leaves a procedure whose end it cannot tell (declared in two #If branches, no End
  // Sub of its own before the next procedure): the command did not do all it was asked.
  host::Ref<host::CodeModule> module = vbe.Component(form.loaded.component)->CodeModule();
  for (const vb::Text& member : ticked)
    if (ravlen::FindMember(*module, member))
      context.err << "vb6kit control remove: " << form.loaded.file << ": event procedure " << vb::ToUtf8(member)
                  << " left in place: its end could not be found\n";
  return FinishEdit(context, form.home, *form.loaded.code, kAddin,
                    form.loaded.file + ": control " + ControlLabel(args) + " removed, " +
                        Plural(form.loaded.TakeChanges().removed, "code line") + " removed");
}

int Options(Context& context, const Args& args) {
  std::vector<std::pair<std::vector<vb::Text>, bool>> prompts;
  const auto& typeNames = ravlen::ControlTypeNames();
  for (const std::string& prompt : args.values("prompt")) {
    const auto eq = prompt.rfind('=');
    if (eq == std::string::npos || eq == 0) throw UsageError("--prompt " + prompt + ": give TYPE=on|off");
    const vb::Text type = vb::FromUtf8(prompt.substr(0, eq));
    const bool on = ParseOnOff("--prompt " + prompt, prompt.substr(eq + 1));
    if (vb::EqualsNoCase(type, u"all")) {
      prompts.push_back({std::vector<vb::Text>(typeNames.begin(), typeNames.end()), on});
      continue;
    }
    auto found = std::find_if(typeNames.begin(), typeNames.end(), [&](const vb::Text& n) { return vb::EqualsNoCase(n, type); });
    if (found == typeNames.end()) {
      std::string list;
      for (const vb::Text& n : typeNames) list += (list.empty() ? "" : ", ") + vb::ToUtf8(n);
      throw UsageError("--prompt: unknown control type '" + prompt.substr(0, eq) + "' (types: " + list + ")");
    }
    prompts.push_back({{*found}, on});
  }
  std::optional<bool> removeCode, renameCode;
  if (auto v = args.value("remove-code")) removeCode = ParseOnOff("--remove-code", *v);
  if (auto v = args.value("rename-code")) renameCode = ParseOnOff("--rename-code", *v);
  std::optional<ui::FontChoice> font;
  if (auto v = args.value("font")) font = ParseFont(*v);
  const bool change = !prompts.empty() || removeCode || renameCode || font;
  const bool show = args.flag("show") || !change;

  // Looking reads the stored options without the dialog, which stores its two switches again
  // as it opens.
  Home home(context, change ? SettingsUse::Change : SettingsUse::Read);
  if (change) {
    Connected<ravlen::Connect> session(EmptyIde());
    if (font) AnswerFont(home.toolkit, *font);
    home.toolkit.On(u"frmAddInOptions", [&](ui::Form& dialog) {
      auto& list = *dialog.Find<ui::ListBox>(u"lstControls");
      for (const auto& [types, on] : prompts)
        for (const vb::Text& type : types)
          if (const int row = list.FindRow(type); row >= 0 && list.Selected(row) != on) list.TickRow(row);
      if (removeCode) scripted::SetCheck(dialog, u"chkRemove", *removeCode ? 1 : 0);
      if (renameCode) scripted::SetCheck(dialog, u"chkRename", *renameCode ? 1 : 0);
      if (font) scripted::Click(dialog, u"cmdFont");
      scripted::Click(dialog, u"cmdOk");
    });
    session.vbe().Click(u"Add-Ins", u"&Ravlen Editor Options");
  }
  const int result = FinishSettings(context, home, kAddin, change ? "control editor options saved" : "");
  if (result == kExitOk && show) context.out << StoredOptions(args.Choice("format", "text") == "json");
  return result;
}

constexpr const char* kFontValue = "NAME,SIZE[,bold][,italic][,underline][,strikethru]";

}  // namespace

std::vector<Command> ControlCommands() {
  return {
      {"control add", "place a control and answer its dialog",
       {{"FORM", Complete::FormFile}, {"CLASS", Complete::ControlClass}},
       {{"field", OptionRule::Repeated, "FIELD=VALUE",
         "type VALUE into a field of the control's dialog (txtName=txtTotal), tick a check box with 0 or 1 "
         "(chkEnabled=0), choose an option with 1 (optCenter=1)"},
        {"font", OptionRule::Value, kFontValue, "the font chosen with the dialog's font button"},
        {"code", OptionRule::Value, "yes|no",
         "the answer to the offer to rename the default name (Text1) in the form's code: \"&Replace\" or "
         "\"&Cancel\" (default: such code belongs to something else); yes is refused with the option \"rename "
         "code\" off",
         Complete::Words},
        kProjectOption},
       "Places a control of CLASS (TextBox, CommandButton, ...) on the form. When the control editor prompts for "
       "the type, its dialog is answered field by field and \"&Save Settings\" is pressed; a rejected value prints "
       "the message, exits 1 and saves nothing, as does a value that the field's key filter or length limit would "
       "change or a field the dialog shows disabled. Prints the name of the new control.",
       Add},
      {"control rename", "rename a control (and its code)",
       {{"FORM", Complete::FormFile}, {"OLD"}, {"NEW"}},
       {{"code", OptionRule::Value, "yes|no",
         "the answer to the offer to rename the control in the form's code: \"&Replace\" (default) or \"&Cancel\"; "
         "with the option \"rename code\" off (vb6kit options) there is no offer, and yes is refused",
         Complete::Words},
        {"index", OptionRule::Value, "N", "rename only element N of a control array"},
        kProjectOption},
       "Renames a control, or every element of a control array in turn. When the control editor offers to rename "
       "it in the form's code (its event procedures and every use of the name; once the last element carries the "
       "new name), the offer is answered as --code says.",
       Rename},
      {"control remove", "delete a control (and its event procedures)",
       {{"FORM", Complete::FormFile}, {"NAME"}},
       {{"keep", OptionRule::Repeated, "MEMBER", "an event procedure to keep when the others are removed"},
        {"index", OptionRule::Value, "N", "delete only element N of a control array"},
        kProjectOption},
       "Deletes a control with every control inside it, or every element of a control array. When the control "
       "editor offers to remove a control's event procedures (an array's once its last element goes), every one "
       "is removed except those named with --keep; one whose end cannot be found (declared in two #If branches) "
       "stays, named on stderr.",
       Remove},
      {"options", "show or change the control editor's options", {},
       {{"show", OptionRule::Flag, "", "print the options (after any change)"},
        {"format", OptionRule::Value, "text|json", "the format of --show (default: text)", Complete::Words},
        {"prompt", OptionRule::Repeated, "TYPE=on|off",
         "whether the type's dialog opens when such a control is placed (TYPE as --show lists it, or all)",
         Complete::PromptSwitch},
        {"remove-code", OptionRule::Value, "on|off", "whether removing a control offers to remove its code",
         Complete::Words},
        {"rename-code", OptionRule::Value, "on|off", "whether renaming a control offers to rename it in code",
         Complete::Words},
        {"font", OptionRule::Value, kFontValue, "the default font of new controls"}},
       "Shows or changes the control editor's options: the control types whose dialog opens when one is placed, "
       "whether removing and renaming a control offer to change its code, and the default font of new controls. "
       "Without options it shows them.",
       Options},
  };
}

}  // namespace cli
