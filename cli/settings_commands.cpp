// vb6kit settings export [APP] / settings import FILE|-
#include <fstream>
#include <ostream>

#include "cli/args.h"
#include "cli/command.h"
#include "cli/home.h"
#include "cli/output.h"
#include "cli/settings_text.h"

namespace cli {

namespace {

int Export(Context& context, const std::vector<std::string>& words) {
  Args args(words, {});
  if (args.help()) {
    context.out << "usage: vb6kit settings export [APP]\n\n"
                   "Prints every stored value (of APP only when given) as text that `settings import`\n"
                   "reads back exactly, line breaks inside values included. The last line marks the end;\n"
                   "output that cannot be written (a full disk) exits 2.\n";
    return kExitOk;
  }
  args.ExpectPositionals(0, 1, "APP");
  Home home(context, SettingsUse::Read);
  const vb::Text app = args.positionals().empty() ? vb::Text() : vb::FromUtf8(args.positionals()[0]);
  // A backup that did not reach the disk must not pass for one.
  WriteOutput(context.out, FormatSettings(home.Values(app)));
  return kExitOk;
}

int Import(Context& context, const std::vector<std::string>& words) {
  Args args(words, {});
  if (args.help()) {
    context.out << "usage: vb6kit settings import FILE     (- reads standard input)\n\n"
                   "Stores every value of a file written by `settings export`; values already stored\n"
                   "under the same application, section and key are replaced, others are kept.\n"
                   "All of them are stored or none is: a file that cannot be read, or one cut short\n"
                   "(without the export's end line), stores nothing.\n";
    return kExitOk;
  }
  args.ExpectPositionals(1, 1, "FILE");
  const std::string& file = args.positionals()[0];
  std::string text;
  if (file == "-") {
    text = ReadAll(context.in);
  } else {
    std::ifstream stream(file, std::ios::binary);
    if (!stream) throw UsageError(file + ": cannot read the file");
    text = ReadAll(stream);
  }
  std::vector<settings::StoredValue> values;
  try {
    values = ParseSettings(text);
  } catch (const UsageError& error) {
    throw UsageError((file == "-" ? std::string("standard input") : file) + ": " + error.what());
  }
  Home home(context, SettingsUse::Change);
  for (const settings::StoredValue& v : values) home.settings().SaveSetting(v.app, v.section, v.key, v.value);
  if (context.dryRun) context.out << home.SettingsDiff();
  home.CommitSettings();
  return kExitOk;
}

}  // namespace

int SettingsCommand(Context& context, const std::vector<std::string>& args) {
  return RunGroup(context, args,
                  {{"export", "print every stored value as text", Export},
                   {"import", "store the values of an exported file", Import}});
}

}  // namespace cli
