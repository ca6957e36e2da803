#include "cli/count_report.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "cli/output.h"

namespace cli {

namespace {

using Totals = std::array<std::int64_t, 3>;  // code, comment, blank

std::string Csv(const std::string& field) {
  if (field.find_first_of(",\"\r\n") == std::string::npos) return field;
  std::string quoted = "\"";
  for (char c : field) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

// The component's file as it was loaded: relative to the current folder when PATH was.
std::string FileAsLoaded(const CountRow& row) { return row.file.lexically_normal().generic_string(); }

Totals TotalsOf(const std::vector<CountRow>& rows) {
  Totals totals{};
  for (const CountRow& row : rows)
    for (std::size_t k = 0; k < totals.size(); ++k) totals[k] += std::stoll(vb::ToUtf8(row.cells[k + 1]));
  return totals;
}

void PrintJson(std::ostream& out, const std::vector<CountRow>& rows, const Totals& totals) {
  out << "{\"components\":[";
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const auto& cells = rows[i].cells;
    out << (i ? "," : "") << "{\"name\":" << JsonString(cells[0]) << ",\"file\":" << JsonString(FileAsLoaded(rows[i]))
        << ",\"code\":" << vb::ToUtf8(cells[1]) << ",\"comment\":" << vb::ToUtf8(cells[2])
        << ",\"blank\":" << vb::ToUtf8(cells[3]) << "}";
  }
  out << "],\"totals\":{\"code\":" << totals[0] << ",\"comment\":" << totals[1] << ",\"blank\":" << totals[2]
      << "}}\n";
}

void PrintCsv(std::ostream& out, const std::vector<vb::Text>& headers, const std::vector<CountRow>& rows,
              const Totals& totals) {
  // The window's columns, then the file: last, so readers of the columns before keep working.
  auto line = [&](const std::vector<vb::Text>& cells, const std::string& file) {
    for (std::size_t k = 0; k < cells.size(); ++k) out << (k ? "," : "") << Csv(vb::ToUtf8(cells[k]));
    out << "," << Csv(file) << "\n";
  };
  line(headers, "File");
  for (const CountRow& row : rows) line(row.cells, FileAsLoaded(row));
  out << "Total," << totals[0] << "," << totals[1] << "," << totals[2] << ",\n";
}

// The window's columns (names left-aligned, counts right-aligned), then its three labels.
void PrintText(std::ostream& out, const std::vector<vb::Text>& headers, const std::vector<CountRow>& rows,
               const std::vector<vb::Text>& labelTags, const Totals& totals) {
  std::vector<std::size_t> widths;
  for (const vb::Text& header : headers) widths.push_back(header.size());
  for (const CountRow& row : rows)
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
  line(headers);
  for (const CountRow& row : rows) line(row.cells);
  out << "\n";
  for (std::size_t k = 0; k < totals.size(); ++k) out << vb::ToUtf8(labelTags[k]) << totals[k] << "\n";
}

}  // namespace

void PrintCount(std::ostream& out, const CountResult& result, const std::string& format) {
  static const std::vector<vb::Text> kHeaders = {u"Component", u"Code Lines", u"Comment Lines", u"Blank Lines"};
  static const std::vector<vb::Text> kLabelTags = {u"Code Lines : ", u"Comment Lines : ", u"Blank Lines : "};
  const std::vector<vb::Text>& headers = result.headers.empty() ? kHeaders : result.headers;
  const std::vector<vb::Text>& labelTags = result.labelTags.empty() ? kLabelTags : result.labelTags;
  const Totals totals = TotalsOf(result.rows);
  if (format == "json")
    PrintJson(out, result.rows, totals);
  else if (format == "csv")
    PrintCsv(out, headers, result.rows, totals);
  else
    PrintText(out, headers, result.rows, labelTags, totals);
}

}  // namespace cli
