#!/usr/bin/env bash
# Builds the Windows add-ins with MinGW-w64 and runs their tests under 64-bit Wine:
#   build-windows/i686/    the six 32-bit DLLs the VB6 IDE loads (bin/*.dll), exports checked, and
#                          dist/vb6kit-addins-<version>-win32.zip (scripts/package-windows.sh)
#   build-windows/x86_64/  the same code for x86-64 and the win32 tests, run with ctest -L win32
# Installs its Debian packages first when they are missing. Extra arguments go to ctest.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
out="$root/build-windows"

# Not wine32: with it, wine picks the 32-bit loader, and 32-bit programs cannot run here.
packages=(cmake make g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine64 xvfb xauth)
./scripts/install-missing.sh "${packages[@]}"

# The deliverables: the 32-bit DLLs, their exports checked, and the package to unzip.
./scripts/package-windows.sh

# The same code for x86-64, with the tests.
cmake -S . -B "$out/x86_64" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-x86_64-mingw.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=ON >/dev/null
cmake --build "$out/x86_64" -j2 --target test_win32

# A Wine prefix of our own, and one wine server kept up for all tests (each test then starts in
# about a second instead of several).
export WINEPREFIX="$out/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine64)
mkdir -p "$WINEPREFIX"
# A wine server left from an earlier run may have started without a display; windows need one.
wineserver -k 2>/dev/null || true
# Windows need a display: the tests' dialogs are drawn on a virtual one. Wine's background
# services are started first with their output away from ctest's pipes (they outlive each test
# and would keep its output open).
export WINE_BIN="$wine" BUILD_DIR="$out/x86_64"
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  # The tests run on a virtual desktop of Wine, which frames its windows itself: on a bare X
  # display, hiding a window waits about two seconds for a window manager that is not there.
  "$WINE_BIN" reg add "HKCU\\Software\\Wine\\Explorer" /v Desktop /d Default /f >/dev/null 2>&1 </dev/null
  "$WINE_BIN" reg add "HKCU\\Software\\Wine\\Explorer\\Desktops" /v Default /d 1024x768 /f >/dev/null 2>&1 </dev/null
  wineserver -k 2>/dev/null || true
  wineserver -w
  wineserver -p
  # Starts the services on this display (the first reg add has created the prefix if it was new).
  "$WINE_BIN" wineboot -u >/dev/null 2>&1 </dev/null || true
  status=0
  # Now and then Wine'"'"'s cmd fails to start a program it was given by its full path ("Can'"'"'t
  # recognize ... as an internal or external command") or never returns from it: a test that
  # fails runs once more, and passes only if its second run passes whole (unless the arguments
  # ask for repeats of their own).
  repeat=(--repeat until-pass:2)
  [[ " $* " == *" --repeat "* ]] && repeat=()
  ctest --test-dir "$BUILD_DIR" -L win32 --output-on-failure "${repeat[@]}" "$@" || status=$?
  wineserver -k || true
  exit $status' windows-tests "$@"
