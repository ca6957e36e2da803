// The designer block of a .frm, .ctl, .pag, .dob or .dsr file as a tree: one node per
// "Begin Library.Class Name" ... "End" block, holding its property lines, its "BeginProperty ...
// EndProperty" sub-blocks and its child controls in file order. Every line is kept as written,
// so an unchanged tree renders to the same lines; edits replace, add or remove whole lines only.
// A form holds thousands of controls: their lines stay pieces of the file's bytes, decoded when a
// command reads them, until the designer writes into them.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "framework/host_model.h"
#include "framework/variant.h"
#include "hosts/files/text_file.h"
#include "hosts/memory/shared_bytes.h"

namespace files {

struct DesignerNode;

struct DesignerItem {
  // Lines: lines as read that nothing looked into yet (property lines, property blocks and other
  // lines, one after the other), split into items of the other kinds before a change.
  enum class Kind { Property, PropertyBlock, Control, Other, Lines };
  Kind kind = Kind::Other;
  // Property, PropertyBlock, Other, Lines: its lines as read, each with its line end, in the
  // file's bytes; or, once written or new, `lines` of its own (and `bytes` empty). One line but a
  // block's.
  std::string_view bytes;
  std::vector<Line> lines;
  std::shared_ptr<DesignerNode> control;  // Control
};

struct DesignerNode {
  // The block's first and last lines, "   Begin VB.TextBox Text1 " (VB writes a blank after the
  // name) and "   End": as read, each with its line end, in the file's bytes; once written or
  // new, `written` (shared by copies of the node, and replaced, never changed).
  std::string_view beginBytes, endBytes;
  struct Ends {
    Line begin, end;
  };
  std::shared_ptr<const Ends> written;
  Text className;  // "TextBox"
  Text name;       // "Text1"
  std::vector<DesignerItem> items;
  int codePage = 1252;  // of the bytes the items' lines are in

  // The in-memory control this block stands for (none for the form itself and for designers the
  // in-memory IDE does not keep).
  host::Ref<host::VBControl> control;
  // The node as loaded or last saved, kept from the first change that saving writes into it
  // until the file is saved: each rendering starts again from it (see RestoreDesigner). Only the
  // nodes that change are kept twice; their child blocks are shared, not copied.
  std::shared_ptr<const DesignerNode> pristine;
  // When saving only appended new blocks to the node: how many items it had before (a form that
  // gains a control is not kept twice for it).
  std::optional<std::size_t> itemsBeforeAppending;

  Line Begin() const;  // the first line, decoded
  Line End() const;
  void SetEnds(Line begin, Line end);  // writes both
  Text Indent() const;  // the blanks before "Begin"
  Text Library() const;  // "VB"; empty for a designer class written as a GUID
  // Splits the node's runs of lines as read into their property lines, blocks and other lines.
  void SplitLines();
  // The first property line or block of that name among the node's own items (split first).
  DesignerItem* FindProperty(TextView property);
  // An item's lines, decoded.
  std::vector<Line> LinesOf(const DesignerItem& item) const;
  // An item's lines to write into: its own from now on.
  std::vector<Line>& Edit(DesignerItem& item) const;
  // The name of a property line or block ("Caption", "Font").
  Text NameOf(const DesignerItem& item) const;
};

// A syntax fault in a designer block; `line` counts from 1 in the file.
struct DesignerSyntaxError : std::runtime_error {
  DesignerSyntaxError(std::size_t lineNumber, const std::string& message)
      : std::runtime_error("line " + std::to_string(lineNumber) + ": " + message), line(lineNumber) {}
  std::size_t line;
};

// True for a line that opens a control block ("Begin VB.Form frmMain").
bool IsBeginLine(TextView text);
// The same tests on a line's bytes, blanks trimmed: the words they look for are ASCII, which
// every supported code page writes as itself.
inline bool IsBlankByte(char c) { return c == ' ' || c == '\t'; }
std::string_view TrimBlankBytes(std::string_view line);
// The first `most` words of a line's bytes, split at blanks.
std::vector<std::string_view> WordBytes(std::string_view s, std::size_t most);
bool StartsWordBytes(std::string_view trimmed, std::string_view word);
bool IsBeginBytes(std::string_view trimmed);
// The items of lines as read (a Lines item's bytes): a property line, a property block or another line each.
std::vector<DesignerItem> ItemsOfLines(std::string_view bytes);
// Parses the block that starts at `begin` in `bytes` (at line `lineNumber` of the file) and ends
// by `end`; the tree keeps the bytes (the root shares their ownership).
std::shared_ptr<DesignerNode> ParseDesigner(const memhost::SharedBytes& bytes, std::size_t begin, std::size_t end,
                                            int codePage, std::size_t lineNumber);
// Where rendering hands the lines of a block, in file order: a line as read in the file's bytes,
// or one the designer wrote.
struct DesignerSink {
  std::function<void(std::string_view bytes, std::string_view eol)> asRead;
  std::function<void(TextView text, std::string_view eol)> written;
};
void RenderDesigner(const DesignerNode& node, const DesignerSink& add);
// Gives every line without a break, in file order, the break of the line before it; `previous`
// starts as the break of the line before the block and ends as that of its last line.
void FillLineEnds(DesignerNode& node, std::string& previous);
// Keeps the node as it is now, unless it was kept already, before a change is written into it.
void KeepPristine(DesignerNode& node);
// Appends a new control's block, keeping no more of the node than how many items it had.
void AppendControl(DesignerNode& node, std::shared_ptr<DesignerNode> control);
// Puts every node of the tree back as it was kept: the tree as loaded or last saved.
void RestoreDesigner(DesignerNode& node);
// Makes the tree as it is now the one that later renderings start from (after it was saved).
void CommitDesigner(DesignerNode& node);
// Every control node below `node`, depth first in file order.
void CollectControls(const DesignerNode& node, std::vector<std::shared_ptr<DesignerNode>>& out);

// ---- property lines ----------------------------------------------------------------------------

// "   Caption         =   "OK"": the name before "=" and the value text after the blanks.
Text PropertyNameOf(TextView line);
Text ValueTextOf(TextView line);
// Keeps everything up to the value (indent, name, "=", the blanks after it) and puts `value`.
void ReplaceValue(Line& line, TextView value);
// A new property line as VB writes one: the name padded to 16 places, "=", three blanks, value.
Text PropertyLine(TextView indent, TextView name, TextView value);

// Reads a written value: a quoted text (doubled quotes undone), a number (decimal, &H hex, the
// "'True" comments dropped) or a bare word as text. nullopt for values kept in the .frx file
// ($"form.frx":0012, "form.frx":0000), which stay as written.
std::optional<vb::Variant> ParseValue(TextView valueText);
// A text as VB writes it in a designer block: quoted, inner quotes doubled.
Text QuoteText(TextView text);

}  // namespace files
