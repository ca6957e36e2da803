#!/usr/bin/env bash
# The whole test suite built with AddressSanitizer and UndefinedBehaviorSanitizer into
# build-sanitize/ and run with ctest: any report of either fails the test that made it. Installs
# its Debian packages first when they are missing. Extra arguments go to ctest.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake g++ make libgtest-dev libsqlite3-dev pkg-config)
./scripts/install-missing.sh "${packages[@]}"

# -O1 and line tables only: a quicker build than the normal one, and reports still name lines.
# The compiler is the normal build's, so whatever builds there builds here. (Under the sanitizers
# GCC takes libstdc++'s own regex code for maybe uninitialized.)
flags="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Sanitize -DVB6KIT_STATIC_RUNTIME=OFF \
  -DCMAKE_CXX_FLAGS_SANITIZE="-O1 -g1 $flags -Wno-maybe-uninitialized" \
  -DCMAKE_EXE_LINKER_FLAGS_SANITIZE="$flags" >/dev/null
cmake --build build-sanitize -j2

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1" \
  UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
ctest --test-dir build-sanitize -j2 --output-on-failure "$@"
