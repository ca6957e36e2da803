// The entry of the command line: the command table, the global options, and the one place
// where failures become exit codes.
#include <algorithm>
#include <csignal>
#include <cstring>
#include <ostream>

#include "cli/args.h"
#include "cli/cli.h"
#include "cli/command.h"
#include "cli/help_text.h"
#include "cli/output.h"
#include "cli/version.h"
#include "framework/vb_error.h"

namespace cli {

const std::vector<Command>& AllCommands() {
  static const std::vector<Command> commands = [] {
    std::vector<Command> all;
    for (auto part : {CountCommands, CommentCommands, PropertyCommands, ImplementCommands, PieceCommands,
                      ControlCommands, SettingsCommands, ProgramCommands})
      for (Command& command : part()) all.push_back(std::move(command));
    return all;
  }();
  return commands;
}

const std::vector<OptionRule>& GlobalOptions() {
  static const std::vector<OptionRule> options = {
      {"settings", OptionRule::Value, "PATH",
       "the settings database (default: $VB6KIT_SETTINGS, else ~/.config/vb6kit/settings.db)", Complete::AnyFile},
      {"dry-run", OptionRule::Flag, "", "print a unified diff of what would change (files and settings); write nothing"},
      {"quiet", OptionRule::Flag, "", "no line on stderr saying what a successful command changed", Complete::None,
       'q'},
  };
  return options;
}

const std::vector<CommandGroup>& CommandGroups() {
  static const std::vector<CommandGroup> groups = {
      {"piece", "store, list, show, edit, delete and insert code pieces"},
      {"control", "place, rename and remove controls on a form"},
      {"settings", "export or import every stored setting"},
  };
  return groups;
}

namespace {

// The words before the command: global options only (with the value of --settings).
std::size_t LeadingOptions(const std::vector<std::string>& args) {
  std::size_t i = 0;
  while (i < args.size() && args[i].size() > 1 && args[i][0] == '-') {
    const std::string& word = args[i];
    const std::string name = word.substr(0, word.find('='));
    bool known = word == "-h" || word == "--help" || word == "--version" || word == "--";
    for (const OptionRule& option : GlobalOptions())
      known = known || name == "--" + std::string(option.name) ||
              (option.shortName && word == std::string("-") + option.shortName);
    if (!known) throw UsageError("unknown option " + word + " before the command (try: vb6kit --help)");
    if (word == "--") break;
    i += word == "--settings" ? 2 : 1;
  }
  return std::min(i, args.size());
}

int RunCommand(Context& context, const std::vector<std::string>& args) {
  const std::size_t leading = LeadingOptions(args);
  const std::vector<std::string> before(args.begin(), args.begin() + static_cast<std::ptrdiff_t>(leading));
  std::vector<std::string> words(args.begin() + static_cast<std::ptrdiff_t>(leading), args.end());
  auto asked = [](const std::vector<std::string>& list, const char* word) {
    return std::find(list.begin(), list.end(), word) != list.end();
  };
  if (words.empty() || words.front() == "--") {
    if (asked(before, "--version")) {
      context.out << VersionText() << "\n";
      return kExitOk;
    }
    const bool help = asked(before, "--help") || asked(before, "-h");
    PrintProgramHelp(help ? context.out : context.err);
    return help ? kExitOk : kExitUsage;
  }
  std::size_t used = 0;
  const Command* command = FindCommand(words, used);
  if (!command) {
    if (const CommandGroup* group = FindGroup(words.front())) {
      context.commandName = group->name;
      const bool help = words.size() > 1 && (words[1] == "--help" || words[1] == "-h" || words[1] == "help");
      if (words.size() > 1 && !help)
        throw UsageError("unknown verb '" + words[1] + "' (try: vb6kit " + group->name + " --help)");
      PrintGroupHelp(help ? context.out : context.err, *group);
      return help ? kExitOk : kExitUsage;
    }
    throw UsageError("unknown command '" + words.front() + "' (try: vb6kit --help)");
  }
  context.commandName = command->name;
  words.erase(words.begin(), words.begin() + static_cast<std::ptrdiff_t>(used));
  words.insert(words.begin(), before.begin(), before.end());
  const Args parsed(words, *command);
  if (parsed.help()) {
    PrintCommandHelp(context.out, *command);
    return kExitOk;
  }
  if (std::optional<std::string> settings = parsed.value("settings")) {
    if (settings->empty()) throw UsageError("--settings needs a path");
    context.settingsPath = std::filesystem::path(*settings);
  }
  context.dryRun = parsed.flag("dry-run");
  context.quiet = parsed.flag("quiet");
  return command->run(context, parsed);
}

}  // namespace

int run(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err,
        bool interactive) {
  Context context{in, out, err, interactive, std::nullopt, false, false, ""};
  auto fail = [&](const std::string& message, int code) {
    err << "vb6kit" << (context.commandName.empty() ? "" : " " + context.commandName) << ": " << message << "\n";
    return code;
  };
  int code = kExitUsage;
  try {
    code = RunCommand(context, args);
  } catch (const UsageError& error) {
    return fail(error.what(), kExitUsage);
  } catch (const DialogRefusal& refusal) {
    return fail(refusal.what(), kExitAddinMessage);
  } catch (const vb::Error& error) {
    return fail("error " + std::to_string(error.number) + ": " + vb::ToUtf8(error.description), kExitUsage);
  } catch (const std::exception& error) {
    return fail(error.what(), kExitUsage);
  } catch (...) {
    return fail("unexpected failure", kExitUsage);
  }
  // Output that did not reach its file is a failure, or a backup made with `settings export`
  // could be silently empty; a reader that went away (`| head`) ends the command quietly.
  if (out.flush()) return code;
  const int error = OutputError(out);
  if (error == EPIPE) return 128 + SIGPIPE;
  return fail(std::string("cannot write the output") + (error ? std::string(": ") + std::strerror(error) : ""),
              kExitUsage);
}

}  // namespace cli
