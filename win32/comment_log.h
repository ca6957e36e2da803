// Where the comment add-in keeps its application log on Windows: a text file in the user's local
// application-data folder.
#pragma once

#include <filesystem>

namespace win32 {

// %LOCALAPPDATA%\vb6kit\comment.log (the folder is created on first write).
std::filesystem::path CommentLogPath();

}  // namespace win32
