// The small argument parser of the subcommands: positional words and --options (with a value
// as the next word or after "="), each option declared by the command. "--help" is known to
// every command; "-" is a positional word (standard input); "--" ends the options.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace cli {

struct OptionSpec {
  enum Kind { Flag, Value, Repeated };
  const char* name;  // without the dashes: "format"
  Kind kind = Value;
};

class Args {
 public:
  // Raises UsageError naming an unknown option, a missing value or a repeated single option.
  Args(const std::vector<std::string>& words, std::initializer_list<OptionSpec> options);

  bool help() const { return help_; }
  const std::vector<std::string>& positionals() const { return positionals_; }
  bool flag(const std::string& name) const;
  std::optional<std::string> value(const std::string& name) const;
  std::vector<std::string> values(const std::string& name) const;

  // Checks the count of positional words; `what` names them in the message ("FILE").
  void ExpectPositionals(std::size_t least, std::size_t most, const std::string& what) const;
  // One of the allowed words for an option ("text|csv|json"), or `fallback` when absent.
  std::string Choice(const std::string& name, std::initializer_list<const char*> allowed,
                     const std::string& fallback) const;

 private:
  std::map<std::string, OptionSpec::Kind> specs_;
  std::map<std::string, std::vector<std::string>> given_;
  std::vector<std::string> positionals_;
  bool help_ = false;
};

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
