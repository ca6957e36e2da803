// The help of the command line, made from the command table: the list of commands, a group's
// verbs and one command's usage, text and options.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "cli/command.h"

namespace cli {

// "comment FILE --lines A[-B] [--project PROJECT.vbp]": the command's words, operands and options;
// `inner` joins the words inside one option ("--project PROJECT.vbp").
std::string Synopsis(const Command& command, char inner = ' ');
// "--lines A[-B]" or "-q, --quiet".
std::string OptionLabel(const OptionRule& option);

void PrintProgramHelp(std::ostream& out);
void PrintGroupHelp(std::ostream& out, const CommandGroup& group);
void PrintCommandHelp(std::ostream& out, const Command& command);

// The group of that name, or nullptr.
const CommandGroup* FindGroup(const std::string& name);
// The command named by the first one or two of `words` ("count", "piece store"), or nullptr;
// `used` is set to the number of words its name takes.
const Command* FindCommand(const std::vector<std::string>& words, std::size_t& used);

// `text` broken into lines of at most `width` columns, each line after the first indented by
// `indent` spaces; "\n\n" in the text starts a new paragraph.
std::string Wrap(const std::string& text, std::size_t width, std::size_t indent);

}  // namespace cli
