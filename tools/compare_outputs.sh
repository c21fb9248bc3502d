#!/usr/bin/env bash
# Records everything kvlcons produces for a set of documents, and compares two such records
# byte for byte, so that a change meant to keep the behaviour can be shown to keep it.
#
# Usage:
#   compare_outputs.sh record KVLCONS DIR     convert every document into the record DIR
#   compare_outputs.sh compare KVLCONS BASE   record into a fresh temporary folder and
#                                             compare that with the record BASE
#   compare_outputs.sh diff DIR1 DIR2         compare two records
#
# The documents are those of the shared corpus (../shared/corpus/{rfc,misc}/*.txt beside the
# project, or $KELVANE_CORPUS) and every tests/fixtures/**/*.txt. Each is converted twice:
#   plain  the document alone: RTF, stdout, stderr, exit code;
#   diag   with /LIST, /LOG and a policy file asking for the diagnostics files: RTF, list
#          files, statistics file, log file, stdout, stderr, exit code.
# Each run takes place in a folder of its own with relative names, so that no path of the
# record's place shows in messages. The RTF's creation time group {\creatim...} is masked.
# Runs go four at a time (KELVANE_JOBS overrides).
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
project=$(dirname "$here")
corpus=${KELVANE_CORPUS:-$project/../shared/corpus}
jobs=${KELVANE_JOBS:-4}

usage() {
  sed -n '5,9p' "${BASH_SOURCE[0]}" | sed 's/^# \{0,1\}//' >&2
  exit 2
}

# Lists "name<TAB>path" for each document; name is unique and flat.
documents() {
  local f
  for f in "$corpus"/rfc/*.txt "$corpus"/misc/*.txt; do
    [ -f "$f" ] && printf 'corpus-%s\t%s\n' "$(basename "$(dirname "$f")")-$(basename "$f" .txt)" "$f"
  done
  (cd "$project" && find tests/fixtures -name '*.txt' -type f | LC_ALL=C sort) |
    while read -r f; do
      local name=${f#tests/fixtures/}
      printf 'fixture-%s\t%s\n' "${name//\//-}" "$project/$f"
    done
}

# run_one KVLCONS RECORD MODE NAME PATH
run_one() {
  local kvlcons=$1 record=$2 mode=$3 name=$4 path=$5
  local work result base rc
  work=$(mktemp -d "${TMPDIR:-/tmp}/compare_outputs.XXXXXX")
  result="$record/$mode/$name"
  mkdir -p "$work/in" "$work/out" "$result"
  base=$(basename "$path")
  cp "$path" "$work/in/$base"
  chmod u+w "$work/in/$base"
  rc=0
  if [ "$mode" = plain ]; then
    (cd "$work" && "$kvlcons" "in/$base" /OUTPUT=out/ >stdout 2>stderr) || rc=$?
  else
    printf 'Generate diagnostics files: Yes\n' >"$work/diag.pol"
    (cd "$work" && "$kvlcons" "in/$base" diag.pol /OUTPUT=out/ /LIST "/LOG=out/${base%.*}.log" \
      >stdout 2>stderr) || rc=$?
  fi
  echo "$rc" >"$result/exit"
  mv "$work/stdout" "$work/stderr" "$result/"
  local f
  for f in "$work"/out/* "$work"/in/*; do
    [ -f "$f" ] || continue
    [ "$f" = "$work/in/$base" ] && continue
    case "$f" in
      *.rtf) sed 's/{\\creatim[^}]*}/{\\creatim MASKED}/g' "$f" >"$result/$(basename "$f")" ;;
      *) cp "$f" "$result/" ;;
    esac
  done
  rm -rf "$work"
}

record() {
  local kvlcons record mode
  kvlcons=$(readlink -f "$1")
  record=$2
  [ -x "$kvlcons" ] || { echo "compare_outputs: no program $1" >&2; exit 2; }
  mkdir -p "$record"
  export -f run_one
  for mode in plain diag; do
    documents | while IFS=$'\t' read -r name path; do
      printf '%s\0%s\0%s\0%s\0%s\0' "$kvlcons" "$record" "$mode" "$name" "$path"
    done
  done | xargs -0 -n 5 -P "$jobs" bash -c 'run_one "$@"' run_one
  local runs
  runs=$(find "$record" -name exit | wc -l)
  echo "compare_outputs: $runs runs recorded in $record"
}

diff_records() {
  local a=$1 b=$2 runs files
  runs=$(find "$a" -name exit | wc -l)
  files=$(find "$a" -type f | wc -l)
  if diff -r -q "$a" "$b"; then
    echo "compare_outputs: $runs runs, $files files: all identical"
    return 0
  fi
  echo "compare_outputs: records differ (see above)" >&2
  return 1
}

[ $# -ge 1 ] || usage
case "$1" in
  record) [ $# -eq 3 ] || usage; record "$2" "$3" ;;
  compare)
    [ $# -eq 3 ] || usage
    fresh=$(mktemp -d "${TMPDIR:-/tmp}/compare_outputs_new.XXXXXX")
    record "$2" "$fresh"
    status=0
    diff_records "$3" "$fresh" || status=$?
    [ $status -eq 0 ] && rm -rf "$fresh" || echo "compare_outputs: new record kept in $fresh" >&2
    exit $status
    ;;
  diff) [ $# -eq 3 ] || usage; diff_records "$2" "$3" ;;
  *) usage ;;
esac
