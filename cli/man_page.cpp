#include "cli/man_page.h"

#include <ostream>

#include "cli/command.h"
#include "cli/help_text.h"
#include "cli/version.h"

namespace cli {

namespace {

// Text for a roff line: backslashes and dashes escaped, a leading dot or quote made harmless.
std::string Roff(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\\')
      out += "\\e";
    else if (c == '-')
      out += "\\-";
    else
      out += c;
  }
  if (!out.empty() && (out[0] == '.' || out[0] == '\'')) out.insert(0, "\\&");
  return out;
}

// Paragraphs ("\n\n" between them) as roff paragraphs.
std::string RoffParagraphs(const std::string& text) {
  std::string out;
  for (std::size_t start = 0; start <= text.size();) {
    std::size_t end = text.find("\n\n", start);
    if (end == std::string::npos) end = text.size();
    if (start > 0) out += ".PP\n";
    std::string paragraph = text.substr(start, end - start);
    for (char& c : paragraph)
      if (c == '\n') c = ' ';
    out += Roff(paragraph) + "\n";
    start = end + 2;
  }
  return out;
}

std::string RoffOption(const OptionRule& option) {
  std::string label = option.shortName ? std::string("\\fB\\-") + option.shortName + "\\fR, " : "";
  label += "\\fB\\-\\-" + Roff(option.name) + "\\fR";
  if (option.kind != OptionRule::Flag) label += " \\fI" + Roff(option.value) + "\\fR";
  return label;
}

void OptionList(std::ostream& out, const std::vector<OptionRule>& options) {
  for (const OptionRule& option : options)
    out << ".TP\n" << RoffOption(option) << "\n"
        << Roff(std::string(option.help) + (option.kind == OptionRule::Repeated ? " (may be repeated)" : "")) << "\n";
}

}  // namespace

void WriteManPage(std::ostream& out) {
  out << ".\\\" The manual page of vb6kit, written by `vb6kit manpage` from its table of commands.\n"
      << ".TH VB6KIT 1 \"\" \"vb6kit " << VersionNumber() << "\" \"User Commands\"\n"
      << ".SH NAME\nvb6kit \\- the add-ins of the Visual Basic 6 IDE, on VB6 project files\n"
      << ".SH SYNOPSIS\n.B vb6kit\n[\\fIglobal options\\fR] \\fICOMMAND\\fR [\\fIARGS\\fR...]\n.br\n"
      << ".B vb6kit help\n\\fICOMMAND\\fR\n.br\n.B vb6kit \\-\\-version\n"
      << ".SH DESCRIPTION\n"
      << RoffParagraphs(
             "vb6kit runs the commands of six add-ins for the Visual Basic 6.0 IDE (a control editor, a comment "
             "add-in, a code piece store, a line counter, an interface implementer and a property generator) on "
             "VB6 project files. It loads the files into an in-memory IDE, puts the caret or selection where the "
             "options say, clicks the add-in's menu entry, answers its dialogs from the options, and saves back "
             "only the lines that changed, each keeping its own line end. Project files are never written; a "
             "killed save leaves the old file or the new one.\n\n"
             "A FILE is a module file (.bas, .cls, .frm, .ctl, ...), optionally with --project PROJECT.vbp "
             "around it. Lines count from 1 as in the code window: attribute and designer lines are hidden, as "
             "there. A successful command that changes something says so in one line on standard error.")
      << ".SH GLOBAL OPTIONS\nThese go before or after the command.\n";
  OptionList(out, GlobalOptions());
  out << ".TP\n\\fB\\-\\-help\\fR, \\fB\\-h\\fR\nprint the help of the program or of the command\n"
      << ".TP\n\\fB\\-\\-version\\fR\nprint the version and the source revision\n"
      << ".SH COMMANDS\n";
  for (const Command& command : AllCommands()) {
    out << ".SS \"" << Roff(command.name) << "\"\n.B vb6kit " << Roff(command.name) << "\n";
    std::string rest = Synopsis(command).substr(std::string(command.name).size());
    out << Roff(rest.empty() ? rest : rest.substr(1)) << "\n.PP\n" << RoffParagraphs(command.about);
    OptionList(out, command.options);
  }
  out << ".SH EXIT STATUS\n.TP\n0\nsuccess\n.TP\n1\nthe add-in ended with an error or refusal message, or a dialog "
         "would not take an answer; nothing is written\n.TP\n2\nbad usage, unreadable input, or output that could "
         "not be written; the message names what was wrong\n"
      << ".SH ENVIRONMENT\n.TP\n.B VB6KIT_SETTINGS\nthe settings database, when \\fB\\-\\-settings\\fR is not given\n"
      << ".SH FILES\n.TP\n.I ~/.config/vb6kit/settings.db\nthe settings database (pieces, options, the author "
         "name) by default\n.TP\n.I comment.log\nthe comment add-in's log, beside the settings database\n";
}

}  // namespace cli
