// What every subcommand shares: the streams, the global options, the failures that end a
// command with exit code 2, and the registry of subcommands.
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

struct Context {
  std::istream& in;
  std::ostream& out;
  std::ostream& err;
  bool interactive = false;
  // --settings PATH, else VB6KIT_SETTINGS, else the user's config folder.
  std::optional<std::filesystem::path> settingsPath;
  // --dry-run: print what would change as a unified diff and write nothing.
  bool dryRun = false;
  // The words that name the command ("piece store"), for messages and help.
  std::string commandName;
};

// A subcommand: `args` are the words after its name.
using CommandFunction = int (*)(Context& context, const std::vector<std::string>& args);

struct Command {
  const char* name;     // "count", "piece"
  const char* summary;  // one line for the command list
  CommandFunction run;
};

// The commands of each group (defined in their own files).
int CountCommand(Context& context, const std::vector<std::string>& args);
int SummaryCommand(Context& context, const std::vector<std::string>& args);
int CommentCommand(Context& context, const std::vector<std::string>& args);
int UncommentCommand(Context& context, const std::vector<std::string>& args);
int HeaderCommand(Context& context, const std::vector<std::string>& args);
int RevisionCommand(Context& context, const std::vector<std::string>& args);
int MembersCommand(Context& context, const std::vector<std::string>& args);
int PropertyCommand(Context& context, const std::vector<std::string>& args);
int ImplementCommand(Context& context, const std::vector<std::string>& args);
int PieceCommand(Context& context, const std::vector<std::string>& args);
int ControlCommand(Context& context, const std::vector<std::string>& args);
int OptionsCommand(Context& context, const std::vector<std::string>& args);
int SettingsCommand(Context& context, const std::vector<std::string>& args);

// Runs a group's sub-verb ("piece store ..."): prints the group's list for --help or no verb.
struct SubCommand {
  const char* name;
  const char* summary;
  CommandFunction run;
};
int RunGroup(Context& context, const std::vector<std::string>& args, const std::vector<SubCommand>& verbs);

}  // namespace cli
