#include "cli/shell_completion.h"

#include <ostream>
#include <sstream>

#include "cli/args.h"
#include "cli/command.h"
#include "cli/help_text.h"
#include "control_editor/control_types.h"
#include "control_editor/editor_options.h"

namespace cli {

namespace {

// Both shells share the generated tables: small functions that print, for a command and an
// option or operand position, what to offer ("words a b", "files bas cls", "pieces", "none").
// Only the walk over the words typed so far is written once per shell.

// A word for a single-quoted shell string.
std::string Quoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

std::string Offer(Complete complete, const std::string& placeholder) {
  switch (complete) {
    case Complete::None: return "none";
    case Complete::Words: {
      std::string line = "words";
      for (const std::string& word : SplitWords(placeholder)) line += " " + word;
      return line;
    }
    case Complete::ModuleFile: return "files bas cls frm ctl pag dob dsr";
    case Complete::FormFile: return "files frm ctl";
    case Complete::ProjectFile: return "files vbp";
    case Complete::CodePath: return "files vbp vbg bas cls frm ctl pag dob dsr";
    case Complete::AnyFile: return "files";
    case Complete::PieceName: return "pieces";
    case Complete::ControlClass: {
      std::string line = "words";
      for (const ravlen::ControlTypeRow& row : ravlen::ControlTypeTable())
        if (row.className) line += " " + vb::ToUtf8(row.className);
      return line;
    }
    case Complete::PromptSwitch: {
      std::string line = "words all=on all=off";
      for (const vb::Text& name : ravlen::ControlTypeNames())
        if (name.find(u' ') == vb::Text::npos) line += " " + vb::ToUtf8(name) + "=on " + vb::ToUtf8(name) + "=off";
      return line;
    }
  }
  return "none";
}

// A help line for the description list: no line breaks, no colon before the description's.
std::string Described(const std::string& word, const std::string& help) {
  std::string line = word + ":";
  for (char c : help) line += c == ':' ? std::string("\\:") : std::string(1, c == '\n' ? ' ' : c);
  return line;
}

void WriteTables(std::ostream& out) {
  // The commands and verbs, "word:summary" per line.
  out << "_vb6kit_commands() {\n  printf '%s\\n'";
  std::string lastGroup;
  for (const Command& command : AllCommands()) {
    const std::string name = command.name;
    const std::string word = name.substr(0, name.find(' '));
    if (word != name) {
      if (word == lastGroup) continue;
      lastGroup = word;
      out << " \\\n    " << Quoted(Described(word, FindGroup(word)->summary));
    } else {
      out << " \\\n    " << Quoted(Described(word, command.summary));
    }
  }
  out << "\n}\n\n_vb6kit_verbs() {\n  case \"$1\" in\n";
  for (const CommandGroup& group : CommandGroups()) {
    out << "    " << group.name << ") printf '%s\\n'";
    for (const Command& command : AllCommands()) {
      const std::string name = command.name;
      if (name.rfind(std::string(group.name) + " ", 0) == 0)
        out << " " << Quoted(Described(name.substr(name.find(' ') + 1), command.summary));
    }
    out << " ;;\n";
  }
  out << "  esac\n}\n\n";

  // The options of a command, "--name:help" per line.
  out << "_vb6kit_options() {\n  printf '%s\\n'";
  for (const OptionRule& option : GlobalOptions()) {
    out << " " << Quoted(Described(std::string("--") + option.name, option.help));
    if (option.shortName) out << " " << Quoted(Described(std::string("-") + option.shortName, option.help));
  }
  out << " '--help:print the help'\n  case \"$1\" in\n";
  for (const Command& command : AllCommands()) {
    if (command.options.empty()) continue;
    out << "    " << Quoted(command.name) << ") printf '%s\\n'";
    for (const OptionRule& option : command.options)
      out << " " << Quoted(Described(std::string("--") + option.name, option.help));
    out << " ;;\n";
  }
  out << "  esac\n}\n\n";

  // What the value of an option is; nothing for a flag or an unknown option.
  out << "_vb6kit_value() {\n  case \"$2\" in\n";
  for (const OptionRule& option : GlobalOptions())
    if (option.kind != OptionRule::Flag)
      out << "    --" << option.name << ") echo " << Quoted(Offer(option.complete, option.value)) << "; return ;;\n";
  out << "  esac\n  case \"$1 $2\" in\n";
  for (const Command& command : AllCommands())
    for (const OptionRule& option : command.options)
      if (option.kind != OptionRule::Flag)
        out << "    " << Quoted(std::string(command.name) + " --" + option.name) << ") echo "
            << Quoted(Offer(option.complete, option.value)) << " ;;\n";
  out << "  esac\n}\n\n";

  // What operand N (from 0) of a command is; the last of "PATH..." repeats.
  out << "_vb6kit_operand() {\n  case \"$1\" in\n";
  for (const Command& command : AllCommands()) {
    if (command.operands.empty()) continue;
    out << "    " << Quoted(command.name) << ")\n      case \"$2\" in\n";
    for (std::size_t i = 0; i < command.operands.size(); ++i) {
      const Operand& operand = command.operands[i];
      const bool repeats = std::string(operand.name).find("...") != std::string::npos;
      out << "        " << (repeats ? std::to_string(i) + "|*" : std::to_string(i)) << ") echo "
          << Quoted(Offer(operand.complete, operand.name)) << " ;;\n";
    }
    out << "      esac ;;\n";
  }
  out << "  esac\n}\n\n";

  out << "_vb6kit_is_group() {\n  case \"$1\" in\n    ";
  for (std::size_t i = 0; i < CommandGroups().size(); ++i) out << (i ? "|" : "") << CommandGroups()[i].name;
  out << ") return 0 ;;\n  esac\n  return 1\n}\n\n";
}

// The walk over the words before the cursor, the same in both shells but for how the words are
// reached: it sets cmd (one or two words), operand (how many operands came before) and expect
// (the option whose value the current word is), and settings (a --settings option to pass on).
const char* kWalk = R"sh(  local cmd="" expect="" word
  local -a settings
  settings=()
  operand=0
  for word in "${typed[@]}"; do
    if [[ -n $expect ]]; then
      [[ $word == "=" ]] && continue
      [[ $expect == --settings ]] && settings=(--settings "$word")
      expect=""
      continue
    fi
    case "$word" in
      -) operand=$((operand + 1)); continue ;;
      --*=*) [[ $word == --settings=* ]] && settings=("$word"); continue ;;
      -*) [[ -n $(_vb6kit_value "$cmd" "$word") ]] && expect="$word"; continue ;;
    esac
    if [[ -z $cmd ]]; then
      cmd="$word"
    elif _vb6kit_is_group "$cmd"; then
      cmd="$cmd $word"
    else
      operand=$((operand + 1))
    fi
  done
  if [[ -z $expect && $cur == --*=* ]]; then
    # zsh keeps "--format=js" one word (bash splits it at "=").
    expect=${cur%%=*}
    _vb6kit_after_equals
    cur=${cur#*=}
  fi
  local offer
  if [[ -n $expect ]]; then
    [[ $cur == "=" ]] && cur=""
    offer=$(_vb6kit_value "$cmd" "$expect")
  elif [[ $cur == -* ]]; then
    _vb6kit_offer_options "$cmd"
    return
  elif [[ -z $cmd ]]; then
    _vb6kit_offer_list "$(_vb6kit_commands)"
    return
  elif _vb6kit_is_group "$cmd"; then
    _vb6kit_offer_list "$(_vb6kit_verbs "$cmd")"
    return
  else
    offer=$(_vb6kit_operand "$cmd" "$operand")
  fi
  case "$offer" in
    words\ *) _vb6kit_offer_words "${offer#words }" ;;
    files*) _vb6kit_offer_files "${offer#files}" ;;
    pieces) _vb6kit_offer_pieces "$(command vb6kit "${settings[@]}" piece list 2>/dev/null | cut -c3-)" ;;
  esac
}
)sh";

}  // namespace

void WriteBashCompletion(std::ostream& out) {
  out << "# bash completion for vb6kit, written by `vb6kit completion bash` from the program's own\n"
         "# table of commands and options.\n\n";
  WriteTables(out);
  out << R"sh(# The words of "word:description" lines that start with what is typed.
_vb6kit_offer_list() {
  local line
  COMPREPLY=()
  while IFS= read -r line; do
    [[ -n $line && ${line%%:*} == "$cur"* ]] && COMPREPLY+=("${line%%:*}")
  done <<< "$1"
}

_vb6kit_offer_options() {
  _vb6kit_offer_list "$(_vb6kit_options "$1")"
}

_vb6kit_offer_words() {
  local IFS=$' \n'
  COMPREPLY=($(compgen -W "$1" -- "$cur"))
}

_vb6kit_after_equals() { :; }

# Piece names, one a line; a name may hold spaces, which readline then quotes.
_vb6kit_offer_pieces() {
  local line
  COMPREPLY=()
  while IFS= read -r line; do
    [[ -n $line && $line == "$cur"* ]] && COMPREPLY+=("$line")
  done <<< "$1"
  compopt -o filenames 2>/dev/null
}

# Folders, and the files whose extension (in any letter case) is one of $1 (all when empty).
_vb6kit_offer_files() {
  local IFS=$'\n' file extension
  compopt -o filenames 2>/dev/null
  COMPREPLY=($(compgen -d -- "$cur"))
  for file in $(compgen -f -- "$cur"); do
    [[ -d $file ]] && continue
    extension=${file##*.}
    if [[ -z ${1// /} || " $1 " == *" ${extension,,} "* ]]; then
      COMPREPLY+=("$file")
    fi
  done
}

_vb6kit() {
  local cur=${COMP_WORDS[COMP_CWORD]} operand
  local -a typed
  typed=("${COMP_WORDS[@]:1:COMP_CWORD-1}")
)sh" << kWalk << "\ncomplete -F _vb6kit vb6kit\n";
}

void WriteZshCompletion(std::ostream& out) {
  out << "#compdef vb6kit\n"
         "# zsh completion for vb6kit, written by `vb6kit completion zsh` from the program's own\n"
         "# table of commands and options.\n\n";
  WriteTables(out);
  out << R"sh(_vb6kit_offer_list() {
  local -a entries
  entries=(${(f)1})
  _describe -t entries 'vb6kit' entries
}

_vb6kit_offer_options() {
  local -a entries
  entries=(${(f)"$(_vb6kit_options "$1")"})
  _describe -t options 'option' entries
}

_vb6kit_offer_words() {
  compadd -- ${=1}
}

_vb6kit_after_equals() {
  compset -P '*='
}

# Piece names, one a line.
_vb6kit_offer_pieces() {
  compadd -- ${(f)1}
}

# Folders, and the files whose extension (in any letter case) is one of $1 (all when empty).
_vb6kit_offer_files() {
  local -a extensions
  extensions=(${=1})
  if (( ${#extensions} )); then
    _files -g "*.(#i)(${(j:|:)extensions})(-.)"
  else
    _files
  fi
}

_vb6kit() {
  local cur=${words[CURRENT]} operand
  local -a typed
  typed=("${(@)words[2,CURRENT-1]}")
)sh" << kWalk << "\n# Autoloaded from fpath, this file is the body of _vb6kit; sourced, it registers itself.\n"
         "if [[ $funcstack[1] == _vb6kit ]]; then\n  _vb6kit \"$@\"\nelse\n  compdef _vb6kit vb6kit\nfi\n";
}

}  // namespace cli
