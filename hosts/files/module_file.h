// One VB6 module file (.bas, .cls, .frm, .ctl, .pag, .dob, .dsr) split the way the IDE sees it:
// the hidden parts (file header, designer block, module attributes, member attributes) and the
// code the code window shows. Rendering puts the hidden parts back around the current code.
#pragma once

#include <filesystem>
#include <memory>
#include <vector>

#include "hosts/files/designer_block.h"
#include "hosts/files/text_file.h"

namespace files {

// A line of the code part of the file; member attribute lines are hidden from the code window.
struct CodeLine {
  Line line;
  bool hidden = false;
};

struct ModuleFile {
  std::filesystem::path path;
  int codePage = 1252;
  std::string bytes;  // the file as loaded or last saved

  int componentType = 0;  // host::ComponentType
  Text name;              // from Attribute VB_Name
  std::string bom;
  std::string newline;                      // the break new lines get
  std::string lastEol;                      // how the file's last line ended ("" for no break)
  std::vector<Line> header;                 // VERSION, Object lines, a class's BEGIN ... END
  std::shared_ptr<DesignerNode> designer;   // the designer block, when the file has one
  std::vector<Line> attributes;             // the module's Attribute lines
  std::vector<CodeLine> code;

  // The code lines the code window shows.
  std::vector<Text> VisibleCode() const;
};

// The component type a file name's extension stands for; 0 for no module file.
int ComponentTypeOfExtension(const std::filesystem::path& path);
bool IsModuleFile(const std::filesystem::path& path);

// Parses a module file's bytes; LoadError naming the file when it is no VB6 module file.
ModuleFile ParseModuleFile(const std::filesystem::path& path, std::string bytes, int codePage);

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
// `dropped`).
std::vector<CodeLine> RebuildCode(const std::vector<CodeLine>& old, const std::vector<Text>& current,
                                  const std::string& eolBefore, std::vector<DroppedLine>* dropped = nullptr);

// The whole file from its parts; a line without a break (new, or last before) takes the break of
// the line before it, and the last line keeps the line end the file's last line had.
std::vector<Line> AssembleFile(const ModuleFile& module, const DesignerNode* designer,
                               const std::vector<CodeLine>& code, const std::string& lastEol);

}  // namespace files
