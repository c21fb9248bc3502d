#!/usr/bin/env bash
# Runs the fuzz targets for a given time each and keeps what they find.
#
#   fuzz/run_fuzzers.sh [-t seconds] [-j parallel] [-b build-folder] [-n] [target ...]
#
# Builds the libFuzzer programs (clang, -DKELVANE_FUZZ=ON) in the build folder (default
# build-fuzz; -n uses the programs built there as they are), then runs every named target (default: all) for the given seconds (default
# 1800), at most -j at a time (default 3), under nice. Each target works in fuzz/work/<target>/:
# corpus/ gathers the inputs that reached new code (the next run starts from them and from
# fuzz/seeds/<target>/), findings/ the inputs that crashed, ran over 10 seconds, took over
# 2 GB or gave unbalanced RTF, log the fuzzer's output. The run goes on after a finding.
# A target's corpus and findings stay from run to run; delete fuzz/work/<target> to start over.
# Each finding, once mended, belongs in tests/fixtures/fuzz/<target>/, which the test suite
# replays. The summary gives per target the executions, coverage and findings.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

seconds=1800
parallel=3
build=build-fuzz
rebuild=1
while getopts "t:j:b:n" option; do
  case $option in
    t) seconds=$OPTARG ;;
    j) parallel=$OPTARG ;;
    b) build=$OPTARG ;;
    n) rebuild=0 ;;
    *) echo "usage: $0 [-t seconds] [-j parallel] [-b build-folder] [-n] [target ...]" >&2; exit 2 ;;
  esac
done
shift $((OPTIND - 1))
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(statement_reader policy_file pattern_scanner line_tags command_line conversion)
fi

if [ "$rebuild" -eq 1 ]; then
  command -v clang++ >/dev/null || {
    echo "clang++ is needed: apt-get install clang" >&2
    exit 1
  }
  cmake -S . -B "$build" -G Ninja -DKELVANE_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ >/dev/null
  nice -n 19 cmake --build "$build" -j 2 --target "${targets[@]/#/fuzz_}"
fi

# Longest input per target: the reader and the conversion need room for lines over the
# 10,000-byte piece length and for work that grows faster than the input.
max_len() {
  case $1 in
    statement_reader | conversion) echo 40000 ;;
    *) echo 8192 ;;
  esac
}

run_one() {
  local target=$1
  local work=$root/fuzz/work/$target
  mkdir -p "$work/corpus" "$work/findings" "$work/cwd" "$work/tmp"
  : >"$work/log"
  local end=$((SECONDS + seconds))
  # libFuzzer stops at a finding: it starts again on the corpus until the time is up. The
  # working folder is the target's own, so that any file an input makes a program write under
  # a relative name lands there, and its temporary folder too.
  while [ $SECONDS -lt "$end" ]; do
    local started=$SECONDS
    (cd "$work/cwd" && TMPDIR=$work/tmp nice -n 19 "$root/$build/fuzz/fuzz_$target" \
      -max_total_time=$((end - SECONDS)) -timeout=10 -rss_limit_mb=2048 \
      -max_len="$(max_len "$target")" -print_final_stats=1 -close_fd_mask=1 \
      -artifact_prefix="$work/findings/" "$work/corpus" "$root/fuzz/seeds/$target" \
      >>"$work/log" 2>&1) || true
    # A session that ends at once fails on its seeds: starting again would find the same.
    if [ $((SECONDS - started)) -lt 5 ]; then
      echo "$target: the fuzzer stopped at once; see $work/log" >&2
      break
    fi
  done
  # A session that ends at a finding leaves its scratch folder behind (tmp).
  rm -rf "$work/cwd" "$work/tmp"
}

running=0
for target in "${targets[@]}"; do
  if [ "$running" -ge "$parallel" ]; then
    wait -n || true
    running=$((running - 1))
  fi
  echo "fuzzing $target for $seconds s"
  run_one "$target" &
  running=$((running + 1))
done
wait

echo
printf '%-18s %12s %8s %8s %9s\n' target executions coverage features findings
for target in "${targets[@]}"; do
  work=fuzz/work/$target
  executions=$(awk '/stat::number_of_executed_units/ {n += $2} END {print n + 0}' "$work/log")
  last=$(grep -E '^#[0-9]+' "$work/log" | tail -1 || true)
  coverage=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$last")
  features=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")
  findings=$(find "$work/findings" -type f | wc -l)
  printf '%-18s %12s %8s %8s %9s\n' "$target" "$executions" "${coverage:-?}" "${features:-?}" \
    "$findings"
  find "$work/findings" -type f | sed 's/^/    /'
done
