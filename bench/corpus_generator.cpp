// Writes VB6 files in the shapes real projects have, the same bytes for the same seed: a whole
// project of modules, classes, forms and user controls for the throughput figures, and single
// modules grown to a chosen size for the linearity figures. Files are Windows-1252 with CR LF.
//
//   corpus_generator corpus DIR [--bytes N] [--seed S]     a project (DIR/Corpus.vbp) of about N bytes
//   corpus_generator module FILE --lines N                  ordinary procedures, a header near the end
//   corpus_generator form FILE --controls N [--lines N]     a form with N controls and their event code
//   corpus_generator rename-form FILE --lines N             txtName named on every code line
//   corpus_generator remove-form FILE --procedures N        cmdGo with N event procedures
//   corpus_generator interface DIR --members N              DIR/Iface.vbp: IWide (N members) and clsTarget
//   corpus_generator long-line FILE --chars N               one statement line of N characters
//   corpus_generator declarations FILE --count N            N module-level variables, then two procedures
//   corpus_generator continuations FILE --count N           N continued lines in one procedure
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// splitmix64: small, fast and the same on every platform (std distributions are not).
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint64_t>(n)); }
  bool Chance(int percent) { return Below(100) < percent; }
  template <class T>
  const T& Pick(const std::vector<T>& items) {
    return items[static_cast<std::size_t>(Below(static_cast<int>(items.size())))];
  }

 private:
  std::uint64_t state_;
};

const std::string kCrLf = "\r\n";

// Words for names and comments; the accented ones are Windows-1252 bytes.
const std::vector<std::string> kNouns = {"Stock", "Order", "Customer", "Invoice", "Price", "Amount", "Item",
                                         "Line",  "Total", "Tax",      "Rate",    "Date",  "Name",   "Code",
                                         "Count", "Unit",  "Supplier", "Account", "Balance", "Record"};
const std::vector<std::string> kVerbs = {"Load", "Save", "Check", "Update", "Find", "Print", "Build", "Read",
                                         "Write", "Format", "Compute", "Refresh", "Validate", "Post"};
const std::vector<std::string> kComments = {
    "Reads the value from the grid before it is saved",
    "Pr\xFC" "fung der Eingabe \x96 Gr\xF6\xDF" "e und Format",
    "Montant en \x80, arrondi au centime",
    "Don\x92t touch: the report depends on this order",
    "TODO: move to the data layer",
    "Keep in step with the stored procedure",
    "Valeur par d\xE9" "faut si le champ est vide",
    "Fix for the rounding fault of 2003"};
const std::vector<std::string> kTypes = {"Long", "String", "Integer", "Currency", "Double", "Boolean", "Date", "Variant"};

class Writer {
 public:
  void Line(const std::string& text) {
    out_ += text;
    out_ += kCrLf;
    ++lines_;
  }
  void Lines(const Writer& other) {
    out_ += other.out_;
    lines_ += other.lines_;
  }
  const std::string& text() const { return out_; }
  std::size_t size() const { return out_.size(); }
  int lines() const { return lines_; }

 private:
  std::string out_;
  int lines_ = 0;
};

void Save(const fs::path& path, const std::string& bytes) {
  if (path.has_parent_path()) fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) {
    std::cerr << "cannot write " << path << "\n";
    std::exit(2);
  }
}

std::string Noun(Random& r) { return r.Pick(kNouns); }

// One statement of a procedure body, sometimes over several lines, sometimes with a comment.
void BodyStatement(Random& r, Writer& w, const std::string& indent) {
  const std::string a = "l" + Noun(r), b = "m" + Noun(r);
  switch (r.Below(12)) {
    case 0: w.Line(indent + "' " + r.Pick(kComments)); break;
    case 1: w.Line(""); break;
    case 2: w.Line(indent + a + " = " + b + " * 1.19 ' " + r.Pick(kComments)); break;
    case 3:
      w.Line(indent + "If " + a + " > " + std::to_string(r.Below(1000)) + " Then");
      w.Line(indent + "    " + b + " = " + a + " - 1");
      w.Line(indent + "Else");
      w.Line(indent + "    " + b + " = 0");
      w.Line(indent + "End If");
      break;
    case 4:
      w.Line(indent + "For i = 1 To " + std::to_string(1 + r.Below(50)));
      w.Line(indent + "    " + a + " = " + a + " + Cells(i, " + std::to_string(1 + r.Below(9)) + ")");
      w.Line(indent + "Next i");
      break;
    case 5:
      w.Line(indent + "sSql = \"SELECT " + Noun(r) + "ID, " + Noun(r) + " FROM tbl" + Noun(r) + " \" & _");
      w.Line(indent + "       \"WHERE " + Noun(r) + " = '\" & " + a + " & \"' \" & _");
      w.Line(indent + "       \"ORDER BY " + Noun(r) + "\"");
      break;
    case 6: w.Line(indent + "Call " + r.Pick(kVerbs) + Noun(r) + "(" + a + ", " + b + ")"); break;
    case 7: w.Line(indent + "Rem " + r.Pick(kComments)); break;
    case 8:
      w.Line(indent + "Select Case " + a);
      w.Line(indent + "Case 1, 2: " + b + " = \"Caf\xE9\"");
      w.Line(indent + "Case Else: " + b + " = \"\"");
      w.Line(indent + "End Select");
      break;
    case 9: w.Line(indent + "Debug.Print \"" + Noun(r) + ": \"; " + a); break;
    default: w.Line(indent + a + " = Trim$(" + b + ") & \"" + Noun(r) + "\""); break;
  }
}

// A procedure of about `lines` lines; returns its name.
std::string Procedure(Random& r, Writer& w, int lines, const std::string& name = {}) {
  const std::string verb = r.Pick(kVerbs), noun = Noun(r);
  const std::string procName = name.empty() ? verb + noun + std::to_string(r.Below(100000)) : name;
  const bool isFunction = r.Chance(40);
  const std::string scope = r.Chance(60) ? "Private " : (r.Chance(70) ? "Public " : "");
  if (r.Chance(25)) w.Line("' " + r.Pick(kComments));
  if (r.Chance(20)) {
    w.Line(scope + (isFunction ? "Function " : "Sub ") + procName + "(ByVal l" + noun + " As Long, _");
    w.Line("        Optional ByVal s" + Noun(r) + " As String = \"\")" + (isFunction ? " As " + r.Pick(kTypes) : ""));
  } else {
    w.Line(scope + (isFunction ? "Function " : "Sub ") + procName + "(ByVal l" + noun + " As Long)" +
           (isFunction ? " As " + r.Pick(kTypes) : ""));
  }
  w.Line("    Dim l" + Noun(r) + " As Long, m" + Noun(r) + " As " + r.Pick(kTypes));
  if (r.Chance(50)) w.Line("    On Error GoTo ErrHandler");
  w.Line("");
  for (const int end = w.lines() + lines - 5; w.lines() < end;) BodyStatement(r, w, "    ");
  w.Line(std::string("End ") + (isFunction ? "Function" : "Sub"));
  w.Line("");
  return procName;
}

void Declarations(Random& r, Writer& w, int count) {
  w.Line("Option Explicit");
  w.Line("");
  w.Line("' " + r.Pick(kComments));
  for (int i = 0; i < count; ++i) {
    switch (r.Below(6)) {
      case 0: w.Line("Private Const c" + Noun(r) + std::to_string(i) + " As Long = " + std::to_string(r.Below(9999))); break;
      case 1: w.Line("Public g" + Noun(r) + std::to_string(i) + " As " + r.Pick(kTypes)); break;
      case 2:
        w.Line("Private Declare Function Get" + Noun(r) + std::to_string(i) + " Lib \"kernel32\" _");
        w.Line("    (ByVal hWnd As Long, ByVal nIndex As Long) As Long");
        break;
      case 3:
        w.Line("Private Type T" + Noun(r) + std::to_string(i));
        w.Line("    " + Noun(r) + "ID As Long");
        w.Line("    " + Noun(r) + " As String * 40");
        w.Line("End Type");
        break;
      default: w.Line("Private m" + Noun(r) + std::to_string(i) + " As " + r.Pick(kTypes)); break;
    }
  }
  w.Line("");
}

std::string BasModule(Random& r, const std::string& name, std::size_t bytes) {
  Writer w;
  w.Line("Attribute VB_Name = \"" + name + "\"");
  Declarations(r, w, 3 + r.Below(20));
  while (w.size() < bytes) Procedure(r, w, 6 + r.Below(60));
  return w.text();
}

std::string ClassModule(Random& r, const std::string& name, std::size_t bytes) {
  Writer w;
  w.Line("VERSION 1.0 CLASS");
  w.Line("BEGIN");
  w.Line("  MultiUse = -1  'True");
  w.Line("  Persistable = 0  'NotPersistable");
  w.Line("  DataBindingBehavior = 0  'vbNone");
  w.Line("  DataSourceBehavior  = 0  'vbNone");
  w.Line("  MTSTransactionMode  = 0  'NotAnMTSObject");
  w.Line("END");
  w.Line("Attribute VB_Name = \"" + name + "\"");
  w.Line("Attribute VB_GlobalNameSpace = False");
  w.Line("Attribute VB_Creatable = True");
  w.Line("Attribute VB_PredeclaredId = False");
  w.Line("Attribute VB_Exposed = False");
  Declarations(r, w, 2 + r.Below(8));
  w.Line("Private WithEvents mTimer As Timer");
  w.Line("Attribute mTimer.VB_VarHelpID = -1");
  w.Line("");
  int property = 0;
  while (w.size() < bytes) {
    if (r.Chance(40)) {
      const std::string p = Noun(r) + std::to_string(property++), type = r.Pick(kTypes);
      w.Line("Public Property Get " + p + "() As " + type);
      if (property == 1) w.Line("Attribute " + p + ".VB_UserMemId = 0");
      w.Line("    " + p + " = m" + p);
      w.Line("End Property");
      w.Line("");
      w.Line("Public Property Let " + p + "(ByVal vNewValue As " + type + ")");
      w.Line("    m" + p + " = vNewValue");
      w.Line("End Property");
      w.Line("");
    } else {
      Procedure(r, w, 6 + r.Below(40));
    }
  }
  return w.text();
}

struct ControlKind {
  std::string cls, prefix, events;
};
const std::vector<ControlKind> kControls = {
    {"TextBox", "txt", "Change"}, {"Label", "lbl", "Click"},    {"CommandButton", "cmd", "Click"},
    {"CheckBox", "chk", "Click"}, {"ComboBox", "cbo", "Click"}, {"ListBox", "lst", "DblClick"},
    {"OptionButton", "opt", "Click"}, {"Timer", "tmr", "Timer"}, {"PictureBox", "pic", "Paint"}};

// One control block (and, for a frame, its children); names the control in `names`.
void ControlBlock(Random& r, Writer& w, const std::string& indent, const ControlKind& kind, const std::string& name,
                  int index, int tab) {
  w.Line(indent + "Begin VB." + kind.cls + " " + name + " ");
  const std::string p = indent + "   ";
  if (kind.cls != "Timer" && kind.cls != "TextBox" && kind.cls != "ComboBox" && kind.cls != "ListBox" &&
      kind.cls != "PictureBox")
    w.Line(p + "Caption         =   \"" + Noun(r) + (r.Chance(20) ? " \x96 Caf\xE9" : "") + "\"");
  if (kind.cls == "Timer") {
    w.Line(p + "Interval        =   " + std::to_string(100 * (1 + r.Below(50))));
  } else {
    if (r.Chance(30)) {
      w.Line(p + "BeginProperty Font ");
      w.Line(p + "   Name            =   \"Tahoma\"");
      w.Line(p + "   Size            =   8.25");
      w.Line(p + "   Charset         =   0");
      w.Line(p + "   Weight          =   " + std::string(r.Chance(30) ? "700" : "400"));
      w.Line(p + "   Underline       =   0   'False");
      w.Line(p + "   Italic          =   0   'False");
      w.Line(p + "   Strikethrough   =   0   'False");
      w.Line(p + "EndProperty");
    }
    w.Line(p + "Height          =   " + std::to_string(255 + r.Below(400)));
  }
  if (index >= 0) w.Line(p + "Index           =   " + std::to_string(index));
  w.Line(p + "Left            =   " + std::to_string(120 + 15 * r.Below(400)));
  if (kind.cls != "Timer") w.Line(p + "TabIndex        =   " + std::to_string(tab));
  if (kind.cls == "TextBox") w.Line(p + "Text            =   \"\"");
  w.Line(p + "Top             =   " + std::to_string(120 + 15 * r.Below(300)));
  if (kind.cls != "Timer") w.Line(p + "Width           =   " + std::to_string(600 + 15 * r.Below(200)));
  w.Line(indent + "End");
}

struct FormShape {
  std::string name;
  bool userControl = false;
  int controls = 0;
  std::size_t codeBytes = 0;  // grows the code until the file holds this many bytes
  int codeLines = 0;          // or this many lines of procedures
};

std::string Form(Random& r, const FormShape& shape) {
  Writer w;
  w.Line("VERSION 5.00");
  w.Line("Object = \"{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0\"; \"MSCOMCTL.OCX\"");
  const std::string kind = shape.userControl ? "UserControl" : "Form";
  w.Line("Begin VB." + kind + " " + shape.name + " ");
  w.Line("   BorderStyle     =   3  'Fixed Dialog");
  w.Line("   Caption         =   \"" + Noun(r) + " \x96 \xC9" "dition\"");
  w.Line("   ClientHeight    =   " + std::to_string(3000 + r.Below(6000)));
  w.Line("   ClientLeft      =   45");
  w.Line("   ClientTop       =   330");
  w.Line("   ClientWidth     =   " + std::to_string(4000 + r.Below(8000)));
  if (!shape.userControl) w.Line("   Icon            =   \"" + shape.name + ".frx\":0000");
  w.Line("   ScaleHeight     =   4215");
  w.Line("   ScaleWidth      =   6495");
  if (!shape.userControl) w.Line("   StartUpPosition =   2  'CenterScreen");
  std::vector<std::pair<std::string, std::string>> handlers;  // control name, event
  for (int i = 0; i < shape.controls;) {
    const ControlKind& k = r.Pick(kControls);
    const std::string name = k.prefix + Noun(r) + std::to_string(i);
    if (r.Chance(10) && i + 3 <= shape.controls) {
      // A frame with a control array inside.
      w.Line("   Begin VB.Frame fra" + Noun(r) + std::to_string(i) + " ");
      w.Line("      Caption         =   \"" + Noun(r) + "\"");
      w.Line("      Height          =   1335");
      w.Line("      Left            =   120");
      w.Line("      TabIndex        =   " + std::to_string(i));
      w.Line("      Top             =   2280");
      w.Line("      Width           =   2895");
      for (int e = 0; e < 2; ++e) ControlBlock(r, w, "      ", kControls[6], "optKind" + std::to_string(i), e, i + e + 1);
      w.Line("   End");
      handlers.emplace_back("optKind" + std::to_string(i), "Click(Index As Integer)");
      i += 3;
      continue;
    }
    ControlBlock(r, w, "   ", k, name, -1, i);
    handlers.emplace_back(name, k.events + "()");
    ++i;
  }
  w.Line("End");
  w.Line("Attribute VB_Name = \"" + shape.name + "\"");
  w.Line("Attribute VB_GlobalNameSpace = False");
  w.Line("Attribute VB_Creatable = " + std::string(shape.userControl ? "True" : "False"));
  w.Line("Attribute VB_PredeclaredId = " + std::string(shape.userControl ? "False" : "True"));
  w.Line("Attribute VB_Exposed = False");
  Declarations(r, w, 2 + r.Below(6));
  const std::size_t codeStart = w.size();
  int lines = 0;
  for (std::size_t h = 0; (shape.codeBytes && w.size() - codeStart < shape.codeBytes) ||
                          (shape.codeLines && lines < shape.codeLines) || h < handlers.size();
       ++h) {
    const int before = w.lines();
    if (h < handlers.size()) {
      w.Line("Private Sub " + handlers[h].first + "_" + handlers[h].second);
      for (int s = r.Below(8); s >= 0; --s) BodyStatement(r, w, "    ");
      w.Line("End Sub");
      w.Line("");
    } else {
      Procedure(r, w, 8 + r.Below(50));
    }
    lines += w.lines() - before;
  }
  return w.text();
}

// ---- the project corpus -----------------------------------------------------------------------

void Corpus(const fs::path& dir, std::size_t bytes, std::uint64_t seed) {
  Random r(seed);
  fs::create_directories(dir);
  std::string vbp = "Type=Exe\r\nReference=*\\G{00020430-0000-0000-C000-000000000046}#2.0#0#..\\..\\WINDOWS\\system32\\stdole2.tlb#OLE Automation\r\n";
  std::size_t total = 0;
  for (int n = 1; total < bytes; ++n) {
    // Mostly small and middle-sized files, now and then a big one, as in real projects.
    std::size_t size = 4000 + static_cast<std::size_t>(r.Below(60000));
    if (r.Chance(5)) size = 150000 + static_cast<std::size_t>(r.Below(250000));
    const int kind = r.Below(100);
    std::string name, file, text;
    if (kind < 45) {
      name = "mod" + Noun(r) + std::to_string(n);
      file = name + ".bas";
      text = BasModule(r, name, size);
      vbp += "Module=" + name + "; " + file + "\r\n";
    } else if (kind < 70) {
      name = "cls" + Noun(r) + std::to_string(n);
      file = name + ".cls";
      text = ClassModule(r, name, size);
      vbp += "Class=" + name + "; " + file + "\r\n";
    } else {
      const bool userControl = kind >= 95;
      name = (userControl ? "ctl" : "frm") + Noun(r) + std::to_string(n);
      file = name + (userControl ? ".ctl" : ".frm");
      text = Form(r, FormShape{name, userControl, 5 + r.Below(60), size / 2, 0});
      vbp += (userControl ? "UserControl=" : "Form=") + file + "\r\n";
    }
    Save(dir / file, text);
    total += text.size();
  }
  vbp += "Startup=\"Sub Main\"\r\nTitle=\"Corpus\"\r\nName=\"Corpus\"\r\nCompatibleMode=\"0\"\r\nMajorVer=1\r\n";
  Save(dir / "Corpus.vbp", vbp);
}

// ---- single modules for the linearity figures ---------------------------------------------------

// The attribute lines VB writes after a form's designer block.
void FormAttributes(Writer& w, const std::string& name) {
  w.Line("Attribute VB_Name = \"" + name + "\"");
  w.Line("Attribute VB_GlobalNameSpace = False");
  w.Line("Attribute VB_Creatable = False");
  w.Line("Attribute VB_PredeclaredId = True");
  w.Line("Attribute VB_Exposed = False");
}

Writer HeaderBlock(const std::string& name) {
  Writer w;
  w.Line("' **************************************************");
  w.Line("' Method Name: " + name);
  w.Line("' Method Scope: Public");
  w.Line("' Author: ANN");
  w.Line("' Date: 03/14/2004 10:12:00");
  w.Line("' Parameters: ");
  w.Line("'\t\tByVal lStock As Long");
  w.Line("' Return Value: VOID");
  w.Line("' Description: ");
  w.Line("' \tKeeps the stock.");
  w.Line("' REVISIONS:");
  w.Line("' END REVISIONS:");
  w.Line("' **************************************************");
  return w;
}

std::string LongModule(Random& r, int lines) {
  Writer w;
  w.Line("Attribute VB_Name = \"modLong\"");
  Declarations(r, w, 20);
  // Code lines: every line but the Attribute line.
  auto count = [&] { return w.lines() - 1; };
  while (count() < lines - 120) Procedure(r, w, 8 + r.Below(50));
  // The procedure near the end carries a header, for the revision command.
  w.Lines(HeaderBlock("KeepStock"));
  w.Line("Public Sub KeepStock(ByVal lStock As Long)");
  while (count() < lines - 1) w.Line("    lStock = lStock + 1");
  w.Line("End Sub");
  return w.text();
}

std::string RenameForm(Random& r, int lines) {
  Writer w;
  w.Line("VERSION 5.00");
  w.Line("Begin VB.Form frmRename ");
  w.Line("   Caption         =   \"Rename\"");
  w.Line("   ClientHeight    =   3000");
  w.Line("   ClientWidth     =   4000");
  w.Line("   Begin VB.TextBox txtName ");
  w.Line("      Height          =   285");
  w.Line("      Left            =   120");
  w.Line("      TabIndex        =   0");
  w.Line("      Top             =   120");
  w.Line("      Width           =   2000");
  w.Line("   End");
  w.Line("End");
  FormAttributes(w, "frmRename");
  w.Line("Option Explicit ' txtName");
  for (int written = 1, p = 0; written < lines; ++p) {
    w.Line("Private Sub txtName_Event" + std::to_string(p) + "() ' txtName");
    int body = std::min(20 + r.Below(20), lines - written - 2);
    for (int i = 0; i < body; ++i) w.Line("    txtName.Text = txtName.Text & \"" + Noun(r) + "\"");
    w.Line("End Sub ' txtName");
    written += body + 2;
  }
  return w.text();
}

std::string RemoveForm(Random& r, int procedures) {
  Writer w;
  w.Line("VERSION 5.00");
  w.Line("Begin VB.Form frmRemove ");
  w.Line("   Caption         =   \"Remove\"");
  w.Line("   ClientHeight    =   3000");
  w.Line("   ClientWidth     =   4000");
  w.Line("   Begin VB.CommandButton cmdGo ");
  w.Line("      Caption         =   \"Go\"");
  w.Line("      Height          =   375");
  w.Line("      Left            =   120");
  w.Line("      TabIndex        =   0");
  w.Line("      Top             =   120");
  w.Line("      Width           =   1200");
  w.Line("   End");
  w.Line("End");
  FormAttributes(w, "frmRemove");
  w.Line("Option Explicit");
  w.Line("");
  for (int p = 0; p < procedures; ++p) {
    // Each event procedure of the control sits among the form's other code.
    w.Line("Private Sub cmdGo_Event" + std::to_string(p) + "()");
    for (int i = 0; i < 30; ++i) BodyStatement(r, w, "    ");
    w.Line("End Sub");
    w.Line("");
    Procedure(r, w, 25);
  }
  return w.text();
}

// A form whose controls are the elements of one TextBox array (a grid of entry fields), with its
// event procedures and code that reads the elements.
std::string ArrayForm(Random& r, int elements) {
  Writer w;
  w.Line("VERSION 5.00");
  w.Line("Begin VB.Form frmGrid ");
  w.Line("   Caption         =   \"Grid\"");
  w.Line("   ClientHeight    =   9000");
  w.Line("   ClientWidth     =   12000");
  for (int e = 0; e < elements; ++e) ControlBlock(r, w, "   ", kControls[0], "txtCell", e, e);
  w.Line("End");
  FormAttributes(w, "frmGrid");
  w.Line("Option Explicit");
  w.Line("");
  w.Line("Private Sub txtCell_Change(Index As Integer)");
  w.Line("    txtCell(Index).Tag = \"changed\"");
  w.Line("End Sub");
  for (int p = 0; p * 10 < elements; ++p) {
    w.Line("");
    Procedure(r, w, 10);
    w.Line("Private Function Cell" + std::to_string(p) + "() As String");
    w.Line("    Cell" + std::to_string(p) + " = txtCell(" + std::to_string(p) + ").Text");
    w.Line("End Function");
  }
  return w.text();
}

void Interface(const fs::path& dir, Random& r, int members) {
  Writer i;
  i.Line("VERSION 1.0 CLASS");
  i.Line("BEGIN");
  i.Line("  MultiUse = -1  'True");
  i.Line("END");
  i.Line("Attribute VB_Name = \"IWide\"");
  i.Line("Attribute VB_GlobalNameSpace = False");
  i.Line("Attribute VB_Creatable = True");
  i.Line("Attribute VB_PredeclaredId = False");
  i.Line("Attribute VB_Exposed = False");
  i.Line("Option Explicit");
  for (int m = 0; m < members; ++m) {
    const std::string name = Noun(r) + std::to_string(m);
    switch (m % 4) {
      case 0: i.Line("Public " + name + " As " + r.Pick(kTypes)); break;
      case 1: i.Line("Public Sub " + name + "(ByVal lValue As Long): End Sub"); break;
      case 2:
        i.Line("Public Function " + name + "(ByRef a As Variant, _");
        i.Line("                 ByVal b As String) As Long");
        i.Line("End Function");
        break;
      default:
        i.Line("Public Property Get " + name + "() As String");
        i.Line("End Property");
        break;
    }
  }
  Save(dir / "IWide.cls", i.text());
  Save(dir / "clsTarget.cls", ClassModule(r, "clsTarget", 20000));
  Save(dir / "Iface.vbp", "Type=Exe\r\nClass=IWide; IWide.cls\r\nClass=clsTarget; clsTarget.cls\r\nName=\"Iface\"\r\n");
}

std::string LongLine(int chars) {
  Writer w;
  w.Line("Attribute VB_Name = \"modLine\"");
  w.Line("Option Explicit");
  w.Line("Public Sub Fill()");
  std::string line = "    s = \"start\"";
  for (int n = 0; static_cast<int>(line.size()) < chars; ++n) line += " & \"part" + std::to_string(n) + "\"";
  w.Line(line);
  w.Line("End Sub");
  return w.text();
}

std::string ManyDeclarations(Random& r, int count) {
  Writer w;
  w.Line("Attribute VB_Name = \"modDecl\"");
  w.Line("Option Explicit");
  for (int n = 0; n < count; ++n) w.Line("Private m" + Noun(r) + std::to_string(n) + " As " + r.Pick(kTypes));
  w.Line("");
  Procedure(r, w, 20, "FirstWork");
  Procedure(r, w, 20, "SecondWork");
  return w.text();
}

std::string Continuations(int count) {
  Writer w;
  w.Line("Attribute VB_Name = \"modCont\"");
  w.Line("Option Explicit");
  w.Line("Private Const LIST As String = \"start\" & _");
  for (int n = 1; n < count; ++n) w.Line("    \"item" + std::to_string(n) + "\" & _");
  w.Line("    \"end\"");
  w.Line("Public Sub Work()");
  w.Line("    Debug.Print LIST");
  w.Line("End Sub");
  return w.text();
}

[[noreturn]] void Usage() {
  std::cerr << "usage: corpus_generator corpus DIR [--bytes N] [--seed S] | module FILE --lines N |\n"
               "       form FILE --controls N [--lines N] | rename-form FILE --lines N |\n"
               "       remove-form FILE --procedures N | array-form FILE --elements N | interface DIR --members N |\n"
               "       long-line FILE --chars N | declarations FILE --count N | continuations FILE --count N\n";
  std::exit(2);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) Usage();
  const std::string what = argv[1];
  const fs::path target = argv[2];
  std::map<std::string, long long> options = {{"--seed", 1}, {"--bytes", 20'000'000}};
  for (int i = 3; i + 1 < argc; i += 2) options[argv[i]] = std::atoll(argv[i + 1]);
  auto option = [&](const char* name) {
    auto found = options.find(name);
    if (found == options.end() || found->second <= 0) Usage();
    return static_cast<int>(found->second);
  };
  Random r(static_cast<std::uint64_t>(options["--seed"]));
  if (what == "corpus") {
    Corpus(target, static_cast<std::size_t>(options["--bytes"]), static_cast<std::uint64_t>(options["--seed"]));
  } else if (what == "module") {
    Save(target, LongModule(r, option("--lines")));
  } else if (what == "form") {
    FormShape shape{target.stem().string(), false, option("--controls"), 0, 0};
    if (options.count("--lines")) shape.codeLines = option("--lines");
    Save(target, Form(r, shape));
  } else if (what == "rename-form") {
    Save(target, RenameForm(r, option("--lines")));
  } else if (what == "remove-form") {
    Save(target, RemoveForm(r, option("--procedures")));
  } else if (what == "array-form") {
    Save(target, ArrayForm(r, option("--elements")));
  } else if (what == "interface") {
    Interface(target, r, option("--members"));
  } else if (what == "long-line") {
    Save(target, LongLine(option("--chars")));
  } else if (what == "declarations") {
    Save(target, ManyDeclarations(r, option("--count")));
  } else if (what == "continuations") {
    Save(target, Continuations(option("--count")));
  } else {
    Usage();
  }
  return 0;
}
