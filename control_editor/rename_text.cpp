#include "control_editor/rename_text.h"

#include "framework/vb_statements.h"

namespace ravlen {

namespace {

bool IsLetter(char16_t c) {
  if ((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z')) return true;
  // Latin-1 letters, which western code pages allow in names.
  return c == 0xAA || c == 0xB5 || c == 0xBA || (c >= 0xC0 && c <= 0xFF && c != 0xD7 && c != 0xF7);
}
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool IsNameChar(char16_t c) { return IsLetter(c) || IsDigit(c) || c == u'_'; }
bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

TextView TrimBlanks(TextView s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool StartsWithWord(TextView s, TextView word) {
  return s.size() >= word.size() && vb::EqualsNoCase(s.substr(0, word.size()), word) &&
         (s.size() == word.size() || !IsNameChar(s[word.size()]));
}

// A line's statements ([start, end) without the ":" after them) and where its comment starts
// ("'" outside a string, or a Rem statement); the line's length when it has none.
struct LineParts {
  std::vector<std::pair<std::size_t, std::size_t>> statements;
  std::size_t comment;
};

LineParts PartsOf(TextView line) {
  LineParts parts{{}, line.size()};
  for (std::size_t start = 0;;) {
    if (StartsWithWord(TrimBlanks(line.substr(start)), u"Rem")) {
      parts.comment = start;
      break;
    }
    const std::size_t end = vb::StatementEnd(line, start);
    parts.statements.emplace_back(start, end);
    if (end >= line.size()) break;
    if (line[end] == u'\'') {
      parts.comment = end;
      break;
    }
    start = end + 1;
  }
  return parts;
}

}  // namespace

Text OwnerOf(TextView identifier, const ControlNames& names) {
  if (names.count(Text(identifier))) return Text(identifier);
  for (std::size_t cut = identifier.rfind(u'_'); cut != TextView::npos && cut > 0;
       cut = identifier.rfind(u'_', cut - 1)) {
    Text prefix(identifier.substr(0, cut));
    if (names.count(prefix)) return prefix;
  }
  return {};
}

CodeRenamer::CodeRenamer(const RenameScope& scope) : scope_(scope), owners_(scope.controls) {
  owners_.insert(scope.oldName);
}

Text CodeRenamer::Line(TextView line) {
  const bool mentions = !scope_.oldName.empty() && line.find(scope_.oldName) != TextView::npos;
  Text out;
  const LineParts parts = PartsOf(line);
  // Each statement is renamed under the With blocks open before it, then may open or close one.
  for (std::size_t k = 0; k < parts.statements.size(); ++k) {
    const auto [start, end] = parts.statements[k];
    if (mentions) RenameIn(line, start, k + 1 < parts.statements.size() ? parts.statements[k + 1].first : parts.comment, out);
    Follow(line.substr(start, end - start));
  }
  if (!mentions) return Text(line);
  RenameIn(line, parts.comment, line.size(), out);
  return out;
}

void CodeRenamer::RenameIn(TextView line, std::size_t from, std::size_t to, Text& out) {
  const TextView oldName = scope_.oldName;
  std::size_t copied = from;
  for (std::size_t at = line.find(oldName, from); at != TextView::npos && at + oldName.size() <= to;
       at = line.find(oldName, at + 1)) {
    if (at < copied || !Refers(line, at)) continue;
    out.append(line.substr(copied, at - copied));
    out.append(scope_.newName);
    copied = at + oldName.size();
  }
  out.append(line.substr(copied, to - copied));
}

bool CodeRenamer::Refers(TextView line, std::size_t at) const {
  if (at > 0 && IsNameChar(line[at - 1])) return false;
  const std::size_t end = at + scope_.oldName.size();
  if (end < line.size() && (IsLetter(line[end]) || IsDigit(line[end]))) return false;
  if (end < line.size() && line[end] == u'_') {
    // An event procedure (Check1_Click) of this control, not of a control with a longer name.
    std::size_t last = end;
    while (last < line.size() && IsNameChar(line[last])) ++last;
    if (OwnerOf(line.substr(at, last - at), owners_).size() != scope_.oldName.size()) return false;
  }
  if (at == 0 || (line[at - 1] != u'.' && line[at - 1] != u'!')) return true;
  // A member: of this form (Me.Check1, Form2.Check1), of another object (frmOther.Check1,
  // udt.Check1, GetForm().Check1), or of the object of the With block around it (.Check1).
  const std::size_t dot = at - 1;
  if (dot > 0 && IsNameChar(line[dot - 1])) {
    std::size_t start = dot;
    while (start > 0 && IsNameChar(line[start - 1])) --start;
    return IsThisForm(line.substr(start, dot - start));
  }
  if (dot > 0 && (line[dot - 1] == u')' || line[dot - 1] == u']' || line[dot - 1] == u'"')) return false;
  return withOnForm_.empty() || withOnForm_.back();
}

bool CodeRenamer::IsThisForm(TextView object) const {
  return vb::EqualsNoCase(object, u"Me") || (!scope_.formName.empty() && vb::EqualsNoCase(object, scope_.formName));
}

void CodeRenamer::Follow(TextView statement) {
  TextView t = TrimBlanks(statement);
  if (StartsWithWord(t, u"With")) {
    withOnForm_.push_back(IsThisForm(TrimBlanks(t.substr(4))));
  } else if (StartsWithWord(t, u"End") && StartsWithWord(TrimBlanks(t.substr(3)), u"With")) {
    if (!withOnForm_.empty()) withOnForm_.pop_back();
  } else if (!vb::ProcedureEnd(t).empty()) {
    // With blocks never outlive their procedure, even in code that forgot an End With.
    withOnForm_.clear();
  }
}

}  // namespace ravlen
