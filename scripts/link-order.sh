#!/usr/bin/env bash
# Rewrites cli/link_order.txt, the order in which the link places vb6kit's functions. The kernel maps
# a program's code in 64 KB windows around each page it first touches, so a command costs a window
# for every stretch of its code that lies apart from the rest. Each command of the benchmarks runs
# once under valgrind; the functions that the same commands run form one group, and the groups are
# placed so that the code of each command spans as few windows as it can (a search that moves one
# group at a time to where it saves the most). A function missing from the list is only placed
# after the listed ones; a listed one that no longer exists is skipped. Run it after large changes
# to start-up or to the common paths, and after renaming functions that commands run (needs
# valgrind; a few minutes).
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
printf 'Attribute VB_Name = "modOne"\r\nPrivate mCount As Long\r\n' >in/one.bas
"$gen" corpus in/corpus --bytes 300000 --seed 5
"$gen" module in/m.bas --lines 1000 --seed 5
cp in/m.bas in/c.bas
"$vb6kit" -q comment in/c.bas --lines 1-1000
"$gen" form in/f.frm --controls 30 --seed 5
"$gen" rename-form in/r.frm --lines 1000 --seed 5
"$gen" remove-form in/d.frm --procedures 30 --seed 5
"$gen" interface in/iface --members 60 --seed 5
"$gen" long-line in/l.bas --chars 20000
"$gen" declarations in/v.bas --count 1000 --seed 5
"$gen" continuations in/k.bas --count 1000
printf 'Public Function <@name@>() As <@type@>\r\n    <@name@> = m<@name@>\r\nEnd Function\r\n' >piece.txt

# One run per line, each on a fresh copy of the inputs: the commands of bench/compare.sh and those
# that only change settings, in the order that leaves each the settings it needs.
runs=(
  "comment one.bas --lines 1"
  "comment m.bas --lines 1"
  "--version"
  "count corpus/Corpus.vbp"
  "summary corpus/Corpus.vbp"
  "count m.bas"
  "summary m.bas"
  "members m.bas"
  "comment m.bas --lines 1-1000"
  "uncomment c.bas --lines 1-1000"
  "header m.bas --line 995 --author Ann --description Keeps"
  "revision m.bas --line 995 --author Ann --text Counts"
  "property m.bas --name Price --type Currency"
  "piece store Getter --file ../piece.txt"
  "piece insert Getter m.bas --line 995 --tag name=Total --tag type=Long"
  "--dry-run comment m.bas --lines 995"
  "--dry-run comment m.bas --lines 1-1000"
  "implement iface/Iface.vbp --class Iface.clsTarget --interface Iface.IWide --unknown both"
  "options --prompt TextBox=on --remove-code on --rename-code on"
  "control rename r.frm txtName txtTitle --code yes"
  "control remove d.frm cmdGo"
  "control add f.frm TextBox --field txtName=txtAdded"
  "members l.bas"
  "comment l.bas --lines 1-4"
  "property v.bas --name Price --type Currency"
  "comment k.bas --lines 1-1000"
  "members k.bas"
)
i=0
for run in "${runs[@]}"; do
  rm -rf run && cp -r in run
  # shellcheck disable=SC2086
  if ! (cd run && valgrind --tool=callgrind --demangle=no --callgrind-out-file="../run$i.out" "$vb6kit" $run \
        >../out.txt 2>&1); then
    echo "failed: vb6kit $run" >&2
    cat out.txt >&2
    exit 1
  fi
  i=$((i + 1))
done

python3 - "$vb6kit" run*.out >"$root/cli/link_order.txt" <<'EOF'
import collections, re, subprocess, sys
program, outputs = sys.argv[1], sorted(sys.argv[2:], key=lambda p: int(re.sub(r'\D', '', p)))

address, size, named = {}, {}, {}
for line in subprocess.run(['nm', '-S', program], capture_output=True, text=True, check=True).stdout.splitlines():
    fields = line.split()
    if len(fields) == 4 and fields[2] in 'tTwW':
        address[fields[3]], size[fields[3]] = int(fields[0], 16), (int(fields[1], 16) + 15) & ~15
        named.setdefault(address[fields[3]], fields[3])

def executed(path):
    """The functions of the program (not of the C library) that one run executed: valgrind names
    some by their address (the C runtime's start-up and exit code), and every run starts at
    _start."""
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
            if kind != 'fn' or current != program: continue
            name = functions[key]
            if name.startswith('0x'): name = named.get(int(name, 16), name)
            if not name.startswith(('0x', '(')): names.add(name)
    return names | {'_start'}

runs = [executed(path) for path in outputs]

# One group per set of runs, its functions in the program's present order; a body with several
# names (aliases) counts once.
groups, placed = collections.defaultdict(list), set()
for name in sorted(set().union(*runs) & address.keys(), key=lambda n: address[n]):
    if address[name] in placed: continue
    placed.add(address[name])
    groups[tuple(name in run for run in runs)].append(name)
keys = list(groups)
length = {key: sum(size[name] for name in groups[key]) for key in keys}
WINDOW = 65536

def cost(order):
    """The windows the runs map, summed, on average over where the windows' edges fall: for each
    run, the measure of the union of [start - WINDOW, end) over its groups, over WINDOW."""
    total = 0.0
    for r in range(len(runs)):
        at, reach = 0, None
        for key in order:
            if key[r]:
                low, high = at - WINDOW, at + length[key]
                total += high - max(low, reach) if reach is not None else high - low
                reach = high
            at += length[key]
    return total / WINDOW

# From the groups that the most runs share, each group in turn (the largest first) moves to where
# it saves the most, until a sweep saves nothing.
order = sorted(keys, key=lambda key: (-sum(key), key[::-1]))
best = cost(order)
for sweep in range(4):
    moved = False
    for key in sorted(keys, key=lambda key: -length[key]):
        rest = [k for k in order if k != key]
        c, j = min((cost(rest[:j] + [key] + rest[j:]), j) for j in range(len(rest) + 1))
        if c < best - 1e-9:
            order, best, moved = rest[:j] + [key] + rest[j:], c, True
    if not moved: break

print("# Written by scripts/link-order.sh: the functions the benchmarks' commands run, grouped by the")
print("# commands that run them, the groups placed so that each command spans few 64 KB windows.")
for key in order:
    for name in groups[key]: print(name)
EOF
wc -l "$root/cli/link_order.txt"
