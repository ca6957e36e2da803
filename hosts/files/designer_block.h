// The designer block of a .frm, .ctl, .pag, .dob or .dsr file as a tree: one node per
// "Begin Library.Class Name" ... "End" block, holding its property lines, its "BeginProperty ...
// EndProperty" sub-blocks and its child controls in file order. Every line is kept as written,
// so an unchanged tree renders to the same lines; edits replace, add or remove whole lines only.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <vector>

#include "framework/host_model.h"
#include "framework/variant.h"
#include "hosts/files/text_file.h"

namespace files {

struct DesignerNode;

struct DesignerItem {
  enum class Kind { Property, PropertyBlock, Control, Other };
  Kind kind = Kind::Other;
  Text name;                              // Property, PropertyBlock: the property's name
  std::vector<Line> lines;                // Property, Other: one line; PropertyBlock: all of its lines
  std::shared_ptr<DesignerNode> control;  // Control
};

struct DesignerNode {
  Line begin;      // "   Begin VB.TextBox Text1 " (VB writes a blank after the name)
  Text library;    // "VB"; empty for a designer class written as a GUID
  Text className;  // "TextBox"
  Text name;       // "Text1"
  std::vector<DesignerItem> items;
  Line end;        // "   End"

  // The in-memory control this block stands for (none for the form itself and for designers the
  // in-memory IDE does not keep), and its property values as loaded or last saved, in the order
  // the control lists its properties (a font's members in its place): how many, and those that
  // differ from what a new control of the class reads (a form holds thousands of controls, each
  // with a few values of its own).
  host::Ref<host::VBControl> control;
  struct SavedValues {
    std::size_t count = 0;
    std::vector<std::pair<std::size_t, vb::Variant>> differing;  // by place, in order
  };
  std::optional<SavedValues> saved;
  // The node as loaded or last saved, kept from the first change that saving writes into it
  // until the file is saved: each rendering starts again from it (see RestoreDesigner). Only the
  // nodes that change are kept twice; their child blocks are shared, not copied.
  std::shared_ptr<const DesignerNode> pristine;

  Text Indent() const;  // the blanks before "Begin"
  // The first property line or block of that name among the node's own items.
  DesignerItem* FindProperty(TextView property);
};

// A syntax fault in a designer block; `line` counts from 1 in the file.
struct DesignerSyntaxError : std::runtime_error {
  DesignerSyntaxError(std::size_t lineNumber, const std::string& message)
      : std::runtime_error("line " + std::to_string(lineNumber) + ": " + message), line(lineNumber) {}
  std::size_t line;
};

// True for a line that opens a control block ("Begin VB.Form frmMain").
bool IsBeginLine(TextView text);
// Parses the block that starts at lines[pos] and leaves pos after its "End".
std::shared_ptr<DesignerNode> ParseDesigner(const std::vector<Line>& lines, std::size_t& pos);
// Hands each line of the block to `add`, in file order.
void RenderDesigner(const DesignerNode& node, const std::function<void(const Line&)>& add);
// Gives every line without a break, in file order, the break of the line before it; `previous`
// starts as the break of the line before the block and ends as that of its last line.
void FillLineEnds(DesignerNode& node, std::string& previous);
// Keeps the node as it is now, unless it was kept already, before a change is written into it.
void KeepPristine(DesignerNode& node);
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
