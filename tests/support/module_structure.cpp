#include "support/module_structure.h"

#include <algorithm>
#include <stdexcept>

#include "framework/vb_statements.h"

namespace testing_support {
namespace {

using vb::Text;
using vb::TextView;

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

bool IsIdentChar(char16_t c) {
  return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'_' || c > 0x7F;
}

TextView TrimBlanks(TextView s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// Blanks collapsed to one and letters lowered: how VB compares type names.
Text Normal(TextView s) {
  Text out;
  for (char16_t c : TrimBlanks(s)) {
    if (IsBlank(c)) {
      if (!out.empty() && out.back() != u' ') out += u' ';
    } else {
      out += (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
    }
  }
  return out;
}

std::string Line(long line) { return "line " + std::to_string(line) + ": "; }

struct Statement {
  Text text;
  long line = 0;  // first physical line of the statement's logical line
};

bool StartsWithWord(TextView s, TextView word) {
  if (s.size() < word.size() || !vb::EqualsNoCase(s.substr(0, word.size()), word)) return false;
  return s.size() == word.size() || !IsIdentChar(s[word.size()]);
}

// The statements of one logical line, up to its comment.
void SplitStatements(TextView logical, long line, std::vector<Statement>& out) {
  for (const Text& statement : vb::StatementsOfLine(logical)) {
    TextView text = TrimBlanks(statement);
    if (StartsWithWord(text, u"Rem")) return;
    if (!text.empty()) out.push_back({Text(text), line});
  }
}

// The logical lines of a module (continuations joined) with their first line.
std::vector<Statement> LogicalLines(TextView module) {
  std::vector<Statement> logicalLines;
  std::vector<Text> lines = vb::SplitLines(module);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    long first = static_cast<long>(i + 1);
    Text logical = lines[i];
    while (vb::ContinuesOnNextLine(logical) && i + 1 < lines.size()) {
      TextView t = TrimBlanks(logical);
      logical = Text(t.substr(0, t.size() - 1)) + lines[++i];
    }
    logicalLines.push_back({std::move(logical), first});
  }
  return logicalLines;
}

// The condition of an "#If ... Then" or "#ElseIf ... Then" line, read as one constant that is
// set or not, "Not" taken off (`negated`); nullopt for any other line.
std::optional<Text> ConditionOf(TextView code, bool* negated = nullptr) {
  TextView rest;
  if (StartsWithWord(code, u"#If")) rest = code.substr(3);
  else if (StartsWithWord(code, u"#ElseIf")) rest = code.substr(7);
  else return std::nullopt;
  Text condition = Normal(rest.substr(0, vb::StatementEnd(rest)));
  if (condition.size() >= 5 && condition.substr(condition.size() - 5) == u" then") condition.resize(condition.size() - 5);
  const bool isNot = StartsWithWord(condition, u"not");
  if (negated) *negated = isNot;
  return isNot ? Normal(TextView(condition).substr(3)) : condition;
}

// The constants of the #If conditions that are set in one configuration of the project.
using Configuration = std::vector<Text>;

bool Holds(const Configuration& configuration, TextView code) {
  bool negated = false;
  const Text condition = *ConditionOf(code, &negated);
  return (std::find(configuration.begin(), configuration.end(), condition) != configuration.end()) != negated;
}

// The statements of a module in order, with continuations joined and only the branches of its
// #If blocks that `configuration` compiles kept.
std::vector<Statement> StatementsOf(TextView module, const Configuration& configuration) {
  std::vector<Statement> statements;
  struct Open {
    bool active, taken;  // the current branch is compiled; one of the branches so far is
  };
  std::vector<Open> blocks;
  for (const Statement& logical : LogicalLines(module)) {
    TextView code = TrimBlanks(logical.text);
    if (StartsWithWord(code, u"#If")) {
      const bool active = Holds(configuration, code);
      blocks.push_back({active, active});
      continue;
    }
    if (StartsWithWord(code, u"#ElseIf") || StartsWithWord(code, u"#Else")) {
      if (!blocks.empty()) {
        Open& block = blocks.back();
        block.active = !block.taken && (StartsWithWord(code, u"#Else") || Holds(configuration, code));
        block.taken = block.taken || block.active;
      }
      continue;
    }
    if (StartsWithWord(code, u"#End")) {
      if (!blocks.empty()) blocks.pop_back();
      continue;
    }
    if (std::all_of(blocks.begin(), blocks.end(), [](const Open& block) { return block.active; }))
      SplitStatements(logical.text, logical.line, statements);
  }
  return statements;
}

// Adds the constants of the module's #If conditions that `constants` does not hold yet.
void AddConstants(TextView module, std::vector<Text>& constants) {
  for (const Statement& logical : LogicalLines(module))
    if (std::optional<Text> condition = ConditionOf(TrimBlanks(logical.text)))
      if (std::find(constants.begin(), constants.end(), *condition) == constants.end()) constants.push_back(*condition);
}

// Reads words from the front of a statement.
class Words {
 public:
  explicit Words(TextView s) : rest_(TrimBlanks(s)) {}
  bool Take(TextView word) {
    if (!StartsWithWord(rest_, word)) return false;
    rest_ = TrimBlanks(rest_.substr(word.size()));
    return true;
  }
  // A name, plain or in [brackets]; its type character, if any, in `suffix`.
  Text Name(char16_t* suffix = nullptr) {
    Text name;
    std::size_t n = 0;
    if (!rest_.empty() && rest_[0] == u'[') {
      std::size_t close = rest_.find(u']');
      if (close == TextView::npos) return {};
      name = Text(rest_.substr(1, close - 1));
      n = close + 1;
    } else {
      while (n < rest_.size() && IsIdentChar(rest_[n])) ++n;
      name = Text(rest_.substr(0, n));
      if (n < rest_.size() && TextView(u"%&!#@$").find(rest_[n]) != TextView::npos) {
        if (suffix) *suffix = rest_[n];
        ++n;
      }
    }
    rest_ = TrimBlanks(rest_.substr(n));
    return name;
  }
  // The text inside the parentheses that open the rest (strings and nesting respected), or
  // nullopt when the rest does not open with "(".
  std::optional<Text> Parenthesized() {
    if (rest_.empty() || rest_[0] != u'(') return std::nullopt;
    std::size_t close = vb::ClosingParenthesis(rest_, 0);
    if (close == TextView::npos) return std::nullopt;
    Text inside(rest_.substr(1, close - 1));
    rest_ = TrimBlanks(rest_.substr(close + 1));
    return inside;
  }
  TextView rest() const { return rest_; }

 private:
  TextView rest_;
};

// "As <type>" at the front of the rest (up to a default value), "As New" read as the type.
Text TypeOf(Words& w, char16_t suffix) {
  if (!w.Take(u"As")) return Normal(vb::TypeOfCharacter(suffix));
  w.Take(u"New");
  TextView rest = w.rest();
  bool inString = false;
  std::size_t end = 0;
  for (; end < rest.size(); ++end) {
    if (rest[end] == u'"') inString = !inString;
    if (rest[end] == u'=' && !inString) break;
  }
  return Normal(rest.substr(0, end));
}

// What VB compares of a parameter: passing, optional and ParamArray, array, type; not the name.
Text ParameterShape(TextView parameter) {
  Words w(parameter);
  Text shape;
  if (w.Take(u"Optional")) shape += u"Optional ";
  if (w.Take(u"ByVal")) shape += u"ByVal ";
  else w.Take(u"ByRef");
  if (w.Take(u"ParamArray")) shape += u"ParamArray ";
  char16_t suffix = 0;
  w.Name(&suffix);
  if (w.Parenthesized()) shape += u"() ";
  return shape + TypeOf(w, suffix);
}

enum class Kind { Sub, Function, PropertyGet, PropertyLet, PropertySet };

const char* KindName(Kind kind) {
  switch (kind) {
    case Kind::Sub: return "Sub";
    case Kind::Function: return "Function";
    case Kind::PropertyGet: return "Property Get";
    case Kind::PropertyLet: return "Property Let";
    case Kind::PropertySet: return "Property Set";
  }
  return "";
}

struct Procedure {
  Kind kind = Kind::Sub;
  Text name;
  bool isPublic = true;
  long line = 0;
  std::vector<Text> parameters;  // shapes
  Text returnType;               // empty for Sub, Let and Set

  std::string Title() const { return std::string(KindName(kind)) + " " + vb::ToUtf8(name); }
  std::string Signature() const {
    std::string text = "(";
    for (std::size_t i = 0; i < parameters.size(); ++i) text += (i ? ", " : "") + vb::ToUtf8(parameters[i]);
    text += ")";
    if (!returnType.empty()) text += " As " + vb::ToUtf8(returnType);
    return text;
  }
};

// A procedure's header statement, or nullopt for any other statement.
std::optional<Procedure> ProcedureHeader(const Statement& statement) {
  Words w(statement.text);
  Procedure p;
  p.line = statement.line;
  if (w.Take(u"Private") || w.Take(u"Friend")) p.isPublic = false;
  else w.Take(u"Public");
  w.Take(u"Static");
  if (w.Take(u"Sub")) {
    p.kind = Kind::Sub;
  } else if (w.Take(u"Function")) {
    p.kind = Kind::Function;
  } else if (w.Take(u"Property")) {
    if (w.Take(u"Get")) p.kind = Kind::PropertyGet;
    else if (w.Take(u"Let")) p.kind = Kind::PropertyLet;
    else if (w.Take(u"Set")) p.kind = Kind::PropertySet;
    else return std::nullopt;
  } else {
    return std::nullopt;
  }
  char16_t suffix = 0;
  p.name = w.Name(&suffix);
  if (p.name.empty()) return std::nullopt;
  if (std::optional<Text> list = w.Parenthesized())
    for (const Text& parameter : vb::SplitList(*list)) p.parameters.push_back(ParameterShape(parameter));
  if (p.kind == Kind::Function || p.kind == Kind::PropertyGet) p.returnType = TypeOf(w, suffix);
  return p;
}

// The kind an "End Sub", "End Function" or "End Property" closes, or nullopt.
std::optional<Text> EndStatement(const Statement& statement) {
  Words w(statement.text);
  if (!w.Take(u"End")) return std::nullopt;
  for (TextView kind : {TextView(u"Sub"), TextView(u"Function"), TextView(u"Property")})
    if (w.Take(kind) && w.rest().empty()) return Text(kind);
  return std::nullopt;
}

bool Closes(TextView endKind, Kind kind) {
  if (endKind == u"Sub") return kind == Kind::Sub;
  if (endKind == u"Function") return kind == Kind::Function;
  return kind == Kind::PropertyGet || kind == Kind::PropertyLet || kind == Kind::PropertySet;
}

struct Variable {
  Text name;
  Text type;
  long line = 0;
};

struct Implements {
  Text project, className;
  long line = 0;
};

// What a module declares: its procedures, its public variables and its Implements statements;
// block faults are added to `problems`.
struct Outline {
  std::vector<Procedure> procedures;
  std::vector<Variable> publicVariables;
  std::vector<Implements> implements;
};

void ModuleLevelStatement(const Statement& statement, Outline& outline) {
  Words w(statement.text);
  if (w.Take(u"Implements")) {
    Text name(TrimBlanks(w.rest()));
    std::size_t dot = name.rfind(u'.');
    Implements i{dot == Text::npos ? Text() : name.substr(0, dot), name.substr(dot == Text::npos ? 0 : dot + 1),
                 statement.line};
    outline.implements.push_back(std::move(i));
    return;
  }
  if (!w.Take(u"Public") && !w.Take(u"Global")) return;
  for (TextView other : {u"Declare", u"Event", u"Const", u"Type", u"Enum", u"Sub", u"Function", u"Property"})
    if (StartsWithWord(w.rest(), other)) return;
  for (const Text& item : vb::SplitList(w.rest())) {
    Words iw(item);
    iw.Take(u"WithEvents");
    char16_t suffix = 0;
    Text name = iw.Name(&suffix);
    if (name.empty()) continue;
    iw.Parenthesized();
    outline.publicVariables.push_back({name, TypeOf(iw, suffix), statement.line});
  }
}

Outline Read(TextView module, const Configuration& configuration, std::vector<std::string>* problems) {
  Outline outline;
  std::optional<Procedure> open;
  auto problem = [&](long line, const std::string& text) {
    if (problems) problems->push_back(Line(line) + text);
  };
  for (const Statement& statement : StatementsOf(module, configuration)) {
    if (std::optional<Procedure> header = ProcedureHeader(statement)) {
      if (open) problem(statement.line, header->Title() + " opens inside " + open->Title() + " of line " +
                                            std::to_string(open->line));
      open = std::move(header);
      outline.procedures.push_back(*open);
    } else if (std::optional<Text> end = EndStatement(statement)) {
      if (!open) problem(statement.line, "End " + vb::ToUtf8(*end) + " closes no procedure");
      else if (!Closes(*end, open->kind)) problem(statement.line, "End " + vb::ToUtf8(*end) + " closes " + open->Title());
      open.reset();
    } else if (!open) {
      ModuleLevelStatement(statement, outline);
    }
  }
  if (open) problem(open->line, open->Title() + " is never closed");
  return outline;
}

// Two procedures of one name are ambiguous unless they are different procedures of a property.
bool Clash(const Procedure& a, const Procedure& b) {
  if (!vb::EqualsNoCase(a.name, b.name)) return false;
  bool bothProperties = a.kind >= Kind::PropertyGet && b.kind >= Kind::PropertyGet;
  return !bothProperties || a.kind == b.kind;
}

const Procedure* Find(const Outline& outline, Kind kind, TextView name) {
  for (const Procedure& p : outline.procedures)
    if (p.kind == kind && vb::EqualsNoCase(p.name, name)) return &p;
  return nullptr;
}

// The write procedures a public variable of the type needs: Let for values, Set for objects,
// both for a Variant; a type the check cannot tell (a class or an enumeration) needs either.
void CheckVariable(const Outline& module, const Text& prefix, const Variable& v, const std::string& where,
                   std::vector<std::string>& problems) {
  std::string name = vb::ToUtf8(prefix + v.name);
  auto expect = [&](Kind kind, bool isWrite) -> bool {
    const Procedure* p = Find(module, kind, prefix + v.name);
    if (!p) return false;
    bool matches = isWrite ? p->parameters.size() == 1 && Normal(vb::Replace(vb::Replace(p->parameters[0], u"ByVal ", u""),
                                                                             u"Optional ", u"")) == v.type
                           : p->parameters.empty() && p->returnType == v.type;
    if (!matches)
      problems.push_back(Line(p->line) + p->Title() + p->Signature() + " does not match the variable " +
                         vb::ToUtf8(v.name) + " As " + vb::ToUtf8(v.type) + where);
    return true;
  };
  if (!expect(Kind::PropertyGet, false)) problems.push_back("no Property Get " + name + where);
  bool let = expect(Kind::PropertyLet, true);
  bool set = expect(Kind::PropertySet, true);
  static const std::vector<Text> kValueTypes{u"boolean", u"byte",    u"currency", u"date",  u"double",
                                             u"integer", u"long",    u"single",   u"string"};
  bool isValue = std::find(kValueTypes.begin(), kValueTypes.end(), v.type) != kValueTypes.end();
  if ((isValue || v.type == u"variant") && !let) problems.push_back("no Property Let " + name + where);
  if ((v.type == u"object" || v.type == u"variant") && !set) problems.push_back("no Property Set " + name + where);
  if (!let && !set && !isValue && v.type != u"object" && v.type != u"variant")
    problems.push_back("no Property Let or Set " + name + where);
}

void CheckImplements(const Outline& module, const Implements& i, const InterfaceSource& interfaces,
                     const Configuration& configuration, std::vector<std::string>& problems) {
  std::string title = vb::ToUtf8(i.project.empty() ? i.className : i.project + u"." + i.className);
  std::optional<Text> source = interfaces ? interfaces(i.project, i.className) : std::nullopt;
  if (!source) {
    problems.push_back(Line(i.line) + "Implements " + title + ": no such class to check against");
    return;
  }
  const Outline iface = Read(*source, configuration, nullptr);
  const Text prefix = i.className + u"_";
  const std::string where = " (Implements " + title + ")";
  for (const Procedure& member : iface.procedures) {
    if (!member.isPublic) continue;
    const Procedure* stub = Find(module, member.kind, prefix + member.name);
    if (!stub) {
      problems.push_back("no " + std::string(KindName(member.kind)) + " " + vb::ToUtf8(prefix + member.name) + where);
    } else if (stub->parameters != member.parameters || stub->returnType != member.returnType) {
      problems.push_back(Line(stub->line) + stub->Title() + stub->Signature() + " does not match " + member.Title() +
                         member.Signature() + where);
    }
  }
  for (const Variable& v : iface.publicVariables) CheckVariable(module, prefix, v, where, problems);
}

// The problems of one configuration of the project.
std::vector<std::string> ConfigurationProblems(vb::TextView moduleText, const InterfaceSource& interfaces,
                                               const Configuration& configuration) {
  std::vector<std::string> problems;
  const Outline module = Read(moduleText, configuration, &problems);
  for (std::size_t a = 0; a < module.procedures.size(); ++a)
    for (std::size_t b = 0; b < a; ++b)
      if (Clash(module.procedures[a], module.procedures[b])) {
        problems.push_back(Line(module.procedures[a].line) + "a second " + module.procedures[a].Title() +
                           " (the first is on line " + std::to_string(module.procedures[b].line) + ")");
        break;
      }
  for (std::size_t a = 0; a < module.implements.size(); ++a) {
    const Implements& i = module.implements[a];
    bool repeated = false;
    for (std::size_t b = 0; b < a && !repeated; ++b)
      repeated = vb::EqualsNoCase(module.implements[b].className, i.className);
    if (repeated) problems.push_back(Line(i.line) + "a second Implements " + vb::ToUtf8(i.className));
    else CheckImplements(module, i, interfaces, configuration, problems);
  }
  return problems;
}

}  // namespace

std::vector<std::string> StructureProblems(vb::TextView moduleText, const InterfaceSource& interfaces) {
  // Every configuration of the constants that the module's and its interfaces' #If lines test.
  std::vector<Text> constants;
  AddConstants(moduleText, constants);
  if (interfaces)
    for (const Statement& statement : StatementsOf(moduleText, {}))
      if (Words w(statement.text); w.Take(u"Implements")) {
        Text name(TrimBlanks(w.rest()));
        const std::size_t dot = name.rfind(u'.');
        if (std::optional<Text> source = interfaces(dot == Text::npos ? Text() : name.substr(0, dot),
                                                    name.substr(dot == Text::npos ? 0 : dot + 1)))
          AddConstants(*source, constants);
      }
  if (constants.size() > 8) throw std::invalid_argument("more #If constants than the check tries out");
  const std::size_t configurations = std::size_t{1} << constants.size();
  std::vector<std::vector<std::string>> found(configurations);
  for (std::size_t set = 0; set < configurations; ++set) {
    Configuration configuration;
    for (std::size_t c = 0; c < constants.size(); ++c)
      if ((set >> c) & 1) configuration.push_back(constants[c]);
    found[set] = ConfigurationProblems(moduleText, interfaces, configuration);
  }
  // A problem of every configuration is named once, the others with the configurations they have.
  const auto everywhere = [&](const std::string& problem) {
    return std::all_of(found.begin(), found.end(), [&](const std::vector<std::string>& each) {
      return std::find(each.begin(), each.end(), problem) != each.end();
    });
  };
  std::vector<std::string> problems;
  for (const std::string& problem : found[0])
    if (everywhere(problem)) problems.push_back(problem);
  for (std::size_t set = 0; set < configurations; ++set) {
    std::string where;
    for (std::size_t c = 0; c < constants.size(); ++c)
      where += (where.empty() ? "with " : ", ") + std::string((set >> c) & 1 ? "" : "not ") + vb::ToUtf8(constants[c]);
    for (const std::string& problem : found[set])
      if (!everywhere(problem)) problems.push_back(where + ": " + problem);
  }
  return problems;
}

InterfaceSource InterfacesOf(const host::Ref<host::VBE>& ide, vb::TextView preferredProject) {
  return [ide, preferred = Text(preferredProject)](TextView project, TextView className) -> std::optional<Text> {
    host::Ref<host::VBProjects> projects = ide->VBProjects();
    std::optional<Text> found;
    for (int pass = 0; pass < 2 && !found; ++pass) {
      for (long p = 1; p <= projects->Count() && !found; ++p) {
        host::Ref<host::VBProject> candidate = projects->Item(p);
        Text name = candidate->Name();
        bool wanted = project.empty() ? (pass == 1 || vb::EqualsNoCase(name, preferred)) : vb::EqualsNoCase(name, project);
        if (!wanted) continue;
        host::Ref<host::VBComponents> components = candidate->VBComponents();
        for (long c = 1; c <= components->Count() && !found; ++c) {
          host::Ref<host::VBComponent> component = components->Item(c);
          if (component->Type() != host::vbext_ct_ClassModule || !vb::EqualsNoCase(component->Name(), className))
            continue;
          host::Ref<host::CodeModule> code = component->CodeModule();
          found = code->CountOfLines() > 0 ? code->Lines(1, code->CountOfLines()) : Text();
        }
      }
    }
    return found;
  };
}

::testing::AssertionResult SoundStructure(vb::TextView moduleText, const InterfaceSource& interfaces) {
  std::vector<std::string> problems = StructureProblems(moduleText, interfaces);
  if (problems.empty()) return ::testing::AssertionSuccess();
  ::testing::AssertionResult result = ::testing::AssertionFailure();
  for (const std::string& problem : problems) result << "\n  " << problem;
  return result << "\nin the module:\n" << vb::ToUtf8(moduleText);
}

::testing::AssertionResult SoundStructure(const host::Ref<host::VBE>& ide) {
  ::testing::AssertionResult result = ::testing::AssertionFailure();
  bool sound = true;
  host::Ref<host::VBProjects> projects = ide->VBProjects();
  for (long p = 1; p <= projects->Count(); ++p) {
    host::Ref<host::VBProject> project = projects->Item(p);
    host::Ref<host::VBComponents> components = project->VBComponents();
    for (long c = 1; c <= components->Count(); ++c) {
      host::Ref<host::VBComponent> component = components->Item(c);
      host::Ref<host::CodeModule> code = component->CodeModule();
      if (!code || code->CountOfLines() == 0) continue;
      std::vector<std::string> problems =
          StructureProblems(code->Lines(1, code->CountOfLines()), InterfacesOf(ide, project->Name()));
      if (problems.empty()) continue;
      sound = false;
      result << "\n" << vb::ToUtf8(project->Name() + u"." + component->Name()) << ":";
      for (const std::string& problem : problems) result << "\n  " << problem;
    }
  }
  return sound ? ::testing::AssertionSuccess() : result;
}

}  // namespace testing_support
