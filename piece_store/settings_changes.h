// The settings writes of one command of the piece store's dialogs (storing, editing or deleting
// a piece, its menu flag). A write that fails ends the command with the failure report ("The
// following error occurred : ") instead of being skipped like the dialogs' other steps, and the
// name lists go back to what they were before the command: a piece is never listed without its
// text, nor its text emptied while it is still listed. (The command line's store keeps none of a
// command's writes when one fails.)
#pragma once

#include <functional>

#include "piece_store/piece_storage.h"

namespace pellmoss {

class Connect;

class SettingsChanges {
 public:
  // Taken before the command changes the lists of `connect` (which may be Nothing: the writes
  // then fail as they reach for it).
  explicit SettingsChanges(pellmoss::Connect* connect);

  // Runs `writes`; false when one failed (reported, lists put back).
  bool Save(const std::function<void()>& writes);

 private:
  pellmoss::Connect* connect_;
  NameList codeNames_;
  NameList menuItems_;
};

}  // namespace pellmoss
