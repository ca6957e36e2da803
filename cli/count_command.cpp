// vb6kit count / vb6kit summary: the line counter's two entries of the Add-Ins menu.
#include <algorithm>
#include <iomanip>
#include <ostream>

#include "cli/addin_session.h"
#include "cli/args.h"
#include "cli/command.h"
#include "cli/home.h"
#include "cli/loaded_code.h"
#include "cli/output.h"
#include "line_counter/connect.h"

namespace cli {

namespace {

const std::string kAddin = "Tallowick";
namespace fs = std::filesystem;

struct CountRow {
  vb::Text name;
  fs::path file;  // the component's file, relative to the PATH given
  std::vector<vb::Text> cells;  // name, code, comment, blank as the dialog shows them
};

struct CountResult {
  std::vector<vb::Text> headers;
  std::vector<CountRow> rows;
  std::vector<vb::Text> labelTags;  // "Code Lines : " ...
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

fs::path Relative(const fs::path& file, const fs::path& given) {
  std::error_code ec;
  const fs::path base = fs::is_directory(given, ec) ? given : given.parent_path();
  fs::path relative = fs::relative(file, base.empty() ? fs::path(".") : base, ec);
  return ec || relative.empty() ? file : relative;
}

std::string Csv(const std::string& field) {
  if (field.find_first_of(",\"\r\n") == std::string::npos) return field;
  std::string quoted = "\"";
  for (char c : field) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

std::int64_t Number(const vb::Text& cell) { return std::stoll(vb::ToUtf8(cell)); }

}  // namespace

int CountCommand(Context& context, const std::vector<std::string>& words) {
  Args args(words, {{"format"}, {"component", OptionSpec::Repeated}});
  if (args.help()) {
    context.out << "usage: vb6kit count PATH... [--format text|csv|json] [--component NAME]...\n\n"
                   "Counts the code, comment and blank lines of the chosen components (all when none is\n"
                   "named) of each project, group, folder or module file, as the Component Line Counter\n"
                   "shows them. Components of different projects that share a name are named by their\n"
                   "file's path relative to the PATH given.\n";
    return kExitOk;
  }
  if (args.positionals().empty()) throw UsageError("missing PATH (a .vbp, .vbg, folder or module file)");
  const std::string format = args.Choice("format", {"text", "csv", "json"}, "text");
  std::vector<vb::Text> wanted;
  for (const std::string& name : args.values("component")) wanted.push_back(vb::FromUtf8(name));
  std::vector<bool> wantedFound(wanted.size(), false);
  auto isWanted = [&](const vb::Text& name) {
    if (wanted.empty()) return true;
    bool any = false;
    for (std::size_t i = 0; i < wanted.size(); ++i)
      if (vb::EqualsNoCase(wanted[i], name)) wantedFound[i] = any = true;
    return any;
  };

  // Everything is loaded before anything is counted, so a bad PATH ends the command at once.
  std::vector<std::pair<fs::path, std::unique_ptr<LoadedCode>>> loaded;
  for (const std::string& given : args.positionals())
    for (const fs::path& path : Loadables(given)) loaded.emplace_back(given, std::make_unique<LoadedCode>(path, std::nullopt));

  Home home(context, SettingsUse::None);
  CountResult result;
  for (auto& [given, code] : loaded) {
    const std::vector<ComponentFile> components = code->Components();
    for (const vb::Text& project : code->Projects()) {
      std::vector<vb::Text> chosen;
      host::Ref<host::VBProject> vbProject = code->vbe()->VBProjects()->Item(project);
      host::Ref<host::VBComponents> all = vbProject->VBComponents();
      for (long i = 1; i <= all->Count(); ++i)
        if (const vb::Text name = all->Item(i)->Name(); isWanted(name)) chosen.push_back(name);
      if (chosen.empty()) continue;

      code->vbe()->SetActiveProject(project);
      Connected<tallowick::Connect> session(code->vbe());
      home.toolkit.On(u"frmAddIn", [&](ui::Form& form) {
        for (const vb::Text& name : chosen) scripted::Tick(form, u"lstComponents", name);
        scripted::Click(form, u"OKButton");
      });
      home.toolkit.On(u"frmResults", [&](ui::Form& form) {
        auto& view = *form.Find<ui::ListView>(u"lvResults");
        result.headers = view.columnHeaders();
        for (int row = 1; row <= view.itemCount(); ++row) {
          CountRow counted{view.Row(row).front(), {}, view.Row(row)};
          for (const ComponentFile& file : components)
            if (file.project == project && vb::EqualsNoCase(file.component, counted.name))
              counted.file = Relative(file.file, given);
          result.rows.push_back(std::move(counted));
        }
        result.labelTags.clear();
        for (const char16_t* label : {u"lblCodeLine", u"lblCommentLines", u"lblWhiteSpace"})
          result.labelTags.push_back(form.Find<ui::Label>(label)->tag());
        scripted::Click(form, u"cmdOk");
      });
      session.vbe().Click(u"Add-Ins", u"&Component Line Counter");
      if (ReportMessages(home.toolkit.messages(), kAddin, context.err)) return kExitAddinMessage;
    }
  }
  for (std::size_t i = 0; i < wanted.size(); ++i)
    if (!wantedFound[i]) throw UsageError("--component " + vb::ToUtf8(wanted[i]) + ": no component of that name");

  // Components of different projects with one name are told apart by their files.
  for (CountRow& row : result.rows) {
    const bool shared = std::count_if(result.rows.begin(), result.rows.end(), [&](const CountRow& other) {
                          return vb::EqualsNoCase(other.name, row.name);
                        }) > 1;
    if (shared && !row.file.empty()) row.cells.front() = vb::FromUtf8(row.file.generic_string());
  }
  std::int64_t totals[3] = {0, 0, 0};
  for (const CountRow& row : result.rows)
    for (int k = 0; k < 3; ++k) totals[k] += Number(row.cells[static_cast<std::size_t>(k) + 1]);
  if (result.headers.empty()) result.headers = {u"Component", u"Code Lines", u"Comment Lines", u"Blank Lines"};
  if (result.labelTags.empty()) result.labelTags = {u"Code Lines : ", u"Comment Lines : ", u"Blank Lines : "};

  std::ostream& out = context.out;
  if (format == "json") {
    out << "{\"components\":[";
    for (std::size_t i = 0; i < result.rows.size(); ++i) {
      const auto& cells = result.rows[i].cells;
      out << (i ? "," : "") << "{\"name\":" << JsonString(cells[0]) << ",\"code\":" << vb::ToUtf8(cells[1])
          << ",\"comment\":" << vb::ToUtf8(cells[2]) << ",\"blank\":" << vb::ToUtf8(cells[3]) << "}";
    }
    out << "],\"totals\":{\"code\":" << totals[0] << ",\"comment\":" << totals[1] << ",\"blank\":" << totals[2]
        << "}}\n";
  } else if (format == "csv") {
    for (std::size_t k = 0; k < result.headers.size(); ++k) out << (k ? "," : "") << Csv(vb::ToUtf8(result.headers[k]));
    out << "\n";
    for (const CountRow& row : result.rows) {
      for (std::size_t k = 0; k < row.cells.size(); ++k) out << (k ? "," : "") << Csv(vb::ToUtf8(row.cells[k]));
      out << "\n";
    }
    out << "Total," << totals[0] << "," << totals[1] << "," << totals[2] << "\n";
  } else {
    std::vector<std::size_t> widths;
    for (const vb::Text& header : result.headers) widths.push_back(header.size());
    for (const CountRow& row : result.rows)
      for (std::size_t k = 0; k < row.cells.size() && k < widths.size(); ++k)
        widths[k] = std::max(widths[k], row.cells[k].size());
    auto line = [&](const std::vector<vb::Text>& cells) {
      for (std::size_t k = 0; k < cells.size() && k < widths.size(); ++k) {
        const std::string cell = vb::ToUtf8(cells[k]);
        const std::string pad(widths[k] - cells[k].size(), ' ');
        out << (k ? "  " : "") << (k ? pad + cell : cell + pad);
      }
      out << "\n";
    };
    line(result.headers);
    for (const CountRow& row : result.rows) line(row.cells);
    out << "\n";
    for (int k = 0; k < 3; ++k) out << vb::ToUtf8(result.labelTags[static_cast<std::size_t>(k)]) << totals[k] << "\n";
  }
  return kExitOk;
}

int SummaryCommand(Context& context, const std::vector<std::string>& words) {
  Args args(words, {});
  if (args.help()) {
    context.out << "usage: vb6kit summary PROJECT\n\n"
                   "Prints the project summary (every member of every component by kind, with counts)\n"
                   "exactly as the Project Summary window shows it. A group prints one per project.\n";
    return kExitOk;
  }
  args.ExpectPositionals(1, 1, "PROJECT");
  LoadedCode code(args.positionals()[0], std::nullopt);
  Home home(context, SettingsUse::None);
  for (const vb::Text& project : code.Projects()) {
    code.vbe()->SetActiveProject(project);
    Connected<tallowick::Connect> session(code.vbe());
    vb::Text text;
    home.toolkit.On(u"frmSummary", [&](ui::Form& form) {
      text = form.Find<ui::TextBox>(u"txtSummary")->text();
      scripted::Click(form, u"cmdClose");
    });
    session.vbe().Click(u"Add-Ins", u"&Project Summary");
    if (ReportMessages(home.toolkit.messages(), kAddin, context.err)) return kExitAddinMessage;
    context.out << ConsoleText(text);
  }
  return kExitOk;
}

}  // namespace cli
