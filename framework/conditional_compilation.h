// Conditional compilation as the add-ins read it: the directive lines (#If, #ElseIf, #Else,
// #End If) and the branches of a module's #If blocks, so that code written for a declaration of
// one module can be put under the same conditions in another.
#pragma once

#include <cstdint>
#include <vector>

#include "framework/vb_text.h"

namespace vb {

// A conditional-compilation directive line (#If ... Then, #ElseIf ... Then, #Else, #End If).
enum class Directive { None, If, ElseIf, Else, EndIf };
Directive DirectiveOf(TextView line);

// Under which directives a branch's lines are compiled, comparable across modules: per #If block
// from the outermost, the directive lines from the block's #If to the branch's own, each with
// its comment cut off and blanks collapsed. Empty outside every block.
using BranchConditions = std::vector<std::vector<Text>>;

// False only when no configuration compiles both: at the first block where the two differ, both
// stand in one chain of the same #If block, in different branches. Blocks with other conditions
// may well be compiled together.
bool MayCompileTogether(const BranchConditions& a, const BranchConditions& b);

// The #If blocks of a module, fed its statements line by line in order: which branch each line
// stands in and the directive lines that open each branch. Nothing is kept for a module
// without directives.
class ConditionalBranches {
 public:
  static constexpr std::uint32_t kOutside = 0;  // the branch of the lines outside every block

  // One level of a branch's place: the block (0-based, in the order of their #If lines) and the
  // branch's index within it (0 for the #If, then each #ElseIf and the #Else).
  struct Level {
    std::uint32_t block;
    std::uint32_t index;
  };

  // Reads the statement that ends on line `lastLine` (1-based; continued lines joined); the
  // lines after it stand in the branch it opens. A directive that has no open block to belong to
  // is left alone, as the compiler would refuse it anyway.
  Directive Read(TextView statement, long lastLine);

  // The branch that line `line` stands in, from the statements read before it.
  std::uint32_t BranchAt(long line) const;
  // The branch the next statement read will stand in.
  std::uint32_t Current() const { return current_; }

  // The levels of a branch from the outermost block in; empty for kOutside.
  std::vector<Level> Path(std::uint32_t branch) const;
  // The directive line that opens a branch of a block, as written.
  TextView DirectiveLine(const Level& level) const;
  BranchConditions Conditions(std::uint32_t branch) const;

 private:
  struct Branch {
    std::uint32_t block, index;
  };
  struct Block {
    std::uint32_t parent;             // the branch that holds the block
    std::vector<Text> directives;     // one per branch, as written
  };
  // A new branch of the block, whose directive was just added, that begins after line `afterLine`.
  std::uint32_t OpenBranch(std::uint32_t block, long afterLine);

  std::vector<Branch> branches_{{0, 0}};  // [0]: outside every block
  std::vector<Block> blocks_;
  std::vector<std::pair<long, std::uint32_t>> starts_;  // first line and branch, at each directive
  std::uint32_t current_ = kOutside;
};

}  // namespace vb
