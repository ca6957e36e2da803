// A unified diff of two texts given as lines, as `diff -u` prints it.
#pragma once

#include <string>
#include <vector>

namespace files {

// "--- a/LABEL", "+++ b/LABEL" (an absolute LABEL without a/ and b/), then hunks with `context` unchanged lines around each change.
// Empty when the lines are equal. Lines carry no line ends; the output ends each line with "\n".
std::string UnifiedDiff(const std::string& label, const std::vector<std::string>& before,
                        const std::vector<std::string>& after, int context = 3);

}  // namespace files
