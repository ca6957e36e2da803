#include "cli/version.h"

// Written by the build on each run (cmake/source_revision.cmake): VB6KIT_REVISION.
#include "source_revision.h"

namespace cli {

std::string VersionNumber() { return VB6KIT_VERSION; }

std::string VersionText() {
  const std::string revision = VB6KIT_REVISION;
  return "vb6kit " + VersionNumber() + (revision.empty() ? "" : " (git " + revision + ")");
}

}  // namespace cli
