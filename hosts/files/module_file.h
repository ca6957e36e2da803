// One VB6 module file (.bas, .cls, .frm, .ctl, .pag, .dob, .dsr) split the way the IDE sees it:
// the hidden parts (file header, designer block, module attributes, member attributes) and the
// code the code window shows. Rendering puts the hidden parts back around the current code.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string_view>
#include <memory>
#include <vector>

#include "hosts/files/designer_block.h"
#include "hosts/files/text_file.h"
#include "hosts/memory/line_store.h"

namespace files {

// The lines of the code part of a file as they were loaded, visible and hidden (member attribute
// lines are hidden from the code window): their characters one after another in one text, and
// for each line where it is, its line end and whether it is hidden. A module of tens of thousands
// of lines is then two allocations, not two a line.
class CodeLines {
 public:
  // Room for `lines` lines of `characters` characters in all, so the text does not move.
  void Reserve(std::size_t lines, std::size_t characters);
  // `eol`: "\r\n", "\n", "\r", or "" for a last line without a break.
  void Add(TextView text, std::string_view eol, bool hidden);
  // Decodes `bytes` in `codePage` into a new line.
  void AddDecoded(std::string_view bytes, int codePage, std::string_view eol, bool hidden);

  std::size_t size() const { return lines_.size(); }
  TextView text(std::size_t i) const { return TextView(chars_).substr(lines_[i].at, lines_[i].length); }
  std::string_view eol(std::size_t i) const;
  bool hidden(std::size_t i) const { return lines_[i].hidden; }
  Line line(std::size_t i) const { return Line{Text(text(i)), std::string(eol(i))}; }

 private:
  void Push(std::size_t at, std::string_view eol, bool hidden);
  struct Entry {
    std::uint32_t at, length;
    std::uint8_t eol;  // an index into the kinds of line end
    bool hidden;
  };
  Text chars_;
  std::vector<Entry> lines_;
};

// The code part and the designer block stay as bytes until they are needed: loading a project
// to count its lines decodes each code line once, into the in-memory module, and parses no
// designer block.
struct ModuleFile {
  std::filesystem::path path;
  int codePage = 1252;
  // The file as loaded or last saved; the in-memory module keeps most of its code lines in it.
  memhost::SharedBytes bytes;

  int componentType = 0;  // host::ComponentType
  Text name;              // from Attribute VB_Name
  std::string bom;
  std::string newline;                      // the break new lines get
  std::string lastEol;                      // how the file's last line ended ("" for no break)
  std::vector<Line> header;                 // VERSION, Object lines, a class's BEGIN ... END
  // The designer block: where its lines are in `bytes` (empty when the file has none), and its
  // tree once Designer() parsed it.
  std::size_t designerBegin = 0, designerEnd = 0;
  std::shared_ptr<DesignerNode> designer;
  std::vector<Line> attributes;             // the module's Attribute lines
  std::size_t codeBegin = 0;                // where the code part starts in `bytes`

  bool HasDesigner() const { return designerEnd > designerBegin; }
  // The designer block's tree, parsed on first use.
  const std::shared_ptr<DesignerNode>& Designer();
  // The code part's lines, visible and hidden, as they are in `bytes`.
  CodeLines Code() const;
  // The lines the code window shows. Notes on the way whether the code part holds hidden lines
  // and whether its lines end alike.
  memhost::LineStore VisibleCode();
  bool codeHasHidden = false;  // member attribute lines among the code
  bool codeEolsDiffer = false;
  std::string codeEol;  // the line end of the code lines, when all that have one agree
};

// The component type a file name's extension stands for; 0 for no module file.
int ComponentTypeOfExtension(const std::filesystem::path& path);
bool IsModuleFile(const std::filesystem::path& path);

// Parses a module file's bytes; LoadError naming the file when it is no VB6 module file.
ModuleFile ParseModuleFile(const std::filesystem::path& path, memhost::SharedBytes bytes, int codePage);

// A hidden line that saving leaves out because the member it belongs to is gone.
struct DroppedLine {
  Text member;
  Text line;
};

// The code part for new code lines. Lines the change left alone keep their line ends and the
// hidden lines after them (each declaration of a member declared in several #If branches keeps
// its own); a line edited in place keeps its line end; an added line takes the end of the line
// before it (`eolBefore` for the first). When the change edited the declaration that hidden
// lines follow, they follow the member: renamed with it, or left out with it (and listed in
// `dropped`). The lines go to `add` one by one, in file order, and are not held.
// Takes the lines of a file being assembled: their text and their own line end ("" for none).
using LineSink = std::function<void(TextView text, std::string_view eol)>;
void RebuildCode(const CodeLines& old, const memhost::LineStore& current, const std::string& eolBefore,
                 const LineSink& add, std::vector<DroppedLine>* dropped = nullptr);

// The whole file's bytes from its parts, the code lines given to the sink by `code`, handed to
// `out` in pieces of a few dozen kilobytes: a line without a break (new, or last before) takes the
// break of the line before it, and the last line ends as the file's last line did. `code` may hand
// a line that is already in the file's code page to its second sink as bytes. Sets `codeBegin` to
// where the code part starts. SaveError naming the file and the line when a character has no byte
// in the file's code page.
using ByteLineSink = std::function<void(std::string_view bytes, std::string_view eol)>;
void AssembleFile(const ModuleFile& module, const DesignerNode* designer,
                  const std::function<void(const LineSink&, const ByteLineSink&)>& code, std::size_t& codeBegin,
                  const ByteSink& out);

}  // namespace files
