#include "cli/args.h"

#include <algorithm>
#include <cctype>

#include "cli/command.h"

namespace cli {

Args::Args(const std::vector<std::string>& words, const Command& command) {
  for (const std::vector<OptionRule>* table : {&command.options, &GlobalOptions()})
    for (const OptionRule& optionRule : *table) rules_[optionRule.name] = &optionRule;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::string& word = words[i];
    if (!optionsEnded && word == "--") {
      optionsEnded = true;
      continue;
    }
    if (optionsEnded || word.size() < 2 || word[0] != '-') {
      positionals_.push_back(word);
      continue;
    }
    std::string name;
    std::optional<std::string> inlineValue;
    if (word[1] != '-') {
      // -q, -h: the short names of flags.
      if (word == "-h") {
        help_ = true;
        continue;
      }
      for (const auto& [long_name, optionRule] : rules_)
        if (word.size() == 2 && optionRule->shortName == word[1] && optionRule->kind == OptionRule::Flag)
          name = long_name;
      if (name.empty()) throw UsageError("unknown option " + word);
    } else {
      name = word.substr(2);
      if (auto eq = name.find('='); eq != std::string::npos) {
        inlineValue = name.substr(eq + 1);
        name.resize(eq);
      }
    }
    if (name == "help") {
      help_ = true;
      continue;
    }
    auto found = rules_.find(name);
    if (found == rules_.end()) throw UsageError("unknown option --" + name);
    const OptionRule& optionRule = *found->second;
    auto& list = given_[name];
    if (optionRule.kind == OptionRule::Flag) {
      if (inlineValue) throw UsageError("--" + name + " takes no value");
      list.push_back("");
      continue;
    }
    if (!inlineValue && i + 1 >= words.size()) throw UsageError("--" + name + " needs a value");
    if (optionRule.kind != OptionRule::Repeated && !list.empty()) throw UsageError("--" + name + " is given twice");
    list.push_back(inlineValue ? *inlineValue : words[++i]);
  }
  if (help_) return;

  for (const OptionRule& optionRule : command.options)
    if (optionRule.kind == OptionRule::Required && !given_.count(optionRule.name))
      throw UsageError(std::string("missing --") + optionRule.name + " " + optionRule.value);
  std::size_t least = 0;
  bool endless = false;
  for (const Operand& operand : command.operands) {
    const std::string operandName = operand.name;
    if (operandName.front() != '[') ++least;
    if (operandName.find("...") != std::string::npos) endless = true;
  }
  if (positionals_.size() < least) {
    std::string missing = command.operands[positionals_.size()].name;
    if (missing.size() > 3 && missing.compare(missing.size() - 3, 3, "...") == 0) missing.resize(missing.size() - 3);
    throw UsageError("missing " + missing);
  }
  if (!endless && positionals_.size() > command.operands.size())
    throw UsageError("unexpected argument '" + positionals_[command.operands.size()] + "'");
}

const OptionRule& Args::Rule(const std::string& name) const {
  auto found = rules_.find(name);
  if (found == rules_.end()) throw std::logic_error("option --" + name + " is not declared");
  return *found->second;
}

bool Args::flag(const std::string& name) const {
  Rule(name);
  return given_.count(name) != 0;
}

std::optional<std::string> Args::value(const std::string& name) const {
  Rule(name);
  auto it = given_.find(name);
  if (it == given_.end() || it->second.empty()) return std::nullopt;
  return it->second.front();
}

std::vector<std::string> Args::values(const std::string& name) const {
  Rule(name);
  auto it = given_.find(name);
  return it == given_.end() ? std::vector<std::string>{} : it->second;
}

const std::string& Args::required(const std::string& name) const {
  if (Rule(name).kind != OptionRule::Required) throw std::logic_error("option --" + name + " is not required");
  return given_.at(name).front();
}

std::string Args::Choice(const std::string& name, const std::string& fallback) const {
  const std::optional<std::string> given = value(name);
  if (!given) return fallback;
  const std::string allowed = Rule(name).value;
  for (const std::string& word : SplitWords(allowed))
    if (*given == word) return *given;
  throw UsageError("--" + name + " must be one of " + allowed + ", not '" + *given + "'");
}

std::vector<std::string> SplitWords(const std::string& placeholder) {
  std::vector<std::string> words;
  std::size_t start = 0;
  for (;;) {
    const std::size_t bar = placeholder.find('|', start);
    words.push_back(placeholder.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
    if (bar == std::string::npos) return words;
    start = bar + 1;
  }
}

namespace {

bool AllDigits(const std::string& text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); });
}

}  // namespace

long ParseLineNumber(const std::string& option, const std::string& text) {
  if (!AllDigits(text) || text.size() > 9 || std::stol(text) < 1)
    throw UsageError(option + " " + text + ": a line number counts from 1");
  return std::stol(text);
}

LineRange ParseLineRange(const std::string& option, const std::string& text) {
  const auto dash = text.find('-');
  const std::string first = text.substr(0, dash);
  const std::string last = dash == std::string::npos ? first : text.substr(dash + 1);
  if (!AllDigits(first) || !AllDigits(last) || first.size() > 9 || last.size() > 9)
    throw UsageError(option + " " + text + ": give a line A or a range A-B, lines counted from 1");
  LineRange range{std::stol(first), std::stol(last)};
  if (range.first < 1) throw UsageError(option + " " + text + ": lines count from 1");
  if (range.last < range.first) throw UsageError(option + " " + text + ": the range ends before it starts");
  return range;
}

bool ParseOnOff(const std::string& option, const std::string& text) {
  std::string lower = text;
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
  if (lower == "on" || lower == "yes" || lower == "true" || lower == "1") return true;
  if (lower == "off" || lower == "no" || lower == "false" || lower == "0") return false;
  throw UsageError(option + " must be on or off, not '" + text + "'");
}

}  // namespace cli
