// vb6kit comment|uncomment|header|revision|members: the comment add-in's entries of the code
// window's shortcut menu, on one module file.
#include <functional>
#include <ostream>
#include <sstream>

#include "cli/addin_session.h"
#include "cli/args.h"
#include "cli/command.h"
#include "cli/home.h"
#include "cli/loaded_code.h"
#include "cli/output.h"
#include "comment/connect.h"

namespace cli {

namespace {

const std::string kAddin = "Comment";
constexpr const char16_t* kBar = u"Code Window";

// Loads FILE, connects the add-in, selects `selection` in the module's pane, clicks the entry.
int RunOnModule(Context& context, const Args& args, long firstLine, long lastLine, bool allowEnd,
                const std::string& lineOption, const char16_t* entry, SettingsUse settingsUse,
                const std::function<void(scripted::ScriptedToolkit&)>& answers,
                const std::function<std::string(const LineChanges&)>& describe) {
  const std::string& file = args.positionals()[0];
  LoadedFile loaded = LoadModuleFile(file, args.value("project"));
  CheckLineInModule(lineOption, lastLine, loaded.lineCount, file, allowEnd);
  Home home(context, settingsUse);
  Connected<comment::Connect> session(loaded.code->vbe());
  session.vbe().SetActivePane(loaded.component, {firstLine, 1, lastLine, 1});
  answers(home.toolkit);
  session.vbe().Click(kBar, entry);
  return FinishEdit(context, home, *loaded.code, kAddin, WhatChanged(loaded, describe));
}

int Marks(Context& context, const Args& args, bool commentOut) {
  const LineRange range = ParseLineRange("--lines", args.required("lines"));
  return RunOnModule(context, args, range.first, range.last, false, "--lines",
                     commentOut ? u"Comment Out Selected Area" : u"Un-Comment Selected Area", SettingsUse::None,
                     [](scripted::ScriptedToolkit&) {},
                     [commentOut](const LineChanges& changes) {
                       return Plural(changes.changed, "line") + (commentOut ? " commented out" : " un-commented");
                     });
}

long RequiredLine(const Args& args) { return ParseLineNumber("--line", args.required("line")); }

int Comment(Context& context, const Args& args) { return Marks(context, args, true); }
int Uncomment(Context& context, const Args& args) { return Marks(context, args, false); }

int Header(Context& context, const Args& args) {
  const long line = RequiredLine(args);
  const std::optional<std::string> author = args.value("author");
  const std::optional<std::string> description = args.value("description");
  return RunOnModule(context, args, line, line, false, "--line", u"Add Function Comment Header", SettingsUse::Change,
                     [&](scripted::ScriptedToolkit& toolkit) {
                       toolkit.On(u"frmFunction", [&](ui::Form& form) {
                         if (author) scripted::Type(form, u"txtUsername", vb::FromUtf8(*author));
                         if (description) scripted::Type(form, u"txtDescr", CodeText(*description));
                         scripted::Click(form, u"cmdAdd");
                       });
                     },
                     [](const LineChanges& changes) {
                       return "function header added (" + Plural(changes.added, "line") + ")";
                     });
}

int Revision(Context& context, const Args& args) {
  const long line = RequiredLine(args);
  const std::optional<std::string> author = args.value("author");
  const std::optional<std::string> text = args.value("text");
  return RunOnModule(context, args, line, line, false, "--line", u"Add Revision to Comment", SettingsUse::Change,
                     [&](scripted::ScriptedToolkit& toolkit) {
                       toolkit.On(u"frmRevision", [&](ui::Form& form) {
                         if (author) scripted::Type(form, u"txtUsername", vb::FromUtf8(*author));
                         if (text) scripted::Type(form, u"txtRevision", CodeText(*text));
                         scripted::Click(form, u"cmdAdd");
                       });
                     },
                     [](const LineChanges& changes) {
                       return "revision entry added (" + Plural(changes.added, "line") + ")";
                     });
}

void PrintOutline(std::ostream& out, const ui::Node& node, int depth) {
  out << std::string(static_cast<std::size_t>(depth) * 2, ' ') << ConsoleText(node.text());
  if (!node.tag().empty()) out << "  line " << vb::ToUtf8(node.tag());
  out << "\n";
  for (const ui::Node* child : node.children()) PrintOutline(out, *child, depth + 1);
}

void PrintJson(std::ostream& out, const ui::Node& node, int depth) {
  const std::string indent(static_cast<std::size_t>(depth) * 2, ' ');
  out << indent << "{\"text\": " << JsonString(node.text()) << ", \"line\": "
      << (node.tag().empty() ? std::string("null") : vb::ToUtf8(node.tag())) << ", \"children\": [";
  if (node.children().empty()) {
    out << "]}";
    return;
  }
  out << "\n";
  for (std::size_t i = 0; i < node.children().size(); ++i) {
    PrintJson(out, *node.children()[i], depth + 1);
    out << (i + 1 < node.children().size() ? ",\n" : "\n");
  }
  out << indent << "]}";
}

// The first member node (one with a line in its tag) whose text is `text`, letter case ignored
// as VB names are.
ui::Node* FindMember(const std::vector<ui::Node*>& nodes, const vb::Text& text) {
  for (ui::Node* node : nodes) {
    if (!node->tag().empty() && vb::EqualsNoCase(node->text(), text)) return node;
    if (ui::Node* found = FindMember(node->children(), text)) return found;
  }
  return nullptr;
}

int Members(Context& context, const Args& args) {
  const std::string format = args.Choice("format", "text");
  const std::optional<std::string> target = args.value("goto");
  const std::string& file = args.positionals()[0];
  LoadedFile loaded = LoadModuleFile(file, args.value("project"), CodeBefore::NotKept);
  Home home(context, SettingsUse::None);
  Connected<comment::Connect> session(loaded.code->vbe());
  std::string tree;
  bool found = true;
  home.toolkit.On(u"frmPickFunction", [&](ui::Form& form) {
    auto* view = form.Find<ui::TreeView>(u"tvMembers");
    std::ostringstream printed;
    for (const ui::Node* root : view->roots()) {
      if (format == "json") {
        PrintJson(printed, *root, 0);
        printed << "\n";
      } else {
        PrintOutline(printed, *root, 0);
      }
    }
    tree = printed.str();
    if (!target) {
      scripted::Click(form, u"cmdCancel");
      return;
    }
    ui::Node* node = FindMember(view->roots(), vb::FromUtf8(*target));
    if (!node || node->tag().empty()) {
      found = false;
      scripted::Click(form, u"cmdCancel");
      return;
    }
    view->ClickNode(node);
    scripted::Click(form, u"cmdGotoCode");
  });
  // The caret starts on line 1; Goto Code's selection is what is left afterwards.
  session.vbe().SetActivePane(loaded.component, {1, 1, 1, 1});
  session.vbe().Click(kBar, u"&Goto Code Member");
  if (ReportMessages(context, home.toolkit.messages(), kAddin)) return kExitAddinMessage;
  if (!target) {
    context.out << tree;
    return kExitOk;
  }
  if (!found) throw UsageError("--goto: no member '" + *target + "' in " + file + " (see: vb6kit members " + file + ")");
  context.out << session.vbe().ActiveCodePane()->GetSelection().startLine << "\n";
  return kExitOk;
}

}  // namespace

std::vector<Command> CommentCommands() {
  const OptionRule author = {"author", OptionRule::Value, "NAME",
                             "the author (default: the stored user name, then the login name); stored for next time"};
  return {
      {"comment", "comment out lines of a module", {{"FILE", Complete::ModuleFile}},
       {{"lines", OptionRule::Required, "A[-B]", "the lines, as the code window counts them"}, kProjectOption},
       "Puts a comment mark in front of each line from A to B of the module, as \"Comment Out Selected Area\" does "
       "with those lines selected in the code window.",
       Comment},
      {"uncomment", "remove the comment marks from lines of a module", {{"FILE", Complete::ModuleFile}},
       {{"lines", OptionRule::Required, "A[-B]", "the lines, as the code window counts them"}, kProjectOption},
       "Takes the comment mark from column 1 of each line from A to B that has one, as \"Un-Comment Selected "
       "Area\" does.",
       Uncomment},
      {"header", "add a function header above a procedure", {{"FILE", Complete::ModuleFile}},
       {{"line", OptionRule::Required, "N", "a line of the procedure (or of the comment above it)"},
        author,
        {"description", OptionRule::Value, "TEXT", "the description (line breaks allowed)"},
        kProjectOption},
       "Writes a function header above the procedure that holds line N: its name, scope, author, date, "
       "parameters, return value and description.",
       Header},
      {"revision", "add a revision entry to a procedure's header", {{"FILE", Complete::ModuleFile}},
       {{"line", OptionRule::Required, "N", "a line of the procedure (or of its header)"},
        author,
        {"text", OptionRule::Value, "TEXT", "what changed (line breaks allowed)"},
        kProjectOption},
       "Adds a dated revision entry, signed by the author, to the header of the procedure that holds line N.",
       Revision},
      {"members", "list the members of a module as the navigator shows them", {{"FILE", Complete::ModuleFile}},
       {{"format", OptionRule::Value, "text|json", "the output format (default: text)", Complete::Words},
        {"goto", OptionRule::Value, "TEXT", "print the line that Goto Code selects for the entry with that text"},
        kProjectOption},
       "Prints the member navigator's tree of a module: two spaces per level, each member followed by its line. "
       "With --goto, prints only the line of the entry with that text (letter case ignored, as VB names are).",
       Members},
  };
}

}  // namespace cli
