// The program's version: the project's version from the build, and the source revision it was
// built from when the build knew it.
#pragma once

#include <string>

namespace cli {

// "vb6kit 1.0.0 (git 0123456789ab)", or "vb6kit 1.0.0" without a known revision.
std::string VersionText();
// "1.0.0".
std::string VersionNumber();

}  // namespace cli
