#include "cli/args.h"

#include <algorithm>
#include <cctype>

#include "cli/command.h"

namespace cli {

Args::Args(const std::vector<std::string>& words, std::initializer_list<OptionSpec> options) {
  for (const OptionSpec& optionSpec : options) specs_[optionSpec.name] = optionSpec.kind;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::string& word = words[i];
    if (optionsEnded || word.size() < 3 || word.compare(0, 2, "--") != 0) {
      if (word == "--" && !optionsEnded) {
        optionsEnded = true;
        continue;
      }
      if (!optionsEnded && word.size() > 1 && word[0] == '-' && word != "-")
        throw UsageError("unknown option " + word);
      positionals_.push_back(word);
      continue;
    }
    std::string name = word.substr(2);
    std::optional<std::string> inlineValue;
    if (auto eq = name.find('='); eq != std::string::npos) {
      inlineValue = name.substr(eq + 1);
      name.resize(eq);
    }
    if (name == "help") {
      help_ = true;
      continue;
    }
    auto optionSpec = specs_.find(name);
    if (optionSpec == specs_.end()) throw UsageError("unknown option --" + name);
    if (optionSpec->second == OptionSpec::Flag) {
      if (inlineValue) throw UsageError("--" + name + " takes no value");
      given_[name].push_back("");
      continue;
    }
    std::string value;
    if (inlineValue) {
      value = *inlineValue;
    } else {
      if (i + 1 >= words.size()) throw UsageError("--" + name + " needs a value");
      value = words[++i];
    }
    auto& list = given_[name];
    if (optionSpec->second == OptionSpec::Value && !list.empty()) throw UsageError("--" + name + " is given twice");
    list.push_back(value);
  }
}

bool Args::flag(const std::string& name) const { return given_.count(name) != 0; }

std::optional<std::string> Args::value(const std::string& name) const {
  auto it = given_.find(name);
  if (it == given_.end() || it->second.empty()) return std::nullopt;
  return it->second.front();
}

std::vector<std::string> Args::values(const std::string& name) const {
  auto it = given_.find(name);
  return it == given_.end() ? std::vector<std::string>{} : it->second;
}

void Args::ExpectPositionals(std::size_t least, std::size_t most, const std::string& what) const {
  if (positionals_.size() < least) throw UsageError("missing " + what);
  if (positionals_.size() > most) throw UsageError("unexpected argument '" + positionals_[most] + "'");
}

std::string Args::Choice(const std::string& name, std::initializer_list<const char*> allowed,
                         const std::string& fallback) const {
  std::optional<std::string> given = value(name);
  if (!given) return fallback;
  std::string list;
  for (const char* word : allowed) {
    if (*given == word) return *given;
    list += (list.empty() ? "" : "|") + std::string(word);
  }
  throw UsageError("--" + name + " must be one of " + list + ", not '" + *given + "'");
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
