// Runs every test, or the one named on the command line, and prints the tally.
#include <windows.h>
#include <objbase.h>

#include <cstdio>
#include <cstring>
#include <exception>

#include "check.h"
#include "framework/vb_error.h"

namespace wintest {

std::vector<TestCase>& Registry() {
  static std::vector<TestCase> tests;
  return tests;
}

namespace {
int failures = 0;
}

void Fail(const std::string& message, const char* file, int line) {
  ++failures;
  std::printf("  %s:%d: %s\n", file, line, message.c_str());
}

}  // namespace wintest

int main(int argc, char** argv) {
  // The IDE's thread is a single-threaded apartment; so is the tests'.
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
    std::printf("CoInitializeEx failed\n");
    return 2;
  }
  int passed = 0, failed = 0, ran = 0;
  for (const wintest::TestCase& test : wintest::Registry()) {
    if (argc > 1 && std::strcmp(argv[1], test.name) != 0) continue;
    ++ran;
    int before = wintest::failures;
    try {
      test.run();
    } catch (const vb::Error& error) {
      wintest::Fail("uncaught vb::Error " + std::to_string(error.number) + ": " + error.what(), __FILE__, __LINE__);
    } catch (const std::exception& error) {
      wintest::Fail(std::string("uncaught exception: ") + error.what(), __FILE__, __LINE__);
    } catch (...) {
      wintest::Fail("uncaught exception", __FILE__, __LINE__);
    }
    bool ok = wintest::failures == before;
    std::printf("[%s] %s\n", ok ? "PASS" : "FAIL", test.name);
    (ok ? passed : failed)++;
  }
  if (argc > 1 && ran == 0) {
    std::printf("no test named %s\n", argv[1]);
    failed = 1;
  }
  std::printf("%d passed, %d failed\n", passed, failed);
  std::fflush(stdout);
  CoUninitialize();
  return failed ? 1 : 0;
}
