#!/usr/bin/env bash
# Draws every dialog of the six add-ins in real windows (the x86-64 DLLs under 64-bit Wine on a
# virtual X display) and saves them as PNG pictures in docs/dialogs/, for people to look at.
# Needs what scripts/windows.sh installs, plus ImageMagick.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
out="$root/build-windows"

packages=(cmake make g++-mingw-w64-x86-64 wine wine64 xvfb xauth imagemagick)
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cmake -S . -B "$out/x86_64" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-x86_64-mingw.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=ON >/dev/null
cmake --build "$out/x86_64" -j2 --target dialog_gallery

export WINEPREFIX="$out/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine64)
mkdir -p "$WINEPREFIX"
# A wine server left from an earlier run may have started without a display; windows need one.
wineserver -k 2>/dev/null || true

shots=$(mktemp -d)
trap 'rm -rf "$shots"; wineserver -k 2>/dev/null || true' EXIT
# Wine's own desktop window draws the frames that a bare X display would not.
(cd "$out/x86_64/bin" &&
  WINE_BIN="$wine" xvfb-run -a bash -c '"$WINE_BIN" wineboot -u >/dev/null 2>&1 </dev/null; wineserver -w' &&
  xvfb-run -a -s "-screen 0 1024x768x24" "$wine" explorer /desktop=dialogs,1024x768 \
    dialog_gallery.exe "$(WINEPREFIX="$WINEPREFIX" "$wine" winepath -w "$shots" 2>/dev/null | tr -d '\r')")

mkdir -p docs/dialogs
rm -f docs/dialogs/*.png
count=0
for bmp in "$shots"/*.bmp; do
  [ -e "$bmp" ] || continue
  name=$(basename "$bmp" .bmp | tr ' ' '_' | tr -s '_')
  convert "$bmp" -strip "docs/dialogs/$name.png"  # no time stamps: the same dialog gives the same file
  count=$((count + 1))
done
echo "$count pictures in docs/dialogs"
[ "$count" -gt 0 ]
