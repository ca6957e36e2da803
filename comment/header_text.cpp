#include "comment/header_text.h"

#include "framework/vb_statements.h"

namespace comment {

namespace {

const Text kStarLine = u"' " + Text(50, u'*');
const Text kDescriptionPrefix = u"' \t";
const Text kRevisionTextPrefix = u"' \t\t\t";
const Text kParameterPrefix = u"'\t\t";

// Every piece of the typed text behind the prefix, each on its own line, no break after the last.
Text PrefixedLines(TextView prefix, TextView typed) {
  Text out;
  bool first = true;
  for (const Text& piece : WrapTypedText(typed)) {
    if (!first) out += vb::kCrLf;
    first = false;
    out += prefix;
    out += piece;
  }
  return out;
}

}  // namespace

std::vector<Text> WrapLine(TextView line) {
  std::vector<Text> pieces;
  Text rest(line);
  while (static_cast<long>(rest.size()) > kWrapColumn) {
    const std::int64_t blank = vb::InStr(kWrapColumn, rest, u" ");
    if (blank > 0) {
      pieces.push_back(vb::Left(rest, blank - 1));
      rest = vb::Mid(rest, blank + 1);
    } else {
      pieces.push_back(rest);
      rest.clear();
    }
  }
  pieces.push_back(rest);
  return pieces;
}

std::vector<Text> WrapTypedText(TextView text) {
  std::vector<Text> pieces;
  std::vector<Text> typedLines = vb::SplitLines(text);
  if (typedLines.empty()) typedLines.emplace_back();
  for (const Text& typed : typedLines) {
    std::vector<Text> wrapped = WrapLine(typed);
    pieces.insert(pieces.end(), wrapped.begin(), wrapped.end());
  }
  return pieces;
}

DeclarationParts ParseDeclarationText(TextView declaration) {
  // Only the declaration statement: not a one-line procedure's ": End Sub", not a comment.
  const Text d(vb::Trim(declaration.substr(0, vb::StatementEnd(declaration))));
  const std::size_t open = d.find(u'(');
  const std::size_t close = open == Text::npos ? Text::npos : vb::ClosingParenthesis(d, open);

  DeclarationParts parts;
  if (vb::InStr(d, u"Sub") > 0) {
    parts.returnValue = u"VOID";
  } else {
    // What follows the parameter list; without one there is no As clause to read.
    const Text tail = close != Text::npos ? vb::Trim(d.substr(close)) : Text();
    const std::int64_t as = vb::InStr(tail, u" As ");
    parts.returnValue = as > 0 ? vb::Trim(vb::Mid(tail, as + 1)) : Text(u"Variant");
  }

  // Parameters split at the commas between them, not at those inside a string or parentheses.
  std::vector<Text> parameters = close != Text::npos ? vb::SplitList(d.substr(open + 1, close - open - 1))
                                                     : std::vector<Text>{};
  if (parameters.empty()) parameters.emplace_back();
  for (std::size_t i = 0; i < parameters.size(); ++i) {
    if (i > 0) parts.parameterLines += vb::kCrLf;
    parts.parameterLines += kParameterPrefix + vb::Trim(parameters[i]);
  }
  return parts;
}

Text BuildFunctionHeader(const FunctionHeader& h) {
  const Text& nl = vb::kCrLf;
  Text block;
  block += kStarLine + nl;
  block += u"' Method Name: " + h.methodName + nl;
  block += u"' Method Scope: " + h.scope + nl;
  block += u"' Author: " + h.author + nl;
  block += u"' Date: " + h.timestamp + nl;
  block += u"' Parameters: " + nl;
  block += h.declaration.parameterLines + nl;
  block += u"' Return Value: " + h.declaration.returnValue + nl;
  block += u"' Description: " + nl;
  block += PrefixedLines(kDescriptionPrefix, h.description) + nl;
  block += u"' REVISIONS:" + nl;
  block += Text(kEndRevisionsMarker) + nl;
  block += kStarLine;
  return block;
}

Text BuildRevisionEntry(TextView author, TextView timestamp, TextView revisionText) {
  Text entry = u"'\t\t" + Text(author) + u" - " + Text(timestamp) + vb::kCrLf;
  entry += PrefixedLines(kRevisionTextPrefix, revisionText);
  return entry;
}

}  // namespace comment
