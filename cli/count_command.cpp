// vb6kit count / vb6kit summary: the line counter's two entries of the Add-Ins menu.
#include <algorithm>
#include <cctype>
#include <map>
#include <ostream>
#include <sstream>

#include "cli/addin_session.h"
#include "cli/args.h"
#include "cli/command.h"
#include "cli/count_report.h"
#include "cli/home.h"
#include "cli/loaded_code.h"
#include "cli/output.h"
#include "cli/project_heap.h"
#include "line_counter/connect.h"

namespace cli {

namespace {

const std::string kAddin = "Tallowick";
namespace fs = std::filesystem;

// --component NAME...: the components to count (every one when none is named), and which of
// the names were found.
class ComponentChoice {
 public:
  explicit ComponentChoice(const std::vector<std::string>& names) : found_(names.size(), false) {
    for (const std::string& name : names) wanted_.push_back(vb::FromUtf8(name));
  }
  bool Wants(const vb::Text& name) {
    if (wanted_.empty()) return true;
    bool any = false;
    for (std::size_t i = 0; i < wanted_.size(); ++i)
      if (vb::EqualsNoCase(wanted_[i], name)) found_[i] = any = true;
    return any;
  }
  void CheckAllFound() const {
    for (std::size_t i = 0; i < wanted_.size(); ++i)
      if (!found_[i]) throw UsageError("--component " + vb::ToUtf8(wanted_[i]) + ": no component of that name");
  }

 private:
  std::vector<vb::Text> wanted_;
  std::vector<bool> found_;
};

// What one PATH stands for: project files found in a folder load one by one, so that the
// projects stay apart; anything else loads as it is.
std::vector<fs::path> Loadables(const fs::path& path) {
  std::error_code ec;
  if (!fs::exists(path, ec)) throw UsageError(path.string() + ": no such file or folder");
  if (!fs::is_directory(path, ec)) return {path};
  std::vector<fs::path> projects;
  for (auto it = fs::recursive_directory_iterator(path, ec); !ec && it != fs::recursive_directory_iterator();
       it.increment(ec)) {
    std::string extension = it->path().extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(), [](unsigned char c) { return std::tolower(c); });
    if (it->is_regular_file(ec) && extension == ".vbp") projects.push_back(it->path());
  }
  if (projects.empty()) return {path};
  std::sort(projects.begin(), projects.end());
  return projects;
}

struct LoadedPath {
  fs::path given;  // the PATH it was found through
  std::unique_ptr<LoadedCode> code;
};

// Everything is loaded before anything is counted, so a bad PATH ends the command at once.
std::vector<LoadedPath> LoadAll(const std::vector<std::string>& paths) {
  std::vector<LoadedPath> loaded;
  for (const std::string& given : paths)
    for (const fs::path& path : Loadables(given))
      loaded.push_back({given, std::make_unique<LoadedCode>(path, std::nullopt)});
  return loaded;
}

fs::path Relative(const fs::path& file, const fs::path& given) {
  std::error_code ec;
  const fs::path base = fs::is_directory(given, ec) ? given : given.parent_path();
  fs::path relative = fs::relative(file, base.empty() ? fs::path(".") : base, ec);
  return ec || relative.empty() ? file : relative;
}

// Counts the chosen components of one project (its files: `files`) through the Component Line
// Counter and adds the rows of its results window. False when the add-in ended with a message (reported on stderr).
bool CountProject(Context& context, Home& home, const LoadedPath& loaded, const std::vector<ComponentFile>& files,
                  const vb::Text& project, ComponentChoice& choice, CountResult& result) {
  LoadedCode& code = *loaded.code;
  std::vector<vb::Text> chosen;
  host::Ref<host::VBComponents> all = code.vbe()->VBProjects()->Item(project)->VBComponents();
  for (long i = 1; i <= all->Count(); ++i)
    if (const vb::Text name = all->Item(i)->Name(); choice.Wants(name)) chosen.push_back(name);
  if (chosen.empty()) return true;

  code.vbe()->SetActiveProject(project);
  Connected<tallowick::Connect> session(code.vbe());
  home.toolkit.On(u"frmAddIn", [&](ui::Form& form) {
    for (const vb::Text& name : chosen) scripted::Tick(form, u"lstComponents", name);
    scripted::Click(form, u"OKButton");
  });
  std::map<vb::Text, fs::path> fileOf;  // by component name in lower case
  for (const ComponentFile& file : files) fileOf[vb::LCase(file.component)] = file.file;
  home.toolkit.On(u"frmResults", [&](ui::Form& form) {
    auto& view = *form.Find<ui::ListView>(u"lvResults");
    result.headers = view.columnHeaders();
    for (int row = 1; row <= view.itemCount(); ++row) {
      CountRow counted{view.Row(row).front(), {}, loaded.given, view.Row(row)};
      if (auto found = fileOf.find(vb::LCase(counted.name)); found != fileOf.end()) counted.file = found->second;
      result.rows.push_back(std::move(counted));
    }
    result.labelTags.clear();
    for (const char16_t* label : {u"lblCodeLine", u"lblCommentLines", u"lblWhiteSpace"})
      result.labelTags.push_back(form.Find<ui::Label>(label)->tag());
    scripted::Click(form, u"cmdOk");
  });
  session.vbe().Click(u"Add-Ins", u"&Component Line Counter");
  return !ReportMessages(context, home.toolkit.messages(), kAddin);
}

// Components of different projects with one name are told apart by their files.
void NameSharedComponents(std::vector<CountRow>& rows) {
  std::map<vb::Text, int> rowsNamed;  // by name in lower case
  for (const CountRow& row : rows) ++rowsNamed[vb::LCase(row.name)];
  for (CountRow& row : rows)
    if (rowsNamed[vb::LCase(row.name)] > 1 && !row.file.empty())
      row.cells.front() = vb::FromUtf8(Relative(row.file, row.given).generic_string());
}

int Count(Context& context, const Args& args) {
  const std::string format = args.Choice("format", "text");
  ComponentChoice choice(args.values("component"));
  GrowHeapForProjects();
  std::vector<LoadedPath> loaded = LoadAll(args.positionals());

  Home home(context, SettingsUse::None);
  CountResult result;
  for (const LoadedPath& path : loaded) {
    std::map<vb::Text, std::vector<ComponentFile>> filesOf;  // by project: a group may hold hundreds
    for (ComponentFile& file : path.code->Components()) filesOf[file.project].push_back(std::move(file));
    for (const vb::Text& project : path.code->Projects())
      if (!CountProject(context, home, path, filesOf[project], project, choice, result)) return kExitAddinMessage;
  }
  choice.CheckAllFound();
  NameSharedComponents(result.rows);
  PrintCount(context.out, result, format);
  for (LoadedPath& path : loaded) KeepUntilExit(std::move(path.code));
  return kExitOk;
}

// The summary window's text as JSON: its title line, each component's "NAME - Kind" lines and
// five totals, then the project's five totals.
std::string SummaryJson(const std::string& text) {
  std::string json;
  std::string counts;  // the totals being read
  bool inMembers = false, firstMember = true, firstComponent = true;
  auto closeCounts = [&] {
    if (!counts.empty()) json += "{" + counts + "}";
    counts.clear();
  };
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    static const std::string kTitle = "Project Summary for : ", kComponent = "Summary for Component: ";
    if (line.rfind(kTitle, 0) == 0) {
      json += "{\"name\": " + JsonString(line.substr(kTitle.size())) + ", \"components\": [";
    } else if (line.rfind(kComponent, 0) == 0) {
      closeCounts();
      json += std::string(firstComponent ? "" : "}, ") + "{\"name\": " + JsonString(line.substr(kComponent.size())) +
              ", \"members\": [";
      firstComponent = false;
      inMembers = firstMember = true;
    } else if (line == "Component Counts:") {
      json += "], \"counts\": ";
      inMembers = false;
    } else if (line == "Total Counts for Project") {
      closeCounts();
      json += std::string(firstComponent ? "" : "}") + "], \"totals\": ";
    } else if (line.rfind("Total ", 0) == 0 && line.find(": ") != std::string::npos) {
      std::string kind = line.substr(6, line.find(": ") - 6);
      for (char& c : kind) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      if (kind == "propertys") kind = "properties";  // the project total's label says so
      counts += std::string(counts.empty() ? "" : ", ") + JsonString(kind) + ": " + line.substr(line.find(": ") + 2);
    } else if (inMembers && line.find(" - ") != std::string::npos) {
      const std::size_t dash = line.rfind(" - ");
      json += std::string(firstMember ? "" : ", ") + "{\"name\": " + JsonString(line.substr(0, dash)) +
              ", \"kind\": " + JsonString(line.substr(dash + 3)) + "}";
      firstMember = false;
    }
  }
  closeCounts();
  return json + "}";
}

int Summary(Context& context, const Args& args) {
  GrowHeapForProjects();
  auto code = std::make_unique<LoadedCode>(args.positionals()[0], std::nullopt);
  Home home(context, SettingsUse::None);
  const bool json = args.Choice("format", "text") == "json";
  if (json) context.out << "{\"projects\": [";
  bool first = true;
  for (const vb::Text& project : code->Projects()) {
    code->vbe()->SetActiveProject(project);
    Connected<tallowick::Connect> session(code->vbe());
    vb::Text text;
    home.toolkit.On(u"frmSummary", [&](ui::Form& form) {
      text = form.Find<ui::TextBox>(u"txtSummary")->text();
      scripted::Click(form, u"cmdClose");
    });
    session.vbe().Click(u"Add-Ins", u"&Project Summary");
    if (ReportMessages(context, home.toolkit.messages(), kAddin)) return kExitAddinMessage;
    if (json)
      context.out << (first ? "" : ", ") << SummaryJson(ConsoleText(text));
    else
      context.out << ConsoleText(text);
    first = false;
  }
  if (json) context.out << "]}\n";
  KeepUntilExit(std::move(code));
  return kExitOk;
}

}  // namespace

std::vector<Command> CountCommands() {
  return {
      {"count", "count code, comment and blank lines of components", {{"PATH...", Complete::CodePath}},
       {{"format", OptionRule::Value, "text|csv|json", "the output format (default: text)", Complete::Words},
        {"component", OptionRule::Repeated, "NAME", "count this component only"}},
       "Counts the code, comment and blank lines of the chosen components (all when none is named) of each "
       "project (.vbp), group (.vbg), folder or module file, as the Component Line Counter shows them. Components "
       "of different projects that share a name are named by their file's path relative to the PATH given.",
       Count},
      {"summary", "print the project summary", {{"PROJECT", Complete::CodePath}},
       {{"format", OptionRule::Value, "text|json", "the output format (default: text)", Complete::Words}},
       "Prints the project summary (every member of every component by kind, with counts) exactly as the Project "
       "Summary window shows it. A group prints one per project.",
       Summary},
  };
}

}  // namespace cli
