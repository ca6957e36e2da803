// Saving a module file so that a kill at any moment leaves the old file or the new one, never a
// mix, and so that the file stays the kind of file it was: a symbolic link stays a link (its
// target is replaced), a file with several hard links or another owner is rewritten in place
// through a journal, and a read-only file is refused.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "hosts/files/disk_file.h"
#include "hosts/files/text_file.h"

namespace files {

enum class SaveStep {
  Permissions,  // the temporary file takes the file's mode bits
  Group,        // the temporary file takes the file's group (when it got another one)
  Written,      // the temporary file (or the journal) is complete on disk; next come the last check
                // that the file is still as it was loaded, then the replacement
};

// Test hook, run at each step: a nonzero result is the errno that the step's system call fails
// with (at Written, where no call is made, it is not used); throwing stands for any other
// failure at that moment.
using SaveHook =
    std::function<int(SaveStep step, const std::filesystem::path& temporary, const std::filesystem::path& target)>;

// SaveError naming the file when it cannot be saved: it is not a regular file, or the mode bits
// of the file or its folder do not let this user write it (root is judged by the owner's bit:
// the kernel would let root write a file that is read-only to show that it is not checked out).
void CheckSavable(const std::filesystem::path& path);

// The new content of a file being saved, handed to the sink in order. A save may ask for it more
// than once (a journal records the text's length and hash before the text): each time it must
// hand the same bytes.
using ByteSource = std::function<void(const ByteSink& out)>;

// The length and FNV-1a hash of bytes given piece by piece: what a journal records of its text,
// and what is kept of a file that was saved instead of its bytes.
struct ByteFingerprint {
  std::uint64_t size = 0;
  std::uint64_t hash = 14695981039346656037ull;
  void Add(std::string_view bytes);
  bool operator==(const ByteFingerprint&) const = default;
};

// Makes what `source` hands the content of `path`, which must still be the file of `stamp`
// holding `expected` (checked once more right before the replacement: the same file, size, time
// and bytes). The new content goes to disk as it comes and is never held whole. Returns the stamp
// of the file as saved. SaveError when anything fails, with the file as it was (see
// SaveError::untouched) and no temporary file or journal left.
FileStamp SaveFile(const std::filesystem::path& path, const FileStamp& stamp, std::string_view expected,
                   const ByteSource& source, const SaveHook& hook = {});

// Finishes what saves killed on this machine left in `folder`: their temporary files are removed
// and their journals completed (the file gets the text that was being saved). What saves still
// running own is left alone. SaveError naming the file when a journal cannot be completed.
void FinishInterruptedSaves(const std::filesystem::path& folder);

}  // namespace files
