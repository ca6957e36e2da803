#!/usr/bin/env bash
# Builds vb6kit in Release, generates a seeded corpus and single modules grown tenfold, and prints
#   1. count and summary over the corpus against `wc -l` and cloc on the same files (CPU time,
#      ratios, peak memory against the input's bytes), and an editing command's peak memory;
#   2. the linearity table: each command on a small and a ten times larger input, and the ratio,
#      with the large run's peak memory against its input both as measured and less the fixed
#      footprint (the peak of an edit of a one-line module: shared libraries, SQLite, the heap's start),
#      and what the large run's peak grew over the small run's against the bytes the input grew.
# Times are CPU seconds (user + system), medians of BENCH_RUNS runs (5; a case whose runs pass
# BENCH_PATIENCE seconds (60) stops repeating). Each run of an editing command starts from a
# fresh copy. Everything happens in BENCH_WORK (a new temporary folder unless given). BENCH_ROWS
# (a regular expression) picks linearity rows; BENCH_CORPUS=0 leaves out the corpus table.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BENCH_BUILD:-$root/build-bench}
work=${BENCH_WORK:-$(mktemp -d -t vb6kit-bench.XXXXXX)}
runs=${BENCH_RUNS:-5}
patience=${BENCH_PATIENCE:-60}
bytes=${BENCH_BYTES:-20000000}
only_rows=${BENCH_ROWS:-.}     # a regular expression: only the linearity rows it matches
corpus_table=${BENCH_CORPUS:-1}  # 0 leaves out the count and summary table

command -v cmake >/dev/null || { echo "compare.sh needs cmake" >&2; exit 2; }
mkdir -p "$work"
cd "$work"
echo "building Release in $build ..." >&2
if ! { cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF &&
       cmake --build "$build" -j2 --target vb6kit corpus_generator measure_command; } >build.log 2>&1; then
  cat build.log >&2
  exit 2
fi
vb6kit=$build/cli/vb6kit
gen=$build/bench/corpus_generator
meter=$build/bench/measure_command
export VB6KIT_SETTINGS=$work/settings.db
rm -f "$VB6KIT_SETTINGS"

# ---- measuring -----------------------------------------------------------------------------------

# measure SETUP CMD...: runs SETUP (untimed, eval'd) then CMD; sets cpu (median CPU seconds) and
# rss (largest peak in KB). A run that fails ends the script with its output.
measure() {
  local setup=$1
  shift
  local times=() peak=0 spent=0 i seconds kb
  for ((i = 0; i < runs; i++)); do
    eval "$setup"
    if ! "$meter" -- "$@" >"$work/out.txt" 2>"$work/err.txt"; then
      echo "failed: $*" >&2
      cat "$work/err.txt" >&2
      exit 1
    fi
    read -r seconds kb < <(tail -n 1 "$work/err.txt")
    times+=("$seconds")
    ((kb > peak)) && peak=$kb
    spent=$(awk -v a="$spent" -v b="$seconds" 'BEGIN { print a + b }')
    awk -v s="$spent" -v p="$patience" 'BEGIN { exit !(s > p) }' && break
  done
  cpu=$(printf '%s\n' "${times[@]}" | sort -g | awk '{ a[NR] = $1 } END { printf "%.3f", a[int((NR + 1) / 2)] }')
  rss=$peak
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b <= 0) b = 0.000001; printf "%.1f", a / b }'; }

# ---- the corpus: count and summary against wc -l and cloc ----------------------------------------

if ((corpus_table)); then
echo "generating the corpus ..." >&2
"$gen" corpus corpus --bytes "$bytes" --seed 14
mapfile -t files < <(cd corpus && ls -- *.bas *.cls *.frm *.ctl)
input=$(cat corpus/*.bas corpus/*.cls corpus/*.frm corpus/*.ctl | wc -c)
lines=$(cat corpus/*.bas corpus/*.cls corpus/*.frm corpus/*.ctl | wc -l)

cd corpus
measure "" wc -l -- "${files[@]}"
wc_cpu=$cpu
cloc_cpu=""
if command -v cloc >/dev/null; then
  measure "" cloc --quiet -- "${files[@]}"
  cloc_cpu=$cpu
fi
measure "" "$vb6kit" count Corpus.vbp
count_cpu=$cpu count_rss=$rss
measure "" "$vb6kit" summary Corpus.vbp
summary_cpu=$cpu summary_rss=$rss
cd "$work"

mb() { awk -v b="$1" 'BEGIN { printf "%.1f MB", b / 1e6 }'; }
echo
echo "Corpus: ${#files[@]} files, $(mb "$input"), $lines lines (seed 14)"
printf '%-9s %10s %8s %8s %8s %9s %10s %12s %9s\n' command "vb6kit s" "wc -l s" "cloc s" "x wc -l" "cloc / x" "peak MB" "peak/input" goal
for row in "count $count_cpu $count_rss 3" "summary $summary_cpu $summary_rss 5"; do
  read -r name cpu_s kb goal <<<"$row"
  faster="-"
  [[ -n $cloc_cpu ]] && faster=$(ratio "$cloc_cpu" "$cpu_s")
  printf '%-9s %10s %8s %8s %8s %9s %10s %12s %9s\n' "$name" "$cpu_s" "$wc_cpu" "${cloc_cpu:--}" \
    "$(ratio "$cpu_s" "$wc_cpu")" "$faster" "$(awk -v k="$kb" 'BEGIN { printf "%.1f", k / 1000 }')" \
    "$(ratio "$((kb * 1024))" "$input")" "<=${goal}x"
done
echo "(goals: count <= 3x wc -l and >= 10x faster than cloc; summary <= 5x wc -l; peak <= 4x input)"
fi

# ---- inputs for the linearity table --------------------------------------------------------------

echo "generating the single-module inputs ..." >&2
mkdir -p in
for scale in small large; do
  if [[ $scale == small ]]; then k=1; else k=10; fi
  "$gen" module "in/$scale.bas" --lines $((6500 * k)) --seed 3
  "$gen" rename-form "in/${scale}_rename.frm" --lines $((6500 * k)) --seed 3
  "$gen" remove-form "in/${scale}_remove.frm" --procedures $((100 * k)) --seed 3
  "$gen" form "in/${scale}_controls.frm" --controls $((100 * k)) --seed 3
  "$gen" array-form "in/${scale}_array.frm" --elements $((500 * k)) --seed 3
  "$gen" interface "in/${scale}_iface" --members $((500 * k)) --seed 3
  "$gen" long-line "in/${scale}_line.bas" --chars $((64000 * k))
  "$gen" declarations "in/${scale}_decl.bas" --count $((10000 * k)) --seed 3
  "$gen" continuations "in/${scale}_cont.bas" --count $((10000 * k))
  # A class that implements the interface already, which has since gained one member.
  cp -r "in/${scale}_iface" "in/${scale}_again"
  "$vb6kit" implement "in/${scale}_again/Iface.vbp" --class Iface.clsTarget --interface Iface.IWide --unknown both >/dev/null
  printf 'Public Sub AddedLater(ByVal lValue As Long)\r\nEnd Sub\r\n' >>"in/${scale}_again/IWide.cls"
  # The same module with a member attribute line, as most real classes and forms have one.
  awk '!done && /^Public [A-Za-z0-9_]+ As / { print; split($2, n, " "); printf "Attribute %s.VB_VarDescription = \"Kept\"\r\n", n[1]; done = 1; next } 1' \
    "in/$scale.bas" >"in/${scale}_attribute.bas"
  cp "in/$scale.bas" "in/${scale}_commented.bas"
  "$vb6kit" comment "in/${scale}_commented.bas" --lines "1-$((6500 * k))" >/dev/null
done
printf 'Attribute VB_Name = "modOne"\r\nPrivate mCount As Long\r\n' >in/one.bas
printf 'Public Function <@name@>() As <@type@>\r\n    \x27 <@name@> of <@type@>\r\n    <@name@> = m<@name@>\r\nEnd Function\r\n' >piece.txt
"$vb6kit" piece store Getter --file piece.txt >/dev/null
"$vb6kit" options --prompt TextBox=on --remove-code on --rename-code on >/dev/null

# fresh NAME: a scratch copy of an input, remade before every run.
fresh() { rm -rf run && mkdir run && cp -r "in/$1" "run/$1"; }

# row LABEL ARGS INPUT: {scale} in the arguments and the input stands for small or large, {n} for
# the line count of the ordinary module (6500 or 65000), {n5} for five lines above its end, {all}
# for the code lines of the input module.
rows=()
row() {
  local label=$1 command=$2 copy=$3
  [[ $label =~ $only_rows ]] || return 0
  local cpus=() peaks=() scale
  for scale in small large; do
    local n=6500
    [[ $scale == large ]] && n=65000
    local args=${command//\{scale\}/$scale}
    args=${args//\{n\}/$n}
    args=${args//\{n5\}/$((n - 5))}
    local source=${copy//\{scale\}/$scale}
    [[ $args == *"{all}"* ]] && args=${args//\{all\}/$(grep -vc '^Attribute ' "in/$source")}
    # shellcheck disable=SC2086
    measure "fresh $source" "$vb6kit" $args
    cpus+=("$cpu")
    peaks+=("$rss")
  done
  local bytes_small bytes_large peak=${peaks[1]}
  bytes_small=$(du -sb "in/${copy//\{scale\}/small}" | cut -f1)
  bytes_large=$(du -sb "in/${copy//\{scale\}/large}" | cut -f1)
  printf '%-34s %9s %9s %7s %9s %10s %10s %9s\n' "$label" "${cpus[0]}" "${cpus[1]}" "$(ratio "${cpus[1]}" "${cpus[0]}")" \
    "$(awk -v k="$peak" 'BEGIN { printf "%.1f", k / 1000 }')" "$(ratio "$((peak * 1024))" "$bytes_large")" \
    "$(ratio "$(((peak - fixed) * 1024))" "$bytes_large")" \
    "$(ratio "$(((peak - peaks[0]) * 1024))" "$((bytes_large - bytes_small))")"
}

# The process's fixed footprint: the peak of an editing command on a module of one code line.
measure "fresh one.bas" "$vb6kit" comment run/one.bas --lines 1
fixed=$rss

echo
echo "Linearity: small input, ten times larger input (goal: ratio <= 12); peak memory of the large run"
printf '%-34s %9s %9s %7s %9s %10s %10s %9s\n' command "small s" "large s" ratio "peak MB" "peak/input" "-fixed/in" "growth/in"
row "count (6,500 / 65,000 lines)" "count run/{scale}.bas" "{scale}.bas"
row "summary" "summary run/{scale}.bas" "{scale}.bas"
row "members" "members run/{scale}.bas" "{scale}.bas"
row "comment of the whole module" "comment run/{scale}.bas --lines 1-{all}" "{scale}.bas"
row "comment, a member attribute in it" "comment run/{scale}_attribute.bas --lines 1-{all}" "{scale}_attribute.bas"
row "uncomment of the whole module" "uncomment run/{scale}_commented.bas --lines 1-{all}" "{scale}_commented.bas"
row "header near the end" "header run/{scale}.bas --line {n5} --author Ann --description Keeps" "{scale}.bas"
row "revision near the end" "revision run/{scale}.bas --line {n5} --author Ann --text Counts" "{scale}.bas"
row "property" "property run/{scale}.bas --name Price --type Currency" "{scale}.bas"
row "piece insert with tags" "piece insert Getter run/{scale}.bas --line {n5} --tag name=Total --tag type=Long" "{scale}.bas"
row "--dry-run, one line" "--dry-run comment run/{scale}.bas --lines {n5}" "{scale}.bas"
row "--dry-run, whole module" "--dry-run comment run/{scale}.bas --lines 1-{all}" "{scale}.bas"
row "implement (500 / 5,000 members)" "implement run/{scale}_iface/Iface.vbp --class Iface.clsTarget --interface Iface.IWide --unknown both" "{scale}_iface"
row "implement again, one member new" "implement run/{scale}_again/Iface.vbp --class Iface.clsTarget --interface Iface.IWide --unknown both" "{scale}_again"
row "control rename, name on every line" "control rename run/{scale}_rename.frm txtName txtTitle --code yes" "{scale}_rename.frm"
row "control remove (100 / 1,000 procs)" "control remove run/{scale}_remove.frm cmdGo" "{scale}_remove.frm"
row "control add (100 / 1,000 controls)" "control add run/{scale}_controls.frm TextBox --field txtName=txtAdded" "{scale}_controls.frm"
row "control array: rename (500 / 5,000)" "control rename run/{scale}_array.frm txtCell txtEntry --code yes" "{scale}_array.frm"
row "control array: remove" "control remove run/{scale}_array.frm txtCell" "{scale}_array.frm"
row "control array: add" "control add run/{scale}_array.frm TextBox --field txtName=txtAdded" "{scale}_array.frm"
row "long line: members (64K / 640K)" "members run/{scale}_line.bas" "{scale}_line.bas"
row "long line: comment" "comment run/{scale}_line.bas --lines 1-{all}" "{scale}_line.bas"
row "declarations: property (10K / 100K)" "property run/{scale}_decl.bas --name Price --type Currency" "{scale}_decl.bas"
row "continuations: comment (10K / 100K)" "comment run/{scale}_cont.bas --lines 1-{all}" "{scale}_cont.bas"
row "continuations: members" "members run/{scale}_cont.bas" "{scale}_cont.bas"
echo "(peak/input: goal <= 8 for an editing command on one module; -fixed/in: the peak less the fixed"
echo " footprint of $(awk -v k="$fixed" 'BEGIN { printf "%.1f MB", k / 1000 }'), the peak of commenting a one-line module, against the input;"
echo " growth/in: what the large run takes above the small one against the bytes it has more, the memory"
echo " each byte of module costs once the command's own code and tables are in)"
echo
echo "inputs and outputs are in $work" >&2
