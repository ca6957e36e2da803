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
                const std::function<void(scripted::ScriptedToolkit&)>& answers) {
  const std::string& file = args.positionals()[0];
  LoadedFile loaded = LoadModuleFile(file, args.value("project"));
  CheckLineInModule(lineOption, lastLine, loaded.lineCount, file, allowEnd);
  Home home(context, settingsUse);
  Connected<comment::Connect> session(loaded.code->vbe());
  session.vbe().SetActivePane(loaded.component, {firstLine, 1, lastLine, 1});
  answers(home.toolkit);
  session.vbe().Click(kBar, entry);
  return FinishEdit(context, home, *loaded.code, kAddin);
}

int Marks(Context& context, const std::vector<std::string>& words, bool commentOut) {
  Args args(words, {{"lines"}, {"project"}});
  if (args.help()) {
    context.out << "usage: vb6kit " << (commentOut ? "comment" : "uncomment")
                << " FILE [--project PROJECT.vbp] --lines A[-B]\n\n"
                << (commentOut ? "Puts a comment mark in front of each line from A to B (the code window's lines).\n"
                               : "Takes the comment mark from column 1 of each line from A to B that has one.\n");
    return kExitOk;
  }
  args.ExpectPositionals(1, 1, "FILE");
  const std::optional<std::string> lines = args.value("lines");
  if (!lines) throw UsageError("missing --lines A[-B]");
  const LineRange range = ParseLineRange("--lines", *lines);
  return RunOnModule(context, args, range.first, range.last, false, "--lines",
                     commentOut ? u"Comment Out Selected Area" : u"Un-Comment Selected Area", SettingsUse::None,
                     [](scripted::ScriptedToolkit&) {});
}

long RequiredLine(const Args& args) {
  const std::optional<std::string> line = args.value("line");
  if (!line) throw UsageError("missing --line N");
  return ParseLineNumber("--line", *line);
}

}  // namespace

int CommentCommand(Context& context, const std::vector<std::string>& args) { return Marks(context, args, true); }
int UncommentCommand(Context& context, const std::vector<std::string>& args) { return Marks(context, args, false); }

int HeaderCommand(Context& context, const std::vector<std::string>& words) {
  Args args(words, {{"line"}, {"author"}, {"description"}, {"project"}});
  if (args.help()) {
    context.out << "usage: vb6kit header FILE [--project PROJECT.vbp] --line N [--author NAME] [--description TEXT]\n\n"
                   "Writes a function header above the procedure that holds line N. The author defaults\n"
                   "to the stored user name, then the login name; a given author is stored for next time.\n";
    return kExitOk;
  }
  args.ExpectPositionals(1, 1, "FILE");
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
                     });
}

int RevisionCommand(Context& context, const std::vector<std::string>& words) {
  Args args(words, {{"line"}, {"author"}, {"text"}, {"project"}});
  if (args.help()) {
    context.out << "usage: vb6kit revision FILE [--project PROJECT.vbp] --line N [--author NAME] [--text TEXT]\n\n"
                   "Adds a dated revision entry to the header of the procedure that holds line N. The\n"
                   "author defaults to the stored user name, then the login name.\n";
    return kExitOk;
  }
  args.ExpectPositionals(1, 1, "FILE");
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
                     });
}

namespace {

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

}  // namespace

int MembersCommand(Context& context, const std::vector<std::string>& words) {
  Args args(words, {{"format"}, {"goto"}, {"project"}});
  if (args.help()) {
    context.out << "usage: vb6kit members FILE [--project PROJECT.vbp] [--format text|json] [--goto TEXT]\n\n"
                   "Prints the member navigator's tree of a module: two spaces per level, each member\n"
                   "followed by its line. --goto TEXT prints the line that Goto Code selects for the\n"
                   "entry with that text.\n";
    return kExitOk;
  }
  args.ExpectPositionals(1, 1, "FILE");
  const std::string format = args.Choice("format", {"text", "json"}, "text");
  const std::optional<std::string> target = args.value("goto");
  const std::string& file = args.positionals()[0];
  LoadedFile loaded = LoadModuleFile(file, args.value("project"));
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
    ui::Node* node = view->Find(vb::FromUtf8(*target));
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
  if (ReportMessages(home.toolkit.messages(), kAddin, context.err)) return kExitAddinMessage;
  if (!target) {
    context.out << tree;
    return kExitOk;
  }
  if (!found) throw UsageError("--goto: no member '" + *target + "' in " + file + " (see: vb6kit members " + file + ")");
  context.out << session.vbe().ActiveCodePane()->GetSelection().startLine << "\n";
  return kExitOk;
}

}  // namespace cli
