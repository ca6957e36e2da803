#include "framework/file_mode.h"

#ifndef _WIN32
#include <unistd.h>

#include <cstdio>
#include <vector>

namespace vb {

namespace {

bool InGroup(gid_t gid) {
  if (gid == ::getegid()) return true;
  const int count = ::getgroups(0, nullptr);
  std::vector<gid_t> groups(count > 0 ? static_cast<std::size_t>(count) : 0);
  if (count > 0 && ::getgroups(count, groups.data()) == count)
    for (gid_t g : groups)
      if (g == gid) return true;
  return false;
}

}  // namespace

bool WritableByMode(const struct stat& st) {
  const uid_t me = ::geteuid();
  const bool owner = me == 0 || st.st_uid == me;
  return (st.st_mode & (owner ? S_IWUSR : InGroup(st.st_gid) ? S_IWGRP : S_IWOTH)) != 0;
}

std::string OctalMode(mode_t mode) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "%04o", static_cast<unsigned>(mode & 07777));
  return buffer;
}

}  // namespace vb
#endif
