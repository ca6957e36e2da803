#include "cli/help_text.h"

#include <algorithm>
#include <cctype>
#include <ostream>
#include <sstream>

namespace cli {

namespace {

constexpr std::size_t kWidth = 80;
constexpr std::size_t kLabelColumn = 26;

bool InGroup(const Command& command, const std::string& group) {
  const std::string name = command.name;
  return name.size() > group.size() && name.compare(0, group.size(), group) == 0 && name[group.size()] == ' ';
}

void PrintOptionTable(std::ostream& out, const std::vector<OptionRule>& options) {
  for (const OptionRule& option : options) {
    std::string label = "  " + OptionLabel(option);
    // A label too long for its column goes on a line of its own.
    label += label.size() + 2 > kLabelColumn ? "\n" + std::string(kLabelColumn, ' ')
                                             : std::string(kLabelColumn - label.size(), ' ');
    std::string help = option.help;
    if (option.kind == OptionRule::Repeated) help += " (may be repeated)";
    out << label << Wrap(help, kWidth - kLabelColumn, kLabelColumn) << "\n";
  }
}

}  // namespace

std::string OptionLabel(const OptionRule& option) {
  std::string label = option.shortName ? std::string("-") + option.shortName + ", " : "";
  label += std::string("--") + option.name;
  if (option.kind != OptionRule::Flag) label += std::string(" ") + option.value;
  return label;
}

std::string Synopsis(const Command& command, char inner) {
  std::string text = command.name;
  for (const Operand& operand : command.operands) text += std::string(" ") + operand.name;
  for (const OptionRule& option : command.options) {
    std::string label = OptionLabel(option);
    std::replace(label.begin(), label.end(), ' ', inner);
    if (option.kind == OptionRule::Required)
      text += " " + label;
    else
      text += " [" + label + "]" + (option.kind == OptionRule::Repeated ? "..." : "");
  }
  return text;
}

std::string Wrap(const std::string& text, std::size_t width, std::size_t indent) {
  std::string wrapped;
  for (std::size_t start = 0; start <= text.size();) {
    std::size_t end = text.find("\n\n", start);
    if (end == std::string::npos) end = text.size();
    if (start > 0) wrapped += "\n\n" + std::string(indent, ' ');
    std::istringstream words(text.substr(start, end - start));
    std::size_t column = 0;
    for (std::string word; words >> word;) {
      if (column > 0 && column + 1 + word.size() > width) {
        wrapped += "\n" + std::string(indent, ' ');
        column = 0;
      } else if (column > 0) {
        wrapped += ' ';
        ++column;
      }
      wrapped += word;
      column += word.size();
    }
    start = end + 2;
  }
  return wrapped;
}

void PrintProgramHelp(std::ostream& out) {
  out << "usage: vb6kit [--settings PATH] [--dry-run] [-q] COMMAND [ARGS...]\n"
         "       vb6kit help COMMAND   (or: vb6kit COMMAND --help)\n"
         "       vb6kit --version\n\ncommands:\n";
  std::vector<std::string> listed;
  for (const Command& command : AllCommands()) {
    const std::string name = command.name;
    const std::string word = name.substr(0, name.find(' '));
    const char* summary = command.summary;
    if (word != name) {
      if (!listed.empty() && listed.back() == word) continue;
      summary = FindGroup(word)->summary;
    }
    listed.push_back(word);
    out << "  " << word << std::string(word.size() < 12 ? 12 - word.size() : 1, ' ') << summary << "\n";
  }
  out << "\nglobal options (before or after the command):\n";
  PrintOptionTable(out, GlobalOptions());
  out << "  --version                 print the version and the source revision\n"
      << "\n"
      << Wrap("Exit codes: 0 success, 1 the add-in ended with an error or refusal message (nothing is written), "
              "2 bad usage or unreadable input, with a message naming what was wrong.",
              kWidth, 0)
      << "\n";
}

void PrintGroupHelp(std::ostream& out, const CommandGroup& group) {
  out << "usage: vb6kit " << group.name << " VERB [ARGS...]   (vb6kit " << group.name << " VERB --help)\n\n"
      << static_cast<char>(std::toupper(static_cast<unsigned char>(group.summary[0]))) << group.summary + 1
      << ".\n\nverbs:\n";
  for (const Command& command : AllCommands()) {
    if (!InGroup(command, group.name)) continue;
    const std::string verb = std::string(command.name).substr(std::string(group.name).size() + 1);
    out << "  " << verb << std::string(verb.size() < 9 ? 9 - verb.size() : 1, ' ') << command.summary << "\n";
  }
}

void PrintCommandHelp(std::ostream& out, const Command& command) {
  // An option and its value stay on one line.
  const std::size_t usage = std::string("usage: vb6kit ").size();
  std::string synopsis = Wrap(Synopsis(command, '\x01'), kWidth - usage, usage);
  std::replace(synopsis.begin(), synopsis.end(), '\x01', ' ');
  out << "usage: vb6kit " << synopsis << "\n\n" << Wrap(command.about, kWidth, 0) << "\n";
  if (!command.options.empty()) {
    out << "\noptions:\n";
    PrintOptionTable(out, command.options);
  }
  out << "\nGlobal options: --settings PATH, --dry-run, -q/--quiet (see vb6kit --help).\n";
}

const CommandGroup* FindGroup(const std::string& name) {
  for (const CommandGroup& group : CommandGroups())
    if (name == group.name) return &group;
  return nullptr;
}

const Command* FindCommand(const std::vector<std::string>& words, std::size_t& used) {
  if (words.empty()) return nullptr;
  const bool group = FindGroup(words[0]) != nullptr;
  if (group && words.size() < 2) return nullptr;
  const std::string name = group ? words[0] + " " + words[1] : words[0];
  for (const Command& command : AllCommands()) {
    if (name != command.name) continue;
    used = group ? 2 : 1;
    return &command;
  }
  return nullptr;
}

}  // namespace cli
