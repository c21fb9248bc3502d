#!/usr/bin/env bash
# Speed and memory of whole conversions with a release build of kvlcons:
#   - six large RFCs of the shared corpus concatenated into one document (about 4.7 MB);
#   - the same document ten times over (about 47 MB), with the ratio of its time to the first;
#   - every corpus document one by one, in one kvlcons run;
#   - the start-up: the fastest of twenty runs converting a one-line document, in wall-clock
#     time and in processor time;
#   - allocations per input line, counted by kvlcons_counting (kvlcons with a counting
#     allocator) on the six RFCs and on the tenfold copy, and in the steady state (the
#     difference of the two, per line of the difference);
#   - with valgrind installed, the instructions per byte of the six RFCs (callgrind; several
#     minutes; KELVANE_BENCH_NO_CALLGRIND=1 leaves it out);
#   - with pandoc installed, its time on the six RFCs (commonmark to RTF) and the ratio of the
#     two times (the benchmark does not install it).
# Each run prints its size, time, MB/s and peak resident memory. Memory must not grow with
# the input.
#
#   tests/bench/convert_corpus.sh [build folder]      (default: build-release)
set -euo pipefail
cd "$(dirname "$0")/../.."
build="${1:-build-release}"
corpus="../shared/corpus"
[ -d "$corpus" ] || { echo "the shared corpus is not beside the checkout: $corpus" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "needs /usr/bin/time (apt-get install time)" >&2; exit 1; }

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target kvlcons kvlcons_counting >/dev/null
kvlcons="$build/kvlcons"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
for rfc in rfc5661 rfc6716 rfc4949 rfc3261 rfc2328 rfc2616; do
  cat "$corpus/rfc/$rfc.txt"
done > "$work/rfcs.txt"
for i in 1 2 3 4 5 6 7 8 9 10; do cat "$work/rfcs.txt"; done > "$work/rfcs10.txt"
echo "A one-line document." > "$work/start.txt"
mkdir "$work/out"

seconds=0
# run <label> <bytes> <kvlcons arguments...>: times one kvlcons run and prints its figures.
run() {
  local label="$1" bytes="$2"
  shift 2
  local start="$EPOCHREALTIME"
  /usr/bin/time -f "%M" -o "$work/peak" "$kvlcons" "$@" "/OUTPUT=$work/out/*.rtf" \
    >/dev/null 2>"$work/messages" || { echo "$label: kvlcons failed" >&2; tail -5 "$work/messages" >&2; }
  local end="$EPOCHREALTIME"
  seconds=$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f", b - a }')
  awk -v b="$bytes" -v s="$seconds" -v k="$(tail -1 "$work/peak")" -v n="$label" \
    'BEGIN { printf "%-22s %7.1f MB in %7.3f s: %7.1f MB/s, peak memory %6.1f MB\n",
             n, b / 1e6, s, (s > 0 ? b / 1e6 / s : 0), k / 1024 }'
}

size() { stat -c %s "$@" | awk '{ total += $1 } END { print total }'; }

run "six RFCs" "$(size "$work/rfcs.txt")" "$work/rfcs.txt"
small="$seconds"
run "six RFCs ten times" "$(size "$work/rfcs10.txt")" "$work/rfcs10.txt"
awk -v a="$small" -v b="$seconds" 'BEGIN { printf "ratio of the 47 MB time to the 4.7 MB time: %.2f\n", b / a }'
run "every corpus document" "$(size "$corpus"/rfc/*.txt "$corpus"/misc/*.txt)" \
  "$corpus/rfc/*.txt" "$corpus/misc/*.txt"

best=""
for i in $(seq 20); do
  start="$EPOCHREALTIME"
  "$kvlcons" "$work/start.txt" "/OUTPUT=$work/out/*.rtf" >/dev/null 2>&1
  end="$EPOCHREALTIME"
  best=$(awk -v a="$start" -v b="$end" -v m="$best" \
    'BEGIN { t = (b - a) * 1000; if (m == "" || t < m) m = t; printf "%.2f", m }')
done
echo "start-up (one-line document, fastest of 20 runs): $best ms"
cpu=""
for i in $(seq 20); do
  /usr/bin/time -f "%U %S" -o "$work/cpu" "$kvlcons" "$work/start.txt" "/OUTPUT=$work/out/*.rtf" >/dev/null 2>&1
  cpu=$(awk -v m="$cpu" '{ t = ($1 + $2) * 1000; if (m == "" || t < m) m = t; printf "%.0f", m }' "$work/cpu")
done
echo "start-up processor time (user + system, fastest of 20 runs, 10 ms resolution): $cpu ms"

# allocations <input>: the number of allocations kvlcons_counting makes converting input.
allocations() {
  KELVANE_ALLOCATION_COUNT="$work/allocations" "$build/kvlcons_counting" "$1" \
    "/OUTPUT=$work/out/*.rtf" >/dev/null 2>&1 || true
  cat "$work/allocations"
}
lines1=$(wc -l <"$work/rfcs.txt")
lines10=$(wc -l <"$work/rfcs10.txt")
alloc1=$(allocations "$work/rfcs.txt")
alloc10=$(allocations "$work/rfcs10.txt")
awk -v a="$alloc1" -v b="$alloc10" -v m="$lines1" -v n="$lines10" 'BEGIN {
  printf "allocations: six RFCs %d (%.3f per line), ten times %d (%.3f per line), steady state %.3f per line\n",
         a, a / m, b, b / n, (b - a) / (n - m) }'

if command -v valgrind >/dev/null && [ -z "${KELVANE_BENCH_NO_CALLGRIND:-}" ]; then
  valgrind --tool=callgrind --callgrind-out-file="$work/callgrind.out" "$kvlcons" "$work/rfcs.txt" \
    "/OUTPUT=$work/out/*.rtf" >/dev/null 2>"$work/callgrind.log" || true
  instructions=$(sed -n 's/^summary: *//p' "$work/callgrind.out")
  awk -v i="$instructions" -v b="$(size "$work/rfcs.txt")" \
    'BEGIN { printf "instructions (callgrind, six RFCs): %.3g, %.0f per byte\n", i, i / b }'
fi

if command -v pandoc >/dev/null; then
  start="$EPOCHREALTIME"
  pandoc -f commonmark -t rtf "$work/rfcs.txt" -o "$work/out/pandoc.rtf" 2>/dev/null || true
  end="$EPOCHREALTIME"
  awk -v a="$start" -v b="$end" -v k="$small" \
    'BEGIN { printf "pandoc (commonmark to RTF) on the six RFCs: %.3f s, %.1f times the time of kvlcons\n",
             b - a, (b - a) / k }'
fi
