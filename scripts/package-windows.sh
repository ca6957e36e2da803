#!/usr/bin/env bash
# Builds the six 32-bit add-in DLLs for the VB6 IDE with MinGW-w64 (build-windows/i686/), checks
# that each exports exactly the four entry points of an in-process server and needs no MinGW DLL,
# and packs them with register.cmd, unregister.cmd and README.txt into
# dist/vb6kit-addins-<version>-win32.zip, whose list of files it checks.
# Installs its Debian packages first when they are missing.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
out="$root/build-windows/i686"

./scripts/install-missing.sh cmake make g++-mingw-w64-i686

dlls=(Ravlen Comment Pellmoss Tallowick Morrowgate Quenby)

# The deliverables: 32-bit, never run here.
cmake -S . -B "$out" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-i686-mingw.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DVB6KIT_PACKAGE_DIR="$root/dist" >/dev/null
cmake --build "$out" -j2 --target "${dlls[@]}"

expected=$'DllCanUnloadNow\nDllGetClassObject\nDllRegisterServer\nDllUnregisterServer'
for dll in "${dlls[@]}"; do
  file="$out/bin/$dll.dll"
  dump=$(i686-w64-mingw32-objdump -p "$file")
  grep -q 'file format pei-i386' <<<"$(i686-w64-mingw32-objdump -f "$file")" || { echo "$file is not a 32-bit DLL"; exit 1; }
  exports=$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$dump" | sed -n 's/^\s*\[\s*[0-9]*\] //p' | sort)
  if [ "$exports" != "$expected" ]; then
    echo "$file exports:"; echo "$exports"; exit 1
  fi
  if grep -Ei 'DLL Name: (libgcc|libstdc|libwinpthread)' <<<"$dump"; then
    echo "$file needs a MinGW runtime DLL"; exit 1
  fi
done
echo "i686: ${#dlls[@]} DLLs, each exporting exactly DllCanUnloadNow, DllGetClassObject, DllRegisterServer, DllUnregisterServer"

# The package: made afresh, so that no zip of an earlier version is taken for it.
rm -f dist/vb6kit-addins-*-win32.zip
cmake --build "$out" -j2 --target addins_package >/dev/null
zips=(dist/vb6kit-addins-*-win32.zip)
[ ${#zips[@]} -eq 1 ] && [ -f "${zips[0]}" ] || { echo "no package in dist/"; exit 1; }
zip=${zips[0]}
listed=$(cmake -E tar tf "$zip" | sort)
wanted=$(printf '%s\n' "${dlls[@]/%/.dll}" README.txt register.cmd unregister.cmd | sort)
if [ "$listed" != "$wanted" ]; then
  echo "$zip holds:"; echo "$listed"; echo "instead of:"; echo "$wanted"; exit 1
fi
# The texts are read with Notepad and cmd.exe: every line ends in CR LF.
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
(cd "$unpacked" && cmake -E tar xf "$root/$zip")
for text in README.txt register.cmd unregister.cmd; do
  if grep -qv $'\r$' "$unpacked/$text"; then echo "$text has a line without CR LF"; exit 1; fi
done
echo "$zip:"
sed 's/^/  /' <<<"$listed"
