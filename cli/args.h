// The argument parser of the subcommands: positional words and --options (with a value as the
// next word or after "="), each option declared once in the command's table (command.h) together
// with the options every command takes. "-" is a positional word (standard input); "--" ends
// the options.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "cli/command.h"

namespace cli {

class Args {
 public:
  // Raises UsageError naming an unknown option, a missing value, a repeated single option and,
  // unless --help was given, a missing required option or a wrong count of operands.
  Args(const std::vector<std::string>& words, const Command& command);

  bool help() const { return help_; }
  const std::vector<std::string>& positionals() const { return positionals_; }
  bool flag(const std::string& name) const;
  std::optional<std::string> value(const std::string& name) const;
  std::vector<std::string> values(const std::string& name) const;
  // The value of an option whose kind is Required.
  const std::string& required(const std::string& name) const;
  // The value of an option completed from its words ("text|csv|json"), or `fallback` when absent.
  std::string Choice(const std::string& name, const std::string& fallback) const;

 private:
  const OptionRule& Rule(const std::string& name) const;

  std::map<std::string, const OptionRule*> rules_;
  std::map<std::string, std::vector<std::string>> given_;
  std::vector<std::string> positionals_;
  bool help_ = false;
};

// The words of a Complete::Words placeholder: "text|csv|json" -> text, csv, json.
std::vector<std::string> SplitWords(const std::string& placeholder);

// A line number as the code window counts them (from 1); UsageError naming `option` otherwise.
long ParseLineNumber(const std::string& option, const std::string& text);

struct LineRange {
  long first = 0;
  long last = 0;
};
// "A" or "A-B" with 1 <= A <= B.
LineRange ParseLineRange(const std::string& option, const std::string& text);

// "on"/"off" (also yes/no, true/false, 1/0) as a boolean; UsageError otherwise.
bool ParseOnOff(const std::string& option, const std::string& text);

}  // namespace cli
