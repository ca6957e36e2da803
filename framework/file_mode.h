// Permissions read from a file's mode bits (POSIX hosts only): what the command line tells a
// person before it tries to change a file or the settings database.
#pragma once

#ifndef _WIN32
#include <sys/stat.h>

#include <string>

namespace vb {

// Whether the mode bits let this user write; root is judged by the owner's bit, since a file or
// folder made read-only says that it is not to be changed even where the kernel would allow it.
bool WritableByMode(const struct stat& st);

// The permission bits as ls -l's octal form shows them: "0644".
std::string OctalMode(mode_t mode);

}  // namespace vb
#endif
