// vb6kit settings export [APP] / settings import FILE|-
#include <ostream>

#include "cli/args.h"
#include "cli/command.h"
#include "cli/home.h"
#include "cli/loaded_code.h"
#include "cli/output.h"
#include "cli/settings_text.h"
#include "cli/text_input.h"

namespace cli {

namespace {

int Export(Context& context, const Args& args) {
  Home home(context, SettingsUse::Read);
  const vb::Text app = args.positionals().empty() ? vb::Text() : vb::FromUtf8(args.positionals()[0]);
  // A backup that did not reach the disk must not pass for one.
  WriteOutput(context.out, FormatSettings(home.Values(app)));
  return kExitOk;
}

int Import(Context& context, const Args& args) {
  const std::string& file = args.positionals()[0];
  const std::string text = file == "-" ? ReadAll(context.in) : ReadFileBytes(file);
  const std::string source = file == "-" ? std::string("standard input") : file;
  std::vector<settings::StoredValue> values;
  try {
    values = ParseSettings(text);
  } catch (const UsageError& error) {
    throw UsageError(source + ": " + error.what());
  }
  Home home(context, SettingsUse::Change);
  for (const settings::StoredValue& v : values) home.settings().SaveSetting(v.app, v.section, v.key, v.value);
  // No add-in runs here, so there is no message of one to report.
  const std::string done = Plural(static_cast<long>(values.size()), "value") + " imported from " + source;
  return FinishSettings(context, home, "", done);
}

}  // namespace

std::vector<Command> SettingsCommands() {
  return {
      {"settings export", "print every stored value as text", {{"[APP]"}}, {},
       "Prints every stored value (of the application APP only when given: Ravlen or Pellmoss) as text "
       "that `settings import` reads back exactly, line breaks inside values included. The last line marks the "
       "end; output that cannot be written (a full disk) exits 2.",
       Export},
      {"settings import", "store the values of an exported file", {{"FILE", Complete::AnyFile}}, {},
       "Stores every value of a file written by `settings export` (- reads standard input); values already "
       "stored under the same application, section and key are replaced, others are kept. All of them are stored "
       "or none is: a file that cannot be read, or one cut short (without the export's end line), stores nothing.",
       Import},
  };
}

}  // namespace cli
