// The comment text that the header and revision dialogs write above a procedure. Pure functions
// from their inputs to the block's text; lines joined by CR LF.
#pragma once

#include <vector>

#include "framework/vb_text.h"

namespace comment {

using vb::Text;
using vb::TextView;

// Column at which typed description and revision text is wrapped.
inline constexpr int kWrapColumn = 60;

// One typed line cut into pieces: while more than 60 characters remain, the piece ends before
// the first blank at or after position 60 (that blank is dropped); with no such blank the whole
// rest is one piece. The remainder is always the last piece, possibly empty.
std::vector<Text> WrapLine(TextView line);
// Typed text that may hold line breaks: every typed line wrapped by itself, the pieces in order.
// Empty text gives one empty piece.
std::vector<Text> WrapTypedText(TextView text);

// What a procedure's declaration says for the header.
struct DeclarationParts {
  Text returnValue;     // "VOID", "As <type>" or "Variant"
  Text parameterLines;  // "'" TAB TAB + parameter, one per line, no break after the last
};
// Reads a declaration already joined onto one line.
DeclarationParts ParseDeclarationText(TextView declaration);

struct FunctionHeader {
  Text methodName;
  Text scope;      // "Public", "Private", "Friend" or ""
  Text author;
  Text timestamp;  // "mm/dd/yyyy hh:mm:ss"
  DeclarationParts declaration;
  Text description;  // as typed, line breaks included
};
// The whole header block, ending with its closing line of stars (no break after it).
Text BuildFunctionHeader(const FunctionHeader& header);

// The line that the revision search looks for.
inline constexpr char16_t kEndRevisionsMarker[] = u"' END REVISIONS:";

// A revision entry: the signature line ("'" TAB TAB author " - " timestamp), then the revision
// text wrapped with "' " and three tabs; no break after the last line.
Text BuildRevisionEntry(TextView author, TextView timestamp, TextView revisionText);

}  // namespace comment
