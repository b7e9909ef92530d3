#!/bin/bash
# Stands in for morvask-export in the widget tests. Its behaviour is scripted by files in
# $FAKE_WORKER_DIR; every call is logged there.
#   check-source.err / check-refdata.err  fail that check with this text on stderr
#   run.steps   one step a line: "sleep S", a progress line "T NV V NSO NDR", "die", "fail TEXT"
#               or "refuse TEXT" (an argument refusal with the pointer to --help after it)
set -u
dir="${FAKE_WORKER_DIR:?}"
echo "$*" >>"$dir/calls.log"

case "${1:-}" in
  --check-source|--check-refdata)
    err="$dir/${1#--}.err"
    if [ -f "$err" ]; then cat "$err" >&2; exit 1; fi
    exit 0 ;;
esac

output="" fd=""
while [ $# -gt 0 ]; do
  case "$1" in
    --output) output="$2"; shift ;;
    --progress-fd) fd="$2"; shift ;;
  esac
  shift
done

trap 'echo terminated >>"$dir/signals.log"; exit 143' TERM
echo "String of integer 6 (radix 10): 6"
echo "Total QSOs: 0"
printf 'fake export\r\n' >"$output"
[ -f "$dir/run.steps" ] || exit 0
while read -r step rest; do
  case "$step" in
    sleep) sleep "$rest" & wait $! ;;
    die) kill -KILL $$ ;;
    fail) echo "$rest" >&2; exit 1 ;;
    refuse) printf "%s\nTry 'morvask-export --help'.\n" "$rest" >&2; exit 2 ;;
    *) echo "$step $rest" >&"$fd" ;;
  esac
done <"$dir/run.steps"
exit 0
