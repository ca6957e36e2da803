// What every subcommand shares: the streams, the global options, the failures that end a
// command with exit code 1 or 2, and the table that declares each subcommand once: its words,
// operands and options, from which the parser, --help, the manual page and the shell
// completions are all made.
#pragma once

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitAddinMessage = 1;
inline constexpr int kExitUsage = 2;

// Bad usage or unreadable input: the message names what was wrong; the command exits with 2
// and has written nothing.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A dialog that vb6kit answers would not take an answer (a full menu, a disabled field): the
// command exits with 1 and has written nothing.
class DialogRefusal : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct Context {
  std::istream& in;
  std::ostream& out;
  std::ostream& err;
  bool interactive = false;
  // --settings PATH, else VB6KIT_SETTINGS, else the user's config folder.
  std::optional<std::filesystem::path> settingsPath;
  // --dry-run: print what would change as a unified diff and write nothing.
  bool dryRun = false;
  // -q/--quiet: no line on stderr saying what a successful command changed.
  bool quiet = false;
  // The words that name the command ("piece store"), for messages and help.
  std::string commandName;
};

// What the shell offers to complete a word with.
enum class Complete {
  None,          // free text
  Words,         // one of the words of the placeholder, "text|csv|json"
  ModuleFile,    // .bas .cls .frm .ctl ...
  FormFile,      // .frm .ctl
  ProjectFile,   // .vbp
  CodePath,      // a project, group, module file or folder
  AnyFile,       // any file
  PieceName,     // a stored piece
  ControlClass,  // TextBox, CommandButton, ...
  PromptSwitch,  // TYPE=on|off of the control editor's types
};

struct OptionRule {
  enum Kind { Flag, Value, Required, Repeated };
  const char* name;         // without the dashes: "format"
  Kind kind = Value;
  const char* value = "";   // the value in help ("A[-B]"); for Complete::Words the words ("text|csv|json")
  const char* help = "";    // one line
  Complete complete = Complete::None;
  char shortName = 0;       // 'q' for -q
};

// A positional word: "FILE", "[APP]" (may be left out), "PATH..." (one or more), "on|off".
struct Operand {
  const char* name;
  Complete complete = Complete::None;
};

// --project PROJECT.vbp, of every command on one module FILE.
inline constexpr OptionRule kProjectOption = {"project", OptionRule::Value, "PROJECT.vbp",
                                              "the project the module belongs to (its name, its other modules)",
                                              Complete::ProjectFile};

class Args;

struct Command {
  const char* name;                  // "count", "piece store"
  const char* summary;               // one line for the command list
  std::vector<Operand> operands;
  std::vector<OptionRule> options;
  const char* about;                 // what it does, for --help and the manual page
  int (*run)(Context& context, const Args& args);
};

// The commands of each file, in the order the command list shows them.
std::vector<Command> CountCommands();
std::vector<Command> CommentCommands();
std::vector<Command> PropertyCommands();
std::vector<Command> ImplementCommands();
std::vector<Command> PieceCommands();
std::vector<Command> ControlCommands();
std::vector<Command> SettingsCommands();
std::vector<Command> ProgramCommands();  // help, version, completion, manpage
// Every command, in that order, then help, version, completion and manpage.
const std::vector<Command>& AllCommands();
// The options every command takes (--settings, --dry-run, --quiet, --help).
const std::vector<OptionRule>& GlobalOptions();
// The command groups ("piece", "control", "settings") with their one-line summaries.
struct CommandGroup {
  const char* name;
  const char* summary;
};
const std::vector<CommandGroup>& CommandGroups();

}  // namespace cli
