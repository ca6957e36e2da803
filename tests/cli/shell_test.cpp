// The shell around the program: completions in bash and zsh, the manual page and the
// installation, checked against what the program's own help says.
#include <algorithm>
#include <set>
#include <sstream>

#include "cli/command.h"
#include "cli_fixture.h"

namespace cli_test {
namespace {

using ShellTest = CliTest;

const fs::path kBuild = VB6KIT_BUILD_DIR;
const fs::path kBashCompletion = kBuild / "cli" / "share" / "vb6kit.bash";
const fs::path kZshCompletion = kBuild / "cli" / "share" / "_vb6kit";

// The options a help text lists: the first words of its "  --name" and "  -q, --name" lines.
std::set<std::string> OptionsListed(const std::string& help) {
  std::set<std::string> options;
  std::istringstream lines(help);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("  -", 0) != 0) continue;
    std::istringstream words(line);
    for (std::string word; words >> word && word[0] == '-';) {
      if (word.back() == ',') word.pop_back();
      options.insert(word);
      if (word.rfind("--", 0) == 0) break;
    }
  }
  return options;
}

std::set<std::string> Words(const std::string& text) {
  std::istringstream words(text);
  std::set<std::string> set;
  for (std::string word; words >> word;) set.insert(word);
  return set;
}

std::string WordList(const std::vector<std::string>& typed) {
  std::string words;
  for (const std::string& word : typed) words += " " + ShellQuoted(word);
  return words;
}

// Completes the last of `typed` (words of a command line, the last possibly empty) in `folder`
// with bash's script and with zsh's, whose completion functions are stubbed to print what they
// are handed (zsh itself then keeps those that match what is typed). Returns the two offers,
// each one word (or "FILES pattern") a line.
struct Offers {
  std::string bash;
  std::string zsh;
};

Offers Complete(const std::vector<std::string>& typed, const std::vector<std::string>& zshTyped,
                const fs::path& folder) {
  const std::string program_folder = fs::path(VB6KIT_PROGRAM).parent_path().string();
  const Result bash = RunShell("PATH=" + ShellQuoted(program_folder) + ":$PATH\nsource " +
                                   ShellQuoted(kBashCompletion.string()) + "\nCOMP_WORDS=(" + WordList(typed) +
                                   ")\nCOMP_CWORD=$((${#COMP_WORDS[@]} - 1))\n_vb6kit\nprintf '%s\\n' \"${COMPREPLY[@]}\"\n",
                               folder);
  EXPECT_EQ(bash.code, 0) << bash.err;
  EXPECT_EQ(bash.err, "");
  const Result zsh = RunShell(
      "PATH=" + ShellQuoted(program_folder) + ":$PATH exec zsh -f -c " +
          ShellQuoted("compdef() { }\n"
                      "_describe() { local -a e; e=(\"${(@P)4}\"); print -rl -- \"${(@)e%%:*}\"; }\n"
                      "compadd() { shift; print -rl -- \"$@\"; }\n"
                      "_files() { print -r -- \"FILES $*\"; }\n"
                      "compset() { }\n"
                      "source " + ShellQuoted(kZshCompletion.string()) + "\nwords=(" + WordList(zshTyped) +
                      ")\nCURRENT=${#words}\n_vb6kit\n"),
      folder);
  EXPECT_EQ(zsh.code, 0) << zsh.err;
  EXPECT_EQ(zsh.err, "");
  return {bash.out, zsh.out};
}

TEST_F(ShellTest, CompletionsOfferTheOptionsThatHelpLists) {
  const std::set<std::string> global = OptionsListed(Run({"--help"}).out);
  ASSERT_TRUE(global.count("--settings") && global.count("-q") && global.count("--quiet")) << Run({"--help"}).out;
  for (const cli::Command& command : cli::AllCommands()) {
    std::vector<std::string> typed = {"vb6kit"};
    std::istringstream name(command.name);
    for (std::string word; name >> word;) typed.push_back(word);
    const std::string help = Run({"help", command.name}).out;
    std::set<std::string> expected = OptionsListed(help);
    expected.insert(global.begin(), global.end());
    expected.erase("--version");  // the program's, not a command's
    expected.insert("--help");
    typed.push_back("-");
    const Offers offers = Complete(typed, typed, root.path());
    EXPECT_EQ(Words(offers.bash), expected) << command.name << ":\n" << help;
    EXPECT_EQ(Words(offers.zsh), expected) << command.name;
  }
}

TEST_F(ShellTest, CompletionsOfferCommandsValuesFilesAndPieces) {
  ASSERT_EQ(Run({"piece", "store", "Tax rate", "-"}, "x").code, 0);
  ASSERT_EQ(Run({"piece", "store", "Total", "-"}, "y").code, 0);
  const std::string settingsOption = "--settings=" + settings.string();
  struct Case {
    std::vector<std::string> typed;
    std::string bash;  // the offers, sorted, one a line
    std::string zsh;   // the candidates zsh is handed
    std::vector<std::string> zshTyped = {};  // when zsh sees other words
  };
  const std::string commands =
      "comment\ncompletion\ncontrol\ncount\nheader\nhelp\nimplement\nmanpage\nmembers\noptions\npiece\n"
      "property\nrevision\nsettings\nsummary\nuncomment\nversion\n";
  const std::vector<Case> cases = {
      {{"vb6kit", "co"}, "comment\ncompletion\ncontrol\ncount\n", commands},
      {{"vb6kit", "-q", "piece", "s"}, "show\nstore\n", "delete\nedit\ninsert\nlist\nmenu\nshow\nstore\n"},
      {{"vb6kit", "count", "x", "--format", ""}, "csv\njson\ntext\n", "csv\njson\ntext\n"},
      // bash splits "--format=j" at "=", zsh does not.
      {{"vb6kit", "count", "x", "--format", "=", "j"}, "json\n", "csv\njson\ntext\n",
       {"vb6kit", "count", "x", "--format=j"}},
      {{"vb6kit", "control", "rename", "frmMain.frm", "a", "b", "--code", ""}, "no\nyes\n", "no\nyes\n"},
      {{"vb6kit", "control", "add", "frmMain.frm", "Tex"}, "TextBox\n",
       "CheckBox\nComboBox\nCommandButton\nFrame\nHScrollBar\nLabel\nListBox\nListView\nMaskEdBox\nOptionButton\n"
       "RichTextBox\nSSTab\nTextBox\nTimer\nTreeView\nVScrollBar\n"},
      {{"vb6kit", settingsOption, "piece", "insert", "T"}, "Tax rate\nTotal\n", "Tax rate\nTotal\n"},
      {{"vb6kit", "comment", ""}, "IStockItem.cls\nclsProduct.cls\nfrmMain.frm\nmodStock.bas\n",
       "FILES -g *.(#i)(bas|cls|frm|ctl|pag|dob|dsr)(-.)\n"},
      {{"vb6kit", "implement", "--class", "x", "I"}, "IStockItem.cls\nInventory.vbp\n",
       "FILES -g *.(#i)(vbp|vbg|bas|cls|frm|ctl|pag|dob|dsr)(-.)\n"},
      {{"vb6kit", "comment", "m", "--project", ""}, "Inventory.vbp\n", "FILES -g *.(#i)(vbp)(-.)\n"},
      // The second operand of piece menu is on or off.
      {{"vb6kit", "piece", "menu", "Total", "o"}, "off\non\n", "off\non\n"},
  };
  for (const Case& c : cases) {
    Offers offers = Complete(c.typed, c.zshTyped.empty() ? c.typed : c.zshTyped, project);
    for (std::string* offer : {&offers.bash, &offers.zsh}) {
      std::vector<std::string> lines;
      std::istringstream stream(*offer);
      for (std::string line; std::getline(stream, line);)
        if (!line.empty()) lines.push_back(line);
      std::sort(lines.begin(), lines.end());
      offer->clear();
      for (const std::string& line : lines) *offer += line + "\n";
    }
    std::string typed;
    for (const std::string& word : c.typed) typed += word + " ";
    EXPECT_EQ(offers.bash, c.bash) << "bash: " << typed;
    EXPECT_EQ(offers.zsh, c.zsh) << "zsh: " << typed;
  }
}

TEST_F(ShellTest, TheManualPageRendersEveryCommand) {
  const Result page = RunShell(ShellQuoted(VB6KIT_PROGRAM) + " manpage | groff -man -Tascii -ww -rLL=200n -P-cbou\n",
                               root.path());
  ASSERT_EQ(page.code, 0) << page.err;
  EXPECT_EQ(page.err, "");  // no roff warnings
  for (const cli::Command& command : cli::AllCommands()) {
    const std::string help = Run({"help", command.name}).out;
    // The help's usage line, without its wrapping, is the page's synopsis of the command.
    std::string usage = help.substr(0, help.find("\n\n"));
    usage = usage.substr(std::string("usage: ").size());
    std::string flat;
    std::istringstream words(usage);
    for (std::string word; words >> word;) flat += (flat.empty() ? "" : " ") + word;
    EXPECT_NE(page.out.find(flat), std::string::npos) << flat;
    for (const std::string& option : OptionsListed(help)) EXPECT_NE(page.out.find(option), std::string::npos);
  }
}

// zsh looks in its vendor folder for packages installed under /usr, in its site folder under
// /usr/local; the prefix given when installing decides, whatever the build was configured with.
TEST_F(ShellTest, InstallingPutsTheProgramManualAndCompletionsWhereDebianLooks) {
  const struct {
    std::string prefix;
    std::string zshFolder;
  } cases[] = {{"/usr/local", "site-functions"}, {"/usr", "vendor-completions"}};
  for (const auto& c : cases) {
    const fs::path staged = root / ("staged" + std::to_string(&c - cases));
    const Result install = RunShell("DESTDIR=" + ShellQuoted(staged.string()) + " cmake --install " +
                                        ShellQuoted(kBuild.string()) + " --prefix " + c.prefix + "\n",
                                    root.path());
    ASSERT_EQ(install.code, 0) << install.err << install.out;
    const fs::path prefix = staged.string() + c.prefix;
    const Result version = RunShell(ShellQuoted((prefix / "bin" / "vb6kit").string()) + " --version\n", root.path());
    EXPECT_EQ(version.code, 0) << c.prefix;
    EXPECT_EQ(version.out.rfind("vb6kit " VB6KIT_VERSION, 0), 0u) << c.prefix;
    EXPECT_EQ(ReadFile(prefix / "share" / "man" / "man1" / "vb6kit.1"), Run({"manpage"}).out) << c.prefix;
    const fs::path bash = prefix / "share" / "bash-completion" / "completions" / "vb6kit";
    EXPECT_EQ(ReadFile(bash), Run({"completion", "bash"}).out) << c.prefix;
    EXPECT_EQ(ReadFile(prefix / "share" / "zsh" / c.zshFolder / "_vb6kit"), Run({"completion", "zsh"}).out)
        << c.prefix;
  }
}

}  // namespace
}  // namespace cli_test
