#!/usr/bin/env bash
# Speed and memory of whole conversions with a release build of kvlcons:
#   - six large RFCs of the shared corpus concatenated into one document (about 4.7 MB);
#   - the same document ten times over (about 47 MB), with the ratio of its time to the first;
#   - every corpus document one by one, in one kvlcons run;
#   - the start-up: the fastest of twenty runs converting a one-line document.
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
cmake --build "$build" --target kvlcons >/dev/null
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
