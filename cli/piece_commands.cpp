// vb6kit piece store|list|show|edit|delete|menu|insert: the code piece store's dialogs, driven
// with the stored pieces of the settings database.
#include <fstream>
#include <iostream>

#include "cli/addin_session.h"
#include "cli/args.h"
#include "cli/command.h"
#include "cli/home.h"
#include "cli/loaded_code.h"
#include "cli/output.h"
#include "cli/text_input.h"
#include "piece_store/connect.h"
#include "piece_store/piece_storage.h"
#include "piece_store/code_tags.h"
#include "piece_store/frm_replace.h"

namespace cli {

namespace {

const std::string kAddin = "Pellmoss";
constexpr const char16_t* kBar = u"Code Window";

// The stored spelling of a piece name (names ignore letter case); UsageError when none.
vb::Text StoredName(const std::string& name) {
  const vb::Text wanted = vb::FromUtf8(name);
  for (const auto& entry : pellmoss::LoadCodeNames())
    if (vb::EqualsNoCase(entry.item, wanted)) return entry.item;
  throw UsageError("no piece named '" + name + "' is stored (see: vb6kit piece list)");
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

// Opens the admin dialog and runs `work` in it, then closes it; `check` looks at the outcome
// (an empty message when it is as asked).
int WithAdmin(Context& context, const std::function<void(ui::Form&)>& work,
              const std::function<std::string()>& check = {}) {
  Home home(context, SettingsUse::Change);
  Connected<pellmoss::Connect> session(EmptyIde());
  home.toolkit.On(u"frmAdmin", [&](ui::Form& admin) {
    work(admin);
    if (admin.visible()) scripted::Click(admin, u"cmdClose");
  });
  session.vbe().Click(kBar, u"Code S&torage Admin");
  if (ReportMessages(home.toolkit.messages(), kAddin, context.err)) return kExitAddinMessage;
  if (check) {
    if (std::string refusal = check(); !refusal.empty()) {
      context.err << kAddin << ": " << refusal << "\n";
      return kExitAddinMessage;
    }
  }
  return FinishSettings(context, home, kAddin);
}

void AnswerAddCode(scripted::ScriptedToolkit& toolkit, const vb::Text& name, const std::optional<vb::Text>& code,
                   bool menu) {
  toolkit.Once(u"frmAddCode", [=](ui::Form& form) {
    scripted::Type(form, u"txtSegName", name);
    if (code) scripted::Type(form, u"txtCode", *code);
    if (menu) scripted::SetCheck(form, u"chkAddToMenu", 1);
    scripted::Click(form, u"cmdAddSegment");
    if (form.visible()) scripted::Click(form, u"cmdCancel");
  });
}

int Store(Context& context, const std::vector<std::string>& words) {
  Args args(words, {{"from"}, {"lines"}, {"file"}, {"project"}, {"menu", OptionSpec::Flag}});
  if (args.help()) {
    context.out << "usage: vb6kit piece store NAME [--from FILE [--project PROJECT.vbp] --lines A-B | --file PATH | -] [--menu]\n\n"
                   "Stores a code piece under NAME: whole lines A to B of a module (as \"S&tore Code\" takes\n"
                   "the code window's selection), the text of a file, or standard input (- or nothing).\n"
                   "--menu also offers it in the retrieval menu (at most ten pieces are).\n";
    return kExitOk;
  }
  args.ExpectPositionals(1, 2, "NAME");
  const vb::Text name = vb::FromUtf8(args.positionals()[0]);
  const bool menu = args.flag("menu");
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
    LoadedFile loaded = LoadModuleFile(*from, args.value("project"));
    CheckLineInModule("--lines", range.last, loaded.lineCount, *from, false);
    Home home(context, SettingsUse::Change);
    Connected<pellmoss::Connect> session(loaded.code->vbe());
    session.vbe().SetActivePane(loaded.component, {range.first, 1, range.last, 1});
    AnswerAddCode(home.toolkit, name, std::nullopt, menu);
    session.vbe().Click(kBar, u"S&tore Code");
    return FinishSettings(context, home, kAddin);
  }
  if (args.value("lines")) throw UsageError("--lines goes with --from FILE");
  const vb::Text code = PieceSource(context, args, 1);
  Home home(context, SettingsUse::Change);
  Connected<pellmoss::Connect> session(EmptyIde());
  AnswerAddCode(home.toolkit, name, code, menu);
  home.toolkit.On(u"frmAdmin", [&](ui::Form& admin) {
    scripted::Click(admin, u"cmdAdd");
    if (admin.visible()) scripted::Click(admin, u"cmdClose");
  });
  session.vbe().Click(kBar, u"Code S&torage Admin");
  return FinishSettings(context, home, kAddin);
}

int List(Context& context, const std::vector<std::string>& words) {
  Args args(words, {});
  if (args.help()) {
    context.out << "usage: vb6kit piece list\n\nEvery stored piece in stored order; \"*\" marks the pieces offered in the menu.\n";
    return kExitOk;
  }
  args.ExpectPositionals(0, 0, "");
  Home home(context, SettingsUse::Read);
  const pellmoss::NameList menu = pellmoss::LoadMenuItems();
  for (const auto& entry : pellmoss::LoadCodeNames())
    context.out << (menu.Contains(entry.item) ? "* " : "  ") << vb::ToUtf8(entry.item) << "\n";
  return kExitOk;
}

int Show(Context& context, const std::vector<std::string>& words) {
  Args args(words, {});
  if (args.help()) {
    context.out << "usage: vb6kit piece show NAME\n\nPrints the stored text of a piece.\n";
    return kExitOk;
  }
  args.ExpectPositionals(1, 1, "NAME");
  Home home(context, SettingsUse::Read);
  const vb::Text text = pellmoss::ReadCodePiece(StoredName(args.positionals()[0]));
  context.out << ConsoleText(text) << (text.empty() ? "" : "\n");
  return kExitOk;
}

int Edit(Context& context, const std::vector<std::string>& words) {
  Args args(words, {{"file"}});
  if (args.help()) {
    context.out << "usage: vb6kit piece edit NAME [--file PATH | -]\n\n"
                   "Replaces the text of a stored piece (from standard input when no file is given).\n";
    return kExitOk;
  }
  args.ExpectPositionals(1, 2, "NAME");
  vb::Text name;
  {
    Home check(context, SettingsUse::Read);
    name = StoredName(args.positionals()[0]);
  }
  const vb::Text code = PieceSource(context, args, 1);
  return WithAdmin(context, [&](ui::Form& admin) {
    scripted::Choose(admin, u"lstCodeItems", name);
    scripted::Type(admin, u"txtCode", code);
    scripted::Click(admin, u"cmdEdit");
  });
}

int Delete(Context& context, const std::vector<std::string>& words) {
  Args args(words, {});
  if (args.help()) {
    context.out << "usage: vb6kit piece delete NAME\n\nDeletes a stored piece (and its menu entry).\n";
    return kExitOk;
  }
  args.ExpectPositionals(1, 1, "NAME");
  vb::Text name;
  {
    Home check(context, SettingsUse::Read);
    name = StoredName(args.positionals()[0]);
  }
  return WithAdmin(context, [&](ui::Form& admin) {
    scripted::Choose(admin, u"lstCodeItems", name);
    scripted::Click(admin, u"cmdDelete");
  });
}

int Menu(Context& context, const std::vector<std::string>& words) {
  Args args(words, {});
  if (args.help()) {
    context.out << "usage: vb6kit piece menu NAME on|off\n\nOffers a piece in the retrieval menu, or takes it off (at most ten are offered).\n";
    return kExitOk;
  }
  args.ExpectPositionals(2, 2, "NAME and on|off");
  const bool on = ParseOnOff("piece menu", args.positionals()[1]);
  vb::Text name;
  {
    Home check(context, SettingsUse::Read);
    name = StoredName(args.positionals()[0]);
  }
  return WithAdmin(
      context,
      [&](ui::Form& admin) {
        scripted::Choose(admin, u"lstCodeItems", name);
        auto* box = admin.Find<ui::CheckBox>(u"chkMenu");
        // A full menu disables the box for pieces not in it, as a person would find it. One click,
        // as a person gives: a box that will not stay ticked is not clicked again.
        if (box && box->enabled() && box->value() != (on ? 1 : 0)) box->Click();
      },
      [&]() -> std::string {
        if (pellmoss::LoadMenuItems().Contains(name) == on) return {};
        return "the retrieval menu offers at most " + std::to_string(pellmoss::kMaxMenuItems) +
               " pieces; take one off before adding '" + vb::ToUtf8(name) + "'";
      });
}

int Insert(Context& context, const std::vector<std::string>& words) {
  Args args(words, {{"line"}, {"tag", OptionSpec::Repeated}, {"project"}});
  if (args.help()) {
    context.out << "usage: vb6kit piece insert NAME FILE [--project PROJECT.vbp] --line N [--tag NAME=VALUE]...\n\n"
                   "Inserts a stored piece above line N of a module, each <@tag@> replaced by its value.\n"
                   "Tags not given are asked for on the terminal; without one the command refuses.\n";
    return kExitOk;
  }
  args.ExpectPositionals(2, 2, "NAME and FILE");
  const std::optional<std::string> lineText = args.value("line");
  if (!lineText) throw UsageError("missing --line N");
  const long line = ParseLineNumber("--line", *lineText);
  std::vector<std::pair<vb::Text, vb::Text>> given;
  for (const std::string& tag : args.values("tag")) {
    const auto eq = tag.find('=');
    if (eq == std::string::npos || eq == 0) throw UsageError("--tag " + tag + ": give NAME=VALUE");
    given.emplace_back(vb::FromUtf8(tag.substr(0, eq)), vb::FromUtf8(tag.substr(eq + 1)));
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
  // The module is read first, so nobody types values for a file that cannot be used.
  LoadedFile loaded = LoadModuleFile(args.positionals()[1], args.value("project"));
  CheckLineInModule("--line", line, loaded.lineCount, args.positionals()[1], true);
  std::vector<vb::Text> missing;
  for (const vb::Text& tag : tagNames)
    if (!answerFor(tag)) missing.push_back(tag);
  if (!missing.empty() && !context.interactive) {
    std::string list;
    for (const vb::Text& tag : missing) list += (list.empty() ? "" : ", ") + vb::ToUtf8(tag);
    throw UsageError("no value for the tag(s) " + list + " (give --tag NAME=VALUE)");
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
  return FinishEdit(context, home, *loaded.code, kAddin);
}

}  // namespace

int PieceCommand(Context& context, const std::vector<std::string>& args) {
  return RunGroup(context, args,
                  {{"store", "store a piece of code under a name", Store},
                   {"list", "list the stored pieces", List},
                   {"show", "print a piece", Show},
                   {"edit", "replace the text of a piece", Edit},
                   {"delete", "delete a piece", Delete},
                   {"menu", "offer a piece in the retrieval menu, or not", Menu},
                   {"insert", "insert a piece into a module", Insert}});
}

}  // namespace cli
