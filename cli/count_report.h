// What vb6kit count prints: the rows of the line counter's results window for every project
// counted, with their totals, as text, CSV or JSON.
#pragma once

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "framework/vb_text.h"

namespace cli {

struct CountRow {
  vb::Text name;
  std::filesystem::path file;   // the component's file
  std::filesystem::path given;  // the PATH it was found through
  std::vector<vb::Text> cells;  // name, code, comment, blank as the dialog shows them
};

struct CountResult {
  std::vector<vb::Text> headers;
  std::vector<CountRow> rows;
  std::vector<vb::Text> labelTags;  // "Code Lines : " ...
};

// Writes the rows and the totals in `format`: "text" (the window's columns and labels), "csv"
// or "json". A result without rows still has the window's headers and labels.
void PrintCount(std::ostream& out, const CountResult& result, const std::string& format);

}  // namespace cli
