// vb6kit piece store|list|show|edit|delete|menu|insert: the code piece store's dialogs, driven
// with the stored pieces of the settings database.
#include <algorithm>
#include <fstream>
#include <iostream>

#include "cli/addin_session.h"
#include "cli/args.h"
#include "cli/command.h"
#include "cli/home.h"
#include "cli/loaded_code.h"
#include "cli/output.h"
#include "cli/text_input.h"
#include "framework/vb_statements.h"
#include "piece_store/connect.h"
#include "piece_store/piece_storage.h"
#include "piece_store/code_tags.h"
#include "piece_store/frm_replace.h"

namespace cli {

namespace {

const std::string kAddin = "Pellmoss";
constexpr const char16_t* kBar = u"Code Window";

// The stored spelling of a piece name, trimmed as the store dialog trims it and with letter case
// ignored; UsageError when there is none.
vb::Text StoredName(const std::string& name) {
  const vb::Text wanted = vb::Trim(vb::FromUtf8(name));
  for (const auto& entry : pellmoss::LoadCodeNames())
    if (vb::EqualsNoCase(entry.item, wanted)) return entry.item;
  throw UsageError("no piece named '" + vb::ToUtf8(wanted) + "' is stored (see: vb6kit piece list)");
}

std::string FullMenu() {
  return "the retrieval menu already offers " + std::to_string(pellmoss::kMaxMenuItems) +
         " pieces; take one off first (vb6kit piece menu NAME off)";
}

// The text of a piece from --file PATH, "-" or standard input.
vb::Text PieceSource(Context& context, const Args& args, std::size_t sourcePosition) {
  const std::optional<std::string> file = args.value("file");
  const bool dash = args.positionals().size() > sourcePosition;
  if (dash && args.positionals()[sourcePosition] != "-")
    throw UsageError("unexpected argument '" + args.positionals()[sourcePosition] + "'");
  if (file && dash) throw UsageError("give the text with --file PATH or -, not both");
  if (file) return ReadTextFile(*file);
  return BlockText(ReadAll(context.in));
}

// Opens the admin dialog and runs `work` in it, then closes it. `work` returns why the dialog
// would not take what was asked, or nothing; `done` then says what changed.
int WithAdmin(Context& context, const std::function<std::string(ui::Form&)>& work,
              const std::function<std::string()>& done) {
  Home home(context, SettingsUse::Change);
  Connected<pellmoss::Connect> session(EmptyIde());
  std::string refused;
  home.toolkit.On(u"frmAdmin", [&](ui::Form& admin) {
    refused = work(admin);
    if (admin.visible()) scripted::Click(admin, u"cmdClose");
  });
  session.vbe().Click(kBar, u"Code S&torage Admin");
  if (ReportMessages(context, home.toolkit.messages(), kAddin)) return kExitAddinMessage;
  if (!refused.empty()) throw DialogRefusal(refused);
  return FinishSettings(context, home, kAddin, done());
}

// Answers the store dialog; `refused` is set when it will not take what was asked.
void AnswerAddCode(scripted::ScriptedToolkit& toolkit, const vb::Text& name, const std::optional<vb::Text>& code,
                   bool menu, std::string& refused) {
  toolkit.Once(u"frmAddCode", [=, &refused](ui::Form& form) {
    // A full menu disables the box, as a person would find it.
    if (menu && !form.Find<ui::CheckBox>(u"chkAddToMenu")->enabled()) {
      refused = FullMenu();
      scripted::Click(form, u"cmdCancel");
      return;
    }
    scripted::Type(form, u"txtSegName", name);
    if (code) scripted::Type(form, u"txtCode", *code);
    if (menu) scripted::SetCheck(form, u"chkAddToMenu", 1);
    scripted::Click(form, u"cmdAddSegment");
    if (form.visible()) scripted::Click(form, u"cmdCancel");
  });
}

int Store(Context& context, const Args& args) {
  const vb::Text name = vb::FromUtf8(args.positionals()[0]);
  const bool menu = args.flag("menu");
  const std::string done = "piece " + vb::ToUtf8(vb::Trim(name)) + " stored" + (menu ? ", offered in the menu" : "");
  std::string refused;
  if (std::optional<std::string> from = args.value("from")) {
    if (args.value("file") || args.positionals().size() > 1)
      throw UsageError("give the text with one of --from, --file or -");
  } else if (args.value("project")) {
    throw UsageError("--project goes with --from FILE");
  }
  if (std::optional<std::string> from = args.value("from")) {
    const std::optional<std::string> lines = args.value("lines");
    if (!lines) throw UsageError("--from needs --lines A-B");
    const LineRange range = ParseLineRange("--lines", *lines);
    LoadedFile loaded = LoadModuleFile(*from, args.value("project"), CodeBefore::NotKept);
    CheckLineInModule("--lines", range.last, loaded.lineCount, *from, false);
    Home home(context, SettingsUse::Change);
    Connected<pellmoss::Connect> session(loaded.code->vbe());
    session.vbe().SetActivePane(loaded.component, {range.first, 1, range.last, 1});
    AnswerAddCode(home.toolkit, name, std::nullopt, menu, refused);
    session.vbe().Click(kBar, u"S&tore Code");
    if (!refused.empty()) throw DialogRefusal(refused);
    return FinishSettings(context, home, kAddin, done);
  }
  if (args.value("lines")) throw UsageError("--lines goes with --from FILE");
  const vb::Text code = PieceSource(context, args, 1);
  Home home(context, SettingsUse::Change);
  Connected<pellmoss::Connect> session(EmptyIde());
  AnswerAddCode(home.toolkit, name, code, menu, refused);
  home.toolkit.On(u"frmAdmin", [&](ui::Form& admin) {
    scripted::Click(admin, u"cmdAdd");
    if (admin.visible()) scripted::Click(admin, u"cmdClose");
  });
  session.vbe().Click(kBar, u"Code S&torage Admin");
  if (!refused.empty()) throw DialogRefusal(refused);
  return FinishSettings(context, home, kAddin, done);
}

int List(Context& context, const Args& args) {
  Home home(context, SettingsUse::Read);
  const pellmoss::NameList menu = pellmoss::LoadMenuItems();
  const bool json = args.Choice("format", "text") == "json";
  if (json) context.out << "{\"pieces\": [";
  bool first = true;
  for (const auto& entry : pellmoss::LoadCodeNames()) {
    const bool offered = menu.Contains(entry.item);
    if (json)
      context.out << (first ? "" : ", ") << "{\"name\": " << JsonString(entry.item)
                  << ", \"menu\": " << (offered ? "true" : "false") << "}";
    else
      context.out << (offered ? "* " : "  ") << vb::ToUtf8(entry.item) << "\n";
    first = false;
  }
  if (json) context.out << "]}\n";
  return kExitOk;
}

int Show(Context& context, const Args& args) {
  Home home(context, SettingsUse::Read);
  const vb::Text text = pellmoss::ReadCodePiece(StoredName(args.positionals()[0]));
  context.out << ConsoleText(text) << (text.empty() ? "" : "\n");
  return kExitOk;
}

// The stored spelling of the piece named by the first operand, read before the admin dialog opens.
vb::Text NamedPiece(Context& context, const Args& args) {
  Home check(context, SettingsUse::Read);
  return StoredName(args.positionals()[0]);
}

int Edit(Context& context, const Args& args) {
  const vb::Text name = NamedPiece(context, args);
  const vb::Text code = PieceSource(context, args, 1);
  return WithAdmin(
      context,
      [&](ui::Form& admin) {
        scripted::Choose(admin, u"lstCodeItems", name);
        scripted::Type(admin, u"txtCode", code);
        scripted::Click(admin, u"cmdEdit");
        return std::string();
      },
      [&] { return "piece " + vb::ToUtf8(name) + " changed"; });
}

int Delete(Context& context, const Args& args) {
  const vb::Text name = NamedPiece(context, args);
  return WithAdmin(
      context,
      [&](ui::Form& admin) {
        scripted::Choose(admin, u"lstCodeItems", name);
        scripted::Click(admin, u"cmdDelete");
        return std::string();
      },
      [&] { return "piece " + vb::ToUtf8(name) + " deleted"; });
}

int Menu(Context& context, const Args& args) {
  const bool on = ParseOnOff("piece menu", args.positionals()[1]);
  const vb::Text name = NamedPiece(context, args);
  bool already = false;
  return WithAdmin(
      context,
      [&](ui::Form& admin) {
        scripted::Choose(admin, u"lstCodeItems", name);
        auto& box = *admin.Find<ui::CheckBox>(u"chkMenu");
        already = (box.value() == 1) == on;
        if (already) return std::string();
        // A full menu disables the box for pieces not in it, as a person would find it. One click,
        // as a person gives: a box that will not stay ticked is not clicked again.
        if (!box.enabled()) return FullMenu();
        box.Click();
        return std::string();
      },
      [&] {
        if (pellmoss::LoadMenuItems().Contains(name) != on)
          throw DialogRefusal("the piece store did not keep the change to the menu");
        return "piece " + vb::ToUtf8(name) + (already ? " was already " : " ") +
               (on ? "offered in the menu" : "taken off the menu");
      });
}

int Insert(Context& context, const Args& args) {
  const long line = ParseLineNumber("--line", args.required("line"));
  std::vector<std::pair<vb::Text, vb::Text>> given;
  for (const std::string& tag : args.values("tag")) {
    // "=VALUE" answers the tag with the empty name, <@@>.
    const auto eq = tag.find('=');
    if (eq == std::string::npos) throw UsageError("--tag " + tag + ": give NAME=VALUE");
    const vb::Text key = vb::FromUtf8(tag.substr(0, eq));
    // Only the first value of a tag would go in: a second one is refused, not dropped.
    for (const auto& [earlier, value] : given)
      if (vb::EqualsNoCase(earlier, key))
        throw UsageError("--tag " + tag + ": the tag <@" + vb::ToUtf8(earlier) + "@> has a value already (" +
                         vb::ToUtf8(earlier) + "=" + vb::ToUtf8(value) + ")");
    given.emplace_back(key, vb::FromUtf8(tag.substr(eq + 1)));
  }

  vb::Text name;
  std::vector<vb::Text> tagNames;
  {
    Home check(context, SettingsUse::Read);
    name = StoredName(args.positionals()[0]);
    for (const vb::Text& tag : pellmoss::FindCodeTags(pellmoss::ReadCodePiece(name)))
      tagNames.push_back(pellmoss::TagName(tag));
  }
  auto answerFor = [&](const vb::Text& tag) -> const vb::Text* {
    for (const auto& [key, value] : given)
      if (vb::EqualsNoCase(key, tag)) return &value;
    return nullptr;
  };
  // A value for a tag the piece does not have would be dropped without a word (a misspelt name).
  for (const auto& [key, value] : given) {
    auto isKey = [&key = key](const vb::Text& tag) { return vb::EqualsNoCase(key, tag); };
    if (std::none_of(tagNames.begin(), tagNames.end(), isKey))
      throw UsageError("--tag " + vb::ToUtf8(key) + "=" + vb::ToUtf8(value) + ": piece " + vb::ToUtf8(name) +
                       " has no tag <@" + vb::ToUtf8(key) + "@> (see: vb6kit piece show " + vb::ToUtf8(name) + ")");
  }
  // The module is read first, so nobody types values for a file that cannot be used.
  LoadedFile loaded = LoadModuleFile(args.positionals()[1], args.value("project"));
  CheckLineInModule("--line", line, loaded.lineCount, args.positionals()[1], true);
  // The piece goes in above the line: above a line that goes on a statement continued with " _",
  // it would cut the statement in two.
  host::Ref<host::CodeModule> module = loaded.code->vbe()->Component(loaded.component)->CodeModule();
  long start = line;
  while (start > 1 && vb::ContinuesOnNextLine(module->Lines(start - 1, 1))) --start;
  if (start != line)
    throw UsageError("--line " + std::to_string(line) + ": the line goes on the statement of line " +
                     std::to_string(start) + " (continued with \" _\"); insert above line " + std::to_string(start) +
                     " or after the statement");
  std::vector<vb::Text> missing;
  for (const vb::Text& tag : tagNames)
    if (!answerFor(tag)) missing.push_back(tag);
  if (!missing.empty() && !context.interactive) {
    std::string list;
    for (const vb::Text& tag : missing) list += (list.empty() ? "<@" : ", <@") + vb::ToUtf8(tag) + "@>";
    throw UsageError("no value for " + list + " (give --tag NAME=VALUE)");
  }
  for (const vb::Text& tag : missing) {
    context.err << "Value for <@" << vb::ToUtf8(tag) << "@>: " << std::flush;
    std::string answer;
    if (!std::getline(context.in, answer)) throw UsageError("no value typed for the tag " + vb::ToUtf8(tag));
    if (!answer.empty() && answer.back() == '\r') answer.pop_back();
    given.emplace_back(tag, vb::FromUtf8(answer));
  }

  Home home(context, SettingsUse::Read);
  Connected<pellmoss::Connect> session(loaded.code->vbe());
  session.vbe().SetActivePane(loaded.component, {line, 1, line, 1});
  home.toolkit.On(u"frmRetrieveCode", [&](ui::Form& form) {
    scripted::Choose(form, u"cboCodeItems", name);
    scripted::Click(form, u"cmdOk");
  });
  home.toolkit.On(u"frmReplace", [&](ui::Form& form) {
    auto& replace = dynamic_cast<pellmoss::frmReplace&>(form);
    const vb::Text* value = answerFor(replace.CodeTag());
    scripted::Type(form, u"txtCodeReplace", value ? *value : vb::Text());
    scripted::Click(form, u"cmdOk");
  });
  session.vbe().Click(u"Code Window/&Retrieve Code", u"&Retrieve Code Segment");
  return FinishEdit(context, home, *loaded.code, kAddin, WhatChanged(loaded, [&](const LineChanges& changes) {
                      return "piece " + vb::ToUtf8(name) + " inserted above line " + std::to_string(line) + " (" +
                             Plural(changes.added, "line") + ")";
                    }));
}

}  // namespace

std::vector<Command> PieceCommands() {
  return {
      {"piece store", "store a piece of code under a name", {{"NAME"}, {"[-]"}},
       {{"from", OptionRule::Value, "FILE", "take the piece from lines of this module", Complete::ModuleFile},
        {"lines", OptionRule::Value, "A-B", "the lines of --from, as the code window counts them"},
        kProjectOption,
        {"file", OptionRule::Value, "PATH", "take the piece from this text file", Complete::AnyFile},
        {"menu", OptionRule::Flag, "", "offer the piece in the retrieval menu too (at most ten pieces are)"}},
       "Stores a code piece under NAME: whole lines A to B of a module (as \"S&tore Code\" takes the code "
       "window's selection), the text of a file, or standard input (- or nothing). Tags, a name between <@ and "
       "@>, are asked for when the piece is inserted.",
       Store},
      {"piece list", "list the stored pieces", {},
       {{"format", OptionRule::Value, "text|json", "the output format (default: text)", Complete::Words}},
       "Prints every stored piece in stored order; \"*\" marks the pieces offered in the retrieval menu.", List},
      {"piece show", "print a piece", {{"NAME", Complete::PieceName}}, {}, "Prints the stored text of a piece.",
       Show},
      {"piece edit", "replace the text of a piece", {{"NAME", Complete::PieceName}, {"[-]"}},
       {{"file", OptionRule::Value, "PATH", "the new text (default: standard input)", Complete::AnyFile}},
       "Replaces the text of a stored piece with the text of a file or of standard input.", Edit},
      {"piece delete", "delete a piece", {{"NAME", Complete::PieceName}}, {},
       "Deletes a stored piece and its menu entry.", Delete},
      {"piece menu", "offer a piece in the retrieval menu, or not",
       {{"NAME", Complete::PieceName}, {"on|off", Complete::Words}}, {},
       "Offers a piece in the retrieval menu, or takes it off; the menu offers at most ten pieces.", Menu},
      {"piece insert", "insert a piece into a module", {{"NAME", Complete::PieceName}, {"FILE", Complete::ModuleFile}},
       {{"line", OptionRule::Required, "N", "insert above this line (one past the last line appends); not the second or a later line "
         "of a statement continued with \" _\""},
        {"tag", OptionRule::Repeated, "NAME=VALUE",
         "the value of the tag <@NAME@> (=VALUE for <@@>); a tag the piece does not have is refused"},
        kProjectOption},
       "Inserts a stored piece above line N of a module, each tag replaced by its value. Tags not given are asked "
       "for on a terminal; otherwise the command refuses.",
       Insert},
  };
}

}  // namespace cli
