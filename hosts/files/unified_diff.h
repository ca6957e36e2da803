// A unified diff of two texts, as `diff -u` prints it and as `git apply` and `patch` take it.
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace files {

// "--- a/LABEL", "+++ b/LABEL" (an absolute LABEL without a/ and b/; a tab after a LABEL that holds a
// blank, as git writes it), then hunks with `context` unchanged lines around each change.
// Empty when the lines are equal. Lines carry no line ends; the output ends each line with "\n".
std::string UnifiedDiff(const std::string& label, const std::vector<std::string>& before,
                        const std::vector<std::string>& after, int context = 3);

// The same for two versions of a file's bytes: every line keeps its own line end (CR LF stays
// CR LF, so the diff applies to the file as it is), and a last line without one is marked
// "\ No newline at end of file".
std::string UnifiedDiffOfBytes(const std::string& label, std::string_view before, std::string_view after,
                               int context = 3);
// Writes that diff to `out` as it is made: a diff of a whole module is as large as the module
// twice, and need not be held.
void WriteUnifiedDiffOfBytes(std::ostream& out, const std::string& label, std::string_view before,
                             std::string_view after, int context = 3);

}  // namespace files
