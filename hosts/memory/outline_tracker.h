// The outline and the members of one code module, kept up to date across edits: an edit is
// remembered (several edits merge into one changed range), and the next question rescans only
// from the statement before the changed lines to the first statement after them where the scan
// falls back in step with the old outline; the declarations after that point are kept, moved by
// the number of lines the edits added or removed.
#pragma once

#include <vector>

#include "hosts/memory/declaration_scanner.h"
#include "hosts/memory/line_store.h"

namespace memhost {

class OutlineTracker {
 public:
  // `removed` lines from `first` (1-based) were replaced by `added` lines.
  void Edited(long first, long removed, long added);
  // Every line may have changed.
  void Reset() { scanned_ = false; }

  const ModuleOutline& Outline(const LineStore& lines);
  // Indices into Outline().declarations of the module's members, in the IDE's order.
  const std::vector<std::uint32_t>& Members(const LineStore& lines);

 private:
  void Update(const LineStore& lines);

  bool scanned_ = false, membersValid_ = false;
  ModuleOutline outline_;
  std::vector<std::uint32_t> members_;
  // The changed range since the last scan: `oldCount_` lines from `first_` became `newCount_`.
  bool pending_ = false;
  long first_ = 0, oldCount_ = 0, newCount_ = 0;
};

}  // namespace memhost
