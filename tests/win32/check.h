// A small self-checking test runner for the Windows tests (they run under Wine, where a
// cross-built GoogleTest would only add build time): WIN_TEST(name) defines a test, CHECK and
// CHECK_EQ record failures and go on, and the program prints "N passed, N failed".
#pragma once

#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "framework/vb_text.h"

namespace wintest {

struct TestCase {
  const char* name;
  void (*run)();
};
std::vector<TestCase>& Registry();

struct Registrar {
  Registrar(const char* name, void (*run)()) { Registry().push_back({name, run}); }
};

// Records a failed check of the running test.
void Fail(const std::string& message, const char* file, int line);

inline std::string Show(const vb::Text& value) { return "\"" + vb::ToUtf8(value) + "\""; }
inline std::string Show(const char16_t* value) { return Show(vb::Text(value)); }
inline std::string Show(const std::wstring& value) {
  return Show(vb::Text(reinterpret_cast<const char16_t*>(value.data()), value.size()));
}
inline std::string Show(const wchar_t* value) { return Show(std::wstring(value)); }
inline std::string Show(bool value) { return value ? "true" : "false"; }
template <class T>
std::string Show(const T& value) {
  std::ostringstream out;
  out << value;
  return out.str();
}
template <class T>
std::string Show(const std::vector<T>& values) {
  std::string out = "{";
  for (const T& v : values) out += (out.size() > 1 ? ", " : "") + Show(v);
  return out + "}";
}

}  // namespace wintest

#define WIN_TEST(name)                                                   \
  static void name();                                                    \
  static const ::wintest::Registrar name##_registrar(#name, &name);      \
  static void name()

#define CHECK(condition) \
  ((condition) ? (void)0 : ::wintest::Fail("CHECK(" #condition ")", __FILE__, __LINE__))

#define CHECK_EQ(actual, expected)                                                                          \
  do {                                                                                                      \
    const auto& check_actual_ = (actual);                                                                   \
    const auto& check_expected_ = (expected);                                                               \
    if (!(check_actual_ == check_expected_))                                                                \
      ::wintest::Fail(std::string("CHECK_EQ(" #actual ", " #expected ")\n    actual:   ") +               \
                          ::wintest::Show(check_actual_) + "\n    expected: " + ::wintest::Show(check_expected_), \
                      __FILE__, __LINE__);                                                                  \
  } while (0)
