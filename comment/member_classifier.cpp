#include "comment/member_classifier.h"

#include <algorithm>
#include <initializer_list>

#include "comment/procedure_locator.h"

namespace comment {

namespace {

bool IsOneOf(TextView word, std::initializer_list<TextView> choices) {
  return std::find(choices.begin(), choices.end(), word) != choices.end();
}

// W(n), 1-based; a word that is not there reads as empty text.
Text Word(const std::vector<TextView>& words, std::size_t n) {
  return n >= 1 && n <= words.size() ? Text(words[n - 1]) : Text();
}

Text UpToParenthesis(const Text& word) {
  const std::int64_t paren = vb::InStr(word, u"(");
  return paren > 0 ? vb::Left(word, paren - 1) : word;
}

class Classifier {
 public:
  std::vector<MemberEntry> Run(const std::vector<Text>& lines) {
    for (std::size_t i = 0; i < lines.size(); ++i) Line(static_cast<long>(i + 1), vb::TrimView(lines[i]));
    return std::move(entries_);
  }

 private:
  void Line(long line, TextView s) {
    if (s.empty() || s.front() == u'\'') return;
    // No rule looks past the fourth word (or asks more than whether there is a second).
    const std::vector<TextView> w = FirstWords(s, u" ", 4);

    if (vb::Left(s, 3) == u"End") {
      if (IsOneOf(Word(w, 2), {u"Sub", u"Function", u"Property", u"Enum", u"Type"})) {
        block_.clear();
        return;
      }
      if (w.size() == 1) return;
      // Another word that starts with "End" (an element named EndTime...) goes on below.
    }

    const std::size_t k = IsOneOf(Word(w, 1), {u"Public", u"Private", u"Friend"}) ? 2 : 1;
    const Text keyword = Word(w, k);

    if (keyword == u"Sub") {
      Block(u"Sub", Add(UpToParenthesis(Word(w, k + 1)), line, MemberCategory::Subroutines));
    } else if (keyword == u"Function") {
      Block(u"Function", Add(UpToParenthesis(Word(w, k + 1)), line, MemberCategory::Functions));
    } else if (keyword == u"Enum") {
      Block(u"Enum", Add(Word(w, k + 1), line, MemberCategory::Enumerations));
    } else if (keyword == u"Type") {
      Block(u"Type", Add(Word(w, k + 1), line, MemberCategory::UserDefinedTypes));
    } else if (keyword == u"Event") {
      Add(UpToParenthesis(Word(w, k + 1)), line, MemberCategory::Events);
      block_ = u"Event";
    } else if (keyword == u"Property") {
      const Text text = UpToParenthesis(Word(w, k + 2)) + u" (Property " + Word(w, k + 1) + u")";
      Block(u"Property", Add(text, line, MemberCategory::Properties));
    } else if (k == 1 && keyword == u"Const") {
      Add(Word(w, 2), line, MemberCategory::Constants);
      block_ = u"Const";
    } else if (keyword == u"Dim" || k == 2) {
      Declaration(line, w);
    } else {
      InBlock(line, w);
    }
  }

  // A scoped line with no procedure keyword, or a Dim line.
  void Declaration(long line, const std::vector<TextView>& w) {
    if (InProcedure()) return;
    const Text second = Word(w, 2);
    if (second == u"Const") {
      Add(Word(w, 3), line, MemberCategory::Constants);
      block_ = u"Const";
    } else if (second == u"WithEvents") {
      Add(Word(w, 3), line, MemberCategory::SinkEventVariables);
      block_ = u"WithEvents";
    } else {
      Add(second, line, MemberCategory::ObjectVariables);
      block_ = u"Variable";
    }
  }

  // A line whose first word is no keyword: an element of a Type or Enum, or a line label.
  void InBlock(long line, const std::vector<TextView>& w) {
    const Text first = Word(w, 1);
    if (block_ == u"Type" || block_ == u"Enum") {
      AddChild(first, line);
    } else if (InProcedure()) {
      if (vb::EndsWith(first, u":") && vb::InStr(first, u"'") == 0) AddChild(first, line);
    }
  }

  bool InProcedure() const { return block_ == u"Sub" || block_ == u"Function" || block_ == u"Property"; }

  void Block(const char16_t* kind, int entry) {
    block_ = kind;
    currentParent_ = entry;
  }

  int Add(Text text, long line, MemberCategory category) {
    entries_.push_back(MemberEntry{std::move(text), line, category, -1});
    return static_cast<int>(entries_.size()) - 1;
  }

  void AddChild(Text text, long line) {
    MemberEntry entry{std::move(text), line, MemberCategory::Events, currentParent_};
    if (currentParent_ >= 0) entry.category = entries_[static_cast<std::size_t>(currentParent_)].category;
    entries_.push_back(std::move(entry));
  }

  std::vector<MemberEntry> entries_;
  Text block_;              // CurrentBlock
  int currentParent_ = -1;  // CurrentParent, as an index into entries_
};

}  // namespace

std::vector<MemberEntry> ClassifyMembers(const std::vector<Text>& lines) { return Classifier().Run(lines); }

}  // namespace comment
