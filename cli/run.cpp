// The entry of the command line: global options, the command table, help, and the one place
// where failures become exit codes.
#include <cstring>
#include <iomanip>
#include <iostream>

#include "cli/cli.h"
#include "cli/command.h"
#include "framework/vb_error.h"

namespace cli {

namespace {

const std::vector<Command>& Commands() {
  static const std::vector<Command> commands = {
      {"count", "count code, comment and blank lines of components", CountCommand},
      {"summary", "print the project summary", SummaryCommand},
      {"comment", "comment out lines of a module", CommentCommand},
      {"uncomment", "remove the comment marks from lines of a module", UncommentCommand},
      {"header", "add a function header above a procedure", HeaderCommand},
      {"revision", "add a revision entry to a procedure's header", RevisionCommand},
      {"members", "list the members of a module as the navigator shows them", MembersCommand},
      {"property", "add a property (member variable and Get/Let or Set)", PropertyCommand},
      {"implement", "implement interface classes in a class, form or user control", ImplementCommand},
      {"piece", "store, list, show, edit, delete and insert code pieces", PieceCommand},
      {"control", "place, rename and remove controls on a form", ControlCommand},
      {"options", "show or change the control editor's options", OptionsCommand},
      {"settings", "export or import every stored setting", SettingsCommand},
  };
  return commands;
}

void PrintUsage(std::ostream& out) {
  out << "usage: vb6kit [--settings PATH] [--dry-run] COMMAND [ARGS...]\n"
         "       vb6kit COMMAND --help\n\ncommands:\n";
  for (const Command& command : Commands())
    out << "  " << std::left << std::setw(11) << command.name << command.summary << "\n";
  out << "\nExit codes: 0 success, 1 the add-in ended with an error or refusal message,\n"
         "2 bad usage or unreadable input. --settings (or VB6KIT_SETTINGS) picks the settings\n"
         "database; --dry-run prints a unified diff of what would change and writes nothing.\n";
}

}  // namespace

int RunGroup(Context& context, const std::vector<std::string>& args, const std::vector<SubCommand>& verbs) {
  const std::string group = context.commandName;
  auto printVerbs = [&](std::ostream& out) {
    out << "usage: vb6kit " << group << " VERB [ARGS...]   (vb6kit " << group << " VERB --help)\n\nverbs:\n";
    for (const SubCommand& verb : verbs)
      out << "  " << std::left << std::setw(9) << verb.name << verb.summary << "\n";
  };
  if (args.empty()) {
    printVerbs(context.err);
    return kExitUsage;
  }
  if (args.front() == "--help" || args.front() == "help") {
    printVerbs(context.out);
    return kExitOk;
  }
  for (const SubCommand& verb : verbs) {
    if (args.front() != verb.name) continue;
    context.commandName = group + " " + verb.name;
    return verb.run(context, std::vector<std::string>(args.begin() + 1, args.end()));
  }
  throw UsageError("unknown verb '" + args.front() + "' (try: vb6kit " + group + " --help)");
}

int run(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err,
        bool interactive) {
  Context context{in, out, err, interactive, std::nullopt, false, ""};
  std::vector<std::string> rest;
  std::string commandWord;
  try {
    for (std::size_t i = 0; i < args.size(); ++i) {
      const std::string& word = args[i];
      if (word == "--dry-run") {
        context.dryRun = true;
      } else if (word == "--settings" || word.rfind("--settings=", 0) == 0) {
        std::string value;
        if (word == "--settings") {
          if (i + 1 >= args.size()) throw UsageError("--settings needs a path");
          value = args[++i];
        } else {
          value = word.substr(std::strlen("--settings="));
        }
        if (value.empty()) throw UsageError("--settings needs a path");
        context.settingsPath = std::filesystem::path(value);
      } else if (commandWord.empty() && word != "--help" && word != "-h" && word != "help") {
        if (word.rfind("-", 0) == 0) throw UsageError("unknown option " + word + " before the command");
        commandWord = word;
      } else if (commandWord.empty()) {
        PrintUsage(out);
        return kExitOk;
      } else {
        rest.push_back(word);
      }
    }
    if (commandWord.empty()) {
      PrintUsage(err);
      return kExitUsage;
    }
    for (const Command& command : Commands()) {
      if (commandWord != command.name) continue;
      context.commandName = command.name;
      return command.run(context, rest);
    }
    throw UsageError("unknown command '" + commandWord + "' (try: vb6kit --help)");
  } catch (const UsageError& error) {
    err << "vb6kit" << (context.commandName.empty() ? "" : " " + context.commandName) << ": " << error.what()
        << "\n";
    return kExitUsage;
  } catch (const vb::Error& error) {
    err << "vb6kit" << (context.commandName.empty() ? "" : " " + context.commandName) << ": error "
        << error.number << ": " << vb::ToUtf8(error.description) << "\n";
    return kExitUsage;
  } catch (const std::exception& error) {
    err << "vb6kit" << (context.commandName.empty() ? "" : " " + context.commandName) << ": " << error.what()
        << "\n";
    return kExitUsage;
  } catch (...) {
    err << "vb6kit" << (context.commandName.empty() ? "" : " " + context.commandName) << ": unexpected failure\n";
    return kExitUsage;
  }
}

}  // namespace cli
