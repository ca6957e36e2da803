#include "framework/conditional_compilation.h"

#include <algorithm>
#include <iterator>

#include "framework/vb_statements.h"

namespace vb {

namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == kTab || c == kCr || c == kLf; }

bool IsIdentifierChar(char16_t c) {
  return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'_' || c > 0x7F;
}

TextView SkipBlanks(TextView s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  return s;
}

// Takes `word` (any letter case, as a whole word) from the front of `s`.
bool TakeWord(TextView& s, TextView word) {
  if (s.size() < word.size() || !EqualsNoCase(s.substr(0, word.size()), word)) return false;
  if (s.size() > word.size() && IsIdentifierChar(s[word.size()])) return false;
  s = SkipBlanks(s.substr(word.size()));
  return true;
}

// A directive line as compared across modules: without its comment and continuation marks,
// blanks collapsed to one space, letters in one case.
Text Normalized(TextView statement) {
  Text out;
  for (TextView line : SplitLineViews(statement)) {
    if (ContinuesOnNextLine(line)) line = line.substr(0, line.find_last_of(u'_'));
    for (char16_t c : line.substr(0, StatementEnd(line))) {
      if (IsBlank(c)) {
        if (!out.empty() && out.back() != u' ') out += u' ';
      } else {
        out += (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - u'a' + u'A') : c;
      }
    }
    if (!out.empty() && out.back() != u' ') out += u' ';
  }
  while (!out.empty() && out.back() == u' ') out.pop_back();
  return out;
}

}  // namespace

Directive DirectiveOf(TextView line) {
  TextView t = SkipBlanks(line);
  if (t.empty() || t[0] != u'#') return Directive::None;
  t = SkipBlanks(t.substr(1));
  if (TakeWord(t, u"If")) return Directive::If;
  if (TakeWord(t, u"ElseIf")) return Directive::ElseIf;
  if (TakeWord(t, u"Else")) return Directive::Else;
  if (TakeWord(t, u"EndIf") || (TakeWord(t, u"End") && TakeWord(t, u"If"))) return Directive::EndIf;
  return Directive::None;
}

bool MayCompileTogether(const BranchConditions& a, const BranchConditions& b) {
  for (std::size_t level = 0; level < a.size() && level < b.size(); ++level) {
    if (a[level] == b[level]) continue;
    const std::vector<Text>& shorter = a[level].size() < b[level].size() ? a[level] : b[level];
    const std::vector<Text>& longer = a[level].size() < b[level].size() ? b[level] : a[level];
    // The shorter chain's last condition holds in its branch and fails in every later one.
    return !std::equal(shorter.begin(), shorter.end(), longer.begin());
  }
  return true;  // one stands inside the other's branch, or both in the same
}

Directive ConditionalBranches::Read(TextView statement, long lastLine) {
  const Directive directive = DirectiveOf(statement);
  const bool inBlock = current_ != kOutside;
  switch (directive) {
    case Directive::None: return directive;
    case Directive::If: {
      blocks_.push_back({current_, {}});
      blocks_.back().directives.emplace_back(statement);
      current_ = OpenBranch(static_cast<std::uint32_t>(blocks_.size() - 1), lastLine);
      return directive;
    }
    case Directive::ElseIf:
    case Directive::Else: {
      if (!inBlock) return Directive::None;
      const std::uint32_t block = branches_[current_].block;
      blocks_[block].directives.emplace_back(statement);
      current_ = OpenBranch(block, lastLine);
      return directive;
    }
    case Directive::EndIf: {
      if (!inBlock) return Directive::None;
      current_ = blocks_[branches_[current_].block].parent;
      starts_.emplace_back(lastLine + 1, current_);
      return directive;
    }
  }
  return directive;
}

std::uint32_t ConditionalBranches::OpenBranch(std::uint32_t block, long afterLine) {
  const auto branch = static_cast<std::uint32_t>(branches_.size());
  branches_.push_back({block, static_cast<std::uint32_t>(blocks_[block].directives.size() - 1)});
  starts_.emplace_back(afterLine + 1, branch);
  return branch;
}

std::uint32_t ConditionalBranches::BranchAt(long line) const {
  auto after = std::upper_bound(starts_.begin(), starts_.end(), line,
                                [](long l, const std::pair<long, std::uint32_t>& start) { return l < start.first; });
  return after == starts_.begin() ? kOutside : std::prev(after)->second;
}

std::vector<ConditionalBranches::Level> ConditionalBranches::Path(std::uint32_t branch) const {
  std::vector<Level> path;
  for (; branch != kOutside; branch = blocks_[branches_[branch].block].parent)
    path.push_back({branches_[branch].block, branches_[branch].index});
  std::reverse(path.begin(), path.end());
  return path;
}

TextView ConditionalBranches::DirectiveLine(const Level& level) const {
  return blocks_[level.block].directives[level.index];
}

BranchConditions ConditionalBranches::Conditions(std::uint32_t branch) const {
  BranchConditions conditions;
  for (const Level& level : Path(branch)) {
    std::vector<Text>& chain = conditions.emplace_back();
    for (std::uint32_t i = 0; i <= level.index; ++i) chain.push_back(Normalized(blocks_[level.block].directives[i]));
  }
  return conditions;
}

}  // namespace vb
