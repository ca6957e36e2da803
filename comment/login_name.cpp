// GetLoginName: the operating system's name for the logged-in user.
#include "comment/procedure_locator.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cstdlib>
#include <pwd.h>
#include <unistd.h>
#endif

namespace comment {

namespace {

Text RawLoginName() {
#ifdef _WIN32
  wchar_t buffer[256] = {};
  DWORD size = 255;
  if (!GetUserNameW(buffer, &size)) return Text();
  Text name;
  for (const wchar_t* c = buffer; *c; ++c) name.push_back(static_cast<char16_t>(*c));
  return name;
#else
  // The password database names the process's user; USER stands in when it has no entry.
  if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_name && *entry->pw_name)
    return vb::FromUtf8(entry->pw_name);
  if (const char* user = std::getenv("USER"); user && *user) return vb::FromUtf8(user);
  return Text();
#endif
}

}  // namespace

Text GetLoginName() { return vb::UCase(vb::Trim(RawLoginName())); }

}  // namespace comment
