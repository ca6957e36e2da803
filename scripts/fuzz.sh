#!/usr/bin/env bash
# Builds one fuzz target of fuzz/ for libFuzzer (clang, with AddressSanitizer and
# UndefinedBehaviorSanitizer) into build-fuzz/ and fuzzes it for SECONDS seconds from its seeds:
#   scripts/fuzz.sh module_file 600            (targets: the NAME of each fuzz/NAME_fuzz.cpp)
# What it finds is written to build-fuzz/findings/TARGET/ (crash-*, timeout-*, leak-*) and makes
# the script fail; the inputs it grew are kept in build-fuzz/corpus/TARGET/ for the next run.
# A finding, once mended, becomes a seed in fuzz/seeds/TARGET/. Extra arguments go to libFuzzer.
set -euo pipefail
cd "$(dirname "$0")/.."

targets=$(cd fuzz && ls -- *_fuzz.cpp | sed 's/_fuzz\.cpp$//')
if [ $# -lt 2 ] || ! grep -qx -- "$1" <<<"$targets" || ! [[ $2 =~ ^[0-9]+$ ]]; then
  echo "usage: $0 TARGET SECONDS [libFuzzer options]; targets:" $targets >&2
  exit 2
fi
target=$1 seconds=$2
shift 2

packages=(cmake make clang-14 libclang-rt-14-dev llvm-14 libgtest-dev libsqlite3-dev pkg-config)
./scripts/install-missing.sh "${packages[@]}"

flags="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=Fuzz -DCMAKE_CXX_COMPILER=clang++-14 -DVB6KIT_FUZZ=ON \
  -DCMAKE_CXX_FLAGS_FUZZ="-O1 -g $flags -fsanitize=fuzzer-no-link" \
  -DCMAKE_EXE_LINKER_FLAGS_FUZZ="$flags" >/dev/null
cmake --build build-fuzz -j2 --target "fuzz_$target"

corpus=build-fuzz/corpus/$target findings=build-fuzz/findings/$target
# The targets that read files write them in a folder of their own, here.
scratch=build-fuzz/scratch/$target
mkdir -p "$corpus" "$findings" "$scratch"
trap 'rm -rf "$scratch"' EXIT
export TMPDIR=$PWD/$scratch \
  ASAN_OPTIONS="detect_leaks=1" UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
  ASAN_SYMBOLIZER_PATH=/usr/lib/llvm-14/bin/llvm-symbolizer
# The first folder receives the inputs that reach new code; the seeds are only read.
"build-fuzz/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=25 -print_final_stats=1 \
  -artifact_prefix="$findings/" "$@" "$corpus" "fuzz/seeds/$target"
