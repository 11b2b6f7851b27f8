#!/usr/bin/env bash
# Runs one command inside a Wine session: a fresh WINEPREFIX under the given
# build folder and one private Xvfb display (Wine's windows and WGL need an X
# server). The Xvfb started here is stopped by its own process id, after
# wineserver -w has let every Wine process of the prefix finish.
#
#   bash scripts/wine-session.sh BUILD_DIR COMMAND [ARG...]
set -euo pipefail
if (($# < 2)); then
  echo "usage: $0 BUILD_DIR COMMAND [ARG...]" >&2
  exit 2
fi
build_dir=$(realpath -m "$1")
shift
mkdir -p "$build_dir"

export WINEPREFIX="$build_dir/wineprefix"
export WINEDLLOVERRIDES="mscoree=;mshtml="
export WINEDEBUG="${WINEDEBUG--all}"
export WINEARCH=win64
# Wine's OpenGL goes through GLX on Xvfb, which Mesa serves with llvmpipe.
export LIBGL_ALWAYS_SOFTWARE=1

xvfb_pid=
stop_session() {
  wineserver -w 2>/dev/null || true
  if [[ -n "$xvfb_pid" ]]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
}
trap stop_session EXIT

# -displayfd lets Xvfb pick a free display and tell us its number once it
# accepts connections, so no fixed number can clash with another session.
display_file="$build_dir/xvfb-display"
rm -f "$display_file"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_file" \
  >"$build_dir/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 1 100); do
  [[ -s "$display_file" ]] && break
  kill -0 "$xvfb_pid" 2>/dev/null || { echo "Xvfb failed:" >&2; cat "$build_dir/xvfb.log" >&2; exit 1; }
  sleep 0.1
done
[[ -s "$display_file" ]] || { echo "Xvfb gave no display" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$display_file")"

# A fresh prefix each session: nothing of an earlier run can leak in.
rm -rf "$WINEPREFIX"
wineboot --init >"$build_dir/wineboot.log" 2>&1 || { cat "$build_dir/wineboot.log" >&2; exit 1; }

"$@"
