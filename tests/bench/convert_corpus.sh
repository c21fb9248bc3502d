#!/usr/bin/env bash
# Converts the whole shared corpus, concatenated into one document (about 7 MB), with a
# release build of kvlcons, then the same document ten times over (about 70 MB), and prints
# the speed and the peak resident memory of each run. Memory must not grow with the input.
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

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cat "$corpus"/rfc/*.txt "$corpus"/misc/*.txt > "$work/corpus.txt"
for i in 1 2 3 4 5 6 7 8 9 10; do cat "$work/corpus.txt"; done > "$work/corpus10.txt"

run() {
  local input="$1"
  local bytes
  bytes=$(stat -c %s "$input")
  /usr/bin/time -f "%e %M" -o "$work/time" "$build/kvlcons" "$input" "/OUTPUT=$work/out.rtf" \
    >/dev/null 2>"$work/messages" || true
  read -r seconds peak_kb < "$work/time"
  awk -v b="$bytes" -v s="$seconds" -v k="$peak_kb" -v n="$(basename "$input")" \
    'BEGIN { printf "%-14s %7.1f MB in %6.2f s: %6.1f MB/s, peak memory %6.1f MB\n",
             n, b / 1e6, s, (s > 0 ? b / 1e6 / s : 0), k / 1024 }'
  if ! [ -s "$work/out.rtf" ]; then
    echo "  no RTF written; messages:" >&2
    head -20 "$work/messages" >&2
  fi
}
run "$work/corpus.txt"
run "$work/corpus10.txt"
