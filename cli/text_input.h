// Text a person hands to a command (a file, standard input) turned into a code block: UTF-8
// when it is valid UTF-8, else Windows-1252 as VB6 files are; lines joined by CR LF; the last
// line without a break of its own.
#pragma once

#include <string>

#include "framework/vb_text.h"

namespace cli {

vb::Text BlockText(const std::string& bytes);
// The bytes of the file at `path`; UsageError naming it when it cannot be read or is a folder
// (which a stream opens and reads as empty).
std::string ReadFileBytes(const std::string& path);
// The file's bytes as BlockText.
vb::Text ReadTextFile(const std::string& path);

}  // namespace cli
