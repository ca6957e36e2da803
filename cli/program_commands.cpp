// vb6kit help|version|completion|manpage: the program's own commands.
#include <ostream>

#include "cli/args.h"
#include "cli/command.h"
#include "cli/help_text.h"
#include "cli/man_page.h"
#include "cli/shell_completion.h"
#include "cli/version.h"

namespace cli {

namespace {

int Help(Context& context, const Args& args) {
  const std::vector<std::string>& words = args.positionals();
  if (words.empty()) {
    PrintProgramHelp(context.out);
    return kExitOk;
  }
  std::size_t used = 0;
  if (const Command* command = FindCommand(words, used); command && used == words.size()) {
    PrintCommandHelp(context.out, *command);
    return kExitOk;
  }
  if (const CommandGroup* group = FindGroup(words[0]); group && words.size() == 1) {
    PrintGroupHelp(context.out, *group);
    return kExitOk;
  }
  std::string asked;
  for (const std::string& word : words) asked += (asked.empty() ? "" : " ") + word;
  throw UsageError("no command '" + asked + "' (try: vb6kit --help)");
}

int Version(Context& context, const Args&) {
  context.out << VersionText() << "\n";
  return kExitOk;
}

int Completion(Context& context, const Args& args) {
  const std::string shell = args.positionals()[0];
  if (shell == "bash")
    WriteBashCompletion(context.out);
  else if (shell == "zsh")
    WriteZshCompletion(context.out);
  else
    throw UsageError("no completion for the shell '" + shell + "' (bash or zsh)");
  return kExitOk;
}

int ManPage(Context& context, const Args&) {
  WriteManPage(context.out);
  return kExitOk;
}

}  // namespace

std::vector<Command> ProgramCommands() {
  return {
      {"help", "print the help of the program or of a command", {{"[COMMAND...]"}}, {},
       "Prints the help of COMMAND (\"vb6kit help piece store\" is \"vb6kit piece store --help\"), or of the "
       "program when no command is named.",
       Help},
      {"version", "print the version", {}, {},
       "Prints the version of the program and, when the build knew it, the source revision it was built from.",
       Version},
      {"completion", "print the bash or zsh completion script", {{"bash|zsh", Complete::Words}}, {},
       "Prints the completion script for the shell. Installed packages put it where the shell finds it; to try "
       "it in one shell: source <(vb6kit completion bash).",
       Completion},
      {"manpage", "print the manual page (roff)", {}, {},
       "Prints the manual page vb6kit(1) in roff, as it is installed; read it with: vb6kit manpage | man -l -",
       ManPage},
  };
}

}  // namespace cli
