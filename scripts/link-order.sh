#!/usr/bin/env bash
# Rewrites cli/link_order.txt, the order in which the link places vb6kit's functions: first those
# that every command runs (start-up, the iostreams' locale, the command table, loading and saving
# a module, the in-memory IDE), then, command by command, those it adds. The kernel maps a
# program's code in 64 KB windows around each page it first touches, so code that runs together
# and sits together costs a command a few windows instead of most of the program. A function
# missing from the list is only placed after the listed ones; a listed one that no longer exists
# is skipped. Run it after large changes to start-up or to the common paths (needs valgrind; a
# few minutes).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-missing.sh" valgrind
build=${BENCH_BUILD:-$root/build-bench}  # the benchmarks' Release build
work=$(mktemp -d -t vb6kit-order.XXXXXX)
trap 'rm -rf "$work"' EXIT

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" -j2 --target vb6kit corpus_generator >/dev/null
vb6kit=$build/cli/vb6kit
gen=$build/bench/corpus_generator
cd "$work"
export VB6KIT_SETTINGS=$work/settings.db
mkdir in
"$gen" module in/m.bas --lines 300 --seed 5
"$gen" form in/f.frm --controls 12 --seed 5
"$gen" interface in/iface --members 12 --seed 5
printf 'Public Function <@name@>() As Long\r\n    <@name@> = 1\r\nEnd Function\r\n' >piece.txt

# One run per line: the editing commands on small inputs, each from a fresh copy.
runs=(
  "comment m.bas --lines 1-20"
  "--version"
  "uncomment m.bas --lines 1-20"
  "count m.bas"
  "members m.bas"
  "header m.bas --line 250 --author Ann --description Keeps"
  "revision m.bas --line 250 --author Ann --text Counts"
  "property m.bas --name Price --type Currency"
  "--dry-run comment m.bas --lines 5"
  "summary m.bas"
  "piece store Getter --file piece.txt"
  "piece insert Getter m.bas --line 250 --tag name=Total"
  "control add f.frm TextBox --field txtName=txtAdded"
  "implement iface/Iface.vbp --class Iface.clsTarget --interface Iface.IWide --unknown both"
)
i=0
for run in "${runs[@]}"; do
  rm -rf m.bas f.frm iface && cp -r in/. .
  # shellcheck disable=SC2086
  if ! valgrind --tool=callgrind --demangle=no --callgrind-out-file="run$i.out" "$vb6kit" $run >out.txt 2>&1; then
    echo "failed: vb6kit $run" >&2
    cat out.txt >&2
    exit 1
  fi
  i=$((i + 1))
done

# The functions of the program (not of the C library) each run executed.
python3 - "$vb6kit" run*.out >"$root/cli/link_order.txt" <<'EOF'
import re, sys
program, outputs = sys.argv[1], sorted(sys.argv[2:], key=lambda p: int(re.sub(r'\D', '', p)))
runs = []
for path in outputs:
    objects, functions, current, names = {}, {}, None, set()
    for line in open(path, errors='replace'):
        line = line.rstrip('\n')
        m = re.match(r'^(c?ob)=\((\d+)\)(?: (.*))?$', line)
        if m:
            kind, key, name = m.groups()
            if name: objects[key] = name
            if kind == 'ob': current = objects[key]
            continue
        m = re.match(r'^(c?fn)=\((\d+)\)(?: (.*))?$', line)
        if m:
            kind, key, name = m.groups()
            if name: functions[key] = re.sub(r"'\d+$", '', name)  # recursion depth
            if kind == 'fn' and current == program and not functions[key].startswith(('0x', '(')):
                names.add(functions[key])
    runs.append(names)
print('# Written by scripts/link-order.sh: the functions every command runs, then those each adds.')
print('_start')  # the entry point, which callgrind names "(below main)"
shared = set.intersection(*runs)
done = set(shared)
for name in sorted(shared): print(name)
for names in runs:
    for name in sorted(names - done): print(name)
    done |= names
EOF
wc -l "$root/cli/link_order.txt"
