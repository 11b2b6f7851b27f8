#!/usr/bin/env bash
# Runs one Windows program under Wine: the Windows build's emulator, through
# which ctest starts every test program (and lists its tests). Under load a
# Wine process now and then dies before the program prints anything; only
# such a start (a failure with nothing at all on stdout or stderr) is tried
# again, up to three starts in all. Any other failure is the program's own and
# is reported at once, so an intermittent fault is never retried away.
#
#   scripts/wine-run.sh PROGRAM.exe [ARG...]
set -uo pipefail
out=$(mktemp)
err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT

for start in 1 2 3; do
  # Both streams pass through as they come and are also kept, to see whether
  # the program printed anything.
  { wine "$@" | tee "$out"; status=${PIPESTATUS[0]}; } 2> >(tee "$err" >&2)
  wait $!
  if ((status == 0)) || [[ -s "$out" || -s "$err" ]]; then
    exit "$status"
  fi
  echo "wine-run: start $start of $1 ended with status $status before any output" >&2
done
exit "$status"
