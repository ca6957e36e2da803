// The VB runtime's error object: a number, a description and the source that raised it.
#pragma once

#include <exception>
#include <string>
#include <utility>

#include "framework/vb_text.h"

namespace vb {

struct Error : std::exception {
  int number = 0;
  Text description;
  Text source;

  Error(int num, Text desc, Text src = {})
      : number(num), description(std::move(desc)), source(std::move(src)), what_(ToUtf8(description)) {}
  const char* what() const noexcept override { return what_.c_str(); }

 private:
  std::string what_;
};

// Error numbers the system raises or tests for.
namespace err {
inline constexpr int kInvalidProcedureCall = 5;
inline constexpr int kOverflow = 6;
inline constexpr int kSubscriptOutOfRange = 9;
inline constexpr int kDuplicateKey = 457;
inline constexpr int kTypeMismatch = 13;
inline constexpr int kObjectNotSet = 91;
inline constexpr int kInvalidPropertyValue = 380;
inline constexpr int kPathFileAccess = 75;  // a settings file that cannot be opened or written
inline constexpr int kInvalidKey = 10;  // raised by clsCollection.Add without a key
inline constexpr int kReadOnlyModule = 40198;
inline constexpr int kInvalidPropertyArrayIndex = 381;  // list rows out of range
inline constexpr int kFormAlreadyDisplayed = 400;        // Show vbModal on a visible form
inline constexpr int kCancelSelected = 32755;            // common dialog closed with CancelError set
inline constexpr int kIndexOutOfBounds = 35600;          // tree and list view collections
inline constexpr int kElementNotFound = 35601;
inline constexpr int kKeyNotUnique = 35602;
}  // namespace err

[[noreturn]] void Raise(int number, Text description, Text source = {});
// The standard runtime descriptions ("Overflow", "Type mismatch", ...).
[[noreturn]] void RaiseStandard(int number, Text source = {});

// Using a reference to Nothing as an object raises error 91, as VB does, so a missing pane,
// module or owner ends a step as a failure instead of a crash. Takes any pointer (Ref, raw) and
// gives it back, so that calls chain: Required(Required(vbe)->ActiveCodePane())->CodeModule().
template <class Pointer>
Pointer Required(Pointer&& object) {
  if (!object) RaiseStandard(err::kObjectNotSet);
  return std::forward<Pointer>(object);
}

}  // namespace vb
